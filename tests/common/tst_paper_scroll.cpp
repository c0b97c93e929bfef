// The counting behind both kymographs' windows: paper width, view and scroll range.
#include <QtTest>

#include "paper_scroll.h"

class TstPaperScroll : public QObject {
    Q_OBJECT
private slots:
    // The steps at which the scroll range widens, and its size after each: the ileum's
    // 497-pixel paper grows 40 pixels an injection, the heart's 329-pixel paper one a tick.
    void widenings_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QVector<int>>("steps");
        QTest::addColumn<QVector<int>>("positions");
        QTest::newRow("ileum") << 497 << 40 << 124 << QVector<int>{14, 18, 22, 26} << QVector<int>{4, 5, 6, 7};
        QTest::newRow("heart") << 329 << 1 << 82 << QVector<int>{331, 414, 497, 580} << QVector<int>{4, 5, 6, 7};
    }
    void widenings() {
        QFETCH(int, width);
        QFETCH(int, pixels);
        QFETCH(int, unit);
        QFETCH(QVector<int>, steps);
        QFETCH(QVector<int>, positions);
        PaperScroll s;
        s.start(width);
        QCOMPARE(s.unit(), unit);
        QCOMPARE(s.growthLimit(), width);
        QCOMPARE(s.step(), 4);
        QVector<int> at, sizes;
        for (int n = 1; n <= steps.last(); ++n) {
            const int before = s.positions();
            s.record(pixels);
            if (s.positions() != before) {
                at << n;
                sizes << s.positions();
                QCOMPARE(s.growth(), pixels);  // counting starts again with this step
                QCOMPARE(s.growthLimit(), unit);
                QCOMPARE(s.step(), 1);
            }
            QCOMPARE(s.width(), width + n * pixels);
            QCOMPARE(s.left(), -n * pixels);
        }
        QCOMPARE(at, steps);
        QCOMPARE(sizes, positions);
    }

    // Growth counted outside a step (the heart's arrests write four strokes at once) brings
    // the next widening forward, but only a step widens the range.
    void countedGrowthWidensAtTheNextStep() {
        PaperScroll s;
        s.start(329);
        for (int n = 0; n < 326; ++n) s.record(1);
        s.count(4);
        QCOMPARE(s.growth(), 330);
        QCOMPARE(s.positions(), 0);
        QVERIFY(!s.full());
        s.advance(3);  // advancing counts nothing
        QCOMPARE(s.growth(), 330);
        QCOMPARE(s.width(), 329 + 329);
        s.record(1);
        QCOMPARE(s.positions(), 4);
        QCOMPARE(s.growth(), 1);
    }

    void widenNeedsMoreThanTheLimit() {
        PaperScroll s;
        s.start(100);
        s.count(100);
        QVERIFY(!s.widen());
        s.count(1);
        QVERIFY(s.widen());
        QCOMPARE(s.positions(), 4);
        QCOMPARE(s.growth(), 0);
    }

    // The ileum's 398th injection meets the limit: the width stops at it, the view still
    // moves the whole trace.
    void widthStopsAtTheLimit() {
        PaperScroll s;
        s.start(497);
        for (int n = 1; n <= 397; ++n) s.record(40);
        QCOMPARE(s.width(), 16377);
        QVERIFY(!s.full());
        s.record(40);
        QCOMPARE(s.width(), PaperScroll::maxWidth);
        QCOMPARE(s.left(), -398 * 40);
        QVERIFY(s.full());
        s.advance(1);
        QCOMPARE(s.width(), PaperScroll::maxWidth);
    }

    void scrolledLeft_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("leftAt");
        QTest::addColumn<int>("shownLeft");
        QTest::newRow("the start of the strip") << 0 << 0 << 0;
        QTest::newRow("two units on") << 2 << -248 << -248;
        QTest::newRow("one before the far end") << 5 << -620 << -620;
        QTest::newRow("the far end: the newest part") << 6 << -744 << -22 * 40;
    }
    void scrolledLeft() {
        QFETCH(int, position);
        QFETCH(int, leftAt);
        QFETCH(int, shownLeft);
        PaperScroll s;
        s.start(497);
        for (int n = 0; n < 22; ++n) s.record(40);
        QCOMPARE(s.positions(), 6);
        QCOMPARE(s.leftAt(position), leftAt);
        QCOMPARE(s.shownLeft(position), shownLeft);
    }

    void startOverForgetsEverything() {
        PaperScroll s;
        s.start(497);
        for (int n = 0; n < 30; ++n) s.record(40);
        s.start(400);
        QCOMPARE(s.width(), 400);
        QCOMPARE(s.firstWidth(), 400);
        QCOMPARE(s.left(), 0);
        QCOMPARE(s.positions(), 0);
        QCOMPARE(s.growth(), 0);
        QCOMPARE(s.growthLimit(), 400);
        QCOMPARE(s.unit(), 100);
        QCOMPARE(s.step(), 4);
    }
};

QTEST_APPLESS_MAIN(TstPaperScroll)
#include "tst_paper_scroll.moc"
