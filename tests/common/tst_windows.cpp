// Window helpers, input filters, the navigator and the help viewer.
#include <QtTest/qtestspontaneevent.h>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include "fakes.h"
#include "help.h"
#include "input_filters.h"
#include "pictures.h"
#include "program_main.h"
#include "real_input.h"
#include "window_helpers.h"

namespace {

class KeyCountingWindow : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

}  // namespace

class TstWindows : public QObject {
    Q_OBJECT
private slots:
    void centerPosition_data() {
        QTest::addColumn<QSizeF>("screen");
        QTest::addColumn<QSizeF>("window");
        QTest::addColumn<QPoint>("pos");
        QTest::newRow("even difference") << QSizeF(12000, 9000) << QSizeF(9000, 6000) << QPoint(1500, 1500);
        QTest::newRow("odd difference truncates") << QSizeF(12000, 9000) << QSizeF(9015, 6001) << QPoint(1492, 1499);
        QTest::newRow("larger than the screen") << QSizeF(12000, 9000) << QSizeF(15000, 9003) << QPoint(-1500, -1);
        QTest::newRow("half rounds to even, down") << QSizeF(100.5, 50) << QSizeF(0, 0) << QPoint(50, 25);
        QTest::newRow("half rounds to even, up") << QSizeF(101.5, 50) << QSizeF(0, 0) << QPoint(51, 25);
        QTest::newRow("negative odd truncates toward zero") << QSizeF(10, 10) << QSizeF(13, 15) << QPoint(-1, -2);
    }
    void centerPosition() {
        QFETCH(QSizeF, screen);
        QFETCH(QSizeF, window);
        QFETCH(QPoint, pos);
        QCOMPARE(::centerPosition(screen, window), pos);
    }

    void centerFormUsesTheProgramScreen() {
        TestContext t;
        t.desktop.screen = QSize(12000, 9000);  // 800 x 600 pixels
        QWidget w;
        w.resize(400, 301);
        CenterForm(t.ctx, &w);
        QCOMPARE(w.pos(), QPoint(200, 149));  // the odd pixel goes below
        w.resize(1000, 700);
        CenterForm(t.ctx, &w);
        QCOMPARE(w.pos(), QPoint(-100, -50));
    }

    void removeSysMenuItems() {
        QWidget w;
        RemoveSysMenuItems(&w);
        const Qt::WindowFlags f = w.windowFlags();
        QVERIFY(!(f & Qt::WindowCloseButtonHint));
        QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
        QVERIFY(f & Qt::WindowMinimizeButtonHint);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCloseEvent fromWindowManager;  // Alt+F4 or the title bar: a spontaneous close
        QSpontaneKeyEvent::setSpontaneous(&fromWindowManager);
        qApp->notify(&w, &fromWindowManager);  // sendEvent would clear the spontaneous mark
        QVERIFY(!fromWindowManager.isAccepted());
        QVERIFY(w.isVisible());
        QVERIFY(w.close());  // the program's own close still works
        QVERIFY(!w.isVisible());
    }

    void setTopMost() {
        QWidget w;
        w.move(40, 30);
        SetTopMost(&w, -1);
        QVERIFY(w.isVisible());
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(w.pos(), QPoint(40, 30));
        SetTopMost(&w, 7);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        SetTopMost(&w, 0);
        QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
        QCOMPARE(w.pos(), QPoint(40, 30));
    }

    void windowLevelKeysAreDropped() {
        KeyCountingWindow w;
        auto* box = new QLineEdit(&w);
        discardWindowKeys(&w);
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QTest::keyClick(&w, Qt::Key_A);
        QCOMPARE(w.keys, 0);
        QTest::keyClicks(box, "ab");
        QCOMPARE(box->text(), QStringLiteral("ab"));
        QTest::keyClick(box, Qt::Key_Escape);  // the box does not take it: it reaches the window and goes
        QCOMPARE(w.keys, 0);
    }

    // Qt's own texts speak Russian once the program's translations are loaded.
    void qtTextsInRussian() {
        QTranslator* translator = installQtTranslations();
        QVERIFY2(translator, "Qt's Russian translation (qtbase_ru.qm) is not installed");
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList actions;
        for (QAction* a : menu->actions()) actions << a->text().remove(u'&').section(u'\t', 0, 0);
        QVERIFY2(actions.contains(QStringLiteral("Вставить")), qPrintable(actions.join(u'|')));
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }

    void numericFilterTyping() {
        QLineEdit box;
        installNumericFilter(&box);
        box.show();
        QTest::keyClicks(&box, "1a2,-b5 e");  // the decimal comma goes in as a point
        QCOMPARE(box.text(), QStringLiteral("12.5"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("12."));
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Delete);  // editing keys keep working
        QCOMPARE(box.text(), QStringLiteral("12"));
        QTest::keyClicks(&box, ".,");
        QCOMPARE(box.text(), QStringLiteral("12.."));  // separators are typed freely; reading takes "12."
    }

