// The bioassay from its home screen to the end, in both modes, through the real controls.
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QtTest>

#include "controls.h"
#include "exam_journal.h"
#include "fakes.h"
#include "frm_ileum.h"
#include "ileum_draws.h"
#include "ileum_exam.h"
#include "ileum_recorder.h"
#include "ileum_run_state.h"
#include "ileum_windows.h"
#include "numtext.h"
#include "pdf_reading.h"
#include "real_input.h"

using namespace controls;

namespace {

struct Program {
    TestContext t;
    IleumRunState run;
    Program() {
        registerIleumWindows(t.ctx, run);
        t.ctx.navigator.add(LauncherWindows::Frm_Selection, [] { return new QWidget; });
        // RefY 182, Sensitivity 1.0, then MatchVolume 0.21 at the standard.
        t.random.values = {0.5, 0.0, 0.04};
    }
    ~Program() {
        for (const char* n : {"Frm_il_main", "Frm_Ileum", "Frm_I_Exam", "Frm_Ile_Question", "Frm_Selection"})
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
    Frm_Ileum* screen() const { return qobject_cast<Frm_Ileum*>(find("Frm_Ileum")); }

    Frm_Ileum* start(bool examination) {
        QWidget* home = t.ctx.navigator.open(IleumWindows::Frm_il_main);
        if (examination) {
            click(home, "cmd_exam");
            QTest::keyClicks(child<QLineEdit>(home, "Txt_PassW"), QStringLiteral(" Secret "));
            click(home, "Cmd_ok");
            nameStudent(home);
        } else {
            click(home, "Cmd_Tut");
        }
        return screen();
    }

    // The tutorial's antagonist chosen by its text in the button's menu, with the keys, into the bath.
    static void addAntagonist(Frm_Ileum* s, const QString& which) {
        click(s, "Cmd_Antagonist");
        auto* menu = child<QMenu>(s, "Mnu_Antagonist");
        QVERIFY(menu->isVisible());
        const QList<QAction*> actions = menu->actions();
        for (qsizetype k = 0; k < actions.size(); ++k) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (actions[k]->text() == which) {
                QCOMPARE(menu->activeAction(), actions[k]);
                QTest::keyClick(menu, Qt::Key_Return);
                QVERIFY(!menu->isVisible());
                return;
            }
        }
        QFAIL(qPrintable(which));
    }
    // Doses in turn from the dose box.
    static void injectDoses(Frm_Ileum* s, const QStringList& doses) {
        for (const QString& d : doses) {
            type(s, "Txt_Dose", d);
            inject(s, "Cmd_inject");
        }
    }
    // A click on the paper in the middle of a trace.
    static void clickTrace(Frm_Ileum* s, int index) {
        const RecordedTrace& t = s->recorder()->traces().at(index);
        auto* view = child(s, "Pic_Continer");
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint((t.left + t.right) / 2 + s->recorder()->paperLeft(), 120));
    }

    static void type(QWidget* w, const char* box, const QString& s) {
        auto* e = child<QLineEdit>(w, box);
        e->clear();
        QTest::keyClicks(e, s);
    }
    // A click on an injecting button, and the end of the syringe's second.
    static void inject(Frm_Ileum* s, const char* button) {
        click(s, button);
        QVERIFY(s->recorder()->injecting());
        s->recorder()->finishInjection();
    }
};

}  // namespace

