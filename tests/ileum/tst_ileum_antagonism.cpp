// The tutorial's competitive antagonism on the ileum: the antagonist in the bath, the
// student's points, dose ratios and the Schild plot.
#include <QtTest>
#include <cmath>

#include "fakes.h"
#include "ileum_antagonism.h"
#include "ileum_draws.h"
#include "ileum_model.h"
#include "numtext.h"

namespace {

// Doses doubling from 0.1 µg up to `last`, written as the "+" button writes them (the
// student types those beyond its 819.2).
QStringList doublingDoses(double last) {
    QStringList doses{QStringLiteral("0.1")};
    while (numtext::numberReading(doses.last()) < last)
        doses << numtext::generalForm(2 * numtext::numberReading(doses.last()));
    return doses;
}

void injectAll(IleumModel& m, const QStringList& doses) {
    for (const QString& dose : doses) m.inject(dose, {});
}

// A tutorial run: the control curve, then a curve under each of the three concentrations of
// mepyramine, washed out twice after each: the control from 0.1 µg up to the ceiling, the
// blocked curves from 0.1 µg past the control's half height.
IleumModel tutorialRun(float sensitivity, qint16 refY, double pA2) {
    IleumModel m = referenceModel(sensitivity, refY);
    ScriptedRandom random;
    random.values = {pA2Chance(pA2)};
    injectAll(m, doublingDoses(409.6));
    for (double nM : mepyramineNanomolar) {
        m.addMepyramine(nM, random);
        injectAll(m, doublingDoses(3276.8));
        m.wash();
        m.wash();
    }
    return m;
}

CurveSeries curve(const QList<QPointF>& doseAndHeight) {
    CurveSeries c;
    for (const QPointF& p : doseAndHeight) c.points << CurvePoint{float(p.x()), std::log10(p.x()), p.y()};
    return c;
}

}  // namespace

