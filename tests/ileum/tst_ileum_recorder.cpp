// The ileum's kymograph on the 497 × 225 reference paper.
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "activity.h"
#include "fakes.h"
#include "ileum_model.h"
#include "ileum_recorder.h"
#include "numtext.h"

namespace {

struct Bench {
    TestContext t;
    IleumModel model;
    QWidget host;
    QLineEdit* dose = new QLineEdit(QStringLiteral("10"), &host);
    QLineEdit* standard = new QLineEdit(&host);
    QLabel* unit = new QLabel(&host);
    QLabel* syringe = new QLabel(&host);
    QPushButton* inject = new QPushButton(&host);
    IleumRecorder* rec = new IleumRecorder(t.ctx, model, &host);

    Bench() {
        rec->setControls({dose, standard, unit, syringe, {inject}});
        rec->SetupRecorder();
        t.random.values = {0.5, 0.0};  // RefY 182, Sensitivity 1.0
        model.startExperiment(t.random);
        rec->placeRuler();
        syringe->hide();
        host.show();
    }
    void injectOnce() {
        rec->Cmd_inject_Click();
        rec->finishInjection();
    }
    QImage paperImage() const {
        QImage image(rec->paper().width(), rec->paper().height(), QImage::Format_RGB32);
        QPainter p(&image);
        rec->paper().drawPart(p, image.rect(), image.rect());
        return image;
    }
    bool inked(int x, int y) const { return rec->paper().pixel(x, y) == QColor(Qt::white); }
    bool blank(int x, int y) const { return rec->paper().pixel(x, y) == rec->paper().background(); }
};

}  // namespace

class TstIleumRecorder : public QObject {
    Q_OBJECT
private slots:
    void setup() {
        Bench b;
        QCOMPARE(b.model.BaseY(), qint16(185));
        QCOMPARE(b.rec->paper().width(), 497);
        QCOMPARE(b.model.paperScroll().unit(), 124);
        QCOMPARE(b.model.paperScroll().growthLimit(), 497);
        QCOMPARE(b.rec->rulerX(), 472);
        QCOMPARE(b.rec->findChild<QLabel*>(QStringLiteral("Picture1"))->toolTip(),
                 QStringLiteral("Переместите для измерений. 1 деление = 0,25см"));
    }

    void syringePauseDisablesInjection() {
        Bench b;
        b.rec->Cmd_inject_Click();
        QVERIFY(b.rec->injecting());
        QVERIFY(b.syringe->isVisible());
        QVERIFY(!b.inject->isEnabled());
        QCOMPARE(b.rec->paper().width(), 497);  // nothing drawn before the pause ends
        QCOMPARE(b.rec->findChild<QTimer*>(QStringLiteral("Timer_Syringe"))->interval(), 1000);
        b.rec->Cmd_inject_Click();  // a second click during the pause is ignored
        b.rec->finishInjection();
        QVERIFY(!b.rec->injecting());
        QVERIFY(!b.syringe->isVisible());
        QVERIFY(b.inject->isEnabled());
        QCOMPARE(b.rec->paper().width(), 537);
    }

    void firstInjectionGeometry() {
        Bench b;  // dose 10 µg: PeakY 146
        b.injectOnce();
        QCOMPARE(b.rec->paper().width(), 537);
        QCOMPARE(b.rec->paperLeft(), -40);
        QCOMPARE(b.model.paperScroll().left(), -40);
        for (int x = 487; x <= 507; ++x) QVERIFY2(b.inked(x, 185), qPrintable(QString::number(x)));
        QVERIFY(b.blank(508, 185));
        for (int y = 146; y <= 185; ++y) QVERIFY(b.inked(486, y));  // the fall
        QVERIFY(b.inked(467, 185) && b.inked(471, 143));            // the rise
        QVERIFY(b.inked(478, 136));                                 // top of the arc, 10 above the peak
        for (int y = 0; y < 135; ++y) QVERIFY(b.blank(478, y));
        for (int x = 0; x < 467; ++x)
            for (int y = 0; y < 225; ++y) QVERIFY(b.blank(x, y));
        int label = 0;
        for (int x = 467; x < 487; ++x) {
            QVERIFY(b.blank(x, 194));
            for (int y = 195; y < 210; ++y) label += !b.blank(x, y);
        }
        QVERIFY(label > 5);  // "10"
        QCOMPARE(b.unit->text(), QStringLiteral("10 мл"));
        QCOMPARE(b.rec->rulerX(), 512);  // 25 inside the new right edge
        // On screen the newest part shows at the right of the window.
        const QImage shot = b.rec->findChild<QWidget*>(QStringLiteral("Pic_Continer"))->grab().toImage();
        QCOMPARE(shot.pixelColor(486 - 40, 160), QColor(Qt::white));
    }

