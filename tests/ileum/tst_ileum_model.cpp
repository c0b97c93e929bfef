// The arithmetic of the ileum bioassay.
#include <QtTest>
#include <cfloat>

#include "fakes.h"
#include "ileum_draws.h"
#include "ileum_model.h"
#include "ileum_run_state.h"
#include "numtext.h"

Q_DECLARE_METATYPE(StandardDose)

namespace {

void confirmVolume(IleumModel& m, float volume) {
    ScriptedRandom random;
    random.values = {volumeChance(volume)};
    m.confirmStandard(random);
}

}  // namespace

class TstIleumModel : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data() {
        QTest::addColumn<QString>("dose");
        QTest::addColumn<float>("sensitivity");
        QTest::addColumn<float>("x");
        QTest::addColumn<double>("R");
        QTest::addColumn<int>("peakY");
        QTest::newRow("0.1") << "0.1" << 1.0f << 1.1f << 0.0 << 181;
        QTest::newRow("0.19") << "0.19" << 1.0f << 1.19f << 1.0 << 180;
        QTest::newRow("0.195 in a gap") << "0.195" << 1.0f << 0.195f << 16.0 << 166;
        QTest::newRow("0.2") << "0.2" << 1.0f << 1.5f << 4.0 << 177;
        QTest::newRow("1") << "1" << 1.0f << 2.7f << 9.0 << 171;
        QTest::newRow("1.05 in a gap") << "1.05" << 1.0f << 1.05f << 0.0 << 181;
        QTest::newRow("10") << "10" << 1.0f << 12.0f << 24.0 << 146;
        QTest::newRow("16") << "16" << 1.0f << 17.1f << 28.0 << 137;
        QTest::newRow("17") << "17" << 1.0f << 17.1f << 28.0 << 137;
        QTest::newRow("100") << "100" << 1.0f << 100.0f << 46.0 << 36;
        QTest::newRow("50 at sensitivity 3: ceiling") << "50" << 3.0f << 150.0f << 50.0 << 20;
        QTest::newRow("0.08: small-dose reduction") << "0.08" << 2.0f << 2.16f << 7.0 << 180;
        QTest::newRow("0.5 at sensitivity 5") << "0.5" << 5.0f << 10.0f << 23.0 << 149;
        QTest::newRow("0.05: clamped to the baseline") << "0.05" << 1.0f << 1.05f << 0.0 << 185;
        QTest::newRow("0.075 after halving: 7 pixels less") << "0.075" << 1.0f << 1.075f << 0.0 << 185;
    }
    void workedExamples() {
        QFETCH(QString, dose);
        QFETCH(float, sensitivity);
        QFETCH(float, x);
        QFETCH(double, R);
        QFETCH(int, peakY);
        IleumModel m = referenceModel(sensitivity);
        const InjectionResult r = m.inject(dose, QString());
        QCOMPARE(m.InjLabel(), dose);
        QCOMPARE(r.stimulus, x);
        QCOMPARE(r.response, R);
        QVERIFY(!r.flicker);
        QCOMPARE(int(r.PeakY), peakY);
    }

    void responseValue_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<double>("R");
        QTest::newRow("1") << 1.0f << 0.0;
        QTest::newRow("10") << 10.0f << 23.0;
        QTest::newRow("0.5") << 0.5f << 6.0;
        QTest::newRow("0.195") << 0.195f << 16.0;
        QTest::newRow("1.1") << 1.1f << 0.0;
        // ln x is 2.29999995 in single precision, written 2.3: the carried digit counts.
        QTest::newRow("carried by the rounding") << float(std::exp(2.3)) << 23.0;
        QTest::newRow("tiny logarithm") << 1.00001f << 0.0;
        QTest::newRow("largest float") << FLT_MAX << 887.0;
    }
    void responseValue() {
        QFETCH(float, x);
        QFETCH(double, R);
        IleumModel m;
        QCOMPARE(m.Caclulate_Resp(x), R);
    }

    void carriedLogarithmIsWrittenRounded() {
        IleumModel m;
        m.Caclulate_Resp(float(std::exp(2.3)));
        QVERIFY(double(m.parts().LogValue) < 2.3);  // 2.29999995
        QCOMPARE(numtext::generalForm(m.parts().LogValue), QStringLiteral("2.3"));
        QCOMPARE(m.parts().IntPart, qint16(2));
        QCOMPARE(m.parts().Digits, QStringLiteral("3"));
    }

    void effectiveDoseGaps_data() {
        QTest::addColumn<float>("amount");
        QTest::addColumn<float>("effective");
        QTest::newRow("0.19") << 0.19f << 1.19f;
        QTest::newRow("0.195 gap") << 0.195f << 0.195f;
        QTest::newRow("0.3") << 0.3f << 1.6f;
        QTest::newRow("0.305 gap") << 0.305f << 0.305f;
        QTest::newRow("0.31") << 0.31f << 1.81f;
        QTest::newRow("0.7") << 0.7f << 2.2f;
        QTest::newRow("0.71") << 0.71f << 2.41f;
        QTest::newRow("1.05 gap") << 1.05f << 1.05f;
        QTest::newRow("5") << 5.0f << 6.9f;
        QTest::newRow("5.05 gap") << 5.05f << 5.05f;
        QTest::newRow("5.1") << 5.1f << 7.1f;
        QTest::newRow("15") << 15.0f << 17.0f;
        QTest::newRow("15.05 gap") << 15.05f << 15.05f;
        QTest::newRow("15.1") << 15.1f << 17.1f;
        QTest::newRow("16.5") << 16.5f << 17.1f;
        QTest::newRow("17") << 17.0f << 17.1f;
        QTest::newRow("17.5 above") << 17.5f << 17.5f;
        // 0.1900000051 as a float is written 0.19: the rounded value decides the row.
        QTest::newRow("float just above 0.19") << std::nextafter(0.19f, 1.0f) << std::nextafter(0.19f, 1.0f) + 1.0f;
    }
    void effectiveDoseGaps() {
        QFETCH(float, amount);
        QFETCH(float, effective);
        QCOMPARE(IleumModel::effectiveDose(amount), effective);
    }

    void threshold() {
        IleumModel m = referenceModel(1.0f);
        QVERIFY(m.inject(QStringLiteral("0.029"), {}).flicker);
        QVERIFY(!m.inject(QStringLiteral("0.03"), {}).flicker);
        m.startMatching();  // no threshold in the matching phase
        confirmVolume(m, 0.25f);
        QVERIFY(!m.inject(QStringLiteral("0.029"), QStringLiteral("0.5")).flicker);
        QVERIFY(!m.inject(QStringLiteral("0.03"), QStringLiteral("0.5")).flicker);
    }

    void injectionKinds() {
        IleumModel m = referenceModel(1.0f);
        m.startMatching();
        confirmVolume(m, 0.25f);
        // The unknown: V / MatchVolume × S.
        QCOMPARE(m.inject(QStringLiteral("0.1"), QStringLiteral("0.5")).amount, (0.1f / 0.25f) * 0.5f);
        QCOMPARE(m.InjLabel(), QStringLiteral("0.1мл"));
        // A pending standard-series injection uses its amount, then is cleared.
        m.queueStandard(StandardDose::Double, QStringLiteral("0.5"));
        QCOMPARE(m.inject(QStringLiteral("0.1"), QStringLiteral("0.5")).amount, 1.0f);
        QCOMPARE(m.InjLabel(), QStringLiteral("2Стнд"));
        QCOMPARE(m.StdInjection(), false);
        // The dose box at 0.05 ml makes the standard 12 pixels shorter than at 0.1 ml.
        m.queueStandard(StandardDose::Double, QStringLiteral("0.5"));
        const int at01 = m.inject(QStringLiteral("0.1"), QStringLiteral("0.5")).PeakY;
        m.queueStandard(StandardDose::Double, QStringLiteral("0.5"));
        const int at005 = m.inject(QStringLiteral("0.05"), QStringLiteral("0.5")).PeakY;
        QCOMPARE(at005 - at01, 12);
    }

    // Whatever RefY was drawn, a stimulus of 118 reaches the ceiling; 117 may not.
    void ceilingAt118() {
        for (float x : {118.0f, 120.0f, 500.0f, 1e6f}) {
            IleumModel m = referenceModel(1.0f, 185);
            m.startMatching();
            // Above 17 the effective dose is the amount.
            m.queueStandard(StandardDose::Standard, numtext::generalForm(x));
            QCOMPARE(m.StdAmount(), x);
            QCOMPARE(int(m.inject(QStringLiteral("0.1"), QStringLiteral("1")).PeakY), 20);
        }
        IleumModel m = referenceModel(1.0f, 185);
        QCOMPARE(int(m.inject(QStringLiteral("117"), {}).PeakY), 21);
    }

    void hugeTypedNumbersSaturate() {
        IleumModel m = referenceModel(5.0f);
        const InjectionResult r = m.inject(QStringLiteral("1") + QString(45, u'0'), {});
        QVERIFY(std::isfinite(r.stimulus));
        QCOMPARE(int(r.PeakY), 20);
    }

    void draws() {
        ScriptedRandom setUp, random;
        IleumModel m;
        m.setUpRecorder(225, setUp);
        QCOMPARE(m.BaseY(), qint16(185));
        QCOMPARE(setUp.reseeds, 1);
        random.values = {0.0, 0.0, 0.999999, 0.999999, 0.5};
        m.startMatching();
        m.startExperiment(random);
        QCOMPARE(m.MatchPhase(), false);
        QCOMPARE(m.RefY(), qint16(179));
        QCOMPARE(m.Sensitivity(), 1.0f);
        m.startExperiment(random);
        QCOMPARE(m.RefY(), qint16(185));
        QCOMPARE(m.Sensitivity(), 5.0f);
        m.confirmStandard(random);
        QCOMPARE(m.MatchVolume(), 0.35f);  // floor(0.5 × 31 + 20) / 100
        QCOMPARE(random.reseeds, 2);
    }

    void concentrations() {
        IleumModel m;
        QCOMPARE(m.trueConcentration(QString()).conc, -1.0f);
        QVERIFY(m.trueConcentration(QString()).noStandardTyped);
        QCOMPARE(m.trueConcentration(QStringLiteral("0.5")).conc, -1.0f);  // typed, never confirmed
        QVERIFY(!m.trueConcentration(QStringLiteral("0.5")).noStandardTyped);
        confirmVolume(m, 0.21f);
        QCOMPARE(m.trueConcentration(QStringLiteral("0.5")).conc, 0.5f / 0.21f);
        QCOMPARE(numtext::generalForm(m.trueConcentration(QStringLiteral("0.5")).conc), QStringLiteral("2.380952"));

        QCOMPARE(*IleumModel::studentConcentration(QStringLiteral("0.5"), QStringLiteral("0.25")), 2.0f);
        QVERIFY(!IleumModel::studentConcentration(QStringLiteral("0.5"), QStringLiteral("0")));
        QVERIFY(!IleumModel::studentConcentration(QStringLiteral("0.5"), QStringLiteral(".")));
        // A volume beyond single precision is no volume, though 0.5 / FLT_MAX would be finite.
        QVERIFY(!IleumModel::studentConcentration(QStringLiteral("0.5"), QStringLiteral("1") + QString(39, u'0')));
    }

    // Nothing typed may lead to an infinite or undefined result: an input that would is refused.
    void inputsWithoutFiniteResultsAreRefused() {
        const QString huge = QStringLiteral("3") + QString(38, u'0');          // 3e38 µg: its double is beyond a float
        const QString tiny = QStringLiteral("0.") + QString(44, u'0') + u'1';  // 1e-45
        QVERIFY(IleumModel::usableStandard(QStringLiteral("0.5")));
        QVERIFY(!IleumModel::usableStandard(huge));
        QVERIFY(IleumModel::usableStandard(QStringLiteral("6") + QString(37, u'0')));   // 6e37 / 0.20 ml still fits
        QVERIFY(!IleumModel::usableStandard(QStringLiteral("7") + QString(37, u'0')));  // 7e37 / 0.20 ml does not
        QVERIFY(!IleumModel::usableStandard(QStringLiteral("0.") + QString(45, u'0') + u'1'));  // 1e-46 is 0 in a float

        QVERIFY(!IleumModel::studentConcentration(QStringLiteral("25"), tiny));
        QCOMPARE(*IleumModel::studentConcentration(QStringLiteral("25"), QStringLiteral("0.5")), 50.0f);

        IleumModel m = referenceModel(1.0f);
        QVERIFY(m.injectable(QStringLiteral("0.1"), {}));
        QVERIFY(!m.injectable(QString(), {}));
        m.startMatching();
        confirmVolume(m, 0.2f);
        QVERIFY(m.injectable(QStringLiteral("0.1"), QStringLiteral("0.5")));
        // 1e30 ml of the unknown at 1e10 µg per 0.2 ml: 5e40 µg.
        QVERIFY(!m.injectable(QStringLiteral("1") + QString(30, u'0'), QStringLiteral("1") + QString(10, u'0')));
        // A standard-series injection does not read the dose box.
        m.queueStandard(StandardDose::Double, QStringLiteral("0.5"));
        QVERIFY(m.injectable(QString(), QStringLiteral("0.5")));

        QVERIFY(IleumModel::usableAnswer(QString(), 2.5f));
        QVERIFY(IleumModel::usableAnswer(QStringLiteral("0"), 2.5f));
        QVERIFY(IleumModel::usableAnswer(QStringLiteral("2.4"), 2.5f));
        QVERIFY(!IleumModel::usableAnswer(huge, 1.0f));  // an error of −3e40 %
        QVERIFY(IleumModel::usableAnswer(huge, -1.0f));  // no true concentration, no ratio
        QVERIFY(!IleumModel::usableAnswer(QStringLiteral("1") + QString(39, u'0'), -1.0f));  // beyond a float
    }

    // The dose buttons double a dose up to 500 and halve one down to 0.1; beyond those
    // the box keeps its dose ("" here).
    void doseButtons_data() {
        QTest::addColumn<QString>("dose");
        QTest::addColumn<QString>("doubled");
        QTest::addColumn<QString>("halved");
        QTest::newRow("0.1: the least halved") << "0.1"
                                               << "0.2"
                                               << "";
        QTest::newRow("just above 0.1") << "0.1000001"
                                        << "0.2000002"
                                        << "0.05000005";
        QTest::newRow("0.15") << "0.15"
                              << "0.3"
                              << "0.075";
        QTest::newRow("500: the most doubled") << "500"
                                               << "1000"
                                               << "250";
        QTest::newRow("500.1") << "500.1"
                               << ""
                               << "250.05";
        QTest::newRow("819.2") << "819.2"
                               << ""
                               << "409.6";
        QTest::newRow("empty reads 0") << ""
                                       << "0"
                                       << "";
        QTest::newRow("a decimal comma") << "0,4"
                                         << "0.8"
                                         << "0.2";
    }
    void doseButtons() {
        QFETCH(QString, dose);
        QFETCH(QString, doubled);
        QFETCH(QString, halved);
        QCOMPARE(IleumModel::doubledDose(dose).value_or(QString()), doubled);
        QCOMPARE(IleumModel::halvedDose(dose).value_or(QString()), halved);
    }

    // The standard series' buttons: their labels, amounts and the texts beside them, for
    // the standard dose 0.5 µg.
    void standardSeries_data() {
        QTest::addColumn<StandardDose>("which");
        QTest::addColumn<QString>("label");
        QTest::addColumn<float>("amount");
        QTest::addColumn<QString>("shown");
        QTest::newRow("standard") << StandardDose::Standard << "Стнд " << 0.5f << "0.5";
        QTest::newRow("half") << StandardDose::Half << "1/2Стнд" << 0.25f << " .25";
        QTest::newRow("double") << StandardDose::Double << "2Стнд" << 1.0f << " 1";
    }
    void standardSeries() {
        QFETCH(StandardDose, which);
        QFETCH(QString, label);
        QFETCH(float, amount);
        QFETCH(QString, shown);
        IleumModel m = referenceModel(1.0f);
        m.startMatching();
        confirmVolume(m, 0.25f);
        m.queueStandard(which, QStringLiteral("0.5"));
        QVERIFY(m.StdInjection());
        QCOMPARE(m.StdAmount(), amount);
        QCOMPARE(m.InjLabel(), label);
        QCOMPARE(IleumModel::standardDoseText(which, QStringLiteral("0.5")), shown);
        QCOMPARE(m.inject(QStringLiteral("0.3"), QStringLiteral("0.5")).amount, amount);
        QCOMPARE(m.InjLabel(), label);
        // A plain injection after it is the dose box's again: the unknown's volume.
        m.queueStandard(which, QStringLiteral("0.5"));
        m.plainInjection();
        QCOMPARE(m.inject(QStringLiteral("0.3"), QStringLiteral("0.5")).amount, (0.3f / 0.25f) * 0.5f);
        QCOMPARE(m.InjLabel(), QStringLiteral("0.3мл"));
    }

    // The recorder's paper in the model: the baseline from the paper's height, and one
    // trace width of paper for each injection.
    void recorderPaper() {
        IleumModel m;
        ScriptedRandom random;
        m.setUpRecorder(300, random);
        QCOMPARE(m.BaseY(), qint16(260));
        m.startRecorder(497);
        m.advancePaper();
        m.advancePaper();
        QCOMPARE(m.paperScroll().width(), 497 + 2 * IleumModel::traceWidth);
        QCOMPARE(m.paperScroll().left(), -2 * IleumModel::traceWidth);
        QCOMPARE(m.paperScroll().growth(), 2 * IleumModel::traceWidth);
        m.startRecorder(497);
        QCOMPARE(m.paperScroll().width(), 497);
    }

    // The examination's end in the run state: the answer it takes, the true concentration
    // as the supervisor sees it and the error against that.
    void examinationResult() {
        const QString huge = QStringLiteral("3") + QString(38, u'0');
        IleumRunState run;
        run.setActualConc(0.5f / 0.21f);
        QVERIFY(run.properlyConducted());
        QVERIFY(!run.takeAnswer(huge));  // an error of −3e40 %
        QCOMPARE(run.StudentConc(), 0.0f);
        QVERIFY(run.takeAnswer(QStringLiteral("2,4")));
        QCOMPARE(run.StudentConc(), 2.4f);
        QCOMPARE(run.showActualConc(), QStringLiteral("2.380952"));
        QVERIFY(0.5f / 0.21f != 2.380952f);
        QVERIFY(run.ActualConc() == 2.380952f);  // the number shown, not the quotient
        QCOMPARE(numtext::generalForm(run.errorRatio()), QStringLiteral("-0.8000252"));

        run.reset();
        run.setActualConc(-1);
        QVERIFY(!run.properlyConducted());
        QVERIFY(run.takeAnswer(huge));  // nothing to compare with
        QCOMPARE(run.StudentConc(), 3e38f);
    }

    void errorRatio_data() {
        QTest::addColumn<float>("actual");
        QTest::addColumn<float>("student");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("too high") << 2.3f << 2.5f << "-8.695655";
        QTest::newRow("too low") << 0.5f / 0.21f << 2.380952f << "0";
        QTest::newRow("0.5 with 0.21 ml, answer 2.4") << 0.5f / 0.21f << 2.4f << "-0.8000252";
        QTest::newRow("answer 0") << 0.5f / 0.21f << 0.0f << "100";
        QTest::newRow("0.5 with 0.4 ml, answer 1") << 0.5f / 0.4f << 1.0f << "20";
    }
    void errorRatio() {
        QFETCH(float, actual);
        QFETCH(float, student);
        QFETCH(QString, ratio);
        QCOMPARE(numtext::generalForm(IleumModel::errorRatio(actual, student)), ratio);
    }
};

QTEST_APPLESS_MAIN(TstIleumModel)
#include "tst_ileum_model.moc"
