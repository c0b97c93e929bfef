// The main program with its real desktop and input sent through the window system: the
// examination passwords typed on the three home screens, an unknown chosen with the keys.
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
        for (const char* name : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Oesophagus", "Frm_Ileum",
                                 "Frm_Rabbit", "Frm_I_Exam"})
            t.ctx.navigator.closeIfOpen(QString::fromLatin1(name));
        flushDeletes();
        QDir::setCurrent(oldCurrent);
    }
    QWidget* find(const QString& name) const { return t.ctx.navigator.find(name); }

    // "Проверка", the password typed and Return pressed on a home screen.
    QWidget* examineFrom(const QString& home, const QString& experiment) {
        QWidget* w = t.ctx.navigator.open(home);
        if (!w || !real_input::activate(w)) return nullptr;
        real_input::dismissTitlePanel(w);
        real_input::click(controls::child(w, "cmd_exam"));
        real_input::type(w, QStringLiteral("abcd"));
        real_input::key(w, Qt::Key_Return);
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
        QTest::newRow("oesophagus") << "Frm_Oeso_main" << "Frm_Oesophagus";
        QTest::newRow("ileum") << "Frm_il_main" << "Frm_Ileum";
        QTest::newRow("rabbit") << "Frm_Rab_main" << "Frm_Rabbit";
    }
    void examinationPasswordTyped() {
        QFETCH(QString, home);
        QFETCH(QString, experiment);
        MainProgram p;
        QVERIFY2(p.examineFrom(home, experiment), "the typed password did not open the examination");
        const quint8 modes[] = {p.runs.oeso.Oeso_Mode, p.runs.ileum.Ile_Mode, p.runs.rabbit.Rab_Mode};
        QCOMPARE(std::count(std::begin(modes), std::end(modes), quint8(2)), 1);
        QVERIFY(p.t.messages.shown.isEmpty());
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
