// The heart program from its home screen through the tutorial and the three examinations.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <functional>

#include "activity.h"
#include "contrast.h"
#include "controls.h"
#include "exam_journal.h"
#include "frm_heart.h"
#include "heart_exam.h"
#include "heart_program.h"
#include "heart_run_state.h"
#include "journal.h"
#include "pdf_reading.h"
#include "setup_picture.h"

using namespace controls;

using Program = HeartProgram<TestContext>;

namespace {

// Messages that run `onShow` as each one appears, to see what is on the screen then.
struct WatchingMessages : RecordingMessages {
    std::function<void(const MessageRequest&)> onShow;
    MsgAnswer show(const MessageRequest& request) override {
        if (onShow) onShow(request);
        return RecordingMessages::show(request);
    }
};

using WatchedContext = ContextWith<FakeDesktop, WatchingMessages>;

}  // namespace

class TstHeartScreen : public QObject {
    Q_OBJECT
private slots:
    void tutorial() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
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
        QCOMPARE(h->model().lastneedle(), 4250 - 500 + 513);

        Program::inject(h, 0);  // adrenaline
        QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Адреналин"));
        QCOMPARE(text(h, "Lab_DDose"), QStringLiteral("мкг"));
        for (const char* b : {"Cmd_help", "Cmd_New", "Cmd_Next", "CmdTable", "Cmd_Print"})
            QVERIFY2(!Program::enabled(h, b), b);
        QVERIFY(Program::enabled(h, "Cmd_RmvDrug"));
        QCOMPARE(text(h, "lbl_warning"), QStringLiteral("(B)HR - частота сердечных сокращений (контрольная)"));
        Program::ticks(h, 75);
        QVERIFY(!Program::enabled(h, "Cmd_Next"));
        Program::ticks(h, 1);  // the rest cycle
        for (const char* b : {"Cmd_help", "Cmd_New", "Cmd_Next", "CmdTable", "Cmd_Print"})
            QVERIFY2(Program::enabled(h, b), b);
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
        QVERIFY(pdfPageTexts(p.t.printDir.filePath(QStringLiteral("printout.pdf")))
                    .value(0)
                    .trimmed()
                    .startsWith(QStringLiteral("Влияние веществ на изолированное сердце лягушки ")));

        click(h, "CmdTable");
        QWidget* table = p.find("Frm_Heart_Table");
        QVERIFY(table && !h->isVisible());
        QCOMPARE(text(table, "tabletitleLbl"), QStringLiteral("Таблица-образец"));
        auto* sample = child<QTableWidget>(table, "MsGrid_Table");
        QCOMPARE(sample->rowCount(), 2);
        QCOMPARE(sample->horizontalHeaderItem(0)->text(), QStringLiteral("  Вещество"));
        QCOMPARE(sample->verticalHeaderItem(1)->text(), QStringLiteral("  2   "));
        QCOMPARE(sample->item(1, 0)->text(), QStringLiteral("Адреналин"));
        // The red text reads on the white cells and the grey headings.
        QCOMPARE_GE(contrast::lowestInGrid(sample), 4.5);
        click(table, "Cmd_Ret");
        QVERIFY(h->isVisible());
        flushDeletes();

        click(h, "Cmd_New");  // a clean recording, a new basal rate
        QCOMPARE(h->paper().width(), 329);
        QVERIFY(h->model().basalbase() >= 60 && h->model().basalbase() <= 90);

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

