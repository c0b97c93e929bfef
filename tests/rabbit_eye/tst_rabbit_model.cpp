// The rabbit eye's rules: the rabbit, instillation, pupil stages and tension, the reflexes
// and both examinations' bookkeeping, with every draw of chance scripted.
#include <QtTest>
#include <set>

#include "fakes.h"
#include "rabbit_model.h"

namespace {

RabDrugRec substance(const char* name, char light, char corneal, char tension, int p1, int p2) {
    return {QString::fromUtf8(name), QChar(light), QChar(corneal), QChar(tension), qint16(p1), qint16(p2)};
}

// The shipped table, in its order, saline last.
QVector<RabDrugRec> shippedTable() {
    return {substance("Атропин", 'N', 'Y', 'I', 40, 60),      substance("Гоматропин", 'N', 'Y', 'I', 30, 45),
            substance("Мезатон", 'Y', 'Y', 'N', 20, 35),      substance("Адреналин", 'Y', 'Y', 'D', 10, 25),
            substance("Кокаин", 'Y', 'N', 'N', 15, 30),       substance("Дикаин", 'Y', 'N', 'N', 0, 0),
            substance("Пилокарпин", 'B', 'Y', 'D', -80, -60), substance("Физостигмин", 'B', 'Y', 'D', -70, -50),
            substance("Физиологический раствор", 'Y', 'Y', 'N', 0, 0)};
}

// A model with its table read and a first rabbit whose draws are all 0.
struct Bench {
    ScriptedRandom random;
    RabbitRunState run;
    RabbitModel model{run, random};
    QString message;
    explicit Bench(quint8 mode, QVector<RabDrugRec> rows = shippedTable(), std::deque<double> draws = {}) {
        run.Rab_Mode = mode;
        random.values = std::move(draws);
        message = model.LoadDrugTable(rows);
        model.startRabbit();
    }
    // Instils into an eye with the next draw r and runs its stages to the end.
    Instillation instil(EyeSide side, int row, double r = 0, std::deque<double> tension = {}) {
        random.values = {r};
        const Instillation i = model.instil(side, row, row >= 0 ? model.substanceList.value(row) : QString());
        random.values = std::move(tension);
        model.halfStage(side);
        model.fullStage(side);
        return i;
    }
};

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
        Bench b(1, shippedTable(), std::deque<double>(6, r));
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
        Bench b(1);
        for (EyeSide side : {L, R}) {
            QVERIFY(b.model.lightReflexPresent(side));
            QVERIFY(b.model.cornealReflexPresent(side));
            const EyeState before = b.model.eye(side);
            b.model.halfStage(side);
            b.model.fullStage(side);
            QCOMPARE(b.model.eye(side).Pupil, before.Pupil);
            QCOMPARE(b.model.eye(side).Tension, before.Tension);
            QCOMPARE(b.model.eye(side).Label, QStringLiteral("Нет"));
        }
    }

    void changeCoversItsWholeRange() {
        Bench b(1, {substance("Шире-уже", 'Y', 'Y', 'N', -10, 10), substance("Ровно", 'Y', 'Y', 'N', 7, 7)});
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
        Bench b(1);
        const double t = b.model.Rab_Drugs[row + 1].P_size1;
        for (EyeSide side : {L, R}) {
            b.random.values = {0};
            QVERIFY(b.model.instil(side, row, b.model.substanceList[row]).accepted);
            // The reflexes follow the substance at once, the pupil only through the stages.
            QCOMPARE(b.model.eye(side).Pupil, b.model.eye(side).Base.real());
            const WholeBox base = b.model.eye(side).Base;
            b.model.halfStage(side);
            QCOMPARE(b.model.eye(side).Pupil,
                     (PupilBox{base.Left - 1.5 * t, base.Top - t, base.Width + 2.5 * t, base.Height + 2.5 * t}));
            b.random.values = {tensionDraw};
            b.model.fullStage(side);
            QCOMPARE(b.model.eye(side).Pupil,
                     (PupilBox{base.Left - 3 * t, base.Top - 2 * t, base.Width + 5 * t, base.Height + 5 * t}));
            // Each stage comes from the base, not from the box on show.
            b.model.halfStage(side);
            QCOMPARE(b.model.eye(side).Pupil.Width, base.Width + 2.5 * t);
        }
        QCOMPARE(b.model.eye(L).Tension, leftTension);
        QCOMPARE(b.model.eye(R).Tension, rightTension);
    }

    void lightReflexOfAWideOnlyPupil_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("present");
        QTest::newRow("left at 275") << 0 << 275.0 << false;
        QTest::newRow("left at 276") << 0 << 276.0 << true;
        QTest::newRow("right at 180") << 1 << 180.0 << false;
        QTest::newRow("right at 181") << 1 << 181.0 << true;
        QTest::newRow("right at 275") << 1 << 275.0 << true;
    }
    void lightReflexOfAWideOnlyPupil() {
        QFETCH(int, side);
        QFETCH(double, width);
        QFETCH(bool, present);
        Bench b(1);
        const EyeSide eye = side == 0 ? L : R;
        b.instil(eye, 6);  // pilocarpine: "B"
        b.model.eye(eye).Pupil.Width = width;
        QCOMPARE(b.model.lightReflexPresent(eye), present);
        b.model.torchOn(eye);
        QCOMPARE(b.model.LightReflexSeen, present ? u'Y' : u'N');
        QCOMPARE(b.model.eye(eye).Pupil.Width, present ? width - 75 : width);
    }

    void torchSavesNarrowsAndRestores() {
        Bench b(1);
        b.instil(L, 2);  // mesaton, target 20: box 1743, 1163, 720, 598
        EyeState& e = b.model.eye(L);
        e.Pupil = {1743.5, 1162.5, 720.25, 597.75};
        b.model.torchOn(L);
        // Halves go to the even neighbour.
        QCOMPARE(b.model.SavedPupil, (WholeBox{1744, 1162, 720, 598}));
        QCOMPARE(e.Pupil, (PupilBox{1774, 1192, 645, 523}));
        QCOMPARE(b.model.LightReflexSeen, u'Y');
        b.model.torchOff(L);
        QCOMPARE(e.Pupil, (PupilBox{1744, 1162, 720, 598}));

        // An atropine eye does not narrow, and the cotton (tool 2) leaves the box alone.
        b.instil(R, 0);
        const PupilBox wide = b.model.eye(R).Pupil;
        b.model.LightReflexSeen = u'N';
        b.model.torchOn(R);
        QCOMPARE(b.model.eye(R).Pupil, wide);
        QCOMPARE(b.model.LightReflexSeen, u'N');
        b.model.Tool = 2;
        b.model.eye(R).Pupil.Width = 1;
        b.model.torchOff(R);
        QCOMPARE(b.model.eye(R).Pupil.Width, 1.0);
    }

    // The torch shines into an eye while its substance's stages land: under the light the
    // eye shows the stage reached (narrowed when the reflex is there), and taken away it
    // leaves that stage, never the box from before the drops.
    void torchHeldWhileTheStagesLand_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<PupilBox>("full");
        QTest::addColumn<PupilBox>("lit");
        QTest::newRow("atropine, no reflex") << 0 << PupilBox{1683, 1123, 820, 698} << PupilBox{1683, 1123, 820, 698};
        QTest::newRow("mesaton, reflex") << 2 << PupilBox{1743, 1163, 720, 598} << PupilBox{1773, 1193, 645, 523};
    }
    void torchHeldWhileTheStagesLand() {
        QFETCH(int, row);
        QFETCH(PupilBox, full);
        QFETCH(PupilBox, lit);
        Bench b(1);
        b.random.values = {0};
        b.model.instil(L, row, b.model.substanceList[row]);
        b.model.torchOn(L);
        b.model.halfStage(L);
        b.random.values = {0};
        b.model.fullStage(L);
        const EyeState& e = b.model.eye(L);
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
        Bench b(1, {substance("Сильный миотик", 'Y', 'Y', 'D', -99, -99), substance("Контроль", 'Y', 'Y', 'N', 0, 0)});
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
        Bench b(1);
        QVERIFY(b.instil(L, 4).accepted);  // cocaine
        QCOMPARE(b.model.eye(L).Drug, quint8(5));
        QCOMPARE(b.model.eye(L).Label, QStringLiteral("Кокаин"));
        QVERIFY(!b.model.cornealReflexPresent(L));
        QVERIFY(b.model.lightReflexPresent(L));
        QCOMPARE(b.model.SelectedDrug, quint8(5));

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
        Bench b(1);
        b.model.RabbitNo = 1;
        int taken = 0;
        while (b.model.takeRabbitNumber()) ++taken;
        QCOMPARE(taken, 254);
        QCOMPARE(b.model.RabbitNo, quint8(255));
        QVERIFY(!b.model.takeRabbitNumber());
        QCOMPARE(b.model.RabbitNo, quint8(255));
    }

    void examinationStart() {
        Bench b(2, shippedTable(), {0.5});
        QVERIFY(b.message.isEmpty());
        QCOMPARE(b.model.Rab_DrugCount, 8);
        QCOMPARE(b.model.Rab_Drugs[9].D_Name, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.model.SelectedDrug, quint8(5));  // Int(8 × 0.5 + 1)
        QCOMPARE(b.model.UnknownUsed, (QVector<quint8>{0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
        QCOMPARE(b.model.UnknownLabel, QStringLiteral("Unknown Drug 1"));
        QCOMPARE(b.run.Rab_ExamRecs.size(), 10);
        QCOMPARE(b.model.substanceList.size(), 9);  // the hidden list still holds every row
    }

    void newExaminationStartsWithEmptyRecords() {
        ScriptedRandom random;
        RabbitRunState run;
        run.Rab_Mode = 2;
        run.Rab_ExamRecs = QVector<RabExamRec>(12);
        run.Rab_ExamRecs[3] = {QStringLiteral("Атропин"), QStringLiteral("Атропин"), u'I', u'N', u'Y', u'N', true};
        run.Rab_Exam2.Given = true;
        RabbitModel model(run, random);
        model.LoadDrugTable(shippedTable());
        QCOMPARE(run.Rab_ExamRecs.size(), 10);
        for (const RabExamRec& rec : std::as_const(run.Rab_ExamRecs)) QVERIFY(!rec.Recorded);
        QVERIFY(!run.Rab_Exam2.Given);
    }

    // What the supervisor reads under "Saline Instilled": only a saline that went into an
    // eye counts. "saline X": asked for, then eye X chosen; "ask": asked for and left pending;
    // "cancel": the eye choice cancelled.
    void salineInTheRecord_data() {
        QTest::addColumn<quint8>("mode");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QChar>("recorded");
        QTest::newRow("refused by a taken eye") << quint8(2) << QStringList{"unknown L", "saline L"} << QChar(u'N');
        QTest::newRow("into a free eye") << quint8(2) << QStringList{"unknown L", "saline R"} << QChar(u'Y');
        QTest::newRow("given, then refused") << quint8(2) << QStringList{"saline R", "saline R"} << QChar(u'Y');
        QTest::newRow("given, then asked again") << quint8(2) << QStringList{"saline R", "ask"} << QChar(u'Y');
        QTest::newRow("asked only") << quint8(2) << QStringList{"ask"} << QChar(u'N');
        QTest::newRow("asked, cancelled, the unknown") << quint8(2) << QStringList{"ask", "cancel", "unknown L"} << QChar(u'N');
        QTest::newRow("second examination, refused") << quint8(3) << QStringList{"unknown L", "saline L"} << QChar(u'N');
    }
    void salineInTheRecord() {
        QFETCH(quint8, mode);
        QFETCH(QStringList, steps);
        QFETCH(QChar, recorded);
        Bench b(2, shippedTable(), {0.0});  // unknown 1 is atropine
        if (mode == 3) {
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
        QVERIFY(b.model.identify(QStringLiteral("Атропин")) == (mode == 3));
        QCOMPARE(mode == 3 ? b.run.Rab_Exam2.SalineInstilled : b.run.Rab_ExamRecs[1].SalineInstilled, recorded);
    }

    void salineGoesIntoAFreeEye() {
        Bench b(2, shippedTable(), {0.0});
        b.model.SalineAsked = true;
        b.random.values = {0};
        QVERIFY(b.model.instil(R, -1, QString()).accepted);
        QCOMPARE(b.model.eye(R).Drug, quint8(9));
        QCOMPARE(b.model.eye(R).Label, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.model.UnknownInstilled, quint8(0));
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
        QTest::newRow("B, reflex seen") << 0.75 << true << true << QStringLiteral("Пилокарпин") << QStringLiteral("DYY");
        QTest::newRow("B, reflex not seen") << 0.75 << true << false << QStringLiteral("Пилокарпин") << QStringLiteral("DNY");
        QTest::newRow("cocaine") << 0.5 << true << false << QStringLiteral("Кокаин") << QStringLiteral("NYN");
    }
    void identification() {
        QFETCH(double, firstDraw);
        QFETCH(bool, instil);
        QFETCH(bool, torchSawReflex);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        Bench b(2, shippedTable(), {firstDraw});
        if (instil) {
            b.random.values = {0};
            b.model.instil(R, -1, QString());
        }
        // Any torch test since the last identification counts, on either eye.
        if (torchSawReflex) b.model.torchOn(L);
        b.random.values = {0.0};
        QVERIFY(!b.model.identify(name));
        const RabExamRec& rec = b.run.Rab_ExamRecs[1];
        QVERIFY(rec.Recorded);
        QCOMPARE(rec.Identified, name);
        QCOMPARE(QString(rec.Tension) + rec.LightReflex + rec.CornealReflex, expected);
        QCOMPARE(rec.SalineInstilled, u'N');
        QCOMPARE(b.model.LightReflexSeen, u'N');
        QCOMPARE(b.model.UnknownNo, quint8(2));
        QCOMPARE(b.model.UnknownLabel, QStringLiteral("Неизвестное вещество 2"));
        QCOMPARE(b.model.UnknownInstilled, quint8(0));
    }

    void unknownsComeOnceEachAndTheLastMovesOn() {
        // The first draw gives unknown 3; the source offers it twice more, and the draw
        // goes on until a fresh one comes.
        Bench b(2, shippedTable(), {0.25});
        QCOMPARE(b.model.SelectedDrug, quint8(3));
        b.random.values = {0.25, 0.25, 0.9};
        QVERIFY(!b.model.identify(QString()));
        QCOMPARE(b.model.SelectedDrug, quint8(8));
        QVERIFY(!b.model.identify(QString()));  // the source is empty: it says 0, unknown 1
        QCOMPARE(b.model.SelectedDrug, quint8(1));
        // From now on it keeps saying 0, a used unknown: the draw still ends, on a fresh one.
        std::set<int> handedOut{3, 8, 1};
        for (int k = 4; k <= 8; ++k) {
            b.random.values = {0.0};
            const bool last = b.model.identify(QString());
            QCOMPARE(last, k > 8);
            QVERIFY(handedOut.insert(b.model.SelectedDrug).second);
        }
        QCOMPARE(b.model.UnknownNo, quint8(8));
        QVERIFY(b.model.identify(QString()));
        QCOMPARE(int(handedOut.size()), 8);
        for (int k = 1; k <= 8; ++k) QVERIFY(b.run.Rab_ExamRecs[k].Recorded);
    }

    void noUnknownAtAll() {
        Bench b(2, {substance("Физиологический раствор", 'Y', 'Y', 'N', 0, 0)});
        QCOMPARE(b.message, QStringLiteral("  Error in the System. Restart   "));
        QCOMPARE(b.model.Rab_DrugCount, 0);
        QVERIFY(b.model.identify(QString()));  // nothing left to hand out: it moves on
        b.model.enterSecondExamination();
        QCOMPARE(b.run.Rab_Exam2.DrugName, QStringLiteral("Физиологический раствор"));
        QCOMPARE(b.run.Rab_Exam2.Action, u'N');
    }

    void secondExamination() {
        Bench b(2, shippedTable(), {0.0});
        // Dicaine (row 6) neither narrows nor widens: never asked about. The seven that
        // act on the pupil are drawn evenly.
        QStringList drawn;
        for (int k = 0; k < 7; ++k) {
            b.random.values = {(k + 0.5) / 7};
            b.model.enterSecondExamination();
            drawn << b.run.Rab_Exam2.DrugName;
        }
        QCOMPARE(drawn, (QStringList{"Атропин", "Гоматропин", "Мезатон", "Адреналин", "Кокаин", "Пилокарпин", "Физостигмин"}));
        QCOMPARE(b.run.Rab_Mode, quint8(3));
        QCOMPARE(b.run.Rab_Exam2.Action, u'M');
        QVERIFY(b.run.Rab_Exam2.Given);

        b.random.values = {0};
        QVERIFY(b.model.instil(L, -1, QString()).accepted);
        QCOMPARE(b.model.eye(L).Drug, quint8(8));
        QCOMPARE(b.model.eye(L).Label, QStringLiteral("Неизвестное вещество"));
        b.model.SalineAsked = true;
        QVERIFY(b.model.instil(R, -1, QString()).accepted);
        QVERIFY(b.model.identify(QStringLiteral("Миотик")));
        QCOMPARE(b.run.Rab_Exam2.Answer, QStringLiteral("Миотик"));
        QCOMPARE(b.run.Rab_Exam2.Instilled, u'Y');
        QCOMPARE(b.run.Rab_Exam2.SalineInstilled, u'Y');
        QCOMPARE(b.run.Rab_ExamRecs[1].Recorded, false);  // the first examination's rows are untouched
    }
};

QTEST_GUILESS_MAIN(TstRabbitModel)
#include "tst_rabbit_model.moc"
