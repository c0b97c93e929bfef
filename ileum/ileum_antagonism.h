#pragma once

#include <QList>
#include <QString>
#include <optional>

// The tutorial's exercise in competitive antagonism on the ileum: what is in the bath, the
// student's points (one series a condition), the dose ratio at an equal height and the
// Schild plot. Plain arithmetic; the model fills the points as the student injects.

enum class Antagonist { None, Mepyramine, Atropine };

// What the bath holds besides the histamine: nothing, mepyramine at a concentration, or atropine.
struct BathCondition {
    Antagonist drug = Antagonist::None;
    double nanomolar = 0;  // mepyramine's concentration; 0 for the others

    // "Контроль", "Мепирамин 3 нМ", "Атропин": the series' name and the mark on the paper
    // where the antagonist went in.
    QString text() const;
    bool operator==(const BathCondition&) const = default;
};

// The mepyramine concentrations the tutorial offers, in nM.
inline constexpr double mepyramineNanomolar[] = {1, 3, 10};

// The mark on the paper where the bath was washed.
QString washMark();

// One contraction as the student measures it.
struct CurvePoint {
    float dose = 0;       // µg of histamine that reached the bath
    double logDose = 0;   // log10 of it
    double heightMm = 0;  // on the ruler's scale; 0 for a flicker
};

// The contractions recorded under one condition, in the order they were made.
struct CurveSeries {
    BathCondition condition;
    QList<CurvePoint> points;
};

// Every contraction of the current recording with a known amount of histamine, one series a
// condition, the series in the order the student first used their conditions.
class IleumPoints {
public:
    void add(float dose, double heightMm, const BathCondition& condition);
    void clear() { m_series.clear(); }
    const QList<CurveSeries>& series() const { return m_series; }
    // The series of a condition; nullptr when nothing was recorded under it.
    const CurveSeries* seriesOf(const BathCondition& condition) const;

private:
    QList<CurveSeries> m_series;
};

// log10 of the dose that gives `heightMm` on a curve: the points in order of dose (the mean
// height of a repeated dose), linearly interpolated in log dose against height between the
// first two neighbours that rise through it. Nothing when the curve does not reach it.
std::optional<double> logDoseAtHeight(const CurveSeries& curve, double heightMm);

// The dose ratio of an antagonist's curve against the control curve at one height.
struct DoseRatio {
    double heightMm = 0;       // the reference height: half the control curve's tallest contraction
    double logControl = 0;     // log10 of the control dose that reaches it
    double logAntagonist = 0;  // log10 of the dose that reaches it under the antagonist
    double ratio = 0;          // 10^(logAntagonist − logControl)
};

// The dose ratio at half the control curve's tallest contraction. Nothing when the control
// has no contraction, or when either curve does not rise through that height (the curves do
// not overlap there: no equal height to compare at).
std::optional<DoseRatio> doseRatio(const CurveSeries& control, const CurveSeries& antagonist);

// The dose ratio from two log doses the student read at an equal height: 10^(logA' − logA).
double doseRatioFromReadings(double logControl, double logAntagonist);

// What the measuring cursor read of one contraction.
struct CursorReading {
    QString label;                  // the dose as written under it
    std::optional<double> logDose;  // log10 µg; nothing for the unknown
    BathCondition condition;
};

// The measuring cursor's last two readings and the dose ratio between them.
class CursorReadings {
public:
    void read(const CursorReading& reading);  // the older of two goes
    void clear() { m_last.clear(); }

    struct Ratio {
        QString controlLabel, antagonistLabel;
        double ratio;
    };
    // The reading without an antagonist (else the older) is the control. None with fewer than
    // two readings, a reading of the unknown, or both in the same bath.
    std::optional<Ratio> doseRatio() const;

private:
    QList<CursorReading> m_last;  // the older first
};

// Each antagonist's series against the control series, in the series' order; a series
// without a dose ratio (no control recorded, no overlap) has none.
struct AntagonistRatio {
    BathCondition condition;
    std::optional<DoseRatio> dr;
};
QList<AntagonistRatio> doseRatios(const IleumPoints& points);

// One concentration of mepyramine with its dose ratio.
struct SchildInput {
    double nanomolar = 0;
    double doseRatio = 0;
};
// The mepyramine series that have a dose ratio.
QList<SchildInput> schildInputs(const QList<AntagonistRatio>& ratios);

struct SchildPoint {
    double logB = 0;         // log10 of the concentration in mol/l
    double logDrMinus1 = 0;  // log10(DR − 1)
};

// The least-squares line through the Schild plot: log(DR − 1) = slope × log B + intercept.
struct SchildFit {
    double slope = 0;
    double intercept = 0;
    // Where the line crosses log(DR − 1) = 0, negated: the concentration (−log M) that
    // doubles the dose needed. Only for a rising line.
    std::optional<double> pA2;
    bool competitive = false;  // slope from 0.8 to 1.2
};

struct SchildAnalysis {
    QList<SchildPoint> points;     // the inputs with DR > 1, in their order
    std::optional<SchildFit> fit;  // from two different concentrations on
    QString verdict;               // in plain words, for the student
};

// The Schild plot of the inputs. A dose ratio of 1 or less has no log(DR − 1) and is left out;
// fewer than two different concentrations left give no line.
SchildAnalysis schildAnalysis(const QList<SchildInput>& inputs);
