#include "oeso_model.h"

#include <QDateTime>
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
    m_drugs = rows;
    m_drugCount = static_cast<int>(rows.size());
    m_drugs.push_back(OesoDrugRec{});
    m_run.m_dataLoaded = true;
}

QStringList OesoModel::drugNames() const {
    QStringList names;
    for (int i = 0; i < m_drugCount; ++i) names << m_drugs[i].Drug;
    return names;
}

QStringList OesoModel::unknownChoices() const {
    return drugNames().mid(1);
}

float OesoModel::uniform() {
    // Chance is drawn in single precision; a value just below 1 must not round up to 1.
    const float u = static_cast<float>(m_random.uniform());
    return u < 1.0f ? u : std::nextafter(1.0f, 0.0f);
}

int OesoModel::draw(float a, float b, float u) {
    const double v = std::floor((double(b) - double(a) + 1.0) * double(u) + double(a));
    return static_cast<int>(std::min(v, std::floor(double(b))));
}

void OesoModel::reseed() {
    m_random.reseedFromClock();
}

void OesoModel::newSeedPosition() {
    using namespace oeso_geometry;
    m_seedLeft = static_cast<int>(std::floor(uniform() * float(startLeftSpan) + float(startLeftMin)));
    m_seedTop = static_cast<int>(std::floor(uniform() * float(startTopSpan) + float(startTopMin)));
    m_seedLeft = std::min(m_seedLeft, startLeftMin + startLeftSpan - 1);
    m_seedTop = std::min(m_seedTop, startTopMin + startTopSpan - 1);
}

void OesoModel::newFrog() {
    m_stepBase = static_cast<quint8>(std::min(4.0f, std::floor(uniform() * 5.0f)));
    m_curDrug = m_prevDrug = noDrug;
    m_drugHistory.clear();
    ++m_frogNo;
    newSeedPosition();
    m_seedVisible = false;
    m_running = false;
}

void OesoModel::instill(int row) {
    if (row < 0 || row >= m_drugCount) return;
    m_prevDrug = withoutTrailingSpaces(m_curDrug);
    m_curDrug = withoutTrailingSpaces(m_drugs[row].Drug);
    auto timing = [this](int r) { return draw(m_drugs[r].time1, m_drugs[r].time2, uniform()); };
    m_interval = timing(row);
    m_seedStep = m_stepBase + 12;

    // Atropine blocks the muscarinic receptors of the ciliated cells: acetylcholine given
    // before or after it, and the acetylcholine that physostigmine saves from breakdown,
    // act no more, and the seed travels at the pace of Ringer's solution.
    auto pair = [this](const QString& a, const QString& b) {
        return (m_prevDrug == a && m_curDrug == b) || (m_curDrug == a && m_prevDrug == b);
    };
    if (pair(atropine, acetylcholine)) m_interval = timing(0);
    if (pair(physostigmine, atropine)) m_interval = timing(0);
    // Acetylcholine given after physostigmine is not split by cholinesterase: it acts
    // with the timing of row 2. A table too short to have that row keeps the drug's own.
    if (m_prevDrug == physostigmine && m_curDrug == acetylcholine && m_drugCount > 2) m_interval = timing(2);

    m_drugHistory << m_curDrug;
}

void OesoModel::startRun() {
    m_seedVisible = true;
    m_running = true;
    if (examination()) m_monitorSecs = 0;
}

bool OesoModel::tick() {
    if (!m_running) return false;
    if (m_seedTop > oeso_geometry::runEndTop) {
        m_seedVisible = false;
        m_running = false;
        newSeedPosition();
        if (examination()) storeMeasurement();
        return true;
    }
    m_seedTop += m_seedStep;
    return false;
}

void OesoModel::monitorTick() {
    if (m_monitorSecs < std::numeric_limits<qint32>::max()) ++m_monitorSecs;
}

void OesoModel::storeMeasurement() {
    if (m_examRow < 0 || m_examRow >= records().size()) return;
    OesoExamRec& rec = records()[m_examRow];
    const qint32 t = m_monitorSecs;
    if (m_measureNo == 0) {
        rec.T1 = t;
    } else if (m_measureNo == 1 && m_recordAllowed) {
        rec.T2 = t;
    } else if (m_measureNo == 2 && m_recordAllowed) {
        rec.T3 = t;
    } else {
        return;  // a fourth run, or a further run before a solution was given
    }
    rec.Runs = ++m_measureNo;
}