class TstIleumAntagonism : public QObject {
    Q_OBJECT
private slots:
    // The whole exercise on tissues of several sensitivities, pA2s and reference rows: each
    // dose ratio against 1 + B / K_B, the Schild line's slope and its pA2 against the tissue's.
    // Where the control reaches half its tallest contraction above 17 µg (sensitivity below
    // 2), only the quantised response and the interpolation between doubled doses stand
    // between the ratios and 1 + B / K_B: within 10 %. Below 17 µg the effective-dose table
    // adds about 2 µg to every dose, which the antagonist divides with the rest, so a
    // sensitive tissue needs more histamine under the antagonist than 1 + B / K_B times: the
    // ratios come out high by up to 38 % at sensitivity 5, the pA2 by up to 0.21; the slope
    // stays near 1.
    void schildRun_data() {
        QTest::addColumn<float>("sensitivity");
        QTest::addColumn<int>("refY");
        QTest::addColumn<double>("pA2");
        QTest::addColumn<double>("drLow");  // least and most dose ratio / (1 + B / K_B) − 1
        QTest::addColumn<double>("drHigh");
        QTest::addColumn<double>("pA2Low");  // least and most fitted − true pA2
        QTest::addColumn<double>("pA2High");
        QTest::newRow("1.0, 9.1") << 1.0f << 179 << 9.1 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("1.0, 9.5") << 1.0f << 185 << 9.5 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("1.2, 9.3") << 1.2f << 185 << 9.3 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("1.5, 9.3") << 1.5f << 182 << 9.3 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("1.9, 9.1") << 1.9f << 185 << 9.1 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("1.9, 9.5") << 1.9f << 179 << 9.5 << -0.1 << 0.1 << -0.2 << 0.2;
        QTest::newRow("2.5: high") << 2.5f << 182 << 9.3 << 0.0 << 0.4 << 0.0 << 0.25;
        QTest::newRow("5.0: high") << 5.0f << 179 << 9.3 << 0.0 << 0.4 << 0.0 << 0.25;
    }
    void schildRun() {
        QFETCH(float, sensitivity);
        QFETCH(int, refY);
        QFETCH(double, pA2);
        QFETCH(double, drLow);
        QFETCH(double, drHigh);
        QFETCH(double, pA2Low);
        QFETCH(double, pA2High);
        const IleumModel m = tutorialRun(sensitivity, qint16(refY), pA2);
        QCOMPARE(*m.mepyraminePA2(), pA2);
        // A larger dose never gives a smaller contraction, even where the antagonist leaves
        // the stimulus below 1.
        for (const CurveSeries& s : m.points().series())
            for (qsizetype k = 1; k < s.points.size(); ++k) QVERIFY(s.points[k].heightMm >= s.points[k - 1].heightMm);
        const QList<AntagonistRatio> ratios = doseRatios(m.points());
        QCOMPARE(ratios.size(), 3);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(ratios[k].condition, (BathCondition{Antagonist::Mepyramine, mepyramineNanomolar[k]}));
            QVERIFY(ratios[k].dr);
            const double expected = 1 + mepyramineNanomolar[k] * std::pow(10.0, pA2 - 9);
            const double error = ratios[k].dr->ratio / expected - 1;
            QVERIFY2(error >= drLow && error <= drHigh, qPrintable(QStringLiteral("%1 nM: DR %2, 1 + B/K_B %3")
                                                                       .arg(mepyramineNanomolar[k])
                                                                       .arg(ratios[k].dr->ratio)
                                                                       .arg(expected)));
        }
        const SchildAnalysis a = schildAnalysis(schildInputs(ratios));
        QCOMPARE(a.points.size(), 3);
        QVERIFY(a.fit);
        QVERIFY2(a.fit->slope >= 0.8 && a.fit->slope <= 1.2, qPrintable(QString::number(a.fit->slope)));
        QVERIFY(a.fit->competitive);
        QVERIFY(a.fit->pA2);
        const double pA2Error = *a.fit->pA2 - pA2;
        QVERIFY2(pA2Error >= pA2Low && pA2Error <= pA2High, qPrintable(QString::number(*a.fit->pA2)));
    }

    // Atropine blocks muscarinic receptors, not histamine's: every contraction and flicker as
    // without it, so its curve lies on the control's and is no point of the Schild plot.
    void atropineLeavesHeightsUnchanged() {
        IleumModel m = referenceModel(2.0f, 180);
        const QStringList doses = QStringList{QStringLiteral("0.02"), QStringLiteral("0.05")} + doublingDoses(409.6);
        QList<InjectionResult> control;
        for (const QString& dose : doses) control << m.inject(dose, {});
        QCOMPARE(m.addAtropine(), QStringLiteral("Атропин"));
        QCOMPARE(m.blockFactor(), 1.0);
        for (qsizetype k = 0; k < doses.size(); ++k) {
            const InjectionResult r = m.inject(doses[k], {});
            QCOMPARE(r.condition, (BathCondition{Antagonist::Atropine, 0}));
            QCOMPARE(r.stimulus, control[k].stimulus);
            QCOMPARE(r.flicker, control[k].flicker);
            QCOMPARE(r.PeakY, control[k].PeakY);
        }
        const QList<AntagonistRatio> ratios = doseRatios(m.points());
        QCOMPARE(ratios.size(), 1);
        QVERIFY(ratios[0].dr);
        QCOMPARE(ratios[0].dr->ratio, 1.0);
        QVERIFY(schildInputs(ratios).isEmpty());
    }

    // An antagonist stays through the first wash; the second clears it. Adding one starts its
    // count afresh; a wash of a bath without one counts for nothing.
    void washRule() {
        IleumModel m = referenceModel(1.5f);
        ScriptedRandom random;
        random.values = {pA2Chance(9.3)};
        const BathCondition none, mepyramine3{Antagonist::Mepyramine, 3}, atropine{Antagonist::Atropine, 0};
        const qint16 unblocked = m.inject(QStringLiteral("25.6"), {}).PeakY;

        QCOMPARE(m.addMepyramine(3, random), QStringLiteral("Мепирамин 3 нМ"));
        const InjectionResult blocked = m.inject(QStringLiteral("25.6"), {});
        QCOMPARE(blocked.condition, mepyramine3);
        QVERIFY(blocked.PeakY > unblocked);  // a smaller contraction
        QCOMPARE(m.wash(), QStringLiteral("Промывание"));
        QCOMPARE(m.bath(), mepyramine3);
        QCOMPARE(m.inject(QStringLiteral("25.6"), {}).PeakY, blocked.PeakY);
        m.wash();
        QCOMPARE(m.bath(), none);
        const InjectionResult washedOut = m.inject(QStringLiteral("25.6"), {});
        QCOMPARE(washedOut.condition, none);
        QCOMPARE(washedOut.PeakY, unblocked);

        m.wash();
        m.addAtropine();
        m.wash();
        QCOMPARE(m.bath(), atropine);
        m.addMepyramine(10, random);  // in place of the atropine, one wash or not
        m.wash();
        QCOMPARE(m.bath(), (BathCondition{Antagonist::Mepyramine, 10}));
        m.wash();
        QCOMPARE(m.bath(), none);
    }

    // Mepyramine's pA2 is drawn with its first addition in an experiment, after the
    // experiment's own draws, which stay the two they always were.
    void pA2Draw() {
        ScriptedRandom random;
        IleumModel m;
        m.setUpRecorder(225, random);
        random.values = {refYChance(3), sensitivityChance(2.0f), 0.999999, 0.0, 0.0, 0.0};
        m.startExperiment(random);
        QCOMPARE(random.values.size(), size_t(4));
        QCOMPARE(m.RefY(), qint16(182));
        QCOMPARE(m.Sensitivity(), 2.0f);
        QVERIFY(!m.mepyraminePA2());
        m.addAtropine();
        QCOMPARE(random.values.size(), size_t(4));
        m.addMepyramine(1, random);
        QCOMPARE(*m.mepyraminePA2(), 9.5);
        m.addMepyramine(10, random);  // the same tissue: no new draw
        QCOMPARE(random.values.size(), size_t(3));
        QCOMPARE(m.blockFactor(), 1 + 10 * std::pow(10.0, 0.5));
        m.inject(QStringLiteral("1"), {});

        m.startExperiment(random);  // a new strip: nothing in the bath, nothing recorded
        QCOMPARE(m.bath(), BathCondition{});
        QCOMPARE(m.blockFactor(), 1.0);
        QVERIFY(!m.mepyraminePA2());
        QVERIFY(m.points().series().isEmpty());
        m.addMepyramine(3, random);
        QCOMPARE(*m.mepyraminePA2(), 9.1);
        QVERIFY(random.values.empty());
    }

    // The points: the amount that reached the bath, its log, the height on the ruler's scale
    // (its 80 mm from the baseline to the ceiling row), one series a condition in the order
    // first used; flickers at 0; the unknown solution left out.
    void points() {
        IleumModel m = referenceModel(1.0f);  // RefY 182, BaseY 185
        const double mmPerPixel = 80.0 / 165;
        QCOMPARE(m.heightMm(m.inject(QStringLiteral("10"), {})), 39 * mmPerPixel);  // PeakY 146
        m.inject(QStringLiteral("0.02"), {});                                       // a flicker
        QCOMPARE(m.heightMm(m.inject(QStringLiteral("0.05"), {})), 0.0);            // clamped to the baseline
        QCOMPARE(m.heightMm(m.inject(QStringLiteral("1000"), {})), 80.0);           // the ceiling
        m.addAtropine();
        m.inject(QStringLiteral("1"), {});
        m.wash();
        m.wash();
        m.inject(QStringLiteral("100"), {});  // PeakY 36
        m.startMatching();
        ScriptedRandom random;
        random.values = {volumeChance(0.25f)};
        m.confirmStandard(random);
        QVERIFY(m.inject(QStringLiteral("0.1"), QStringLiteral("0.5")).unknown);
        m.queueStandard(StandardDose::Double, QStringLiteral("0.5"));
        QVERIFY(!m.inject(QStringLiteral("0.1"), QStringLiteral("0.5")).unknown);

        const QList<CurveSeries>& series = m.points().series();
        QCOMPARE(series.size(), 2);
        QCOMPARE(series[0].condition.text(), QStringLiteral("Контроль"));
        QCOMPARE(series[1].condition.text(), QStringLiteral("Атропин"));
        QCOMPARE(series[1].points.size(), 1);
        const QList<float> doses{10, 0.02f, 0.05f, 1000, 100, 1};
        const QList<double> heights{39 * mmPerPixel, 0, 0, 80, 149 * mmPerPixel, 14 * mmPerPixel};
        QCOMPARE(series[0].points.size(), doses.size());
        for (qsizetype k = 0; k < doses.size(); ++k) {
            QCOMPARE(series[0].points[k].dose, doses[k]);
            QCOMPARE(series[0].points[k].logDose, std::log10(double(doses[k])));
            QCOMPARE(series[0].points[k].heightMm, heights[k]);
        }
    }

    // The dose ratio at half the control's tallest contraction, from curves made by hand
    // (dose, height in mm); 0 for no ratio.
    void ratioAtEqualHeight_data() {
        QTest::addColumn<QList<QPointF>>("control");
        QTest::addColumn<QList<QPointF>>("antagonist");
        QTest::addColumn<double>("ratio");
        const QList<QPointF> control{{1, 10}, {10, 30}, {100, 40}};  // 20 mm at log dose 0.5
        QTest::newRow("interpolated on both") << control << QList<QPointF>{{10, 10}, {100, 30}} << 10.0;
        QTest::newRow("on a point") << control << QList<QPointF>{{2, 0}, {20, 20}, {200, 35}} << 20 / std::sqrt(10.0);
        QTest::newRow("in any order, a repeated dose averaged")
            << QList<QPointF>{{100, 40}, {10, 25}, {1, 10}, {10, 35}} << QList<QPointF>{{100, 30}, {10, 10}} << 10.0;
        QTest::newRow("a plateau at the height: its first dose")
            << control << QList<QPointF>{{5, 10}, {10, 20}, {20, 20}, {40, 30}} << 10 / std::sqrt(10.0);
        QTest::newRow("no overlap: the antagonist's curve stays below")
            << control << QList<QPointF>{{10, 2}, {100, 15}} << 0.0;
        QTest::newRow("no overlap: the control starts above half its top")
            << QList<QPointF>{{10, 30}, {100, 40}} << QList<QPointF>{{10, 10}, {100, 30}} << 0.0;
        QTest::newRow("only flickers in the control")
            << QList<QPointF>{{0.01, 0}, {0.02, 0}} << QList<QPointF>{{10, 10}} << 0.0;
        QTest::newRow("no control at all") << QList<QPointF>{} << QList<QPointF>{{10, 10}, {100, 30}} << 0.0;
    }
    void ratioAtEqualHeight() {
        QFETCH(QList<QPointF>, control);
        QFETCH(QList<QPointF>, antagonist);
        QFETCH(double, ratio);
        const std::optional<DoseRatio> dr = doseRatio(curve(control), curve(antagonist));
        QCOMPARE(dr ? dr->ratio : 0.0, ratio);
        if (dr) QCOMPARE(dr->ratio, doseRatioFromReadings(dr->logControl, dr->logAntagonist));

        // The same curves as the student's points.
        IleumPoints points;
        for (const QPointF& p : control) points.add(float(p.x()), p.y(), {});
        for (const QPointF& p : antagonist) points.add(float(p.x()), p.y(), {Antagonist::Mepyramine, 3});
        const QList<AntagonistRatio> ratios = doseRatios(points);
        QCOMPARE(ratios.size(), 1);
        QCOMPARE(ratios[0].dr.has_value(), dr.has_value());
        QCOMPARE(schildInputs(ratios).size(), dr ? 1 : 0);
    }

    void ratioFromReadings() {
        QCOMPARE(doseRatioFromReadings(0.5, 1.5), 10.0);
        QCOMPARE(doseRatioFromReadings(1.2, 1.2), 1.0);
        QCOMPARE(doseRatioFromReadings(1, 0.7), std::pow(10.0, -0.3));
    }

    // The cursor's ratio takes the reading without an antagonist as the control, whichever came
    // first, and only the last two readings count.
    void cursorReadings() {
        const BathCondition none{}, mep3{Antagonist::Mepyramine, 3}, atropine{Antagonist::Atropine, 0};
        CursorReadings r;
        r.read({QStringLiteral("12.8"), 1.0, mep3});
        QVERIFY(!r.doseRatio());  // one reading
        r.read({QStringLiteral("3.2"), 0.5, none});
        auto dr = r.doseRatio();
        QVERIFY(dr);
        QCOMPARE(dr->controlLabel, QStringLiteral("3.2"));
        QCOMPARE(dr->antagonistLabel, QStringLiteral("12.8"));
        QCOMPARE(dr->ratio, std::pow(10.0, 0.5));
        r.read({QStringLiteral("6.4"), 0.8, none});  // the mepyramine reading goes: both in one bath
        QVERIFY(!r.doseRatio());
        r.read({QStringLiteral("0.2 мл"), std::nullopt, atropine});  // the unknown
        QVERIFY(!r.doseRatio());
        r.read({QStringLiteral("25.6"), 1.4, atropine});  // neither without an antagonist: the older
        QVERIFY(!r.doseRatio());                          // is the unknown
        r.read({QStringLiteral("51.2"), 1.7, mep3});
        dr = r.doseRatio();
        QVERIFY(dr);
        QCOMPARE(dr->controlLabel, QStringLiteral("25.6"));
        QCOMPARE(dr->ratio, std::pow(10.0, 1.7 - 1.4));
        r.clear();
        QVERIFY(!r.doseRatio());
    }

    // The Schild plot from (nM, dose ratio) pairs; a pA2 of 0 for none.
    void schildPlot_data() {
        QTest::addColumn<QList<QPointF>>("inputs");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("pA2");
        QTest::addColumn<bool>("competitive");
        auto competitive = [](double pA2, double nM) { return QPointF(nM, 1 + nM * std::pow(10.0, pA2 - 9)); };
        // log(DR − 1) = 0.5 (log B + 9.3)
        auto shallow = [](double nM) { return QPointF(nM, 1 + std::pow(10.0, 0.5 * (std::log10(nM * 1e-9) + 9.3))); };
        QTest::newRow("competitive") << QList<QPointF>{competitive(9.3, 1), competitive(9.3, 3), competitive(9.3, 10)}
                                     << 3 << true << 1.0 << 9.3 << true;
        QTest::newRow("two concentrations")
            << QList<QPointF>{competitive(9.0, 1), competitive(9.0, 10)} << 2 << true << 1.0 << 9.0 << true;
        QTest::newRow("slope 0.5") << QList<QPointF>{shallow(1), shallow(3), shallow(10)} << 3 << true << 0.5 << 9.3
                                   << false;
        QTest::newRow("flat: no crossing") << QList<QPointF>{{1, 3}, {10, 3}} << 2 << true << 0.0 << 0.0 << false;
        QTest::newRow("nothing") << QList<QPointF>{} << 0 << false << 0.0 << 0.0 << false;
        QTest::newRow("one concentration") << QList<QPointF>{{3, 7}} << 1 << false << 0.0 << 0.0 << false;
        QTest::newRow("one concentration twice") << QList<QPointF>{{3, 7}, {3, 8}} << 2 << false << 0.0 << 0.0 << false;
        QTest::newRow("ratios of 1 or less left out")
            << QList<QPointF>{{1, 1}, {3, 0.5}, {10, 21}} << 1 << false << 0.0 << 0.0 << false;
    }
    void schildPlot() {
        QFETCH(QList<QPointF>, inputs);
        QFETCH(int, points);
        QFETCH(bool, fit);
        QFETCH(double, slope);
        QFETCH(double, pA2);
        QFETCH(bool, competitive);
        QList<SchildInput> in;
        for (const QPointF& p : inputs) in << SchildInput{p.x(), p.y()};
        const SchildAnalysis a = schildAnalysis(in);
        QCOMPARE(a.points.size(), points);
        QCOMPARE(a.fit.has_value(), fit);
        if (!fit) {
            QVERIFY(a.verdict.contains(QStringLiteral("две разные концентрации")));
            return;
        }
        QVERIFY(std::abs(a.fit->slope - slope) < 1e-9);
        QCOMPARE(a.fit->pA2.has_value(), pA2 != 0);
        if (a.fit->pA2) QVERIFY(std::abs(*a.fit->pA2 - pA2) < 1e-9);
        QCOMPARE(a.fit->competitive, competitive);
        QVERIFY(a.verdict.contains(competitive ? QStringLiteral("конкурентный") : QStringLiteral("не похож")));
    }
};

QTEST_APPLESS_MAIN(TstIleumAntagonism)
#include "tst_ileum_antagonism.moc"