class TstIleumScreen : public QObject {
    Q_OBJECT
private slots:
    void doseButtons() {
        Program p;
        Frm_Ileum* s = p.start(false);
        QStringList up;
        for (int i = 0; i < 14; ++i) {
            click(s, "Cmd_updose");
            up << text(s, "Txt_Dose");
        }
        QCOMPARE(up, (QStringList{"0.2", "0.4", "0.8", "1.6", "3.2", "6.4", "12.8", "25.6", "51.2", "102.4", "204.8",
                                  "409.6", "819.2", "819.2"}));
        QStringList down;
        for (int i = 0; i < 14; ++i) {
            click(s, "Cmd_downdose");
            down << text(s, "Txt_Dose");
        }
        QCOMPARE(down, (QStringList{"409.6", "204.8", "102.4", "51.2", "25.6", "12.8", "6.4", "3.2", "1.6", "0.8",
                                    "0.4", "0.2", "0.1", "0.1"}));
        Program::type(s, "Txt_Dose", QStringLiteral("0.15"));
        click(s, "Cmd_downdose");
        QCOMPARE(text(s, "Txt_Dose"), QStringLiteral("0.075"));
        QCOMPARE(text(s, "lab_unk"), QStringLiteral("0.075 мл"));
        Program::type(s, "Txt_Dose", QStringLiteral("1a-2;5"));  // only digits, points and commas are typed
        QCOMPARE(text(s, "Txt_Dose"), QStringLiteral("125"));
        // A decimal comma, typed or pasted, is the point: a 0.5 µg injection labelled 0.5.
        Program::type(s, "Txt_Dose", QStringLiteral("0,5"));
        QCOMPARE(text(s, "Txt_Dose"), QStringLiteral("0.5"));
        QCOMPARE(text(s, "lab_unk"), QStringLiteral("0.5 мл"));
        Program::inject(s, "Cmd_inject");
        QCOMPARE(s->model().InjLabel(), QStringLiteral("0.5"));
        auto* box = child<QLineEdit>(s, "Txt_stddose");
        box->clear();
        QApplication::clipboard()->setText(QStringLiteral("2,25"));
        QTest::keySequence(box, QKeySequence::Paste);
        QCOMPARE(box->text(), QStringLiteral("2.25"));
    }

    // Mepyramine makes the same dose's contraction smaller; it stays through one wash and is
    // gone after the second; the paper is marked at every change and the bath's state shows.
    void antagonistInTheBath() {
        Program p;
        Frm_Ileum* s = p.start(false);
        QVERIFY(child(s, "Fra_Antagonist")->isVisible());
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nбез антагониста"));
        const QString dose = QStringLiteral("51.2");
        Program::injectDoses(s, {dose});
        p.t.random.values = {pA2Chance(9.3)};
        const RecordingPaper& paper = s->recorder()->paper();
        const int markX = paper.width() - 30;
        const QColor before = paper.pixel(markX, 2);
        Program::addAntagonist(s, QStringLiteral("Мепирамин 10 нМ"));
        QVERIFY(std::abs(s->model().mepyraminePA2().value_or(0) - 9.3) < 1e-9);
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nМепирамин 10 нМ"));
        QVERIFY(paper.pixel(markX, 2) != before);  // the mark's line
        Program::injectDoses(s, {dose});
        click(s, "Cmd_Wash");
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nМепирамин 10 нМ"));
        Program::injectDoses(s, {dose});
        click(s, "Cmd_Wash");
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nбез антагониста"));
        Program::injectDoses(s, {dose});

        const QList<RecordedTrace>& traces = s->recorder()->traces();
        QCOMPARE(traces.size(), 4);
        QVERIFY(traces[0].heightMm > 0);
        QVERIFY(traces[1].heightMm < traces[0].heightMm - 10);
        QCOMPARE(traces[2].heightMm, traces[1].heightMm);  // one wash leaves it bound
        QCOMPARE(traces[3].heightMm, traces[0].heightMm);
        QCOMPARE(traces[1].condition.text(), QStringLiteral("Мепирамин 10 нМ"));

        // During the syringe's second the bath cannot change; a new experiment empties it.
        click(s, "Cmd_inject");
        QVERIFY(!child(s, "Cmd_Wash")->isEnabled() && !child(s, "Cmd_Antagonist")->isEnabled());
        s->recorder()->finishInjection();
        Program::addAntagonist(s, QStringLiteral("Атропин"));
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nАтропин"));
        click(s, "Cmd_New");
        QCOMPARE(text(s, "Lbl_Bath"), QStringLiteral("В ванночке:\nбез антагониста"));
        QVERIFY(s->recorder()->traces().isEmpty());
    }

