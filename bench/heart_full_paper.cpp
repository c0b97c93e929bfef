// Memory of the heart program with its paper at the full 16383 px, without waiting the
// 27 minutes the recorder takes to fill it: the heart program as it starts (its real
// seams, windows and start-up), with a driver that opens the tutorial from the home screen
// and calls the recording screen's own 100 ms tick handler back to back instead of on its
// timer, letting the screen repaint after every tick. The program's start is its home
// screen shown; prints the resident memory there and with the paper full.
//   bench_heart_full_paper   (on any Qt platform; run_cpu_memory.sh runs it on X)
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "frm_heart.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "program_context.h"
#include "program_main.h"

namespace {

// A "Vm...:" line of /proc/self/status, in MiB.
double statusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

QWidget* topLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(name)) return w;
    return nullptr;
}

// Lets the event loop run (paints, the lever's frames) for a while.
void runEvents(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void drive() {
    QWidget* home = topLevel("Frm_Heart_Main");
    if (!home) {
        std::printf("the heart home screen did not open\n");
        QCoreApplication::exit(1);
        return;
    }
    const double atStart = statusMiB("VmRSS:");
    home->findChild<QAbstractButton*>(QStringLiteral("Cmd_Tutorial"))->click();
    auto* screen = static_cast<Frm_Heart*>(topLevel("Frm_Heart"));
    auto* timer = screen ? screen->findChild<QTimer*>(QStringLiteral("Timer_Heart")) : nullptr;
    if (!timer) {
        std::printf("the recording screen did not open\n");
        QCoreApplication::exit(1);
        return;
    }
    runEvents(500);
    const double atRecording = statusMiB("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    // The tick restarts the recorder's timer: it is stopped again, so that only these ticks
    // move the paper and the tick after the full paper (its "memory full" question) never comes.
    while (screen->model().paper().width() < PaperScroll::maxWidth) {
        screen->RecorderTick();
        timer->stop();
        QApplication::processEvents();
    }
    const qint64 ms = clock.elapsed();
    runEvents(1000);
    const double full = statusMiB("VmRSS:");
    std::printf(
        "heart paper full (16383 px, %lld ms of back-to-back ticks): RSS at start %.1f MB, "
        "recording screen open %.1f MB, paper full %.1f MB (+%.1f MB above start), peak %.1f MB\n",
        static_cast<long long>(ms), atStart, atRecording, full, full - atStart, statusMiB("VmHWM:"));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    HeartRunState run;
    ProgramSetup setup;
    setup.title = QStringLiteral("Morvane - Сердце 1.00R");
    setup.icon = QStringLiteral("icon_heart.png");
    setup.firstWindow = HeartWindows::Frm_Heart_Main;
    setup.registerWindows = [&run](ProgramContext& ctx) {
        registerHeartWindows(ctx, run);
        // The home screen is shown and painted well before this.
        QTimer::singleShot(3000, qApp, drive);
    };
    return runProgram(argc, argv, setup);
}
