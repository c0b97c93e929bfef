#include "rabbit_model.h"

#include <algorithm>
#include <cmath>

#include "random_source.h"

namespace {

// An eye that has received nothing: both reflexes, normal tension, no change.
const RabDrugRec noSubstance{QString(), LightReflexRule::Present, true, TensionEffect::Normal, 0, 0};

// Whole part of a product with a random number, as every draw of the experiment takes it.
int whole(double v) {
    return static_cast<int>(std::floor(v));
}

// The torch narrows a pupil by 75 twips; a pupil that is already tiny keeps at least a
// pixel's worth instead of turning inside out.
constexpr double torchNarrowing = 75;
constexpr double smallestPupil = 15;
double narrowed(double v) {
    return v - torchNarrowing >= smallestPupil ? v - torchNarrowing : std::min(v, smallestPupil);
}

// The drops' timeline: the dropper hangs over the eye, then the pupil changes in two stages.
constexpr int fallingMs = 2600;   // the dropper over the eye
constexpr int soakingMs = 500;    // from the dropper's going to the half stage
constexpr int halfStageMs = 550;  // from the half stage to the full stage

qint16 roundedHalfEven(double v) {
    return static_cast<qint16>(std::nearbyint(v));
}

}  // namespace

PupilAction pupilAction(const RabDrugRec& d) {
    if (d.P_size1 > 0) return PupilAction::Mydriatic;
    if (d.P_size2 < 0) return PupilAction::Miotic;
    return PupilAction::Neither;
}

bool secondExaminationCorrect(const RabExam2Rec& exam) {
    const QStringList answers = RabbitModel::secondExaminationAnswers();
    return (exam.Action == PupilAction::Miotic && exam.Answer == answers[0]) ||
           (exam.Action == PupilAction::Mydriatic && exam.Answer == answers[1]);
}

RabbitModel::RabbitModel(RabbitRunState& run, RandomSource& random) : m_run(run), m_random(random) {
    m_drugs = {noSubstance, RabDrugRec{}};
    for (EyeState& e : m_eyes) e.Label = QStringLiteral("Нет");
}

const RabDrugRec& RabbitModel::drug(int index) const {
    return index >= 0 && index < m_drugs.size() ? m_drugs[index] : noSubstance;
}

qint16 RabbitModel::drawChange(const RabDrugRec& d) {
    return static_cast<qint16>(m_random.wholeNumber(d.P_size1, d.P_size2));
}

QString RabbitModel::LoadDrugTable(const QVector<RabDrugRec>& rows) {
    m_drugs.clear();
    m_substanceList.clear();
    m_drugs.push_back(noSubstance);
    for (const RabDrugRec& d : rows) {
        m_drugs.push_back(d);
        m_substanceList << d.D_Name;
    }
    m_drugs.push_back(RabDrugRec{});  // reaches index Rab_DrugCount + 1
    m_drugCount = rows.size();
    m_selectedDrug = 1;
    m_rabbitNo = 1;
    m_run.m_dataLoaded = true;
    if (m_run.Rab_Mode() == RabMode::FirstExamination) return prepareExamination();
    return {};
}

QString RabbitModel::prepareExamination() {
    // The last row is the saline control, index Rab_DrugCount + 1 from now on.
    m_drugCount = std::max(0, m_drugCount - 1);
    m_unknownUsed = QVector<bool>(m_drugCount + 2, false);
    // A new examination starts with no records, whatever an earlier one of this run left.
    m_run.m_examRecs = QVector<RabExamRec>(m_drugCount + 2);
    m_run.m_exam2 = {};
    m_unknownNo = 1;
    m_unknownLabel = QStringLiteral("Unknown Drug 1");
    QString message;
    const int s = whole(m_drugCount * m_random.uniform() + 1);
    if (s == 0 || s > m_drugCount) message = QStringLiteral("  Error in the System. Restart   ");
    m_selectedDrug = static_cast<quint8>(s);
    m_unknownUsed[s] = true;
    nextUnknown();
    return message;
}

bool RabbitModel::takeRabbitNumber() {
    if (m_rabbitNo >= lastRabbit) return false;
    ++m_rabbitNo;
    return true;
}

