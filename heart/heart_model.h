#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

#include "heart_drugs.h"
#include "paper_scroll.h"

class RandomSource;
class HeartRunState;

// One thing the screen has to draw or change, in the order the heart produced them.
struct HeartOp {
    enum Kind {
        Advance,     // the paper moves one pixel: left − 1, width + 1
        Stroke,      // a vertical stroke at the pen (x = paper width − 10) from y1 to y2
        Mark,        // text at (x, y) in the given font and colour
        LeverMove,   // lever drawn (inverting) at y1, then at y2; 0 means no drawing
        Hearts,      // the contracted heart shown (on) or the relaxed one
        LeverRun,    // lever animation on (on) or off, with the interval in y2 ms (0: no beat)
        Indicators,  // both indicator graphs redrawn (hrlevel, tonelevel)
        RestCycle,   // the screen's part of the rest cycle: buttons, labels, hint
    };
    Kind kind = Advance;
    int y1 = 0, y2 = 0;
    int x = 0;               // Mark
    QString text;            // Mark
    int pointSize = 8;       // Mark
    bool bold = false;       // Mark
    bool highlight = false;  // Mark: highlight colour instead of the writing colour
    bool on = false;         // Hearts: the contracted heart; LeverRun: the animation runs

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
// The examination records it keeps go into the run state.
class HeartModel {
public:
    HeartModel(HeartRunState& run, RandomSource& random);

    // The screen's first load in a stage: the drug table read from "F_Heart.mdb", then
    // setUpStage(). False with a message when the table cannot be read or used.
    bool LoadDrugTable(QString* error);
    // The stage set up on the table's rows: the drug list (entry 0 the control; every row
    // in the tutorial and examinations 1 and 2, adrenaline and acetylcholine in
    // examination 3), the examination's unknown and the first heart. False with a message
    // when the table is not the eight drugs the examinations stand on.
    bool setUpStage(const QVector<HeartDrugRec>& rows, QString* error);
    // Examination 1: the next unknown among the drugs not handed out yet.
    int chooseExam1Unknown();

    // A heart at rest, as at every load of the screen.
    void startHeart();

    enum class TickResult { Ticked, PaperFull };
    TickResult tick();
    // An injection of the drug at list position `position`.
    void inject(int position);
    // The rest cycle.
    void EndDrugAction();
    // "Предыдущее вещество" starts again from none.
    void forgetPreviousDrug() { m_prevname = noDrug(); }
    // Where the beating lever leaves the resting lever drawn (twips, 0: not drawn).
    void leverDrawnAt(int y) { m_lastneedle = y; }

    std::vector<HeartOp> takeOps();

    // Lever geometry for the stroke ends: rest height and stroke in twips.
    static bool leverGeometry(int top, int bottom, int* rest, int* stroke);
    // The drug label and unit of an injection at list position `position`.
    QString unitFor(int position) const;
    QString drugLabelFor(int position) const;
    QString markKeyFor(int position) const;

    // Drug table.
    const QVector<HeartDrugRec>& druglist() const { return m_druglist; }  // 0: control; 1..drugCount; the unknown after
    int drugCount() const { return m_drugCount; }

    // Heart state.
    quint8 basalbase() const { return m_basalbase; }
    const QString& basalBox() const { return m_basalBox; }  // the basal-rate box
    const QString& rateBox() const { return m_rateBox; }    // the drug-rate box
    quint8 curdrug() const { return m_curdrug; }
    quint8 tracetop() const { return m_tracetop; }
    quint8 tracebottom() const { return m_tracebottom; }
    quint8 jitter() const { return m_jitter; }
    quint8 drugrate() const { return m_drugrate; }
    quint8 lastrate() const { return m_lastrate; }
    const QString& prevkey() const { return m_prevkey; }
    const QString& prevname() const { return m_prevname; }
    const QString& drugLabel() const { return m_drugLabel; }
    bool restnormalflag() const { return m_restnormalflag; }  // no drug acting
    bool interact() const { return m_interact; }              // the last drug was given during another's action
    bool kclbcacl() const { return m_kclbcacl; }              // calcium given during potassium's arrest
    bool blocked() const { return m_blocked; }                // the last drug met its antagonist
    quint8 hrlevel() const { return m_hrlevel; }
    quint8 tonelevel() const { return m_tonelevel; }
    int leverrest() const { return m_leverrest; }
    int leverstroke() const { return m_leverstroke; }
    int lastneedle() const { return m_lastneedle; }
    int leverInterval() const { return m_leverInterval; }  // ms from one beat to the next, 0: no beat
    bool leverOn() const { return m_leverOn; }  // the lever animation runs (off from an arrest's onset to its recovery)
    double gauge() const { return m_gauge; }
    bool exam2LogFull() const { return m_exam2LogFull; }  // the last injection of examination 2 found its log full

    // Recorder: the paper's growth and the scroll range, counted as for every kymograph.
    void startRecorder(int paperWidth);  // from its first width (set-up and every clearing of the recording)
    const PaperScroll& paper() const { return m_paper; }

private:
    PaperScroll m_paper;
    static QString noDrug() { return QStringLiteral("Нет"); }
    void advance();
    void stroke(int y1, int y2) { m_ops.push_back(HeartOp::make(HeartOp::Stroke, y1, y2)); }
    void mark(int dx, int y, const QString& text, int size, bool bold, bool highlight);
    void leverMove(int from, int to) { m_ops.push_back(HeartOp::make(HeartOp::LeverMove, from, to)); }
    void leverRun(bool on) {
        m_leverOn = on;
        HeartOp op = HeartOp::make(HeartOp::LeverRun, 0, m_leverInterval);
        op.on = on;
        m_ops.push_back(op);
    }
    void hearts(bool contracted) {
        HeartOp op = HeartOp::make(HeartOp::Hearts);
        op.on = contracted;
        m_ops.push_back(op);
    }
    void appendUnknown(int k);
    void calciumOnset();
    void potassiumOnset();
    void calciumRecovery();
    void potassiumRecovery();
    void arrestsDuringAction(const QString& key);
    void recordRate(int position);

    HeartRunState& m_run;
    RandomSource& m_random;
    std::vector<HeartOp> m_ops;

    QVector<HeartDrugRec> m_druglist;
    int m_drugCount = 0;

    quint8 m_basalbase = 0;
    QString m_basalBox;
    QString m_rateBox;
    quint8 m_curdrug = 0;
    quint8 m_tracetop = 50, m_tracebottom = 80;
    quint8 m_jitter = 4;
    quint8 m_tickcount = 0;
    quint8 m_drugrate = 0, m_lastrate = 0;
    QString m_prevkey = noDrug(), m_prevname = noDrug();
    QString m_drugLabel = noDrug();
    bool m_restnormalflag = true, m_interact = false, m_kclbcacl = false;
    bool m_blocked = false;
    quint8 m_hrlevel = 14, m_tonelevel = 14;
    int m_leverrest = 4250, m_leverstroke = 500, m_lastneedle = 0;
    int m_leverInterval = 500;
    bool m_leverOn = true;
    double m_gauge = 0;
    bool m_exam2LogFull = false;
};
