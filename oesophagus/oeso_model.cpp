#include "oeso_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numtext.h"
#include "random_source.h"

namespace {

const QString noDrug = QStringLiteral("Нет");
const QString acetylcholine = QStringLiteral("Ацетилхолин");
const QString atropine = QStringLiteral("Атропин");
const QString physostigmine = QStringLiteral("Физостигмин");
const QString notMeasured = QStringLiteral("—");

QString withoutTrailingSpaces(QString s) {
    while (s.endsWith(u' ')) s.chop(1);
    return s;
}

}  // namespace

OesoModel::OesoModel(RandomSource& random, OesoRunState& run) : m_random(random), m_run(run) {}

void OesoModel::setDrugs(const QVector<OesoDrugRec>& rows) {
    Oeso_Drugs = rows;
    Oeso_DrugCount = static_cast<int>(rows.size());
    Oeso_Drugs.push_back(OesoDrugRec{});
}

QStringList OesoModel::drugNames() const {
    QStringList names;
    for (int i = 0; i < Oeso_DrugCount; ++i) names << Oeso_Drugs[i].Drug;
    return names;
}

QStringList OesoModel::unknownChoices() const { return drugNames().mid(1); }

float OesoModel::uniform() {
    // Chance is drawn in single precision; a value just below 1 must not round up to 1.
    const float u = static_cast<float>(m_random.uniform());
    return u < 1.0f ? u : std::nextafter(1.0f, 0.0f);
}

int OesoModel::draw(float a, float b, float u) {
    const double v = std::floor((double(b) - double(a) + 1.0) * double(u) + double(a));
    return static_cast<int>(std::min(v, std::floor(double(b))));
}

void OesoModel::reseed() { m_random.reseedFromClock(); }

void OesoModel::newSeedPosition() {
    using namespace oeso_geometry;
    SeedLeft = static_cast<int>(std::floor(uniform() * float(startLeftSpan) + float(startLeftMin)));
    SeedTop = static_cast<int>(std::floor(uniform() * float(startTopSpan) + float(startTopMin)));
    SeedLeft = std::min(SeedLeft, startLeftMin + startLeftSpan - 1);
    SeedTop = std::min(SeedTop, startTopMin + startTopSpan - 1);
}

void OesoModel::newFrog() {
    StepBase = static_cast<quint8>(std::min(4.0f, std::floor(uniform() * 5.0f)));
    CurDrug = PrevDrug = noDrug;
    DrugHistory.clear();
    ++FrogNo;
    newSeedPosition();
    SeedVisible = false;
    Running = false;
}

void OesoModel::instill(int row) {
    if (row < 0 || row >= Oeso_DrugCount) return;
    PrevDrug = withoutTrailingSpaces(CurDrug);
    CurDrug = withoutTrailingSpaces(Oeso_Drugs[row].Drug);
    auto timing = [this](int r) { return draw(Oeso_Drugs[r].time1, Oeso_Drugs[r].time2, uniform()); };
    Interval = timing(row);
    SeedStep = StepBase + 12;

    // Atropine blocks the muscarinic receptors of the ciliated cells: acetylcholine given
    // before or after it, and the acetylcholine that physostigmine saves from breakdown,
    // act no more, and the seed travels at the pace of Ringer's solution.
    if ((PrevDrug == atropine && CurDrug == acetylcholine) || (CurDrug == atropine && PrevDrug == acetylcholine))
        Interval = timing(0);
    if ((PrevDrug == physostigmine && CurDrug == atropine) || (CurDrug == physostigmine && PrevDrug == atropine))
        Interval = timing(0);
    // Acetylcholine given after physostigmine is not split by cholinesterase: it acts
    // with the timing of row 2. A table too short to have that row keeps the drug's own.
    if (PrevDrug == physostigmine && CurDrug == acetylcholine && Oeso_DrugCount > 2) Interval = timing(2);

    DrugHistory << CurDrug;
}

void OesoModel::startRun() {
    SeedVisible = true;
    Running = true;
    if (examination()) MonitorSecs = 0;
}

bool OesoModel::tick() {
    if (!Running) return false;
    if (SeedTop > oeso_geometry::runEndTop) {
        SeedVisible = false;
        Running = false;
        newSeedPosition();
        if (examination()) storeMeasurement();
        return true;
    }
    SeedTop += SeedStep;
    return false;
}

void OesoModel::monitorTick() {
    if (MonitorSecs < std::numeric_limits<qint32>::max()) ++MonitorSecs;
}