void RabbitModel::startRabbit() {
    EyeState& left = mutableEye(EyeSide::Left);
    EyeState& right = mutableEye(EyeSide::Right);
    left.Tension = 910 + whole(m_random.uniform() * 70 + 1);
    right.Tension = 890 + whole(m_random.uniform() * 70 + 1);
    for (EyeState& e : m_eyes) {
        e.Done = false;
        e.Drug = 0;
        e.Label = QStringLiteral("Нет");
        e.Stage = DropStage::None;
        e.StageLeftMs = 0;
    }
    m_newRabbitOffered = true;
    const int g = whole(m_random.uniform() * 3 + 3);
    left.Base.Height = static_cast<qint16>(495 + g);
    left.Base.Left = static_cast<qint16>(1800 + g);
    left.Base.Width = static_cast<qint16>(615 + whole(m_random.uniform() * 66 + 5));
    left.Base.Top = static_cast<qint16>(1200 + g);
    const int h = whole(m_random.uniform() * 3 + 3);
    right.Base.Height = static_cast<qint16>(495 + h);
    right.Base.Left = static_cast<qint16>(800 + h);
    right.Base.Width = static_cast<qint16>(495 + whole(m_random.uniform() * 66 + 5));
    right.Base.Top = static_cast<qint16>(1200 + h);
    for (EyeState& e : m_eyes) e.Pupil = e.Base.real();
    m_torchEye.reset();  // whatever the torch saved belonged to the rabbit that is gone
}

Instillation RabbitModel::instil(EyeSide side, int listRow, const QString& listText) {
    EyeState& e = mutableEye(side);
    const EyeState& other = eye(side == EyeSide::Left ? EyeSide::Right : EyeSide::Left);
    if (m_run.Rab_Mode() == RabMode::Tutorial) {
        if (e.Done)
            return {false, other.Done ? QStringLiteral("Вещества уже закапаны в оба глаза. Выберите нового кролика")
                                      : QStringLiteral("Вещество уже закапано. Выберите другой глаз")};
        m_selectedDrug = listRow >= 0 && listRow < m_drugCount ? static_cast<quint8>(listRow + 1) : 0;
        e.Target = drawChange(drug(m_selectedDrug));
        e.Drug = m_selectedDrug;
        e.Label = listText;
        startDrops(e);
        return {true, {}};
    }
    if (!m_run.examination()) return {};

    const QString taken = QStringLiteral("Вещество уже закапано. Выберите нового кролика");
    if (salineAsked()) {
        // The request is answered either way; a taken eye refuses the saline, and a saline
        // refused was not instilled.
        m_saline = m_saline == Saline::AskedAgain ? Saline::Given : Saline::None;
        if (e.Done) return {false, taken};
        m_saline = Saline::Given;
        const int saline = m_drugCount + 1;
        e.Target = drawChange(drug(saline));
        e.Drug = static_cast<quint8>(saline);
        e.Label = drug(saline).D_Name;
        startDrops(e);
        return {true, {}};
    }
    if (e.Done) return {false, taken};
    m_unknownInstilled = true;
    e.Target = drawChange(drug(m_selectedDrug));
    e.Drug = m_selectedDrug;
    e.Label = m_run.Rab_Mode() == RabMode::FirstExamination ? QStringLiteral("Неизвестное вещество %1").arg(m_unknownNo)
                                                            : QStringLiteral("Неизвестное вещество");
    startDrops(e);
    return {true, {}};
}

void RabbitModel::startDrops(EyeState& e) {
    e.Done = true;
    e.Stage = DropStage::Falling;
    e.StageLeftMs = fallingMs;
    m_newRabbitOffered = false;
}

void RabbitModel::advance(EyeSide side, int elapsedMs) {
    EyeState& e = mutableEye(side);
    elapsedMs = std::max(0, elapsedMs);
    while (e.Stage != DropStage::None) {
        if (elapsedMs < e.StageLeftMs) {
            e.StageLeftMs -= elapsedMs;
            return;
        }
        elapsedMs -= e.StageLeftMs;
        nextStage(side);
    }
}

void RabbitModel::nextStage(EyeSide side) {
    EyeState& e = mutableEye(side);
    switch (e.Stage) {
        case DropStage::Falling:
            e.Stage = DropStage::Soaking;
            e.StageLeftMs = soakingMs;
            break;
        case DropStage::Soaking:
            halfStage(side);
            e.Stage = DropStage::Half;
            e.StageLeftMs = halfStageMs;
            break;
        case DropStage::Half:
            fullStage(side);
            e.Stage = DropStage::None;
            e.StageLeftMs = 0;
            m_newRabbitOffered = true;
            break;
        case DropStage::None:
            break;
    }
}

void RabbitModel::showStage(EyeSide side, const PupilBox& stage) {
    // Under the torch the new stage is what the light acts on now, and what the eye
    // shows once the torch is taken away.
    const bool lit = m_torchEye == side;
    if (lit) m_torchEye.reset();
    mutableEye(side).Pupil = stage;
    if (lit) torchOn(side);
}

void RabbitModel::halfStage(EyeSide side) {
    const EyeState& e = eye(side);
    const double t = e.Target;
    const WholeBox& b = e.Base;
    showStage(side, {b.Left - 3 * t / 2, b.Top - t, b.Width + 5 * t / 2, b.Height + 5 * t / 2});
}

