#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <algorithm>

#include "oeso_drugs.h"
#include "oeso_run_state.h"

class RandomSource;

// Where the seed is, in twips inside the magnified view of the oesophagus.
namespace oeso_geometry {
constexpr int seedWidth = 75;
constexpr int seedHeight = 105;
constexpr int runEndTop = 3200;  // a seed whose top is below this has arrived
// Where a new seed waits: Left 1400..1920, Top 650..840.
constexpr int startLeftMin = 1400, startLeftSpan = 521;
constexpr int startTopMin = 650, startTopSpan = 191;
}  // namespace oeso_geometry

// The stopwatch: hours, minutes and seconds as its three fields show them.
struct StopwatchTime {
    qint64 hours = 0, minutes = 0, seconds = 0;
    bool operator==(const StopwatchTime&) const = default;
};
// One second later: 00:00:59 becomes 00:01:00, 00:59:59 becomes 01:00:00.
StopwatchTime stopwatchAdvance(StopwatchTime t);
// A field's text: two digits, "0" before a number below 10.
QString stopwatchField(qint64 value);

// The stopwatch on the bench. Started, it counts from zero; stopped, it keeps its time until
// it is started again or set back to zero. The screen's one-second timer ticks it.
class Stopwatch {
public:
    void start() {
        m_time = {};
        m_running = true;
    }
    void stop() { m_running = false; }
    void reset() { m_time = {}; }  // back to zero, running or not
    void tick();                   // one second later, while it runs

    bool running() const { return m_running; }
    const StopwatchTime& time() const { return m_time; }
    // Its three fields' texts: two digits each, "0" before a number below 10.
    QString hoursText() const;
    QString minutesText() const;
    QString secondsText() const;

private:
    StopwatchTime m_time;
    bool m_running = false;
};

// The frog on the board while the experiment screen is open: its drug table, the drugs
// given to this frog, the seed and its run, the stopwatch and the examination's
// bookkeeping. It never waits: the screen's timers call tick(), monitorTick() and the
// stopwatch's tick().
class OesoModel {
public:
    OesoModel(RandomSource& random, OesoRunState& run);

    // --- Drug table ---------------------------------------------------------------
    // The table is read once per visit of the home screen, and by any screen that has none yet.
    bool needsDrugs() const { return !m_run.Oeso_DataLoaded() || !hasDrugs(); }
    // Takes the rows of the table in order; a spare empty entry follows the last.
    void setDrugs(const QVector<OesoDrugRec>& rows);
    bool hasDrugs() const { return m_drugCount > 0; }
    const QVector<OesoDrugRec>& drugs() const { return m_drugs; }  // rows, then one spare empty entry
    int Oeso_DrugCount() const { return m_drugCount; }             // rows read (at most 255)
    QStringList drugNames() const;                                 // rows 0 .. count-1
    QStringList unknownChoices() const;                            // rows 1 .. count-1: what the student may answer

    // --- Frog and drugs -----------------------------------------------------------
    // A new, unpredictable sequence of chance (screen load, examination start).
    void reseed();
    // The next frog: its own step, no drug given yet, a new seed waiting.
    void newFrog();
    // The screen closes: the next one counts its frogs from 1 again.
    void resetFrogNumbers() { m_frogNo = 0; }
    // The drug of that row is dropped on the oesophagus: it sets the seed's pace, taking
    // the drug given before it into account.
    void instill(int row);

    // --- Seed ---------------------------------------------------------------------
    // The seed is laid on the oesophagus and starts to travel (a seed already running
    // starts its count again where it is).
    void startRun();
    // One tick of the seed's timer; true when this tick found the seed arrived, which
    // ends the run (in the examination the run is then stored).
    bool tick();
    // One second of the examination clock.
    void monitorTick();

    Stopwatch& stopwatch() { return m_stopwatch; }
    const Stopwatch& stopwatch() const { return m_stopwatch; }

