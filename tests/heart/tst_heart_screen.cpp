// The heart program from its home screen through the tutorial and the three examinations.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "contrast.h"
#include "controls.h"
#include "frm_heart.h"
#include "heart_exam.h"
#include "heart_run_state.h"
#include "heart_program.h"
#include "setup_picture.h"

using namespace controls;

using Program = HeartProgram<TestContext>;

class TstHeartScreen : public QObject {
    Q_OBJECT
private slots:
    void tutorial() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(QStringLiteral("Frm_Heart_Main"));
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        QVERIFY(h);
        QCOMPARE(h->windowTitle(), QStringLiteral("Влияние веществ на изолированное сердце лягушки - режим обучения"));
        QVERIFY(!Program::enabled(h, "Cmd_Inject"));
        QCOMPARE(text(h, "lbl_warning"), QStringLiteral("Дождитесь стабилизации сердечной деятельности"));
        QCOMPARE(child<QComboBox>(h, "Combo_Drug")->count(), 8);
        Program::ticks(h, 76);  // the first rest cycle
        QVERIFY(Program::enabled(h, "Cmd_Inject"));
        QVERIFY(!text(h, "Txt_BHR").isEmpty());
        QCOMPARE(text(h, "lbl_warning"), QStringLiteral("Выберите вещество для введения"));
        QCOMPARE(h->paper().width(), 329 + 76);

        // The lever beats: it leaves its rest, comes back to 4263.
        h->lever()->beatNow();
        QCOMPARE(h->model().lastneedle, 4250 - 500 + 513);

        Program::inject(h, 0);  // adrenaline
        QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Адреналин"));
        QCOMPARE(text(h, "Lab_DDose"), QStringLiteral("мкг"));
        for (const char* b : {"Cmd_help", "Cmd_New", "Cmd_Next", "CmdTable", "Cmd_Print"}) QVERIFY2(!Program::enabled(h, b), b);
        QVERIFY(Program::enabled(h, "Cmd_RmvDrug"));
        QCOMPARE(text(h, "lbl_warning"), QStringLiteral("(B)HR - частота сердечных сокращений (контрольная)"));
        Program::ticks(h, 75);
        QVERIFY(!Program::enabled(h, "Cmd_Next"));
        Program::ticks(h, 1);  // the rest cycle
        for (const char* b : {"Cmd_help", "Cmd_New", "Cmd_Next", "CmdTable", "Cmd_Print"}) QVERIFY2(Program::enabled(h, b), b);
        QVERIFY(!Program::enabled(h, "Cmd_RmvDrug"));
        QCOMPARE(text(h, "lbl_lastdrug"), QStringLiteral("Адреналин"));
        QVERIFY(!text(h, "TxtHR_Drug").isEmpty());

        // Stop, look back, continue: the newest part comes back.
        Program::ticks(h, 400);
        const int newest = h->paperLeft();
        click(h, "CmdPic_Stop");
        QVERIFY(!h->recorderRunning());
        auto* bar = child<QScrollBar>(h, "HScrPic");
        QVERIFY(bar->maximum() > 4);
        bar->setValue(0);  // the oldest part
        QCOMPARE(h->paperLeft(), 0);
        click(h, "CmdPic_Continue");
        QCOMPARE(h->paperLeft(), newest);
        QVERIFY(h->recorderRunning());
        bar->setValue(1);  // scrolling while recording stops the recorder
        QVERIFY(!h->recorderRunning());
        QVERIFY(Program::enabled(h, "CmdPic_Continue"));
        click(h, "CmdPic_Continue");

