#include "program_main.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSet>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "data_files.h"
#include "help.h"
#include "journal.h"
#include "pictures.h"
#include "program_context.h"
#include "qt_seams.h"
#include "state_dump.h"

namespace {

class WindowTrace : public QObject {
public:
    explicit WindowTrace(QString last) : m_last(std::move(last)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
            !m_seen.contains(watched->objectName())) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("%lld painted %s\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                        qPrintable(watched->objectName()));
            std::fflush(stdout);
            m_seen.insert(watched->objectName());
            if (watched->objectName() == m_last) QCoreApplication::exit(0);
        }
        return false;
    }

private:
    QString m_last;
    QSet<QString> m_seen;
};

}  // namespace

QTranslator* installQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

int runProgram(int argc, char** argv, const ProgramSetup& setup) {
    // The journal check is a terminal command: it needs no window and no display.
    if (argc >= 2 && std::strcmp(argv[1], "--check-journal") == 0) {
        QCoreApplication app(argc, argv);
        return journal::checkCommand(QCoreApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    installQtTranslations();
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);

    QtMessageBoxes messages;
    QtDesktop desktop;
    HelpWindows help(messages);
    QtFileChooser files;
    DefaultPrinter printer(messages, files);
    Mt19937Random random;
    random.reseedFromClock();
    ProgramContext ctx(setup.title, random, messages, help, desktop, printer, files);

    QString error;
    if (!data_files::enterDataFolder(&error)) {
        ctx.fail(error);
        return 1;
    }
    // Every required file is there and every picture among them can be shown, or one
    // message names all that are not.
    QStringList faults;
    if (const QStringList missing = data_files::missing(setup.required); !missing.isEmpty())
        faults << QStringLiteral("В папке программы нет нужных файлов:\n%1").arg(missing.join(u'\n'));
    if (const QStringList broken = brokenPictures(setup.required); !broken.isEmpty())
        faults
            << QStringLiteral("В папке программы испорчены рисунки (файлы не читаются):\n%1").arg(broken.join(u'\n'));
    if (!faults.isEmpty()) {
        ctx.fail(faults.join(QStringLiteral("\n\n")));
        return 1;
    }
    QApplication::setWindowIcon(QIcon(data_files::find(setup.icon)));

    std::unique_ptr<WindowTrace> trace;
    if (qEnvironmentVariableIsSet("MORVANE_TRACE_WINDOWS")) {
        trace = std::make_unique<WindowTrace>(qEnvironmentVariable("MORVANE_TRACE_WINDOWS"));
        app.installEventFilter(trace.get());
    }

    if (qEnvironmentVariableIsSet("MORVANE_STATE_DUMP")) startStateDump(qEnvironmentVariable("MORVANE_STATE_DUMP"));

    setup.registerWindows(ctx);
    ctx.navigator.open(setup.firstWindow);
    const int status = desktop.exitStatus(QApplication::exec());
    desktop.setTaskSwitchLock(false);
    // Windows still open at the end go before the context they refer to.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parent()) windows << w;
    for (const QPointer<QWidget>& w : windows) delete w.data();
    return status;
}