    // --- Examination --------------------------------------------------------------
    // Empties the records and hands out the first unknown. False when the table holds
    // nothing but Ringer's solution, so that there is no unknown to hand out.
    bool startExamination();
    bool unknownAvailable() const { return m_unknownIndex > 0; }
    // What the student may drop next: Ringer's solution once for each unknown, before the
    // unknown itself, which is given once.
    bool ringerAllowed() const { return m_ringerAllowed; }
    bool unknownAllowed() const { return m_unknownAllowed; }
    void giveRinger();
    void giveUnknown();
    // The student names the current unknown; true when that was the last one (every row
    // but Ringer's solution has been handed out), else the next unknown is handed out.
    bool identify(const QString& answer);
    // How many unknowns the examination has (every row but Ringer's solution), and which
    // of them the student is on, from 1.
    int unknownCount() const { return std::max(0, m_drugCount - 1); }
    int currentUnknown() const { return m_unknownsGiven; }

    // Seed step and interval from row i: draw(a, b) = Int((b - a + 1) * U + a), never above b.
    static int draw(float a, float b, float u);

    // State of the frog (names as the screen and the tests know them).
    int FrogNo() const { return m_frogNo; }                           // 1 for the first frog of this screen
    quint8 StepBase() const { return m_stepBase; }                    // 0..4, per frog
    int SeedStep() const { return m_seedStep; }                       // twips the seed moves per tick
    int Interval() const { return m_interval; }                       // ms between two ticks of the seed
    const QString& CurDrug() const { return m_curDrug; }              // last drug given; "Нет" for a new frog
    const QString& PrevDrug() const { return m_prevDrug; }            // last but one
    const QStringList& DrugHistory() const { return m_drugHistory; }  // drugs given to this frog, in order

    int SeedLeft() const { return m_seedLeft; }  // twips
    int SeedTop() const { return m_seedTop; }
    bool SeedVisible() const { return m_seedVisible; }
    bool Running() const { return m_running; }

    // Examination bookkeeping. Rows of the records go up to twice the number of unknowns,
    // beyond a byte with a long table, so they are plain integers.
    qint32 MonitorSecs() const { return m_monitorSecs; }    // whole seconds since the seed was laid
    int ExamRowBase() const { return m_examRowBase; }       // 2 for the first unknown, +2 for each further one
    int ExamRow() const { return m_examRow; }               // record that takes the next measurement
    quint8 MeasureNo() const { return m_measureNo; }        // measurements stored so far in ExamRow
    bool RecordAllowed() const { return m_recordAllowed; }  // after Ringer's solution or the unknown was given
    int UnknownIndex() const { return m_unknownIndex; }     // row of the current unknown; 0: none
    int UnknownsGiven() const { return m_unknownsGiven; }
    const QVector<bool>& UnknownUsed() const { return m_unknownUsed; }  // indices 0 .. count: that row was handed out

private:
    float uniform();
    void newSeedPosition();
    void storeMeasurement();
    bool examination() const { return m_run.examination(); }
    QVector<OesoExamRec>& records() { return m_run.m_examRecs; }

    RandomSource& m_random;
    OesoRunState& m_run;

    QVector<OesoDrugRec> m_drugs;
    int m_drugCount = 0;
    int m_frogNo = 0;
    quint8 m_stepBase = 0;
    int m_seedStep = 0;
    int m_interval = 1000;
    QString m_curDrug, m_prevDrug;
    QStringList m_drugHistory;
    int m_seedLeft = 0, m_seedTop = 0;
    bool m_seedVisible = false;
    bool m_running = false;
    Stopwatch m_stopwatch;
    qint32 m_monitorSecs = 0;
    int m_examRowBase = 0;
    int m_examRow = 0;
    quint8 m_measureNo = 0;
    bool m_recordAllowed = false;
    int m_unknownIndex = 0;
    int m_unknownsGiven = 0;
    QVector<bool> m_unknownUsed;
    bool m_ringerAllowed = false, m_unknownAllowed = false;
};

// The mean of the runs that were timed, with one decimal; "—" when none was.
QString meanText(const QVector<qint32>& times);
// The results table's texts for record r: number, drug, the three times ("—" for a run
// not timed), the mean of those timed and the answer.
QStringList examRowTexts(int r, const OesoExamRec& rec);

// The record of the examination for the marked results: one identification for each of
// its unknowns, those never handed out unanswered.
ExamRecord oesoExamRecord(const OesoRunState& run);