    // The cursor reads a clicked trace's height and label; two readings under different
    // conditions give the dose ratio between them.
    void measuringCursor() {
        Program p;
        Frm_Ileum* s = p.start(false);
        Program::injectDoses(s, {QStringLiteral("12.8"), QStringLiteral("51.2")});
        p.t.random.values = {pA2Chance(9.3)};
        Program::addAntagonist(s, QStringLiteral("Мепирамин 3 нМ"));
        Program::injectDoses(s, {QStringLiteral("102.4")});
        const QList<RecordedTrace>& traces = s->recorder()->traces();

        Program::clickTrace(s, 0);
        QCOMPARE(text(s, "Lbl_Cursor"), QStringLiteral("«12.8» (Контроль): %1 мм").arg(traces[0].heightMm, 0, 'f', 1));
        QCOMPARE(traces[0].heightMm, s->model().points().series()[0].points[0].heightMm);
        Program::clickTrace(s, 2);
        const QString reading = text(s, "Lbl_Cursor");
        QVERIFY2(
            reading.startsWith(QStringLiteral("«102.4» (Мепирамин 3 нМ): %1 мм").arg(traces[2].heightMm, 0, 'f', 1)),
            qPrintable(reading));
        const double dr = doseRatioFromReadings(std::log10(12.8), std::log10(102.4));
        QVERIFY2(reading.endsWith(QStringLiteral(": %1").arg(numtext::generalForm(dr, 3))), qPrintable(reading));
        QVERIFY(std::abs(dr - 8) < 1e-4);
        // A click beside every trace reads nothing.
        QTest::mouseClick(child(s, "Pic_Continer"), Qt::LeftButton, {}, QPoint(5, 120));
        QCOMPARE(text(s, "Lbl_Cursor"), reading);
    }

    // The graph holds the recording's points exactly, a series a condition, and follows the
    // injections; it is saved as PNG or PDF and printed.
    void graph() {
        Program p;
        Frm_Ileum* s = p.start(false);
        Program::injectDoses(s, {QStringLiteral("6.4"), QStringLiteral("25.6"), QStringLiteral("102.4")});
        p.t.random.values = {pA2Chance(9.2)};
        Program::addAntagonist(s, QStringLiteral("Мепирамин 3 нМ"));
        Program::injectDoses(s, {QStringLiteral("25.6"), QStringLiteral("102.4"), QStringLiteral("409.6")});
        click(s, "Cmd_Graph");
        auto* graph = child(s, "Frm_Graph");
        QVERIFY(graph->isVisible());
        auto* chart = child<QChartView>(graph, "Chart_Curves")->chart();
        auto scatterSeries = [chart] {
            QList<QScatterSeries*> out;
            for (QAbstractSeries* a : chart->series())
                if (auto* sc = qobject_cast<QScatterSeries*>(a)) out << sc;
            return out;
        };
        auto sameAsModel = [&] {
            const QList<CurveSeries>& model = s->model().points().series();
            const QList<QScatterSeries*> shown = scatterSeries();
            QCOMPARE(shown.size(), model.size());
            for (int i = 0; i < model.size(); ++i) {
                QCOMPARE(shown[i]->name(), model[i].condition.text());
                QCOMPARE(shown[i]->count(), model[i].points.size());
                for (int k = 0; k < model[i].points.size(); ++k)
                    QCOMPARE(shown[i]->at(k), QPointF(model[i].points[k].logDose, model[i].points[k].heightMm));
            }
        };
        sameAsModel();
        QCOMPARE(scatterSeries().size(), 2);
        // A wash, then atropine: a third series, in the graph as soon as it is injected.
        click(s, "Cmd_Wash");
        click(s, "Cmd_Wash");
        Program::addAntagonist(s, QStringLiteral("Атропин"));
        Program::injectDoses(s, {QStringLiteral("25.6")});
        sameAsModel();
        QCOMPARE(scatterSeries().size(), 3);
        QCOMPARE(scatterSeries()[2]->name(), QStringLiteral("Атропин"));

        // The Schild tab has the mepyramine concentration's dose ratio.
        const QList<AntagonistRatio> ratios = doseRatios(s->model().points());
        QVERIFY(ratios[0].dr);
        QVERIFY2(text(graph, "Lbl_Schild")
                     .contains(QStringLiteral("Мепирамин 3 нМ: %1").arg(numtext::generalForm(ratios[0].dr->ratio, 3))),
                 qPrintable(text(graph, "Lbl_Schild")));

        QTemporaryDir dir;
        p.t.files.answers = {{dir.filePath(QStringLiteral("g")), QStringLiteral("PNG (*.png)")},
                             {dir.filePath(QStringLiteral("g.pdf")), QStringLiteral("PNG (*.png)")}};
        click(graph, "Cmd_GraphSave");
        click(graph, "Cmd_GraphSave");
        QCOMPARE(p.t.files.asked.size(), 2);
        const QImage png(dir.filePath(QStringLiteral("g.png")));
        QVERIFY(!png.isNull());
        QVERIFY(png.pixelColor(png.width() / 2, png.height() / 2) != QColor(Qt::black));
        QVERIFY(pdfPageTexts(dir.filePath(QStringLiteral("g.pdf"))).value(0).contains(QStringLiteral("lg доза")));
        p.t.messages.answers = {MsgAnswer::Yes};
        click(graph, "Cmd_GraphPrint");
        QCOMPARE(p.t.printer.documents(), 1);
    }

