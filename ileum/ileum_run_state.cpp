#include "ileum_run_state.h"

#include <QDateTime>
#include <limits>

#include "ileum_model.h"
#include "numtext.h"

bool IleumRunState::takeAnswer(const QString& answer) {
    if (!IleumModel::usableAnswer(answer, m_actualConc)) return false;
    m_studentConc = readSingle(answer);
    return true;
}

QString IleumRunState::showActualConc() {
    const QString text = numtext::generalForm(m_actualConc);
    m_actualConc = readSingle(text);
    return text;
}

float IleumRunState::errorRatio() const {
    return IleumModel::errorRatio(m_actualConc, m_studentConc);
}

ExamRecord IleumRunState::examRecord() const {
    ExamRecord record;
    record.program = QStringLiteral("morvane");
    record.experiment = QStringLiteral("Подвздошная кишка морской свинки");
    record.when = QDateTime::currentDateTime();
    record.student = m_student;
    if (properlyConducted())
        record.addMeasurement(numtext::generalForm(m_actualConc), numtext::generalForm(m_studentConc), errorRatio());
    else
        record.addMeasurement(QStringLiteral("не определена: стандартная доза не введена"),
                              numtext::generalForm(m_studentConc), std::numeric_limits<float>::quiet_NaN());
    return record;
}
