#include "rabbit_model.h"

#include <algorithm>
#include <cmath>

#include "random_source.h"

namespace {

// An eye that has received nothing: both reflexes, normal tension, no change.
const RabDrugRec noSubstance{QString(), u'Y', u'Y', u'N', 0, 0};

// Whole part of a product with a random number, as every draw of the experiment takes it.
int whole(double v) { return static_cast<int>(std::floor(v)); }

// The torch narrows a pupil by 75 twips; a pupil that is already tiny keeps at least a
// pixel's worth instead of turning inside out.
constexpr double torchNarrowing = 75;
constexpr double smallestPupil = 15;
double narrowed(double v) { return v - torchNarrowing >= smallestPupil ? v - torchNarrowing : std::min(v, smallestPupil); }

qint16 roundedHalfEven(double v) { return static_cast<qint16>(std::nearbyint(v)); }

}  // namespace

QChar pupilAction(const RabDrugRec& d) {
    if (d.P_size1 > 0) return u'W';
    if (d.P_size2 < 0) return u'M';
    return u'N';
}

RabbitModel::RabbitModel(RabbitRunState& run, RandomSource& random) : m_run(run), m_random(random) {
    Rab_Drugs = {noSubstance, RabDrugRec{}};
    for (EyeState& e : eyes) e.Label = QStringLiteral("Нет");
}

const RabDrugRec& RabbitModel::drug(int index) const {
    return index >= 0 && index < Rab_Drugs.size() ? Rab_Drugs[index] : noSubstance;
}

qint16 RabbitModel::drawChange(const RabDrugRec& d) {
    return static_cast<qint16>(m_random.wholeNumber(d.P_size1, d.P_size2));
}

QString RabbitModel::LoadDrugTable(const QVector<RabDrugRec>& rows) {
    Rab_Drugs.clear();
    substanceList.clear();
    Rab_Drugs.push_back(noSubstance);
    for (const RabDrugRec& d : rows) {
        Rab_Drugs.push_back(d);
        substanceList << d.D_Name;
    }
    Rab_Drugs.push_back(RabDrugRec{});  // reaches index Rab_DrugCount + 1
    Rab_DrugCount = rows.size();
    SelectedDrug = 1;
    if (m_run.Rab_Mode == 2) return prepareExamination();
    return {};
}

QString RabbitModel::prepareExamination() {
    // The last row is the saline control, index Rab_DrugCount + 1 from now on.
    Rab_DrugCount = std::max(0, Rab_DrugCount - 1);
    UnknownUsed = QVector<quint8>(Rab_DrugCount + 2, 0);
    // A new examination starts with no records, whatever an earlier one of this run left.
    m_run.Rab_ExamRecs = QVector<RabExamRec>(Rab_DrugCount + 2);
    m_run.Rab_Exam2 = {};
    UnknownNo = 1;
    UnknownLabel = QStringLiteral("Unknown Drug 1");
    QString message;
    const int s = whole(Rab_DrugCount * m_random.uniform() + 1);
    if (s == 0 || s > Rab_DrugCount) message = QStringLiteral("  Error in the System. Restart   ");
    SelectedDrug = static_cast<quint8>(s);
    UnknownUsed[s] = 1;
    LightReflexSeen = u'N';
    SalineAsked = SalineGiven = false;
    UnknownInstilled = 0;
    return message;
}

bool RabbitModel::takeRabbitNumber() {
    if (RabbitNo >= lastRabbit) return false;
    ++RabbitNo;
    return true;
}

void RabbitModel::startRabbit() {
    EyeState& left = eye(EyeSide::Left);
    EyeState& right = eye(EyeSide::Right);
    left.Tension = 910 + whole(m_random.uniform() * 70 + 1);
    right.Tension = 890 + whole(m_random.uniform() * 70 + 1);
    for (EyeState& e : eyes) {
        e.Done = 0;
        e.Drug = 0;
        e.Label = QStringLiteral("Нет");
    }
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
    for (EyeState& e : eyes) e.Pupil = e.Base.real();
    TorchEye.reset();  // whatever the torch saved belonged to the rabbit that is gone
}

