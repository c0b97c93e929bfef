// The experiment home screens of both programs, driven through their controls.
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "activity.h"
#include "clickable_label.h"
#include "controls.h"
#include "experiment_home.h"
#include "fakes.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "ileum_run_state.h"
#include "ileum_windows.h"
#include "oeso_run_state.h"
#include "oeso_windows.h"
#include "rabbit_run_state.h"
#include "rabbit_windows.h"
#include "real_input.h"

using namespace controls;

namespace {

struct Programs {
    TestContext t;
    OesoRunState oeso;
    IleumRunState ileum;
    RabbitRunState rabbit;
    HeartRunState heart;
    Programs() {
        registerOesophagusWindows(t.ctx, oeso);
        registerIleumWindows(t.ctx, ileum);
        registerRabbitWindows(t.ctx, rabbit);
        registerHeartWindows(t.ctx, heart);
        // The experiment screens have tests of their own: stand-ins keep these about the home screens.
        for (const char* name : {"Frm_Selection", "Frm_Oesophagus", "Frm_Ileum", "Frm_Rabbit", "Frm_Heart"})
            t.ctx.navigator.add(windowNamed(QString::fromLatin1(name)), [] { return new QWidget; });
    }
    ~Programs() {
        for (const char* name : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Heart_Main", "Frm_Oesophagus",
                                 "Frm_Ileum", "Frm_Rabbit", "Frm_Heart", "Frm_Selection"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(name)));
        flushDeletes();
    }
    ExperimentHome* open(const char* name) {
        return qobject_cast<ExperimentHome*>(t.ctx.navigator.open(windowNamed(QString::fromLatin1(name))));
    }
    ExperimentHome* toStudentForm(const QString& window);
    bool isOpen(const char* name) const {
        return t.ctx.navigator.find(windowNamed(QString::fromLatin1(name))) != nullptr;
    }
    // What the home screen `window` left in its experiment's run state.
    QString password(const QString& window) const {
        if (window == QLatin1String("Frm_Oeso_main")) return oeso.Oeso_Password();
        if (window == QLatin1String("Frm_il_main")) return ileum.Ile_Password();
        if (window == QLatin1String("Frm_Rab_main")) return rabbit.Rab_Password();
        return heart.Heart_Password();
    }
    const Student& student(const QString& window) const {
        if (window == QLatin1String("Frm_Oeso_main")) return oeso.student();
        if (window == QLatin1String("Frm_il_main")) return ileum.student();
        if (window == QLatin1String("Frm_Rab_main")) return rabbit.student();
        return heart.student();
    }
    HomeChoice mode(const QString& window) const {
        if (window == QLatin1String("Frm_Heart_Main")) {
            switch (heart.Heart_Mode()) {
                case HeartMode::None:
                    return HomeChoice::None;
                case HeartMode::Tutorial:
                    return HomeChoice::Tutorial;
                default:
                    return HomeChoice::Examination;
            }
        }
        if (window == QLatin1String("Frm_Rab_main")) {
            switch (rabbit.Rab_Mode()) {
                case RabMode::None:
                    return HomeChoice::None;
                case RabMode::Tutorial:
                    return HomeChoice::Tutorial;
                default:
                    return HomeChoice::Examination;
            }
        }
        // The ileum's and the oesophagus's modes are numbered as the choices are.
        if (window == QLatin1String("Frm_il_main")) return static_cast<HomeChoice>(ileum.Ile_Mode());
        return static_cast<HomeChoice>(oeso.Oeso_Mode());
    }
};

void typePassword(QWidget* home, const QString& text) {
    auto* box =
        child<QLineEdit>(home, home->objectName() == QLatin1String("Frm_Heart_Main") ? QStringLiteral("Txt_PassWord")
                                                                                     : QStringLiteral("Txt_PassW"));
    QTest::keyClicks(box, text);
}

// The home screen `window` open at its student form: "Проверка", a password, OK.
ExperimentHome* Programs::toStudentForm(const QString& window) {
    ExperimentHome* home = open(qPrintable(window));
    click(home, home->member().examName);
    typePassword(home, QStringLiteral("abcd"));
    click(home, home->member().okName);
    return home;
}

}  // namespace