    // The Schild tab: the points and line of the recording's dose ratios, the slope, pA2 and
    // verdict, and the dose ratio the student read with the cursor.
    void schildPlot() {
        Program p;
        Frm_Ileum* s = p.start(false);
        QStringList doses;
        for (double d = 0.1; d < 3300; d *= 2) doses << numtext::generalForm(d);
        Program::injectDoses(s, doses.mid(0, 13));
        p.t.random.values = {pA2Chance(9.2)};
        for (const QString& nM : {QStringLiteral("1"), QStringLiteral("10")}) {
            Program::addAntagonist(s, QStringLiteral("Мепирамин %1 нМ").arg(nM));
            Program::injectDoses(s, doses);
            click(s, "Cmd_Wash");
            click(s, "Cmd_Wash");
        }
        Program::clickTrace(s, 6);   // 6.4 µg, control
        Program::clickTrace(s, 20);  // 12.8 µg under 1 nM
        click(s, "Cmd_Graph");
        auto* graph = child(s, "Frm_Graph");

        const SchildAnalysis schild = schildAnalysis(schildInputs(doseRatios(s->model().points())));
        QVERIFY(schild.fit && schild.fit->pA2);
        QCOMPARE(schild.points.size(), 2);
        QScatterSeries* points = nullptr;
        QLineSeries* line = nullptr;
        for (QAbstractSeries* a : child<QChartView>(graph, "Chart_Schild")->chart()->series()) {
            if (auto* sc = qobject_cast<QScatterSeries*>(a))
                points = sc;
            else
                line = qobject_cast<QLineSeries*>(a);
        }
        QVERIFY(points && line);
        QCOMPARE(points->count(), schild.points.size());
        for (int i = 0; i < schild.points.size(); ++i)
            QCOMPARE(points->at(i), QPointF(schild.points[i].logB, schild.points[i].logDrMinus1));
        QCOMPARE(line->count(), 2);
        for (const QPointF& q : line->points())
            QVERIFY(std::abs(q.y() - (schild.fit->slope * q.x() + schild.fit->intercept)) < 1e-9);

        const QString text = child<QLabel>(graph, "Lbl_Schild")->text();
        for (const QString& part : {QStringLiteral("Наклон: %1").arg(numtext::generalForm(schild.fit->slope, 3)),
                                    QStringLiteral("pA2: %1").arg(numtext::generalForm(*schild.fit->pA2, 3)),
                                    schild.verdict, QStringLiteral("ОД «6.4»→«12.8»: 2")})
            QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" in ") + text));
    }

    // The examination has no antagonists, cursor or graph.
    void examinationWithoutTheExercise() {
        Program p;
        Frm_Ileum* s = p.start(true);
        for (const char* name : {"Fra_Antagonist", "Cmd_Antagonist", "Cmd_Wash", "Lbl_Bath", "Cmd_Graph", "Lbl_Cursor"})
            QVERIFY2(!child(s, name)->isVisible(), name);
        // A click on a trace reads nothing.
        Program::injectDoses(s, {QStringLiteral("51.2")});
        const QString before = text(s, "Lbl_Cursor");
        Program::clickTrace(s, 0);
        QCOMPARE(text(s, "Lbl_Cursor"), before);
    }

    void tutorial() {
        Program p;
        Frm_Ileum* s = p.start(false);
        QCOMPARE(p.run.Ile_Mode(), IleumMode::Tutorial);
        QCOMPARE(s->windowTitle(),
                 QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки - режим обучения"));
        QCOMPARE(text(s, "Txt_Dose"), QStringLiteral("0.1"));
        QCOMPARE(text(s, "Lab_dose"), QStringLiteral("Доза  мкг"));
        QCOMPARE(text(s, "Lab_stephelp"), QStringLiteral("Выберите дозу и введите раствор"));
        QCOMPARE(p.run.RecorderReady(), true);
        QCOMPARE(s->model().RefY(), qint16(182));
        QCOMPARE(s->model().Sensitivity(), 1.0f);
        QVERIFY(!child(s, "Cmd_Calculate")->isVisible());

        // 0.075 µg at sensitivity 5: the peak is 7 pixels lower than without the reduction.
        p.t.random.values = {0.5, 0.999, 0.04};  // a new experiment: RefY 182, Sensitivity 5.0
        click(s, "Cmd_New");
        QCOMPARE(s->model().Sensitivity(), 5.0f);
        Program::type(s, "Txt_Dose", QStringLiteral("0.075"));
        Program::inject(s, "Cmd_inject");
        const RecordingPaper& paper = s->recorder()->paper();
        QCOMPARE(paper.pixel(486, 168), QColor(Qt::white));
        QCOMPARE(paper.pixel(486, 167), paper.background());

        click(s, "Cmd_MatchAssay");
        QVERIFY(!child(s, "Cmd_MatchAssay")->isVisible());
        QVERIFY(child(s, "Frame_stddose")->isVisible());
        QVERIFY(!child(s, "Cmd_inject")->isEnabled());
        QVERIFY(child(s, "Cmd_Calculate")->isVisible());
        QVERIFY(!child(s, "Cmd_Calculate")->isEnabled());
        QCOMPARE(text(s, "Lab_stephelp"), QStringLiteral("Выберите дозу для стандартной кривой"));

        click(s, "Cmd_stddose");  // nothing typed
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Введите правильную дозу! "));
        Program::type(s, "Txt_Dose", QStringLiteral("3"));
        Program::type(s, "Txt_stddose", QStringLiteral("0.5"));
        click(s, "Cmd_stddose");
        QCOMPARE(text(s, "Lab_stan"), QStringLiteral("0.5 мкг"));
        QCOMPARE(text(s, "Lab_half"), QStringLiteral(" .25 мкг"));
        QCOMPARE(text(s, "Lab_doub"), QStringLiteral(" 1 мкг"));
        QCOMPARE(text(s, "Txt_Dose"), QStringLiteral("0.1"));
        QCOMPARE(text(s, "Lab_dose"), QStringLiteral("Доза   мл"));
        QCOMPARE(text(s, "Lab_stephelp"), QStringLiteral("Введите стандартную или неизвестную дозу"));
        QVERIFY(!child(s, "Frame_stddose")->isVisible());
        QVERIFY(child(s, "Frame_Cmd_button")->isVisible());
        QVERIFY(child(s, "Cmd_Calculate")->isEnabled());
        QCOMPARE(s->model().MatchVolume(), 0.21f);

        Program::inject(s, "Cmd_Std");
        Program::inject(s, "Cmd_HalfStd");
        Program::inject(s, "Cmd_DoubleStd");
        Program::type(s, "Txt_Dose", QStringLiteral("0.21"));
        Program::inject(s, "Cmd_unknown");
        QCOMPARE(s->model().InjLabel(), QStringLiteral("0.21мл"));
        QCOMPARE(paper.width(), 497 + 5 * 40);
        // The unknown's volume that holds the standard gives the standard's height.
        auto peakAt = [&](int injection) {
            const int x = 497 + injection * 40 - 51;
            int y = 185;
            while (paper.pixel(x, y - 1) == QColor(Qt::white)) --y;
            return y;
        };
        QCOMPARE(peakAt(5), peakAt(2));
        QVERIFY(peakAt(3) > peakAt(2) && peakAt(4) < peakAt(2));  // half lower, double higher

        click(s, "Cmd_Calculate");
        QVERIFY(child(s, "Frame_Cal")->isVisible());
        QCOMPARE(text(s, "Lab_stephelp"), QString());
        for (const char* zero : {"0", "."}) {  // would divide by zero
            Program::type(s, "Txt_cal", QString::fromLatin1(zero));
            click(s, "Cmd_Cal");
            QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Введите правильную дозу! "));
            QVERIFY(child(s, "Cmd_Cal")->isVisible());
        }
        Program::type(s, "Txt_cal", QStringLiteral("0.25"));
        click(s, "Cmd_Cal");
        QCOMPARE(text(s, "txt_con"), QStringLiteral("2"));
        QCOMPARE(text(s, "Label_cons"), QStringLiteral("0.5/0.25 = "));
        QVERIFY(child(s, "LabMcg")->isVisible());
        QVERIFY(!child(s, "Cmd_Cal")->isVisible());
        // The result only shows: Tab passes over it.
        QVERIFY(real_input::activate(s));
        QVERIFY(!real_input::tabRound(child(s, "Cmd_Print")).contains(QStringLiteral("txt_con")));

        p.t.messages.answers = {MsgAnswer::Yes};
        click(s, "Cmd_Print");
        QCOMPARE(p.t.printer.documents(), 1);
        QCOMPARE(p.t.messages.shown.last().title, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН!"));
        QVERIFY(pdfPageTexts(p.t.printDir.filePath(QStringLiteral("printout.pdf")))
                    .value(0)
                    .trimmed()
                    .startsWith(QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки ")));
        click(s, "Cmd_Instruct");
        QCOMPARE(p.t.help.calls.last().file, QStringLiteral("ileum.hlp"));

        // "Далее", then "Назад" from the questions: the same recording in the same stage.
        click(s, "Cmd_Next");
        QWidget* questions = p.find("Frm_Ile_Question");
        QVERIFY(questions && questions->isVisible());
        QVERIFY(!s->isVisible());
        click(questions, "Cmd_return");
        QCOMPARE(p.screen(), s);
        QVERIFY(s->isVisible());
        QCOMPARE(s->recorder()->paper().width(), 697);
        QCOMPARE(text(s, "txt_con"), QStringLiteral("2"));
        flushDeletes();
        click(s, "Cmd_Next");
        click(p.find("Frm_Ile_Question"), "Cmd_Done1");
        QVERIFY(p.find("Frm_il_main"));
        QVERIFY(!p.find("Frm_Ileum"));
        QVERIFY(!p.find("Frm_Ile_Question"));
    }

    // A standard or a volume whose results would not be finite is refused as a wrong dose.
    void refusesInputsWithoutFiniteResults() {
        Program p;
        Frm_Ileum* s = p.start(false);
        click(s, "Cmd_MatchAssay");
        Program::type(s, "Txt_stddose", QStringLiteral("3") + QString(38, u'0'));  // 3e38 µg
        click(s, "Cmd_stddose");
        QCOMPARE(p.t.messages.shown.size(), 1);
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Введите правильную дозу! "));
        QVERIFY(child(s, "Frame_stddose")->isVisible());
        QCOMPARE(s->model().MatchVolume(), 0.0f);

        Program::type(s, "Txt_stddose", QStringLiteral("25"));
        click(s, "Cmd_stddose");
        QCOMPARE(text(s, "Lab_doub"), QStringLiteral(" 50 мкг"));
        click(s, "Cmd_Calculate");
        Program::type(s, "Txt_cal", QStringLiteral("0.") + QString(44, u'0') + u'1');  // 1e-45 ml
        click(s, "Cmd_Cal");
        QCOMPARE(p.t.messages.shown.size(), 2);
        QCOMPARE(p.t.messages.shown.last().text, QStringLiteral(" Введите правильную дозу! "));
        QVERIFY(child(s, "Cmd_Cal")->isVisible());
        QVERIFY(!child(s, "txt_con")->isVisible());
    }

    void newExperimentAndBack() {
        Program p;
        Frm_Ileum* s = p.start(false);
        Program::inject(s, "Cmd_inject");
        click(s, "Cmd_MatchAssay");
        Program::type(s, "Txt_stddose", QStringLiteral("0.5"));
        p.t.random.values = {0.0, 0.999};  // the new experiment's RefY and Sensitivity
        click(s, "Cmd_New");
        QCOMPARE(s->recorder()->paper().width(), 497);
        QCOMPARE(s->model().MatchPhase(), false);
        QCOMPARE(s->model().RefY(), qint16(179));
        QCOMPARE(s->model().Sensitivity(), 5.0f);
        QVERIFY(child(s, "Cmd_MatchAssay")->isVisible());
        QVERIFY(child(s, "Cmd_inject")->isEnabled());
        QVERIFY(!child(s, "Frame_stddose")->isVisible());
        QCOMPARE(text(s, "Txt_stddose"), QStringLiteral("0.5"));  // kept
        click(s, "Cmd_return");
        QVERIFY(p.find("Frm_il_main"));
        QVERIFY(!p.find("Frm_Ileum"));
    }

    void examinationWithoutStandard() {
        Program p;
        Frm_Ileum* s = p.start(true);
        QCOMPARE(p.run.Ile_Mode(), IleumMode::Examination);
        QCOMPARE(p.run.Ile_Password(), QStringLiteral("SECRET"));
        QCOMPARE(s->windowTitle(),
                 QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки - режим проверки"));
        QVERIFY(!child(s, "Cmd_New")->isEnabled());
        QVERIFY(!child(s, "Cmd_return")->isEnabled());
        click(s, "Cmd_MatchAssay");
        QVERIFY(!child(s, "Cmd_Calculate")->isVisible());
        click(s, "Cmd_Next");
        QCOMPARE(p.run.ActualConc(), -1.0f);
        QCOMPARE(text(s, "Txt_stddose"), QStringLiteral("-1"));
        QVERIFY(!child(s, "Cmd_Next")->isEnabled());
        QVERIFY(s->isVisible());  // the screen stays beside the form

        QWidget* exam = p.find("Frm_I_Exam");
        QVERIFY(exam);
        QVERIFY(!(exam->windowFlags() & Qt::WindowCloseButtonHint));
        Program::type(exam, "Txt_Cal_Con", QStringLiteral("2.5"));
        click(exam, "com_student");
        QCOMPARE(p.run.StudentConc(), 2.5f);
        QVERIFY(child(exam, "Frame_Password")->isVisible());
        QVERIFY(exam->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(exam->windowFlags() & Qt::WindowMinimizeButtonHint));

        for (const char* wrong : {"secre", "secrets"}) {
            Program::type(exam, "Txt_Pass", QString::fromLatin1(wrong));
            click(exam, "Cmd_pass");
            QCOMPARE(p.t.messages.shown.last().text, QStringLiteral("Invalid Password "));
            QCOMPARE(p.t.messages.shown.last().title, QStringLiteral(" Password Error "));
            QCOMPARE(text(exam, "Txt_Pass"), QString());
            QVERIFY(child(exam, "Frame_Password")->isVisible());
        }
        Program::type(exam, "Txt_Pass", QStringLiteral("  secret "));
        click(exam, "Cmd_pass");
        QVERIFY(child(exam, "Fra_Super")->isVisible());
        QCOMPARE(text(exam, "Txt_cal"), QStringLiteral("2.5"));
        QCOMPARE(text(exam, "Txt_Act"), QStringLiteral(" "));
        QCOMPARE(text(exam, "Txt_err"), QStringLiteral(" "));
        QVERIFY(real_input::activate(exam));  // the three results only show: no Tab stops
        QCOMPARE(real_input::tabRound(child(exam, "Cmd_ok")), QStringList{QStringLiteral("Cmd_ok")});
        QWidget* warning = child(exam, "Lab_Warning");
        QVERIFY(warning->isVisible());
        QVERIFY(exam->findChild<QTimer*>(QStringLiteral("Timer_War"))->isActive());
        QCOMPARE(exam->findChild<QTimer*>(QStringLiteral("Timer_War"))->interval(), 500);
        static_cast<Frm_I_Exam*>(exam)->Timer_War_Timer();
        QVERIFY(!warning->isVisible());
        static_cast<Frm_I_Exam*>(exam)->Timer_War_Timer();
        QVERIFY(warning->isVisible());

        click(exam, "Cmd_ok");
        QVERIFY(p.find("Frm_il_main"));
        QVERIFY(!p.find("Frm_I_Exam") && !p.find("Frm_Ileum"));
        QCOMPARE(p.run.Ile_Mode(), IleumMode::None);
    }

    void examinationWithMatching_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("0.5 µg in 0.21 ml, answer 2.4") << true << "2.4"
                                                       << "2.380952"
                                                       << "-0.8000252";
        QTest::newRow("answer with a decimal comma") << true << "2,4"
                                                     << "2.380952"
                                                     << "-0.8000252";
        QTest::newRow("answer left blank") << true << ""
                                           << "2.380952"
                                           << "100";
        QTest::newRow("standard typed, never confirmed") << false << "2.4"
                                                         << " "
                                                         << " ";
    }
    void examinationWithMatching() {
        QFETCH(bool, confirmed);
        QFETCH(QString, answer);
        QFETCH(QString, actual);
        QFETCH(QString, ratio);
        Program p;
        Frm_Ileum* s = p.start(true);
        click(s, "Cmd_MatchAssay");
        Program::type(s, "Txt_stddose", QStringLiteral("0.5"));
        if (confirmed) click(s, "Cmd_stddose");
        click(s, "Cmd_Next");
        QWidget* exam = p.find("Frm_I_Exam");
        Program::type(exam, "Txt_Cal_Con", answer);
        click(exam, "com_student");
        Program::type(exam, "Txt_Pass", QStringLiteral("SECRET"));
        click(exam, "Cmd_pass");
        QCOMPARE(text(exam, "Txt_Act"), actual);
        QCOMPARE(text(exam, "Txt_err"), ratio);
        QCOMPARE(child(exam, "Lab_Warning")->isVisible(), !confirmed);
    }

    // The supervisor's password also writes the examination to the journal and opens its
    // marked results beside the form: the answer against the true concentration, its error
    // the form's error ratio, marked against the tolerance; without a standard dose the
    // error cannot be told and the answer is outside it.
    void examinationMarked_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("score");
        QTest::newRow("within tolerance") << true << "2.4"
                                          << "2.380952"
                                          << "-0.8000252 %"
                                          << "в пределах допуска"
                                          << "1 из 1";
        QTest::newRow("outside tolerance") << true << "2.7"
                                           << "2.380952"
                                           << "-13.40003 %"
                                           << "вне допуска"
                                           << "0 из 1";
        QTest::newRow("no standard dose") << false << "2.4"
                                          << "не определена: стандартная доза не введена"
                                          << "не определена"
                                          << "вне допуска"
                                          << "0 из 1";
    }
    void examinationMarked() {
        QFETCH(bool, confirmed);
        QFETCH(QString, answer);
        QFETCH(QString, given);
        QFETCH(QString, error);
        QFETCH(QString, verdict);
        QFETCH(QString, score);
        Program p;
        Frm_Ileum* s = p.start(true);
        QCOMPARE(text(s, "Lbl_ExamHeading"), QStringLiteral("Экзамен — Иванов Иван, гр. 101"));
        QVERIFY(child(s, "Lbl_ExamHeading")->isVisible());
        click(s, "Cmd_MatchAssay");
        Program::type(s, "Txt_stddose", QStringLiteral("0.5"));
        if (confirmed) click(s, "Cmd_stddose");
        click(s, "Cmd_Next");
        QWidget* exam = p.find("Frm_I_Exam");
        QCOMPARE(text(exam, "Lbl_ExamHeading"), QStringLiteral("Экзамен — Иванов Иван, гр. 101"));
        Program::type(exam, "Txt_Cal_Con", answer);
        click(exam, "com_student");
        Program::type(exam, "Txt_Pass", QStringLiteral("secre"));
        click(exam, "Cmd_pass");
        QVERIFY(!Program::results());  // not for a wrong password
        Program::type(exam, "Txt_Pass", QStringLiteral("secret"));
        click(exam, "Cmd_pass");
        if (confirmed) QCOMPARE(text(exam, "Txt_err") + QStringLiteral(" %"), error);

        QWidget* results = Program::results();
        QVERIFY(results && results->isVisible());
        QVERIFY(p.find("Frm_I_Exam"));  // the form stays as it was
        auto* marks = child<QTableWidget>(results, "Tbl_Marks");
        QCOMPARE(marks->rowCount(), 1);
        const QString measured = QStringLiteral("ошибка %1 (допуск 10 %)").arg(error);
        const QStringList row{"1", given, answer, measured, verdict};
        for (int c = 0; c < 5; ++c) QCOMPARE(marks->item(0, c)->text(), row[c]);
        QCOMPARE(text(results, "Lbl_Score"), QStringLiteral("Итого: ") + score);
        QCOMPARE(
            journalLines(p.t.ctx.journalPath, QStringLiteral("SECRET")),
            QStringList{QStringLiteral("morvane %1 | Подвздошная кишка морской свинки | Иванов Иван | 101 | 1 | 1 | "
                                       "%2 | %3 | %4 | %5")
                            .arg(ExamRecord::programVersion(), given, answer, verdict, measured)});
    }
};

QTEST_MAIN(TstIleumScreen)
#include "tst_ileum_screen.moc"
