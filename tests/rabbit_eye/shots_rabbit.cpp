// Pictures of the rabbit-eye windows in each of their states, for a person to look at:
//   shots_rabbit [folder]      (default /tmp/rabbit_shots)
// Not a test: it asserts nothing. Runs on the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

#include "controls.h"
#include "data_files.h"
#include "exam_journal.h"
#include "experiment_home.h"
#include "fakes.h"
#include "frm_rab_table.h"
#include "frm_rabbit.h"
#include "help.h"
#include "rabbit_run_state.h"
#include "rabbit_windows.h"
#include "shots.h"

using namespace shots;

namespace {

// Runs an eye's instillation clock to its end.
void finish(Frm_Rabbit* s, EyeSide side) {
    for (int i = 0; i < 3; ++i) side == EyeSide::Left ? s->Timer_L_Instill_Timer() : s->Timer_R_Instill_Timer();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!shots::start(argc, argv, QStringLiteral("/tmp/rabbit_shots"))) return 1;

    TestContext t;
    RabbitRunState run;
    registerRabbitWindows(t.ctx, run);
    t.ctx.navigator.add(LauncherWindows::Frm_Selection, [] { return new QWidget; });
    Navigator& nav = t.ctx.navigator;
    for (int i = 0; i < 4000; ++i) t.random.values.push_back(((i * 37) % 100) / 100.0);

    // Tutorial.
    auto* home = qobject_cast<ExperimentHome*>(nav.open(RabbitWindows::Frm_Rab_main));
    home->Timer1_Timer();
    click(home, "Cmd_Tut");
    auto* s = qobject_cast<Frm_Rabbit*>(nav.find(RabbitWindows::Frm_Rabbit));
    shoot(s, QStringLiteral("tutorial_start"));
    click(s, "Cmd_Instill");
    shoot(s, QStringLiteral("tutorial_eye_choice"));
    click(s, "Cmd_LEye");  // Атропин into the left eye
    shoot(s, QStringLiteral("tutorial_dropper"));
    finish(s, EyeSide::Left);
    auto* combo = s->findChild<QComboBox*>(QStringLiteral("Combo_Drug"));
    combo->setCurrentIndex(6);  // Пилокарпин
    click(s, "Cmd_Instill");
    click(s, "Cmd_Reye");
    finish(s, EyeSide::Right);
    shoot(s, QStringLiteral("tutorial_atropine_pilocarpine"));
    s->Image_Torche_Click();
    s->Image_REye_DragOver(Frm_Rabbit::Entering);
    s->Image_LEye_DragOver(Frm_Rabbit::Entering);
    shoot(s, QStringLiteral("tutorial_torch"));
    s->endToolDrag();
    s->Image_Cotton_Click();
    s->Image_LEye_DragOver(Frm_Rabbit::Entering);
    s->Image_REye_DragOver(Frm_Rabbit::Entering);
    shoot(s, QStringLiteral("tutorial_cotton_blink"));
    s->endToolDrag();
    s->Timer_LEye_Timer();
    s->Timer_REye_Timer();
    s->Pic_LEye_DragOver(s->findChild<QWidget*>(QStringLiteral("Picture_ScaleL")), 1500, 1000, Frm_Rabbit::Over);
    s->Pic_Reye_DragOver(s->findChild<QWidget*>(QStringLiteral("Picture_Scale_R")), 900, 1000, Frm_Rabbit::Over);
    shoot(s, QStringLiteral("tutorial_rulers"));
    combo->setCurrentIndex(4);  // Кокаин
    click(s, "Cmd_New");
    s->Timer_LEye_Timer();
    s->Timer_REye_Timer();
    click(s, "Cmd_Instill");
    click(s, "Cmd_LEye");
    finish(s, EyeSide::Left);
    combo->setCurrentIndex(3);  // Адреналин
    click(s, "Cmd_Instill");
    click(s, "Cmd_Reye");
    finish(s, EyeSide::Right);
    shoot(s, QStringLiteral("tutorial_cocaine_adrenaline"));
    click(s, "Cmd_Table");
    shoot(nav.find(RabbitWindows::Frm_Rab_Table), QStringLiteral("table_sample"));
    click(nav.find(RabbitWindows::Frm_Rab_Table), "Cmd_End");
    click(s, "Cmd_Next");
    shoot(nav.find(RabbitWindows::Frm_Rab_Table), QStringLiteral("table_questions"));
    click(nav.find(RabbitWindows::Frm_Rab_Table), "Cmd_ok");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Examination.
    home = qobject_cast<ExperimentHome*>(nav.find(RabbitWindows::Frm_Rab_main));
    click(home, "cmd_exam");
    QTest::keyClicks(home->findChild<QLineEdit*>(QStringLiteral("Txt_PassW")), QStringLiteral("secret"));
    click(home, "Cmd_ok");
    controls::nameStudent(home);
    s = qobject_cast<Frm_Rabbit*>(nav.find(RabbitWindows::Frm_Rabbit));
    shoot(s, QStringLiteral("exam1_start"));
    click(s, "Cmd_Instill");
    click(s, "Cmd_LEye");
    click(s, "Cmd_Saline");
    click(s, "Cmd_Reye");
    finish(s, EyeSide::Left);
    finish(s, EyeSide::Right);
    auto* list = s->findChild<QListWidget*>(QStringLiteral("Lst_Exam"));
    list->setCurrentRow(1);
    shoot(s, QStringLiteral("exam1_tested"));
    t.messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes};  // identify twice, then go on
    click(s, "Cmd_Dr_Id");
    click(s, "Cmd_Dr_Id");
    click(s, "Cmd_Next");
    s->Timer_LEye_Timer();
    s->Timer_REye_Timer();
    click(s, "Cmd_Instill");
    click(s, "Cmd_Reye");
    finish(s, EyeSide::Right);
    list->setCurrentRow(0);
    shoot(s, QStringLiteral("exam2"));
    t.messages.answers = {MsgAnswer::Yes};
    click(s, "Cmd_Dr_Id");
    auto* table = nav.find(RabbitWindows::Frm_Rab_Table);
    shoot(table, QStringLiteral("exam_gate"));
    QTest::keyClicks(table->findChild<QLineEdit*>(QStringLiteral("Txt_PassW")), QStringLiteral("SECRET"));
    click(table, "Cmd_pass");
    shoot(table, QStringLiteral("exam_results"));
    shoot(examResultsWindow(), QStringLiteral("exam_marks"));

    HelpWindow help(data_files::find(QStringLiteral("rabbit.hlp")));
    help.resize(760, 540);
    help.showContents();
    shoot(&help, QStringLiteral("help_contents"));
    return 0;
}
