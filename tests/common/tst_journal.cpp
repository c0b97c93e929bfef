// The examination journal: appending examinations, and the check that finds lines altered,
// removed, moved or unreadable among those of one password.
#include <QtTest>

#include "csv.h"
#include "drug_names.h"
#include "exam_record.h"
#include "journal.h"

namespace {

// Low enough to keep the tests quick; one test uses the real count.
constexpr int fewIterations = 16;

ExamRecord examination(const QString& surname, const QString& experiment, const QList<QPair<QString, QString>>& items) {
    ExamRecord r;
    r.program = QStringLiteral("morvane");
    r.experiment = experiment;
    r.when = QDateTime(QDate(2024, 5, 17), QTime(10, 42, 5));
    r.student = *makeStudent(surname, QStringLiteral("Иван"), QStringLiteral("101"), nullptr);
    const DrugNames none;
    for (const auto& [given, answer] : items) r.addIdentification(given, answer, none);
    return r;
}

QList<QByteArray> fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    QList<QByteArray> lines = f.readAll().split('\n');
    if (lines.back().isEmpty()) lines.removeLast();
    return lines;
}

void writeLines(const QString& path, const QList<QByteArray>& lines) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(lines.join('\n') + '\n');
}

// Line numbers (from 1) with each status.
QMap<journal::LineStatus, QList<int>> byStatus(const journal::CheckResult& result) {
    QMap<journal::LineStatus, QList<int>> m;
    for (const journal::LineResult& r : result.lines) m[r.status] << r.line;
    return m;
}

QList<int> range(int from, int to) {
    QList<int> l;
    for (int i = from; i <= to; ++i) l << i;
    return l;
}

}  // namespace

