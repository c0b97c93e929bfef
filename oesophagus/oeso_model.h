#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

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

// The frog on the board while the experiment screen is open: its drug table, the drugs
// given to this frog, the seed and its run, and the examination's bookkeeping. It never
// waits: the screen's timers call tick() and monitorTick().
class OesoModel {
public:
    OesoModel(RandomSource& random, OesoRunState& run);

    // --- Drug table ---------------------------------------------------------------
    // Takes the rows of the table in order; a spare empty entry follows the last.
    void setDrugs(const QVector<OesoDrugRec>& rows);
    bool hasDrugs() const { return Oeso_DrugCount > 0; }
    const QVector<OesoDrugRec>& drugs() const { return Oeso_Drugs; }
    QStringList drugNames() const;       // rows 0 .. count-1
    QStringList unknownChoices() const;  // rows 1 .. count-1: what the student may answer

    // --- Frog and drugs -----------------------------------------------------------
    // A new, unpredictable sequence of chance (screen load, examination start).
    void reseed();
    // The next frog: its own step, no drug given yet, a new seed waiting.
    void newFrog();
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

    // --- Examination --------------------------------------------------------------
    // Empties the records and hands out the first unknown. False when the table holds
    // nothing but Ringer's solution, so that there is no unknown to hand out.
    bool startExamination();
    bool unknownAvailable() const { return UnknownIndex > 0; }
    void giveRinger();
    void giveUnknown();
    // The student names the current unknown; true when that was the last one (every row
    // but Ringer's solution has been handed out), else the next unknown is handed out.
    bool identify(const QString& answer);

    // Seed step and interval from row i: draw(a, b) = Int((b - a + 1) * U + a), never above b.
    static int draw(float a, float b, float u);

    // State of the frog (names as the screen and the tests know them).
    QVector<OesoDrugRec> Oeso_Drugs;  // rows, then one spare empty entry
    int Oeso_DrugCount = 0;           // rows read (at most 255)
    int FrogNo = 0;                   // 1 for the first frog of this screen
    quint8 StepBase = 0;              // 0..4, per frog
    int SeedStep = 0;                 // twips the seed moves per tick
    int Interval = 1000;              // ms between two ticks of the seed
    QString CurDrug, PrevDrug;        // last and last-but-one drug given; "Нет" for a new frog
    QStringList DrugHistory;          // drugs given to this frog, in order

    int SeedLeft = 0, SeedTop = 0;  // twips
    bool SeedVisible = false;
    bool Running = false;

    // Examination bookkeeping. Rows of the records go up to twice the number of unknowns,
    // beyond a byte with a long table, so they are plain integers.
    qint32 MonitorSecs = 0;     // whole seconds since the seed was laid
    int ExamRowBase = 0;        // 2 for the first unknown, +2 for each further one
    int ExamRow = 0;            // record that takes the next measurement
    quint8 MeasureNo = 0;       // measurements stored so far in ExamRow
    quint8 RecordAllowed = 0;   // 1 after Ringer's solution or the unknown was given
    int UnknownIndex = 0;       // row of the current unknown; 0: none
    int UnknownsGiven = 0;
    QVector<quint8> UnknownUsed;  // indices 0 .. count; 1 = that row was handed out

private:
    float uniform();
    void newSeedPosition();
    void storeMeasurement();
    bool examination() const { return m_run.Oeso_Mode == 2; }
    QVector<OesoExamRec>& records() { return m_run.Oeso_ExamRecs; }

    RandomSource& m_random;
    OesoRunState& m_run;
};

// The stopwatch: hours, minutes and seconds as its three fields show them.
struct StopwatchTime {
    qint64 hours = 0, minutes = 0, seconds = 0;
    bool operator==(const StopwatchTime&) const = default;
};
// One second later: 00:00:59 becomes 00:01:00, 00:59:59 becomes 01:00:00.
StopwatchTime stopwatchAdvance(StopwatchTime t);
// A field's text: two digits, "0" before a number below 10.
QString stopwatchField(qint64 value);

// The mean of the runs that were timed, with one decimal; "—" when none was.
QString meanText(const QVector<qint32>& times);
// The results table's texts for record r: number, drug, the three times ("—" for a run
// not timed), the mean of those timed and the answer.
QStringList examRowTexts(int r, const OesoExamRec& rec);