void OesoModel::storeMeasurement() {
    if (ExamRow < 0 || ExamRow >= records().size()) return;
    OesoExamRec& rec = records()[ExamRow];
    const qint32 t = MonitorSecs;
    if (MeasureNo == 0) {
        rec.T1 = t;
    } else if (MeasureNo == 1 && RecordAllowed == 1) {
        rec.T2 = t;
    } else if (MeasureNo == 2 && RecordAllowed == 1) {
        rec.T3 = t;
    } else {
        return;  // a fourth run, or a further run before a solution was given
    }
    rec.Runs = ++MeasureNo;
}

bool OesoModel::startExamination() {
    RecordAllowed = 0;
    ExamRow = 0;
    MeasureNo = 0;
    UnknownUsed = QVector<quint8>(Oeso_DrugCount + 1, 0);
    reseed();
    // Each examination starts with empty records: a previous student's times and answers
    // must not turn up in this student's table.
    records() = QVector<OesoExamRec>(3);
    ExamRowBase = 2;
    records()[0].Drug = Oeso_Drugs.value(0).Drug;
    if (Oeso_DrugCount < 2) {
        // Only Ringer's solution: there is no unknown to hand out, and the examination
        // ends at the first identification.
        UnknownIndex = 0;
        UnknownsGiven = 0;
        return false;
    }
    UnknownIndex = std::min(Oeso_DrugCount - 1, draw(1, float(Oeso_DrugCount - 1), uniform()));
    UnknownUsed[UnknownIndex] = 1;
    UnknownsGiven = 1;
    records()[1].Drug = Oeso_Drugs[UnknownIndex].Drug;
    return true;
}

void OesoModel::giveRinger() {
    RecordAllowed = 1;
    ExamRow = ExamRowBase - 2;
    MeasureNo = 0;
    const OesoDrugRec& d = Oeso_Drugs[0];
    SeedStep = draw(d.speed1, d.speed2, uniform());
    Interval = draw(d.time1, d.time2, uniform());
}

void OesoModel::giveUnknown() {
    if (!unknownAvailable()) return;
    ExamRow = ExamRowBase - 1;
    RecordAllowed = 1;
    MeasureNo = 0;
    const OesoDrugRec& d = Oeso_Drugs[UnknownIndex];
    SeedStep = draw(d.speed1, d.speed2, uniform());
    Interval = draw(d.time1, d.time2, uniform());
}

bool OesoModel::identify(const QString& answer) {
    RecordAllowed = 0;
    if (ExamRowBase - 1 < records().size()) records()[ExamRowBase - 1].Identified = answer;
    if (UnknownsGiven + 1 >= Oeso_DrugCount) return true;

    // The next unknown is drawn among the rows not handed out yet, each as likely as the
    // others: one draw, so the choice ends whatever the chance source returns.
    reseed();
    QVector<int> unused;
    for (int k = 1; k < Oeso_DrugCount; ++k)
        if (UnknownUsed[k] != 1) unused << k;
    const int n = static_cast<int>(unused.size());
    const int pick = std::min(n - 1, static_cast<int>(std::floor(float(n) * uniform())));
    UnknownIndex = unused[pick];
    UnknownUsed[UnknownIndex] = 1;
    ++UnknownsGiven;
    ExamRowBase += 2;
    records().resize(ExamRowBase + 1);
    records()[ExamRowBase - 2].Drug = Oeso_Drugs[0].Drug;
    records()[ExamRowBase - 1].Drug = Oeso_Drugs[UnknownIndex].Drug;
    return false;
}

StopwatchTime stopwatchAdvance(StopwatchTime t) {
    if (t.seconds < 59) {
        ++t.seconds;
    } else {
        t.seconds = 0;
        ++t.minutes;
        if (t.minutes > 59) {
            t.minutes = 0;
            ++t.hours;
        }
    }
    return t;
}

QString stopwatchField(qint64 value) {
    return value < 10 ? QStringLiteral("0") + QString::number(value) : QString::number(value);
}

QString meanText(const QVector<qint32>& times) {
    if (times.isEmpty()) return notMeasured;
    // Times and their sum are wide integers: a seed left running for hours must still
    // give a number.
    qint64 sum = 0;
    for (qint32 t : times) sum += t;
    return QString::number(double(sum) / double(times.size()), 'f', 1);
}

QStringList examRowTexts(int r, const OesoExamRec& rec) {
    const qint32 all[] = {rec.T1, rec.T2, rec.T3};
    QVector<qint32> timed;
    QStringList texts{QString::number(r + 1), rec.Drug};
    for (int k = 0; k < 3; ++k) {
        if (k < rec.Runs) timed << all[k];
        texts << (k < rec.Runs ? QString::number(all[k]) : notMeasured);
    }
    return texts << meanText(timed) << rec.Identified;
}
