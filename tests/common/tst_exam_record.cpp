// Examination records: who sat it, the marking of answers under the drugs' other names, and
// the spreadsheet file.
#include <QtTest>

#include "csv.h"
#include "drug_names.h"
#include "exam_record.h"

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
    return path;
}

}  // namespace

class TstExamRecord : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    DrugNames m_names;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QString path = writeFile(m_dir, QStringLiteral("t_names.txt"),
                                       "# a comment\n"
                                       "\n"
                                       "Адреналин; Эпинефрин; Adrenaline; Epinephrine\r\n"
                                       "  Кальция хлорид ;Хлорид кальция\n"
                                       "Норадреналин; Норэпинефрин\n");
        QVERIFY2(m_names.load(path), qPrintable(m_names.error()));
        QCOMPARE(m_names.drugs().size(), 3);
        QCOMPARE(m_names.drugs()[1], (QStringList{"Кальция хлорид", "Хлорид кальция"}));
    }

    void marking_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("right");
        QTest::newRow("the same name") << "Адреналин"
                                       << "Адреналин" << true;
        QTest::newRow("other letter case") << "Адреналин"
                                           << "аДРЕНАЛИН" << true;
        QTest::newRow("blanks around and inside") << "Кальция хлорид"
                                                  << "  кальция   хлорид " << true;
        QTest::newRow("blanks left out") << "Кальция хлорид"
                                         << "кальцияхлорид" << true;
        QTest::newRow("another name") << "Адреналин"
                                      << "Эпинефрин" << true;
        QTest::newRow("another name, Latin, lower case") << "Адреналин"
                                                         << " epinephrine" << true;
        QTest::newRow("another name, words swapped") << "Кальция хлорид"
                                                     << "хлорид кальция" << true;
        QTest::newRow("a name of another drug") << "Адреналин"
                                                << "Норэпинефрин" << false;
        QTest::newRow("a wrong drug") << "Адреналин"
                                      << "Атропин" << false;
        QTest::newRow("a part of the name") << "Адреналин"
                                            << "Адрен" << false;
        QTest::newRow("empty") << "Адреналин"
                               << "" << false;
        QTest::newRow("blanks only") << "Адреналин"
                                     << "   " << false;
        QTest::newRow("a drug without other names") << "Атропин"
                                                    << "атропин" << true;
        QTest::newRow("a drug without other names, wrong") << "Атропин"
                                                           << "Адреналин" << false;
    }
    void marking() {
        QFETCH(QString, given);
        QFETCH(QString, answer);
        QFETCH(bool, right);
        QCOMPARE(m_names.sameDrug(given, answer), right);
        ExamRecord r;
        r.addIdentification(given, answer, m_names);
        QCOMPARE(r.verdict(r.items[0]), right ? Verdict::Right : Verdict::Wrong);
        QCOMPARE(r.scoreText(), right ? QStringLiteral("1 из 1") : QStringLiteral("0 из 1"));
    }

    void brokenNameList_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << "Не найден файл названий лекарств «%1»";
        QTest::newRow("an empty name") << QByteArray("Атропин\nАдреналин; ; Эпинефрин\n")
                                       << "Файл названий лекарств «%1», строка 2: пустое название.";
        QTest::newRow("a name on two lines")
            << QByteArray("Адреналин; Эпинефрин\n# x\nНорадреналин; эпинефрин\n")
            << "Файл названий лекарств «%1», строка 3: название «эпинефрин» уже есть в строке 1.";
        QTest::newRow("a name twice on a line") << QByteArray("Адреналин; Adrenaline; ADRENALINE\n")
                                                << "строка 1: название «ADRENALINE» уже есть в строке 1.";
        QTest::newRow("not UTF-8") << QByteArray("\xC0\xE4\xF0\xE5\xED\xE0\xEB\xE8\xED\n")
                                   << "Файл названий лекарств «%1» повреждён: он не в кодировке UTF-8.";
    }
    void brokenNameList() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = content.isEmpty() ? dir.filePath(QStringLiteral("none.txt"))
                                               : writeFile(dir, QStringLiteral("bad.txt"), content);
        DrugNames names;
        QVERIFY(!names.load(path));
        QVERIFY2(names.error().contains(message.arg(path)), qPrintable(names.error()));
        QVERIFY(names.drugs().isEmpty());
        QVERIFY(!names.sameDrug(QStringLiteral("Адреналин"), QStringLiteral("Эпинефрин")));
    }

    void student_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("heading");  // empty: refused
        QTest::addColumn<QString>("error");
        QTest::newRow("with a group") << "Иванов"
                                      << "Иван"
                                      << "101"
                                      << "Экзамен — Иванов Иван, гр. 101"
                                      << "";
        QTest::newRow("without a group") << "Иванов"
                                         << "Иван"
                                         << ""
                                         << "Экзамен — Иванов Иван"
                                         << "";
        QTest::newRow("blanks simplified") << "  Петрова-Водкина "
                                           << " Анна  Мария"
                                           << "  Л 12 "
                                           << "Экзамен — Петрова-Водкина Анна Мария, гр. Л 12"
                                           << "";
        QTest::newRow("an apostrophe") << "Д'Арк"
                                       << "Жанна"
                                       << ""
                                       << "Экзамен — Д'Арк Жанна"
                                       << "";
        QTest::newRow("no surname") << "  "
                                    << "Иван"
                                    << "101"
                                    << ""
                                    << "Введите фамилию.";
        QTest::newRow("no name") << "Иванов"
                                 << ""
                                 << "101"
                                 << ""
                                 << "Введите имя.";
        QTest::newRow("digits in the name") << "Иванов"
                                            << "Иван2"
                                            << ""
                                            << ""
                                            << "В поле «имя» только буквы";
        QTest::newRow("a hyphen alone") << "-"
                                        << "Иван"
                                        << ""
                                        << ""
                                        << "В поле «фамилия» только буквы";
        QTest::newRow("a name too long") << QString(41, u'я') << "Иван"
                                         << ""
                                         << ""
                                         << "не больше 40 знаков";
        QTest::newRow("a group too long") << "Иванов"
                                          << "Иван" << QString(21, u'1') << ""
                                          << "не больше 20 знаков";
    }
    void student() {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(QString, group);
        QFETCH(QString, heading);
        QFETCH(QString, error);
        QString fault;
        const std::optional<Student> s = makeStudent(surname, name, group, &fault);
        QCOMPARE(s.has_value(), !heading.isEmpty());
        if (s)
            QCOMPARE(examHeading(*s), heading);
        else
            QVERIFY2(fault.contains(error), qPrintable(fault));
    }

    void csvFields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "Адреналин"
                               << "Адреналин";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("semicolon") << "a;b"
                                   << "\"a;b\"";
        QTest::newRow("comma") << "0,5 мл"
                               << "\"0,5 мл\"";
        QTest::newRow("quotes") << "\"Рингер\" раствор"
                                << "\"\"\"Рингер\"\" раствор\"";
        QTest::newRow("line break") << "две\nстроки"
                                    << "\"две\nстроки\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
        QTest::newRow("leading blank") << " 101"
                                       << "\" 101\"";
        QTest::newRow("inner blank") << "гр 101"
                                     << "гр 101";
    }
    void csvFields() {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(csv::field(text), written);
        if (!text.contains(u'\n') && !text.contains(u'\r')) {
            const QStringList fields{QStringLiteral("x"), text, text, QString()};
            QCOMPARE(csv::split(csv::line(fields)), std::optional<QStringList>(fields));
        }
    }

    void csvBrokenLines_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("quote not closed") << "a;\"b;c";
        QTest::newRow("text after a closing quote") << "a;\"b\"c;d";
        QTest::newRow("a quote inside a plain field") << "a;b\"c";
    }
    void csvBrokenLines() {
        QFETCH(QString, line);
        QVERIFY(!csv::split(line));
    }

    void measurementsAgainstTheTolerance() {
        ExamRecord r;
        r.addMeasurement(QStringLiteral("0.05"), QStringLiteral("0.045"), 10.0f);
        r.addMeasurement(QStringLiteral("0.05"), QStringLiteral("0.0445"), -11.0f);
        r.addMeasurement(QStringLiteral("-1"), QString(), std::numeric_limits<float>::quiet_NaN());
        QCOMPARE(r.verdict(r.items[0]), Verdict::WithinTolerance);
        QCOMPARE(r.verdict(r.items[1]), Verdict::OutsideTolerance);
        QCOMPARE(r.verdict(r.items[2]), Verdict::OutsideTolerance);
        QCOMPARE(r.scoreText(), QStringLiteral("1 из 3"));
        QCOMPARE(r.measuredText(r.items[1]), QStringLiteral("ошибка -11 % (допуск 10 %)"));
        QCOMPARE(r.measuredText(r.items[2]), QStringLiteral("ошибка не определена (допуск 10 %)"));
        r.tolerancePercent = 12.5;
        QCOMPARE(r.verdict(r.items[1]), Verdict::WithinTolerance);
        QCOMPARE(r.scoreText(), QStringLiteral("2 из 3"));
        QCOMPARE(r.measuredText(r.items[1]), QStringLiteral("ошибка -11 % (допуск 12.5 %)"));
        QCOMPARE(verdictText(r.verdict(r.items[1])), QStringLiteral("в пределах допуска"));
    }

    void spreadsheetFile() {
        ExamRecord r;
        r.program = QStringLiteral("morvane");
        r.experiment = QStringLiteral("Глаз кролика; экзамен 1");
        r.when = QDateTime(QDate(2024, 5, 17), QTime(10, 42, 5));
        r.student = *makeStudent(QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("101"), nullptr);
        r.addIdentification(QStringLiteral("Адреналин"), QStringLiteral("эпинефрин"), m_names);
        r.addIdentification(QStringLiteral("Кальция хлорид"), QStringLiteral("\"Хлорид\" натрия,\n0,9%"), m_names,
                            QStringLiteral("пульс 60; 72"));
        const QByteArray bytes = recordCsv(r);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QString expected = QStringLiteral(
                                     "Программа;morvane\r\n"
                                     "Версия;%1\r\n"
                                     "Эксперимент;\"Глаз кролика; экзамен 1\"\r\n"
                                     "Дата и время;2024-05-17 10:42:05\r\n"
                                     "Студент;Иванов Иван\r\n"
                                     "Группа;101\r\n"
                                     "\r\n"
                                     "№;Дано;Ответ;Оценка;Измерено\r\n"
                                     "1;Адреналин;эпинефрин;верно;\r\n"
                                     "2;Кальция хлорид;\"\"\"Хлорид\"\" натрия,\n0,9%\";неверно;\"пульс 60; 72\"\r\n"
                                     "\r\n"
                                     "Итог;1 из 2\r\n"
                                     "\r\n"
                                     "Подпись преподавателя;\r\n")
                                     .arg(ExamRecord::programVersion());
        QCOMPARE(QString::fromUtf8(bytes.mid(3)), expected);
        QVERIFY(!ExamRecord::programVersion().isEmpty());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("record.csv"));
        QString error;
        QVERIFY2(saveRecordCsv(r, path, &error), qPrintable(error));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);

        // A folder that is a file cannot hold the record.
        const QString blocked = writeFile(dir, QStringLiteral("file"), "x") + QStringLiteral("/record.csv");
        QVERIFY(!saveRecordCsv(r, blocked, &error));
        QVERIFY2(error.contains(blocked), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TstExamRecord)
#include "tst_exam_record.moc"
