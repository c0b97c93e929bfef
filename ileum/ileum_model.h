#pragma once

#include <QString>
#include <optional>

#include "ileum_antagonism.h"
#include "paper_scroll.h"

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
    float amount = 0;         // µg of histamine that reached the bath
    float effective = 0;      // effective dose
    float stimulus = 0;       // x = Sensitivity × effective dose
    double response = 0;      // R of Caclulate_Resp
    bool flicker = false;     // below the threshold: no contraction, only a flicker on the baseline
    qint16 PeakY = 0;         // row of the contraction's peak (when not a flicker)
    BathCondition condition;  // the antagonist in the bath when it was made
    bool unknown = false;     // of the unknown solution: an amount the student does not know
};

// The three injections of the standard series: the standard dose, its half and its double.
enum class StandardDose { Standard, Half, Double };

// The guinea-pig ileum in its organ bath: the hidden parameters of an experiment, the
// arithmetic of every injection and of the concentrations, and the recorder's paper.
// Doses, volumes and concentrations are single precision, as the student sees them; every
// number that passes through a text goes through the general form.
class IleumModel {
public:
    // Every injection adds this much paper to the recording.
    static constexpr int traceWidth = 40;
    // The tallest contraction reaches this row.
    static constexpr int ceilingRow = 20;
    // The ruler beside the paper: 32 divisions of 2.5 mm from the baseline (its mark 2) up
    // to the ceiling row (its mark 10).
    static constexpr double rulerSpanMm = 80;

    // The recorder's first set-up: the baseline lies 40 pixels above the paper's bottom
    // edge from then on, and chance starts a new sequence.
    void setUpRecorder(int paperHeight, RandomSource& random);
    // The recorder from its first paper: at the first set-up and at every new experiment.
    void startRecorder(int paperWidth) { m_paper.start(paperWidth); }
    // An injection's trace: the paper grows by one trace width.
    void advancePaper() { m_paper.record(traceWidth); }
    const PaperScroll& paperScroll() const { return m_paper; }

    // Experiment start (screen load and "Новый"): reseed, leave the matching phase, draw
    // RefY, then Sensitivity. The recorder must have been set up (BaseY). A fresh strip of
    // ileum: no antagonist in the bath, no points, mepyramine's pA2 not drawn yet.
    void startExperiment(RandomSource& random);
    // "Стандартная кривая": the dose box holds a volume of the unknown from now on.
    void startMatching() { m_matchPhase = true; }
    // A standard dose was confirmed: a new MatchVolume.
    void confirmStandard(RandomSource& random);

    // The next injection is one of the standard series: `which` of the standard dose in
    // the box, labelled "Стнд ", "1/2Стнд" or "2Стнд".
    void queueStandard(StandardDose which, const QString& stdBox);
    // The next injection is the dose box's (a dose, or a volume of the unknown): no
    // standard-series injection is pending.
    void plainInjection() { m_stdInjection = false; }
    // What the standard series' buttons show for `which`: the box's text for the standard
    // dose, its half and double in the signed field form.
    static QString standardDoseText(StandardDose which, const QString& stdBox);

    // The dose buttons: the box's dose doubled up to 500 and halved down to 0.1 (a dose
    // above 500 is not doubled, one of 0.1 or less not halved: nothing then).
    static std::optional<QString> doubledDose(const QString& doseBox);
    static std::optional<QString> halvedDose(const QString& doseBox);

    static float effectiveDose(float amount);
    // R: ten times the integer part of |ln x| plus the first digit after the point of
    // ln x as written with 7 significant digits. Fills `parts`.
    double Caclulate_Resp(const float& x);

    // The tutorial's antagonists. Adding one puts it in the bath in place of any there and
    // returns the mark for the paper ("Мепирамин 3 нМ", "Атропин"); the first mepyramine of an
    // experiment draws its pA2 on this tissue.
    QString addMepyramine(double nanomolar, RandomSource& random);
    QString addAtropine();
    // "Промыть": returns the paper's mark. An antagonist stays bound through one wash; the
    // second wash since it was added clears the bath.
    QString wash();
    const BathCondition& bath() const { return m_bath; }
    // By how much the antagonist in the bath divides the histamine's stimulus: 1 + B / K_B for
    // mepyramine at B, 1 for atropine (no effect on histamine's receptors) and for none.
    double blockFactor() const;
    // Mepyramine's pA2 = −log10 K_B (mol/l) on this tissue, hidden; 9.1 … 9.5 in steps of
    // 0.05 once drawn.
    std::optional<double> mepyraminePA2() const { return m_pA2; }

    // A contraction's height on the ruler's scale, in mm; 0 for a flicker.
    double heightMm(const InjectionResult& r) const;
    // Every contraction of this experiment with a known amount of histamine.
    const IleumPoints& points() const { return m_points; }

    // One injection with the dose box and standard-dose box as they read now; clears a
    // pending standard-series injection. A plain injection is labelled with the dose box's
    // text, an injection of the unknown with the text and "мл"; the standard series keeps
    // the label its button set. The antagonist in the bath divides the stimulus; every
    // injection but the unknown's joins the points.
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

    // The student's calculation S / V; nothing when the volume is no usable amount (0
    // would divide by zero) or the quotient is beyond single precision.
    static std::optional<float> studentConcentration(const QString& stdBox, const QString& volumeBox);

    // (ActualConc − StudentConc) / ActualConc × 100 with ActualConc rounded to 7 digits.
    static float errorRatio(float actualConc, float studentConc);

    // Whether the examination takes the student's answer: nothing or 0 is taken (the error
    // is then 100 %); a positive answer must be a usable amount whose error ratio against
    // actualConc (−1: none to compare with) is finite.
    static bool usableAnswer(const QString& answer, float actualConc);

    // Hidden per experiment.
    float Sensitivity() const { return m_sensitivity; }   // 1.0 … 5.0
    qint16 RefY() const { return m_refY; }                // BaseY − 6 … BaseY
    qint16 BaseY() const { return m_baseY; }              // paper height − 40, fixed at the first set-up
    float MatchVolume() const { return m_matchVolume; }   // ml of the unknown holding the standard dose; 0.20 … 0.50
    bool MatchPhase() const { return m_matchPhase; }      // once the standard curve was started
    bool StdInjection() const { return m_stdInjection; }  // while a standard-series injection is pending
    float StdAmount() const { return m_stdAmount; }       // µg of the pending standard-series injection
    const QString& InjLabel() const { return m_injLabel; }  // text under the current trace
    const RespParts& parts() const { return m_parts; }      // of the last Caclulate_Resp

private:
    float injectedAmount(const QString& doseBox, const QString& stdBox) const;

    float m_sensitivity = 0;
    qint16 m_refY = 0, m_baseY = 0;
    float m_matchVolume = 0;
    bool m_matchPhase = false;
    bool m_stdInjection = false;
    float m_stdAmount = 0;
    QString m_injLabel;
    BathCondition m_bath;
    int m_washes = 0;  // since the antagonist in the bath was added
    std::optional<double> m_pA2;
    IleumPoints m_points;
    RespParts m_parts;
    PaperScroll m_paper;
};

// A number read from a box, as a 32-bit float; values beyond its range saturate.
float readSingle(const QString& text);

// A box holds an amount the experiment can use: a number above 0 that a 32-bit float holds.
bool usableAmount(const QString& text);
