// The rabbit eye from its home screen to the results, through the real controls, with the
// program's data folder (pictures and the shipped substance table).
#include <QComboBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "clickable_label.h"
#include "contrast.h"
#include "controls.h"
#include "data_files.h"
#include "exam_journal.h"
#include "experiment_home.h"
#include "fakes.h"
#include "frm_rab_table.h"
#include "frm_rabbit.h"
#include "journal.h"
#include "pictures.h"
#include "rabbit_run_state.h"
#include "rabbit_widgets.h"
#include "rabbit_windows.h"

using namespace controls;

namespace {

const EyeSide L = EyeSide::Left;
const EyeSide R = EyeSide::Right;

struct Program {
    TestContext t;
    RabbitRunState run;
    Program() {
        registerRabbitWindows(t.ctx, run);
        t.ctx.navigator.add(LauncherWindows::Frm_Selection, [] { return new QWidget; });
    }
    ~Program() {
        for (const char* n : {"Frm_Rab_Table", "Frm_Rabbit", "Frm_Rab_main", "Frm_Selection"})
            t.ctx.navigator.closeIfOpen(windowNamed(QString::fromLatin1(n)));
        flushDeletes();
    }
    QWidget* find(const char* name) const { return t.ctx.navigator.find(windowNamed(QString::fromLatin1(name))); }
    Frm_Rabbit* screen() const { return qobject_cast<Frm_Rabbit*>(find("Frm_Rabbit")); }
    QWidget* table() const { return find("Frm_Rab_Table"); }

    // From the home screen into the experiment, as the student does.
    Frm_Rabbit* start(const QString& password = QString()) {
        QWidget* home = t.ctx.navigator.open(RabbitWindows::Frm_Rab_main);
        if (password.isEmpty()) {
            click(home, "Cmd_Tut");
        } else {
            click(home, "cmd_exam");
            QTest::keyClicks(child<QLineEdit>(home, "Txt_PassW"), password);
            click(home, "Cmd_ok");
            nameStudent(home);
        }
        return screen();
    }

    static void click(QWidget* w, const char* name) {
        QWidget* c = child(w, name);
        if (auto* b = qobject_cast<QPushButton*>(c))
            QTest::mouseClick(b, Qt::LeftButton);
        else
            QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(4, 4));
    }
    static bool shown(QWidget* w, const char* name) { return child(w, name)->isVisible(); }
    static PupilShape* pupil(QWidget* s, EyeSide side) {
        return child<PupilShape>(s, side == L ? "Shape_LEye" : "Shape_REye");
    }
    // Chooses a line of the substance list, then instils it into an eye.
    static void instil(Frm_Rabbit* s, const char* eyeButton, int line = -1) {
        if (line >= 0) child<QComboBox>(s, "Combo_Drug")->setCurrentIndex(line);
        click(s, "Cmd_Instill");
        click(s, eyeButton);
    }
    static void runClock(Frm_Rabbit* s, EyeSide side) {
        QTimer* clock = child<QTimer>(s, side == L ? "Timer_L_Instill" : "Timer_R_Instill");
        for (int step = 0; step < 3 && clock->isActive(); ++step)
            side == L ? s->Timer_L_Instill_Timer() : s->Timer_R_Instill_Timer();
        QVERIFY(!clock->isActive());
    }
    // Centre of a control in pixels of the screen.
    static QPoint centreOf(Frm_Rabbit* s, const char* name) {
        QWidget* w = child(s, name);
        return w->mapTo(s, w->rect().center());
    }
    static bool showsPicture(QWidget* s, const char* label, const char* file) {
        return child<QLabel>(s, label)->pixmap().toImage() == dataPicture(QString::fromLatin1(file)).toImage();
    }
};

// Runs the screen's instillation clocks on simulated time: a clock fires when its
// interval has passed since it was started or given a new interval.
struct SimulatedClock {
    explicit SimulatedClock(Frm_Rabbit* s) : screen(s) {}
    Frm_Rabbit* screen;
    double now = 0;
    QHash<QTimer*, double> due;
    QTimer* clock(EyeSide side) const {
        return child<QTimer>(screen, side == L ? "Timer_L_Instill" : "Timer_R_Instill");
    }
    void notice() {
        for (EyeSide side : {L, R}) {
            QTimer* c = clock(side);
            if (c->isActive() && !due.contains(c)) due.insert(c, now + c->interval());
        }
    }
    // Advances to `until`, firing the clocks that fall due; `fired` sees each step.
    template <typename F>
    void runUntil(double until, F fired) {
        notice();
        for (;;) {
            QTimer* next = nullptr;
            for (auto it = due.cbegin(); it != due.cend(); ++it)
                if (!next || it.value() < due.value(next)) next = it.key();
            if (!next || due.value(next) > until) break;
            now = due.value(next);
            const int interval = next->interval();
            const EyeSide side = next == clock(L) ? L : R;
            side == L ? screen->Timer_L_Instill_Timer() : screen->Timer_R_Instill_Timer();
            fired(side, interval, now);
            if (next->isActive())
                due.insert(next, now + next->interval());
            else
                due.remove(next);
        }
        now = until;
    }
};

}  // namespace

class TstRabbitScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(data_files::enterDataFolder(&error), qPrintable(error));
    }

    void tutorial() {
        Program p;
        Frm_Rabbit* s = p.start();
        QVERIFY(s);
        QCOMPARE(p.run.Rab_Mode(), RabMode::Tutorial);
        QCOMPARE(p.run.Rab_DataLoaded(), true);
        QVERIFY(!p.find("Frm_Rab_main"));
        QCOMPARE(s->windowTitle(), QStringLiteral(" Воздействие веществ на глаз кролика - Режим обучения "));
        QVERIFY(!(s->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(s->width() <= 790 && s->height() <= 565);
        QCOMPARE(text(s, "Lbl_step"), QStringLiteral("Измерьте зрачок и проверьте рефлексы"));
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 1"));
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Атропин"));
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Нет"));
        QCOMPARE(child<QComboBox>(s, "Combo_Drug")->count(), 9);
        QVERIFY(!Program::shown(s, "Frame_Exam") && Program::shown(s, "Frame_help"));
        QVERIFY(!Program::shown(s, "Cmd_Saline") && !Program::shown(s, "lab_Exam"));
        QVERIFY(child(s, "Cmd_Next")->isEnabled() && child(s, "Cmd_Table")->isEnabled());
        QCOMPARE(s->rulerLeft(L), 0);
        QCOMPARE(s->rulerLeft(R), 2580);
        // The first rabbit drew 0 everywhere: normal tensions 911 and 891 twips.
        QCOMPARE(child(s, "Shape_LTension")->geometry(), QRect(162, 266, 61, 13));
        QCOMPARE(s->model().eye(R).Tension, 891.0);

        // Cocaine into the left eye.
        child<QComboBox>(s, "Combo_Drug")->setCurrentIndex(4);
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Кокаин"));
        Program::click(s, "Cmd_Instill");
        QVERIFY(Program::shown(s, "Frame_Eye_Sel") && !Program::shown(s, "Frame_Drug"));
        QCOMPARE(text(s, "Lbl_step"), QStringLiteral("Выберите глаз для закапывания"));
        Program::click(s, "Cmd_LEye");
        QVERIFY(!Program::shown(s, "Frame_Eye_Sel") && Program::shown(s, "Frame_Drug"));
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Кокаин"));
        QVERIFY(Program::showsPicture(s, "Image_LD", "filler.ico"));
        QVERIFY(!child(s, "Cmd_New")->isEnabled());
        QCOMPARE(child<QTimer>(s, "Timer_L_Instill")->interval(), 2600);
        QVERIFY(child<QTimer>(s, "Timer_L_Instill")->isActive());
        const PupilBox base = s->model().eye(L).Base.real();
        s->Timer_L_Instill_Timer();
        QVERIFY(child<QLabel>(s, "Image_LD")->pixmap().isNull());
        QCOMPARE(Program::pupil(s, L)->box(), base);
        s->Timer_L_Instill_Timer();
        QCOMPARE(Program::pupil(s, L)->box().Width, base.Width + 2.5 * 15);  // target 15
        s->Timer_L_Instill_Timer();
        QCOMPARE(Program::pupil(s, L)->box().Width, base.Width + 5 * 15);
        QVERIFY(child(s, "Cmd_New")->isEnabled());

        // The left eye is taken; the student cancels, then types a name of his own.
        Program::click(s, "Cmd_Instill");
        QCOMPARE(text(s, "Lbl_step"), QStringLiteral("Выберите правый глаз для закапывания"));
        Program::click(s, "Cmd_Can");
        QVERIFY(Program::shown(s, "Frame_Drug"));
        auto* combo = child<QComboBox>(s, "Combo_Drug");
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("Caffeine"));
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Caffeine"));
        Program::instil(s, "Cmd_Reye");
        QCOMPARE(text(s, "Lab_rDrug"), QStringLiteral("Caffeine"));
        QCOMPARE(s->model().eye(R).Drug, quint8(0));
        Program::runClock(s, R);
        QCOMPARE(Program::pupil(s, R)->box(), s->model().eye(R).Base.real());

        // Both eyes taken.
        QFocusEvent focus(QEvent::FocusIn);
        QCoreApplication::sendEvent(combo, &focus);
        QCOMPARE(text(s, "Lbl_step"), QStringLiteral("Выберите нового кролика"));
        Program::click(s, "Cmd_Instill");
        QCOMPARE(text(s, "Lbl_step"), QStringLiteral("Выберите нового кролика"));
        Program::click(s, "Cmd_LEye");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown[0].text,
                 QStringLiteral("Вещества уже закапаны в оба глаза. Выберите нового кролика"));
        QCOMPARE(p.t.messages.shown[0].title, QStringLiteral("Morvane T1.00R"));
        QVERIFY(Program::shown(s, "Frame_Drug"));

        // The cotton: the untreated right eye blinks, the anaesthetised left one does not.
        Program::click(s, "Image_Cotton");
        QCOMPARE(s->dragIcon(), QStringLiteral("cotton.ico"));
        s->dragToolTo(Program::centreOf(s, "Pic_Rrab") + QPoint(0, -70));
        QCOMPARE(s->dragIcon(), QStringLiteral("cotton1.ico"));
        s->dragToolTo(Program::centreOf(s, "Image_REye"));
        QVERIFY(!Program::pupil(s, R)->isVisible());
        QVERIFY(Program::showsPicture(s, "Pic_Reye", "Reye2.bmp"));
        QVERIFY(Program::showsPicture(s, "Pic_Rrab", "Rrab2.bmp"));
        QCOMPARE(child<QTimer>(s, "Timer_REye")->interval(), 400);
        QVERIFY(child<QTimer>(s, "Timer_REye")->isActive());
        s->Timer_REye_Timer();
        QVERIFY(Program::pupil(s, R)->isVisible());
        QVERIFY(Program::showsPicture(s, "Pic_Reye", "Reye1.bmp"));
        s->dragToolTo(QPoint(5, 5));
        QCOMPARE(s->dragIcon(), QStringLiteral("cotton.ico"));
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        QVERIFY(Program::pupil(s, L)->isVisible());
        QVERIFY(!child<QTimer>(s, "Timer_LEye")->isActive());
        // The click that puts the cotton down does nothing else, even on a command.
        Program::click(s, "Cmd_New");
        QVERIFY(!s->draggingTool());
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 1"));

        // The torch on the cocaine eye: it narrows, and widens again when the torch goes.
        Program::click(s, "Image_Torche");
        QCOMPARE(s->dragIcon(), QStringLiteral("torche.ico"));
        const PupilBox lit = s->model().eye(L).Pupil;
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        QCOMPARE(Program::pupil(s, L)->box().Width, lit.Width - 75);
        QCOMPARE(Program::pupil(s, L)->box().Left, lit.Left + 30);
        s->dragToolTo(QPoint(5, 5));
        QCOMPARE(Program::pupil(s, L)->box(), lit);
        // Put down on the eye, the torch no longer shines into it.
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        s->endToolDrag();
        QCOMPARE(Program::pupil(s, L)->box(), lit);

        // The sample table, and back to the screen as it was.
        Program::click(s, "Cmd_Table");
        QWidget* table = p.table();
        QVERIFY(table && !s->isVisible());
        QCOMPARE(p.run.Rab_TableRequest(), TableRequest::OnShow);
        QCOMPARE(table->windowTitle(), QStringLiteral("Morvane - Кролик T1.01R"));
        QVERIFY(Program::shown(table, "Frametab") && !Program::shown(table, "Fra_Ques") &&
                !Program::shown(table, "Frame_Pass"));
        auto* grid = child<QTableWidget>(table, "Grid_Rab");
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(grid->columnCount(), 6);
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("Внутриглазное давление\nДо  |  После"));
        // Every heading line shows whole in its column; "До | После" is one of them.
        const QFontMetricsF metrics(grid->font());
        const int room = -2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) - 1;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QStringList lines = grid->item(0, c)->text().split(u'\n');
            for (const QString& line : lines)
                QVERIFY2(metrics.horizontalAdvance(line) <= grid->columnWidth(c) + room, qPrintable(line));
            if (c >= 2) QCOMPARE(lines.filter(QStringLiteral("До")), lines.filter(QStringLiteral("После")));
            if (c >= 2) QCOMPARE(lines.filter(QStringLiteral("После")).size(), 1);
        }
        QVERIFY(table->width() <= 800);
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("    2 (ПрГ)"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral(" Адреналин "));
        // Red text, dark enough to read on the white cells and the grey headings.
        QCOMPARE(grid->item(1, 1)->foreground().color().hue(), 0);
        QCOMPARE_GE(contrast::lowestInGrid(grid), 4.5);
        QVERIFY(!grid->item(1, 2));
        Program::click(table, "Cmd_End");
        flushDeletes();
        QCOMPARE(p.screen(), s);
        QVERIFY(s->isVisible());
        QVERIFY(!p.table());
        QCOMPARE(p.run.Rab_TableRequest(), TableRequest::None);
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Кокаин"));

        // "Далее": the questions; "Назад" returns, "&OK" ends at the home screen.
        Program::click(s, "Cmd_Next");
        table = p.table();
        QVERIFY(Program::shown(table, "Fra_Ques") && !Program::shown(table, "Frametab"));
        QCOMPARE(text(table, "laQ"), QStringLiteral("3. Какое применение имеют мидриатики в терапии?"));
        QVERIFY(text(table, "labq2")
                    .startsWith(
                        QStringLiteral("4. Жидкость, полученная из желудка пациента с отравлением, будучи введенной")));
        Program::click(table, "Cmd_return");
        flushDeletes();
        QVERIFY(s->isVisible());
        Program::click(s, "Cmd_Next");
        Program::click(p.table(), "Cmd_ok");
        flushDeletes();
        QVERIFY(p.find("Frm_Rab_main"));
        QVERIFY(!p.screen() && !p.table());
        QCOMPARE(p.run.Rab_Mode(), RabMode::None);
    }

    void bothEyesReachFullStageOnTheirOwnClocks() {
        Program p;
        Frm_Rabbit* s = p.start();
        SimulatedClock clock{s};
        QVector<QPair<int, double>> leftSteps, rightSteps;  // interval that fired, time
        auto fired = [&](EyeSide side, int interval, double at) {
            (side == L ? leftSteps : rightSteps) << qMakePair(interval, at);
        };
        Program::instil(s, "Cmd_LEye", 0);  // atropine
        clock.runUntil(1000, fired);
        QCOMPARE(Program::pupil(s, L)->box(), s->model().eye(L).Base.real());  // the drop is still falling
        Program::instil(s, "Cmd_Reye", 6);                                     // pilocarpine
        QVERIFY(!child(s, "Cmd_New")->isEnabled());
        clock.runUntil(3649, fired);
        QCOMPARE(Program::pupil(s, L)->box().Width, 620 + 2.5 * 40);  // half stage since 3100
        clock.runUntil(3650, fired);
        QCOMPARE(Program::pupil(s, L)->box().Width, 620 + 5 * 40.0);
        // The end of one clock gives the command back, though the other still runs.
        QVERIFY(child(s, "Cmd_New")->isEnabled());
        clock.runUntil(10000, fired);
        QCOMPARE(leftSteps, (QVector<QPair<int, double>>{{2600, 2600}, {500, 3100}, {550, 3650}}));
        QCOMPARE(rightSteps, (QVector<QPair<int, double>>{{2600, 3600}, {500, 4100}, {550, 4650}}));
        QCOMPARE(Program::pupil(s, R)->box().Width, 500 - 5 * 80.0);
        QCOMPARE(s->model().eye(L).Tension, 1060.0);
        QCOMPARE(s->model().eye(R).Tension, 740.0);
    }

    void torchHeldWhileAStageAppliesThenTakenAway() {
        Program p;
        Frm_Rabbit* s = p.start();
        Program::instil(s, "Cmd_LEye", 2);  // mesaton: the light reflex stays
        s->Timer_L_Instill_Timer();
        s->Timer_L_Instill_Timer();
        const PupilBox half = Program::pupil(s, L)->box();
        s->Image_Torche_Click();
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        QCOMPARE(Program::pupil(s, L)->box().Width, half.Width - 75);
        s->Timer_L_Instill_Timer();  // the full stage, under the torch: still narrowed by the light
        QCOMPARE(Program::pupil(s, L)->box().Width, 620 + 5 * 20.0 - 75);
        s->dragToolTo(QPoint(5, 5));  // taken away: the full stage
        QCOMPARE(Program::pupil(s, L)->box(), (PupilBox{1743, 1163, 720, 598}));
        QVERIFY(Program::pupil(s, L)->box().Width > half.Width);
        s->endToolDrag();
    }

    void newRabbit() {
        Program p;
        Frm_Rabbit* s = p.start();
        Program::instil(s, "Cmd_LEye", 0);
        s->Timer_L_Instill_Timer();
        // The picture answers even while "Новый" waits for the drop.
        QVERIFY(!child(s, "Cmd_New")->isEnabled());
        p.t.random.values = std::deque<double>(6, 0.9999);
        Program::click(s, "Pic_Rabbit");
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 2"));
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Нет"));
        QVERIFY(!Program::pupil(s, L)->isVisible() && !Program::pupil(s, R)->isVisible());
        QVERIFY(child<QLabel>(s, "Pic_LEye")->pixmap().isNull());
        // The new rabbit's eyes are untouched: the old drop does not act on them.
        QVERIFY(!child<QTimer>(s, "Timer_L_Instill")->isActive());
        QVERIFY(child(s, "Cmd_New")->isEnabled());
        QCOMPARE(s->model().eye(L).Base, (WholeBox{1805, 1205, 685, 500}));
        QCOMPARE(Program::pupil(s, L)->box(), s->model().eye(L).Base.real());
        QCOMPARE(s->model().eye(L).Tension, 980.0);
        QCOMPARE(s->model().eye(L).Done, false);
        for (const char* timer : {"Timer_LEye", "Timer_REye"}) {
            QVERIFY(child<QTimer>(s, timer)->isActive());
            QCOMPARE(child<QTimer>(s, timer)->interval(), 100);
        }
        s->Timer_LEye_Timer();
        s->Timer_REye_Timer();
        QVERIFY(Program::pupil(s, L)->isVisible());
        QVERIFY(Program::showsPicture(s, "Pic_LRab", "LRab1.bmp"));
        // Blinks are short from now on.
        s->Image_Cotton_Click();
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        QCOMPARE(child<QTimer>(s, "Timer_LEye")->interval(), 100);
        s->endToolDrag();
        // The label and "Новый" give new rabbits too; the rulers go back to their places.
        s->Pic_Reye_DragOver(child(s, "Picture_Scale_R"), 1000, 500, Frm_Rabbit::Over);
        Program::click(s, "Lab_Rab_No");
        Program::click(s, "Cmd_New");
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 4"));
        QCOMPARE(s->rulerLeft(R), 2580);

        // The last rabbit.
        while (s->model().RabbitNo() < RabbitModel::lastRabbit) s->Cmd_New_Click();
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 255"));
        p.t.messages.shown.clear();
        Program::click(s, "Cmd_New");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QVERIFY(p.t.messages.shown[0].text.contains(QStringLiteral("последний кролик")));
        QCOMPARE(s->model().RabbitNo(), quint8(255));
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 255"));
    }

    void rulers() {
        Program p;
        Frm_Rabbit* s = p.start();
        QWidget* left = child(s, "Picture_ScaleL");
        QWidget* right = child(s, "Picture_Scale_R");
        s->Pic_Reye_DragOver(right, 2950, 100, Frm_Rabbit::Over);
        QCOMPARE(s->rulerLeft(R), 2700);
        QCOMPARE(right->x(), 180);
        s->Pic_LEye_DragOver(left, 2900, 100, Frm_Rabbit::Over);
        QCOMPARE(s->rulerLeft(L), 2900);
        // A ruler dragged over the other eye's view does not move.
        s->Pic_LEye_DragOver(right, 100, 100, Frm_Rabbit::Over);
        QCOMPARE(s->rulerLeft(R), 2700);
        QCOMPARE(right->toolTip(), QStringLiteral("Переместите для измерения размеров зрачка. 1 деление = 1 мм"));

        // With the mouse: press on the left ruler, drag it over its eye, out and back.
        s->Pic_LEye_DragOver(left, 0, 100, Frm_Rabbit::Over);
        QWidget* view = child(s, "Pic_LEye");
        QTest::mousePress(left, Qt::LeftButton, {}, QPoint(3, 50));
        QTest::mouseMove(left, left->mapFrom(view, QPoint(120, 60)));
        QCOMPARE(s->rulerLeft(L), 1800);
        QTest::mouseMove(left, left->mapFrom(view, QPoint(300, 60)));  // beyond the view: it stays
        QCOMPARE(s->rulerLeft(L), 1800);
        QTest::mouseMove(left, left->mapFrom(view, QPoint(60, 60)));
        QTest::mouseRelease(left, Qt::LeftButton, {}, left->mapFrom(view, QPoint(60, 60)));
        QCOMPARE(s->rulerLeft(L), 900);
        QTest::mouseMove(left, QPoint(2, 2));  // no button: no drag
        QCOMPARE(s->rulerLeft(L), 900);
    }

    void torchWithTheMouse() {
        Program p;
        Frm_Rabbit* s = p.start();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QWindow* window = s->windowHandle();
        const PupilBox open = Program::pupil(s, R)->box();
        Program::click(s, "Image_Torche");
        QVERIFY(s->draggingTool());
        QTest::mouseMove(window, Program::centreOf(s, "Pic_Rrab") + QPoint(0, -70));
        QCOMPARE(s->dragIcon(), QStringLiteral("torche1.ico"));
        QTest::mouseMove(window, Program::centreOf(s, "Image_REye"));
        QCOMPARE(Program::pupil(s, R)->box().Width, open.Width - 75);
        QCOMPARE(s->model().LightReflexSeen(), true);
        QTest::mouseMove(window, QPoint(5, 5));
        QCOMPARE(Program::pupil(s, R)->box(), open);
        QCOMPARE(s->dragIcon(), QStringLiteral("torche.ico"));
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!s->draggingTool());
        QCOMPARE(s->dragIcon(), QString());
    }

    // "Отмена" after asking for the saline cancels it: the eye chosen next gets the unknown.
    void cancelledSalineIsNotGiven() {
        Program p;
        p.t.random.values = {0.75};
        Frm_Rabbit* s = p.start(QStringLiteral("secret"));
        QVERIFY(s);
        Program::click(s, "Cmd_Saline");
        Program::click(s, "Cmd_Can");
        Program::instil(s, "Cmd_LEye");
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Неизвестное вещество 1"));
        Program::runClock(s, L);
        QCOMPARE(Program::pupil(s, L)->box().Width, 620 - 5 * 80.0);  // pilocarpine, not saline
    }

    void examinations() {
        Program p;
        // First unknown: pilocarpine (Int(8 × 0.75 + 1) = 7); the rabbit's draws are all 0.
        p.t.random.values = {0.75};
        Frm_Rabbit* s = p.start(QStringLiteral(" Secret "));
        QVERIFY(s);
        QCOMPARE(p.run.Rab_Mode(), RabMode::FirstExamination);
        QCOMPARE(p.run.Rab_Password(), QStringLiteral("SECRET    "));
        QCOMPARE(s->windowTitle(), QStringLiteral(" Effects of Drugs on the Rabbit Eye- Examination Mode "));
        QCOMPARE(
            text(s, "LAb_Title"),
            QStringLiteral(
                "Examination 1 : You are given a set of unknown drugs. Test them on the rabbit eye and identify."));
        QVERIFY(Program::shown(s, "Frame_Exam") && !Program::shown(s, "Frame_help"));
        QVERIFY(!Program::shown(s, "Combo_Drug") && Program::shown(s, "lab_Exam") && Program::shown(s, "Cmd_Saline"));
        QVERIFY(!child(s, "Cmd_Table")->isEnabled());
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Unknown Drug 1"));
        QVERIFY(Program::shown(s, "Lbl_ExamHeading") && Program::shown(s, "Lbl_ExamBanner"));
        QCOMPARE(text(s, "Lbl_ExamHeading"), QStringLiteral("Экзамен — Иванов Иван, гр. 101"));
        QCOMPARE(text(s, "Lbl_ExamBanner"), QStringLiteral("Экзамен 1: неизвестное 1 из 8"));
        auto* list = child<QListWidget>(s, "Lst_Exam");
        QCOMPARE(list->count(), 8);

        // The unknown into the left eye, the saline into the right.
        Program::instil(s, "Cmd_LEye");
        QCOMPARE(text(s, "Lab_LDrug"), QStringLiteral("Неизвестное вещество 1"));
        Program::click(s, "Cmd_Saline");
        QVERIFY(Program::shown(s, "Frame_Eye_Sel"));
        Program::click(s, "Cmd_Reye");
        QCOMPARE(text(s, "Lab_rDrug"), QStringLiteral("Физиологический раствор"));
        Program::runClock(s, L);
        Program::runClock(s, R);
        QCOMPARE(Program::pupil(s, L)->box().Width, 620 - 5 * 80.0);
        // The narrowed pupil shows no light reflex; the saline eye does.
        s->Image_Torche_Click();
        s->dragToolTo(Program::centreOf(s, "Image_LEye"));
        QCOMPARE(s->model().LightReflexSeen(), false);
        s->dragToolTo(Program::centreOf(s, "Image_REye"));
        s->endToolDrag();
        QCOMPARE(s->model().LightReflexSeen(), true);
        list->setCurrentRow(6);
        // Not sure (the default): nothing is recorded, the same unknown stays.
        p.t.messages.shown.clear();
        Program::click(s, "Cmd_Dr_Id");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown[0].text,
                 QStringLiteral("Определить неизвестное как «Пилокарпин»? Изменить ответ будет нельзя."));
        QCOMPARE(p.t.messages.shown[0].defaultAnswer, MsgAnswer::No);
        QVERIFY(!p.run.Rab_ExamRecs()[1].Recorded);
        QCOMPARE(s->model().UnknownNo(), quint8(1));
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Unknown Drug 1"));
        QCOMPARE(text(s, "Lbl_ExamBanner"), QStringLiteral("Экзамен 1: неизвестное 1 из 8"));
        QCOMPARE(list->currentRow(), 6);
        p.t.random.values = {0.0};                // unknown 2: atropine
        p.t.messages.answers = {MsgAnswer::Yes};  // sure: it cannot be undone
        Program::click(s, "Cmd_Dr_Id");
        QCOMPARE(text(s, "Lab_DName"), QStringLiteral("Неизвестное вещество 2"));
        QCOMPARE(text(s, "Lbl_ExamBanner"), QStringLiteral("Экзамен 1: неизвестное 2 из 8"));
        QVERIFY(list->selectedItems().isEmpty());

        // Unknown 2 identified without testing and without a name; then on to the second.
        p.t.messages.answers = {MsgAnswer::Yes};  // sure: it cannot be undone
        Program::click(s, "Cmd_Dr_Id");
        QCOMPARE(text(s, "Lbl_ExamBanner"), QStringLiteral("Экзамен 1: неизвестное 3 из 8"));
        // Going on asked first, No by default: still in the first, at the same unknown.
        p.t.messages.shown.clear();
        Program::click(s, "Cmd_Next");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown[0].text, QStringLiteral("Закончить экзамен 1? Неопределённых неизвестных: 6. "
                                                            "Вернуться к ним будет нельзя."));
        QCOMPARE(p.run.Rab_Mode(), RabMode::FirstExamination);
        QCOMPARE(s->model().UnknownNo(), quint8(3));
        QVERIFY(!p.run.Rab_Exam2().Given);
        p.t.random.values = {0.2};                // the second examination's unknown: homatropine (second of seven)
        p.t.messages.answers = {MsgAnswer::Yes};  // sure: it cannot be undone
        Program::click(s, "Cmd_Next");
        QCOMPARE(text(s, "Lbl_ExamBanner"), QStringLiteral("Экзамен 2: неизвестное 1 из 1"));
        QCOMPARE(p.run.Rab_Mode(), RabMode::SecondExamination);
        QCOMPARE(text(s, "Lab_Rab_No"), QStringLiteral("Кролик 2"));
        QCOMPARE(text(s, "LAb_Title"),
                 QStringLiteral("Examination 2 : You are given an unknown drug. Design an experiment to find out "
                                "whether the drug is a miotic or mydriatic."));
        QCOMPARE(list->count(), 2);
        QCOMPARE(s->model().eye(L).Done, false);
        Program::click(s, "cmdreturn");  // no way back from here
        QCOMPARE(p.screen(), s);
        Program::instil(s, "Cmd_Reye");
        QCOMPARE(s->model().eye(R).Drug, quint8(2));
        Program::runClock(s, R);
        QVERIFY(Program::pupil(s, R)->box().Width > 500);
        list->setCurrentRow(1);
        p.t.messages.answers = {MsgAnswer::Yes};  // sure: it cannot be undone
        Program::click(s, "Cmd_Dr_Id");

        // The supervisor's gate, then the results.
        QWidget* table = p.table();
        QVERIFY(table && !s->isVisible());
        QVERIFY(Program::shown(table, "Frame_Pass") && !Program::shown(table, "Frametab"));
        auto* box = child<QLineEdit>(table, "Txt_PassW");
        QCOMPARE(box->maxLength(), 10);
        p.t.messages.shown.clear();
        QTest::keyClicks(box, QStringLiteral("secrets"));
        Program::click(table, "Cmd_pass");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown[0].text, QStringLiteral("Invalid Password "));
        QCOMPARE(p.t.messages.shown[0].title, QStringLiteral(" Password Error "));
        QVERIFY(box->text().isEmpty());
        QTest::keyClicks(box, QStringLiteral("  secret "));
        Program::click(table, "Cmd_pass");
        QVERIFY(!Program::shown(table, "Frame_Pass") && Program::shown(table, "Frametab"));
        auto* grid = child<QTableWidget>(table, "Grid_Rab");
        QCOMPARE(grid->rowCount(), 9);
        QCOMPARE(grid->columnCount(), 7);
        auto row = [grid](int r) {
            QStringList cells;
            for (int c = 0; c < grid->columnCount(); ++c)
                cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
            return cells;
        };
        QCOMPARE(row(0), (QStringList{" Rabbit No.", " Unknown Drug  ", " Intraocular Tension", "  Light Reflex ",
                                      " Corneal Reflex", "  Saline Instilled ", " Drug Identified"}));
        QCOMPARE(row(1),
                 (QStringList{"          1", "Пилокарпин", " Decreased ", " Yes ", " Yes ", " Yes ", "Пилокарпин"}));
        QCOMPARE(row(2), (QStringList{"          2", "Атропин", " Not Tested ", " Not Tested ", " Not Tested ", " No ",
                                      " Not Identified "}));
        for (int r = 3; r <= 8; ++r)
            QCOMPARE(row(r),
                     (QStringList{QStringLiteral("          %1").arg(r), " Not Examined ", "", "", "", "", ""}));
        auto* second = child<QTableWidget>(table, "Grid_Exam2");
        QVERIFY(second->isVisible());
        QStringList exam2;
        for (int c = 0; c < second->columnCount(); ++c) exam2 << second->item(1, c)->text();
        QCOMPARE(exam2, (QStringList{"Гоматропин", " Mydriatic ", " Yes ", " No ", "Мидриатик", " Yes "}));
        QCOMPARE_GE(contrast::lowestInGrid(grid), 4.5);
        QCOMPARE_GE(contrast::lowestInGrid(second), 4.5);

        // The password also opens the marked results: both examinations to the journal.
        QWidget* results = examResultsWindow();
        QVERIFY(results);
        QVERIFY(journal::check(p.t.ctx.journalPath, QStringLiteral("SECRET")).allIntact());
        const QString program = QStringLiteral("morvane ") + ExamRecord::programVersion();
        auto line = [&](int exam, int unknown, int of, const QString& given, const QString& answer, bool right,
                        const QString& measured) {
            return expectedJournalFields(program, QStringLiteral("Глаз кролика, экзамен %1").arg(exam), unknown, of,
                                         given, answer, right, measured);
        };
        QList<QStringList> wanted{
            line(1, 1, 8, "Пилокарпин", "Пилокарпин", true,
                 "давление: понижено, реакция на свет: есть, роговичный рефлекс: есть, солевой раствор: да"),
            line(1, 2, 8, "Атропин", "", false,
                 "давление: не проверено, реакция на свет: не проверен, роговичный рефлекс: не проверен, солевой "
                 "раствор: нет")};
        for (int k = 3; k <= 8; ++k) wanted << line(1, k, 8, "", "", false, "не исследовано");
        wanted << line(2, 1, 1, "Гоматропин (Мидриатик)", "Мидриатик", true, "закапано: да, солевой раствор: нет");
        QCOMPARE(journalFields(p.t.ctx.journalPath), wanted);
        QCOMPARE(child<QTabWidget>(results, "Tab_Exams")->count(), 2);
        QCOMPARE(text(child(results, "Pg_Exam_1"), "Lbl_Score"), QStringLiteral("Итого: 1 из 8"));
        QCOMPARE(text(child(results, "Pg_Exam_2"), "Lbl_Score"), QStringLiteral("Итого: 1 из 1"));
        p.t.messages.answers = {MsgAnswer::Yes};  // closed without printing
        results->close();
        flushDeletes();

        Program::click(table, "Cmd_End");
        flushDeletes();
        QVERIFY(p.find("Frm_Rab_main"));
        QVERIFY(!p.screen() && !p.table());
    }

    // A data folder with one file left out or replaced: one clear message, then the end.
    void unusableData_data() {
        QTest::addColumn<QString>("leftOut");
        QTest::addColumn<QStringList>("table");  // rows of a table put in place of the shipped one
        QTest::addColumn<QString>("named");
        QTest::newRow("an eye picture") << "Leye1.bmp" << QStringList() << "Leye1.bmp";
        QTest::newRow("a cursor") << "torche1.ico" << QStringList() << "torche1.ico";
        QTest::newRow("the substance table") << "Rab_Eye.mdb" << QStringList() << "Rab_Eye.mdb";
        QStringList tooMany;
        for (int i = 1; i <= 255; ++i) tooMany << QStringLiteral("'Вещество %1', 'Y', 'Y', 'N', 0, 0").arg(i);
        QTest::newRow("255 substances") << "Rab_Eye.mdb" << tooMany << "Rab_Eye.mdb";
        QTest::newRow("a pupil closed inside out")
            << "Rab_Eye.mdb"
            << QStringList{"'Миотик', 'Y', 'Y', 'D', -100, -60", "'Физиологический раствор', 'Y', 'Y', 'N', 0, 0"}
            << "P_size1";
    }
    void unusableData() {
        QFETCH(QString, leftOut);
        QFETCH(QStringList, table);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString data = QDir::currentPath();
        for (QDirIterator it(data, QDir::Files); it.hasNext();) {
            const QString file = it.next();
            if (it.fileName() != leftOut) QVERIFY(QFile::copy(file, dir.filePath(it.fileName())));
        }
        if (!table.isEmpty()) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
            db.setDatabaseName(dir.filePath(QStringLiteral("Rab_Eye.mdb")));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(
                q.exec(QStringLiteral("CREATE TABLE R_Eye (D_Name TEXT, L_Reflex TEXT, C_Reflex TEXT, "
                                      "I_Tension TEXT, P_size1 INTEGER, P_size2 INTEGER)")));
            QVERIFY(db.transaction());
            for (const QString& row : std::as_const(table))
                QVERIFY(q.exec(QStringLiteral("INSERT INTO R_Eye VALUES (%1)").arg(row)));
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
        QDir::setCurrent(dir.path());
        {
            Program p;
            QCOMPARE(p.start(), nullptr);
            QCOMPARE(p.t.messages.shown.size(), 1);
            QVERIFY2(p.t.messages.shown[0].text.contains(named), qPrintable(p.t.messages.shown[0].text));
            QCOMPARE(p.t.messages.shown[0].icon, MsgIcon::Critical);
            QCOMPARE(p.t.desktop.quits, QVector<int>{1});
        }
        QDir::setCurrent(data);
    }
};

QTEST_MAIN(TstRabbitScreen)
#include "tst_rabbit_screen.moc"