class TstExperimentHome : public QObject {
    Q_OBJECT
private slots:
    // A password set at a home screen opens every supervisor gate of that experiment when
    // the same keys are typed there, however long it is.
    void everyGateTakesTheHomePassword_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("exam");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("gate");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        const QString twelve = QStringLiteral("abcdefghijkl");
        QTest::newRow("ileum examination") << "Frm_il_main"
                                           << "cmd_exam"
                                           << "Cmd_ok"
                                           << "Frm_I_Exam"
                                           << "Txt_Pass"
                                           << "Cmd_pass" << twelve;
        QTest::newRow("heart examination") << "Frm_Heart_Main"
                                           << "Cmd_Exam"
                                           << "Cmd_Ok_Password"
                                           << "Frm_Question"
                                           << "Txt_PassWord"
                                           << "Cmd_Ok_Password" << twelve;
        QTest::newRow("oesophagus results") << "Frm_Oeso_main"
                                            << "cmd_exam"
                                            << "Cmd_ok"
                                            << "Frm_Oeso_Table"
                                            << "Txt_PassW"
                                            << "Cmd_ok" << twelve;
        QTest::newRow("rabbit results") << "Frm_Rab_main"
                                        << "cmd_exam"
                                        << "Cmd_ok"
                                        << "Frm_Rab_Table"
                                        << "Txt_PassW"
                                        << "Cmd_pass" << twelve;
        QTest::newRow("ileum, spaces around") << "Frm_il_main"
                                              << "cmd_exam"
                                              << "Cmd_ok"
                                              << "Frm_I_Exam"
                                              << "Txt_Pass"
                                              << "Cmd_pass" << QStringLiteral("  abcdefghijkl ");
    }
    void everyGateTakesTheHomePassword() {
        QFETCH(QString, home);
        QFETCH(QString, exam);
        QFETCH(QString, ok);
        QFETCH(QString, gate);
        QFETCH(QString, box);
        QFETCH(QString, button);
        QFETCH(QString, typed);
        Programs p;
        p.ileum.setActualConc(-1);
        QWidget* h = p.t.ctx.navigator.open(windowNamed(home));
        click(h, exam);
        typePassword(h, typed);
        click(h, ok);
        nameStudent(h);
        QVERIFY(!p.t.ctx.navigator.find(windowNamed(home)));  // the examination began
        QWidget* g = p.t.ctx.navigator.open(windowNamed(gate));
        QTest::keyClicks(child<QLineEdit>(g, box), typed);
        click(g, button);
        QVERIFY2(p.t.messages.shown.isEmpty(), qPrintable(p.t.messages.shown.value(0).text));
        for (const char* name : {"Frm_I_Exam", "Frm_Question", "Frm_Heart_Table", "Frm_Oeso_Table", "Frm_Rab_Table"})
            p.t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(name)));
    }

    void loadResetsTheRunStateAndClosesExperimentWindows() {
        Programs p;
        p.ileum.chooseMode(IleumMode::Examination);
        p.ileum.setPassword(QStringLiteral("OLD"));
        p.ileum.markRecorderReady();
        p.ileum.setActualConc(3.5f);
        p.ileum.setStudent({QStringLiteral("Иванов"), QStringLiteral("Иван"), {}});
        QVERIFY(p.ileum.takeAnswer(QStringLiteral("2.5")));
        p.t.ctx.navigator.open(IleumWindows::Frm_Ileum);
        QVERIFY(p.isOpen("Frm_Ileum"));
        ExperimentHome* home = p.open("Frm_il_main");
        QVERIFY(home);
        QVERIFY(!p.isOpen("Frm_Ileum"));
        QCOMPARE(p.ileum.Ile_Mode(), IleumMode::None);
        QCOMPARE(p.ileum.Ile_Password(), QString());
        QCOMPARE(p.ileum.RecorderReady(), false);
        QCOMPARE(p.ileum.ActualConc(), 0.0f);
        QCOMPARE(p.ileum.student().surname, QString());
        QCOMPARE(home->windowTitle(), QStringLiteral(" Morvane - Подвздошная кишка T1.00R"));
        QVERIFY(!(home->windowFlags() & Qt::WindowCloseButtonHint));

        HeartDrugRec adrenaline;
        adrenaline.Name = QStringLiteral("Адреналин");
        p.heart.handOutExam1Unknown(4, adrenaline);
        p.heart.handOutExam1Unknown(4, adrenaline);  // used twice, the given drug of unknown 2
        for (int i = 0; i < 4; ++i) p.heart.logExam2(QStringLiteral("Атропин"), u'N', 70);
        p.heart.chooseMode(HeartMode::Exam2);
        p.open("Frm_Heart_Main");
        QCOMPARE(p.heart.Heart_Mode(), HeartMode::None);
        QCOMPARE(p.heart.Heart_UnknownUsed()[4], quint8(0));
        QCOMPARE(p.heart.Heart_Exam2Log().size(), 1);
        QVERIFY(p.heart.Heart_Exam1Results()[2].given.isEmpty());
    }

    void screenResolutionWarning_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("warned");
        QTest::newRow("800 x 600") << QSize(12000, 9000) << false;
        QTest::newRow("one twip narrow") << QSize(11999, 9000) << true;
        QTest::newRow("one twip low") << QSize(12000, 8999) << true;
        QTest::newRow("large") << QSize(28800, 16200) << false;
    }
    void screenResolutionWarning() {
        QFETCH(QSize, screen);
        QFETCH(bool, warned);
        Programs p;
        p.t.desktop.screen = screen;
        p.t.messages.answers = {MsgAnswer::Yes};
        QVERIFY(p.open("Frm_Oeso_main"));
        QCOMPARE(p.t.messages.shown.size(), warned ? 1 : 0);
        if (warned) {
            const MessageRequest& m = p.t.messages.shown[0];
            QCOMPARE(m.title, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - НИЗКОЕ разрешение экрана"));
            QVERIFY(m.text.startsWith(QStringLiteral("Вы используете низкое разрешение экрана.")));
            QVERIFY(m.text.endsWith(QStringLiteral("Все равно хотите продолжить ?")));
            QCOMPARE(m.buttons, MsgButtons::YesNo);
            QCOMPARE(m.icon, MsgIcon::Critical);
            QCOMPARE(m.defaultAnswer, MsgAnswer::No);
        }
        QVERIFY(p.t.desktop.quits.isEmpty());
    }

    void noToTheWarningEndsTheProgram() {
        Programs p;
        p.t.desktop.screen = QSize(9600, 7200);
        p.t.messages.answers = {MsgAnswer::No};
        QCOMPARE(p.open("Frm_Rab_main"), nullptr);
        QVERIFY(!p.isOpen("Frm_Rab_main"));
        QCOMPARE(p.t.desktop.quits, QVector<int>{0});
    }

    void passwordGate_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("oesophagus, three letters in blanks") << "Frm_Oeso_main"
                                                             << "  abc  "
                                                             << "ABC" << false;
        QTest::newRow("oesophagus, leading blank") << "Frm_Oeso_main"
                                                   << " abcd"
                                                   << "ABCD" << true;
        QTest::newRow("ileum, typed in capitals") << "Frm_il_main"
                                                  << "Secret"
                                                  << "SECRET" << true;
        QTest::newRow("rabbit, fixed field") << "Frm_Rab_main"
                                             << "abcd"
                                             << "ABCD      " << true;
        QTest::newRow("rabbit, short") << "Frm_Rab_main"
                                       << "ab"
                                       << "AB        " << false;
        QTest::newRow("heart, fixed field") << "Frm_Heart_Main"
                                            << " pass"
                                            << "PASS      " << true;
        QTest::newRow("heart, short empties the password") << "Frm_Heart_Main"
                                                           << "abc"
                                                           << "" << false;
        QTest::newRow("box takes ten characters") << "Frm_il_main"
                                                  << "abcdefghijklmn"
                                                  << "ABCDEFGHIJ" << true;
    }
    void passwordGate() {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, accepted);
        Programs p;
        ExperimentHome* home = p.open(qPrintable(window));
        const HomeMember& m = home->member();
        click(home, m.examName);
        auto* passFrame = child<QGroupBox>(home, m.passFrameName);
        QVERIFY(passFrame->isVisible());
        // The gate says which mode it opens: the examination, never the tutorial.
        QVERIFY2(passFrame->title().contains(QStringLiteral("Examination")) ||
                     passFrame->title().endsWith(QStringLiteral("режима проверки")),
                 qPrintable(passFrame->title()));
        QVERIFY(!child<QGroupBox>(home, m.modeFrameName)->isVisible());
        typePassword(home, typed);
        click(home, m.okName);
        if (accepted) nameStudent(home);
        QCOMPARE(p.password(window), stored);
        if (accepted) {
            QCOMPARE(p.mode(window), HomeChoice::Examination);
            QVERIFY(p.isOpen(qPrintable(m.experimentWindow.text())));
            QVERIFY(!p.isOpen(qPrintable(window)));
            QVERIFY(p.t.messages.shown.isEmpty());
        } else {
            QCOMPARE(p.t.messages.shown.size(), 1);
            QCOMPARE(p.t.messages.shown[0].text,
                     QStringLiteral("Неверный пароль. Пароль должен содержать по крайней мере 4 символа "));
            QCOMPARE(p.t.messages.shown[0].title, QStringLiteral(" Ошибка пароля "));
            QCOMPARE(p.t.messages.shown[0].icon, MsgIcon::None);
            QVERIFY(passFrame->isVisible());
            QVERIFY(child<QLineEdit>(home, m.passBoxName)->text().isEmpty());
            QCOMPARE(p.mode(window), m.heartRules ? HomeChoice::Examination : HomeChoice::None);
            QVERIFY(!p.isOpen(qPrintable(m.experimentWindow.text())));
        }
    }

    // After the password the student is named: surname and name required, the group not.
    // Enter confirms as OK does; a fault is told once, the keyboard goes to the faulty box
    // and the form stays.
    void studentForm_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("fault");  // part of the message; empty: accepted
        QTest::addColumn<QString>("box");    // the faulty box, or who the run state holds
        QTest::newRow("oesophagus, blanks around") << "Frm_Oeso_main"
                                                   << "  Иванов "
                                                   << "Иван"
                                                   << " 101 "
                                                   << ""
                                                   << "Иванов Иван, гр. 101";
        QTest::newRow("ileum, no group, double surname") << "Frm_il_main"
                                                         << "Петрова-Водкина"
                                                         << "Анна"
                                                         << ""
                                                         << ""
                                                         << "Петрова-Водкина Анна";
        QTest::newRow("heart") << "Frm_Heart_Main"
                               << "Smith"
                               << "John"
                               << "7a"
                               << ""
                               << "Smith John, гр. 7a";
        QTest::newRow("rabbit, no surname") << "Frm_Rab_main"
                                            << ""
                                            << "Иван"
                                            << "101"
                                            << "Введите фамилию."
                                            << "Txt_Surname";
        QTest::newRow("heart, blank name") << "Frm_Heart_Main"
                                           << "Иванов"
                                           << "   "
                                           << "101"
                                           << "Введите имя."
                                           << "Txt_StudentName";
        QTest::newRow("a digit in the surname") << "Frm_Oeso_main"
                                                << "Иванов2"
                                                << "Иван"
                                                << ""
                                                << "только буквы"
                                                << "Txt_Surname";
        QTest::newRow("group too long") << "Frm_il_main"
                                        << "Иванов"
                                        << "Иван" << QString(21, u'1') << "Слишком длинный номер группы"
                                        << "Txt_Group";
    }
    void studentForm() {
        QFETCH(QString, window);
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(QString, group);
        QFETCH(QString, fault);
        QFETCH(QString, box);
        Programs p;
        ExperimentHome* home = p.toStudentForm(window);
        const HomeMember& m = home->member();
        auto* form = child<QGroupBox>(home, QStringLiteral("Frm_Student"));
        QVERIFY(form->isVisible());
        QCOMPARE(form->title(), QStringLiteral("Студент"));
        QVERIFY(!child(home, m.passFrameName)->isVisible());
        QVERIFY(!child(home, m.modeFrameName)->isVisible());
        QCOMPARE(home->focusWidget(), child(home, "Txt_Surname"));
        QVERIFY(!p.isOpen(qPrintable(m.experimentWindow.text())));  // not before the student is named

        type(child<QLineEdit>(home, "Txt_Surname"), surname);
        type(child<QLineEdit>(home, "Txt_StudentName"), name);
        type(child<QLineEdit>(home, "Txt_Group"), group);
        QTest::keyClick(child<QLineEdit>(home, "Txt_Group"), Qt::Key_Return);
        if (fault.isEmpty()) {
            QVERIFY2(p.t.messages.shown.isEmpty(), qPrintable(p.t.messages.shown.value(0).text));
            QCOMPARE(p.student(window).withGroup(), box);
            QCOMPARE(p.mode(window), HomeChoice::Examination);
            QCOMPARE(p.password(window).trimmed(), QStringLiteral("ABCD"));
            QVERIFY(p.isOpen(qPrintable(m.experimentWindow.text())));
            QVERIFY(!p.isOpen(qPrintable(window)));
        } else {
            QCOMPARE(p.t.messages.shown.size(), 1);
            QVERIFY2(p.t.messages.shown[0].text.contains(fault), qPrintable(p.t.messages.shown[0].text));
            QVERIFY(form->isVisible());
            QCOMPARE(home->focusWidget(), child(home, box));
            QVERIFY(!p.isOpen(qPrintable(m.experimentWindow.text())));
            QCOMPARE(p.student(window).surname, QString());
            QCOMPARE(p.mode(window), m.heartRules ? HomeChoice::Examination : HomeChoice::None);
        }
    }

    // "Отмена" on the student form goes back to the mode choice as the password's does (the
    // heart's lock off, no mode); the next "Проверка" asks the password again.
    void studentCancel_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("oesophagus") << "Frm_Oeso_main";
        QTest::newRow("heart") << "Frm_Heart_Main";
    }
    void studentCancel() {
        QFETCH(QString, window);
        Programs p;
        ExperimentHome* home = p.toStudentForm(window);
        const HomeMember& m = home->member();
        type(child<QLineEdit>(home, "Txt_Surname"), QStringLiteral("Иванов"));
        click(home, "Cmd_StudentCancel");
        QVERIFY(child(home, m.modeFrameName)->isVisible());
        QVERIFY(!child(home, "Frm_Student")->isVisible());
        QVERIFY(!child(home, m.passFrameName)->isVisible());
        QCOMPARE(p.mode(window), HomeChoice::None);
        QVERIFY(!p.t.desktop.locked);
        QVERIFY(!p.isOpen(qPrintable(m.experimentWindow.text())));
        QCOMPARE(p.student(window).surname, QString());

        click(home, m.examName);
        QVERIFY(child(home, m.passFrameName)->isVisible());
        QVERIFY(!child(home, "Frm_Student")->isVisible());
        typePassword(home, QStringLiteral("abcd"));
        click(home, m.okName);
        QCOMPARE(text(home, "Txt_Surname"), QString());  // a new student's form
        QVERIFY(p.t.messages.shown.isEmpty());
    }

    void maskCharacters() {
        Programs p;
        QVERIFY(child<QLineEdit>(p.open("Frm_il_main"), QStringLiteral("Txt_PassW"))
                    ->styleSheet()
                    .contains(QStringLiteral(": 32;")));
        auto* heartBox = child<QLineEdit>(p.open("Frm_Heart_Main"), QStringLiteral("Txt_PassWord"));
        QVERIFY(heartBox->styleSheet().contains(QStringLiteral(": 120;")));
        QCOMPARE(heartBox->echoMode(), QLineEdit::Password);
        QCOMPARE(heartBox->maxLength(), 10);
    }

    void cancelThenTutorial() {
        Programs p;
        ExperimentHome* home = p.open("Frm_Oeso_main");
        click(home, QStringLiteral("cmd_exam"));
        typePassword(home, QStringLiteral("whatever"));
        click(home, QStringLiteral("Cmd_Cancel"));
        QVERIFY(child<QGroupBox>(home, QStringLiteral("Frame_mode"))->isVisible());
        QVERIFY(!child<QGroupBox>(home, QStringLiteral("Frame_Pass"))->isVisible());
        click(home, QStringLiteral("Cmd_Tut"));
        QCOMPARE(p.oeso.Oeso_Mode(), OesoMode::Tutorial);
        QVERIFY(p.isOpen("Frm_Oesophagus"));
        QVERIFY(!p.isOpen("Frm_Oeso_main"));
    }

    void heartExamLock() {
        Programs p;
        ExperimentHome* home = p.open("Frm_Heart_Main");
        p.heart.stageSetUp(heartDrugCount, {});
        QVERIFY(p.heart.Heart_DataLoaded());
        click(home, QStringLiteral("Cmd_Exam"));
        QVERIFY(p.t.desktop.locked);
        QCOMPARE(p.heart.Heart_Mode(), HeartMode::Exam1);
        QCOMPARE(p.heart.Heart_DataLoaded(), false);
        typePassword(home, QStringLiteral("ab"));
        click(home, QStringLiteral("Cmd_Ok_Password"));  // rejected: "Проверка" again, lock stays on
        QVERIFY(p.t.desktop.locked);
        QVERIFY(child<QGroupBox>(home, QStringLiteral("Frame_Password"))->isVisible());
        click(home, QStringLiteral("Cmd_Cancel_Password"));
        QVERIFY(!p.t.desktop.locked);
        QCOMPARE(p.heart.Heart_Mode(), HeartMode::None);

        click(home, QStringLiteral("Cmd_Exam"));
        typePassword(home, QStringLiteral("ab"));
        click(home, QStringLiteral("Cmd_Cancel_Password"));
        click(home, QStringLiteral("Cmd_Tutorial"));
        QCOMPARE(p.heart.Heart_Mode(), HeartMode::Tutorial);
        QVERIFY(!p.t.desktop.locked);
        QVERIFY(p.isOpen("Frm_Heart"));
    }

    void heartExitEndsTheProgram() {
        Programs p;
        ExperimentHome* home = p.open("Frm_Heart_Main");
        click(home, QStringLiteral("Cmd_Exam"));
        click(home, QStringLiteral("Cmd_Cancel_Password"));
        click(home, QStringLiteral("Cmd_Exam"));
        click(home, QStringLiteral("Cmd_Exit"));
        QVERIFY(!p.t.desktop.locked);
        QCOMPARE(p.t.desktop.lockChanges,
                 (QVector<bool>{false, true, false, true, false}));  // the load switches it off first
        QCOMPARE(p.t.desktop.quits, QVector<int>{0});
        QVERIFY(!p.isOpen("Frm_Heart_Main"));
    }

    void quitReturnsToSelection() {
        Programs p;
        ExperimentHome* home = p.open("Frm_Rab_main");
        click(home, QStringLiteral("Cmd_quit"));
        QVERIFY(p.isOpen("Frm_Selection"));
        QVERIFY(!p.isOpen("Frm_Rab_main"));
        QVERIFY(p.t.desktop.quits.isEmpty());
    }

    void instructionsAndHelpOwner() {
        Programs p;
        ExperimentHome* home = p.open("Frm_Oeso_main");
        click(home, QStringLiteral("Cmd_Instruct"));
        QCOMPARE(p.t.help.calls.size(), 1);
        QCOMPARE(p.t.help.calls[0].what, QStringLiteral("contents"));
        QCOMPARE(p.t.help.calls[0].file, QStringLiteral("oesopha.hlp"));
        QCOMPARE(p.t.ctx.helpOwner.data(), home);
        home->close();  // the oesophagus home screen closes the help it owns
        QCOMPARE(p.t.help.calls.last().what, QStringLiteral("quit"));
        QCOMPARE(p.t.help.calls.last().owner, home);

        ExperimentHome* heart = p.open("Frm_Heart_Main");
        click(heart, QStringLiteral("Cmd_Instruct"));
        QCOMPARE(p.t.help.calls.last().file, QStringLiteral("heart.hlp"));
    }

    void titlePanel() {
        Programs p;
        ExperimentHome* oeso = p.open("Frm_Oeso_main");
        QWidget* panel = child<QWidget>(oeso, QStringLiteral("Frm_logo"));
        QVERIFY(panel->isVisible());
        QTest::mouseClick(panel, Qt::LeftButton);  // one click is not enough here
        QVERIFY(panel->isVisible());
        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(!panel->isVisible());

        ExperimentHome* ileum = p.open("Frm_il_main");
        QWidget* ilePanel = child<QWidget>(ileum, QStringLiteral("Frm_logo"));
        QTest::mouseClick(child<ClickableLabel>(ileum, QStringLiteral("Image3")), Qt::LeftButton);
        QVERIFY(!ilePanel->isVisible());

        ExperimentHome* rabbit = p.open("Frm_Rab_main");
        QWidget* rabPanel = child<QWidget>(rabbit, QStringLiteral("logo_frm"));
        QTest::mouseClick(rabPanel, Qt::LeftButton);
        QVERIFY(!rabPanel->isVisible());

        ExperimentHome* heart = p.open("Frm_Heart_Main");
        QWidget* heartPanel = child<QWidget>(heart, QStringLiteral("Frm_logo"));
        QVERIFY(!heart->findChild<QWidget*>(QStringLiteral("Image3")));
        heart->Timer1_Timer();
        QVERIFY(!heartPanel->isVisible());
        heart->Timer1_Timer();  // later ticks change nothing
        QVERIFY(!heartPanel->isVisible());
        QCOMPARE(heart->findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 10000);
    }

    // The title panel's timer runs only while there is a panel to take away, by itself or
    // by the student's gesture; after that a home screen at rest runs no timer.
    void noTimerAtRest_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("byTimer");
        for (const char* home : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Heart_Main"}) {
            QTest::addRow("%s, timer", home) << home << true;
            QTest::addRow("%s, student", home) << home << false;
        }
    }
    void noTimerAtRest() {
        QFETCH(QString, home);
        QFETCH(bool, byTimer);
        Programs p;
        ExperimentHome* h = p.open(qPrintable(home));
        QWidget* panel = child(h, h->member().panelName);
        QCOMPARE(activity::runningTimers(h), QStringList{QStringLiteral("Timer1")});
        if (byTimer)
            h->Timer1_Timer();
        else
            QTest::keyClick(panel, Qt::Key_Space);
        QVERIFY(!panel->isVisible());
        QCOMPARE(activity::runningTimers(h), QStringList());
    }

    // While the title panel covers the screen, a key only takes the panel away: it
    // reaches no control hidden under it. Then the keyboard is on the first mode button.
    void titlePanelTakesTheFirstKey_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("key");
        QTest::newRow("oesophagus, Space") << "Frm_Oeso_main" << int(Qt::Key_Space);
        QTest::newRow("ileum, Tab") << "Frm_il_main" << int(Qt::Key_Tab);
        QTest::newRow("rabbit, Space") << "Frm_Rab_main" << int(Qt::Key_Space);
        QTest::newRow("heart, Return") << "Frm_Heart_Main" << int(Qt::Key_Return);
    }
    void titlePanelTakesTheFirstKey() {
        QFETCH(QString, home);
        QFETCH(int, key);
        Programs p;
        ExperimentHome* h = p.open(qPrintable(home));
        QVERIFY(real_input::activate(h));
        const HomeMember m = h->member();
        QWidget* panel = child(h, m.panelName);
        QVERIFY(panel->isVisible());
        real_input::key(h, Qt::Key(key));
        QVERIFY(!p.t.ctx.navigator.find(m.experimentWindow));  // no button under the panel was pressed
        QVERIFY(!panel->isVisible());
        QCOMPARE(QApplication::focusWidget(), child(h, m.tutName));
    }
};

QTEST_MAIN(TstExperimentHome)
#include "tst_experiment_home.moc"
