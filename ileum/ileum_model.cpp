#include "ileum_model.h"

#include <cfloat>
#include <cmath>

#include "numtext.h"
#include "random_source.h"

float readSingle(const QString& text) {
    const double v = numtext::numberReading(text);
    return static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
}

bool usableAmount(const QString& text) {
    const double v = numtext::numberReading(text);
    return v > 0 && v <= double(FLT_MAX);
}

void IleumModel::setUpRecorder(int paperHeight, RandomSource& random) {
    m_baseY = static_cast<qint16>(paperHeight - 40);
    random.reseedFromClock();
}

void IleumModel::startExperiment(RandomSource& random) {
    random.reseedFromClock();
    m_matchPhase = false;
    m_refY = static_cast<qint16>(std::floor(random.uniform() * 7 + (m_baseY - 6)));
    m_sensitivity = static_cast<float>(std::floor(random.uniform() * 41 + 10) / 10);
    m_bath = {};
    m_washes = 0;
    m_pA2.reset();
    m_points.clear();
}

QString IleumModel::addMepyramine(double nanomolar, RandomSource& random) {
    // The tissue's own pA2 is drawn when mepyramine first goes in, not at the experiment's
    // start: an experiment without it (every examination) then sees exactly the draws it
    // always saw, in the same order, and the bioassay's chance stays as it was.
    if (!m_pA2) m_pA2 = 9.1 + 0.05 * std::floor(random.uniform() * 9);
    m_bath = {Antagonist::Mepyramine, nanomolar};
    m_washes = 0;
    return m_bath.text();
}

QString IleumModel::addAtropine() {
    m_bath = {Antagonist::Atropine, 0};
    m_washes = 0;
    return m_bath.text();
}

QString IleumModel::wash() {
    if (m_bath.drug != Antagonist::None && ++m_washes >= 2) {
        m_bath = {};
        m_washes = 0;
    }
    return washMark();
}

double IleumModel::blockFactor() const {
    if (m_bath.drug != Antagonist::Mepyramine || !m_pA2) return 1;
    // B / K_B with B in nM and K_B = 10^−pA2 mol/l = 10^(9 − pA2) nM.
    return 1 + m_bath.nanomolar * std::pow(10.0, *m_pA2 - 9);
}

double IleumModel::heightMm(const InjectionResult& r) const {
    if (r.flicker) return 0;
    return (m_baseY - r.PeakY) * rulerSpanMm / (m_baseY - ceilingRow);
}

void IleumModel::confirmStandard(RandomSource& random) {
    m_matchVolume = static_cast<float>(std::floor(random.uniform() * 31 + 20) / 100);
}

namespace {

float standardFactor(StandardDose which) {
    switch (which) {
        case StandardDose::Half:
            return 0.5f;
        case StandardDose::Double:
            return 2.0f;
        case StandardDose::Standard:
            break;
    }
    return 1.0f;
}

}  // namespace

void IleumModel::queueStandard(StandardDose which, const QString& stdBox) {
    switch (which) {
        case StandardDose::Standard:
            m_injLabel = QStringLiteral("Стнд ");
            break;
        case StandardDose::Half:
            m_injLabel = QStringLiteral("1/2Стнд");
            break;
        case StandardDose::Double:
            m_injLabel = QStringLiteral("2Стнд");
            break;
    }
    m_stdInjection = true;
    m_stdAmount = readSingle(stdBox) * standardFactor(which);
}

QString IleumModel::standardDoseText(StandardDose which, const QString& stdBox) {
    if (which == StandardDose::Standard) return stdBox;
    return numtext::signedFieldForm(readSingle(stdBox) * standardFactor(which));
}

std::optional<QString> IleumModel::doubledDose(const QString& doseBox) {
    const double dose = numtext::numberReading(doseBox);
    if (dose <= 500) return numtext::generalForm(dose * 2);
    return std::nullopt;
}

std::optional<QString> IleumModel::halvedDose(const QString& doseBox) {
    const double dose = numtext::numberReading(doseBox);
    if (dose > 0.1) return numtext::generalForm(dose / 2);
    return std::nullopt;
}

float IleumModel::effectiveDose(float amount) {
    // The table is read on the amount as written with 7 significant digits; its gaps are kept.
    const double a = numtext::numberReading(numtext::generalForm(amount));
    auto plus = [amount](double c) { return static_cast<float>(double(amount) + c); };
    if (a <= 0.19) return plus(1);
    if (a >= 0.2 && a <= 0.3) return plus(1.3);
    if (a >= 0.31 && a <= 0.7) return plus(1.5);
    if (a >= 0.71 && a <= 1) return plus(1.7);
    if (a >= 1.1 && a <= 5) return plus(1.9);
    if (a >= 5.1 && a <= 15) return plus(2);
    if (a >= 15.1 && a <= 17) return 17.1f;
    return amount;
}

