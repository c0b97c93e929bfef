// Splash, experiment selection, instructions chooser and heart notice, driven through
// their controls.
#include <QPushButton>
#include <QtTest>

#include "clickable_label.h"
#include "controls.h"
#include "fakes.h"
#include "launcher_windows.h"

using namespace controls;

namespace {

struct MainProgram {
    TestContext t;
    MorvaneRunStates runs;
    MainProgram() { registerMorvaneWindows(t.ctx, runs); }
    ~MainProgram() {
        for (const char* name : {"Frm_morvane", "Frm_Selection", "Frm_instruct", "HeartMsg", "Frm_Oeso_main",
                                 "Frm_il_main", "Frm_Rab_main"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(name)));
        flushDeletes();
    }
    QWidget* open(const char* name) { return t.ctx.navigator.open(windowNamed(QString::fromLatin1(name))); }
    QWidget* find(const char* name) const { return t.ctx.navigator.find(windowNamed(QString::fromLatin1(name))); }
    int windowsNamed(const char* name) const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == QLatin1String(name) && w->isVisible();
        return n;
    }
};

}  // namespace

class TstLauncher : public QObject {
    Q_OBJECT
private slots:
    void splashTimerHandsOverAfter200Ticks() {
        MainProgram p;
        auto* splash = qobject_cast<Frm_morvane*>(p.open("Frm_morvane"));
        QVERIFY(splash);
        QVERIFY(!(splash->windowFlags() & Qt::WindowCloseButtonHint));
        auto* timer = splash->findChild<QTimer*>(QStringLiteral("Timer1"));
        QCOMPARE(timer->interval(), 20);
        QVERIFY(timer->isActive());
        for (int i = 0; i < 199; ++i) splash->Timer1_Timer();
        QVERIFY(!p.find("Frm_Selection"));
        splash->Timer1_Timer();
        QVERIFY(p.find("Frm_Selection"));
        QVERIFY(!timer->isActive());
        QVERIFY(!splash->isVisible());
    }

