// The main program with its real desktop and input sent through the window system: the
// examination passwords typed on the three home screens, an unknown chosen with the keys,
// the experiment pictures started from the keyboard, Tab through each window.
#include <QApplication>
#include <QListWidget>
#include <QtTest>

#include "controls.h"
#include "launcher_windows.h"
#include "real_input.h"

namespace {

struct MainProgram {
    RealDesktopContext t;
    MorvaneRunStates runs;
    QString oldCurrent = QDir::currentPath();
    MainProgram() {
        QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR));
        registerMorvaneWindows(t.ctx, runs);
    }
    ~MainProgram() {
        for (const char* name : {"Frm_Selection", "Frm_instruct", "Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main",
                                 "Frm_Oesophagus", "Frm_Ileum", "Frm_Rabbit", "Frm_I_Exam"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(name)));
        flushDeletes();
        QDir::setCurrent(oldCurrent);
    }
    QWidget* find(const QString& name) const { return t.ctx.navigator.find(windowNamed(name)); }

    // The window open and active; a home screen without its title panel.
    QWidget* show(const QString& name) {
        QWidget* w = t.ctx.navigator.open(windowNamed(name));
        if (!w || !real_input::activate(w)) return nullptr;
        if (qobject_cast<ExperimentHome*>(w)) real_input::dismissTitlePanel(w);
        return w;
    }

    // "Проверка", the password typed and Return pressed on a home screen.
    QWidget* examineFrom(const QString& home, const QString& experiment) {
        QWidget* w = show(home);
        if (!w) return nullptr;
        real_input::click(controls::child(w, "cmd_exam"));
        real_input::type(w, QStringLiteral("abcd"));
        real_input::key(w, Qt::Key_Return);
        real_input::nameStudent(w);
        flushDeletes();
        return find(experiment);
    }
};

}  // namespace