Instillation RabbitModel::instil(EyeSide side, int listRow, const QString& listText) {
    EyeState& e = eye(side);
    const EyeState& other = eye(side == EyeSide::Left ? EyeSide::Right : EyeSide::Left);
    const quint8 mode = m_run.Rab_Mode;
    if (mode == 1) {
        if (e.Done)
            return {false, other.Done ? QStringLiteral("Вещества уже закапаны в оба глаза. Выберите нового кролика")
                                      : QStringLiteral("Вещество уже закапано. Выберите другой глаз")};
        e.Done = 1;
        SelectedDrug = listRow >= 0 && listRow < Rab_DrugCount ? static_cast<quint8>(listRow + 1) : 0;
        e.Target = drawChange(drug(SelectedDrug));
        e.Drug = SelectedDrug;
        e.Label = listText;
        return {true, {}};
    }
    if (mode != 2 && mode != 3) return {};

    const QString taken = QStringLiteral("Вещество уже закапано. Выберите нового кролика");
    if (SalineAsked) {
        // The request is answered either way; a taken eye refuses the saline, and a saline
        // refused was not instilled.
        SalineAsked = false;
        if (e.Done) return {false, taken};
        SalineGiven = true;
        const int saline = Rab_DrugCount + 1;
        e.Done = 1;
        e.Target = drawChange(drug(saline));
        e.Drug = static_cast<quint8>(saline);
        e.Label = drug(saline).D_Name;
        return {true, {}};
    }
    if (e.Done) return {false, taken};
    UnknownInstilled = 1;
    e.Done = 1;
    e.Target = drawChange(drug(SelectedDrug));
    e.Drug = SelectedDrug;
    e.Label = mode == 2 ? QStringLiteral("Неизвестное вещество %1").arg(UnknownNo)
                        : QStringLiteral("Неизвестное вещество");
    return {true, {}};
}

void RabbitModel::showStage(EyeSide side, const PupilBox& stage) {
    // Under the torch the new stage is what the light acts on now, and what the eye
    // shows once the torch is taken away.
    const bool lit = TorchEye == side;
    if (lit) TorchEye.reset();
    eye(side).Pupil = stage;
    if (lit) torchOn(side);
}

void RabbitModel::halfStage(EyeSide side) {
    const EyeState& e = eye(side);
    const double t = e.Target;
    const WholeBox& b = e.Base;
    showStage(side, {b.Left - 3 * t / 2, b.Top - t, b.Width + 5 * t / 2, b.Height + 5 * t / 2});
}

void RabbitModel::fullStage(EyeSide side) {
    EyeState& e = eye(side);
    const double t = e.Target;
    const WholeBox& b = e.Base;
    showStage(side, {b.Left - 3 * t, b.Top - 2 * t, b.Width + 5 * t, b.Height + 5 * t});
    const bool left = side == EyeSide::Left;
    const QChar tension = drug(e.Drug).I_Tension;
    if (tension == u'D')
        e.Tension = left ? 910 - whole(m_random.uniform() * 251 + 150) : 890 - whole(m_random.uniform() * 350 + 150);
    else if (tension == u'I')
        e.Tension = left ? 910 + whole(m_random.uniform() * 251 + 150) : 890 + whole(m_random.uniform() * 350 + 150);
}

bool RabbitModel::lightReflexPresent(EyeSide side) const {
    const EyeState& e = eye(side);
    const QChar c = drug(e.Drug).L_Reflex;
    if (c == u'Y') return true;
    // A narrowed pupil has no room left to narrow under the light.
    return c == u'B' && e.Pupil.Width > (side == EyeSide::Left ? 275 : 180);
}

bool RabbitModel::cornealReflexPresent(EyeSide side) const { return drug(eye(side).Drug).C_Reflex == u'Y'; }

void RabbitModel::torchOn(EyeSide side) {
    if (TorchEye == side) return;  // already lit: its own box is saved
    EyeState& e = eye(side);
    SavedPupil = {roundedHalfEven(e.Pupil.Left), roundedHalfEven(e.Pupil.Top), roundedHalfEven(e.Pupil.Width),
                  roundedHalfEven(e.Pupil.Height)};
    TorchEye = side;
    if (!lightReflexPresent(side)) return;
    LightReflexSeen = u'Y';
    e.Pupil = {SavedPupil.Left + 30.0, SavedPupil.Top + 30.0, narrowed(SavedPupil.Width), narrowed(SavedPupil.Height)};
}

