#include "ileum_run_state.h"

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