    // An injection repaints only the paper's newest part: what shows scrolls by the new
    // trace's width, the ruler moves along, the trace and its label are painted. What shows
    // is what a whole repaint shows, also after looking back with the scroll bar.
    void injectionRepaintsTheNewTrace() {
        Bench b;
        b.rec->adjustSize();  // the whole recorder on show
        b.host.resize(b.rec->size());
        QWidget* view = b.rec->findChild<QWidget*>(QStringLiteral("Pic_Continer"));
        for (int i = 0; i < 12; ++i) b.injectOnce();  // the paper wider than the view
        activity::repaintNow(&b.host);
        activity::PaintWatch paper(view);
        b.injectOnce();
        activity::repaintNow(&b.host);
        const QRect newest(view->width() - 2 * IleumRecorder::traceWidth, 0, 2 * IleumRecorder::traceWidth,
                           view->height());  // where the injection draws
        QVERIFY(!paper.painted().isEmpty());
        QCOMPARE(paper.painted() - newest, QRegion());
        QCOMPARE(activity::shown(view), activity::repainted(view));
        b.rec->setScrollValue(3);
        activity::repaintNow(&b.host);
        QCOMPARE(activity::shown(view), activity::repainted(view));
    }

    void flickerBelowTheThreshold() {
        Bench b;
        b.dose->setText(QStringLiteral("0.02"));
        b.injectOnce();
        int hump = 0;
        for (int x = 467; x <= 487; ++x)
            for (int y = 178; y < 185; ++y) hump += b.inked(x, y);
        QVERIFY(hump > 5);
        for (int y = 100; y < 178; ++y) QVERIFY(b.blank(486, y));  // no contraction
        QVERIFY(b.blank(471, 179 - 10));
    }

    void scrollRangeGrows() {
        Bench b;
        for (int i = 1; i <= 13; ++i) b.injectOnce();
        QCOMPARE(b.rec->scrollPositions(), 0);
        b.injectOnce();
        QCOMPARE(b.rec->scrollPositions(), 4);  // the 14th
        for (int i = 15; i <= 17; ++i) b.injectOnce();
        QCOMPARE(b.rec->scrollPositions(), 4);
        b.injectOnce();
        QCOMPARE(b.rec->scrollPositions(), 5);  // the 18th
        for (int i = 19; i <= 22; ++i) b.injectOnce();
        QCOMPARE(b.rec->scrollPositions(), 6);  // the 22nd
        QCOMPARE(b.rec->scrollValue(), 0);

        b.rec->setScrollValue(6);  // the left end: the start of the strip
        QCOMPARE(b.rec->paperLeft(), 0);
        b.rec->setScrollValue(4);
        QCOMPARE(b.rec->paperLeft(), -2 * 124);
        b.rec->setScrollValue(0);  // the right end: the newest part
        QCOMPARE(b.rec->paperLeft(), b.model.paperScroll().left());
        QCOMPARE(b.model.paperScroll().left(), -22 * 40);

        b.rec->setScrollValue(6);
        b.injectOnce();  // an injection brings the newest part back, the bar stays
        QCOMPARE(b.rec->paperLeft(), -23 * 40);
        QCOMPARE(b.rec->scrollValue(), 6);
    }

    void paperLimit() {
        Bench b;
        for (int i = 1; i <= 398; ++i) b.injectOnce();
        QCOMPARE(b.rec->paper().width(), RecordingPaper::maxWidth);
        QVERIFY(b.t.messages.shown.isEmpty());
        b.injectOnce();
        QCOMPARE(b.t.messages.shown.size(), 1);
        QCOMPARE(b.t.messages.shown[0].text, QStringLiteral(" Память самописца переполнена! "));
        QCOMPARE(b.t.messages.shown[0].icon, MsgIcon::Information);
        QCOMPARE(b.t.messages.shown[0].title, QStringLiteral("Morvane T1.00R"));
        QCOMPARE(b.rec->paper().width(), RecordingPaper::maxWidth);

        b.rec->ResetRecorder();  // a new experiment empties the paper
        QCOMPARE(b.rec->paper().width(), 497);
        QCOMPARE(b.rec->scrollPositions(), 0);
        QCOMPARE(b.rec->paperLeft(), 0);
        QCOMPARE(b.model.paperScroll().step(), 4);
        QVERIFY(b.blank(486, 160));
    }

    void refusedDose_data() {
        QTest::addColumn<QString>("dose");
        QTest::newRow("empty") << "";
        QTest::newRow("zero") << "0";
        QTest::newRow("point") << ".";
    }
    void refusedDose() {
        QFETCH(QString, dose);
        Bench b;
        b.injectOnce();
        const QImage before = b.paperImage();
        b.dose->setText(dose);
        b.injectOnce();
        QCOMPARE(b.t.messages.shown.size(), 1);
        QCOMPARE(b.t.messages.shown[0].text, QStringLiteral(" Введите правильную дозу! "));
        QCOMPARE(b.rec->paper().width(), 537);
        QCOMPARE(b.rec->rulerX(), 537 + 15);  // parked beyond the paper, out of sight
        QVERIFY(b.rec->rulerX() + b.rec->paperLeft() >= IleumRecorder::viewWidth);
        QCOMPARE(b.paperImage(), before);

        // A pending standard-series injection needs no dose.
        b.model.queueStandard(StandardDose::Standard, QStringLiteral("1"));
        b.injectOnce();
        QCOMPARE(b.rec->paper().width(), 577);
    }

