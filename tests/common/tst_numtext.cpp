#include <QtTest>
#include <cfloat>
#include <clocale>
#include <random>

#include "numtext.h"

using namespace numtext;

class TstNumtext : public QObject {
    Q_OBJECT
private slots:
    void generalFormFloat_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("quarter") << 0.25f << "0.25";
        QTest::newRow("whole") << 2.0f << "2";
        QTest::newRow("negative half") << -0.5f << "-0.5";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("ten million") << 1e7f << "1E+07";
        QTest::newRow("largest fixed") << 9999999.0f << "9999999";
        QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
        QTest::newRow("smallest fixed, rounded up") << 0.0001f << "0.0001";  // the float is 9.99999975E-05
        QTest::newRow("below fixed") << 0.00001f << "1E-05";
        QTest::newRow("tiny") << 1.5e-10f << "1.5E-10";
        QTest::newRow("huge") << 3.4e38f << "3.4E+38";
        QTest::newRow("float noise rounds away") << 2.29999995f << "2.3";
        QTest::newRow("a tenth") << 0.1f << "0.1";
        QTest::newRow("a third") << 1.0f / 3.0f << "0.3333333";
        QTest::newRow("mixed") << 123.456f << "123.456";
        QTest::newRow("negative exponent form") << -2.5e-7f << "-2.5E-07";
        QTest::newRow("error ratio") << (2.3f - 2.5f) / 2.3f * 100.0f << "-8.695655";
    }
    void generalFormFloat() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(generalForm(value), text);
    }

    void generalFormDouble_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("kept digits") << 2.29999995 << "2.29999995";
        QTest::newRow("sum noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("doubled") << 0.8 * 2 << "1.6";
        QTest::newRow("halved") << 0.15 / 2 << "0.075";
        QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
        QTest::newRow("exponent") << 1e15 << "1E+15";
        QTest::newRow("three-digit exponent") << 1e100 << "1E+100";
        QTest::newRow("small") << 0.00001 << "1E-05";
        QTest::newRow("negative") << -12.5 << "-12.5";
    }
    void generalFormDouble() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(generalForm(value), text);
    }

    void roundingDecidesTheNotation() {
        QCOMPARE(generalForm(9999999.6, 7), QStringLiteral("1E+07"));
        QCOMPARE(generalForm(999999999999999.6), QStringLiteral("1E+15"));
    }

    void signedField_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("quarter") << 0.25f << " .25";
        QTest::newRow("whole") << 2.0f << " 2";
        QTest::newRow("one") << 1.0f << " 1";
        QTest::newRow("zero") << 0.0f << " 0";
        QTest::newRow("negative") << -0.5f << "-.5";
        QTest::newRow("negative whole") << -3.0f << "-3";
    }
    void signedField() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(signedFieldForm(value), text);
    }

    void reading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("quarter") << "0.25" << 0.25;
        QTest::newRow("whole") << "2" << 2.0;
        QTest::newRow("negative") << "-0.5" << -0.5;
        QTest::newRow("two points") << "1.2.3" << 1.2;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone minus") << "-" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks inside") << " 1 2 . 5" << 12.5;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("plus sign") << "+3" << 3.0;
        QTest::newRow("exponent") << "1E+07" << 1e7;
        QTest::newRow("small exponent") << "1.5E-05" << 1.5e-5;
        QTest::newRow("exponent without digits") << "1e+" << 1.0;
        QTest::newRow("decimal comma") << "2,5" << 2.5;
        QTest::newRow("comma, then a point") << "1,2.3" << 1.2;
        QTest::newRow("two commas") << "21,33,5" << 21.33;
        QTest::newRow("comma only") << "," << 0.0;
        QTest::newRow("leading comma") << ",5" << 0.5;
        QTest::newRow("too large for a double") << "1e999" << DBL_MAX;
        QTest::newRow("negative, too large") << "-1e999" << -DBL_MAX;
        QTest::newRow("too small for a double") << "1e-999" << 0.0;
        QTest::newRow("largest double as written") << "1.79769313486232E+308" << DBL_MAX;
        QTest::newRow("non-latin digits") << QString::fromUtf8("١٢") << 0.0;
        QTest::newRow("tab and newline") << "\t3\n4" << 34.0;
    }
    void reading() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(numberReading(text), value);
    }

    // Whatever number is written, reading it back and writing it again gives the same text.
    void roundTrip() {
        std::mt19937 gen(42);
        std::uniform_real_distribution<double> mantissa(1.0, 10.0);
        std::uniform_int_distribution<int> exponent(-40, 37);
        for (int i = 0; i < 20000; ++i) {
            const double d = mantissa(gen) * std::pow(10.0, exponent(gen)) * (i % 2 ? -1 : 1);
            const float f = static_cast<float>(d);
            if (!std::isfinite(f) || f == 0) continue;
            const QString ft = generalForm(f);
            QCOMPARE(generalForm(static_cast<float>(numberReading(ft))), ft);
            const QString dt = generalForm(d);
            QCOMPARE(generalForm(numberReading(dt)), dt);
        }
        for (double extreme : {DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324}) {  // found by fuzzing
            const QString written = generalForm(extreme);
            QCOMPARE(generalForm(numberReading(written)), written);
        }
    }

    // A user's locale with a decimal comma changes nothing.
    void ignoresLocale() {
        const char* old = std::setlocale(LC_ALL, nullptr);
        const std::string saved = old ? old : "C";
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "ru_RU.UTF-8"))
            QSKIP("no locale with a decimal comma on this machine");
        const QString written = generalForm(0.25f);
        const double read = numberReading(QStringLiteral("12.5"));
        std::setlocale(LC_ALL, saved.c_str());
        QCOMPARE(written, QStringLiteral("0.25"));
        QCOMPARE(read, 12.5);
    }

    void plainDecimal_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("plain");
        QTest::newRow("whole") << "12" << true;
        QTest::newRow("fraction") << "0.25" << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("point only") << "." << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("decimal comma") << "0,5" << true;
        QTest::newRow("comma only") << "," << false;
        QTest::newRow("comma and point") << "1,2.3" << false;
        QTest::newRow("negative") << "-1" << false;
        QTest::newRow("blank") << "1 2" << false;
        QTest::newRow("exponent") << "1E5" << false;
    }
    void plainDecimal() {
        QFETCH(QString, text);
        QFETCH(bool, plain);
        QCOMPARE(isPlainDecimal(text), plain);
    }
};

QTEST_APPLESS_MAIN(TstNumtext)
#include "tst_numtext.moc"
