// The frog oesophagus from its home screen to the end, in both modes, through the real
// controls: the drug list, the dropper, the seed dragged from its box, the stopwatch,
// the unknowns, the results table behind the supervisor's password, the questions.
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "activity.h"
#include "contrast.h"
#include "controls.h"
#include "exam_journal.h"
#include "fakes.h"
#include "frm_oesophagus.h"
#include "oeso_results.h"
#include "oeso_run_state.h"
#include "oeso_windows.h"
#include "real_input.h"
#include "twips.h"

using namespace controls;

namespace {

bool enabled(QWidget* w, const QString& name) {
    return child(w, name)->isEnabled();
}
QString stopwatch(QWidget* s) {
    return text(s, "txt_time(2)") + u':' + text(s, "txt_time(1)") + u':' + text(s, "txt_time(0)");
}
QStringList items(QListWidget* list) {
    QStringList r;
    for (int i = 0; i < list->count(); ++i) r << list->item(i)->text();
    return r;
}

// Where a seed carried from the box is let go.
enum class Drop { OnSpot, ElsewhereOnSetup, OutsideSetup };

// Presses on the seed box, carries the seed and lets it go; checks the drag cursor on the way.
void dragSeed(QWidget* s, Drop where) {
    auto* box = child<QLabel>(s, "Img_Seeds");
    QWidget* setup = child(s, "Pic_Oeso");
    QTest::mousePress(box, Qt::LeftButton, {}, box->rect().center());
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
    QPoint global;
    switch (where) {
        case Drop::OnSpot: {
            QWidget* spot = child(s, "Img_Seed_Drop");
            global = spot->mapToGlobal(spot->rect().center());
            break;
        }
        case Drop::ElsewhereOnSetup:
            global = setup->mapToGlobal(QPoint(setup->width() - 8, 8));
            break;
        case Drop::OutsideSetup: {
            QWidget* zoom = child(s, "Pic_Zoomed");
            global = zoom->mapToGlobal(zoom->rect().center());
            break;
        }
    }
    QTest::mouseMove(box, box->mapFromGlobal(global));
    QTest::mouseRelease(box, Qt::LeftButton, {}, box->mapFromGlobal(global));
    QVERIFY(!QGuiApplication::overrideCursor());
}

template <class Context>
struct ProgramWith {
    Context t;
    OesoRunState run;
    ProgramWith() {
        registerOesophagusWindows(t.ctx, run);
        t.ctx.navigator.add(LauncherWindows::Frm_Selection, [] { return new QWidget; });
    }
    ~ProgramWith() {
        for (const char* n : {"Frm_Oeso_main", "Frm_Oesophagus", "Frm_Oeso_Table", "Frm_Oeso_Quest", "Frm_Selection"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(n)));
        delete results();
        flushDeletes();
    }
    // The marked results window that the supervisor's password opened.
    static QWidget* results() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Frm_Exam_Results")) return w;
        return nullptr;
    }
    QWidget* find(const char* name) const { return t.ctx.navigator.find(windowNamed(QString::fromLatin1(name))); }
    Frm_Oesophagus* screen() const { return qobject_cast<Frm_Oesophagus*>(find("Frm_Oesophagus")); }
    Frm_Oeso_Table* table() const { return qobject_cast<Frm_Oeso_Table*>(find("Frm_Oeso_Table")); }

    // From the home screen to the experiment screen. The load draws the frog's step base
    // and the seed's place, in the examination the first unknown, then Ringer's interval.
    Frm_Oesophagus* start(bool examination) {
        QWidget* home = t.ctx.navigator.open(OesoWindows::Frm_Oeso_main);
        if (examination) {
            t.random.values = {0.5, 0.0, 0.0, 0.5, 0.0};  // step 14, seed at 1400/650, Карбахол, 200 ms
            click(home, "cmd_exam");
            QTest::keyClicks(child<QLineEdit>(home, "Txt_PassW"), QStringLiteral(" Secret "));
            click(home, "Cmd_ok");
            nameStudent(home);
        } else {
            t.random.values = {0.5, 0.0, 0.0, 0.0};
            click(home, "Cmd_Tut");
        }
        return screen();
    }
};
using Program = ProgramWith<TestContext>;

// The seed carried from its box to the drop spot with the mouse, through the window system.
void laySeedByHand(QWidget* s) {
    QWidget* box = child(s, "Img_Seeds");
    QWidget* spot = child(s, "Img_Seed_Drop");
    const QPoint from = box->mapTo(s, box->rect().center()), to = spot->mapTo(s, spot->rect().center());
    QTest::mousePress(s->windowHandle(), Qt::LeftButton, {}, from);
    QTest::mouseMove(s->windowHandle(), to);
    QTest::mouseRelease(s->windowHandle(), Qt::LeftButton, {}, to);
}

// A whole examination run: the seed laid, `seconds` on the examination clock, the seed's
// timer until it arrives.
void timedRun(Frm_Oesophagus* s, int seconds) {
    dragSeed(s, Drop::OnSpot);
    for (int i = 0; i < seconds; ++i) s->Timer_Monitor_Clock_Timer();
    for (int i = 0; i < 1000 && !enabled(s, "Cmd_Instill"); ++i) s->Timer_Oeso_Timer();
}

