#include "ileum_antagonism.h"

#include <QMap>
#include <algorithm>
#include <cmath>

#include "numtext.h"

QString BathCondition::text() const {
    switch (drug) {
        case Antagonist::Mepyramine:
            return QStringLiteral("Мепирамин %1 нМ").arg(numtext::generalForm(nanomolar));
        case Antagonist::Atropine:
            return QStringLiteral("Атропин");
        case Antagonist::None:
            break;
    }
    return QStringLiteral("Контроль");
}

QString washMark() {
    return QStringLiteral("Промывание");
}

void IleumPoints::add(float dose, double heightMm, const BathCondition& condition) {
    const CurvePoint point{dose, std::log10(double(dose)), heightMm};
    for (CurveSeries& s : m_series) {
        if (s.condition == condition) {
            s.points << point;
            return;
        }
    }
    m_series << CurveSeries{condition, {point}};
}

const CurveSeries* IleumPoints::seriesOf(const BathCondition& condition) const {
    for (const CurveSeries& s : m_series)
        if (s.condition == condition) return &s;
    return nullptr;
}

std::optional<double> logDoseAtHeight(const CurveSeries& curve, double heightMm) {
    // Equal doses give equal heights in one experiment; the mean keeps one point a dose.
    QMap<double, std::pair<double, int>> byDose;  // log dose → (sum of heights, count)
    for (const CurvePoint& p : curve.points) {
        auto& [sum, count] = byDose[p.logDose];
        sum += p.heightMm;
        ++count;
    }
    std::optional<std::pair<double, double>> previous;  // (log dose, height)
    for (auto it = byDose.cbegin(); it != byDose.cend(); ++it) {
        const double logDose = it.key(), height = it->first / it->second;
        if (height == heightMm) return logDose;
        if (previous && previous->second < heightMm && heightMm < height)
            return previous->first +
                   (logDose - previous->first) * (heightMm - previous->second) / (height - previous->second);
        previous = std::pair(logDose, height);
    }
    return std::nullopt;
}

std::optional<DoseRatio> doseRatio(const CurveSeries& control, const CurveSeries& antagonist) {
    double tallest = 0;
    for (const CurvePoint& p : control.points) tallest = std::max(tallest, p.heightMm);
    if (tallest <= 0) return std::nullopt;
    DoseRatio dr;
    dr.heightMm = tallest / 2;
    const std::optional<double> a = logDoseAtHeight(control, dr.heightMm);
    const std::optional<double> b = logDoseAtHeight(antagonist, dr.heightMm);
    if (!a || !b) return std::nullopt;
    dr.logControl = *a;
    dr.logAntagonist = *b;
    dr.ratio = doseRatioFromReadings(*a, *b);
    return dr;
}

double doseRatioFromReadings(double logControl, double logAntagonist) {
    return std::pow(10.0, logAntagonist - logControl);
}

void CursorReadings::read(const CursorReading& reading) {
    m_last << reading;
    while (m_last.size() > 2) m_last.removeFirst();
}

std::optional<CursorReadings::Ratio> CursorReadings::doseRatio() const {
    if (m_last.size() < 2) return std::nullopt;
    CursorReading control = m_last[0], other = m_last[1];
    if (!control.logDose || !other.logDose || control.condition == other.condition) return std::nullopt;
    if (other.condition.drug == Antagonist::None) std::swap(control, other);
    return Ratio{control.label, other.label, doseRatioFromReadings(*control.logDose, *other.logDose)};
}

QList<AntagonistRatio> doseRatios(const IleumPoints& points) {
    const CurveSeries* control = points.seriesOf({});
    QList<AntagonistRatio> ratios;
    for (const CurveSeries& s : points.series()) {
        if (s.condition.drug == Antagonist::None) continue;
        ratios << AntagonistRatio{s.condition, control ? doseRatio(*control, s) : std::nullopt};
    }
    return ratios;
}

QList<SchildInput> schildInputs(const QList<AntagonistRatio>& ratios) {
    QList<SchildInput> inputs;
    for (const AntagonistRatio& r : ratios)
        if (r.condition.drug == Antagonist::Mepyramine && r.dr)
            inputs << SchildInput{r.condition.nanomolar, r.dr->ratio};
    return inputs;
}

SchildAnalysis schildAnalysis(const QList<SchildInput>& inputs) {
    SchildAnalysis a;
    for (const SchildInput& in : inputs)
        if (in.nanomolar > 0 && in.doseRatio > 1)
            a.points << SchildPoint{std::log10(in.nanomolar * 1e-9), std::log10(in.doseRatio - 1)};

    const double n = a.points.size();
    double meanX = 0, meanY = 0;
    for (const SchildPoint& p : a.points) {
        meanX += p.logB / n;
        meanY += p.logDrMinus1 / n;
    }
    double sxx = 0, sxy = 0;
    for (const SchildPoint& p : a.points) {
        sxx += (p.logB - meanX) * (p.logB - meanX);
        sxy += (p.logB - meanX) * (p.logDrMinus1 - meanY);
    }
    // One concentration, however often measured, gives no slope.
    if (a.points.size() < 2 || sxx == 0) {
        a.verdict = QStringLiteral(
            "Для графика Шилда нужны хотя бы две разные концентрации антагониста с отношением доз больше 1.");
        return a;
    }

    SchildFit fit;
    fit.slope = sxy / sxx;
    fit.intercept = meanY - fit.slope * meanX;
    if (fit.slope > 0) fit.pA2 = fit.intercept / fit.slope;
    fit.competitive = fit.slope >= 0.8 && fit.slope <= 1.2;
    a.fit = fit;
    const QString slope = numtext::generalForm(std::round(fit.slope * 100) / 100);
    a.verdict = fit.competitive
                    ? QStringLiteral("Наклон %1 близок к 1: антагонизм конкурентный.").arg(slope)
                    : QStringLiteral("Наклон %1 заметно отличается от 1: антагонизм не похож на простой конкурентный.")
                          .arg(slope);
    return a;
}
