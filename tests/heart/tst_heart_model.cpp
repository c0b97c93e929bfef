// The isolated heart under its drugs, tick by tick, without a screen.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include "drug_names.h"
#include "fakes.h"
#include "heart_model.h"
#include "heart_run_state.h"

namespace {

HeartDrugRec drug(const char* name, const char* key, int top, int bottom, int lo, int hi, char tone, char ind) {
    HeartDrugRec d;
    d.Name = QString::fromUtf8(name);
    d.key = QString::fromLatin1(key);
    d.L_StART = quint8(top);
    d.L_End = quint8(bottom);
    d.Dose = 1;
    d.hr_START = quint8(lo);
    d.hr_END = quint8(hi);
    d.toneLetter = QChar::fromLatin1(tone);
    d.tone = heartToneFromLetter(d.toneLetter);
    d.hr_indicator = heartRateChangeFromLetter(QChar::fromLatin1(ind));
    return d;
}

// The table the program ships, in its order.
QVector<HeartDrugRec> shippedTable() {
    return {
        drug("Адреналин", "Epi", 90, 40, 15, 30, 'I', 'I'),    drug("Кальция хлорид", "CaCl", 35, 36, 0, 0, 'I', 'O'),
        drug("Калия хлорид", "KCl", 84, 85, 0, 0, 'D', 'O'),   drug("Атропин", "Atr", 50, 80, 2, 6, 'N', 'I'),
        drug("Пропранолол", "Prop", 80, 60, 5, 12, 'N', 'D'),  drug("Ацетилхолин", "ACh", 69, 59, 15, 30, 'D', 'D'),
        drug("Норадреналин", "NEpi", 80, 44, 5, 15, 'I', 'I'), drug("Изопреналин", "Iso", 85, 30, 25, 45, 'I', 'I')};
}

// A stage set up on `table` as the screen's first load does, `setUpDraws` the draws of its
// unknown, then a heart at rest after its first rest cycle.
struct Heart {
    TestContext t;
    HeartRunState run;
    HeartModel m{run, t.random};
    explicit Heart(HeartMode mode = HeartMode::Tutorial, std::deque<double> setUpDraws = {},
                   const QVector<HeartDrugRec>& table = shippedTable()) {
        run.chooseMode(mode);
        t.random.values = std::move(setUpDraws);
        QString error;
        if (!m.setUpStage(table, &error)) qFatal("%s", qPrintable(error));
        t.random.values = {0.4};  // basalbase 72
        m.startHeart();
        m.startRecorder(329);
        for (int i = 0; i < 76; ++i) m.tick();  // the first rest cycle sets the basal rate
        m.takeOps();
    }
    int position(const char* key) const {
        for (int i = 1; i < m.druglist().size(); ++i)
            if (m.druglist()[i].key == QLatin1String(key)) return i - 1;
        qFatal("no %s", key);
    }
    void give(const char* key) { m.inject(position(key)); }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) m.tick();
    }
    static QVector<QPair<int, int>> strokes(const std::vector<HeartOp>& ops) {
        QVector<QPair<int, int>> s;
        for (const HeartOp& op : ops)
            if (op.kind == HeartOp::Stroke) s << qMakePair(op.y1, op.y2);
        return s;
    }
};

}  // namespace

class TstHeartModel : public QObject {
    Q_OBJECT
private slots:
    void controlState() {
        Heart h;
        QCOMPARE(h.m.basalbase(), quint8(72));
        QCOMPARE(h.m.basalBox(), QStringLiteral("71"));  // scripted draws run out: 0 lowers by one
        h.t.random.values = {0.0, 0.3, 0.6, 0.99};
        h.ticks(4);
        QCOMPARE(Heart::strokes(h.m.takeOps()), (QVector<QPair<int, int>>{{51, 81}, {52, 82}, {53, 83}, {54, 84}}));
        QCOMPARE(h.m.leverrest(), 4250);
        QCOMPARE(h.m.leverstroke(), 500);
    }