        p.t.messages.answers = {MsgAnswer::Yes};
        click(h, "Cmd_Print");
        QCOMPARE(p.t.printer.documents(), 1);
        QCOMPARE(p.t.messages.shown.last().title, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН"));

        click(h, "CmdTable");
        QWidget* table = p.find("Frm_Heart_Table");
        QVERIFY(table && !h->isVisible());
        QCOMPARE(text(table, "tabletitleLbl"), QStringLiteral("Таблица-образец"));
        QCOMPARE(child<QTableWidget>(table, "MsGrid_Table")->item(2, 1)->text(), QStringLiteral("Эпинефрин"));
        // The red text reads on the white cells and the grey headings.
        QCOMPARE_GE(contrast::lowestInGrid(child<QTableWidget>(table, "MsGrid_Table")), 4.5);
        click(table, "Cmd_Ret");
        QVERIFY(h->isVisible());
        flushDeletes();

        click(h, "Cmd_New");  // a clean recording, a new basal rate
        QCOMPARE(h->paper().width(), 329);
        QVERIFY(h->model().basalbase >= 60 && h->model().basalbase <= 90);

        click(h, "Cmd_Next");
        QWidget* q = p.find("Frm_Question");
        QVERIFY(child(q, "Frame_TutQuestions")->isVisible());
        click(q, "Cmd_Ret");
        QVERIFY(h->isVisible());
        flushDeletes();
        click(h, "Cmd_Next");
        click(p.find("Frm_Question"), "Cmd_Done1");
        QVERIFY(p.find("Frm_Heart_Main"));
        QVERIFY(!p.find("Frm_Heart"));
    }

