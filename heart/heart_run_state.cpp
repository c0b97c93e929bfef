#include "heart_run_state.h"

#include <algorithm>

void HeartRunState::chooseMode(HeartMode mode) {
    m_mode = mode;
    m_dataLoaded = false;
}

void HeartRunState::stageSetUp(int tableRows, const QStringList& answerNames) {
    m_dataLoaded = true;
    // Examination 3 works with two of the drugs; the count stays that of the whole table,
    // by which examination 1's results are listed.
    if (m_mode != HeartMode::Exam3) m_drugCount = static_cast<quint8>(std::clamp(tableRows, 0, heartDrugCount));
    m_answerNames = answerNames;
}

void HeartRunState::firstHeart() {
    m_heartNo = 1;
    m_exam3Rates.resize(2);
}

bool HeartRunState::nextHeart() {
    if (m_mode != HeartMode::Exam3) return true;
    if (m_heartNo >= maxHearts) return false;
    ++m_heartNo;
    m_exam3Rates.resize(m_heartNo + 1);
    return true;
}

bool HeartRunState::unknownLeft() const {
    for (int k = 1; k <= m_drugCount; ++k)
        if (m_unknownUsed[k] == 0) return true;
    return false;
}

void HeartRunState::handOutExam1Unknown(int k, const HeartDrugRec& drug) {
    m_exam1Drug = static_cast<quint8>(k);
    m_unknownUsed[k] = static_cast<quint8>(std::min(255, m_unknownUsed[k] + 1));
    m_unknownNo = static_cast<quint8>(std::min(heartDrugCount, m_unknownNo + 1));
    HeartExam1Result& record = m_exam1Results[m_unknownNo];
    record.given = drug.Name.trimmed();
    record.tone = drug.toneLetter;
}

void HeartRunState::giveExamUnknown(int k, const QString& name) {
    m_examUnknown = static_cast<quint8>(k);
    (m_mode == HeartMode::Exam2 ? m_exam2Name : m_exam3Name) = name.trimmed();
}

void HeartRunState::recordExam1Rate(quint8 rate) {
    if (m_unknownNo >= 1 && m_unknownNo <= heartDrugCount) m_exam1Results[m_unknownNo].rate = rate;
}

void HeartRunState::recordExam3Rate(int drug, quint8 rate) {
    if (drug >= 1 && drug <= 3 && m_heartNo < m_exam3Rates.size()) m_exam3Rates[m_heartNo][drug - 1] = rate;
}

bool HeartRunState::logExam2(const QString& drug, QChar tone, quint8 rate) {
    if (m_exam2Count >= maxExam2Lines) return false;
    ++m_exam2Count;
    m_exam2Log.resize(m_exam2Count + 1);
    m_exam2Log[m_exam2Count] = {drug, tone, rate};
    return true;
}

void HeartRunState::identifyUnknown(const QString& item) {
    if (m_mode == HeartMode::Exam1) {
        if (m_unknownNo >= 1 && m_unknownNo <= heartDrugCount) m_exam1Results[m_unknownNo].identified = item;
        if (!unknownLeft()) m_mode = HeartMode::Exam2;
        m_exam2Count = 0;
        m_exam2Log.resize(1);
    } else {
        m_mode = HeartMode::Exam3;
        m_exam2Answer = item.trimmed();
    }
    m_dataLoaded = false;
}

void HeartRunState::answerExam3(Exam3Verdict verdict) {
    switch (verdict) {
        case Exam3Verdict::Adrenaline:
            m_exam3Answer = QStringLiteral("Адреналин");
            break;
        case Exam3Verdict::Acetylcholine:
            m_exam3Answer = QStringLiteral("Ацетилхолин");
            break;
        case Exam3Verdict::Undecided:
            m_exam3Answer = QStringLiteral("Не определено");
            break;
    }
}

QList<ExamRecord> HeartRunState::examRecords(const QDateTime& when) const {
    auto record = [&](int number) {
        ExamRecord r;
        r.program = QStringLiteral("morvane-heart");
        r.experiment = QStringLiteral("Сердце лягушки, экзамен %1").arg(number);
        r.when = when;
        r.student = m_student;
        return r;
    };
    auto shown = [](quint8 rate, QChar tone) {
        return rate == 0 ? QStringLiteral("вещество не введено")
                         : QStringLiteral("частота %1 уд/мин, тон %2").arg(rate).arg(tone);
    };

    ExamRecord first = record(1);
    for (int i = 1; i <= m_unknownNo; ++i) {
        const HeartExam1Result& r = m_exam1Results[i];
        first.addIdentification(r.given, r.identified.trimmed(), m_drugNames, shown(r.rate, r.tone));
    }

    // The unknown's last injection, as the log shows it.
    QString unknownShown = shown(0, {});
    for (int i = 1; i <= m_exam2Count && i < m_exam2Log.size(); ++i)
        if (m_exam2Log[i].drug.trimmed() == QStringLiteral("Неизвестное"))
            unknownShown = shown(m_exam2Log[i].rate, m_exam2Log[i].tone);
    ExamRecord second = record(2);
    second.addIdentification(m_exam2Name, m_exam2Answer, m_drugNames, unknownShown);

    // Each heart's rates with adrenaline, acetylcholine and the unknown, "—" for none given.
    QStringList hearts;
    for (int i = 1; i <= m_heartNo && i < m_exam3Rates.size(); ++i) {
        QStringList rates;
        for (quint8 rate : m_exam3Rates[i]) rates << (rate == 0 ? QStringLiteral("—") : QString::number(rate));
        hearts << QStringLiteral("сердце %1: %2").arg(i).arg(rates.join(u'/'));
    }
    ExamRecord third = record(3);
    third.addIdentification(
        m_exam3Name, m_exam3Answer, m_drugNames,
        QStringLiteral("уд/мин (адреналин/ацетилхолин/неизвестное): %1").arg(hearts.join(QStringLiteral("; "))));
    return {first, second, third};
}
