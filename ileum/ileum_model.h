#pragma once

#include <QString>
#include <optional>

class RandomSource;

// The scratch record of the last response computation.
struct RespParts {
    qint16 IntPart = 0;   // integer part of |ln x|
    qint16 DigitPos = 0;  // 1-based position of the first digit after the point in the text of ln x
    QString Digits;       // that one digit
    float LogValue = 0;   // ln x in single precision
};

// What one injection gives.
struct InjectionResult {
    float amount = 0;     // µg of histamine that reached the bath
    float effective = 0;  // effective dose
    float stimulus = 0;   // x = Sensitivity × effective dose
    double response = 0;  // R of Caclulate_Resp
    bool flicker = false;  // below the threshold: no contraction, only a flicker on the baseline
    qint16 PeakY = 0;     // row of the contraction's peak (when not a flicker)
};

// The guinea-pig ileum in its organ bath: the hidden parameters of an experiment and the
// arithmetic of every injection and of the concentrations. Doses, volumes and
// concentrations are single precision, as the student sees them; every number that
// passes through a text goes through the general form.
class IleumModel {
public:
    // Hidden per experiment.
    float Sensitivity = 0;   // 1.0 … 5.0
    qint16 RefY = 0;         // BaseY − 6 … BaseY
    qint16 BaseY = 0;        // paper height − 40, fixed at the first set-up
    float MatchVolume = 0;   // ml of the unknown holding the standard dose; 0.20 … 0.50
    quint8 MatchPhase = 0;   // 1 once the standard curve was started
    quint8 StdInjection = 0;  // 1 while a standard-series injection is pending
    float StdAmount = 0;     // µg of the pending standard-series injection
    QString InjLabel;        // text under the current trace
    RespParts parts;         // of the last Caclulate_Resp

    // Experiment start (screen load and "Новый"): reseed, leave the matching phase, draw
    // RefY, then Sensitivity. BaseY must be set.
    void startExperiment(RandomSource& random);
    // A standard dose was confirmed: a new MatchVolume.
    void confirmStandard(RandomSource& random);

    static float effectiveDose(float amount);
    // R: ten times the integer part of |ln x| plus the first digit after the point of
    // ln x as written with 7 significant digits. Fills `parts`.
    double Caclulate_Resp(const float& x);

    // One injection with the dose box and standard-dose box as they read now; clears a
    // pending standard-series injection. A plain injection is labelled with the dose box's
    // text, an injection of the unknown with the text and "мл"; the standard series keeps
    // the label its button set.
    InjectionResult inject(const QString& doseBox, const QString& stdBox);
    // Whether an injection with the boxes as they read now is possible: a pending
    // standard-series injection always is; otherwise the dose box must hold a usable amount
    // and the amount that reaches the bath must be finite.
    bool injectable(const QString& doseBox, const QString& stdBox) const;

    // A standard dose the experiment can use: a usable amount, above 0 in single precision,
    // whose half, double and true concentration (S / MatchVolume, whatever MatchVolume is
    // drawn) are all finite.
    static bool usableStandard(const QString& stdBox);

    // The true concentration when an examination ends: S / MatchVolume, or −1 when no
    // standard dose was confirmed (`noStandardTyped` tells whether the box read 0, in
    // which case the box is to show −1).
    struct Actual {
        float conc;
        bool noStandardTyped;
    };
    Actual trueConcentration(const QString& stdBox) const;

    // The student's calculation S / V; nothing when the volume reads 0 or the quotient is
    // beyond single precision.
    static std::optional<float> studentConcentration(const QString& stdBox, const QString& volumeBox);

    // (ActualConc − StudentConc) / ActualConc × 100 with ActualConc rounded to 7 digits.
    static float errorRatio(float actualConc, float studentConc);

    // Whether the examination takes the student's answer: nothing or 0 is taken (the error
    // is then 100 %); a positive answer must be a usable amount whose error ratio against
    // actualConc (−1: none to compare with) is finite.
    static bool usableAnswer(const QString& answer, float actualConc);

private:
    float injectedAmount(const QString& doseBox, const QString& stdBox) const;
};

// A number read from a box, as a 32-bit float; values beyond its range saturate.
float readSingle(const QString& text);

// A box holds an amount the experiment can use: a number above 0 that a 32-bit float holds.
bool usableAmount(const QString& text);