    void interactions_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("antagonised");
        QTest::newRow("Ca then K") << "CaCl"
                                   << "KCl" << true;
        QTest::newRow("Ca then adrenaline") << "CaCl"
                                            << "Epi" << false;
        QTest::newRow("K then Ca") << "KCl"
                                   << "CaCl" << true;
        QTest::newRow("K then acetylcholine") << "KCl"
                                              << "ACh" << false;
        QTest::newRow("atropine then acetylcholine") << "Atr"
                                                     << "ACh" << true;
        QTest::newRow("acetylcholine then atropine") << "ACh"
                                                     << "Atr" << true;
        QTest::newRow("propranolol then adrenaline") << "Prop"
                                                     << "Epi" << true;
        QTest::newRow("propranolol then noradrenaline") << "Prop"
                                                        << "NEpi" << true;
        QTest::newRow("propranolol then isoprenaline") << "Prop"
                                                       << "Iso" << true;
        QTest::newRow("adrenaline then propranolol") << "Epi"
                                                     << "Prop" << false;
        QTest::newRow("isoprenaline then acetylcholine") << "Iso"
                                                         << "ACh" << false;
    }
    void interactions() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, antagonised);
        Heart h;
        h.give(qPrintable(first));
        h.ticks(30);  // 3 seconds later, still acting
        h.give(qPrintable(second));
        QCOMPARE(h.m.interact(), true);
        QCOMPARE(h.m.blocked(), antagonised);
        const HeartDrugRec& d = h.m.druglist()[h.position(qPrintable(second)) + 1];
        QCOMPARE(h.m.tracetop(), antagonised ? quint8(50) : d.L_StART);
        QCOMPARE(h.m.tracebottom(), antagonised ? quint8(80) : d.L_End);
        if (antagonised) QCOMPARE(h.m.tonelevel(), quint8(14));
    }

    void acetylcholineAfterAtropine() {
        Heart h;
        h.give("Atr");
        h.ticks(30);
        h.give("ACh");
        QCOMPARE(h.m.drugrate(), quint8(71));  // the basal rate
        QCOMPARE(h.m.hrlevel(), quint8(14));
        QCOMPARE(h.m.tonelevel(), quint8(14));
    }

    void noradrenalineAfterPropranolol() {
        Heart h;
        h.give("Prop");
        const quint8 propranololRate = h.m.drugrate();
        QCOMPARE(propranololRate, quint8(71 - 5));
        h.ticks(30);
        h.give("NEpi");
        QCOMPARE(h.m.drugrate(), propranololRate);
        QCOMPARE(h.m.tonelevel(), quint8(14));
        QCOMPARE(h.m.hrlevel(), quint8(18));  // held below the basal rate
        QCOMPARE(h.m.tracetop(), quint8(50));
    }

    void potassiumCalciumCalcium() {
        Heart h;
        h.give("KCl");
        h.ticks(10);
        h.give("CaCl");
        QCOMPARE(h.m.blocked(), true);
        QCOMPARE(h.m.kclbcacl(), true);
        QCOMPARE(h.m.tracetop(), quint8(50));
        h.ticks(10);
        h.m.takeOps();
        h.give("CaCl");
        QCOMPARE(h.m.kclbcacl(), false);
        const std::vector<HeartOp> ops = h.m.takeOps();
        QCOMPARE(Heart::strokes(ops), (QVector<QPair<int, int>>{{74, 45}, {55, 45}, {45, 42}, {42, 37}}));
        QCOMPARE(h.m.jitter(), quint8(4));
        QCOMPARE(h.m.tracetop(), quint8(35));
    }

    void calciumOnsetOnFourPixels() {
        Heart h;
        const int width = h.m.paper().width();
        h.give("CaCl");
        const std::vector<HeartOp> ops = h.m.takeOps();
        QVector<HeartOp::Kind> kinds;
        for (const HeartOp& op : ops)
            if (op.kind == HeartOp::Advance || op.kind == HeartOp::Stroke) kinds << op.kind;
        QCOMPARE(kinds, (QVector<HeartOp::Kind>{HeartOp::Advance, HeartOp::Stroke, HeartOp::Advance, HeartOp::Stroke,
                                                HeartOp::Advance, HeartOp::Stroke, HeartOp::Advance, HeartOp::Stroke}));
        QCOMPARE(h.m.paper().width(), width + 4);
        QCOMPARE(h.m.rateBox(), QStringLiteral("1"));  // arrest: rate 1 at once
        QCOMPARE(h.m.drugrate(), quint8(1));
        // Later strokes use the drug's own ends with a spread of 1 to 2.
        h.t.random.values = {0.99};
        h.ticks(1);
        QCOMPARE(Heart::strokes(h.m.takeOps()), (QVector<QPair<int, int>>{{37, 38}}));
    }

    void marks() {
        Heart h;
        h.give("Epi");
        std::vector<HeartOp> ops = h.m.takeOps();
        const int x0 = h.m.paper().width() - 10;
        QStringList texts;
        for (const HeartOp& op : ops)
            if (op.kind == HeartOp::Mark) {
                texts << op.text;
                QVERIFY(op.highlight);
            }
        QCOMPARE(texts, (QStringList{"|", "v", "BHR71", "^", "|", "Epi"}));
        auto at = [&](const QString& text) {
            for (const HeartOp& op : ops)
                if (op.kind == HeartOp::Mark && op.text == text) return QPoint(op.x, op.y1);
            return QPoint();
        };
        QCOMPARE(at(QStringLiteral("BHR71")), QPoint(x0 - 25, 5));
        QCOMPARE(at(QStringLiteral("Epi")), QPoint(x0 - 11, 138));

        h.ticks(20);
        h.m.takeOps();
        h.give("ACh");  // during the action: "HR" and the rate of the adrenaline
        ops = h.m.takeOps();
        texts.clear();
        for (const HeartOp& op : ops)
            if (op.kind == HeartOp::Mark) texts << op.text;
        QCOMPARE(texts, (QStringList{"^", "|", QStringLiteral("HR%1").arg(71 + 15), "^", "|", "ACh"}));
    }

    void restCycleEveryActionEnds() {
        Heart h;
        h.give("Epi");
        h.ticks(40);
        QVERIFY(h.m.rateBox().isEmpty());
        h.ticks(1);
        QCOMPARE(h.m.rateBox(), QStringLiteral("86"));  // written 4 seconds after the injection
        h.ticks(34);
        QCOMPARE(h.m.drugLabel(), QStringLiteral("Адреналин"));
        h.m.takeOps();
        h.ticks(1);
        QCOMPARE(h.m.drugLabel(), QStringLiteral("Нет"));
        QCOMPARE(h.m.restnormalflag(), true);
        QCOMPARE(h.m.tracetop(), quint8(50));
        QStringList texts;
        for (const HeartOp& op : h.m.takeOps())
            if (op.kind == HeartOp::Mark) texts << op.text;
        QCOMPARE(texts, (QStringList{"^", "|", "HR86"}));
        QCOMPARE(h.m.prevname(), QStringLiteral("Адреналин"));
    }

    // When an action ends both indicators go back level, whichever way the drug took them.
    void restCycleLevelsBothIndicators_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("tone and rate raised") << "Epi";
        QTest::newRow("tone and rate lowered") << "ACh";
        QTest::newRow("tone lowered, arrest") << "KCl";
    }
    void restCycleLevelsBothIndicators() {
        QFETCH(QString, key);
        Heart h;
        h.give(qPrintable(key));
        QVERIFY(h.m.tonelevel() != 14);
        h.ticks(76);
        QCOMPARE(h.m.hrlevel(), quint8(14));
        QCOMPARE(h.m.tonelevel(), quint8(14));
        const std::vector<HeartOp> ops = h.m.takeOps();
        const auto last =
            std::find_if(ops.rbegin(), ops.rend(), [](const HeartOp& op) { return op.kind == HeartOp::Indicators; });
        QVERIFY(last != ops.rend());
        QCOMPARE(QPair(last->y1, last->y2), QPair(14, 14));
    }

    void restingHeartWritesNoMarks() {
        Heart h;
        HeartModel m(h.run, h.t.random);
        QString error;
        QVERIFY(m.setUpStage(shippedTable(), &error));
        m.startHeart();
        m.startRecorder(329);
        int marks = 0;
        for (int i = 0; i < 300; ++i) {
            m.tick();
            for (const HeartOp& op : m.takeOps()) marks += op.kind == HeartOp::Mark;
        }
        QCOMPARE(marks, 0);
    }

    void basalRateDriftsByOneBeat() {
        Heart h;
        Mt19937Random real(3);
        HeartModel m(h.run, real);
        QString error;
        QVERIFY(m.setUpStage(shippedTable(), &error));
        m.startHeart();
        m.startRecorder(329);
        for (int i = 0; i < 600; ++i) {  // a minute
            m.tick();
            if (!m.basalBox().isEmpty()) QVERIFY(std::abs(m.basalBox().toInt() - m.basalbase()) <= 1);
        }
        QVERIFY(m.basalbase() >= 60 && m.basalbase() <= 90);
    }

    void scrollRange() {
        Heart h;
        HeartModel m(h.run, h.t.random);
        QString error;
        QVERIFY(m.setUpStage(shippedTable(), &error));
        m.startHeart();
        m.startRecorder(329);
        QCOMPARE(m.paper().unit(), 82);
        int firstGrowth = 0;
        QVector<int> growths;
        for (int tick = 1; tick <= 600; ++tick) {
            const int before = m.paper().positions();
            m.tick();
            if (m.paper().positions() != before) growths << tick;
            if (m.paper().positions() == 4 && !firstGrowth) firstGrowth = tick;
        }
        QCOMPARE(firstGrowth, 331);
        QCOMPARE(growths.mid(0, 4), (QVector<int>{331, 414, 497, 580}));
    }

    void paperFull() {
        Heart h;
        h.m.startRecorder(16382);
        QCOMPARE(h.m.tick(), HeartModel::TickResult::Ticked);
        QCOMPARE(h.m.tick(), HeartModel::TickResult::PaperFull);
        QCOMPARE(h.m.paper().width(), 16383);
    }

    void ratesStayBytes() {
        QVector<HeartDrugRec> table = shippedTable();
        table[0].hr_START = 200;  // a table that would overflow the rate
        table[0].hr_END = 250;
        table[5].hr_START = table[5].hr_END = 100;  // a decrease beyond the basal rate
        Heart h(HeartMode::Tutorial, {}, table);
        h.give("Epi");
        QCOMPARE(h.m.drugrate(), quint8(255));
        h.ticks(80);
        h.give("ACh");
        QCOMPARE(h.m.drugrate(), quint8(0));
    }

    void examinationRecords() {
        Heart one(HeartMode::Exam1);  // the set-up hands out the first unknown
        one.m.chooseExam1Unknown();
        one.m.chooseExam1Unknown();
        QCOMPARE(one.run.Heart_UnknownNo(), quint8(3));
        one.give("Epi");
        QCOMPARE(one.run.Heart_Exam1Results()[3].rate, quint8(86));
        QCOMPARE(one.m.prevname(), QStringLiteral("Неизвестное No. 3"));
        QCOMPARE(one.m.drugLabel(), QStringLiteral("Неизвестное 3"));

        Heart two(HeartMode::Exam2, {0.7});  // the unknown is acetylcholine, the sixth
        two.give("ACh");
        two.m.inject(8);
        QCOMPARE(two.run.Heart_Exam2Count(), quint8(2));
        QCOMPARE(two.run.Heart_Exam2Log()[1].drug, QStringLiteral("Ацетилхолин"));
        QCOMPARE(two.run.Heart_Exam2Log()[2].drug, QStringLiteral("Неизвестное"));
        QCOMPARE(two.run.Heart_Exam2Log()[2].tone, QChar(u'D'));
        QCOMPARE(two.m.unitFor(8), QStringLiteral("мл"));
        QCOMPARE(two.m.markKeyFor(8), QStringLiteral("Unk"));
        QCOMPARE(two.m.unitFor(7), QStringLiteral("мкг"));

        Heart three(HeartMode::Exam3);  // the set-up numbers the first heart
        three.give("Epi");
        QCOMPARE(three.run.Heart_Exam3Rates()[1][0], quint8(86));
    }

    void examinationOneHandsOutEveryDrugOnce() {
        Heart h(HeartMode::Exam1);  // the set-up hands out the first unknown with a draw of 0
        QSet<int> seen{h.run.Heart_Exam1Drug()};
        for (int i = 1; i < 8; ++i) {
            h.t.random.values = {0.0};  // the same draw every time still gives a new drug
            seen << h.m.chooseExam1Unknown();
        }
        QCOMPARE(seen.size(), 8);
        QCOMPARE(h.run.Heart_UnknownNo(), quint8(8));
    }

    // Examinations 2 and 3 copy one of their drugs, drawn at random, as the unknown after
    // the known ones, at the dose of 0.1.
    void examinationUnknownDraw_data() {
        QTest::addColumn<HeartMode>("mode");
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("exam 2, lowest draw") << HeartMode::Exam2 << 0.0 << 1 << QStringLiteral("Адреналин");
        QTest::newRow("exam 2, below the sixth") << HeartMode::Exam2 << 0.624 << 5 << QStringLiteral("Пропранолол");
        QTest::newRow("exam 2, the sixth") << HeartMode::Exam2 << 0.625 << 6 << QStringLiteral("Ацетилхолин");
        QTest::newRow("exam 2, highest draw") << HeartMode::Exam2 << 0.999 << 8 << QStringLiteral("Изопреналин");
        QTest::newRow("exam 3, lowest draw") << HeartMode::Exam3 << 0.0 << 1 << QStringLiteral("Адреналин");
        QTest::newRow("exam 3, below half") << HeartMode::Exam3 << 0.499 << 1 << QStringLiteral("Адреналин");
        QTest::newRow("exam 3, half") << HeartMode::Exam3 << 0.5 << 2 << QStringLiteral("Ацетилхолин");
        QTest::newRow("exam 3, highest draw") << HeartMode::Exam3 << 0.999 << 2 << QStringLiteral("Ацетилхолин");
    }
    void examinationUnknownDraw() {
        QFETCH(HeartMode, mode);
        QFETCH(double, draw);
        QFETCH(int, entry);
        QFETCH(QString, name);
        Heart h(mode, {draw});
        const QVector<HeartDrugRec>& list = h.m.druglist();
        QCOMPARE(h.m.drugCount(), mode == HeartMode::Exam2 ? heartDrugCount : 2);
        QCOMPARE(list.size(), h.m.drugCount() + 2);  // the control, the known drugs, the unknown
        QCOMPARE(int(h.run.Heart_ExamUnknown()), entry);
        QCOMPARE(list.last().Name, name);
        QCOMPARE(list.last().key, list[entry].key);
        QCOMPARE(list.last().Dose, 0.1f);
        QCOMPARE(mode == HeartMode::Exam2 ? h.run.Heart_Exam2Name() : h.run.Heart_Exam3Name(), name);
        QVERIFY((mode == HeartMode::Exam2 ? h.run.Heart_Exam3Name() : h.run.Heart_Exam2Name()).isEmpty());
        QCOMPARE(h.m.drugLabelFor(h.m.drugCount()), QStringLiteral("Неизвестное "));
    }

    // Examination 1 goes on while an unknown is left, each answer under its number; the
    // answer to the last starts examination 2, whose answer starts examination 3. Each
    // answer has the next screen set its stage up anew.
    void examinationsFollowOneAnother() {
        TestContext t;
        HeartRunState run;
        run.chooseMode(HeartMode::Exam1);
        QString error;
        for (int stage = 1; stage <= heartDrugCount; ++stage) {
            HeartModel m(run, t.random);                    // each stage's screen has a model of its own
            QVERIFY(m.setUpStage(shippedTable(), &error));  // draws of 0: the drugs in table order
            QCOMPARE(int(run.Heart_UnknownNo()), stage);
            QVERIFY(run.Heart_DataLoaded());
            const QString answer = QStringLiteral(" Ответ %1 ").arg(stage);
            run.identifyUnknown(answer);
            QCOMPARE(run.Heart_Exam1Results()[stage].identified, answer);  // as the list shows it
            QCOMPARE(run.Heart_Mode(), stage < heartDrugCount ? HeartMode::Exam1 : HeartMode::Exam2);
            QVERIFY(!run.Heart_DataLoaded());
        }
        HeartModel m(run, t.random);
        QVERIFY(m.setUpStage(shippedTable(), &error));
        run.identifyUnknown(QStringLiteral(" Атропин "));
        QCOMPARE(run.Heart_Mode(), HeartMode::Exam3);
        QCOMPARE(run.Heart_Exam2Answer(), QStringLiteral("Атропин"));
        QVERIFY(!run.Heart_DataLoaded());
        QCOMPARE(run.Heart_Exam1Results()[heartDrugCount].identified, QStringLiteral(" Ответ 8 "));
    }

    // Examination 1 ends only when every drug has been handed out, whatever their order.
    void examinationOneEndsWhenNoUnknownIsLeft() {
        TestContext t;
        HeartRunState run;
        run.chooseMode(HeartMode::Exam1);
        QString error;
        for (int stage = 1; stage <= heartDrugCount; ++stage) {
            HeartModel m(run, t.random);
            t.random.values = {0.999};  // the last drug left each time: the table backwards
            QVERIFY(m.setUpStage(shippedTable(), &error));
            QCOMPARE(int(run.Heart_Exam1Drug()), heartDrugCount + 1 - stage);
            QCOMPARE(run.unknownLeft(), stage < heartDrugCount);
            run.identifyUnknown(QStringLiteral("Атропин"));
            QCOMPARE(run.Heart_Mode(), stage < heartDrugCount ? HeartMode::Exam1 : HeartMode::Exam2);
        }
    }

    // An answer in examination 1 empties examination 2's log; the answer of examination 2
    // keeps it for the results. The log holds 255 injections.
    void examinationTwoLog() {
        Heart one(HeartMode::Exam1);
        QVERIFY(one.run.logExam2(QStringLiteral("Атропин"), u'N', 70));
        QVERIFY(one.run.logExam2(QStringLiteral("Атропин"), u'N', 71));
        one.run.identifyUnknown(QStringLiteral("Атропин"));
        QCOMPARE(one.run.Heart_Exam2Count(), quint8(0));
        QCOMPARE(one.run.Heart_Exam2Log().size(), 1);

        Heart two(HeartMode::Exam2, {0.7});
        for (int i = 1; i < HeartRunState::maxExam2Lines; ++i)
            QVERIFY(two.run.logExam2(QStringLiteral("Атропин"), u'N', 70));
        two.give("ACh");  // the last line
        QVERIFY(!two.m.exam2LogFull());
        two.ticks(80);
        two.give("Epi");
        QVERIFY(two.m.exam2LogFull());
        QCOMPARE(int(two.run.Heart_Exam2Count()), HeartRunState::maxExam2Lines);
        QCOMPARE(two.run.Heart_Exam2Log().size(), HeartRunState::maxExam2Lines + 1);
        QCOMPARE(two.run.Heart_Exam2Log().last().drug, QStringLiteral("Ацетилхолин"));
        two.run.identifyUnknown(QStringLiteral("Ацетилхолин"));
        QCOMPARE(int(two.run.Heart_Exam2Count()), HeartRunState::maxExam2Lines);
        QCOMPARE(two.run.Heart_Exam2Log().last().drug, QStringLiteral("Ацетилхолин"));
    }

    // Examination 3 numbers its hearts 1 to 255: at the last number a new heart is refused
    // and the rates go on under that number. The other stages do not number hearts.
    void examinationThreeHeartNumbers() {
        Heart h(HeartMode::Exam3);
        QCOMPARE(h.run.Heart_HeartNo(), quint8(1));
        QCOMPARE(h.run.Heart_Exam3Rates().size(), 2);
        for (int n = 2; n <= HeartRunState::maxHearts; ++n) {
            QVERIFY(h.run.nextHeart());
            QCOMPARE(int(h.run.Heart_HeartNo()), n);
        }
        QCOMPARE(h.run.Heart_Exam3Rates().size(), HeartRunState::maxHearts + 1);
        QVERIFY(!h.run.nextHeart());
        QCOMPARE(int(h.run.Heart_HeartNo()), HeartRunState::maxHearts);
        QCOMPARE(h.run.Heart_Exam3Rates().size(), HeartRunState::maxHearts + 1);
        h.give("ACh");
        QVERIFY(h.m.drugrate() > 0);
        QCOMPARE(h.run.Heart_Exam3Rates()[HeartRunState::maxHearts][1], h.m.drugrate());

        for (HeartMode mode : {HeartMode::Tutorial, HeartMode::Exam1, HeartMode::Exam2}) {
            Heart other(mode);
            QVERIFY(other.run.nextHeart());
            QCOMPARE(other.run.Heart_HeartNo(), quint8(1));
            QCOMPARE(other.run.Heart_Exam3Rates().size(), 2);
        }
    }

    void examinationThreeVerdicts() {
        const std::pair<Exam3Verdict, QString> verdicts[] = {
            {Exam3Verdict::Adrenaline, QStringLiteral("Адреналин")},
            {Exam3Verdict::Acetylcholine, QStringLiteral("Ацетилхолин")},
            {Exam3Verdict::Undecided, QStringLiteral("Не определено")}};
        for (const auto& [verdict, text] : verdicts) {
            HeartRunState run;
            run.answerExam3(verdict);
            QCOMPARE(run.Heart_Exam3Answer(), text);
        }
    }

    // The table's letters are read once into what they mean; the tone's letter stays for
    // the examination records.
    void letterCodes_data() {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<HeartTone>("tone");
        QTest::addColumn<HeartRateChange>("rate");
        QTest::newRow("I") << QChar(u'I') << HeartTone::Raised << HeartRateChange::Increase;
        QTest::newRow("D") << QChar(u'D') << HeartTone::Lowered << HeartRateChange::Decrease;
        QTest::newRow("O") << QChar(u'O') << HeartTone::Unchanged << HeartRateChange::Arrest;
        QTest::newRow("P") << QChar(u'P') << HeartTone::Unchanged << HeartRateChange::Held;
        QTest::newRow("N") << QChar(u'N') << HeartTone::Unchanged << HeartRateChange::None;
        QTest::newRow("small i") << QChar(u'i') << HeartTone::Unchanged << HeartRateChange::None;
        QTest::newRow("blank") << QChar(u' ') << HeartTone::Unchanged << HeartRateChange::None;
        QTest::newRow("none") << QChar() << HeartTone::Unchanged << HeartRateChange::None;
    }
    void letterCodes() {
        QFETCH(QChar, letter);
        QFETCH(HeartTone, tone);
        QFETCH(HeartRateChange, rate);
        QCOMPARE(heartToneFromLetter(letter), tone);
        QCOMPARE(heartRateChangeFromLetter(letter), rate);
    }

    // The examinations stand on exactly eight drugs: any other table is refused at every
    // stage with one message naming the file and the table.
    void tableOfEightDrugs_data() {
        QTest::addColumn<int>("rows");
        for (int rows : {1, 5, 7, 8, 9, 10}) QTest::addRow("%d rows", rows) << rows;
    }
    void tableOfEightDrugs() {
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(old); });
        QDir::setCurrent(dir.path());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
            db.setDatabaseName(QStringLiteral("F_Heart.mdb"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(
                q.exec(QStringLiteral("CREATE TABLE heart_drug (Name, key, L_StART, L_End, Dose, hr_START, hr_END, "
                                      "tone, hr_indicator)")));
            for (int i = 1; i <= rows; ++i)
                QVERIFY(q.exec(QStringLiteral("INSERT INTO heart_drug VALUES ('Вещество %1', 'D%1', 90, 40, 5, 15, 30, "
                                              "'I', 'I')")
                                   .arg(i)));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
        QVERIFY(
            QFile::copy(QStringLiteral(MORVANE_DATA_DIR "/F_Heart_names.txt"), QStringLiteral("F_Heart_names.txt")));
        for (HeartMode mode : {HeartMode::Tutorial, HeartMode::Exam1, HeartMode::Exam2, HeartMode::Exam3}) {
            TestContext t;
            HeartRunState run;
            run.chooseMode(mode);
            HeartModel m(run, t.random);
            QString error;
            const bool read = m.LoadDrugTable(&error);
            if (rows == 8) {
                QVERIFY2(read, qPrintable(error));
                QCOMPARE(m.drugCount(), mode == HeartMode::Exam3 ? 2 : 8);
                continue;
            }
            QVERIFY(!read);
            for (const QString& part : {QStringLiteral("«F_Heart.mdb»"), QStringLiteral("«heart_drug»"),
                                        QStringLiteral("ровно 8"), QString::number(rows)})
                QVERIFY2(error.contains(part), qPrintable(error));
        }
    }

    void tablesForEachMode() {
        const QString old = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR));
        for (HeartMode mode : {HeartMode::Tutorial, HeartMode::Exam1, HeartMode::Exam2, HeartMode::Exam3}) {
            TestContext t;
            HeartRunState run;
            run.chooseMode(mode);
            HeartModel m(run, t.random);
            QString error;
            QVERIFY2(m.LoadDrugTable(&error), qPrintable(error));
            const QStringList& names = run.Heart_AnswerNames();
            if (mode == HeartMode::Exam3) {
                QCOMPARE(m.drugCount(), 2);
                QCOMPARE(m.druglist()[1].key, QStringLiteral("Epi"));
                QCOMPARE(m.druglist()[2].key, QStringLiteral("ACh"));
                QCOMPARE(m.druglist()[2].Dose, 2.0f);
            } else {
                QCOMPARE(m.drugCount(), 8);
                QCOMPARE(run.Heart_DrugCount(), quint8(8));
                QCOMPARE(names.size(), mode == HeartMode::Tutorial ? 0 : 8);
                QCOMPARE(m.druglist()[3].Dose, mode == HeartMode::Exam1 ? 0.1f : 1000.0f);
            }
        }
        QDir::setCurrent(old);
    }

    // The records mark an answer by any name of the drug given, and keep what was shown.
    void examRecordsTakeOtherNames() {
        HeartRunState run;
        DrugNames names;
        QVERIFY2(names.load(QStringLiteral(MORVANE_DATA_DIR "/F_Heart_names.txt")), qPrintable(names.error()));
        run.setDrugNames(names);
        run.chooseMode(HeartMode::Exam1);
        run.stageSetUp(2, {});
        HeartDrugRec adrenaline{QStringLiteral("Адреналин "), QStringLiteral("Epi")};
        adrenaline.toneLetter = u'I';
        run.handOutExam1Unknown(1, adrenaline);
        run.recordExam1Rate(80);
        run.identifyUnknown(QStringLiteral(" Эпинефрин"));
        run.handOutExam1Unknown(2, HeartDrugRec{QStringLiteral("Атропин")});
        run.identifyUnknown(QStringLiteral("Адреналин"));
        const QList<ExamRecord> records = run.examRecords(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        QCOMPARE(records.size(), 3);
        const ExamRecord& first = records[0];
        QCOMPARE(first.items.size(), 2);
        QCOMPARE(first.items[0].given, QStringLiteral("Адреналин"));
        QCOMPARE(first.items[0].answer, QStringLiteral("Эпинефрин"));
        QVERIFY(first.items[0].right);
        QCOMPARE(first.items[0].measured, QStringLiteral("частота 80 уд/мин, тон I"));
        QVERIFY(!first.items[1].right);
        QCOMPARE(first.items[1].measured, QStringLiteral("вещество не введено"));
        QCOMPARE(first.scoreText(), QStringLiteral("1 из 2"));
        QCOMPARE(records[2].experiment, QStringLiteral("Сердце лягушки, экзамен 3"));
    }
};

QTEST_GUILESS_MAIN(TstHeartModel)
#include "tst_heart_model.moc"