    void paperFull() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(QStringLiteral("Frm_Heart_Main"));
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        h->model().paperWidth = 16383;
        p.t.messages.answers = {MsgAnswer::No};
        h->RecorderTick();
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral("Память записывающего устройства переполнена. Очистие ее "));
        QVERIFY(!h->recorderRunning());  // frozen
        p.t.messages.answers = {MsgAnswer::Yes};
        h->RecorderTick();
        QVERIFY(h->recorderRunning());
        QCOMPARE(h->model().paperWidth, 329);
    }

    void returnPassword() {
        Program p;
        Frm_Heart* h = p.startExamination();
        QVERIFY(p.t.desktop.locked);
        click(h, "Cmd_return");
        QVERIFY(child(h, "frm_retpass")->isVisible());
        click(h, "cmd_pwretok");  // empty: one message, nothing else
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral("Неверный пароль "));
        QTest::keyClicks(child<QLineEdit>(h, "Txt_pwret"), QStringLiteral("wrong"));
        click(h, "cmd_pwretok");
        QCOMPARE(p.t.messages.shown.size(), 2);
        QCOMPARE(text(h, "Txt_pwret"), QString());
        click(h, "cmd_pwretcan");
        QVERIFY(child(h, "Fra_CmdBar")->isVisible());
        click(h, "Cmd_return");
        QTest::keyClicks(child<QLineEdit>(h, "Txt_pwret"), QStringLiteral(" abcd "));
        click(h, "cmd_pwretok");
        QVERIFY(p.find("Frm_Heart_Main"));
        QVERIFY(!p.find("Frm_Heart"));
        QVERIFY(!p.t.desktop.locked);  // the way out ends the lock
    }

    void threeExaminations() {
        Program p;
        Frm_Heart* h = p.startExamination();
        QCOMPARE(p.run.Heart_Mode, quint8(2));
        QSet<int> unknowns;
        for (int stage = 1; stage <= 8; ++stage) {
            QVERIFY(h);
            QVERIFY(!child(h, "Combo_Drug")->isVisible());
            QCOMPARE(text(h, "lbl_unkdrug"), QStringLiteral("Неизвестное No. %1").arg(stage));
            unknowns << p.run.Heart_Exam1Drug;
            Program::ticks(h, 76);
            if (stage != 8) {  // the last unknown is never injected
                Program::inject(h, child<QComboBox>(h, "Combo_Drug")->currentIndex());
                QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Неизвестное %1").arg(stage));
                QCOMPARE(text(h, "Lab_DDose"), QStringLiteral("мл"));
            }
            click(h, "Cmd_Next");
            flushDeletes();
            QVERIFY(child(p.find("Frm_Question"), "Frame_ExamQuestions")->isVisible());
            h = p.identify(stage - 1);
        }
        QCOMPARE(unknowns.size(), 8);
        QCOMPARE(p.run.Heart_Mode, quint8(3));
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Экзамен 1 закончен. Приступайте к экзамену 2. "));

        // Examination 2: the unknown is the ninth item.
        QCOMPARE(child<QComboBox>(h, "Combo_Drug")->itemText(8), QStringLiteral("Неизвестное"));
        Program::ticks(h, 76);
        Program::inject(h, 8);
        QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Неизвестное "));
        QCOMPARE(text(h, "Lab_DDose"), QStringLiteral("мл"));
        QCOMPARE(p.run.Heart_Exam2Count, quint8(1));
        p.t.messages.answers = {MsgAnswer::Cancel};
        click(h, "Cmd_Next");
        QCOMPARE(p.heart(), h);  // Cancel keeps the experiment
        QVERIFY(h->isVisible());
        p.t.messages.answers = {MsgAnswer::Ok};
        click(h, "Cmd_Next");
        flushDeletes();
        h = p.identify(3);
        QCOMPARE(p.run.Heart_Mode, quint8(4));
        QCOMPARE(p.run.Heart_Exam2Answer, QStringLiteral("Атропин"));
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Экзамен 2 закончен. Приступайте к экзамену 3.   "));

        // Examination 3: adrenaline, acetylcholine and the unknown on two hearts.
        QCOMPARE(child<QComboBox>(h, "Combo_Drug")->count(), 3);
        Program::ticks(h, 76);
        Program::inject(h, 0);
        QVERIFY(p.run.Heart_Exam3Rates[1][0] > 0);
        Program::ticks(h, 76);
        click(h, "Cmd_New");
        QCOMPARE(p.run.Heart_HeartNo, quint8(2));
        Program::ticks(h, 76);
        Program::inject(h, 2);
        QVERIFY(p.run.Heart_Exam3Rates[2][2] > 0);
        Program::ticks(h, 76);
        click(h, "Cmd_Next");
        flushDeletes();
        QWidget* q = p.find("Frm_Question");
        QVERIFY(child(q, "Frame_exam4")->isVisible());
        auto* rates = child<QTableWidget>(q, "MsGrid_Table1");
        QCOMPARE(rates->rowCount(), 3);
        QCOMPARE(rates->item(1, 2)->text(), QStringLiteral("Не введено"));
        QCOMPARE_GE(contrast::lowestInGrid(rates), 4.5);
        click(q, "Cmd_exam4");  // no option chosen
        QCOMPARE(p.run.Heart_Exam3Answer, QStringLiteral("Не определено"));
        const int before = p.t.messages.shown.size();
        click(q, "Cmd_Ok_Password");
        QCOMPARE(p.t.messages.shown.size(), before + 1);
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral("Пароль неверный "));
        QTest::keyClicks(child<QLineEdit>(q, "Txt_PassWord"), QStringLiteral("abcd"));
        click(q, "Cmd_Ok_Password");
        flushDeletes();

        QWidget* table = p.find("Frm_Heart_Table");
        QVERIFY(table);
        auto* grid = child<QTableWidget>(table, "MsGrid_Table");
        QCOMPARE(text(table, "examno"), QStringLiteral("Экзамен 1"));
        QCOMPARE(grid->rowCount(), 9);
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Адреналин"));
        QCOMPARE(grid->item(8, 3)->text(), QStringLiteral(" Вещество не введено "));
        QCOMPARE(grid->item(8, 4)->text(), QStringLiteral(" Вещество не введено "));
        click(table, "Cmd_Ret");
        QCOMPARE(text(table, "examno"), QStringLiteral("Экзамен 2"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Неизвестное"));
        QCOMPARE(text(table, "Txt_drug_Identified"), QStringLiteral("Атропин"));
        click(table, "Cmd_Ret");
        QCOMPARE(text(table, "examno"), QStringLiteral("Экзамен 3"));
        QCOMPARE(text(table, "Txt_drug_Identified"), QStringLiteral("Не определено"));
        click(table, "Cmd_Ret");
        QVERIFY(p.find("Frm_Heart_Main"));
        QVERIFY(!p.t.desktop.locked);
    }
};

QTEST_MAIN(TstHeartScreen)
#include "tst_heart_screen.moc"
