// The rules of the frog oesophagus experiment: drugs and their interactions, the seed's
// run, the examination's records and draws, the stopwatch and the table's numbers.
#include <QtTest>
#include <cmath>
#include <set>

#include "fakes.h"
#include "oeso_model.h"

namespace {

QVector<OesoDrugRec> standardTable() {
    return {{QStringLiteral("Раствор Рингера"), 13, 15, 200, 235}, {QStringLiteral("Ацетилхолин"), 13, 15, 145, 165},
            {QStringLiteral("Физостигмин"), 13, 15, 110, 130},     {QStringLiteral("Атропин"), 13, 15, 240, 270},
            {QStringLiteral("Карбахол"), 13, 15, 125, 145},        {QStringLiteral("Пилокарпин"), 13, 15, 150, 175},
            {QStringLiteral("Тубокурарин"), 13, 15, 200, 235}};
}

QVector<OesoDrugRec> tableOf(int rows) {
    QVector<OesoDrugRec> t;
    for (int i = 0; i < rows; ++i)
        t.push_back({i == 0 ? QStringLiteral("Раствор Рингера") : QStringLiteral("Д%1").arg(i), 13, 15, 200, 235});
    return t;
}

struct Frog {
    TestContext t;
    OesoRunState run;
    OesoModel m{t.random, run};
    explicit Frog(OesoMode mode = OesoMode::Tutorial, const QVector<OesoDrugRec>& table = standardTable()) {
        run.chooseMode(mode);
        m.setDrugs(table);
        t.random.values = {0.5, 0.0, 0.0};  // StepBase 2, seed at Left 1400, Top 650
        m.newFrog();
    }
    int row(const QString& name) const { return static_cast<int>(m.drugNames().indexOf(name)); }
    // A whole run: the seed laid, `seconds` on the examination clock, ticks until it arrives.
    void run_(int seconds) {
        m.startRun();
        for (int s = 0; s < seconds; ++s) m.monitorTick();
        int guard = 0;
        while (!m.tick() && ++guard < 100000) {
        }
    }
};

}  // namespace

class TstOesoModel : public QObject {
    Q_OBJECT
private slots:
    void newFrog() {
        Frog f;
        QCOMPARE(f.m.FrogNo(), 1);
        QCOMPARE(f.m.StepBase(), quint8(2));
        QCOMPARE(f.m.CurDrug(), QStringLiteral("Нет"));
        QCOMPARE(f.m.PrevDrug(), QStringLiteral("Нет"));
        QCOMPARE(f.m.SeedLeft(), 1400);
        QCOMPARE(f.m.SeedTop(), 650);
        QVERIFY(!f.m.SeedVisible());
        f.m.instill(1);
        f.t.random.values = {0.9999999, 0.9999999, 0.9999999};  // the highest draws stay in range
        f.m.newFrog();
        QCOMPARE(f.m.FrogNo(), 2);
        QCOMPARE(f.m.StepBase(), quint8(4));
        QCOMPARE(f.m.SeedLeft(), 1920);
        QCOMPARE(f.m.SeedTop(), 840);
        QCOMPARE(f.m.CurDrug(), QStringLiteral("Нет"));
        QVERIFY(f.m.DrugHistory().isEmpty());
    }

    // The drugs given before the last one (U = 0 for each), then the last with its own
    // draw and, where an interaction applies, a second one that replaces it.
    void instillation_data() {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("drawsLeft");
        const QList<double> script{0.0, 0.9999};
        QTest::newRow("Ringer") << QStringList{"Раствор Рингера"} << 200 << 1;
        QTest::newRow("acetylcholine on a new frog") << QStringList{"Ацетилхолин"} << 145 << 1;
        QTest::newRow("atropine after acetylcholine: baseline") << QStringList{"Ацетилхолин", "Атропин"} << 235 << 0;
        QTest::newRow("acetylcholine after atropine: baseline") << QStringList{"Атропин", "Ацетилхолин"} << 235 << 0;
        QTest::newRow("acetylcholine after physostigmine: row 2")
            << QStringList{"Физостигмин", "Ацетилхолин"} << 130 << 0;
        QTest::newRow("physostigmine after acetylcholine: its own")
            << QStringList{"Ацетилхолин", "Физостигмин"} << 110 << 1;
        QTest::newRow("atropine after physostigmine: baseline") << QStringList{"Физостигмин", "Атропин"} << 235 << 0;
        QTest::newRow("physostigmine after atropine: baseline") << QStringList{"Атропин", "Физостигмин"} << 235 << 0;
        QTest::newRow("only the last two count") << QStringList{"Атропин", "Карбахол", "Ацетилхолин"} << 145 << 1;
        QTest::newRow("the same drug twice") << QStringList{"Ацетилхолин", "Ацетилхолин"} << 145 << 1;
    }
    void instillation() {
        QFETCH(QStringList, given);
        QFETCH(int, interval);
        QFETCH(int, drawsLeft);
        Frog f;
        for (int i = 0; i < given.size() - 1; ++i) f.m.instill(f.row(given[i]));
        f.t.random.values = {0.0, 0.9999};
        f.m.instill(f.row(given.last()));
        QCOMPARE(f.m.Interval(), interval);
        QCOMPARE(int(f.t.random.values.size()), drawsLeft);
        QCOMPARE(f.m.SeedStep(), 14);  // StepBase 2 + 12, whatever the drug
        QCOMPARE(f.m.CurDrug(), given.last());
        QCOMPARE(f.m.PrevDrug(), given.size() > 1 ? given[given.size() - 2] : QStringLiteral("Нет"));
        QCOMPARE(f.m.DrugHistory(), given);
    }

