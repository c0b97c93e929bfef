// The drug databases built into the data folder hold what the experiments rely on.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <set>

#include "drug_names.h"
#include "heart_drugs.h"
#include "oeso_drugs.h"
#include "rabbit_drugs.h"

class TstShippedData : public QObject {
    Q_OBJECT
    QString m_oldCurrent;

private slots:
    void initTestCase() {
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QStringLiteral(MORVANE_DATA_DIR)));
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldCurrent); }

    void oesophagus() {
        QVector<OesoDrugRec> d;
        QString error;
        QVERIFY2(readOesoDrugs(&d, &error), qPrintable(error));
        QVERIFY(d.size() >= 6);
        QCOMPARE(d[0].Drug, QStringLiteral("Раствор Рингера"));
        QStringList names;
        for (const OesoDrugRec& r : d) {
            names << r.Drug;
            for (float v : {r.speed1, r.speed2, r.time1, r.time2}) QCOMPARE(v, std::floor(v));
            QVERIFY(r.time1 <= r.time2 && r.speed1 <= r.speed2);
        }
        for (const char* n : {"Ацетилхолин", "Атропин", "Физостигмин"}) QVERIFY(names.contains(QString::fromUtf8(n)));
        QCOMPARE(names.indexOf(QStringLiteral("Физостигмин")), 2);  // row 2 times acetylcholine after physostigmine
        // A run lasts about (3200 - 745) / step + 2 ticks; at the middle step of 14:
        const double ticks = std::floor((3200 - 745) / 14.0) + 2;
        auto seconds = [&](const QString& name, float OesoDrugRec::*time) {
            return ticks * (d[names.indexOf(name)].*time) / 1000.0;
        };
        for (auto t : {&OesoDrugRec::time1, &OesoDrugRec::time2}) {
            const double ringer = seconds(QStringLiteral("Раствор Рингера"), t);
            const double ach = seconds(QStringLiteral("Ацетилхолин"), t);
            QVERIFY2(ringer >= 35 && ringer <= 42, qPrintable(QString::number(ringer)));
            QVERIFY2(ach >= 25 && ach <= 30, qPrintable(QString::number(ach)));
        }
        QVERIFY(d[2].time2 < d[1].time1);  // physostigmine makes acetylcholine act faster still
    }

    void rabbitEye() {
        QVector<RabDrugRec> d;
        QString error;
        QVERIFY2(readRabbitDrugs(&d, &error), qPrintable(error));
        auto find = [&](const char* name) -> const RabDrugRec& {
            for (const RabDrugRec& r : d)
                if (r.D_Name == QString::fromUtf8(name)) return r;
            qFatal("no %s", name);
        };
        for (const RabDrugRec& r : d) QVERIFY(r.P_size1 <= r.P_size2 && r.P_size1 >= -99);
        // Every letter is one the experiment knows: the reader takes any other as "absent"
        // or "normal", so they are checked as the table holds them.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("letters"));
            db.setDatabaseName(QStringLiteral("Rab_Eye.mdb"));
            QVERIFY(db.open());
            QSqlQuery q(QStringLiteral("SELECT L_Reflex, C_Reflex, I_Tension FROM R_Eye"), db);
            auto firstIn = [](const char* letters, const QString& text) {
                return !text.isEmpty() && QString::fromLatin1(letters).contains(text.front());
            };
            int rows = 0;
            for (; q.next(); ++rows) {
                QVERIFY(firstIn("YNB", q.value(0).toString().trimmed()));
                QVERIFY(firstIn("YN", q.value(1).toString().trimmed()));
                QVERIFY(firstIn("NDI", q.value(2).toString()));
            }
            QCOMPARE(rows, d.size());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("letters"));
        const RabDrugRec& saline = d.last();
        QCOMPARE(saline.D_Name, QStringLiteral("Физиологический раствор"));
        QVERIFY(saline.L_Reflex == LightReflexRule::Present && saline.C_Reflex &&
                saline.I_Tension == TensionEffect::Normal);
        QVERIFY(saline.P_size1 == 0 && saline.P_size2 == 0);
        const RabDrugRec& atropine = find("Атропин");
        QVERIFY(atropine.L_Reflex == LightReflexRule::Absent && atropine.I_Tension == TensionEffect::Increased &&
                atropine.P_size1 > 0);
        for (const char* miotic : {"Пилокарпин", "Физостигмин"}) {
            QVERIFY(find(miotic).P_size2 < 0);
            QCOMPARE(find(miotic).I_Tension, TensionEffect::Decreased);
        }
        int anaesthetics = 0, mydriatics = 0;
        for (const RabDrugRec& r : d) {
            anaesthetics += !r.C_Reflex;
            mydriatics += r.P_size1 > 0;
        }
        QVERIFY(anaesthetics >= 1 && mydriatics >= 2);
    }

    void heart() {
        QVector<HeartDrugRec> d;
        QString error;
        QVERIFY2(readHeartDrugs(&d, &error), qPrintable(error));
        QCOMPARE(d.size(), 8);
        QCOMPARE(d[0].key, QStringLiteral("Epi"));
        QCOMPARE(d[0].Name, QStringLiteral("Адреналин"));
        QCOMPARE(d[5].key, QStringLiteral("ACh"));
        QCOMPARE(d[5].Name, QStringLiteral("Ацетилхолин"));
        std::set<QString> keys;
        for (const HeartDrugRec& r : d) keys.insert(r.key);
        QCOMPARE(keys, (std::set<QString>{"Epi", "ACh", "CaCl", "KCl", "Atr", "Prop", "NEpi", "Iso"}));

        const std::set<std::pair<int, int>> leverPairs{{50, 80}, {90, 40}, {80, 44}, {85, 30}, {35, 36},
                                                       {80, 60}, {69, 59}, {84, 85}, {80, 49}};
        for (const HeartDrugRec& r : d) {
            QVERIFY2(leverPairs.count({r.L_StART, r.L_End}), qPrintable(r.Name));
            QVERIFY(r.hr_START <= r.hr_END);
            // Every rate stays a byte from 1 up, whatever the basal rate (59 to 91 with its drift).
            for (int basal = 59; basal <= 91; ++basal) {
                if (r.hr_indicator == HeartRateChange::Increase) QVERIFY2(basal + r.hr_END <= 255, qPrintable(r.Name));
                if (r.hr_indicator == HeartRateChange::Decrease) QVERIFY2(basal - r.hr_END >= 1, qPrintable(r.Name));
            }
            if (r.key == QLatin1String("CaCl")) QVERIFY(r.L_StART == 35 && r.L_End == 36);
            if (r.key == QLatin1String("KCl")) QVERIFY(r.L_StART == 84 && r.L_End == 85);
        }
    }

    // Each table's list of other names loads, names every drug of the table as the table
    // does, and nothing else, so marking finds every drug that can be given.
    void drugNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("tableNames");
        QString error;
        QVector<OesoDrugRec> oeso;
        QVERIFY2(readOesoDrugs(&oeso, &error), qPrintable(error));
        QVector<RabDrugRec> rabbit;
        QVERIFY2(readRabbitDrugs(&rabbit, &error), qPrintable(error));
        QVector<HeartDrugRec> heart;
        QVERIFY2(readHeartDrugs(&heart, &error), qPrintable(error));
        QStringList names;
        for (const OesoDrugRec& r : oeso) names << r.Drug;
        QTest::newRow("oesophagus") << "f_oeso_names.txt" << names;
        names.clear();
        for (const RabDrugRec& r : rabbit) names << r.D_Name;
        QTest::newRow("rabbit eye") << "Rab_Eye_names.txt" << names;
        names.clear();
        for (const HeartDrugRec& r : heart) names << r.Name;
        QTest::newRow("heart") << "F_Heart_names.txt" << names;
    }
    void drugNames() {
        QFETCH(QString, file);
        QFETCH(QStringList, tableNames);
        DrugNames names;
        QVERIFY2(names.load(file), qPrintable(names.error()));
        QStringList listed;
        for (const QStringList& drug : names.drugs()) listed << drug.front();
        tableNames.sort();
        listed.sort();
        QCOMPARE(listed, tableNames);
        if (tableNames.contains(QStringLiteral("Адреналин")))
            QVERIFY(names.sameDrug(QStringLiteral("Адреналин"), QStringLiteral("эпинефрин")));
    }
};

QTEST_GUILESS_MAIN(TstShippedData)
#include "tst_shipped_data.moc"
