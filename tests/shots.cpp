// Takes a picture of every window in each of its states, for a person to look at:
//   shots <folder>
// Not a test: it asserts nothing. Runs on any platform plugin (offscreen is enough).
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>

#include "data_files.h"
#include "experiment_home.h"
#include "fakes.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "help.h"
#include "launcher_windows.h"

namespace {

QString folder;

void shoot(QWidget* w, const QString& name) {
    w->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

void click(QWidget* w, const QString& name) { w->findChild<QPushButton*>(name)->click(); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(folder);
    folder = QDir(folder).absolutePath();
    QString error;
    if (!data_files::enterDataFolder(&error)) {
        qWarning("%s", qPrintable(error));
        return 1;
    }

    TestContext t;
    MorvaneRunStates runs;
    HeartRunState heart;
    registerMorvaneWindows(t.ctx, runs);
    registerHeartWindows(t.ctx, heart);
    Navigator& nav = t.ctx.navigator;

    shoot(nav.open(QStringLiteral("Frm_morvane")), QStringLiteral("splash"));
    shoot(nav.open(QStringLiteral("Frm_Selection")), QStringLiteral("selection"));
    shoot(nav.open(QStringLiteral("Frm_instruct")), QStringLiteral("instruct"));
    shoot(nav.open(QStringLiteral("HeartMsg")), QStringLiteral("heartmsg"));

    for (const char* name : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Heart_Main"}) {
        auto* home = qobject_cast<ExperimentHome*>(nav.open(QString::fromLatin1(name)));
        shoot(home, QStringLiteral("%1_panel").arg(QLatin1String(name)));
        home->Timer1_Timer();
        shoot(home, QStringLiteral("%1_modes").arg(QLatin1String(name)));
        click(home, home->member().examName);
        shoot(home, QStringLiteral("%1_password").arg(QLatin1String(name)));
        click(home, home->member().tutName);
        shoot(nav.find(home->member().experimentWindow), QStringLiteral("%1_placeholder").arg(QLatin1String(name)));
    }

    RecordingMessages messages;
    HelpWindows help(messages);
    help.showTopic(nullptr, QStringLiteral("morvane"), 60);
    shoot(help.window(QStringLiteral("morvane")), QStringLiteral("help_topic60"));
    return 0;
}