    void numericFilterPaste_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("result");
        QTest::newRow("decimal") << "3.5"
                                 << "13.5";
        QTest::newRow("letters") << "abc"
                                 << "1";
        QTest::newRow("negative") << "-2"
                                  << "1";
        QTest::newRow("two points") << "1.2.3"
                                    << "1";
        QTest::newRow("decimal comma") << "3,5"
                                       << "13.5";
        QTest::newRow("comma only") << ","
                                    << "1";
        QTest::newRow("two commas") << "1,2,3"
                                    << "1";
        QTest::newRow("comma and point") << "1,2.3"
                                         << "1";
        QTest::newRow("exponent") << "1e5"
                                  << "1";
        QTest::newRow("words after a number") << QStringLiteral("0.1Инструкция к") << "1";
    }
    void numericFilterPaste() {
        QFETCH(QString, clip);
        QFETCH(QString, result);
        QLineEdit box;
        installNumericFilter(&box);
        box.show();
        QTest::keyClicks(&box, "1");
        QApplication::clipboard()->setText(clip);
        QTest::keySequence(&box, QKeySequence::Paste);
        QCOMPARE(box.text(), result);
        QCOMPARE(box.contextMenuPolicy(), Qt::NoContextMenu);

        // The same text dragged in and dropped after the "1" follows the same rule.
        QLineEdit target;
        installNumericFilter(&target);
        target.show();
        QTest::keyClicks(&target, "1");
        QMimeData dragged;
        dragged.setText(clip);
        const QPoint end(target.width() - 3, target.height() / 2);
        QDragEnterEvent enter(end, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        QApplication::sendEvent(&target, &enter);
        QDragMoveEvent move(end, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        QApplication::sendEvent(&target, &move);
        QDropEvent drop(end, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        QApplication::sendEvent(&target, &drop);
        QCOMPARE(target.text(), result);
    }

    // Pictures that are there but cannot be shown are found; missing files and files of
    // other kinds are left to their own checks.
    void brokenPicturesAreFound() {
        QTemporaryDir dir;
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QImage good(8, 8, QImage::Format_RGB32);
        good.fill(Qt::red);
        QVERIFY(good.save(QStringLiteral("good.png")));
        QVERIFY(good.save(QStringLiteral("Good.ico")));
        auto write = [](const char* name, const QByteArray& bytes) {
            QFile f(QString::fromLatin1(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919) >> 3);
        write("noise.png", noise);
        write("empty.png", {});
        QFile::copy(QStringLiteral("good.png"), QStringLiteral("cut.png"));
        QFile::resize(QStringLiteral("cut.png"), 40);  // the header, not the pixels
        write("table.mdb", noise);
        const QStringList broken =
            brokenPictures({QStringLiteral("good.png"), QStringLiteral("GOOD.ico"), QStringLiteral("noise.png"),
                            QStringLiteral("empty.png"), QStringLiteral("cut.png"), QStringLiteral("missing.png"),
                            QStringLiteral("table.mdb")});
        QDir::setCurrent(oldCurrent);
        QCOMPARE(broken,
                 (QStringList{QStringLiteral("noise.png"), QStringLiteral("empty.png"), QStringLiteral("cut.png")}));
    }

    void navigatorOpensOnceParksAndCloses() {
        Navigator nav;
        int made = 0;
        nav.add(LauncherWindows::Frm_instruct, [&made] {
            ++made;
            return new QWidget;
        });
        nav.add(LauncherWindows::HeartMsg, [] { return nullptr; });
        QWidget* w = nav.open(LauncherWindows::Frm_instruct);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->objectName(), QStringLiteral("Frm_instruct"));
        QCOMPARE(nav.open(LauncherWindows::Frm_instruct), w);
        nav.park(w);
        QVERIFY(!w->isVisible());
        QCOMPARE(nav.find(LauncherWindows::Frm_instruct), w);  // hidden, still open
        QCOMPARE(nav.open(LauncherWindows::Frm_instruct), w);
        QVERIFY(w->isVisible());
        QCOMPARE(made, 1);

        w->close();  // closed by itself: no longer open, even before it is deleted
        QCOMPARE(nav.find(LauncherWindows::Frm_instruct), nullptr);
        flushDeletes();
        nav.closeIfOpen(LauncherWindows::Frm_instruct);  // not open: nothing happens
        QWidget* again = nav.open(LauncherWindows::Frm_instruct);
        QCOMPARE(made, 2);
        nav.closeIfOpen(LauncherWindows::Frm_instruct);
        QVERIFY(!again->isVisible());
        QCOMPARE(nav.open(LauncherWindows::HeartMsg), nullptr);
        QCOMPARE(nav.open(LauncherWindows::Frm_Selection), nullptr);  // never registered
        flushDeletes();
    }

    void helpOpensTopicsAndReportsMissingFiles() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QFile file(dir.filePath(QStringLiteral("Morvane.HLP")));  // found whatever the letter case
        QVERIFY(file.open(QIODevice::WriteOnly));
        QString html =
            QStringLiteral("<html><head><title>Справка</title></head><body><a name=\"top\"></a><h1>Содержание</h1>");
        for (int topic : {50, 60, 70, 80}) {
            html += QStringLiteral("<h2><a name=\"%1\"></a>Раздел %1</h2>").arg(topic);
            for (int i = 0; i < 40; ++i) html += QStringLiteral("<p>Текст раздела %1.</p>").arg(topic);
        }
        file.write(html.toUtf8() + "</body></html>");
        file.close();

        RecordingMessages messages;
        QObject owner, other;
        {
            HelpWindows help(messages);
            help.showTopic(&owner, QStringLiteral("morvane"), 80);
            HelpWindow* w = help.window(QStringLiteral("morvane"));
            QVERIFY(w && w->isVisible());
            QCOMPARE(w->windowTitle(), QStringLiteral("Справка"));
            const int at80 = w->browser()->verticalScrollBar()->value();
            help.showTopic(&owner, QStringLiteral("morvane"), 50);
            QCOMPARE(help.window(QStringLiteral("morvane")), w);  // the same window, moved
            const int at50 = w->browser()->verticalScrollBar()->value();
            QVERIFY2(at80 > at50 && at50 > 0, qPrintable(QStringLiteral("%1 %2").arg(at80).arg(at50)));
            help.showContents(&owner, QStringLiteral("morvane"));
            QCOMPARE(w->browser()->verticalScrollBar()->value(), 0);

            help.showContents(&other, QStringLiteral("ileum.hlp"));
            QCOMPARE(messages.shown.size(), 1);
            QVERIFY(messages.shown[0].text.contains(QStringLiteral("ileum.hlp")));
            QVERIFY(!help.window(QStringLiteral("ileum.hlp")));

            help.quit(&other);  // another owner's quit leaves this window
            QVERIFY(w->isVisible());
            help.quit(&owner);
            QVERIFY(!w->isVisible());
            flushDeletes();
        }
        QDir::setCurrent(oldCurrent);
    }

    // Escape closes a help window, wherever its keyboard is (the page, a button).
    void helpWindowClosesWithEscape_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("page") << "HelpText";
        QTest::newRow("button") << "Cmd_HelpContents";
    }
    void helpWindowClosesWithEscape() {
        QFETCH(QString, focus);
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(MORVANE_SOURCE_DIR "/data/help"));
        RecordingMessages messages;
        QObject owner;
        HelpWindows help(messages);
        help.showTopic(&owner, QStringLiteral("morvane"), 60);
        QDir::setCurrent(oldCurrent);
        // The window deletes itself on close, possibly inside the key's event processing.
        QPointer<HelpWindow> w = help.window(QStringLiteral("morvane"));
        QVERIFY(w && real_input::activate(w));
        controls::child(w, focus)->setFocus();
        real_input::key(w, Qt::Key_Escape);
        QVERIFY(!w || !w->isVisible());
        flushDeletes();
        QVERIFY(!help.window(QStringLiteral("morvane")));
        QVERIFY(messages.shown.isEmpty());
    }

    // Every supervisor's gate: the stored password, typed in any letter case and with
    // surrounding blanks, opens it; anything else is refused with the gate's own message
    // and the box is emptied for the next try.
    void passwordGate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("as stored") << "SECRET" << true;
        QTest::newRow("lower case, blanks") << "  secret " << true;
        QTest::newRow("wrong") << "SECRE" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << "   " << false;
    }
    void passwordGate() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        TestContext t;
        QLineEdit box;
        box.setText(typed);
        QCOMPARE(passwordAccepted(t.ctx, &box, QStringLiteral("SECRET"), QStringLiteral("Неверный пароль "),
                                  QStringLiteral(" Ошибка пароля ")),
                 accepted);
        if (accepted) {
            QVERIFY(t.messages.shown.isEmpty());
            QCOMPARE(box.text(), typed);
        } else {
            QCOMPARE(t.messages.shown.size(), 1);
            QCOMPARE(t.messages.shown[0].text, QStringLiteral("Неверный пароль "));
            QCOMPARE(t.messages.shown[0].title, QStringLiteral(" Ошибка пароля "));
            QVERIFY(box.text().isEmpty());
        }
    }

    void initAndCloseHelp() {
        TestContext t;
        CloseHelp(t.ctx);  // before any InitHelp: nothing
        QVERIFY(t.help.calls.isEmpty());
        QWidget owner;
        InitHelp(t.ctx, &owner);
        CloseHelp(t.ctx);
        QCOMPARE(t.help.calls.size(), 1);
        QCOMPARE(t.help.calls[0].what, QStringLiteral("quit"));
        QCOMPARE(t.help.calls[0].owner, &owner);
    }

    // The main help file has its four topics and a contents that links to them.
    void shippedMainHelpHasItsTopics() {
        QFile file(QStringLiteral(MORVANE_SOURCE_DIR "/data/help/morvane.hlp"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const char* topic : {"50", "60", "70", "80"}) {
            QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(QLatin1String(topic))), topic);
            QVERIFY2(html.contains(QStringLiteral("href=\"#%1\"").arg(QLatin1String(topic))), topic);
        }
    }
};

QTEST_MAIN(TstWindows)
#include "tst_windows.moc"