    void splashClickHandsOverOnce() {
        MainProgram p;
        auto* splash = qobject_cast<Frm_morvane*>(p.open("Frm_morvane"));
        for (int i = 0; i < 50; ++i) splash->Timer1_Timer();
        QTest::mouseClick(splash, Qt::LeftButton);
        QVERIFY(!splash->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QTest::mouseClick(splash, Qt::LeftButton);
        for (int i = 0; i < 200; ++i) splash->Timer1_Timer();  // a tick already queued changes nothing
        QCOMPARE(p.windowsNamed("Frm_Selection"), 1);
        QVERIFY(!splash->isVisible());
    }

    void selectionControls() {
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        // The program runs on Linux, and its title says so.
        QCOMPARE(sel->windowTitle(), QStringLiteral("Morvane T1.00R для Linux"));
        QCOMPARE(child<QLabel>(sel, "Label1")->text(), QStringLiteral("Morvane T1.00R\nдля Linux"));
        QVERIFY(sel->windowFlags() & Qt::WindowCloseButtonHint);  // the hub keeps its close box
        const struct {
            const char* name;
            QString tip;
        } tips[] = {{"Img_frog", QStringLiteral("Действие веществ на пищевод лягушки")},
                    {"Img_gpig", QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки")},
                    {"img_rabbit", QStringLiteral("Действие веществ на глаз кролика")},
                    {"Img_heart", QStringLiteral("Действие веществ на сердце лягушки")},
                    {"Label3", QStringLiteral("Кликните мышью картинку")}};
        for (const auto& t : tips) QCOMPARE(child<QWidget>(sel, t.name)->toolTip(), t.tip);
        QCOMPARE(child<QLabel>(sel, "Label3")->text(), QStringLiteral("Нажмите на картинку для запуска опыта"));
        QCOMPARE(child<QLabel>(sel, "Label4")->text(), QStringLiteral("MV"));
        QCOMPARE(p.t.ctx.helpOwner.data(), sel);
    }

    void helpTopics_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("topic");
        QTest::newRow("Введение") << "Cmd_intro" << 50;
        QTest::newRow("История") << "Cmd_history" << 60;
        QTest::newRow("О программе") << "Cmd_Soft" << 70;
        QTest::newRow("Благодарности") << "Cmd_ack" << 80;
    }
    void helpTopics() {
        QFETCH(QString, button);
        QFETCH(int, topic);
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        click(sel, qPrintable(button));
        QCOMPARE(p.t.help.calls.size(), 1);
        QCOMPARE(p.t.help.calls[0].what, QStringLiteral("topic"));
        QCOMPARE(p.t.help.calls[0].file, QStringLiteral("morvane"));
        QCOMPARE(p.t.help.calls[0].topic, topic);
        QCOMPARE(p.t.help.calls[0].owner, sel);
        QVERIFY(sel->isVisible());
    }

    // The heart picture starts the heart program (looked for beside this program, then on
    // the PATH); the notice comes only when it cannot, and says why.
    void heartPictureStartsTheHeartProgram_data() {
        QTest::addColumn<bool>("onPath");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("notice");
        QTest::newRow("found and started") << true << true << true << QString();
        QTest::newRow("nowhere") << false << false << true << "нет ни в папке этой программы";
        QTest::newRow("not a program") << true << false << true << "нет ни в папке этой программы";
        QTest::newRow("found, does not start") << true << true << false << "но не запускается";
    }
    void heartPictureStartsTheHeartProgram() {
        QFETCH(bool, onPath);
        QFETCH(bool, executable);
        QFETCH(bool, starts);
        QFETCH(QString, notice);
        QTemporaryDir bin;
        const QString program = bin.filePath(QStringLiteral("morvane-heart"));
        if (onPath) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner);
        }
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });

        MainProgram p;
        p.t.desktop.startSucceeds = starts;
        QWidget* sel = p.open("Frm_Selection");
        QTest::mouseClick(child<ClickableLabel>(sel, "Img_heart"), Qt::LeftButton);
        QCOMPARE(p.t.desktop.started, executable ? QStringList{program} : QStringList{});
        QVERIFY(sel->isVisible());
        QWidget* shown = p.find("HeartMsg");
        QCOMPARE(bool(shown), !notice.isEmpty());
        if (!shown) return;
        const QString text = child<QLabel>(shown, "Label1")->text();
        QVERIFY2(text.contains(notice) && text.contains(executable ? program : QStringLiteral("morvane-heart")),
                 qPrintable(text));
        click(shown, "OK");
        QVERIFY(!p.find("HeartMsg"));
        QVERIFY(sel->isVisible());
        QVERIFY(p.t.desktop.quits.isEmpty());
    }

    void picturesOpenHomeScreens_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("homeOwnsHelp");
        QTest::newRow("frog") << "Img_frog"
                              << "Frm_Oeso_main" << true;
        QTest::newRow("guinea pig") << "Img_gpig"
                                    << "Frm_il_main" << false;
        QTest::newRow("rabbit") << "img_rabbit"
                                << "Frm_Rab_main" << false;
    }
    void picturesOpenHomeScreens() {
        QFETCH(QString, picture);
        QFETCH(QString, home);
        QFETCH(bool, homeOwnsHelp);
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        QTest::mouseClick(child<ClickableLabel>(sel, qPrintable(picture)), Qt::LeftButton);
        QVERIFY(p.find(qPrintable(home)));
        QVERIFY(!p.find("Frm_Selection"));
        // The selection closes the help of the current help owner: its own, unless the home
        // screen, shown first, has already taken the help over.
        QCOMPARE(p.t.help.calls.first().what, QStringLiteral("quit"));
        QCOMPARE(p.t.help.calls.first().owner, homeOwnsHelp ? p.find(qPrintable(home)) : sel);
        flushDeletes();
        // The home screen's "Выход" brings a new selection window, which owns the help again.
        click(p.find(qPrintable(home)), "Cmd_quit");
        QWidget* again = p.find("Frm_Selection");
        QVERIFY(again && again->isVisible());
        QCOMPARE(p.t.ctx.helpOwner.data(), again);
    }

    void instructionsChooser() {
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        click(sel, "Cmd_Instruct");
        QWidget* chooser = p.find("Frm_instruct");
        QVERIFY(chooser && chooser->isVisible());
        QCOMPARE(chooser->windowTitle(), sel->windowTitle());
        QVERIFY(!sel->isVisible());
        QCOMPARE(p.find("Frm_Selection"), sel);  // only hidden

        const struct {
            const char* button;
            const char* file;
            QString tip;
        } rows[] = {{"Cmd_frog", "oesopha.hlp", QStringLiteral("Effect of drugs on the frog oesophagus")},
                    {"Cmd_ileum", "ileum.hlp", QStringLiteral("Bioassay of histamine on the guinea-pig ileum")},
                    {"Cmd_rabbit", "rabbit.hlp", QStringLiteral("Effects of drugs on the rabbit eye")},
                    {"Cmd_heart", "heart.hlp", QStringLiteral("Effects of drugs on the frog heart")}};
        for (const auto& r : rows) {
            QCOMPARE(child<QWidget>(chooser, r.button)->toolTip(), r.tip);
            click(chooser, r.button);
            QCOMPARE(p.t.help.calls.last().what, QStringLiteral("contents"));
            QCOMPARE(p.t.help.calls.last().file, QString::fromLatin1(r.file));
        }
        QVERIFY(!p.find("HeartMsg"));

        click(chooser, "Command5");
        QVERIFY(!p.find("Frm_instruct"));
        QCOMPARE(p.find("Frm_Selection"), sel);  // the same window comes back
        QVERIFY(sel->isVisible());
    }

    void closingTheChooserAnyWayBringsSelectionBack() {
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        click(sel, "Cmd_Instruct");
        p.find("Frm_instruct")->close();  // e.g. from its title bar
        QVERIFY(sel->isVisible());
    }

    void quitEndsTheProgram() {
        MainProgram p;
        QWidget* sel = p.open("Frm_Selection");
        click(sel, "Cmd_quit");
        QVERIFY(!sel->isVisible());
        QCOMPARE(p.t.desktop.quits, QVector<int>{0});
    }
};

QTEST_MAIN(TstLauncher)
#include "tst_launcher.moc"