void RabbitModel::fullStage(EyeSide side) {
    EyeState& e = mutableEye(side);
    const double t = e.Target;
    const WholeBox& b = e.Base;
    showStage(side, {b.Left - 3 * t, b.Top - 2 * t, b.Width + 5 * t, b.Height + 5 * t});
    const bool left = side == EyeSide::Left;
    switch (drug(e.Drug).I_Tension) {
        case TensionEffect::Decreased:
            e.Tension =
                left ? 910 - whole(m_random.uniform() * 251 + 150) : 890 - whole(m_random.uniform() * 350 + 150);
            break;
        case TensionEffect::Increased:
            e.Tension =
                left ? 910 + whole(m_random.uniform() * 251 + 150) : 890 + whole(m_random.uniform() * 350 + 150);
            break;
        case TensionEffect::Normal:
            break;
    }
}

bool RabbitModel::lightReflexPresent(EyeSide side) const {
    const EyeState& e = eye(side);
    switch (drug(e.Drug).L_Reflex) {
        case LightReflexRule::Present:
            return true;
        // A narrowed pupil has no room left to narrow under the light.
        case LightReflexRule::WhileWide:
            return e.Pupil.Width > (side == EyeSide::Left ? 275 : 180);
        case LightReflexRule::Absent:
            break;
    }
    return false;
}

bool RabbitModel::cornealReflexPresent(EyeSide side) const {
    return drug(eye(side).Drug).C_Reflex;
}

void RabbitModel::torchOn(EyeSide side) {
    if (m_torchEye == side) return;  // already lit: its own box is saved
    EyeState& e = mutableEye(side);
    m_savedPupil = {roundedHalfEven(e.Pupil.Left), roundedHalfEven(e.Pupil.Top), roundedHalfEven(e.Pupil.Width),
                    roundedHalfEven(e.Pupil.Height)};
    m_torchEye = side;
    if (!lightReflexPresent(side)) return;
    m_lightReflexSeen = true;
    e.Pupil = {m_savedPupil.Left + 30.0, m_savedPupil.Top + 30.0, narrowed(m_savedPupil.Width),
               narrowed(m_savedPupil.Height)};
}

void RabbitModel::torchOff(EyeSide side) {
    if (m_tool != RabTool::Torch || m_torchEye != side) return;
    m_torchEye.reset();
    mutableEye(side).Pupil = m_savedPupil.real();
}

void RabbitModel::askSaline() {
    if (m_saline == Saline::None) m_saline = Saline::Asked;
    if (m_saline == Saline::Given) m_saline = Saline::AskedAgain;
}

void RabbitModel::cancelSaline() {
    if (m_saline == Saline::Asked) m_saline = Saline::None;
    if (m_saline == Saline::AskedAgain) m_saline = Saline::Given;
}

void RabbitModel::nextUnknown() {
    m_saline = Saline::None;
    m_unknownInstilled = false;
    m_lightReflexSeen = false;
}

int RabbitModel::drawUnusedUnknown() {
    // Draws until an unknown not yet handed out comes up. Drawing again keeps every
    // remaining unknown equally likely; the bound only guarantees an end should the
    // source keep repeating itself.
    const int tries = 1000 * std::max(1, m_drugCount);
    for (int n = 0; n < tries; ++n) {
        const int i = whole(m_drugCount * m_random.uniform() + 1);
        if (i >= 1 && i <= m_drugCount && !m_unknownUsed[i]) return i;
    }
    for (int i = 1; i <= m_drugCount; ++i)
        if (!m_unknownUsed[i]) return i;
    return m_drugCount + 1;
}

bool RabbitModel::identify(const QString& identified) {
    const RabMode mode = m_run.Rab_Mode();
    if (mode == RabMode::SecondExamination) {
        m_run.m_exam2.Answer = identified;
        closeSecondExamination();
        return true;
    }
    if (mode != RabMode::FirstExamination) return false;

    const int k = m_unknownNo;
    QVector<RabExamRec>& recs = m_run.m_examRecs;
    if (recs.size() <= k) recs.resize(k + 1);
    RabExamRec& rec = recs[k];
    rec.SalineInstilled = salineGiven();
    rec.Identified = identified;
    const RabDrugRec& s = drug(m_selectedDrug);
    rec.DrugName = s.D_Name;
    if (m_unknownInstilled) {
        rec.CornealReflex = s.C_Reflex;
        rec.Tension = s.I_Tension;
        rec.LightReflex =
            s.L_Reflex == LightReflexRule::WhileWide ? m_lightReflexSeen : s.L_Reflex == LightReflexRule::Present;
    } else {
        rec.CornealReflex.reset();
        rec.Tension.reset();
        rec.LightReflex.reset();
    }
    rec.Recorded = true;
    m_lightReflexSeen = false;
    // Also when there were no unknowns at all: nothing is left to hand out.
    if (k >= m_drugCount) return true;

    const int i = drawUnusedUnknown();
    m_selectedDrug = static_cast<quint8>(i);
    m_unknownUsed[i] = true;
    m_unknownNo = static_cast<quint8>(k + 1);
    m_unknownLabel = QStringLiteral("Неизвестное вещество %1").arg(m_unknownNo);
    nextUnknown();
    return false;
}