double IleumModel::Caclulate_Resp(const float& x) {
    m_parts = {};
    if (!(x > 0)) return 0;  // no stimulus, no response (the screens never inject nothing)
    m_parts.LogValue = static_cast<float>(std::log(double(x)));
    m_parts.IntPart = static_cast<qint16>(std::abs(std::trunc(m_parts.LogValue)));
    QString text = numtext::generalForm(m_parts.LogValue);
    if (text.contains(u'E')) text = QStringLiteral("0");  // |ln x| below 0.0001: the digit is 0
    const qsizetype point = text.indexOf(u'.');
    m_parts.DigitPos = static_cast<qint16>(point + 2);  // 1-based, after the point
    m_parts.Digits = point >= 0 && point + 1 < text.size() ? text.mid(point + 1, 1) : QStringLiteral("0");
    return 10.0 * m_parts.IntPart + numtext::numberReading(m_parts.Digits);
}

namespace {

constexpr float leastMatchVolume = 0.20f;  // the least confirmStandard can draw, in ml

}  // namespace

float IleumModel::injectedAmount(const QString& doseBox, const QString& stdBox) const {
    if (m_stdInjection) return m_stdAmount;
    const float dose = readSingle(doseBox);
    // The unknown is only injected after a standard was confirmed, so MatchVolume is set.
    if (m_matchPhase) return m_matchVolume > 0 ? (dose / m_matchVolume) * readSingle(stdBox) : 0;
    return dose;
}

bool IleumModel::injectable(const QString& doseBox, const QString& stdBox) const {
    return m_stdInjection || (usableAmount(doseBox) && std::isfinite(injectedAmount(doseBox, stdBox)));
}

bool IleumModel::usableStandard(const QString& stdBox) {
    if (!usableAmount(stdBox)) return false;
    const float S = readSingle(stdBox);
    // A standard that rounds to 0 in single precision would leave the error ratio nothing to divide by.
    return S > 0 && std::isfinite(2 * S) && std::isfinite(S / leastMatchVolume);
}

InjectionResult IleumModel::inject(const QString& doseBox, const QString& stdBox) {
    InjectionResult r;
    if (!m_stdInjection) m_injLabel = m_matchPhase ? doseBox + QStringLiteral("мл") : doseBox;
    r.amount = injectedAmount(doseBox, stdBox);
    r.unknown = m_matchPhase && !m_stdInjection;
    r.condition = m_bath;
    m_stdInjection = false;

    r.effective = effectiveDose(r.amount);
    r.stimulus = std::min(m_sensitivity * r.effective, FLT_MAX);
    const double block = blockFactor();
    if (block == 1) {
        r.response = Caclulate_Resp(r.stimulus);
    } else {
        r.stimulus = static_cast<float>(double(r.stimulus) / block);
        // Without an antagonist the stimulus falls below 1 only in the table's gaps; under
        // one every small dose's does, and |ln x| would grow as the dose falls. Below 1 the
        // blocked tissue gives no more than at 1: no logarithmic part.
        r.response = Caclulate_Resp(std::max(r.stimulus, 1.0f));
    }

    const double D = numtext::numberReading(doseBox);
    r.flicker = !m_matchPhase && D < 0.03;

    double y = m_refY - (std::floor(double(r.stimulus)) + r.response);
    if (D >= 0.06 && D <= 0.09)
        y += 7;
    else if (D >= 0.03 && D <= 0.05)
        y += 12;
    r.PeakY = y <= ceilingRow ? qint16(ceilingRow) : static_cast<qint16>(std::nearbyint(std::min(y, double(m_baseY))));
    if (!r.unknown) m_points.add(r.amount, heightMm(r), r.condition);
    return r;
}

IleumModel::Actual IleumModel::trueConcentration(const QString& stdBox) const {
    const float S = readSingle(stdBox);
    if (S == 0) return {-1, true};
    // A standard typed but never confirmed has no matching volume: the experiment was not
    // conducted properly, as when no standard was typed.
    if (m_matchVolume == 0) return {-1, false};
    return {S / m_matchVolume, false};
}

std::optional<float> IleumModel::studentConcentration(const QString& stdBox, const QString& volumeBox) {
    if (!usableAmount(volumeBox)) return std::nullopt;
    const float V = readSingle(volumeBox);
    if (V == 0) return std::nullopt;
    const float conc = readSingle(stdBox) / V;
    if (!std::isfinite(conc)) return std::nullopt;
    return conc;
}

float IleumModel::errorRatio(float actualConc, float studentConc) {
    const float actual = readSingle(numtext::generalForm(actualConc));
    return (actual - studentConc) / actual * 100.0f;
}

bool IleumModel::usableAnswer(const QString& answer, float actualConc) {
    if (!(numtext::numberReading(answer) > 0)) return true;
    if (!usableAmount(answer)) return false;
    return actualConc == -1 || std::isfinite(errorRatio(actualConc, readSingle(answer)));
}
