// Pictures of the frog oesophagus windows in each of their states, for a person to look at:
//   shots_oeso [folder]      (default /tmp/oeso_shots; run with QT_QPA_PLATFORM=offscreen)
// Not a test: it asserts nothing.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>

#include "controls.h"
#include "data_files.h"
#include "exam_journal.h"
#include "experiment_home.h"
#include "fakes.h"
#include "frm_oesophagus.h"
#include "help.h"
#include "oeso_results.h"
#include "oeso_run_state.h"
#include "oeso_windows.h"
#include "shots.h"

using namespace shots;

namespace {}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!shots::start(argc, argv, QStringLiteral("/tmp/oeso_shots"))) return 1;

    TestContext t;
    OesoRunState run;
    registerOesophagusWindows(t.ctx, run);
    t.ctx.navigator.add(LauncherWindows::Frm_Selection, [] { return new QWidget; });
    Navigator& nav = t.ctx.navigator;

    // Tutorial: the screen as it opens, with the dropper, during a run, at the end.
    t.random.values = {0.5, 0.5, 0.0, 0.5};
    auto* home = qobject_cast<ExperimentHome*>(nav.open(OesoWindows::Frm_Oeso_main));
    home->Timer1_Timer();
    click(home, "Cmd_Tut");
    auto* s = qobject_cast<Frm_Oesophagus*>(nav.find(OesoWindows::Frm_Oesophagus));
    shoot(s, QStringLiteral("oeso_1_tutorial_open"));
    auto* combo = s->findChild<QComboBox*>(QStringLiteral("Combo_Drug"));
    for (int i : {1, 3, 1, 2}) {
        combo->setCurrentIndex(i);
        click(s, "Cmd_Instill");
    }
    shoot(s, QStringLiteral("oeso_2_tutorial_instilled"));
    s->filler_timer_Timer();
    s->Img_Seeds_MouseDown();
    s->Img_Seed_Drop_DragDrop();
    click(s, "Cmd_StartClock");
    for (int i = 0; i < 80; ++i) s->Timer_Oeso_Timer();
    for (int i = 0; i < 17; ++i) s->Timer_Clock_Timer();
    shoot(s, QStringLiteral("oeso_3_tutorial_running"));
    click(s, "Cmd_StartClock");
    while (s->model().Running()) s->Timer_Oeso_Timer();
    shoot(s, QStringLiteral("oeso_4_tutorial_arrived"));

    click(s, "Cmd_Table");
    shoot(nav.find(OesoWindows::Frm_Oeso_Table), QStringLiteral("oeso_5_sample_table"));
    click(nav.find(OesoWindows::Frm_Oeso_Table), "Cmd_End");
    click(s, "Cmd_Next");
    shoot(nav.find(OesoWindows::Frm_Oeso_Quest), QStringLiteral("oeso_6_questions"));
    click(nav.find(OesoWindows::Frm_Oeso_Quest), "Cmd_Done1");
    flushDeletes();

    // Examination: the screen, during a run, the gate, the results.
    home = qobject_cast<ExperimentHome*>(nav.find(OesoWindows::Frm_Oeso_main));
    click(home, "cmd_exam");
    home->findChild<QLineEdit*>(QStringLiteral("Txt_PassW"))->setText(QStringLiteral("secret"));
    click(home, "Cmd_ok");
    controls::nameStudent(home);
    s = qobject_cast<Frm_Oesophagus*>(nav.find(OesoWindows::Frm_Oesophagus));
    shoot(s, QStringLiteral("oeso_7_exam_open"));
    auto* answers = s->findChild<QListWidget*>(QStringLiteral("Lst_UnknownDrug"));
    t.messages.answers = std::deque<MsgAnswer>(6, MsgAnswer::Yes);  // each identification confirmed
    for (int unknown = 0; unknown < 6; ++unknown) {
        for (const char* give : {"Cmd_Ringer", "Cmd_Exam_Unknow"}) {
            click(s, give);
            for (int run3 = 0; run3 < 3; ++run3) {
                s->Img_Seed_Drop_DragDrop();
                for (int sec = 0; sec < 30 + 3 * unknown + run3; ++sec) s->Timer_Monitor_Clock_Timer();
                if (unknown == 1 && run3 == 1 && give[4] == 'E') {
                    for (int i = 0; i < 60; ++i) s->Timer_Oeso_Timer();
                    shoot(s, QStringLiteral("oeso_8_exam_running"));
                }
                while (s->model().Running()) s->Timer_Oeso_Timer();
            }
        }
        answers->setCurrentRow((unknown * 2) % answers->count());
        click(s, "Cmd_DrgIdentified");
    }
    QWidget* table = nav.find(OesoWindows::Frm_Oeso_Table);
    shoot(table, QStringLiteral("oeso_9_exam_gate"));
    table->findChild<QLineEdit*>(QStringLiteral("Txt_PassW"))->setText(QStringLiteral(" Secret"));
    click(table, "Cmd_ok");
    shoot(table, QStringLiteral("oeso_10_exam_results"));
    shoot(examResultsWindow(), QStringLiteral("oeso_10_exam_marks"));
    click(table, "Cmd_End");
    flushDeletes();

    // The instructions, at their contents and further down.
    HelpWindow help(data_files::find(QStringLiteral("oesopha.hlp")));
    help.showContents();
    help.show();
    shoot(&help, QStringLiteral("oeso_11_help_contents"));
    help.browser()->scrollToAnchor(QStringLiteral("interactions"));
    shoot(&help, QStringLiteral("oeso_12_help_interactions"));
    return 0;
}