int RabbitModel::drawSecondUnknown() {
    // The task is to tell a miotic from a mydriatic: only a substance that always narrows
    // or always widens the pupil can be asked about.
    QVector<int> candidates;
    for (int i = 1; i <= m_drugCount; ++i)
        if (pupilAction(m_drugs[i]) != PupilAction::Neither) candidates << i;
    if (candidates.isEmpty())
        for (int i = 1; i <= m_drugCount; ++i) candidates << i;
    if (candidates.isEmpty()) candidates << m_drugCount + 1;
    const int n = candidates.size();
    return candidates[std::clamp(whole(n * m_random.uniform()), 0, n - 1)];
}

void RabbitModel::enterSecondExamination() {
    m_run.m_mode = RabMode::SecondExamination;
    const int i = drawSecondUnknown();
    m_selectedDrug = static_cast<quint8>(i);
    nextUnknown();
    m_unknownLabel = QStringLiteral("Неизвестное вещество");
    m_run.m_exam2 = {true, drug(i).D_Name, pupilAction(drug(i)), false, false, QString()};
}

void RabbitModel::closeSecondExamination() {
    RabExam2Rec& e = m_run.m_exam2;
    e.Instilled = m_unknownInstilled;
    e.SalineInstilled = salineGiven();
}

QStringList RabbitModel::secondExaminationAnswers() {
    return {QStringLiteral("Миотик"), QStringLiteral("Мидриатик")};
}

namespace {

QString observed(std::optional<bool> reading, const QString& what) {
    return QStringLiteral("%1: %2").arg(what, !reading   ? QStringLiteral("не проверен")
                                              : *reading ? QStringLiteral("есть")
                                                         : QStringLiteral("нет"));
}

QString salineText(bool given) {
    return QStringLiteral("солевой раствор: %1").arg(given ? QStringLiteral("да") : QStringLiteral("нет"));
}

}  // namespace

QList<ExamRecord> rabbitExamRecords(const RabbitRunState& run, const QDateTime& when) {
    auto record = [&](int number) {
        ExamRecord r;
        r.program = QStringLiteral("morvane");
        r.experiment = QStringLiteral("Глаз кролика, экзамен %1").arg(number);
        r.when = when;
        r.student = run.student();
        return r;
    };
    ExamRecord first = record(1);
    for (int i = 1; i <= run.unknownCount(); ++i) {
        const RabExamRec& rec = run.Rab_ExamRecs()[i];
        if (!rec.Recorded) {
            first.addIdentification(rec.DrugName.trimmed(), QString(), run.drugNames(),
                                    QStringLiteral("не исследовано"));
            continue;
        }
        QString tension = QStringLiteral("не проверено");
        if (rec.Tension)
            tension = *rec.Tension == TensionEffect::Normal      ? QStringLiteral("норма")
                      : *rec.Tension == TensionEffect::Decreased ? QStringLiteral("понижено")
                                                                 : QStringLiteral("повышено");
        first.addIdentification(rec.DrugName.trimmed(), rec.Identified.trimmed(), run.drugNames(),
                                QStringList{QStringLiteral("давление: %1").arg(tension),
                                            observed(rec.LightReflex, QStringLiteral("реакция на свет")),
                                            observed(rec.CornealReflex, QStringLiteral("роговичный рефлекс")),
                                            salineText(rec.SalineInstilled)}
                                    .join(QStringLiteral(", ")));
    }
    QList<ExamRecord> records{first};

    const RabExam2Rec& e = run.Rab_Exam2();
    if (e.Given) {
        ExamRecord second = record(2);
        const QStringList answers = RabbitModel::secondExaminationAnswers();
        ExamItem item;
        item.number = 1;
        item.given = e.Action == PupilAction::Miotic ? QStringLiteral("%1 (%2)").arg(e.DrugName.trimmed(), answers[0])
                     : e.Action == PupilAction::Mydriatic
                         ? QStringLiteral("%1 (%2)").arg(e.DrugName.trimmed(), answers[1])
                         : e.DrugName.trimmed();
        item.answer = e.Answer.trimmed();
        item.measured =
            QStringLiteral("закапано: %1, %2")
                .arg(e.Instilled ? QStringLiteral("да") : QStringLiteral("нет"), salineText(e.SalineInstilled));
        item.right = secondExaminationCorrect(e);
        second.items << item;
        records << second;
    }
    return records;
}
