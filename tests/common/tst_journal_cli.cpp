// `--check-journal` of both programs, run as a teacher runs it: the real program, the
// password typed on its input, the result read from its output and exit status.
#include <QtTest>

#include "exam_record.h"
#include "journal.h"

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

Run runCheck(const QString& program, const QStringList& arguments, const QByteArray& input) {
    QProcess p;
    // No display: the check must not need one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(program, QStringList{QStringLiteral("--check-journal")} + arguments);
    if (!p.waitForStarted()) return {};
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

class TstJournalCli : public QObject {
    Q_OBJECT

private slots:
    void check_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("morvane") << QStringLiteral(MORVANE_BIN);
        QTest::newRow("morvane-heart") << QStringLiteral(HEART_BIN);
    }
    void check() {
        QFETCH(QString, program);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.csv"));
        ExamRecord r;
        r.program = QStringLiteral("morvane-heart");
        r.experiment = QStringLiteral("Сердце лягушки, экзамен 1");
        r.when = QDateTime(QDate(2024, 5, 17), QTime(9, 0));
        r.student = *makeStudent(QStringLiteral("Иванов"), QStringLiteral("Иван"), QString(), nullptr);
        r.addMeasurement(QStringLiteral("0.05"), QStringLiteral("0.06"), -20.0f);
        r.addMeasurement(QStringLiteral("0.05"), QStringLiteral("0.05"), 0.0f);
        QCOMPARE(journal::append(path, r, QStringLiteral("secret"), 64), QString());
        r.student.surname = QStringLiteral("Петров");
        QCOMPARE(journal::append(path, r, QStringLiteral("other"), 64), QString());

        Run run = runCheck(program, {path}, "secret\n");
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(QStringLiteral("строка 3: цела — 2024-05-17 09:00:00, Иванов Иван, "
                                                 "Сердце лягушки, экзамен 1, неизвестное 1 из 2\n")),
                 qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("строка 4: цела")));
        QVERIFY(run.out.contains(QStringLiteral("строка 5: другой пароль\n")));
        QVERIFY(
            run.out.contains(QStringLiteral("Итог: строк этого пароля 2, из них целы 2, изменены 0; "
                                            "строк других паролей 2; не читаются 0.\n")));
        QVERIFY(run.err.contains(QStringLiteral("Пароль экзамена:")));

        // A verdict changed in the file.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        const qsizetype at = bytes.indexOf(QStringLiteral("вне допуска").toUtf8());
        QVERIFY(at > 0);
        bytes.replace(at, QStringLiteral("вне допуска").toUtf8().size(), QStringLiteral("в пределах допуска").toUtf8());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        run = runCheck(program, {path}, "secret");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("строка 3: ИЗМЕНЕНА — ")), qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("строка 4: цела")));

        run = runCheck(program, {path}, "wrong\n");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("нет ни одной строки с этим паролем")), qPrintable(run.out));

        run = runCheck(program, {dir.filePath(QStringLiteral("none.csv"))}, "secret\n");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("Журнал не найден")), qPrintable(run.out));

        run = runCheck(program, {path}, "");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Пароль не введён")), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TstJournalCli)
#include "tst_journal_cli.moc"
