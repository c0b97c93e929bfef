// The rabbit eye's rules: the rabbit, instillation, pupil stages and tension, the reflexes
// and both examinations' bookkeeping, with every draw of chance scripted.
#include <QtTest>
#include <set>

#include "drug_names.h"
#include "fakes.h"
#include "rabbit_model.h"

namespace {

// A substance written with the table's letters.
RabDrugRec substance(const char* name, char light, char corneal, char tension, int p1, int p2) {
    const LightReflexRule l = light == 'Y'   ? LightReflexRule::Present
                              : light == 'B' ? LightReflexRule::WhileWide
                                             : LightReflexRule::Absent;
    const TensionEffect t = tension == 'D'   ? TensionEffect::Decreased
                            : tension == 'I' ? TensionEffect::Increased
                                             : TensionEffect::Normal;
    return {QString::fromUtf8(name), l, corneal == 'Y', t, qint16(p1), qint16(p2)};
}

// The shipped table, in its order, saline last.
QVector<RabDrugRec> shippedTable() {
    return {substance("Атропин", 'N', 'Y', 'I', 40, 60),
            substance("Гоматропин", 'N', 'Y', 'I', 30, 45),
            substance("Мезатон", 'Y', 'Y', 'N', 20, 35),
            substance("Адреналин", 'Y', 'Y', 'D', 10, 25),
            substance("Кокаин", 'Y', 'N', 'N', 15, 30),
            substance("Дикаин", 'Y', 'N', 'N', 0, 0),
            substance("Пилокарпин", 'B', 'Y', 'D', -80, -60),
            substance("Физостигмин", 'B', 'Y', 'D', -70, -50),
            substance("Физиологический раствор", 'Y', 'Y', 'N', 0, 0)};
}

const RabMode tutorial = RabMode::Tutorial;
const RabMode firstExam = RabMode::FirstExamination;
const RabMode secondExam = RabMode::SecondExamination;

// From the drops' start to their full stage.
constexpr int allStages = 2600 + 500 + 550;

// A model with its table read and a first rabbit whose draws are all 0.
struct Bench {
    ScriptedRandom random;
    RabbitRunState run;
    RabbitModel model{run, random};
    QString message;
    explicit Bench(RabMode mode, QVector<RabDrugRec> rows = shippedTable(), std::deque<double> draws = {}) {
        run.chooseMode(mode);
        random.values = std::move(draws);
        message = model.LoadDrugTable(rows);
        model.startRabbit();
    }
    // Instils into an eye with the next draw r and lets its drops reach the full stage.
    Instillation instil(EyeSide side, int row, double r = 0, std::deque<double> tension = {}) {
        random.values = {r};
        const Instillation i = model.instil(side, row, row >= 0 ? model.substanceList().value(row) : QString());
        random.values = std::move(tension);
        model.advance(side, allStages);
        return i;
    }
};

// The first examination's readings as the table's letters: tension, light, corneal; "H"
// for what was not tested.
QString letters(const RabExamRec& rec) {
    auto reflex = [](std::optional<bool> r) { return !r ? u'H' : *r ? u'Y' : u'N'; };
    QChar tension = u'H';
    if (rec.Tension)
        tension = *rec.Tension == TensionEffect::Normal ? u'N' : *rec.Tension == TensionEffect::Decreased ? u'D' : u'I';
    return QString(tension) + reflex(rec.LightReflex) + reflex(rec.CornealReflex);
}

const EyeSide L = EyeSide::Left;
const EyeSide R = EyeSide::Right;

}  // namespace