    void tableWithoutRowTwo() {
        // Physostigmine then acetylcholine in a table that has no row 2: acetylcholine keeps
        // its own timing instead of the empty entry's.
        Frog f(OesoMode::Tutorial,
               {{QStringLiteral("Физостигмин"), 13, 15, 110, 130}, {QStringLiteral("Ацетилхолин"), 13, 15, 145, 165}});
        f.m.instill(0);
        f.t.random.values = {0.0, 0.9999};
        f.m.instill(1);
        QCOMPARE(f.m.Interval(), 145);
    }

    void draws_data() {
        QTest::addColumn<float>("a");
        QTest::addColumn<float>("b");
        QTest::addColumn<float>("u");
        QTest::addColumn<int>("value");
        const float top = std::nextafter(1.0f, 0.0f);
        QTest::newRow("lowest") << 200.0f << 235.0f << 0.0f << 200;
        QTest::newRow("middle") << 200.0f << 235.0f << 0.5f << 218;
        QTest::newRow("highest") << 200.0f << 235.0f << top << 235;
        QTest::newRow("wide range at the timer's limit") << 60000.0f << 65535.0f << top << 65535;
        QTest::newRow("one value") << 13.0f << 13.0f << top << 13;
    }
    void draws() {
        QFETCH(float, a);
        QFETCH(float, b);
        QFETCH(float, u);
        QFETCH(int, value);
        QCOMPARE(OesoModel::draw(a, b, u), value);
    }