void RabbitModel::torchOff(EyeSide side) {
    if (Tool != 1 || TorchEye != side) return;
    TorchEye.reset();
    eye(side).Pupil = SavedPupil.real();
}

int RabbitModel::drawUnusedUnknown() {
    // Draws until an unknown not yet handed out comes up. Drawing again keeps every
    // remaining unknown equally likely; the bound only guarantees an end should the
    // source keep repeating itself.
    const int tries = 1000 * std::max(1, Rab_DrugCount);
    for (int n = 0; n < tries; ++n) {
        const int i = whole(Rab_DrugCount * m_random.uniform() + 1);
        if (i >= 1 && i <= Rab_DrugCount && UnknownUsed[i] == 0) return i;
    }
    for (int i = 1; i <= Rab_DrugCount; ++i)
        if (UnknownUsed[i] == 0) return i;
    return Rab_DrugCount + 1;
}

bool RabbitModel::identify(const QString& identified) {
    const quint8 mode = m_run.Rab_Mode;
    if (mode == 3) {
        m_run.Rab_Exam2.Answer = identified;
        closeSecondExamination();
        return true;
    }
    if (mode != 2) return false;

    const int k = UnknownNo;
    if (m_run.Rab_ExamRecs.size() <= k) m_run.Rab_ExamRecs.resize(k + 1);
    RabExamRec& rec = m_run.Rab_ExamRecs[k];
    rec.SalineInstilled = SalineGiven ? u'Y' : u'N';
    rec.Identified = identified;
    const RabDrugRec& s = drug(SelectedDrug);
    rec.DrugName = s.D_Name;
    if (UnknownInstilled == 1) {
        rec.CornealReflex = s.C_Reflex;
        rec.Tension = s.I_Tension;
        rec.LightReflex = s.L_Reflex == u'B' ? LightReflexSeen : s.L_Reflex;
    } else {
        rec.CornealReflex = rec.Tension = rec.LightReflex = u'H';
    }
    rec.Recorded = true;
    LightReflexSeen = u'N';
    // Also when there were no unknowns at all: nothing is left to hand out.
    if (k >= Rab_DrugCount) return true;

    const int i = drawUnusedUnknown();
    SelectedDrug = static_cast<quint8>(i);
    UnknownUsed[i] = 1;
    UnknownNo = static_cast<quint8>(k + 1);
    UnknownLabel = QStringLiteral("Неизвестное вещество %1").arg(UnknownNo);
    SalineAsked = SalineGiven = false;
    UnknownInstilled = 0;
    return false;
}

int RabbitModel::drawSecondUnknown() {
    // The task is to tell a miotic from a mydriatic: only a substance that always narrows
    // or always widens the pupil can be asked about.
    QVector<int> candidates;
    for (int i = 1; i <= Rab_DrugCount; ++i)
        if (pupilAction(Rab_Drugs[i]) != u'N') candidates << i;
    if (candidates.isEmpty())
        for (int i = 1; i <= Rab_DrugCount; ++i) candidates << i;
    if (candidates.isEmpty()) candidates << Rab_DrugCount + 1;
    const int n = candidates.size();
    return candidates[std::clamp(whole(n * m_random.uniform()), 0, n - 1)];
}

void RabbitModel::enterSecondExamination() {
    m_run.Rab_Mode = 3;
    const int i = drawSecondUnknown();
    SelectedDrug = static_cast<quint8>(i);
    UnknownInstilled = 0;
    SalineAsked = SalineGiven = false;
    LightReflexSeen = u'N';
    UnknownLabel = QStringLiteral("Неизвестное вещество");
    m_run.Rab_Exam2 = {true, drug(i).D_Name, pupilAction(drug(i)), u'N', u'N', QString()};
}

void RabbitModel::closeSecondExamination() {
    RabExam2Rec& e = m_run.Rab_Exam2;
    e.Instilled = UnknownInstilled == 1 ? u'Y' : u'N';
    e.SalineInstilled = SalineGiven ? u'Y' : u'N';
}

QStringList RabbitModel::secondExaminationAnswers() {
    return {QStringLiteral("Миотик"), QStringLiteral("Мидриатик")};
}