class TstJournal : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

    // Lines 1-2 the header, 3-5 the first examination with ALPHA, 6-7 one with BRAVO, 8-9
    // another with ALPHA.
    void writeThreeExaminations() {
        QCOMPARE(journal::append(m_path,
                                 examination(QStringLiteral("Иванов"), QStringLiteral("Пищевод лягушки, экзамен 1"),
                                             {{"Атропин", "Атропин"}, {"Ацетилхолин", "Пилокарпин"}, {"Карбахол", ""}}),
                                 QStringLiteral("alpha"), fewIterations),
                 QString());
        QCOMPARE(journal::append(m_path,
                                 examination(QStringLiteral("Петров"), QStringLiteral("Глаз кролика; экзамен 2"),
                                             {{"Адреналин", "адреналин"}, {"Кокаин", "Дикаин"}}),
                                 QStringLiteral("BRAVO"), fewIterations),
                 QString());
        QCOMPARE(journal::append(m_path,
                                 examination(QStringLiteral("Сидоров"), QStringLiteral("Пищевод лягушки, экзамен 2"),
                                             {{"Физостигмин", "физостигмин"}, {"Атропин", "\"Атропин\",\nсульфат"}}),
                                 QStringLiteral(" ALPHA "), fewIterations),
                 QString());
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("data/morvane/journal.csv"));
        QFile::remove(m_path);
    }

    void appendedLinesAreIntactForTheirPassword() {
        writeThreeExaminations();
        const QList<QByteArray> lines = fileLines(m_path);
        QCOMPARE(lines.size(), 9);
        QVERIFY(
            lines[0].startsWith("\xEF\xBB\xBF"
                                "Журнал экзаменов Morvane;соль;"));
        QVERIFY(lines[0].endsWith(";итераций;16\r"));
        QCOMPARE(QString::fromUtf8(lines[1]),
                 QStringLiteral("Дата и время;Программа;Эксперимент;Студент;Группа;Неизвестное;Из;Дано;Ответ;Оценка;"
                                "Измерено;Ключ;Место;Код проверки\r"));
        // The journal's lines before their key, place and code, as a spreadsheet reads them.
        const QStringList expected{
            "2024-05-17 10:42:05|morvane %1|Пищевод лягушки, экзамен 1|Иванов Иван|101|1|3|Атропин|Атропин|верно||1",
            "2024-05-17 10:42:05|morvane %1|Пищевод лягушки, экзамен 1|Иванов "
            "Иван|101|2|3|Ацетилхолин|Пилокарпин|неверно||2",
            "2024-05-17 10:42:05|morvane %1|Пищевод лягушки, экзамен 1|Иванов Иван|101|3|3|Карбахол||неверно||3",
            "2024-05-17 10:42:05|morvane %1|Глаз кролика; экзамен 2|Петров Иван|101|1|2|Адреналин|адреналин|верно||1",
            "2024-05-17 10:42:05|morvane %1|Глаз кролика; экзамен 2|Петров Иван|101|2|2|Кокаин|Дикаин|неверно||2",
            "2024-05-17 10:42:05|morvane %1|Пищевод лягушки, экзамен 2|Сидоров "
            "Иван|101|1|2|Физостигмин|физостигмин|верно||4",
            "2024-05-17 10:42:05|morvane %1|Пищевод лягушки, экзамен 2|Сидоров Иван|101|2|2|Атропин|\"Атропин\", "
            "сульфат|неверно||5"};
        QStringList keys;
        for (int i = 2; i < lines.size(); ++i) {
            QVERIFY(lines[i].endsWith('\r'));
            const auto fields = csv::split(QString::fromUtf8(lines[i].chopped(1)));
            QVERIFY(fields && fields->size() == 14);
            QCOMPARE((fields->mid(0, 11) + fields->mid(12, 1)).join(u'|'),
                     expected[i - 2].arg(ExamRecord::programVersion()));
            keys << fields->at(11);
            QCOMPARE(fields->at(13).size(), 64);
        }
        // One key identifier per password, whatever the case and blanks it was typed with.
        QCOMPARE(keys, (QStringList{keys[0], keys[0], keys[0], keys[3], keys[3], keys[0], keys[0]}));
        QVERIFY(keys[0] != keys[3]);
        QFile raw(m_path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.readAll().toUpper();
        QVERIFY(!bytes.contains("ALPHA") && !bytes.contains("BRAVO"));

        for (const auto& [password, own, other] :
             {std::tuple{QStringLiteral("Alpha"), QList<int>{3, 4, 5, 8, 9}, QList<int>{6, 7}},
              std::tuple{QStringLiteral("bravo"), QList<int>{6, 7}, QList<int>{3, 4, 5, 8, 9}}}) {
            const journal::CheckResult result = journal::check(m_path, password);
            QCOMPARE(result.error, QString());
            QVERIFY(result.allIntact());
            const auto statuses = byStatus(result);
            QCOMPARE(statuses.value(journal::LineStatus::Intact), own);
            QCOMPARE(statuses.value(journal::LineStatus::OtherPassword), other);
            QCOMPARE(statuses.size(), 2);
        }
        const journal::CheckResult alpha = journal::check(m_path, QStringLiteral("ALPHA"));
        QCOMPARE(alpha.lines[0].what, QStringLiteral("2024-05-17 10:42:05, Иванов Иван, гр. 101, "
                                                     "Пищевод лягушки, экзамен 1, неизвестное 1 из 3"));
    }

    void changesAreFoundAtTheirLine_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<int>>("altered");  // lines of ALPHA reported altered after the change
        QTest::addColumn<QList<int>>("unreadable");
        QTest::newRow("an answer edited") << "edit 4" << QList<int>{4} << QList<int>{};
        QTest::newRow("a line removed") << "remove 4" << QList<int>{4} << QList<int>{};  // the line after it
        QTest::newRow("the first line removed") << "remove 3" << QList<int>{3} << QList<int>{};
        QTest::newRow("two lines swapped") << "swap 3 4" << QList<int>{3, 4} << QList<int>{};
        QTest::newRow("a line moved to the end") << "move 3" << QList<int>{3, 9} << QList<int>{};
        QTest::newRow("a line repeated") << "repeat 4" << QList<int>{10} << QList<int>{};
        QTest::newRow("the last line of the chain removed") << "remove 9" << QList<int>{8} << QList<int>{};
        QTest::newRow("a check code replaced") << "code 4 5" << QList<int>{4, 5} << QList<int>{};
        // The order of lines of different passwords is no part of either's record.
        QTest::newRow("lines of two passwords swapped") << "swap 5 6" << QList<int>{} << QList<int>{};
        QTest::newRow("garbage in the middle") << "insert 6 x;\"y" << QList<int>{} << QList<int>{6};
        QTest::newRow("bytes that are not UTF-8") << "binary 6" << QList<int>{} << QList<int>{6};
        QTest::newRow("a line with fields missing") << "insert 6 a;b;c" << QList<int>{} << QList<int>{6};
        // The next line of its password can no longer be confirmed.
        QTest::newRow("a line cut short") << "cut 5" << QList<int>{8} << QList<int>{5};
    }
    void changesAreFoundAtTheirLine() {
        QFETCH(QString, change);
        QFETCH(QList<int>, altered);
        QFETCH(QList<int>, unreadable);
        writeThreeExaminations();
        QList<QByteArray> lines = fileLines(m_path);
        const QStringList words = change.split(u' ');
        const int a = words[1].toInt() - 1;
        if (words[0] == u"edit") {
            QStringList fields = *csv::split(QString::fromUtf8(lines[a].chopped(1)));
            fields[8] = QStringLiteral("Ацетилхолин");
            fields[9] = QStringLiteral("верно");
            lines[a] = csv::line(fields).toUtf8() + '\r';
        } else if (words[0] == u"remove") {
            lines.removeAt(a);
        } else if (words[0] == u"swap") {
            lines.swapItemsAt(a, words[2].toInt() - 1);
        } else if (words[0] == u"move") {
            lines.append(lines.takeAt(a));
        } else if (words[0] == u"repeat") {
            lines.append(lines[a]);
        } else if (words[0] == u"code") {
            const int b = words[2].toInt() - 1;
            const QByteArray code = lines[b].right(65);
            lines[a] = lines[a].chopped(65) + code;
        } else if (words[0] == u"insert") {
            lines.insert(a, words[2].toUtf8());
        } else if (words[0] == u"binary") {
            lines.insert(a, QByteArray("\xFF\xFE\0\xC0;garbage", 13));
        } else if (words[0] == u"cut") {
            lines[a].chop(40);
        }
        writeLines(m_path, lines);

        const journal::CheckResult result = journal::check(m_path, QStringLiteral("alpha"));
        QCOMPARE(result.error, QString());
        const auto statuses = byStatus(result);
        QCOMPARE(statuses.value(journal::LineStatus::Altered), altered);
        QCOMPARE(statuses.value(journal::LineStatus::Unreadable), unreadable);
        QCOMPARE(result.allIntact(), altered.isEmpty() && unreadable.isEmpty());
        for (const journal::LineResult& r : result.lines)
            if (r.status == journal::LineStatus::Altered || r.status == journal::LineStatus::Unreadable)
                QVERIFY2(!r.why.isEmpty(), qPrintable(change));
        // Every line still read is accounted for, in the file's order.
        QList<int> numbers;
        for (const journal::LineResult& r : result.lines) numbers << r.line;
        QCOMPARE(numbers, range(3, int(lines.size())));
    }

    // Both programs keep one journal, in morvane's data folder.
    void theJournalOfBothPrograms() {
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("morvane"));
        const QString morvaneData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCoreApplication::setApplicationName(QStringLiteral("morvane-heart"));
        QCOMPARE(journal::defaultPath(), morvaneData + QStringLiteral("/journal.csv"));
        QCoreApplication::setApplicationName(name);
    }

    void aWrongPasswordCannotCheck() {
        writeThreeExaminations();
        const journal::CheckResult result = journal::check(m_path, QStringLiteral("CHARLIE"));
        QVERIFY(!result.allIntact());
        QVERIFY2(result.error.contains(QStringLiteral("нет ни одной строки с этим паролем")), qPrintable(result.error));
    }

    void journalsThatCannotBeChecked_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file
        QTest::addColumn<QString>("error");
        QTest::newRow("no file") << QByteArray() << "Журнал не найден";
        QTest::newRow("a header of another kind") << QByteArray("a;b;c\n") << "Первая строка журнала испорчена";
        QTest::newRow("an absurd iteration count")
            << QByteArray("Журнал экзаменов Morvane;соль;00112233445566778899aabbccddeeff;итераций;2000000000\n")
            << "Первая строка журнала испорчена";
        QTest::newRow("not UTF-8") << QByteArray("\xFF\xFE\x00\x01") << "Первая строка журнала испорчена";
    }
    void journalsThatCannotBeChecked() {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        if (!content.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(m_path).absolutePath()));
            QFile f(m_path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const journal::CheckResult result = journal::check(m_path, QStringLiteral("ALPHA"));
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(!result.allIntact());
        if (!content.isEmpty()) {
            // Nothing is added to a journal whose salt cannot be read, and nothing in it is lost.
            const QString fault =
                journal::append(m_path, examination(QStringLiteral("Иванов"), QStringLiteral("x"), {{"a", "a"}}),
                                "ALPHA", fewIterations);
            QVERIFY2(fault.contains(QDir::toNativeSeparators(m_path)), qPrintable(fault));
            QFile f(m_path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    void anUnwritableFolderIsReported() {
        QVERIFY(QDir().mkpath(QFileInfo(m_path).absolutePath()));
        QFile blocker(m_dir.filePath(QStringLiteral("data/morvane/file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (const QString& path : {blocker.fileName() + QStringLiteral("/journal.csv"),
                                    blocker.fileName() + QStringLiteral("/deeper/journal.csv")}) {
            const QString fault = journal::append(
                path, examination(QStringLiteral("Иванов"), QStringLiteral("x"), {{"a", "a"}}), "ALPHA", fewIterations);
            QVERIFY2(fault.startsWith(QStringLiteral("Экзамен не записан в журнал\n") + QDir::toNativeSeparators(path)),
                     qPrintable(fault));
        }
    }

    void appendingAfterDamageKeepsTheChain() {
        writeThreeExaminations();
        // A last line cut short, without its line end: the next examination starts a line of its own.
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("garbage without a line end");
        f.close();
        QCOMPARE(journal::append(m_path,
                                 examination(QStringLiteral("Орлов"), QStringLiteral("Сердце, экзамен 1"),
                                             {{"Адреналин", "Эпинефрин"}}),
                                 QStringLiteral("alpha"), fewIterations),
                 QString());
        const journal::CheckResult result = journal::check(m_path, QStringLiteral("ALPHA"));
        const auto statuses = byStatus(result);
        QCOMPARE(statuses.value(journal::LineStatus::Intact), (QList<int>{3, 4, 5, 8, 9, 11}));
        QCOMPARE(statuses.value(journal::LineStatus::Unreadable), QList<int>{10});
    }

    void theRealIterationCount() {
        ExamRecord r = examination(QStringLiteral("Иванов"), QStringLiteral("Подвздошная кишка"), {});
        r.addMeasurement(QStringLiteral("0.05"), QStringLiteral("0.047"), 6.0f);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(journal::append(m_path, r, QStringLiteral("ALPHA")), QString());
        const qint64 appendMs = timer.restart();
        const journal::CheckResult result = journal::check(m_path, QStringLiteral("ALPHA"));
        const qint64 checkMs = timer.elapsed();
        qInfo("one append %lld ms, one check %lld ms with %d iterations", appendMs, checkMs,
              journal::defaultIterations);
        QVERIFY(fileLines(m_path)[0].endsWith(";итераций;" + QByteArray::number(journal::defaultIterations) + '\r'));
        QVERIFY(result.allIntact());
        QCOMPARE(byStatus(result).value(journal::LineStatus::Intact), QList<int>{3});
        QVERIFY(fileLines(m_path)[2].contains(";в пределах допуска;ошибка 6 % (допуск 10 %);"));
        QVERIFY(!journal::check(m_path, QStringLiteral("ALPHB")).allIntact());
    }
};

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
