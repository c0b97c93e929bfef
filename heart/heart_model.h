#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

#include "heart_drugs.h"

class RandomSource;
struct HeartRunState;

// One thing the screen has to draw or change, in the order the heart produced them.
struct HeartOp {
    enum Kind {
        Advance,     // the paper moves one pixel: left − 1, width + 1
        Stroke,      // a vertical stroke at the pen (x = paper width − 10) from y1 to y2
        Mark,        // text at (x, y) in the given font and colour
        LeverMove,   // lever drawn (inverting) at y1, then at y2; 0 means no drawing
        Hearts,      // the contracted heart shown (y1 = 1) or the relaxed one (y1 = 0)
        LeverRun,    // lever animation on (y1 = 1) or off, with the interval in y2 ms (0: no beat)
        Indicators,  // both indicator graphs redrawn (hrlevel, tonelevel)
        RestCycle,   // the screen's part of the rest cycle: buttons, labels, hint
    };
    Kind kind = Advance;
    int y1 = 0, y2 = 0;
    int x = 0;          // Mark
    QString text;       // Mark
    int pointSize = 8;  // Mark
    bool bold = false;  // Mark
    bool highlight = false;  // Mark: highlight colour instead of the writing colour

    static HeartOp make(Kind kind, int y1 = 0, int y2 = 0) {
        HeartOp op;
        op.kind = kind;
        op.y1 = y1;
        op.y2 = y2;
        return op;
    }
};

// The isolated frog heart: its drug table, its state under the drugs given, and the
// recorder's counting. The model never waits and never draws: `tick()` is one recorder
// step of 100 ms, `inject()` one injection; both queue what is to be drawn (takeOps()).
class HeartModel {
public:
    HeartModel(HeartRunState& run, RandomSource& random);

    // The drug table for the current mode: every row in modes 1 to 3, rows 1 and 6 in
    // mode 4. Fills `druglist` (entry 0 the control) and, in modes 2 and 3, the names for
    // the answer list. False with a message when the table cannot be used.
    bool LoadDrugTable(QString* error, QStringList* answerNames);
    // Examinations 2 and 3: a copy of entry k with the dose 0.1 becomes the unknown, last.
    void appendUnknown(int k);
    // Examination 1: the next unknown among the drugs not handed out yet.
    int chooseExam1Unknown();

    // A heart at rest, as at every load of the screen.
    void startHeart();
    // The recorder from its first width (set-up and every clearing of the recording).
    void startRecorder(int paperWidth);

    enum class TickResult { Ticked, PaperFull };
    TickResult tick();
    // An injection of the drug at list position `position`, whose list text is `listText`.
    void inject(int position, const QString& listText);
    // The rest cycle.
    void EndDrugAction();

    std::vector<HeartOp> takeOps();

    // Lever geometry for the stroke ends: rest height and stroke in twips.
    static bool leverGeometry(int top, int bottom, int* rest, int* stroke);
    // The drug label and unit of an injection at list position `position`.
    QString unitFor(int position) const;
    QString drugLabelFor(int position) const;
    QString markKeyFor(int position) const;

    // Drug table.
    QVector<HeartDrugRec> druglist;  // 0: control; 1..drugCount; the unknown appended after
    int drugCount = 0;

    // Heart state.
    quint8 basalbase = 0;
    QString basalBox;  // the basal-rate box
    QString rateBox;   // the drug-rate box
    quint8 curdrug = 0;
    quint8 tracetop = 50, tracebottom = 80;
    quint8 jitter = 4;
    quint8 tickcount = 0;
    quint8 drugrate = 0, lastrate = 0;
    QString prevkey = QStringLiteral("Нет"), prevname = QStringLiteral("Нет");
    QString drugLabel = QStringLiteral("Нет");
    int restnormalflag = 1, interact = 0, kclbcacl = 0;
    quint8 blocked = 0;
    quint8 hrlevel = 14, tonelevel = 14;
    int leverrest = 4250, leverstroke = 500, lastneedle = 0;
    int leverInterval = 500;  // ms from one beat to the next, 0: no beat
    bool leverOn = true;      // the lever animation runs (off from an arrest's onset to its recovery)
    double gauge = 0;

    bool exam2LogFull = false;  // the last injection of examination 2 found its log full

    // Recorder.
    int paperWidth = 0, paperLeft = 0, paperWidth0 = 0;
    int scrolltick = 0, scrolllimit = 0, scrollunit = 0, scrollstep = 4, scrollPositions = 0;

private:
    void advance();
    void stroke(int y1, int y2) { m_ops.push_back(HeartOp::make(HeartOp::Stroke, y1, y2)); }
    void mark(int dx, int y, const QString& text, int size, bool bold, bool highlight);
    void leverMove(int from, int to) { m_ops.push_back(HeartOp::make(HeartOp::LeverMove, from, to)); }
    void leverRun(bool on) {
        leverOn = on;
        m_ops.push_back(HeartOp::make(HeartOp::LeverRun, on ? 1 : 0, leverInterval));
    }
    void hearts(bool contracted) { m_ops.push_back(HeartOp::make(HeartOp::Hearts, contracted ? 1 : 0)); }
    void calciumOnset();
    void potassiumOnset();
    void calciumRecovery();
    void potassiumRecovery();
    void arrestsDuringAction(const QString& key);
    void recordRate(int position);

    HeartRunState& m_run;
    RandomSource& m_random;
    std::vector<HeartOp> m_ops;
};
