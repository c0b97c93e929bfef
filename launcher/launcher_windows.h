#pragma once

#include <QStringList>

#include <QWidget>

#include "ileum_run_state.h"
#include "oeso_run_state.h"
#include "rabbit_run_state.h"
#include "window_names.h"

class ProgramContext;
class QLabel;
class QTimer;

// The run state of the main program's experiments, living as long as the program.
struct MorvaneRunStates {
    OesoRunState oeso;
    IleumRunState ileum;
    RabbitRunState rabbit;
};

// Registers every window of the main program with its navigator.
void registerMorvaneWindows(ProgramContext& ctx, MorvaneRunStates& runs);

// Splash window: the suite's title artwork for 200 ticks of 20 ms, or until a click.
class Frm_morvane : public QWidget {
    Q_OBJECT
public:
    explicit Frm_morvane(ProgramContext& ctx);
    void Timer1_Timer();
    qint16 ticks() const { return m_ticks; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void handOver();

    ProgramContext& m_ctx;
    QTimer* m_timer;
    qint16 m_ticks = 0;
    bool m_done = false;
};

// Experiment selection: the hub every experiment returns to.
class Frm_Selection : public QWidget {
    Q_OBJECT
public:
    explicit Frm_Selection(ProgramContext& ctx);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openExperiment(WindowName home);
    void showTopic(int topic);

    ProgramContext& m_ctx;
};

// Instructions chooser: opens an experiment's help file at its contents (the heart
// program's too: its help file lies in the shared data folder).
class Frm_instruct : public QWidget {
    Q_OBJECT
public:
    explicit Frm_instruct(ProgramContext& ctx);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ProgramContext& m_ctx;
};

// Notice that the frog-heart experiment, a program of its own, cannot be started: where it
// was looked for, or where it was found.
class HeartMsg : public QWidget {
    Q_OBJECT
public:
    explicit HeartMsg(ProgramContext& ctx);
};
// The data files without which these windows cannot be shown, checked before the program starts.
QStringList launcherDataFiles();