bool OesoModel::startExamination() {
    m_recordAllowed = false;
    m_examRow = 0;
    m_measureNo = 0;
    m_unknownUsed = QVector<bool>(m_drugCount + 1, false);
    reseed();
    // Each examination starts with empty records: a previous student's times and answers
    // must not turn up in this student's table.
    records() = QVector<OesoExamRec>(3);
    m_examRowBase = 2;
    records()[0].Drug = m_drugs.value(0).Drug;
    m_run.m_examUnknowns = unknownChoices();
    m_ringerAllowed = true;
    m_unknownAllowed = m_drugCount >= 2;
    if (m_drugCount < 2) {
        // Only Ringer's solution: there is no unknown to hand out, and the examination
        // ends at the first identification.
        m_unknownIndex = 0;
        m_unknownsGiven = 0;
        return false;
    }
    m_unknownIndex = std::min(m_drugCount - 1, draw(1, float(m_drugCount - 1), uniform()));
    m_unknownUsed[m_unknownIndex] = true;
    m_unknownsGiven = 1;
    records()[1].Drug = m_drugs[m_unknownIndex].Drug;
    return true;
}

void OesoModel::giveRinger() {
    m_ringerAllowed = false;
    m_recordAllowed = true;
    m_examRow = m_examRowBase - 2;
    m_measureNo = 0;
    const OesoDrugRec& d = m_drugs[0];
    m_seedStep = draw(d.speed1, d.speed2, uniform());
    m_interval = draw(d.time1, d.time2, uniform());
}

void OesoModel::giveUnknown() {
    m_ringerAllowed = m_unknownAllowed = false;
    if (!unknownAvailable()) return;
    m_examRow = m_examRowBase - 1;
    m_recordAllowed = true;
    m_measureNo = 0;
    const OesoDrugRec& d = m_drugs[m_unknownIndex];
    m_seedStep = draw(d.speed1, d.speed2, uniform());
    m_interval = draw(d.time1, d.time2, uniform());
}

bool OesoModel::identify(const QString& answer) {
    m_recordAllowed = false;
    if (m_examRowBase - 1 < records().size()) records()[m_examRowBase - 1].Identified = answer;
    if (m_unknownsGiven + 1 >= m_drugCount) return true;

    // The next unknown is drawn among the rows not handed out yet, each as likely as the
    // others: one draw, so the choice ends whatever the chance source returns.
    reseed();
    QVector<int> unused;
    for (int k = 1; k < m_drugCount; ++k)
        if (!m_unknownUsed[k]) unused << k;
    const int n = static_cast<int>(unused.size());
    const int pick = std::min(n - 1, static_cast<int>(std::floor(float(n) * uniform())));
    m_unknownIndex = unused[pick];
    m_unknownUsed[m_unknownIndex] = true;
    ++m_unknownsGiven;
    m_examRowBase += 2;
    records().resize(m_examRowBase + 1);
    records()[m_examRowBase - 2].Drug = m_drugs[0].Drug;
    records()[m_examRowBase - 1].Drug = m_drugs[m_unknownIndex].Drug;
    m_ringerAllowed = m_unknownAllowed = true;
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

void Stopwatch::tick() {
    if (m_running) m_time = stopwatchAdvance(m_time);
}

QString Stopwatch::hoursText() const {
    return stopwatchField(m_time.hours);
}
QString Stopwatch::minutesText() const {
    return stopwatchField(m_time.minutes);
}
QString Stopwatch::secondsText() const {
    return stopwatchField(m_time.seconds);
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

ExamRecord oesoExamRecord(const OesoRunState& run) {
    ExamRecord record;
    record.program = QStringLiteral("morvane");
    record.experiment = QStringLiteral("Пищевод лягушки");
    record.when = QDateTime::currentDateTime();
    record.student = run.student();
    // The records hold Ringer's solution and an unknown in pairs, then a spare one.
    const QVector<OesoExamRec>& recs = run.Oeso_ExamRecs();
    QStringList notGiven = run.examUnknowns();
    auto runsText = [&](int r) {
        const QStringList t = examRowTexts(r, recs[r]);
        return QStringLiteral("%1, %2, %3 с (среднее %4)").arg(t[2], t[3], t[4], t[5]);
    };
    for (int r = 1; r + 1 < recs.size(); r += 2) {
        notGiven.removeOne(recs[r].Drug);
        record.addIdentification(recs[r].Drug, recs[r].Identified, run.drugNames(),
                                 QStringLiteral("Рингер: %1; неизвестное: %2").arg(runsText(r - 1), runsText(r)));
    }
    for (const QString& drug : notGiven)
        record.addIdentification(drug, QString(), run.drugNames(), QStringLiteral("не выдано"));
    return record;
}
