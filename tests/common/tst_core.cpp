// Passwords and the random source.
#include <QtTest>

#include "fakes.h"
#include "password.h"
#include "random_source.h"

class TstCore : public QObject {
    Q_OBJECT
private slots:
    void storedPassword_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("three letters in blanks") << "  abc  " << 0 << "ABC" << false;
        QTest::newRow("leading blank") << " abcd" << 0 << "ABCD" << true;
        QTest::newRow("blanks only") << "     " << 0 << "" << false;
        QTest::newRow("inner blank counts") << "a b " << 0 << "A B" << false;
        QTest::newRow("fixed field padded") << "abcd" << 10 << "ABCD      " << true;
        QTest::newRow("fixed field cut") << "abcdefghijkl" << 10 << "ABCDEFGHIJ" << true;
        QTest::newRow("no field: as much as a box keeps") << "abcdefghijkl" << 0 << "ABCDEFGHIJ" << true;
        QTest::newRow("fixed field short") << " ab " << 10 << "AB        " << false;
        QTest::newRow("cyrillic upper-cased")
            << QString::fromUtf8("пароль") << 0 << QString::fromUtf8("ПАРОЛЬ") << true;
    }
    void storedPassword() {
        QFETCH(QString, typed);
        QFETCH(int, width);
        QFETCH(QString, stored);
        QFETCH(bool, acceptable);
        QCOMPARE(password::stored(typed, width), stored);
        QCOMPARE(password::acceptable(password::stored(typed, width)), acceptable);
    }

    void gateComparison() {
        QVERIFY(password::matches(QStringLiteral(" abcd "), QStringLiteral("ABCD      ")));
        QVERIFY(password::matches(QStringLiteral("AbCd"), QStringLiteral("ABCD")));
        QVERIFY(!password::matches(QStringLiteral("abc"), QStringLiteral("ABCD")));
        QVERIFY(!password::matches(QStringLiteral("abcde"), QStringLiteral("ABCD")));
        // Twelve characters set and twelve typed: both read as the ten a box keeps.
        QVERIFY(password::matches(QStringLiteral("abcdefghijkl"), password::stored(QStringLiteral("ABCDEFGHIJKL"), 0)));
        QVERIFY(!password::matches(QStringLiteral("abcdefghi"), password::stored(QStringLiteral("ABCDEFGHIJKL"), 0)));
    }

    void wholeNumberBounds() {
        ScriptedRandom r;
        r.values = {0.0, 0.999999, 0.5, 0.2};
        QCOMPARE(r.wholeNumber(1, 6), 1);
        QCOMPARE(r.wholeNumber(1, 6), 6);
        QCOMPARE(r.wholeNumber(1, 6), 4);    // floor(6 * 0.5 + 1)
        QCOMPARE(r.wholeNumber(-2, 2), -1);  // floor(5 * 0.2 - 2)
    }

    void mersenneStaysInRangeAndReseeds() {
        Mt19937Random a(7), b(7);
        double lo = 1, hi = 0, sum = 0;
        for (int i = 0; i < 100000; ++i) {
            const double u = a.uniform();
            QCOMPARE(u, b.uniform());
            QVERIFY(u >= 0 && u < 1);
            lo = std::min(lo, u);
            hi = std::max(hi, u);
            sum += u;
        }
        QVERIFY(lo < 0.001 && hi > 0.999);
        QVERIFY(std::abs(sum / 100000 - 0.5) < 0.01);
        b.reseedFromClock();
        int same = 0;
        for (int i = 0; i < 10; ++i) same += a.uniform() == b.uniform();
        QVERIFY(same < 10);
    }
};

QTEST_APPLESS_MAIN(TstCore)
#include "tst_core.moc"