class TstRabbitModel : public QObject {
    Q_OBJECT
private slots:
    void newRabbitDraws_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<double>("leftTension");
        QTest::addColumn<double>("rightTension");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("leftWidth");
        QTest::addColumn<int>("rightWidth");
        QTest::newRow("lowest draws") << 0.0 << 911.0 << 891.0 << 3 << 620 << 500;
        QTest::newRow("highest draws") << 0.9999 << 980.0 << 960.0 << 5 << 685 << 565;
    }
    void newRabbitDraws() {
        QFETCH(double, r);
        QFETCH(double, leftTension);
        QFETCH(double, rightTension);
        QFETCH(int, g);
        QFETCH(int, leftWidth);
        QFETCH(int, rightWidth);
        Bench b(tutorial, shippedTable(), std::deque<double>(6, r));
        const EyeState& left = b.model.eye(L);
        const EyeState& right = b.model.eye(R);
        QCOMPARE(left.Tension, leftTension);
        QCOMPARE(right.Tension, rightTension);
        QCOMPARE(left.Base, (WholeBox{qint16(1800 + g), qint16(1200 + g), qint16(leftWidth), qint16(495 + g)}));
        QCOMPARE(right.Base, (WholeBox{qint16(800 + g), qint16(1200 + g), qint16(rightWidth), qint16(495 + g)}));
        QCOMPARE(left.Pupil, left.Base.real());
        QCOMPARE(right.Pupil, right.Base.real());
        QVERIFY(b.random.values.empty());  // six draws, one for each number
    }

    void freshEyeShowsBothReflexesAndNormalTension() {
        Bench b(tutorial);
        for (EyeSide side : {L, R}) {
            QVERIFY(b.model.lightReflexPresent(side));
            QVERIFY(b.model.cornealReflexPresent(side));
            QCOMPARE(b.model.eye(side).Label, QStringLiteral("Нет"));
            // Drops of no substance of the table go through their stages and change nothing.
            const EyeState before = b.model.eye(side);
            QVERIFY(b.instil(side, -1).accepted);
            QCOMPARE(b.model.eye(side).Drug, quint8(0));
            QCOMPARE(b.model.eye(side).Pupil, before.Pupil);
            QCOMPARE(b.model.eye(side).Tension, before.Tension);
            QVERIFY(b.model.lightReflexPresent(side));
            QVERIFY(b.model.cornealReflexPresent(side));
        }
    }

    void changeCoversItsWholeRange() {
        Bench b(tutorial, {substance("Шире-уже", 'Y', 'Y', 'N', -10, 10), substance("Ровно", 'Y', 'Y', 'N', 7, 7)});
        std::set<int> seen;
        for (int k = 0; k < 210; ++k) {
            b.model.startRabbit();
            b.random.values = {k / 210.0};
            QVERIFY(b.model.instil(L, 0, QStringLiteral("Шире-уже")).accepted);
            seen.insert(b.model.eye(L).Target);
        }
        std::set<int> all;
        for (int t = -10; t <= 10; ++t) all.insert(t);
        QCOMPARE(seen, all);
        for (double r : {0.0, 0.5, 0.9999}) {
            b.model.startRabbit();
            b.random.values = {r};
            b.model.instil(R, 1, QStringLiteral("Ровно"));
            QCOMPARE(b.model.eye(R).Target, qint16(7));
        }
    }

    void stagesAndTension_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("tensionDraw");
        QTest::addColumn<double>("leftTension");
        QTest::addColumn<double>("rightTension");
        // Target 40 (r = 0 draws P_size1); left base 1803, 1203, 620, 498; right 803, 1203, 500, 498.
        QTest::newRow("atropine, increased, lowest") << 0 << 0.0 << 1060.0 << 1040.0;
        QTest::newRow("atropine, increased, highest") << 0 << 0.9999 << 1310.0 << 1389.0;
        QTest::newRow("mesaton keeps the rabbit's tension") << 2 << 0.5 << 911.0 << 891.0;
        QTest::newRow("adrenaline, decreased, lowest") << 3 << 0.0 << 760.0 << 740.0;
        QTest::newRow("adrenaline, decreased, highest") << 3 << 0.9999 << 510.0 << 391.0;
    }
    void stagesAndTension() {
        QFETCH(int, row);
        QFETCH(double, tensionDraw);
        QFETCH(double, leftTension);
        QFETCH(double, rightTension);
        Bench b(tutorial);
        const double t = b.model.Rab_Drugs()[row + 1].P_size1;
        for (EyeSide side : {L, R}) {
            b.random.values = {0};
            QVERIFY(b.model.instil(side, row, b.model.substanceList()[row]).accepted);
            // The reflexes follow the substance at once, the pupil only through the stages.
            QCOMPARE(b.model.eye(side).Pupil, b.model.eye(side).Base.real());
            const WholeBox base = b.model.eye(side).Base;
            b.model.advance(side, 2600 + 500);
            QCOMPARE(b.model.eye(side).Pupil,
                     (PupilBox{base.Left - 1.5 * t, base.Top - t, base.Width + 2.5 * t, base.Height + 2.5 * t}));
            b.random.values = {tensionDraw};
            b.model.advance(side, 550);
            // The full stage comes from the base, not from the half stage on show.
            QCOMPARE(b.model.eye(side).Pupil,
                     (PupilBox{base.Left - 3 * t, base.Top - 2 * t, base.Width + 5 * t, base.Height + 5 * t}));
        }
        QCOMPARE(b.model.eye(L).Tension, leftTension);
        QCOMPARE(b.model.eye(R).Tension, rightTension);
    }

    // The drops' timeline in one eye: atropine (change 40) into the left eye, the time
    // since the instillation, and what the eye shows then. Each time is reached at once
    // and in steps of a millisecond.
    void dropsTimeline_data() {
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<DropStage>("stage");
        QTest::addColumn<int>("next");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("tension");
        QTest::newRow("instilled") << 0 << DropStage::Falling << 2600 << 620.0 << 911.0;
        QTest::newRow("the dropper still there") << 2599 << DropStage::Falling << 1 << 620.0 << 911.0;
        QTest::newRow("the dropper gone") << 2600 << DropStage::Soaking << 500 << 620.0 << 911.0;
        QTest::newRow("not yet the half stage") << 3099 << DropStage::Soaking << 1 << 620.0 << 911.0;
        QTest::newRow("half stage") << 3100 << DropStage::Half << 550 << 720.0 << 911.0;
        QTest::newRow("not yet the full stage") << 3649 << DropStage::Half << 1 << 720.0 << 911.0;
        QTest::newRow("full stage") << 3650 << DropStage::None << 0 << 820.0 << 1060.0;
        QTest::newRow("long after") << 60000 << DropStage::None << 0 << 820.0 << 1060.0;
    }
    void dropsTimeline() {
        QFETCH(int, elapsed);
        QFETCH(DropStage, stage);
        QFETCH(int, next);
        QFETCH(double, width);
        QFETCH(double, tension);
        for (const int step : {elapsed, 1}) {
            Bench b(tutorial);
            b.random.values = {0};
            QVERIFY(b.model.instil(L, 0, QStringLiteral("Атропин")).accepted);
            for (int t = 0; t < elapsed; t += step) b.model.advance(L, std::min(step, elapsed - t));
            const EyeState& e = b.model.eye(L);
            QCOMPARE(e.Stage, stage);
            QCOMPARE(b.model.msToNextStage(L), next);
            QCOMPARE(b.model.dropperShown(L), stage == DropStage::Falling);
            QCOMPARE(e.Pupil.Width, width);
            QCOMPARE(e.Tension, tension);
            // "Новый" waits for the drops; the other eye has none under way.
            QCOMPARE(b.model.newRabbitOffered(), stage == DropStage::None);
            QCOMPARE(b.model.msToNextStage(R), 0);
            QCOMPARE(b.model.eye(R).Pupil, b.model.eye(R).Base.real());
        }
    }

    // Drops meant for the rabbit that is gone do not act on the new one.
    void newRabbitStopsTheDrops() {
        Bench b(tutorial);
        b.random.values = {0};
        b.model.instil(L, 0, QStringLiteral("Атропин"));
        b.model.advance(L, 3100);
        QVERIFY(!b.model.newRabbitOffered());
        b.random.values = std::deque<double>(6, 0.9999);
        b.model.startRabbit();
        const EyeState& e = b.model.eye(L);
        QCOMPARE(e.Stage, DropStage::None);
        QCOMPARE(b.model.msToNextStage(L), 0);
        QVERIFY(!b.model.dropperShown(L));
        QVERIFY(b.model.newRabbitOffered());
        b.model.advance(L, 10000);
        QCOMPARE(e.Pupil, e.Base.real());
        QCOMPARE(e.Tension, 980.0);
        QVERIFY(!e.Done);
    }

    // A "B" substance whose change is fixed brings the pupil to the width under test: the
    // left eye's normal width is 620 (or 621 with a draw of 0.02), the right one's 500 (501).
    void lightReflexOfAWideOnlyPupil_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<double>("widthDraw");
        QTest::addColumn<int>("change");
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("present");
        QTest::newRow("left at 275") << 0 << 0.0 << -69 << 275.0 << false;
        QTest::newRow("left at 276") << 0 << 0.02 << -69 << 276.0 << true;
        QTest::newRow("right at 180") << 1 << 0.0 << -64 << 180.0 << false;
        QTest::newRow("right at 181") << 1 << 0.02 << -64 << 181.0 << true;
        QTest::newRow("right at 275") << 1 << 0.0 << -45 << 275.0 << true;
    }
    void lightReflexOfAWideOnlyPupil() {
        QFETCH(int, side);
        QFETCH(double, widthDraw);
        QFETCH(int, change);
        QFETCH(double, width);
        QFETCH(bool, present);
        Bench b(tutorial,
                {substance("Миотик", 'B', 'Y', 'N', change, change), substance("Контроль", 'Y', 'Y', 'N', 0, 0)},
                {0, 0, 0, widthDraw, 0, widthDraw});
        const EyeSide eye = side == 0 ? L : R;
        b.instil(eye, 0);
        QCOMPARE(b.model.eye(eye).Pupil.Width, width);
        QCOMPARE(b.model.lightReflexPresent(eye), present);
        b.model.torchOn(eye);
        QCOMPARE(b.model.LightReflexSeen(), present);
        QCOMPARE(b.model.eye(eye).Pupil.Width, present ? width - 75 : width);
    }

    void torchSavesNarrowsAndRestores() {
        // An odd change puts the half stage's box on halves: 1765.5, 1178, 682.5, 560.5.
        Bench b(tutorial, {substance("Мидриатик", 'Y', 'Y', 'N', 25, 25), substance("Контроль", 'Y', 'Y', 'N', 0, 0)});
        b.random.values = {0};
        b.model.instil(L, 0, QStringLiteral("Мидриатик"));
        b.model.advance(L, 2600 + 500);
        const EyeState& e = b.model.eye(L);
        QCOMPARE(e.Pupil, (PupilBox{1765.5, 1178, 682.5, 560.5}));
        b.model.torchOn(L);
        // Halves go to the even neighbour.
        QCOMPARE(b.model.SavedPupil(), (WholeBox{1766, 1178, 682, 560}));
        QCOMPARE(e.Pupil, (PupilBox{1796, 1208, 607, 485}));
        QCOMPARE(b.model.LightReflexSeen(), true);
        b.model.torchOff(L);
        QCOMPARE(e.Pupil, (PupilBox{1766, 1178, 682, 560}));

        // An atropine eye does not narrow.
        Bench c(tutorial);
        c.instil(R, 0);
        const PupilBox wide = c.model.eye(R).Pupil;
        c.model.torchOn(R);
        QCOMPARE(c.model.eye(R).Pupil, wide);
        QCOMPARE(c.model.LightReflexSeen(), false);
        // With the cotton picked, the torch's leaving puts no box back.
        c.instil(L, 2);  // mesaton
        c.model.torchOn(L);
        const PupilBox lit = c.model.eye(L).Pupil;
        QCOMPARE(lit.Width, c.model.SavedPupil().Width - 75);
        c.model.pickTool(RabTool::Cotton);
        c.model.torchOff(L);
        QCOMPARE(c.model.eye(L).Pupil, lit);
    }

    // The torch shines into an eye while its substance's stages land: under the light the
    // eye shows the stage reached (narrowed when the reflex is there), and taken away it
    // leaves that stage, never the box from before the drops. Each stage comes from the
    // base, not from the box on show.
    void torchHeldWhileTheStagesLand_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<PupilBox>("halfLit");
        QTest::addColumn<PupilBox>("full");
        QTest::addColumn<PupilBox>("lit");
        QTest::newRow("atropine, no reflex")
            << 0 << PupilBox{1743, 1163, 720, 598} << PupilBox{1683, 1123, 820, 698} << PupilBox{1683, 1123, 820, 698};
        QTest::newRow("mesaton, reflex") << 2 << PupilBox{1803, 1213, 595, 473} << PupilBox{1743, 1163, 720, 598}
                                         << PupilBox{1773, 1193, 645, 523};
    }
    void torchHeldWhileTheStagesLand() {
        QFETCH(int, row);
        QFETCH(PupilBox, halfLit);
        QFETCH(PupilBox, full);
        QFETCH(PupilBox, lit);
        Bench b(tutorial);
        b.random.values = {0};
        b.model.instil(L, row, b.model.substanceList()[row]);
        b.model.torchOn(L);
        b.model.advance(L, 2600 + 500);
        const EyeState& e = b.model.eye(L);
        QCOMPARE(e.Pupil, halfLit);
        b.random.values = {0};
        b.model.advance(L, 550);
        QCOMPARE(e.Pupil, lit);
        b.instil(R, 3);  // stages landing on the other eye leave the lit one alone
        QCOMPARE(e.Pupil, lit);
        b.model.torchOff(L);
        QCOMPARE(e.Pupil, full);

        // A new rabbit while the torch shines: taking it away leaves the new eye as it is.
        b.model.torchOn(L);
        b.model.startRabbit();
        const PupilBox fresh = e.Pupil;
        b.model.torchOff(L);
        QCOMPARE(e.Pupil, fresh);
    }

    void torchNeverTurnsATinyPupilInsideOut() {
        Bench b(tutorial,
                {substance("Сильный миотик", 'Y', 'Y', 'D', -99, -99), substance("Контроль", 'Y', 'Y', 'N', 0, 0)});
        b.instil(L, 0);
        const PupilBox tiny = b.model.eye(L).Pupil;
        QCOMPARE(tiny.Height, 3.0);  // 498 - 495: the smallest box the table allows
        b.model.torchOn(L);
        const PupilBox lit = b.model.eye(L).Pupil;
        QVERIFY(lit.Width > 0);
        QVERIFY(lit.Height > 0);
        QVERIFY(lit.Width < tiny.Width);
        QVERIFY(lit.Height <= tiny.Height);
    }

    void tutorialInstillation() {
        Bench b(tutorial);
        QVERIFY(b.instil(L, 4).accepted);  // cocaine
        QCOMPARE(b.model.eye(L).Drug, quint8(5));
        QCOMPARE(b.model.eye(L).Label, QStringLiteral("Кокаин"));
        QVERIFY(!b.model.cornealReflexPresent(L));
        QVERIFY(b.model.lightReflexPresent(L));
        QCOMPARE(b.model.SelectedDrug(), quint8(5));

        b.random.values = {0.7};
        Instillation again = b.model.instil(L, 0, QStringLiteral("Атропин"));
        QVERIFY(!again.accepted);
        QCOMPARE(again.refusal, QStringLiteral("Вещество уже закапано. Выберите другой глаз"));
        QCOMPARE(b.model.eye(L).Drug, quint8(5));
        QCOMPARE(b.random.values.size(), size_t(1));  // a refusal draws nothing

        // A name typed into the list: no substance, the typed text as label.
        QVERIFY(b.model.instil(R, -1, QStringLiteral("Валерьянка")).accepted);
        QCOMPARE(b.model.eye(R).Drug, quint8(0));
        QCOMPARE(b.model.eye(R).Label, QStringLiteral("Валерьянка"));
        QCOMPARE(b.model.eye(R).Target, qint16(0));
        QVERIFY(b.model.lightReflexPresent(R) && b.model.cornealReflexPresent(R));

        again = b.model.instil(R, 1, QStringLiteral("Гоматропин"));
        QCOMPARE(again.refusal, QStringLiteral("Вещества уже закапаны в оба глаза. Выберите нового кролика"));
        b.model.startRabbit();
        QVERIFY(b.model.instil(R, 1, QStringLiteral("Гоматропин")).accepted);
    }

    void rabbitNumberStopsAtItsLimit() {
        Bench b(tutorial);
        QCOMPARE(b.model.RabbitNo(), quint8(1));  // the first rabbit comes with the table
        int taken = 0;
        while (b.model.takeRabbitNumber()) ++taken;
        QCOMPARE(taken, 254);
        QCOMPARE(b.model.RabbitNo(), quint8(255));
        QVERIFY(!b.model.takeRabbitNumber());
        QCOMPARE(b.model.RabbitNo(), quint8(255));
    }

    void examinationStart() {
        Bench b(firstExam, shippedTable(), {0.5});
        QVERIFY(b.message.isEmpty());
        QCOMPARE(b.model.Rab_DrugCount(), 8);
        QCOMPARE(b.model.Rab_Drugs()[9].D_Name, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.model.SelectedDrug(), quint8(5));  // Int(8 × 0.5 + 1)
        QCOMPARE(b.model.UnknownUsed(),
                 (QVector<bool>{false, false, false, false, false, true, false, false, false, false}));
        QCOMPARE(b.model.UnknownLabel(), QStringLiteral("Unknown Drug 1"));
        QCOMPARE(b.run.Rab_ExamRecs().size(), 10);
        QCOMPARE(b.model.substanceList().size(), 9);  // the hidden list still holds every row
    }

    void newExaminationStartsWithEmptyRecords() {
        ScriptedRandom random;
        RabbitRunState run;
        run.chooseMode(firstExam);
        {
            // An earlier examination of this run, with a longer table, got as far as the second.
            QVector<RabDrugRec> longer = shippedTable();
            longer.insert(0, 2, substance("Атропин", 'N', 'Y', 'I', 40, 60));
            RabbitModel earlier(run, random);
            earlier.LoadDrugTable(longer);
            earlier.identify(QStringLiteral("Атропин"));
            earlier.identify(QStringLiteral("Атропин"));
            earlier.enterSecondExamination();
        }
        QCOMPARE(run.Rab_ExamRecs().size(), 12);
        QVERIFY(run.Rab_ExamRecs()[2].Recorded);
        QVERIFY(run.Rab_Exam2().Given);
        run.chooseMode(firstExam);
        RabbitModel model(run, random);
        model.LoadDrugTable(shippedTable());
        QCOMPARE(run.Rab_ExamRecs().size(), 10);
        for (const RabExamRec& rec : run.Rab_ExamRecs()) QVERIFY(!rec.Recorded);
        QVERIFY(!run.Rab_Exam2().Given);
    }

    // The saline of the current unknown, and what the supervisor reads under "Saline
    // Instilled": only a saline that went into an eye counts. "saline X": asked for, then
    // eye X chosen; "ask": asked for and left pending; "cancel": the eye choice cancelled.
    void salineInTheRecord_data() {
        QTest::addColumn<bool>("second");  // in the second examination
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Saline>("state");
        QTest::addColumn<bool>("recorded");
        QTest::newRow("refused by a taken eye")
            << false << QStringList{"unknown L", "saline L"} << Saline::None << false;
        QTest::newRow("into a free eye") << false << QStringList{"unknown L", "saline R"} << Saline::Given << true;
        QTest::newRow("given, then refused") << false << QStringList{"saline R", "saline R"} << Saline::Given << true;
        QTest::newRow("given, then asked again")
            << false << QStringList{"saline R", "ask"} << Saline::AskedAgain << true;
        QTest::newRow("given, asked again, cancelled")
            << false << QStringList{"saline R", "ask", "cancel"} << Saline::Given << true;
        QTest::newRow("asked only") << false << QStringList{"ask"} << Saline::Asked << false;
        QTest::newRow("asked twice") << false << QStringList{"ask", "ask"} << Saline::Asked << false;
        QTest::newRow("cancelled without asking") << false << QStringList{"cancel"} << Saline::None << false;
        QTest::newRow("asked, cancelled, the unknown")
            << false << QStringList{"ask", "cancel", "unknown L"} << Saline::None << false;
        QTest::newRow("second examination, refused")
            << true << QStringList{"unknown L", "saline L"} << Saline::None << false;
        QTest::newRow("second examination, given") << true << QStringList{"saline L"} << Saline::Given << true;
    }
    void salineInTheRecord() {
        QFETCH(bool, second);
        QFETCH(QStringList, steps);
        QFETCH(Saline, state);
        QFETCH(bool, recorded);
        Bench b(firstExam, shippedTable(), {0.0});  // unknown 1 is atropine
        if (second) {
            b.random.values = {0.0};
            b.model.enterSecondExamination();
        }
        for (const QString& step : steps) {
            const EyeSide side = step.endsWith(u'L') ? L : R;
            if (step.startsWith(QLatin1String("saline")) || step == QLatin1String("ask")) b.model.askSaline();
            if (step == QLatin1String("cancel")) b.model.cancelSaline();
            if (step == QLatin1String("ask") || step == QLatin1String("cancel")) continue;
            const bool free = !b.model.eye(side).Done;
            b.random.values = {0};
            const Instillation i = b.model.instil(side, -1, QString());
            QCOMPARE(i.accepted, free);
            if (!free) QCOMPARE(i.refusal, QStringLiteral("Вещество уже закапано. Выберите нового кролика"));
        }
        QCOMPARE(b.model.SalineState(), state);
        QVERIFY(b.model.identify(QStringLiteral("Атропин")) == second);
        QCOMPARE(second ? b.run.Rab_Exam2().SalineInstilled : b.run.Rab_ExamRecs()[1].SalineInstilled, recorded);
        // The next unknown starts without a saline.
        if (!second) QCOMPARE(b.model.SalineState(), Saline::None);
    }

    void salineGoesIntoAFreeEye() {
        Bench b(firstExam, shippedTable(), {0.0});
        b.model.askSaline();
        b.random.values = {0};
        QVERIFY(b.model.instil(R, -1, QString()).accepted);
        QCOMPARE(b.model.eye(R).Drug, quint8(9));
        QCOMPARE(b.model.eye(R).Label, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.model.UnknownInstilled(), false);
        // The next eye receives the unknown again.
        QVERIFY(b.model.instil(L, -1, QString()).accepted);
        QCOMPARE(b.model.eye(L).Drug, quint8(1));
    }

    void identification_data() {
        QTest::addColumn<double>("firstDraw");
        QTest::addColumn<bool>("instil");
        QTest::addColumn<bool>("torchSawReflex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");  // tension, light, corneal
        QTest::newRow("never instilled") << 0.0 << false << false << QStringLiteral("Атропин") << QStringLiteral("HHH");
        QTest::newRow("no name chosen") << 0.0 << true << false << QString() << QStringLiteral("INY");
        QTest::newRow("B, reflex seen") << 0.75 << true << true << QStringLiteral("Пилокарпин")
                                        << QStringLiteral("DYY");
        QTest::newRow("B, reflex not seen")
            << 0.75 << true << false << QStringLiteral("Пилокарпин") << QStringLiteral("DNY");
        QTest::newRow("cocaine") << 0.5 << true << false << QStringLiteral("Кокаин") << QStringLiteral("NYN");
    }
    void identification() {
        QFETCH(double, firstDraw);
        QFETCH(bool, instil);
        QFETCH(bool, torchSawReflex);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        Bench b(firstExam, shippedTable(), {firstDraw});
        if (instil) {
            b.random.values = {0};
            b.model.instil(R, -1, QString());
        }
        // Any torch test since the last identification counts, on either eye.
        if (torchSawReflex) b.model.torchOn(L);
        b.random.values = {0.0};
        QVERIFY(!b.model.identify(name));
        const RabExamRec& rec = b.run.Rab_ExamRecs()[1];
        QVERIFY(rec.Recorded);
        QCOMPARE(rec.Identified, name);
        QCOMPARE(letters(rec), expected);
        QCOMPARE(rec.SalineInstilled, false);
        QCOMPARE(b.model.LightReflexSeen(), false);
        QCOMPARE(b.model.UnknownNo(), quint8(2));
        QCOMPARE(b.model.UnknownLabel(), QStringLiteral("Неизвестное вещество 2"));
        QCOMPARE(b.model.UnknownInstilled(), false);
    }

    void unknownsComeOnceEachAndTheLastMovesOn() {
        // The first draw gives unknown 3; the source offers it twice more, and the draw
        // goes on until a fresh one comes.
        Bench b(firstExam, shippedTable(), {0.25});
        QCOMPARE(b.model.SelectedDrug(), quint8(3));
        b.random.values = {0.25, 0.25, 0.9};
        QVERIFY(!b.model.identify(QString()));
        QCOMPARE(b.model.SelectedDrug(), quint8(8));
        QVERIFY(!b.model.identify(QString()));  // the source is empty: it says 0, unknown 1
        QCOMPARE(b.model.SelectedDrug(), quint8(1));
        // From now on it keeps saying 0, a used unknown: the draw still ends, on a fresh one.
        std::set<int> handedOut{3, 8, 1};
        for (int k = 4; k <= 8; ++k) {
            b.random.values = {0.0};
            const bool last = b.model.identify(QString());
            QCOMPARE(last, k > 8);
            QVERIFY(handedOut.insert(b.model.SelectedDrug()).second);
        }
        QCOMPARE(b.model.UnknownNo(), quint8(8));
        QVERIFY(b.model.identify(QString()));
        QCOMPARE(int(handedOut.size()), 8);
        for (int k = 1; k <= 8; ++k) QVERIFY(b.run.Rab_ExamRecs()[k].Recorded);
    }

    void noUnknownAtAll() {
        Bench b(firstExam, {substance("Физиологический раствор", 'Y', 'Y', 'N', 0, 0)});
        QCOMPARE(b.message, QStringLiteral("  Error in the System. Restart   "));
        QCOMPARE(b.model.Rab_DrugCount(), 0);
        QVERIFY(b.model.identify(QString()));  // nothing left to hand out: it moves on
        b.model.enterSecondExamination();
        QCOMPARE(b.run.Rab_Exam2().DrugName, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.run.Rab_Exam2().Action, PupilAction::Neither);
    }

    // The second examination is answered rightly when the answer names what the unknown
    // does to the pupil; a substance that does neither has no right answer.
    void secondExaminationGrading_data() {
        QTest::addColumn<PupilAction>("action");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("correct");
        const QString miotic = QStringLiteral("Миотик"), mydriatic = QStringLiteral("Мидриатик");
        QTest::newRow("miotic, miotic") << PupilAction::Miotic << miotic << true;
        QTest::newRow("miotic, mydriatic") << PupilAction::Miotic << mydriatic << false;
        QTest::newRow("miotic, no answer") << PupilAction::Miotic << QString() << false;
        QTest::newRow("mydriatic, mydriatic") << PupilAction::Mydriatic << mydriatic << true;
        QTest::newRow("mydriatic, miotic") << PupilAction::Mydriatic << miotic << false;
        QTest::newRow("mydriatic, no answer") << PupilAction::Mydriatic << QString() << false;
        QTest::newRow("neither, miotic") << PupilAction::Neither << miotic << false;
        QTest::newRow("neither, mydriatic") << PupilAction::Neither << mydriatic << false;
        QTest::newRow("neither, no answer") << PupilAction::Neither << QString() << false;
    }
    void secondExaminationGrading() {
        QFETCH(PupilAction, action);
        QFETCH(QString, answer);
        QFETCH(bool, correct);
        RabExam2Rec exam;
        exam.Given = true;
        exam.Action = action;
        exam.Answer = answer;
        QCOMPARE(secondExaminationCorrect(exam), correct);
        QCOMPARE(RabbitModel::secondExaminationAnswers(),
                 (QStringList{QStringLiteral("Миотик"), QStringLiteral("Мидриатик")}));
    }

    void secondExamination() {
        Bench b(firstExam, shippedTable(), {0.0});
        // Dicaine (row 6) neither narrows nor widens: never asked about. The seven that
        // act on the pupil are drawn evenly.
        QStringList drawn;
        for (int k = 0; k < 7; ++k) {
            b.random.values = {(k + 0.5) / 7};
            b.model.enterSecondExamination();
            drawn << b.run.Rab_Exam2().DrugName;
        }
        QCOMPARE(drawn,
                 (QStringList{"Атропин", "Гоматропин", "Мезатон", "Адреналин", "Кокаин", "Пилокарпин", "Физостигмин"}));
        QCOMPARE(b.run.Rab_Mode(), secondExam);
        QCOMPARE(b.run.Rab_Exam2().Action, PupilAction::Miotic);
        QVERIFY(b.run.Rab_Exam2().Given);

        b.random.values = {0};
        QVERIFY(b.model.instil(L, -1, QString()).accepted);
        QCOMPARE(b.model.eye(L).Drug, quint8(8));
        QCOMPARE(b.model.eye(L).Label, QStringLiteral("Неизвестное вещество"));
        b.model.askSaline();
        QVERIFY(b.model.instil(R, -1, QString()).accepted);
        QVERIFY(b.model.identify(QStringLiteral("Миотик")));
        QCOMPARE(b.run.Rab_Exam2().Answer, QStringLiteral("Миотик"));
        QCOMPARE(b.run.Rab_Exam2().Instilled, true);
        QCOMPARE(b.run.Rab_Exam2().SalineInstilled, true);
        QCOMPARE(b.run.Rab_ExamRecs()[1].Recorded, false);
        QVERIFY(secondExaminationCorrect(b.run.Rab_Exam2()));  // the first examination's rows are untouched
    }
    // The records mark an answer by any name of the unknown (the shipped list of other
    // names), keep what the student found, and leave the second out until it is reached.
    void examRecordsTakeOtherNames() {
        Bench b(firstExam, shippedTable(), {0.875});  // unknown 1: physostigmine
        DrugNames names;
        QVERIFY2(names.load(QStringLiteral(MORVANE_DATA_DIR "/Rab_Eye_names.txt")), qPrintable(names.error()));
        b.run.setDrugNames(names);
        b.random.values = {0};
        b.model.instil(R, -1, QString());
        b.random.values = {0.0};  // unknown 2: atropine
        QVERIFY(!b.model.identify(QStringLiteral(" Эзерин ")));
        b.random.values = {0.0};
        QVERIFY(!b.model.identify(QStringLiteral("Гоматропин")));
        const QDateTime when(QDate(2026, 12, 10), QTime(10, 0));
        QList<ExamRecord> records = rabbitExamRecords(b.run, when);
        QCOMPARE(records.size(), 1);
        const ExamRecord& first = records[0];
        QCOMPARE(first.experiment, QStringLiteral("Глаз кролика, экзамен 1"));
        QCOMPARE(first.items.size(), 8);
        QCOMPARE(first.items[0].given, QStringLiteral("Физостигмин"));
        QCOMPARE(first.items[0].answer, QStringLiteral("Эзерин"));
        QVERIFY(first.items[0].right);
        QCOMPARE(first.items[0].measured, QStringLiteral("давление: понижено, реакция на свет: нет, роговичный "
                                                         "рефлекс: есть, солевой раствор: нет"));
        QCOMPARE(first.items[1].given, QStringLiteral("Атропин"));
        QVERIFY(!first.items[1].right);
        QCOMPARE(first.items[1].measured, QStringLiteral("давление: не проверено, реакция на свет: не проверен, "
                                                         "роговичный рефлекс: не проверен, солевой раствор: нет"));
        QCOMPARE(first.items[2].measured, QStringLiteral("не исследовано"));
        QCOMPARE(first.scoreText(), QStringLiteral("1 из 8"));

        b.random.values = {0.0};  // the second's unknown: atropine, a mydriatic
        b.model.enterSecondExamination();
        QVERIFY(b.model.identify(QStringLiteral("Мидриатик")));
        records = rabbitExamRecords(b.run, when);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[1].experiment, QStringLiteral("Глаз кролика, экзамен 2"));
        QCOMPARE(records[1].items.size(), 1);
        QCOMPARE(records[1].items[0].given, QStringLiteral("Атропин (Мидриатик)"));
        QVERIFY(records[1].items[0].right);
        QCOMPARE(records[1].items[0].measured, QStringLiteral("закапано: нет, солевой раствор: нет"));
    }
};

QTEST_GUILESS_MAIN(TstRabbitModel)
#include "tst_rabbit_model.moc"