    // Every label stays under its own trace, whatever its length: the labels of the
    // standard series, long doses and volumes of the unknown.
    void labelsStayInTheirSlots() {
        Bench b;
        const int band = b.model.BaseY() + 8;  // below the baseline only labels are written
        struct Injection {
            const char* label;
            std::optional<StandardDose> standard;
        };
        const Injection run[] = {{"Стнд ", StandardDose::Standard},
                                 {"2Стнд", StandardDose::Double},
                                 {"1/2Стнд", StandardDose::Half},
                                 {"2Стнд", StandardDose::Double},
                                 {"1/2Стнд", StandardDose::Half},
                                 {"0.00001", {}},
                                 {"123.456789", {}},
                                 {"1638.4", {}},
                                 {"0.3333333мл", {}},
                                 {"0.25мл", {}},
                                 {"12345678901234567890", {}}};
        for (const Injection& i : run) {
            const QString label = QString::fromUtf8(i.label);
            const bool volume = label.endsWith(QStringLiteral("мл"));
            if (volume && !b.model.MatchPhase()) b.model.startMatching();
            if (!volume && b.model.MatchPhase()) b.model.startExperiment(b.t.random);  // leaves the matching phase
            if (i.standard)
                b.model.queueStandard(*i.standard, QStringLiteral("1"));
            else
                b.model.plainInjection();
            b.dose->setText(volume ? label.chopped(2) : label);
            b.injectOnce();
            QCOMPARE(b.model.InjLabel(), label);
            const int W = b.rec->paper().width();
            int ink = 0;
            for (int y = band; y < b.rec->paper().height(); ++y) {
                for (int x = W - IleumRecorder::traceWidth + 10; x < W; ++x)
                    QVERIFY2(b.blank(x, y), qPrintable(label + QStringLiteral(" runs into the next slot")));
                for (int x = W - 70; x < W - 30; ++x) ink += !b.blank(x, y);
            }
            QVERIFY2(ink > 10, qPrintable(label + QStringLiteral(" is not written")));
        }
    }

    // The lines of a label: each within the slot, at most two, and the dose still reads
    // as the dose followed by its unit: rounded to fewer digits only when it must be.
    void labelLines_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("tolerance");  // relative
        QTest::newRow("short dose") << "10"
                                    << "" << 0.0;
        QTest::newRow("half standard") << "1/2Стнд"
                                       << "Стнд" << 0.0;
        QTest::newRow("standard") << "Стнд "
                                  << "Стнд " << 0.0;
        QTest::newRow("volume") << "0.25мл"
                                << "мл" << 0.0;
        QTest::newRow("many digits") << "123.456789"
                                     << "" << 1e-4;
        QTest::newRow("volume with many digits") << "0.3333333мл"
                                                 << "мл" << 1e-4;
        QTest::newRow("tiny dose") << "0.00001"
                                   << "" << 0.0;
        QTest::newRow("huge dose") << "12345678901234567890"
                                   << "" << 0.5;
    }
    void labelLines() {
        QFETCH(QString, label);
        QFETCH(QString, unit);
        QFETCH(double, tolerance);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(8);
        const QFontMetrics metrics(font);
        const QStringList lines = traceLabelLines(label, metrics, IleumRecorder::labelSlot);
        QVERIFY(!lines.isEmpty() && lines.size() <= 2);
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= IleumRecorder::labelSlot, qPrintable(line));
        const QString joined = lines.join(QString());
        QVERIFY2(!joined.contains(u'…') && joined.endsWith(unit), qPrintable(joined));
        if (label.startsWith(QLatin1String("1/2"))) {
            QCOMPARE(joined, label);  // a fraction is never rewritten
        } else {
            const double wanted = numtext::numberReading(label), shown = numtext::numberReading(joined);
            QVERIFY2(std::abs(shown - wanted) <= tolerance * wanted, qPrintable(joined));
        }
        if (metrics.horizontalAdvance(label) <= IleumRecorder::labelSlot) QCOMPARE(lines, QStringList{label});
    }

    void rulerFollowsTheDrag() {
        Bench b;
        b.injectOnce();
        auto* ruler = b.rec->findChild<QLabel*>(QStringLiteral("Picture1"));
        QWidget* view = b.rec->findChild<QWidget*>(QStringLiteral("Pic_Continer"));
        QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(5, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(ruler->mapFrom(view, QPoint(200, 100))), QPointF(), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ruler, &move);
        QCOMPARE(b.rec->rulerX(), 200 + 40);  // paper x under the pointer
        QCOMPARE(ruler->x(), 200);
        QCOMPARE(ruler->y(), -5);
    }
};

QTEST_MAIN(TstIleumRecorder)
#include "tst_ileum_recorder.moc"