class TstMorvaneRealInput : public QObject {
    Q_OBJECT
private slots:
    void examinationPasswordTyped_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("experiment");
        QTest::newRow("oesophagus") << "Frm_Oeso_main"
                                    << "Frm_Oesophagus";
        QTest::newRow("ileum") << "Frm_il_main"
                               << "Frm_Ileum";
        QTest::newRow("rabbit") << "Frm_Rab_main"
                                << "Frm_Rabbit";
    }
    void examinationPasswordTyped() {
        QFETCH(QString, home);
        QFETCH(QString, experiment);
        MainProgram p;
        QVERIFY2(p.examineFrom(home, experiment), "the typed password did not open the examination");
        const bool examinations[] = {p.runs.oeso.examination(), p.runs.ileum.examination(),
                                     static_cast<quint8>(p.runs.rabbit.Rab_Mode()) == 2};
        QCOMPARE(std::count(std::begin(examinations), std::end(examinations), true), 1);
        QVERIFY(p.t.messages.shown.isEmpty());
    }

    // Tab takes the keyboard through each window's controls in the order they are laid out:
    // down a column, along a row, one group after the other.
    void tabFollowsTheLayout_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("press");   // a button pressed first, as a person would ("" none)
        QTest::addColumn<QString>("goneTo");  // the window Tab then goes round
        QTest::addColumn<QStringList>("order");
        QTest::newRow("selection") << "Frm_Selection"
                                   << ""
                                   << "Frm_Selection"
                                   << QStringList{"Img_frog",    "Img_gpig",     "img_rabbit", "Img_heart", "Cmd_intro",
                                                  "Cmd_history", "Cmd_Instruct", "Cmd_Soft",   "Cmd_ack",   "Cmd_quit"};
        QTest::newRow("instructions") << "Frm_instruct"
                                      << ""
                                      << "Frm_instruct"
                                      << QStringList{"Cmd_frog", "Cmd_ileum", "Cmd_rabbit", "Cmd_heart", "Command5"};
        QTest::newRow("home screen") << "Frm_Oeso_main"
                                     << ""
                                     << "Frm_Oeso_main"
                                     << QStringList{"Cmd_Tut", "cmd_exam", "Cmd_Instruct", "Cmd_quit"};
        QTest::newRow("home screen's password") << "Frm_il_main"
                                                << "cmd_exam"
                                                << "Frm_il_main" << QStringList{"Txt_PassW", "Cmd_ok", "Cmd_Cancel"};
        QTest::newRow("oesophagus") << "Frm_Oeso_main"
                                    << "Cmd_Tut"
                                    << "Frm_Oesophagus" << QStringList{"Combo_Drug", "Cmd_Instill", "Cmd_StartClock",
                                                                       "cmd_Reset",  "Cmdhelp",     "Cmd_Next",
                                                                       "Cmd_Table",  "Cmd_New",     "Command2"};
        QTest::newRow("ileum") << "Frm_il_main"
                               << "Cmd_Tut"
                               << "Frm_Ileum"
                               << QStringList{"Cmd_downdose", "Txt_Dose",     "Cmd_updose",     "Cmd_Antagonist",
                                              "Cmd_Wash",     "Cmd_inject",   "Cmd_MatchAssay", "Cmd_Print",
                                              "Cmd_Graph",    "Cmd_Instruct", "Cmd_Next",       "Cmd_New",
                                              "Cmd_return"};
        QTest::newRow("rabbit") << "Frm_Rab_main"
                                << "Cmd_Tut"
                                << "Frm_Rabbit" << QStringList{"cmd_help", "Combo_Drug", "Cmd_Instill", "Cmd_New",
                                                               "Cmd_Next", "Cmd_Table",  "cmdreturn"};
    }
    void tabFollowsTheLayout() {
        QFETCH(QString, window);
        QFETCH(QString, press);
        QFETCH(QString, goneTo);
        QFETCH(QStringList, order);
        MainProgram p;
        QWidget* w = p.show(window);
        QVERIFY(w);
        if (!press.isEmpty()) {
            real_input::click(controls::child(w, press));
            flushDeletes();
            w = p.find(goneTo);
            QVERIFY(w && real_input::activate(w));
        }
        QCOMPARE(real_input::tabRound(controls::child(w, order.first())).join(u' '), order.join(u' '));
    }

    // The experiment pictures take the keyboard: Tab to one, Enter or Space starts it.
    void picturesStartFromTheKeyboard_data() {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("home");
        QTest::newRow("frog, Return") << 0 << int(Qt::Key_Return) << "Frm_Oeso_main";
        QTest::newRow("guinea pig, Enter") << 1 << int(Qt::Key_Enter) << "Frm_il_main";
        QTest::newRow("rabbit, Space") << 2 << int(Qt::Key_Space) << "Frm_Rab_main";
    }
    void picturesStartFromTheKeyboard() {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QFETCH(QString, home);
        MainProgram p;
        QWidget* sel = p.show(QStringLiteral("Frm_Selection"));
        QVERIFY(sel);
        QCOMPARE(QApplication::focusWidget(), controls::child(sel, "Img_frog"));  // the first picture has it
        for (int i = 0; i < tabs; ++i) real_input::key(sel, Qt::Key_Tab);
        real_input::key(sel, Qt::Key(key));
        QVERIFY(p.find(home));
        QVERIFY(!p.find(QStringLiteral("Frm_Selection")));
    }

    void unknownChosenWithTheKeys() {
        MainProgram p;
        QWidget* oeso = p.examineFrom(QStringLiteral("Frm_Oeso_main"), QStringLiteral("Frm_Oesophagus"));
        QVERIFY(oeso && real_input::activate(oeso));
        auto* list = controls::child<QListWidget>(oeso, "Lst_UnknownDrug");
        QVERIFY(list->count() > 2);
        real_input::click(list->viewport());
        list->setCurrentRow(0);
        real_input::key(oeso, Qt::Key_Down);
        real_input::key(oeso, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 2);
        QVERIFY(list->currentItem()->isSelected());
    }
};

QTEST_MAIN(TstMorvaneRealInput)
#include "tst_morvane_real_input.moc"
