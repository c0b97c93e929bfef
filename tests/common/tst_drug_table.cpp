// The drug table reader, the three typed readers, and the shipped databases.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "drug_table.h"
#include "heart_drugs.h"
#include "oeso_drugs.h"
#include "rabbit_drugs.h"

namespace {

// Builds a database file from SQL statements in the current folder.
void makeDb(const QString& file, const QStringList& statements) {
    QFile::remove(file);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& s : statements) QVERIFY2(q.exec(s), qPrintable(s));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

const QString heartSchema = QStringLiteral(
    "CREATE TABLE heart_drug (Name TEXT, key TEXT, L_StART, L_End, Dose, hr_START, hr_END, tone TEXT, hr_indicator "
    "TEXT)");

QString heartRow(const QString& values) {
    return QStringLiteral("INSERT INTO heart_drug VALUES (%1)").arg(values);
}

const QString goodHeartRow = QStringLiteral("'Адреналин', 'Epi', 90, 40, 5, 15, 30, 'I', 'I'");

}  // namespace

class TstDrugTable : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_oldCurrent;

private slots:
    void init() {
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void cleanup() { QDir::setCurrent(m_oldCurrent); }

    void conversionsAndRowOrder() {
        makeDb(QStringLiteral("F_Heart.mdb"),
               {heartSchema,
                heartRow(QStringLiteral("'  Изопреналин  ', ' Isoprenaline ', 85, 30, 0.1, 25, 45, ' I', 'D '")),
                heartRow(QStringLiteral("'Атропин', 'Atr', '50', 80, '2.5', 0, 255, '', 'N'")),
                heartRow(QStringLiteral("'Адреналин', 'Epi', 0, 255, 1e3, 7, 7, 'I', 'I'"))});
        QVector<HeartDrugRec> drugs;
        QString error;
        QVERIFY2(readHeartDrugs(&drugs, &error), qPrintable(error));
        QCOMPARE(drugs.size(), 3);
        QCOMPARE(drugs[0].Name, QStringLiteral("Изопреналин"));  // trimmed
        QCOMPARE(drugs[0].key, QStringLiteral("Isopre"));        // trimmed, 6 characters
        QCOMPARE(drugs[0].Dose, 0.1f);
        QCOMPARE(drugs[0].toneLetter, QChar(u' '));  // first character, not trimmed
        QCOMPARE(drugs[0].hr_indicator, HeartRateChange::Decrease);
        QCOMPARE(drugs[1].Name, QStringLiteral("Атропин"));  // table order, not sorted
        QCOMPARE(drugs[1].L_StART, quint8(50));              // a number typed as text is read
        QCOMPARE(drugs[1].Dose, 2.5f);
        QCOMPARE(drugs[1].hr_END, quint8(255));
        QVERIFY(drugs[1].toneLetter.isNull());  // empty text: no character
        QCOMPARE(drugs[2].L_End, quint8(255));
        QCOMPARE(drugs[2].Dose, 1000.0f);

        makeDb(QStringLiteral("Rab_Eye.mdb"),
               {QStringLiteral("CREATE TABLE R_Eye (D_Name, L_Reflex, C_Reflex, I_Tension, P_size1, P_size2)"),
                QStringLiteral("INSERT INTO R_Eye VALUES (' Атропин ', ' B', '  Yes', ' I', -99, 32767)")});
        QVector<RabDrugRec> eye;
        QVERIFY2(readRabbitDrugs(&eye, &error), qPrintable(error));
        QCOMPARE(eye[0].D_Name, QStringLiteral("Атропин"));
        QCOMPARE(eye[0].L_Reflex, LightReflexRule::WhileWide);  // trimmed first
        QCOMPARE(eye[0].C_Reflex, true);
        QCOMPARE(eye[0].I_Tension, TensionEffect::Normal);  // not trimmed: " I" is no "I"
        QCOMPARE(eye[0].P_size1, qint16(-99));
        QCOMPARE(eye[0].P_size2, qint16(32767));

        makeDb(QStringLiteral("f_oeso.mdb"),
               {QStringLiteral("CREATE TABLE Oeso (Drug, speed1, speed2, time1, time2)"),
                QStringLiteral("INSERT INTO Oeso VALUES ('Рингер ', 13, 15.5, 200, 235)")});
        QVector<OesoDrugRec> oeso;
        QVERIFY2(readOesoDrugs(&oeso, &error), qPrintable(error));
        QCOMPARE(oeso[0].Drug, QStringLiteral("Рингер"));
        QCOMPARE(oeso[0].speed2, 15.5f);
        QCOMPARE(oeso[0].time2, 235.0f);
    }

    // Every broken file gives one message that names what is wrong and where.
    void brokenFiles_data() {
        QTest::addColumn<QStringList>("statements");  // empty: no file at all
        QTest::addColumn<QStringList>("mentions");
        const QStringList where{QStringLiteral("F_Heart.mdb"), QStringLiteral("heart_drug")};
        auto cell = [&](int row, const char* field) {
            return where +
                   QStringList{QStringLiteral("строка %1").arg(row), QStringLiteral("«%1»").arg(QLatin1String(field))};
        };
        QTest::newRow("missing file") << QStringList()
                                      << QStringList{QStringLiteral("F_Heart.mdb"), QStringLiteral("Не найден")};
        QTest::newRow("missing table") << QStringList{QStringLiteral("CREATE TABLE other (x)")}
                                       << QStringList{QStringLiteral("F_Heart.mdb"),
                                                      QStringLiteral("нет таблицы «heart_drug»")};
        QTest::newRow("missing field")
            << QStringList{QStringLiteral(
                   "CREATE TABLE heart_drug (Name, key, L_StART, L_End, Dose, hr_START, tone, hr_indicator)")}
            << (where + QStringList{QStringLiteral("нет поля «hr_END»")});
        QTest::newRow("empty table") << QStringList{heartSchema} << (where + QStringList{QStringLiteral("пуста")});
        QTest::newRow("null value") << QStringList{heartSchema, heartRow(goodHeartRow),
                                                   heartRow(QStringLiteral(
                                                       "'Атропин', 'Atr', 50, 80, NULL, 0, 0, 'N', 'N'"))}
                                    << cell(2, "Dose");
        QTest::newRow("not a number")
            << QStringList{heartSchema, heartRow(QStringLiteral("'Атропин', 'Atr', 'abc', 80, 1, 0, 0, 'N', 'N'"))}
            << cell(1, "L_StART");
        QTest::newRow("byte above 255")
            << QStringList{heartSchema, heartRow(QStringLiteral("'Атропин', 'Atr', 50, 256, 1, 0, 0, 'N', 'N'"))}
            << cell(1, "L_End");
        QTest::newRow("negative byte") << QStringList{heartSchema, heartRow(QStringLiteral(
                                                                       "'Атропин', 'Atr', 50, 80, 1, -1, 0, 'N', 'N'"))}
                                       << cell(1, "hr_START");
        QTest::newRow("byte not whole")
            << QStringList{heartSchema, heartRow(QStringLiteral("'Атропин', 'Atr', 50, 80, 1, 0, 2.5, 'N', 'N'"))}
            << cell(1, "hr_END");
        QTest::newRow("hr_END below hr_START")
            << QStringList{heartSchema, heartRow(goodHeartRow), heartRow(goodHeartRow),
                           heartRow(QStringLiteral("'Атропин', 'Atr', 50, 80, 1, 9, 8, 'N', 'N'"))}
            << cell(3, "hr_END");
        QTest::newRow("dose too large for single precision")
            << QStringList{heartSchema, heartRow(QStringLiteral("'Атропин', 'Atr', 50, 80, 1e39, 0, 0, 'N', 'N'"))}
            << cell(1, "Dose");
        QStringList eleven{heartSchema};
        for (int i = 0; i < 11; ++i) eleven << heartRow(goodHeartRow);
        QTest::newRow("eleven rows") << eleven << (where + QStringList{QStringLiteral("больше 10 строк")});
        QTest::newRow("not a database") << QStringList{QStringLiteral("garbage")}
                                        << QStringList{QStringLiteral("F_Heart.mdb"),
                                                       QStringLiteral("не является базой данных")};
        QTest::newRow("empty file") << QStringList{QStringLiteral("empty")}
                                    << QStringList{QStringLiteral("F_Heart.mdb"), QStringLiteral("повреждён")};
        // Bytes stored as such are neither number nor text, whatever they spell ("50", "Ð").
        QTest::newRow("bytes for a number")
            << QStringList{heartSchema, heartRow(QStringLiteral("'Атропин', 'Atr', x'3530', 80, 1, 0, 0, 'N', 'N'"))}
            << (cell(1, "L_StART") << QStringLiteral("(двоичные данные)"));
        QTest::newRow("bytes for a name")
            << QStringList{heartSchema, heartRow(QStringLiteral("x'd0ff', 'Atr', 50, 80, 1, 0, 0, 'N', 'N'"))}
            << (cell(1, "Name") << QStringLiteral("(двоичные данные)"));
    }
    void brokenFiles() {
        QFETCH(QStringList, statements);
        QFETCH(QStringList, mentions);
        QFile::remove(QStringLiteral("F_Heart.mdb"));
        if (statements == QStringList{QStringLiteral("garbage")} ||
            statements == QStringList{QStringLiteral("empty")}) {
            QFile f(QStringLiteral("F_Heart.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (statements.first() == QLatin1String("garbage")) f.write(QByteArray(4096, 'x'));
        } else if (!statements.isEmpty()) {
            makeDb(QStringLiteral("F_Heart.mdb"), statements);
        }
        QVector<HeartDrugRec> drugs;
        QString error;
        QVERIFY(!readHeartDrugs(&drugs, &error));
        QVERIFY(drugs.isEmpty());
        for (const QString& m : mentions) QVERIFY2(error.contains(m), qPrintable(error + " / " + m));
        // The message is Russian throughout: no English phrase (SQLite's explanations go to the log).
        QVERIFY2(!error.contains(QRegularExpression(QStringLiteral("[A-Za-z]+ [A-Za-z]+"))), qPrintable(error));
    }

    void oesophagusLimits() {
        QStringList rows{QStringLiteral("CREATE TABLE Oeso (Drug, speed1, speed2, time1, time2)")};
        for (int i = 0; i < 255; ++i)
            rows << QStringLiteral("INSERT INTO Oeso VALUES ('Д%1', 13, 15, 200, 235)").arg(i);
        makeDb(QStringLiteral("f_oeso.mdb"), rows);
        QVector<OesoDrugRec> drugs;
        QString error;
        QVERIFY2(readOesoDrugs(&drugs, &error), qPrintable(error));
        QCOMPARE(drugs.size(), 255);
        QCOMPARE(drugs[254].Drug, QStringLiteral("Д254"));
        rows << QStringLiteral("INSERT INTO Oeso VALUES ('Д255', 13, 15, 200, 235)");
        makeDb(QStringLiteral("f_oeso.mdb"), rows);
        QVERIFY(!readOesoDrugs(&drugs, &error));
        QVERIFY2(error.contains(QStringLiteral("больше 255 строк")), qPrintable(error));

        // A zero interval would make the seed's timer spin.
        makeDb(QStringLiteral("f_oeso.mdb"),
               {rows[0], QStringLiteral("INSERT INTO Oeso VALUES ('Д', 13, 15, 0, 235)")});
        QVERIFY(!readOesoDrugs(&drugs, &error));
        QVERIFY2(error.contains(QStringLiteral("«time1»")), qPrintable(error));
    }

    // The rabbit table's letters are read once into what they mean; a letter the table does
    // not know means what the eye does with it: no light or corneal reflex, no tension change.
    void rabbitLetters_data() {
        QTest::addColumn<QString>("light");
        QTest::addColumn<QString>("corneal");
        QTest::addColumn<QString>("tension");
        QTest::addColumn<LightReflexRule>("lightRule");
        QTest::addColumn<bool>("cornealReflex");
        QTest::addColumn<TensionEffect>("effect");
        QTest::newRow("Y Y N") << "Y"
                               << "Y"
                               << "N" << LightReflexRule::Present << true << TensionEffect::Normal;
        QTest::newRow("N N D") << "N"
                               << "N"
                               << "D" << LightReflexRule::Absent << false << TensionEffect::Decreased;
        QTest::newRow("B Y I") << "B"
                               << "Y"
                               << "I" << LightReflexRule::WhileWide << true << TensionEffect::Increased;
        QTest::newRow("words") << "Yes"
                               << "No"
                               << "Increased" << LightReflexRule::Present << false << TensionEffect::Increased;
        QTest::newRow("unknown letters") << "X"
                                         << "X"
                                         << "X" << LightReflexRule::Absent << false << TensionEffect::Normal;
        QTest::newRow("lower case") << "y"
                                    << "y"
                                    << "d" << LightReflexRule::Absent << false << TensionEffect::Normal;
    }
    void rabbitLetters() {
        QFETCH(QString, light);
        QFETCH(QString, corneal);
        QFETCH(QString, tension);
        QFETCH(LightReflexRule, lightRule);
        QFETCH(bool, cornealReflex);
        QFETCH(TensionEffect, effect);
        makeDb(QStringLiteral("Rab_Eye.mdb"),
               {QStringLiteral("CREATE TABLE R_Eye (D_Name, L_Reflex, C_Reflex, I_Tension, P_size1, P_size2)"),
                QStringLiteral("INSERT INTO R_Eye VALUES ('A', '%1', '%2', '%3', 0, 0)").arg(light, corneal, tension)});
        QVector<RabDrugRec> drugs;
        QString error;
        QVERIFY2(readRabbitDrugs(&drugs, &error), qPrintable(error));
        QCOMPARE(drugs[0].L_Reflex, lightRule);
        QCOMPARE(drugs[0].C_Reflex, cornealReflex);
        QCOMPARE(drugs[0].I_Tension, effect);
    }

    void rabbitLimits() {
        const QString schema =
            QStringLiteral("CREATE TABLE R_Eye (D_Name, L_Reflex, C_Reflex, I_Tension, P_size1, P_size2)");
        QVector<RabDrugRec> drugs;
        QString error;
        makeDb(QStringLiteral("Rab_Eye.mdb"),
               {schema, QStringLiteral("INSERT INTO R_Eye VALUES ('A', 'Y', 'Y', 'N', 0, 32768)")});
        QVERIFY(!readRabbitDrugs(&drugs, &error));
        QVERIFY2(error.contains(QStringLiteral("«P_size2»")), qPrintable(error));
        makeDb(QStringLiteral("Rab_Eye.mdb"),
               {schema, QStringLiteral("INSERT INTO R_Eye VALUES ('A', 'Y', 'Y', 'N', -100, 0)")});
        QVERIFY(!readRabbitDrugs(&drugs, &error));
        QVERIFY2(error.contains(QStringLiteral("«P_size1»")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TstDrugTable)
#include "tst_drug_table.moc"