    // The drug's key is written just left of the pen and runs past the paper's width: the
    // part past it shows as the paper moves on.
    void keysWrittenWhole() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        Program::ticks(h, 76);
        Program::inject(h, 6);  // noradrenaline, "NEpi"
        const int width = h->paper().width();
        Program::ticks(h, 20);
        int past = 0;
        for (int x = width; x < width + 10; ++x)
            for (int y = 138; y < 158; ++y) past += h->paper().pixel(x, y) != h->paper().background();
        QVERIFY(past > 0);
    }

    // The screen repaints only what changes. A recorder step scrolls what shows of the paper
    // and paints the column that comes into view and the pen's stroke (a label, its width);
    // a frame of the lever's beat repaints the lever where it was and where it is, and the
    // heart pictures when they change. What shows is always what a whole repaint shows.
    void repaintsOnlyWhatChanges() {
        Program p;
        click(p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main), "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        auto* recorder = h->findChild<QTimer*>(QStringLiteral("Timer_Heart"));
        LeverBeat* beat = h->lever();
        beat->stop();  // only the steps below change the screen
        recorder->stop();
        activity::repaintNow(h);

        QWidget* view = child(h, "Pic_Continer");
        activity::PaintWatch paper(view);
        const int ticks = 200;  // with the first rest cycle's labels
        for (int i = 0; i < ticks; ++i) {
            const int from = paper.events().size();
            h->RecorderTick();
            recorder->stop();
            activity::repaintNow(h);
            for (int e = from; e < paper.events().size(); ++e)
                QVERIFY2(paper.events()[e].boundingRect().width() <= 61, qPrintable(QString::number(i)));
        }
        int paperPainted = 0;
        for (const QRegion& r : paper.events()) paperPainted += activity::area(r);
        QVERIFY2(paperPainted < ticks * view->width() * view->height() / 20, qPrintable(QString::number(paperPainted)));
        QCOMPARE(activity::shown(view), activity::repainted(view));

        SetupPicture* setup = h->setupPicture();
        activity::PaintWatch picture(setup);
        QRegion lever, painted;
        auto leverAt = [&](int height) {
            if (height != 0) lever += SetupPicture::leverRect(height);  // 0: none drawn
        };
        leverAt(h->model().lastneedle());
        // The picture's repaints so far; then what shows against a whole repaint (whose
        // own painting is not counted).
        auto check = [&] {
            activity::repaintNow(h);
            painted += picture.painted();
            QCOMPARE(activity::shown(setup), activity::repainted(setup));
            picture.clear();
        };
        beat->beginBeat();
        check();
        for (beat->frame(); beat->drawnHeight() != 0; beat->frame()) {
            leverAt(beat->drawnHeight());
            check();
        }
        leverAt(h->model().lastneedle());
        check();
        const QRegion hearts = QRegion(setup->contracted()->geometry()) + setup->relaxed()->geometry();
        QCOMPARE(painted - lever - hearts, QRegion());
        QVERIFY(activity::area(lever) < setup->width() * setup->height() / 10);  // the lever's strip only
    }

    // Calcium stops the heart contracted (small), potassium relaxed (large); in a beat the
    // heart is contracted while the lever rises and relaxed as it falls.
    void heartPicturesFollowPhysiology() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        SetupPicture* setup = h->setupPicture();
        auto area = [](QLabel* l) {
            const QImage img = l->pixmap().toImage();
            int n = 0;
            for (int x = 0; x < img.width(); ++x)
                for (int y = 0; y < img.height(); ++y) n += qAlpha(img.pixel(x, y)) > 0;
            return n;
        };
        QLabel* small = setup->contracted();
        QLabel* large = setup->relaxed();
        QVERIFY(area(small) > 0);
        QVERIFY2(area(small) < area(large), "the contracted heart is the smaller picture");
        QCOMPARE(small, child<QLabel>(h, "Img_hrtdia"));
        QCOMPARE(large, child<QLabel>(h, "Img_hrtsys"));

        Program::ticks(h, 76);
        Program::inject(h, 1);  // calcium chloride: systolic contracture
        QVERIFY(small->isVisibleTo(setup) && !large->isVisibleTo(setup));
        Program::ticks(h, 76);
        Program::inject(h, 2);  // potassium chloride: diastolic arrest
        QVERIFY(!small->isVisibleTo(setup) && large->isVisibleTo(setup));
        Program::ticks(h, 76);

        // The beat's frames: first the lever rises (heights fall, smaller is higher) with the
        // heart contracted, then it falls with the heart relaxed.
        LeverBeat* beat = h->lever();
        beat->beginBeat();
        QVector<int> rising, falling;
        for (beat->frame(); beat->drawnHeight() != 0; beat->frame()) {
            QVERIFY(small->isVisibleTo(setup) != large->isVisibleTo(setup));
            if (small->isVisibleTo(setup)) {
                QVERIFY2(falling.isEmpty(), "contracted again after the fall began");
                rising << beat->drawnHeight();
            } else {
                falling << beat->drawnHeight();
            }
        }
        QVERIFY(rising.size() > 1 && falling.size() > 1);
        QVERIFY(std::is_sorted(rising.rbegin(), rising.rend()));
        QVERIFY(std::is_sorted(falling.begin(), falling.end()));
        QVERIFY(large->isVisibleTo(setup));  // at rest, relaxed
    }

    // The lever beats once per 60000 ÷ rate ms at the rate on show: the basal rate at rest,
    // the drug's rate during its action; an arrested heart does not beat.
    void leverBeatsAtTheShownRate_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");  // -1: none
        QTest::addColumn<bool>("arrest");
        QTest::newRow("adrenaline") << 0 << -1 << false;
        QTest::newRow("atropine") << 3 << -1 << false;
        QTest::newRow("propranolol") << 4 << -1 << false;
        QTest::newRow("acetylcholine") << 5 << -1 << false;
        QTest::newRow("calcium") << 1 << -1 << true;
        QTest::newRow("potassium") << 2 << -1 << true;
        QTest::newRow("adrenaline after calcium") << 1 << 0 << false;
        QTest::newRow("calcium after potassium") << 2 << 1 << false;
        QTest::newRow("noradrenaline after propranolol") << 4 << 6 << false;
    }
    void leverBeatsAtTheShownRate() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, arrest);
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        LeverBeat* lever = h->lever();
        auto beatsAt = [](const QString& rate) { return int(std::lround(60000.0 / rate.toInt())); };
        QVERIFY(lever->running());
        QCOMPARE(lever->interval(), beatsAt(QString::number(h->model().basalbase())));
        Program::ticks(h, 76);
        QCOMPARE(lever->interval(), beatsAt(text(h, "Txt_BHR")));

        Program::inject(h, first);
        if (second >= 0) {
            Program::ticks(h, 30);
            Program::inject(h, second);
        }
        Program::ticks(h, 41);  // the drug's rate is on show
        const QString shown = text(h, "TxtHR_Drug");
        QVERIFY(!shown.isEmpty());
        QCOMPARE(lever->running(), !arrest);
        if (arrest)
            QCOMPARE(shown, QStringLiteral("1"));
        else
            QCOMPARE(lever->interval(), beatsAt(shown));

        Program::ticks(h, 35);  // the rest cycle
        QVERIFY(lever->running());
        QCOMPARE(lever->interval(), beatsAt(text(h, "Txt_BHR")));
    }

    // "Предыдущее вещество" names the drug given before, also when the unknown follows it
    // during its action.
    void previousDrugBeforeTheUnknown_data() {
        QTest::addColumn<HeartMode>("mode");
        QTest::addColumn<int>("unknown");  // list position
        QTest::newRow("examination 2") << HeartMode::Exam2 << 8;
        QTest::newRow("examination 3") << HeartMode::Exam3 << 2;
    }
    void previousDrugBeforeTheUnknown() {
        QFETCH(HeartMode, mode);
        QFETCH(int, unknown);
        Program p;
        p.run.chooseMode(mode);
        p.run.setPassword(QStringLiteral("ABCD"));
        auto* h = qobject_cast<Frm_Heart*>(p.t.ctx.navigator.open(HeartWindows::Frm_Heart));
        QVERIFY(h);
        Program::ticks(h, 76);
        Program::inject(h, 0);
        const QString first = text(h, "Lab_drugname");
        QCOMPARE(first, child<QComboBox>(h, "Combo_Drug")->itemText(0));
        QCOMPARE(text(h, "lbl_lastdrug"), QStringLiteral("Нет"));
        Program::ticks(h, 30);  // still acting
        Program::inject(h, unknown);
        QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Неизвестное "));
        QCOMPARE(text(h, "lbl_lastdrug"), first);
    }

    // Whatever drug names come and go, the drug frames keep their places and sizes and every
    // caption and name in them shows whole, in every mode, on a screen of 800 x 600.
    void drugFramesHoldTheirNames() {
        QRect drugFrame, levelFrame;
        for (HeartMode mode : {HeartMode::Tutorial, HeartMode::Exam1, HeartMode::Exam2, HeartMode::Exam3}) {
            Program p;
            p.run.chooseMode(mode);
            p.run.setPassword(QStringLiteral("ABCD"));
            // The longest examination-1 names: "Неизвестное No. 8", the seven before handed out.
            for (int k = 1; k <= 7; ++k) p.run.handOutExam1Unknown(k, HeartDrugRec{});
            auto* h = qobject_cast<Frm_Heart*>(p.t.ctx.navigator.open(HeartWindows::Frm_Heart));
            QVERIFY(h);
            QVERIFY2(h->width() <= 790 && h->height() <= 570, "room for the window's frame on 800 x 600");
            auto* list = child<QComboBox>(h, "Combo_Drug");
            const auto check = [&](const QString& when) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                const QString where = QStringLiteral("mode %1, %2").arg(static_cast<int>(mode)).arg(when);
                if (drugFrame.isNull()) {
                    drugFrame = child(h, "FraDrug")->geometry();
                    levelFrame = child(h, "Frame1")->geometry();
                }
                QCOMPARE(child(h, "FraDrug")->geometry(), drugFrame);
                QCOMPARE(child(h, "Frame1")->geometry(), levelFrame);
                for (QLabel* l :
                     child(h, "Frame1")->findChildren<QLabel*>() + child(h, "FraDrug")->findChildren<QLabel*>()) {
                    if (!l->isVisibleTo(h)) continue;
                    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width(),
                             qPrintable(QStringLiteral("%1: %2 «%3» is cut").arg(where, l->objectName(), l->text())));
                }
            };
            check(QStringLiteral("at load"));
            Program::ticks(h, 76);
            const int drugs = mode == HeartMode::Exam1 ? 1 : list->count();
            for (int i = 0; i < drugs; ++i) {
                Program::inject(h, mode == HeartMode::Exam1 ? list->currentIndex() : i);
                check(QStringLiteral("after %1").arg(text(h, "Lab_drugname")));
                Program::ticks(h, 20);
            }
            Program::ticks(h, 76);
            check(QStringLiteral("at rest"));
        }
    }

    // With 255 hearts or log lines the grids scroll under headings that stay in place.
    void gridHeadingsStayWhileScrolling() {
        Program p;
        p.run.chooseMode(HeartMode::Exam3);
        p.run.setPassword(QStringLiteral("ABCD"));
        p.run.firstHeart();
        for (int i = 1; i <= 255; ++i) {
            if (i > 1) QVERIFY(p.run.nextHeart());
            p.run.recordExam3Rate(1, quint8(i));
            QVERIFY(p.run.logExam2(QStringLiteral("Атропин"), u'N', quint8(i)));
        }
        const auto scrolledToTheEnd = [](QTableWidget* g, const QString& corner, const QString& first) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCOMPARE(g->rowCount(), 255);
            g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
            QVERIFY(g->rowAt(0) > 200);  // the last rows on show
            QHeaderView* top = g->horizontalHeader();
            QVERIFY(top->isVisibleTo(g));
            QVERIFY(top->geometry().bottom() < g->viewport()->geometry().top());
            QCOMPARE(top->model()->headerData(0, Qt::Horizontal).toString(), first);
            QCOMPARE(g->findChild<QAbstractButton*>()->text(), corner);
            QVERIFY(g->verticalHeader()->isVisibleTo(g));
            QCOMPARE(g->verticalHeaderItem(254)->text(), QStringLiteral("       255"));
        };

        QWidget* q = p.t.ctx.navigator.open(HeartWindows::Frm_Question);
        scrolledToTheEnd(child<QTableWidget>(q, "MsGrid_Table1"), QStringLiteral(" Сердце No."),
                         QStringLiteral(" Адреналин (HR)"));
        QWidget* table = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Table);
        click(table, "Cmd_Ret");
        scrolledToTheEnd(child<QTableWidget>(table, "MsGrid_Table"), QStringLiteral(" No."),
                         QStringLiteral(" Введенное вещество "));
        click(table, "Cmd_Ret");
        scrolledToTheEnd(child<QTableWidget>(table, "MsGrid_Table1_R"), QStringLiteral(" Сердце No."),
                         QStringLiteral(" Адреналин (HR) "));
    }

    // "Экзамен N закончен" comes once the answer window is gone, over nothing half-emptied.
    void examinationNoticesAfterTheAnswerWindow() {
        HeartProgram<WatchedContext> p;
        QStringList notices;
        p.t.messages.onShow = [&](const MessageRequest& m) {
            if (m.text.contains(QStringLiteral("закончен")))
                notices << (p.find("Frm_Question") ? QStringLiteral("over the answer window")
                                                   : QStringLiteral("alone"));
        };
        Frm_Heart* h = p.startExamination();
        for (int stage = 1; stage <= 8; ++stage) {
            QVERIFY(h);
            click(h, "Cmd_Next");
            flushDeletes();
            h = p.identify(0);
        }
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam2);
        p.t.messages.answers = {MsgAnswer::Ok};
        click(h, "Cmd_Next");
        flushDeletes();
        h = p.identify(0);
        QVERIFY(h && h->isVisible());
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam3);
        QCOMPARE(notices, (QStringList{QStringLiteral("alone"), QStringLiteral("alone")}));
    }

    void paperFull() {
        Program p;
        QWidget* home = p.t.ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        click(home, "Cmd_Tutorial");
        Frm_Heart* h = p.heart();
        h->model().startRecorder(16383);
        p.t.messages.answers = {MsgAnswer::No};
        h->RecorderTick();
        QCOMPARE(p.t.messages.shown.last().text,
                 QStringLiteral("Память записывающего устройства переполнена. Очистие ее "));
        QVERIFY(!h->recorderRunning());  // frozen
        p.t.messages.answers = {MsgAnswer::Yes};
        h->RecorderTick();
        QVERIFY(h->recorderRunning());
        QCOMPARE(h->model().paper().width(), 329);
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
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam1);
        QSet<int> unknowns;
        for (int stage = 1; stage <= 8; ++stage) {
            QVERIFY(h);
            QVERIFY(!child(h, "Combo_Drug")->isVisible());
            QCOMPARE(text(h, "lbl_unkdrug"), QStringLiteral("Неизвестное No. %1").arg(stage));
            unknowns << p.run.Heart_Exam1Drug();
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
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam2);
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Экзамен 1 закончен. Приступайте к экзамену 2. "));

        // Examination 2: the unknown is the ninth item.
        QCOMPARE(child<QComboBox>(h, "Combo_Drug")->itemText(8), QStringLiteral("Неизвестное"));
        Program::ticks(h, 76);
        Program::inject(h, 8);
        QCOMPARE(text(h, "Lab_drugname"), QStringLiteral("Неизвестное "));
        QCOMPARE(text(h, "Lab_DDose"), QStringLiteral("мл"));
        QCOMPARE(p.run.Heart_Exam2Count(), quint8(1));
        p.t.messages.answers = {MsgAnswer::Cancel};
        click(h, "Cmd_Next");
        QCOMPARE(p.heart(), h);  // Cancel keeps the experiment
        QVERIFY(h->isVisible());
        p.t.messages.answers = {MsgAnswer::Ok};
        click(h, "Cmd_Next");
        flushDeletes();
        h = p.identify(3);
        QCOMPARE(p.run.Heart_Mode(), HeartMode::Exam3);
        QCOMPARE(p.run.Heart_Exam2Answer(), QStringLiteral("Атропин"));
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Экзамен 2 закончен. Приступайте к экзамену 3.   "));

        // Examination 3: adrenaline, acetylcholine and the unknown on two hearts.
        QCOMPARE(child<QComboBox>(h, "Combo_Drug")->count(), 3);
        const QString adrenaline = child<QComboBox>(h, "Combo_Drug")->itemText(0);
        Program::ticks(h, 76);
        Program::inject(h, 0);
        QVERIFY(p.run.Heart_Exam3Rates()[1][0] > 0);
        Program::ticks(h, 76);
        click(h, "Cmd_New");
        QCOMPARE(p.run.Heart_HeartNo(), quint8(2));
        Program::ticks(h, 76);
        Program::inject(h, 2);
        QVERIFY(p.run.Heart_Exam3Rates()[2][2] > 0);
        Program::ticks(h, 76);
        click(h, "Cmd_Next");
        flushDeletes();
        QWidget* q = p.find("Frm_Question");
        QVERIFY(child(q, "Frame_exam4")->isVisible());
        auto* rates = child<QTableWidget>(q, "MsGrid_Table1");
        QCOMPARE(rates->rowCount(), 2);  // a row per heart under the headings
        QCOMPARE(rates->verticalHeaderItem(1)->text(), QStringLiteral("       2"));
        QCOMPARE(rates->horizontalHeaderItem(1)->text(), QStringLiteral(" Ацетилхолин (HR)"));
        // The question and its answer call the drug by the name the list gave it.
        QCOMPARE(rates->horizontalHeaderItem(0)->text(), QStringLiteral(" %1 (HR)").arg(adrenaline));
        QVERIFY(child<QAbstractButton>(q, "Opt_dr0")->text().startsWith(adrenaline));
        QCOMPARE(rates->item(0, 1)->text(), QStringLiteral("Не введено"));
        QCOMPARE_GE(contrast::lowestInGrid(rates), 4.5);
        click(q, "Cmd_exam4");  // no option chosen
        QCOMPARE(p.run.Heart_Exam3Answer(), QStringLiteral("Не определено"));
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
        QCOMPARE(grid->rowCount(), 8);
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QStringLiteral("       1"));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Адреналин"));
        QCOMPARE(grid->item(7, 2)->text(), QStringLiteral(" Вещество не введено "));
        QCOMPARE(grid->item(7, 3)->text(), QStringLiteral(" Вещество не введено "));

        // The password also opens the marked results: each examination to the journal as its
        // own, with what the screens showed.
        QWidget* results = examResultsWindow();
        QVERIFY(results);
        QVERIFY(journal::check(p.t.ctx.journalPath, QStringLiteral("abcd")).allIntact());
        const QString program = QStringLiteral("morvane-heart ") + ExamRecord::programVersion();
        auto line = [&](int exam, int unknown, int of, const QString& given, const QString& answer, bool right,
                        const QString& measured) {
            return expectedJournalFields(program, QStringLiteral("Сердце лягушки, экзамен %1").arg(exam), unknown, of,
                                         given, answer, right, measured);
        };
        QList<QStringList> wanted;
        for (int r = 0; r < 8; ++r) {
            const QString drug = grid->item(r, 0)->text();
            const QString shown =
                r == 7 ? QStringLiteral("вещество не введено")
                       : QStringLiteral("частота %1 уд/мин, тон %2")
                             .arg(grid->item(r, 2)->text().trimmed(), grid->item(r, 3)->text().trimmed());
            wanted << line(1, r + 1, 8, drug, drug, true, shown);
        }
        const HeartExam2Entry& injected = p.run.Heart_Exam2Log()[1];
        wanted << line(2, 1, 1, QStringLiteral("Адреналин"), QStringLiteral("Атропин"), false,
                       QStringLiteral("частота %1 уд/мин, тон %2").arg(injected.rate).arg(injected.tone));
        const auto& heartRates = p.run.Heart_Exam3Rates();
        wanted << line(3, 1, 1, QStringLiteral("Адреналин"), QStringLiteral("Не определено"), false,
                       QStringLiteral("уд/мин (адреналин/ацетилхолин/неизвестное): сердце 1: %1/—/—; сердце 2: —/—/%2")
                           .arg(heartRates[1][0])
                           .arg(heartRates[2][2]));
        QCOMPARE(journalFields(p.t.ctx.journalPath), wanted);
        auto* tabs = child<QTabWidget>(results, "Tab_Exams");
        QCOMPARE(tabs->count(), 3);
        for (auto [page, score] : {std::pair{"Pg_Exam_1", "Итого: 8 из 8"}, std::pair{"Pg_Exam_2", "Итого: 0 из 1"},
                                   std::pair{"Pg_Exam_3", "Итого: 0 из 1"}})
            QCOMPARE(text(child(results, page), "Lbl_Score"), QString::fromUtf8(score));
        QCOMPARE(child<QTableWidget>(child(results, "Pg_Exam_2"), "Tbl_Marks")->item(0, 4)->text(),
                 QStringLiteral("неверно"));
        p.t.messages.answers = {MsgAnswer::Yes};  // closed without printing
        results->close();
        flushDeletes();
        click(table, "Cmd_Ret");
        QCOMPARE(text(table, "examno"), QStringLiteral("Экзамен 2"));
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral(" Введенное вещество "));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Неизвестное"));
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