    void seedRun_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("ticks");
        QTest::newRow("650 by 16") << 650 << 16 << 161;
        QTest::newRow("840 by 12") << 840 << 12 << 198;
        QTest::newRow("650 by 12") << 650 << 12 << 214;
        QTest::newRow("800 by 16: lands on 3200 exactly") << 800 << 16 << 152;
    }
    void seedRun() {
        QFETCH(int, top);
        QFETCH(int, step);
        QFETCH(int, ticks);
        Frog f;
        // A frog whose StepBase makes this step, with its seed waiting at this top.
        f.t.random.values = {(step - 12 + 0.5) / 5, 0.0, (top - 650 + 0.5) / 191, 0.0};
        f.m.newFrog();
        f.m.instill(0);
        QCOMPARE(f.m.SeedTop(), top);
        QCOMPARE(f.m.SeedStep(), step);
        f.m.startRun();
        QVERIFY(f.m.SeedVisible() && f.m.Running());
        int n = 0;
        int lastTop = top;
        f.t.random.values = {0.5, 0.5};  // the next seed's place
        while (true) {
            ++n;
            if (f.m.tick()) break;
            lastTop = f.m.SeedTop();
            QVERIFY(n < 1000);
        }
        QCOMPARE(n, ticks);
        QCOMPARE(n, (3200 - top) / step + 2);
        QVERIFY(lastTop > 3200 && lastTop - step <= 3200);
        QVERIFY(!f.m.SeedVisible() && !f.m.Running());
        QCOMPARE(f.m.SeedLeft(), 1660);
        QCOMPARE(f.m.SeedTop(), 745);
        QVERIFY(!f.m.tick());  // a tick after the end does nothing
        QCOMPARE(f.m.SeedTop(), 745);
    }

    void examinationStart() {
        Frog f(OesoMode::Examination);
        // An earlier student's examination leaves times and answers in the records.
        f.m.startExamination();
        f.m.giveRinger();
        f.run_(5);
        f.m.giveUnknown();
        f.run_(6);
        f.m.identify(QStringLiteral("ответ"));
        QCOMPARE(f.run.Oeso_ExamRecs().size(), 5);
        QCOMPARE(f.run.Oeso_ExamRecs()[0].T1, 5);
        QCOMPARE(f.run.Oeso_ExamRecs()[1].Identified, QStringLiteral("ответ"));
        f.t.random.values = {0.5};
        const int reseeds = f.t.random.reseeds;
        QVERIFY(f.m.startExamination());
        QCOMPARE(f.t.random.reseeds, reseeds + 1);
        QCOMPARE(f.m.UnknownIndex(), 4);  // Int(6 × 0.5 + 1)
        QCOMPARE(f.m.UnknownsGiven(), 1);
        QCOMPARE(f.m.ExamRowBase(), 2);
        QCOMPARE(f.m.RecordAllowed(), false);
        QCOMPARE(f.run.Oeso_ExamRecs().size(), 3);
        QCOMPARE(f.run.Oeso_ExamRecs()[0].Drug, QStringLiteral("Раствор Рингера"));
        QCOMPARE(f.run.Oeso_ExamRecs()[1].Drug, QStringLiteral("Карбахол"));
        for (const OesoExamRec& r : f.run.Oeso_ExamRecs()) {  // nothing of an earlier examination
            QCOMPARE(r.T1 + r.T2 + r.T3, 0);
            QVERIFY(r.Identified.isEmpty());
        }
        QCOMPARE(f.m.unknownChoices(), f.m.drugNames().mid(1));

        f.t.random.values = {0.5, 0.5};
        f.m.giveUnknown();
        QCOMPARE(f.m.SeedStep(), 14);
        QCOMPARE(f.m.Interval(), 135);  // carbachol's 125..145
        f.t.random.values = {0.9999, 0.0};
        f.m.giveRinger();
        QCOMPARE(f.m.SeedStep(), 15);
        QCOMPARE(f.m.Interval(), 200);
    }

    // Ringer's solution may be given once for each unknown, before it; the unknown once.
    void whatMayBeGiven() {
        Frog f(OesoMode::Examination);
        f.m.startExamination();
        QVERIFY(f.m.ringerAllowed() && f.m.unknownAllowed());
        f.m.giveRinger();
        QVERIFY(!f.m.ringerAllowed() && f.m.unknownAllowed());
        f.m.giveUnknown();
        QVERIFY(!f.m.ringerAllowed() && !f.m.unknownAllowed());
        QVERIFY(!f.m.identify(QStringLiteral("ответ")));
        QVERIFY(f.m.ringerAllowed() && f.m.unknownAllowed());  // the next unknown
        f.m.giveUnknown();                                     // given first, it leaves no place for Ringer's solution
        QVERIFY(!f.m.ringerAllowed() && !f.m.unknownAllowed());

        Frog ringerOnly(OesoMode::Examination, tableOf(1));
        QVERIFY(!ringerOnly.m.startExamination());
        QVERIFY(ringerOnly.m.ringerAllowed() && !ringerOnly.m.unknownAllowed());
    }

    void measurements() {
        Frog f(OesoMode::Examination);
        f.t.random.values = {0.0};
        f.m.startExamination();
        f.m.instill(0);  // as every new frog: Ringer's solution
        const QVector<OesoExamRec>& recs = f.run.Oeso_ExamRecs();

        // Before Ringer or the unknown: the first run is kept as T1 of the Ringer record,
        // a second one is not.
        f.run_(40);
        QCOMPARE(recs[0].T1, 40);
        f.run_(35);
        QCOMPARE(recs[0].T2, 0);
        QCOMPARE(f.m.MeasureNo(), quint8(1));
        QCOMPARE(recs[0].Runs, quint8(1));  // one run timed: its mean is that run

        f.m.giveRinger();
        for (int s : {38, 41, 37, 50}) f.run_(s);  // the fourth is not kept
        QCOMPARE((QList<int>{recs[0].T1, recs[0].T2, recs[0].T3}), (QList<int>{38, 41, 37}));
        QCOMPARE(recs[0].Runs, quint8(3));

        f.m.giveUnknown();
        // A seed laid again during a run starts the count again.
        f.m.startRun();
        for (int s = 0; s < 10; ++s) f.m.monitorTick();
        f.run_(29);
        QCOMPARE(recs[1].T1, 29);
        QCOMPARE(recs[0].T1, 38);

        QVERIFY(!f.m.identify(QStringLiteral("Ацетилхолин")));
        QCOMPARE(recs[1].Identified, QStringLiteral("Ацетилхолин"));
        QCOMPARE(recs.size(), 5);
        f.run_(44);  // after the answer, before a solution: nothing is kept
        QCOMPARE(recs[1].T2, 0);
        QCOMPARE(recs[1].Runs, quint8(1));
        QCOMPARE(recs[2].T1 + recs[3].T1, 0);
        f.m.giveRinger();
        f.run_(39);
        QCOMPARE(recs[2].T1, 39);

        // Tutorial runs keep nothing.
        Frog tutorial;
        tutorial.m.instill(0);
        tutorial.run_(30);
        QVERIFY(tutorial.run.Oeso_ExamRecs().isEmpty());
    }

    // Every row but Ringer's is handed out once, whatever chance returns, and the last
    // answer ends the examination.
    void unknownDraws_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("chance");
        for (int rows : {1, 2, 3, 7, 255}) {
            QTest::addRow("%d rows, chance 0", rows) << rows << 0.0;
            QTest::addRow("%d rows, chance near 1", rows) << rows << 0.9999999;
        }
        QTest::newRow("7 rows, chance 0.5") << 7 << 0.5;
    }
    void unknownDraws() {
        QFETCH(int, rows);
        QFETCH(double, chance);
        Frog f(OesoMode::Examination, tableOf(rows));
        f.t.random.values = std::deque<double>(2000, chance);
        QCOMPARE(f.m.startExamination(), rows > 1);
        QCOMPARE(f.m.unknownAvailable(), rows > 1);
        std::set<int> given;
        if (f.m.unknownAvailable()) given.insert(f.m.UnknownIndex());
        int answers = 0;
        while (true) {
            QVERIFY(answers < rows);
            const bool last = f.m.identify(QStringLiteral("ответ %1").arg(answers++));
            if (last) break;
            QVERIFY2(given.insert(f.m.UnknownIndex()).second, "a row handed out twice");
        }
        const int unknowns = std::max(0, rows - 1);
        QCOMPARE(answers, std::max(1, unknowns));
        QCOMPARE(int(given.size()), unknowns);
        if (unknowns > 0) {
            QCOMPARE(*given.begin(), 1);
            QCOMPARE(*given.rbegin(), rows - 1);
        }
        const QVector<OesoExamRec>& recs = f.run.Oeso_ExamRecs();
        QCOMPARE(int(recs.size()), 2 * std::max(1, unknowns) + 1);
        for (int k = 0; k < std::max(1, unknowns); ++k) {
            QCOMPARE(recs[2 * k].Drug, QStringLiteral("Раствор Рингера"));
            QVERIFY(recs[2 * k].Identified.isEmpty());
            QCOMPARE(recs[2 * k + 1].Identified, QStringLiteral("ответ %1").arg(k));
        }
    }

    void stopwatch_data() {
        QTest::addColumn<QList<qint64>>("before");
        QTest::addColumn<QList<qint64>>("after");
        QTest::newRow("start") << QList<qint64>{0, 0, 0} << QList<qint64>{0, 0, 1};
        QTest::newRow("a minute") << QList<qint64>{0, 0, 59} << QList<qint64>{0, 1, 0};
        QTest::newRow("an hour") << QList<qint64>{0, 59, 59} << QList<qint64>{1, 0, 0};
        QTest::newRow("within a minute") << QList<qint64>{1, 2, 3} << QList<qint64>{1, 2, 4};
        QTest::newRow("beyond two digits of hours") << QList<qint64>{99, 59, 59} << QList<qint64>{100, 0, 0};
    }
    void stopwatch() {
        QFETCH(QList<qint64>, before);
        QFETCH(QList<qint64>, after);
        const StopwatchTime t = stopwatchAdvance({before[0], before[1], before[2]});
        QCOMPARE((QList<qint64>{t.hours, t.minutes, t.seconds}), after);
    }
    // The stopwatch on the bench: it counts only while it runs, a start begins from zero,
    // a stop keeps the time, a reset sets it back to zero whether it runs or not.
    void stopwatchCommands() {
        Stopwatch w;
        auto shown = [&w] { return w.hoursText() + u':' + w.minutesText() + u':' + w.secondsText(); };
        QVERIFY(!w.running());
        w.tick();
        QCOMPARE(shown(), QStringLiteral("00:00:00"));
        w.start();
        QVERIFY(w.running());
        for (int i = 0; i < 59; ++i) w.tick();
        QCOMPARE(shown(), QStringLiteral("00:00:59"));
        w.tick();
        QCOMPARE(shown(), QStringLiteral("00:01:00"));
        w.stop();
        QVERIFY(!w.running());
        w.tick();
        QCOMPARE(shown(), QStringLiteral("00:01:00"));
        w.reset();
        QCOMPARE(shown(), QStringLiteral("00:00:00"));
        QVERIFY(!w.running());

        w.start();
        for (int i = 0; i < 3; ++i) w.tick();
        w.reset();
        QVERIFY(w.running());
        w.tick();
        QCOMPARE(shown(), QStringLiteral("00:00:01"));
        w.stop();
        w.start();
        QCOMPARE(shown(), QStringLiteral("00:00:00"));
        for (int i = 0; i < 3599; ++i) w.tick();
        QCOMPARE(shown(), QStringLiteral("00:59:59"));
        w.tick();
        QCOMPARE(shown(), QStringLiteral("01:00:00"));
        QCOMPARE(w.time(), (StopwatchTime{1, 0, 0}));
    }

    // The table is read again after every visit of the home screen, and whenever the
    // frog has none.
    void drugTableLoading() {
        TestContext t;
        OesoRunState run;
        OesoModel m(t.random, run);
        QVERIFY(m.needsDrugs());
        m.setDrugs(standardTable());
        QVERIFY(run.Oeso_DataLoaded());
        QVERIFY(!m.needsDrugs());
        OesoModel another(t.random, run);
        QVERIFY(another.needsDrugs());  // a screen without a table
        run.reset();
        QVERIFY(m.needsDrugs());
        m.setDrugs({});
        QVERIFY(m.needsDrugs());
    }

    void stopwatchFields() {
        QCOMPARE(stopwatchField(0), QStringLiteral("00"));
        QCOMPARE(stopwatchField(9), QStringLiteral("09"));
        QCOMPARE(stopwatchField(10), QStringLiteral("10"));
        QCOMPARE(stopwatchField(100), QStringLiteral("100"));
    }

    // Only the runs that were timed count: a run not timed shows "—" and stays out of the
    // mean, a run timed at 0 s stays in it.
    void tableRow_data() {
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QStringList>("expected");  // the three times and the mean
        QTest::newRow("one run of 39 s") << QList<int>{39, 0, 0} << 1 << QStringList{"39", "—", "—", "39.0"};
        QTest::newRow("two runs") << QList<int>{40, 35, 0} << 2 << QStringList{"40", "35", "—", "37.5"};
        QTest::newRow("38, 41, 37") << QList<int>{38, 41, 37} << 3 << QStringList{"38", "41", "37", "38.7"};
        QTest::newRow("26, 26, 29") << QList<int>{26, 26, 29} << 3 << QStringList{"26", "26", "29", "27.0"};
        QTest::newRow("none timed") << QList<int>{0, 0, 0} << 0 << QStringList{"—", "—", "—", "—"};
        QTest::newRow("a run under a second") << QList<int>{0, 0, 0} << 1 << QStringList{"0", "—", "—", "0.0"};
        QTest::newRow("sum beyond 32767")
            << QList<int>{30000, 30000, 30000} << 3 << QStringList{"30000", "30000", "30000", "30000.0"};
        QTest::newRow("largest times") << QList<int>{2147483647, 2147483647, 2147483647} << 3
                                       << QStringList{"2147483647", "2147483647", "2147483647", "2147483647.0"};
    }
    void tableRow() {
        QFETCH(QList<int>, times);
        QFETCH(int, runs);
        QFETCH(QStringList, expected);
        const OesoExamRec rec{
            QStringLiteral("Атропин"), QStringLiteral("Атропин"), times[0], times[1], times[2], quint8(runs)};
        const QStringList texts = examRowTexts(4, rec);
        QCOMPARE(texts.size(), 7);
        QCOMPARE(texts[0], QStringLiteral("5"));
        QCOMPARE(texts[1], QStringLiteral("Атропин"));
        QCOMPARE(texts.mid(2, 4), expected);
        QCOMPARE(texts[6], QStringLiteral("Атропин"));
    }
};

QTEST_MAIN(TstOesoModel)
#include "tst_oeso_model.moc"