void chooseUnknown(Frm_Oesophagus* s, const QString& name) {
    auto* list = child<QListWidget>(s, "Lst_UnknownDrug");
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    QCOMPARE(list->currentItem()->text(), name);
}

// Builds a drug table file in the current folder.
void makeTable(const QStringList& rows) {
    QFile::remove(QStringLiteral("f_oeso.mdb"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(QStringLiteral("f_oeso.mdb"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(
            q.exec(QStringLiteral("CREATE TABLE Oeso (Drug TEXT, speed1 REAL, speed2 REAL, time1 REAL, time2 REAL)")));
        for (const QString& r : rows) QVERIFY(q.exec(QStringLiteral("INSERT INTO Oeso VALUES (%1)").arg(r)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

}  // namespace

class TstOesoScreen : public QObject {
    Q_OBJECT
    QString m_oldCurrent;

private slots:
    void initTestCase() {
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR)));
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldCurrent); }
    void cleanup() { QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR)); }

    void tutorialRun() {
        Program p;
        Frm_Oesophagus* s = p.start(false);
        QVERIFY(s && s->isVisible());
        QVERIFY(!p.find("Frm_Oeso_main"));
        QCOMPARE(p.run.Oeso_DataLoaded(), true);
        QCOMPARE(s->windowTitle(),
                 QStringLiteral("Влияние веществ на подвижность ресничек в пищеводе лягушки - Режим обучения "));
        QVERIFY(s->width() <= 790 && s->height() <= 565);
        QCOMPARE(text(s, "frogno"), QStringLiteral("Лягушка №1"));
        auto* combo = child<QComboBox>(s, "Combo_Drug");
        QCOMPARE(combo->count(), 7);
        QCOMPARE(combo->currentText(), QStringLiteral("Раствор Рингера"));
        QCOMPARE(text(s, "Lab_Texttube"), QStringLiteral("Раствор Рингера"));
        // The new frog was given Ringer's solution with the dropper.
        QCOMPARE(text(s, "Lab_DrugGiven"), QStringLiteral("Раствор Рингера"));
        QCOMPARE(text(s, "lastdrugname_lbl"), QStringLiteral("Нет"));
        QCOMPARE(items(child<QListWidget>(s, "drughistory")), QStringList{"Раствор Рингера"});
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Возьмите зернышко"));
        QVERIFY(child(s, "Image_filler")->isVisible());
        s->filler_timer_Timer();
        QVERIFY(!child(s, "Image_filler")->isVisible());
        QCOMPARE(s->findChild<QTimer*>("filler_timer")->interval(), 2000);
        QVERIFY(s->findChild<QTimer*>("filler_timer")->isActive());
        QCOMPARE(s->findChild<QTimer*>("Timer_Oeso")->interval(), 200);
        QVERIFY(child(s, "Frame_Drug")->isVisible());
        QVERIFY(!child(s, "Frame_Drug_Select")->isVisible());
        for (const char* b : {"Cmd_Instill", "Cmd_New", "Cmd_Table", "Cmd_Next", "Command2"})
            QVERIFY2(enabled(s, b), b);

        // Letters typed on the list choose nothing; the arrow keys do.
        for (const QString& letter : {QStringLiteral("А"), QStringLiteral("т")}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
            QApplication::sendEvent(combo, &press);
        }
        QCOMPARE(combo->currentIndex(), 0);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(text(s, "Lab_Texttube"), QStringLiteral("Ацетилхолин"));
        p.t.random.values = {0.0};
        click(s, "Cmd_Instill");
        QCOMPARE(s->findChild<QTimer*>("Timer_Oeso")->interval(), 145);
        QCOMPARE(text(s, "Lab_DrugGiven"), QStringLiteral("Ацетилхолин"));
        QCOMPARE(text(s, "lastdrugname_lbl"), QStringLiteral("Раствор Рингера"));
        QVERIFY(child(s, "Image_filler")->isVisible());
        // Atropine after acetylcholine: the pace of Ringer's solution.
        combo->setCurrentIndex(3);
        p.t.random.values = {0.0, 0.9999};
        click(s, "Cmd_Instill");
        QCOMPARE(s->findChild<QTimer*>("Timer_Oeso")->interval(), 235);
        QCOMPARE(items(child<QListWidget>(s, "drughistory")),
                 (QStringList{"Раствор Рингера", "Ацетилхолин", "Атропин"}));
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Возьмите зернышко"));

        // A seed let go beside the drop spot, or beyond the set-up, starts nothing.
        auto* seed = child(s, "Shape_Seed");
        QTimer* seedTimer = s->findChild<QTimer*>("Timer_Oeso");
        dragSeed(s, Drop::ElsewhereOnSetup);
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Возьмите зернышко"));
        dragSeed(s, Drop::OutsideSetup);
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Возьмите и поместите его на пищевод"));
        QVERIFY(!seedTimer->isActive());
        QVERIFY(!seed->isVisible());
        QVERIFY(enabled(s, "Cmd_Instill"));

        // Laid on the spot: the seed appears at the top of the magnified oesophagus.
        dragSeed(s, Drop::OnSpot);
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Запустите часы в начальной точке"));
        QVERIFY(seedTimer->isActive());
        QVERIFY(seed->isVisible());
        QCOMPARE(seed->pos(), twips::point(1400, 650));
        QCOMPARE(seed->size(), twips::size(75, 105));
        QVERIFY(!enabled(s, "Cmd_Instill"));
        QVERIFY(!s->dragging());

        click(s, "Cmd_StartClock");
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Остановите часы в конечной точке"));
        QCOMPARE(child<QPushButton>(s, "Cmd_StartClock")->text(), QStringLiteral("СТОП"));
        for (int i = 0; i < 3; ++i) s->Timer_Clock_Timer();
        QCOMPARE(stopwatch(s), QStringLiteral("00:00:03"));
        click(s, "cmd_Reset");  // while running: back to zero, still running
        QCOMPARE(stopwatch(s), QStringLiteral("00:00:00"));
        QVERIFY(s->findChild<QTimer*>("Timer_Clock")->isActive());
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Остановите часы в конечной точке"));
        s->Timer_Clock_Timer();
        QCOMPARE(stopwatch(s), QStringLiteral("00:00:01"));

        for (int i = 0; i < 10; ++i) s->Timer_Oeso_Timer();
        QCOMPARE(seed->pos(), twips::point(1400, 650 + 10 * 14));
        click(s, "Cmd_StartClock");
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Запишите время"));
        QCOMPARE(child<QPushButton>(s, "Cmd_StartClock")->text(), QStringLiteral("СТАРТ"));
        QVERIFY(!s->findChild<QTimer*>("Timer_Clock")->isActive());
        click(s, "cmd_Reset");
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("ждите"));
        click(s, "Cmd_Instill");  // refused while the seed runs
        QCOMPARE(child<QListWidget>(s, "drughistory")->count(), 3);

        // From 650 by 14 twips: Int(2550 / 14) + 2 = 184 ticks, ten of them done.
        int ticks = 10;
        p.t.random.values = {0.5, 0.5};
        while (!enabled(s, "Cmd_Instill") && ticks < 1000) {
            s->Timer_Oeso_Timer();
            ++ticks;
        }
        QCOMPARE(ticks, 184);
        QVERIFY(!seed->isVisible());
        QVERIFY(!seedTimer->isActive());
        QCOMPARE(text(s, "lbl_stephelp"), QStringLiteral("Выберите вещество и закапайте"));
        QCOMPARE(seed->pos(), twips::point(1660, 745));  // the next seed's place
        QVERIFY(p.run.Oeso_ExamRecs().isEmpty());

        click(s, "Cmdhelp");
        QCOMPARE(p.t.help.calls.last().what, QStringLiteral("contents"));
        QCOMPARE(p.t.help.calls.last().file, QStringLiteral("oesopha.hlp"));
        QCOMPARE(p.t.help.calls.last().owner, s);
    }

    // Each timer runs only while it has something to do: the dropper's until a look finds
    // the dropper gone, the seed's while the seed runs, the examination clock during an
    // examination's run, the stopwatch's while it counts. At rest the screen runs none.
    void timersRunOnlyWhileTheyHaveWork_data() {
        QTest::addColumn<bool>("examination");
        QTest::newRow("tutorial") << false;
        QTest::newRow("examination") << true;
    }
    void timersRunOnlyWhileTheyHaveWork() {
        QFETCH(bool, examination);
        Program p;
        Frm_Oesophagus* s = p.start(examination);
        QCOMPARE(activity::runningTimers(s), QStringList{"filler_timer"});  // the load's instillation
        s->filler_timer_Timer();
        QVERIFY(!child(s, "Image_filler")->isVisible());
        QCOMPARE(activity::runningTimers(s), QStringList{"filler_timer"});
        s->filler_timer_Timer();  // the next look finds it gone
        QCOMPARE(activity::runningTimers(s), QStringList());

        dragSeed(s, Drop::OnSpot);
        click(s, "Cmd_StartClock");
        QStringList running{"Timer_Clock", "Timer_Oeso"};
        if (examination) running.insert(1, QStringLiteral("Timer_Monitor_Clock"));
        QCOMPARE(activity::runningTimers(s), running);
        for (int i = 0; i < 1000 && s->model().Running(); ++i) s->Timer_Oeso_Timer();
        QCOMPARE(activity::runningTimers(s), QStringList{"Timer_Clock"});
        click(s, "Cmd_StartClock");
        QCOMPARE(activity::runningTimers(s), QStringList());

        click(s, examination ? "Cmd_Ringer" : "Cmd_Instill");  // the dropper again
        QCOMPARE(activity::runningTimers(s), QStringList{"filler_timer"});
    }

    void stopwatchRollsOver() {
        Program p;
        Frm_Oesophagus* s = p.start(false);
        click(s, "Cmd_StartClock");
        QStringList seen;
        for (int i = 1; i <= 3600; ++i) {
            s->Timer_Clock_Timer();
            if (i == 59 || i == 60 || i == 3599 || i == 3600) seen << stopwatch(s);
        }
        QCOMPARE(seen, (QStringList{"00:00:59", "00:01:00", "00:59:59", "01:00:00"}));
        // Starting again begins from zero.
        click(s, "Cmd_StartClock");
        click(s, "Cmd_StartClock");
        QCOMPARE(stopwatch(s), QStringLiteral("00:00:00"));
        QVERIFY(child<QLineEdit>(s, "txt_time(1)")->isReadOnly());
    }

    // Keys through the window system while a seed runs. The keyboard is where it shows: on
    // the stopwatch's start, the student's next step, and never in the stopwatch's digits.
    // No key leaves the run, whichever control it reaches.
    void keysDuringARun_data() {
        QTest::addColumn<bool>("examination");
        QTest::addColumn<QString>("lastClicked");  // it leaves the keyboard on a button the seed disables
        QTest::newRow("tutorial") << false << "Cmd_Instill";
        QTest::newRow("examination") << true << "Cmd_Ringer";
    }
    void keysDuringARun() {
        QFETCH(bool, examination);
        QFETCH(QString, lastClicked);
        ProgramWith<RealDesktopContext> p;
        Frm_Oesophagus* s = p.start(examination);
        QVERIFY(s && real_input::activate(s));
        real_input::click(child(s, lastClicked));
        laySeedByHand(s);
        QVERIFY(s->model().Running());
        QCOMPARE(QApplication::focusWidget(), child(s, "Cmd_StartClock"));
        for (const char* name : {"txt_time(0)", "txt_time(1)", "txt_time(2)"})
            QVERIFY2(!child<QLineEdit>(s, name)->hasSelectedText(), name);
        real_input::key(s, Qt::Key_Space);
        QCOMPARE(child<QPushButton>(s, "Cmd_StartClock")->text(), QStringLiteral("СТОП"));

        // Round the window with Tab; on each button that would leave the run, Space and Return.
        QStringList leaving;
        for (int i = 0; i < 40; ++i) {
            real_input::key(s, Qt::Key_Tab);
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f && f->window() == s);
            QVERIFY2(!f->objectName().startsWith(QLatin1String("txt_time")), "the focus went into the stopwatch");
            if (f->objectName() != QLatin1String("Cmd_Next") && f->objectName() != QLatin1String("Cmd_New") &&
                f->objectName() != QLatin1String("Command2"))
                continue;
            if (!leaving.contains(f->objectName())) leaving << f->objectName();
            for (Qt::Key k : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
                real_input::key(s, k);
                QVERIFY2(p.screen() == s && s->isVisible() && s->model().Running(), qPrintable(f->objectName()));
            }
        }
        leaving.sort();
        QCOMPARE(leaving, examination ? (QStringList{"Cmd_Next", "Command2"})
                                      : (QStringList{"Cmd_New", "Cmd_Next", "Command2"}));

        // Once the seed has arrived, Space on "Далее" goes on as before.
        for (int i = 0; i < 1000 && s->model().Running(); ++i) s->Timer_Oeso_Timer();
        child(s, "Cmd_Next")->setFocus();
        p.t.messages.answers = {MsgAnswer::Yes};  // the examination ends with its unknown left
        real_input::key(s, Qt::Key_Space);
        QVERIFY(p.screen() != s || !s->isVisible());
    }

    void newFrogTableQuestionsAndBack() {
        Program p;
        Frm_Oesophagus* s = p.start(false);
        child<QComboBox>(s, "Combo_Drug")->setCurrentIndex(2);
        click(s, "Cmd_Instill");
        click(s, "Cmd_StartClock");
        s->Timer_Clock_Timer();

        // The sample table over the screen, and back.
        click(s, "Cmd_Table");
        Frm_Oeso_Table* table = p.table();
        QVERIFY(table && table->isVisible());
        QVERIFY(s->isVisible());
        QCOMPARE(table->windowTitle(), QStringLiteral("Morvane - Oesophagus T1.00"));
        QVERIFY(child(table, "Frame_Grid")->isVisible());
        QVERIFY(!child(table, "Frame_Pass")->isVisible());
        QVERIFY(child(table, "Label2")->isVisible());
        QCOMPARE(table->cell(0, 0), QStringLiteral(" Номер"));
        QCOMPARE(table->cell(0, 1), QStringLiteral("  Вещества  "));
        QCOMPARE(table->cell(0, 5), QStringLiteral("  Среднее  "));
        QCOMPARE(table->cell(1, 1), QStringLiteral("Раствор Рингера"));
        QCOMPARE(table->cell(1, 2), QStringLiteral("38"));
        QCOMPARE(table->cell(1, 5), QStringLiteral("38.7"));  // the mean of 38, 41 and 37, rounded
        QCOMPARE(table->cell(2, 5), QStringLiteral("27.0"));
        QCOMPARE(table->cell(3, 1), QString());
        QCOMPARE(child<QTableWidget>(table, "Grid_oeso")->rowCount(), 5);
        QVERIFY(child<QTableWidget>(table, "Grid_oeso")->isColumnHidden(6));
        click(table, "Cmd_End");
        QVERIFY(!p.table());
        QVERIFY(s->isVisible());
        flushDeletes();

        // The next frog: a new number, Ringer's solution only, the stopwatch at zero.
        p.t.random.values = {0.0, 0.9999, 0.9999, 0.9999};
        click(s, "Cmd_New");
        QCOMPARE(text(s, "frogno"), QStringLiteral("Лягушка №2"));
        QCOMPARE(items(child<QListWidget>(s, "drughistory")), QStringList{"Раствор Рингера"});
        QCOMPARE(text(s, "lastdrugname_lbl"), QStringLiteral("Нет"));
        QCOMPARE(stopwatch(s), QStringLiteral("00:00:00"));
        QVERIFY(!s->findChild<QTimer*>("Timer_Clock")->isActive());
        QCOMPARE(s->model().SeedStep(), 12);
        QCOMPARE(s->findChild<QTimer*>("Timer_Oeso")->interval(), 235);
        QCOMPARE(child<QComboBox>(s, "Combo_Drug")->count(), 7);  // the table is not read twice

        // The questions, and back to the same frog.
        click(s, "Cmd_Next");
        QWidget* quest = p.find("Frm_Oeso_Quest");
        QVERIFY(quest && quest->isVisible());
        QVERIFY(!s->isVisible());
        QCOMPARE(quest->windowTitle(), QStringLiteral(" Morvane-Пищевод T1.00R"));
        QCOMPARE(
            text(quest, "Label5(1)"),
            QStringLiteral("6. Дайте теоретическое обоснование применения антихолинестеразы при миастении гравис."));
        QCOMPARE(quest->findChildren<QLabel*>().size(), 6);
        click(quest, "cmdBack");
        QCOMPARE(p.screen(), s);
        QVERIFY(s->isVisible());
        QCOMPARE(text(s, "frogno"), QStringLiteral("Лягушка №2"));
        flushDeletes();

        click(s, "Cmd_Next");
        click(p.find("Frm_Oeso_Quest"), "Cmd_Done1");
        QVERIFY(p.find("Frm_Oeso_main"));
        QVERIFY(!p.find("Frm_Oesophagus"));
        QVERIFY(!p.find("Frm_Oeso_Quest"));
        QCOMPARE(p.run.Oeso_Mode(), OesoMode::None);
    }

    void backToTheHomeScreen() {
        Program p;
        Frm_Oesophagus* s = p.start(false);
        click(s, "Cmd_Table");
        click(s, "Command2");
        QVERIFY(p.find("Frm_Oeso_main"));
        QVERIFY(!p.find("Frm_Oesophagus"));
        QVERIFY(!p.find("Frm_Oeso_Table"));
        QCOMPARE(p.run.Oeso_DataLoaded(), false);
        QCOMPARE(p.run.Oeso_Mode(), OesoMode::None);
        QCOMPARE(p.t.help.calls.last().what, QStringLiteral("quit"));
    }

    void examinationLeftEarly() {
        Program p;
        Frm_Oesophagus* s = p.start(true);
        QCOMPARE(p.run.Oeso_Mode(), OesoMode::Examination);
        QCOMPARE(s->windowTitle(),
                 QStringLiteral("Влияние веществ на подвижность ресничек в пищеводе лягушки - Режим проверки "));
        QVERIFY(!child(s, "Frame_Drug")->isVisible());
        QVERIFY(child(s, "Frame_Drug_Select")->isVisible());
        QVERIFY(!child(s, "Lab_DrugGiven")->isVisible());
        QVERIFY(!child(s, "Lab_drug")->isVisible());
        QCOMPARE(items(child<QListWidget>(s, "Lst_UnknownDrug")),
                 (QStringList{"Ацетилхолин", "Физостигмин", "Атропин", "Карбахол", "Пилокарпин", "Тубокурарин"}));
        QVERIFY(!enabled(s, "Cmd_New"));
        QVERIFY(!enabled(s, "Cmd_Table"));
        QVERIFY(enabled(s, "Cmd_Next"));
        for (const char* b : {"Cmd_Ringer", "Cmd_Exam_Unknow", "Cmd_DrgIdentified"}) QVERIFY2(enabled(s, b), b);
        const QVector<OesoExamRec>& recs = p.run.Oeso_ExamRecs();
        QCOMPARE(recs.size(), 3);
        QCOMPARE(recs[1].Drug, QStringLiteral("Карбахол"));

        // Before any solution: the first run is kept as Ringer's T1, the second is not.
        dragSeed(s, Drop::OnSpot);
        for (const char* b : {"Cmd_Ringer", "Cmd_Exam_Unknow", "Cmd_DrgIdentified", "Cmd_Instill"})
            QVERIFY2(!enabled(s, b), b);
        for (int i = 0; i < 40; ++i) s->Timer_Monitor_Clock_Timer();
        while (!enabled(s, "Cmd_Instill")) s->Timer_Oeso_Timer();
        QCOMPARE(recs[0].T1, 40);
        QVERIFY(!s->findChild<QTimer*>("Timer_Monitor_Clock")->isActive());
        for (const char* b : {"Cmd_Ringer", "Cmd_Exam_Unknow", "Cmd_DrgIdentified"}) QVERIFY2(enabled(s, b), b);
        timedRun(s, 35);
        QCOMPARE(recs[0].T2, 0);

        p.t.random.values = {0.5, 0.5};
        click(s, "Cmd_Ringer");
        QVERIFY(!enabled(s, "Cmd_Ringer"));
        QCOMPARE(s->findChild<QTimer*>("Timer_Oeso")->interval(), 218);
        for (int t : {38, 41, 37}) timedRun(s, t);
        QCOMPARE((QList<int>{recs[0].T1, recs[0].T2, recs[0].T3}), (QList<int>{38, 41, 37}));
        QVERIFY(!enabled(s, "Cmd_Ringer"));  // once given, it stays given
        QVERIFY(enabled(s, "Cmd_Exam_Unknow"));

        // A second seed during a run: the count starts again, and the unknown can still
        // be given when the run ends.
        dragSeed(s, Drop::OnSpot);
        for (int i = 0; i < 10; ++i) s->Timer_Monitor_Clock_Timer();
        timedRun(s, 5);
        QVERIFY(enabled(s, "Cmd_Exam_Unknow"));
        QVERIFY(!enabled(s, "Cmd_Ringer"));

        click(s, "Cmd_Exam_Unknow");
        QVERIFY(!enabled(s, "Cmd_Ringer"));
        QVERIFY(!enabled(s, "Cmd_Exam_Unknow"));
        timedRun(s, 40);
        QCOMPARE(recs[1].T1, 40);
        chooseUnknown(s, QStringLiteral("Карбахол"));
        p.t.messages.answers = {MsgAnswer::Yes};
        click(s, "Cmd_DrgIdentified");
        QCOMPARE(recs[1].Identified, QStringLiteral("Карбахол"));
        QCOMPARE(recs.size(), 5);
        QVERIFY(enabled(s, "Cmd_Ringer") && enabled(s, "Cmd_Exam_Unknow"));
        QVERIFY(p.screen());

        // "Далее" before every unknown is named: the table shows what was recorded.
        p.t.messages.answers = {MsgAnswer::Yes};
        click(s, "Cmd_Next");
        QVERIFY(!p.find("Frm_Oesophagus"));
        Frm_Oeso_Table* table = p.table();
        QVERIFY(table && table->isVisible());
        QVERIFY(child(table, "Frame_Pass")->isVisible());
        QVERIFY(!child(table, "Frame_Grid")->isVisible());
        QVERIFY(!(table->windowFlags() & Qt::WindowCloseButtonHint));
        for (const char* wrong : {"secre", "secrets"}) {
            QTest::keyClicks(child<QLineEdit>(table, "Txt_PassW"), QString::fromLatin1(wrong));
            click(table, "Cmd_ok");
            QCOMPARE(p.t.messages.shown.last().text, QStringLiteral("Invalid Password. "));
            QCOMPARE(p.t.messages.shown.last().title, QStringLiteral(" Password Error "));
            QCOMPARE(text(table, "Txt_PassW"), QString());
            QVERIFY(!child(table, "Frame_Grid")->isVisible());
        }
        QTest::keyClicks(child<QLineEdit>(table, "Txt_PassW"), QStringLiteral("  secret "));
        click(table, "Cmd_ok");
        QVERIFY(child(table, "Frame_Grid")->isVisible());
        QVERIFY(!child(table, "Frame_Pass")->isVisible());
        QVERIFY(!child(table, "Label2")->isVisible());
        auto* grid = child<QTableWidget>(table, "Grid_oeso");
        QCOMPARE(grid->rowCount(), 5);
        QVERIFY(!grid->isColumnHidden(6) && grid->columnWidth(6) > 0);
        const QStringList expected[] = {
            {" Номер", " Drug  Given ", "Измерение 1 ", "Измерение 2 ", "Измерение 3 ", "  Среднее  ",
             " Drug Identified"},
            {"1", "Раствор Рингера", "38", "41", "37", "38.7", ""},
            {"2", "Карбахол", "40", "—", "—", "40.0", "Карбахол"},
            {"3", "Раствор Рингера", "—", "—", "—", "—", ""},
        };
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 7; ++c) QCOMPARE(table->cell(r, c), expected[r][c]);
        QCOMPARE(table->cell(4, 6), QString());
        QCOMPARE_GE(contrast::lowestInGrid(grid), 4.5);  // the red text reads on white and on the headings
        QVERIFY(table->width() <= 790 && table->height() <= 565);

        click(table, "Cmd_End");
        QVERIFY(p.find("Frm_Oeso_main"));
        QVERIFY(!p.find("Frm_Oeso_Table"));
        QCOMPARE(p.run.Oeso_Mode(), OesoMode::None);
        QCOMPARE(p.run.Oeso_Password(), QString());
    }

    void lastIdentificationOpensTheTable() {
        Program p;
        Frm_Oesophagus* s = p.start(true);
        const QStringList names = items(child<QListWidget>(s, "Lst_UnknownDrug"));
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(p.screen());
            chooseUnknown(s, names[n - 1]);
            p.t.messages.answers = {MsgAnswer::Yes};
            click(s, "Cmd_DrgIdentified");
        }
        QVERIFY(!p.find("Frm_Oesophagus"));
        QVERIFY(p.table() && p.table()->isVisible());
        QCOMPARE(p.run.Oeso_ExamRecs().size(), 13);
        QStringList unknowns;
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(p.run.Oeso_ExamRecs()[2 * k].Drug, QStringLiteral("Раствор Рингера"));
            unknowns << p.run.Oeso_ExamRecs()[2 * k + 1].Drug;
            QCOMPARE(p.run.Oeso_ExamRecs()[2 * k + 1].Identified, names[k]);
        }
        unknowns.sort();
        QStringList all = names;
        all.sort();
        QCOMPARE(unknowns, all);  // each unknown once
    }

    // An examination from the name form to the marked results: the heading, the banner of
    // the unknowns, the confirmations, an answer under another name of the drug, "Далее"
    // with unknowns left, and the journal.
    void examinationMarked() {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        // Эзерин is Физостигмин under another name (the list has both on one line).
        makeTable({QStringLiteral("'Раствор Рингера', 13, 15, 200, 235"),
                   QStringLiteral("'Физостигмин', 13, 15, 110, 130"), QStringLiteral("'Атропин', 13, 15, 240, 270"),
                   QStringLiteral("'Эзерин', 13, 15, 110, 130"), QStringLiteral("'Карбахол', 13, 15, 125, 145")});
        for (const char* file : {"Icon1.ico", "f_oeso_names.txt"})
            QVERIFY(QFile::copy(QStringLiteral(MORVANE_DATA_DIR "/") + QString::fromLatin1(file),
                                dir.filePath(QString::fromLatin1(file))));
        Program p;
        Frm_Oesophagus* s = p.start(true);  // the first unknown drawn: row 3, Эзерин
        QVERIFY(s);
        QCOMPARE(text(s, "Lbl_ExamHeading"), QStringLiteral("Экзамен — Иванов Иван, гр. 101"));
        QVERIFY(child(s, "Lbl_ExamHeading")->isVisible() && child(s, "Lbl_Unknown")->isVisible());
        QCOMPARE(text(s, "Lbl_Unknown"), QStringLiteral("неизвестное 1 из 4"));

        click(s, "Cmd_Ringer");
        timedRun(s, 38);
        click(s, "Cmd_Exam_Unknow");
        timedRun(s, 20);
        chooseUnknown(s, QStringLiteral("Физостигмин"));
        // No keeps everything as it was.
        const int shown = p.t.messages.shown.size();
        p.t.messages.answers = {MsgAnswer::No};
        click(s, "Cmd_DrgIdentified");
        QCOMPARE(p.t.messages.shown.size(), shown + 1);
        QCOMPARE(p.t.messages.shown.last().buttons, MsgButtons::YesNo);
        QCOMPARE(p.t.messages.shown.last().defaultAnswer, MsgAnswer::No);
        QVERIFY(p.t.messages.shown.last().text.contains(QStringLiteral("«Физостигмин»")));
        QCOMPARE(p.run.Oeso_ExamRecs().size(), 3);
        QCOMPARE(p.run.Oeso_ExamRecs()[1].Identified, QString());
        QCOMPARE(text(s, "Lbl_Unknown"), QStringLiteral("неизвестное 1 из 4"));
        QVERIFY(enabled(s, "Cmd_DrgIdentified"));

        p.t.messages.answers = {MsgAnswer::Yes};
        p.t.random.values = {0.5};  // of Физостигмин, Атропин, Карбахол: Атропин
        click(s, "Cmd_DrgIdentified");
        QCOMPARE(text(s, "Lbl_Unknown"), QStringLiteral("неизвестное 2 из 4"));
        QCOMPARE(p.run.Oeso_ExamRecs()[3].Drug, QStringLiteral("Атропин"));
        click(s, "Cmd_Exam_Unknow");
        timedRun(s, 45);
        chooseUnknown(s, QStringLiteral("Физостигмин"));
        p.t.messages.answers = {MsgAnswer::Yes};
        p.t.random.values = {0.0};  // of Физостигмин, Карбахол: Физостигмин
        click(s, "Cmd_DrgIdentified");
        QCOMPARE(text(s, "Lbl_Unknown"), QStringLiteral("неизвестное 3 из 4"));

        // "Далее" with two unknowns left asks; No stays.
        p.t.messages.answers = {MsgAnswer::No};
        click(s, "Cmd_Next");
        QVERIFY(p.t.messages.shown.last().text.contains(QStringLiteral("Не определено неизвестных: 2 из 4")));
        QCOMPARE(p.t.messages.shown.last().defaultAnswer, MsgAnswer::No);
        QVERIFY(p.screen() && !p.table());
        p.t.messages.answers = {MsgAnswer::Yes};
        click(s, "Cmd_Next");
        Frm_Oeso_Table* table = p.table();
        QVERIFY(table && !p.screen());
        QCOMPARE(text(table, "Lbl_ExamHeading"), QStringLiteral("Экзамен — Иванов Иван, гр. 101"));
        QVERIFY(!Program::results());
        QTest::keyClicks(child<QLineEdit>(table, "Txt_PassW"), QStringLiteral("secret"));
        click(table, "Cmd_ok");
        QCOMPARE(table->cell(2, 6), QStringLiteral("Физостигмин"));  // the table as before

        QWidget* results = Program::results();
        QVERIFY(results && results->isVisible());
        auto* marks = child<QTableWidget>(results, "Tbl_Marks");
        const QStringList expected[] = {
            {"1", "Эзерин", "Физостигмин", "Рингер: 38, —, — с (среднее 38.0); неизвестное: 20, —, — с (среднее 20.0)",
             "верно"},
            {"2", "Атропин", "Физостигмин", "Рингер: —, —, — с (среднее —); неизвестное: 45, —, — с (среднее 45.0)",
             "неверно"},
            {"3", "Физостигмин", "", "Рингер: —, —, — с (среднее —); неизвестное: —, —, — с (среднее —)", "неверно"},
            {"4", "Карбахол", "", "не выдано", "неверно"},
        };
        QCOMPARE(marks->rowCount(), 4);
        QStringList journal;
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 5; ++c) QCOMPARE(marks->item(r, c)->text(), expected[r][c]);
            journal << QStringLiteral("morvane %1 | Пищевод лягушки | Иванов Иван | 101 | %2 | 4 | %3 | %4 | %5 | %6")
                           .arg(ExamRecord::programVersion(), expected[r][0], expected[r][1], expected[r][2],
                                expected[r][4], expected[r][3]);
        }
        QCOMPARE(text(results, "Lbl_Score"), QStringLiteral("Итого: 1 из 4"));
        QCOMPARE(journalLines(p.t.ctx.journalPath, QStringLiteral("SECRET")), journal);
    }

    void oneRowTable() {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        makeTable({QStringLiteral("'Раствор Рингера', 13, 15, 200, 235")});
        for (const char* file : {"Icon1.ico", "f_oeso_names.txt"})
            QVERIFY(QFile::copy(QStringLiteral(MORVANE_DATA_DIR "/") + QString::fromLatin1(file),
                                dir.filePath(QString::fromLatin1(file))));
        Program p;
        Frm_Oesophagus* s = p.start(true);
        QVERIFY(s);
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown[0].text, QStringLiteral("  Системная ошибка. Перезапустите   "));
        QCOMPARE(p.t.messages.shown[0].title, QStringLiteral("Morvane T1.00R"));
        QVERIFY(p.t.desktop.quits.isEmpty());
        QVERIFY(enabled(s, "Cmd_Ringer"));
        QVERIFY(!enabled(s, "Cmd_Exam_Unknow"));  // there is nothing to hand out
        QCOMPARE(child<QListWidget>(s, "Lst_UnknownDrug")->count(), 0);
        click(s, "Cmd_Ringer");
        timedRun(s, 30);
        QVERIFY(!enabled(s, "Cmd_Exam_Unknow"));
        p.t.messages.answers = {MsgAnswer::Yes};
        click(s, "Cmd_DrgIdentified");
        QVERIFY(!p.find("Frm_Oesophagus"));
        QVERIFY(p.table());
        QCOMPARE(p.run.Oeso_ExamRecs()[0].T1, 30);
    }

    void missingFiles() {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        {
            Program p;  // no drug table: one message, the program ends, no screen
            QWidget* home = p.t.ctx.navigator.open(OesoWindows::Frm_Oeso_main);
            click(home, "Cmd_Tut");
            QCOMPARE(p.t.messages.shown.size(), 1);
            QVERIFY(p.t.messages.shown[0].text.contains(QStringLiteral("f_oeso.mdb")));
            QCOMPARE(p.t.desktop.quits, QVector<int>{1});
            QVERIFY(!p.find("Frm_Oesophagus"));
        }
        QVERIFY(
            QFile::copy(QStringLiteral(MORVANE_DATA_DIR "/f_oeso.mdb"), dir.filePath(QStringLiteral("f_oeso.mdb"))));
        {
            Program p;  // no list of the drugs' other names: one message, the program ends, no screen
            QWidget* home = p.t.ctx.navigator.open(OesoWindows::Frm_Oeso_main);
            click(home, "Cmd_Tut");
            QCOMPARE(p.t.messages.shown.size(), 1);
            QVERIFY(p.t.messages.shown[0].text.contains(QStringLiteral("f_oeso_names.txt")));
            QCOMPARE(p.t.desktop.quits, QVector<int>{1});
            QVERIFY(!p.find("Frm_Oesophagus"));
        }
        QVERIFY(QFile::copy(QStringLiteral(MORVANE_DATA_DIR "/f_oeso_names.txt"),
                            dir.filePath(QStringLiteral("f_oeso_names.txt"))));
        {
            Program p;  // no seed cursor: the program ends when a seed is taken
            Frm_Oesophagus* s = p.start(false);
            QVERIFY(s);
            QTest::mousePress(child(s, "Img_Seeds"), Qt::LeftButton);
            QVERIFY(p.t.messages.shown.last().text.contains(QStringLiteral("Icon1.ico")));
            QCOMPARE(p.t.desktop.quits, QVector<int>{1});
            QVERIFY(!QGuiApplication::overrideCursor());
            QVERIFY(!s->dragging());
        }
    }
};

QTEST_MAIN(TstOesoScreen)
#include "tst_oeso_screen.moc"
