// The heart program with its real desktop (the examination's keyboard lock) and input sent
// through the window system, as a supervisor and a student type and click.
#include <QListWidget>
#include <QtTest>

#include "heart_program.h"
#include "real_input.h"

using Program = HeartProgram<RealDesktopContext>;

namespace {

// "Проверка", the password typed and Return pressed: the first examination's screen.
Frm_Heart* startExaminationByKeyboard(Program& p) {
    QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
    if (!real_input::activate(home)) return nullptr;
    real_input::dismissTitlePanel(home);
    real_input::click(controls::child(home, "Cmd_Exam"));  // the lock goes on here
    real_input::type(home, QStringLiteral("abcd"));
    real_input::key(home, Qt::Key_Return);
    real_input::nameStudent(home);
    flushDeletes();
    return p.heart();
}

}  // namespace

class TstHeartRealInput : public QObject {
    Q_OBJECT
private slots:
    void examinationPasswordTyped() {
        Program p;
        Frm_Heart* h = startExaminationByKeyboard(p);
        QVERIFY2(h, "the typed examination password did not reach the password box");
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam1);
        QVERIFY(p.t.messages.shown.isEmpty());
    }

    void returnPasswordTyped() {
        Program p;
        Frm_Heart* h = startExaminationByKeyboard(p);
        QVERIFY(h && real_input::activate(h));
        real_input::click(controls::child(h, "Cmd_return"));
        QVERIFY(controls::child(h, "frm_retpass")->isVisible());
        real_input::type(h, QStringLiteral("abcd"));
        real_input::key(h, Qt::Key_Return);
        flushDeletes();
        QVERIFY2(p.find("Frm_Heart_Main"), "the typed return password did not reach its box");
        QVERIFY(!p.heart());
        QVERIFY(p.t.messages.shown.isEmpty());
    }

    // The whole examination under the lock: the drug list with the arrow keys, then
    // the supervisor's password after examination 3.
    void examinationsToResults() {
        Program p;
        Frm_Heart* h = startExaminationByKeyboard(p);
        QVERIFY(h);
        for (int stage = 1; stage <= 8; ++stage) {
            Program::ticks(h, 76);
            real_input::click(controls::child(h, "Cmd_Next"));
            flushDeletes();
            QWidget* q = p.find("Frm_Question");
            QVERIFY(q && real_input::activate(q));
            auto* list = controls::child<QListWidget>(q, "Lst_Drugs");
            real_input::click(list->viewport());  // focus on the list
            list->setCurrentRow(0);
            real_input::key(q, Qt::Key_Down);
            real_input::key(q, Qt::Key_Down);
            QCOMPARE(list->currentRow(), std::min(2, list->count() - 1));
            real_input::key(q, Qt::Key_Up);
            QCOMPARE(list->currentRow(), std::min(2, list->count() - 1) - 1);
            real_input::click(controls::child(q, "Cmd_done"));
            flushDeletes();
            h = p.heart();
            QVERIFY(h);
        }
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam2);

        Program::ticks(h, 76);
        Program::inject(h, 8);  // the unknown
        Program::ticks(h, 76);
        p.t.messages.answers = {MsgAnswer::Ok};
        real_input::click(controls::child(h, "Cmd_Next"));
        flushDeletes();
        h = p.identify(0);
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam3);

        Program::ticks(h, 76);
        real_input::click(controls::child(h, "Cmd_Next"));
        flushDeletes();
        QWidget* q = p.find("Frm_Question");
        QVERIFY(q && real_input::activate(q));
        real_input::click(controls::child(q, "Opt_dr1"));
        real_input::click(controls::child(q, "Cmd_exam4"));
        QCOMPARE(p.run.Heart_Exam3Answer(), QStringLiteral("Ацетилхолин"));
        const int messages = p.t.messages.shown.size();
        real_input::type(q, QStringLiteral("abcd"));
        real_input::key(q, Qt::Key_Return);
        flushDeletes();
        QVERIFY2(p.find("Frm_Heart_Table"), "the supervisor's typed password did not reach its box");
        QCOMPARE(p.t.messages.shown.size(), messages);

        // The second page names the unknown and the answer in boxes that only show: Tab
        // passes over them.
        QWidget* table = p.find("Frm_Heart_Table");
        QVERIFY(real_input::activate(table));
        real_input::click(controls::child(table, "Cmd_Ret"));
        QVERIFY(controls::child(table, "Txt_drug_Identified")->isVisible());
        QCOMPARE(real_input::tabRound(controls::child(table, "Cmd_Ret")), QStringList{QStringLiteral("Cmd_Ret")});
    }

    // Tab goes through the experiment screen in the order of its layout: the instructions
    // in the left column, then the recorder's buttons, the drug, the way out; the dose and
    // the heart rates only show and are passed over.
    void tabFollowsTheLayout() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        QVERIFY(real_input::activate(home));
        real_input::dismissTitlePanel(home);
        real_input::click(controls::child(home, "Cmd_Tutorial"));
        flushDeletes();
        Frm_Heart* h = p.heart();
        QVERIFY(h && real_input::activate(h));
        Program::ticks(h, 76);
        QVERIFY(!controls::text(h, "Txt_BHR").isEmpty());
        const QStringList order{"Cmd_help", "CmdPic_Stop", "Cmd_Print", "Combo_Drug", "Cmd_Inject",
                                "CmdTable", "Cmd_Next",    "Cmd_New",   "Cmd_return"};
        QCOMPARE(real_input::tabRound(controls::child(h, order.first())).join(u' '), order.join(u' '));
    }
};

QTEST_MAIN(TstHeartRealInput)
#include "tst_heart_real_input.moc"
