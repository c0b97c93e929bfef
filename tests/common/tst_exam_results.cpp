// The marked results window that ends every examination: the journal line written first, the
// table and score, re-marking at another tolerance, printing, saving and the reminder on closing.
#include <QPointer>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

#include "colours.h"
#include "controls.h"
#include "csv.h"
#include "drug_names.h"
#include "exam_record.h"
#include "exam_results.h"
#include "fakes.h"
#include "journal.h"
#include "pdf_reading.h"

using namespace controls;

namespace {

const QString password = QStringLiteral("SECRET");
const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
const QString csvFilter = QStringLiteral("CSV (*.csv)");

ExamRecord blankRecord(const QString& experiment) {
    ExamRecord r;
    r.program = QStringLiteral("morvane");
    r.experiment = experiment;
    r.when = QDateTime(QDate(2026, 12, 10), QTime(10, 42, 5));
    r.student = *makeStudent(QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("101"), nullptr);
    return r;
}

// Two of three drugs named right.
ExamRecord identification() {
    ExamRecord r = blankRecord(QStringLiteral("Пищевод лягушки, экзамен"));
    const DrugNames none;
    r.addIdentification(QStringLiteral("Адреналин"), QStringLiteral("адреналин"), none);
    r.addIdentification(QStringLiteral("Атропин"), QStringLiteral("Карбахол"), none);
    r.addIdentification(QStringLiteral("Пилокарпин"), QStringLiteral("Пилокарпин"), none);
    return r;
}

// Errors of 5 %, 25 % and one that cannot be told: one within the default 10 %.
ExamRecord measurement() {
    ExamRecord r = blankRecord(QStringLiteral("Подвздошная кишка, экзамен"));
    r.addMeasurement(QStringLiteral("2.381"), QStringLiteral("2.5"), 5.0f);
    r.addMeasurement(QStringLiteral("1.2"), QStringLiteral("1.5"), 25.0f);
    r.addMeasurement(QStringLiteral("0.5"), QString(), NAN);
    return r;
}

QString cell(QWidget* w, int row, int column) {
    return child<QTableWidget>(w, "Tbl_Marks")->item(row, column)->text();
}
bool red(QWidget* w, int row) {
    return child<QTableWidget>(w, "Tbl_Marks")->item(row, 4)->foreground().color() == redText;
}

// A regular file where a folder should be: no one can write under it, not even root.
QString underAFile(const QTemporaryDir& dir, const QString& name) {
    QFile file(dir.filePath(QStringLiteral("plain")));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(file.fileName()));
    return dir.filePath(QStringLiteral("plain/") + name);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TstExamResults : public QObject {
    Q_OBJECT
private slots:
    void tableMarksAndJournal() {
        TestContext t;
        QPointer<QWidget> w = showExamResults(t.ctx, identification(), password);
        QVERIFY(w && w->isVisible() && w->isWindow() && !w->parent());
        QVERIFY(t.messages.shown.isEmpty());
        const QString heading = text(w, "Lbl_ExamHeading");
        for (const char* part : {"Пищевод лягушки, экзамен", "Иванов Иван, гр. 101", "10.12.2026 10:42"})
            QVERIFY2(heading.contains(QString::fromUtf8(part)), qPrintable(heading));

        auto* table = child<QTableWidget>(w, "Tbl_Marks");
        QCOMPARE(table->rowCount(), 3);
        QStringList titles;
        for (int c = 0; c < table->columnCount(); ++c) titles << table->horizontalHeaderItem(c)->text();
        QCOMPARE(titles, (QStringList{"№", "Дано", "Ответ", "Измерено", "Отметка"}));
        QCOMPARE((QStringList{cell(w, 1, 0), cell(w, 1, 1), cell(w, 1, 2), cell(w, 1, 3), cell(w, 1, 4)}),
                 (QStringList{"2", "Атропин", "Карбахол", "", "неверно"}));
        QCOMPARE(cell(w, 0, 4), QStringLiteral("верно"));
        QVERIFY(!red(w, 0) && red(w, 1) && !red(w, 2));
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(text(w, "Lbl_Score"), QStringLiteral("Итого: 2 из 3"));
        QVERIFY(!w->findChild<QLineEdit*>(QStringLiteral("Txt_Tolerance")));  // nothing measured
        QVERIFY(text(w, "Lbl_Journal").contains(t.ctx.journalPath));

        // The journal holds the examination, one intact line an unknown, and a second one follows it.
        QVERIFY(showExamResults(t.ctx, measurement(), password));
        const journal::CheckResult check = journal::check(t.ctx.journalPath, password);
        QVERIFY2(check.allIntact(), qPrintable(check.error));
        QCOMPARE(check.lines.size(), 6);
        t.messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("Frm_Exam_Results")) window->close();
        flushDeletes();
        QVERIFY(!w);
    }

    // The tolerance box re-marks the measurements and the score as it is typed, a comma
    // taken as the decimal point.
    void toleranceReMarks() {
        TestContext t;
        QWidget* w = showExamResults(t.ctx, measurement(), password);
        auto* box = child<QLineEdit>(w, "Txt_Tolerance");
        QCOMPARE(box->text(), QStringLiteral("10"));
        QCOMPARE(text(w, "Lbl_Score"), QStringLiteral("Итого: 1 из 3"));
        QCOMPARE(cell(w, 0, 4), QStringLiteral("в пределах допуска"));
        QCOMPARE(cell(w, 1, 4), QStringLiteral("вне допуска"));
        QVERIFY(!red(w, 0) && red(w, 1) && red(w, 2));

        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("30"));
        QCOMPARE(text(w, "Lbl_Score"), QStringLiteral("Итого: 2 из 3"));
        QCOMPARE(cell(w, 1, 4), QStringLiteral("в пределах допуска"));
        QVERIFY(!red(w, 1) && red(w, 2));  // an error that cannot be told stays outside
        QVERIFY2(cell(w, 1, 3).contains(QStringLiteral("(допуск 30 %)")), qPrintable(cell(w, 1, 3)));

        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("2,5"));
        QCOMPARE(box->text(), QStringLiteral("2.5"));
        QCOMPARE(text(w, "Lbl_Score"), QStringLiteral("Итого: 0 из 3"));
        QVERIFY(red(w, 0));
        QVERIFY2(cell(w, 0, 3).contains(QStringLiteral("(допуск 2.5 %)")), qPrintable(cell(w, 0, 3)));
    }

    // The printout through the context's printer: the particulars, the marks, the score, the
    // tolerance of measurements and the signature line; a long table runs on over pages,
    // its heading row on each.
    void printsTheRecord_data() {
        QTest::addColumn<bool>("measured");
        QTest::addColumn<int>("extraItems");
        QTest::newRow("identification") << false << 0;
        QTest::newRow("measurement, retolerated") << true << 0;
        QTest::newRow("long identification") << false << 60;
    }
    void printsTheRecord() {
        QFETCH(bool, measured);
        QFETCH(int, extraItems);
        TestContext t;
        ExamRecord record = measured ? measurement() : identification();
        for (int i = 0; i < extraItems; ++i)
            record.addIdentification(QStringLiteral("Вещество %1").arg(i), QStringLiteral("Ответ %1").arg(i),
                                     DrugNames());
        QWidget* w = showExamResults(t.ctx, record, password);
        if (measured) {
            auto* box = child<QLineEdit>(w, "Txt_Tolerance");
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("30"));
        }
        t.messages.answers = {MsgAnswer::Yes};  // the printer is on
        click(w, "Cmd_Print");
        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.printer.documents(), 1);
        const QStringList pages = pdfPageTexts(t.printDir.filePath(QStringLiteral("printout.pdf")));
        QCOMPARE(pages.size() > 1, extraItems > 0);
        const QString all = pages.join(u' ').simplified();
        QStringList wanted{"Иванов Иван", "Группа: 101", "2026-12-10 10:42:05", "morvane " + record.version,
                           "Подпись преподавателя: ______________"};
        if (measured)
            wanted << "в пределах допуска"
                   << "вне допуска"
                   << "Итого: 2 из 3"
                   << "Допуск: 30 %" << record.experiment;
        else
            wanted << "неверно"
                   << "Карбахол" << QStringLiteral("Итого: %1 из %2").arg(2).arg(3 + extraItems);
        for (const QString& part : wanted) QVERIFY2(all.contains(part), qPrintable(part + u'\n' + all));
        QVERIFY(pages.last().contains(QStringLiteral("Подпись преподавателя")));
        for (const QString& page : pages)
            if (page.contains(QStringLiteral("Вещество")) || page.contains(QStringLiteral("Адреналин")))
                QVERIFY2(page.contains(QStringLiteral("Отметка")), qPrintable(page));
        if (extraItems) QVERIFY(all.contains(QStringLiteral("Вещество %1").arg(extraItems - 1)));

        click(w, "Cmd_Close");  // printed: no reminder
        QCOMPARE(t.messages.shown.size(), 1);
        flushDeletes();
    }

    // "Сохранить…" offers a PDF or CSV file named after the student in the documents folder;
    // the name's ending decides the kind, the filter gives one to a name without it.
    void saves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("PDF") << "r.pdf" << pdfFilter << "r.pdf";
        QTest::newRow("CSV by its ending") << "r.CSV" << pdfFilter << "r.CSV";
        QTest::newRow("no ending, CSV chosen") << "r" << csvFilter << "r.csv";
        QTest::newRow("no ending, PDF chosen") << "r" << pdfFilter << "r.pdf";
    }
    void saves() {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        TestContext t;
        QTemporaryDir dir;
        const ExamRecord record = measurement();
        QWidget* w = showExamResults(t.ctx, record, password);
        t.files.answers = {{dir.filePath(name), filter}};
        click(w, "Cmd_Save");
        QCOMPARE(t.files.asked.size(), 1);
        const SaveFileRequest& asked = t.files.asked[0];
        QCOMPARE(asked.filters, (QStringList{pdfFilter, csvFilter}));
        QCOMPARE(QFileInfo(asked.proposedPath).fileName(), QStringLiteral("Экзамен Иванов Иван 2026-12-10 10-42.pdf"));
        QCOMPARE(asked.proposedPath, proposedPdfFile(QFileInfo(asked.proposedPath).fileName()));
        QVERIFY2(t.messages.shown.isEmpty(), qPrintable(t.messages.shown.value(0).text));
        const QString path = dir.filePath(written);
        if (written.endsWith(QStringLiteral("pdf"))) {
            const QString page = pdfPageTexts(path).value(0).simplified();
            QVERIFY2(page.contains(QStringLiteral("Итого: 1 из 3")) && page.contains(QStringLiteral("Иванов Иван")),
                     qPrintable(page));
        } else {
            QCOMPARE(fileBytes(path), recordCsv(record));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
        click(w, "Cmd_Close");  // saved: no reminder
        QVERIFY(t.messages.shown.isEmpty());
        flushDeletes();
    }

    // Closing what was neither printed nor saved asks first, saying where the record is
    // kept; No keeps the window. A cancelled save and a save that failed keep nothing.
    void closingUnkeptAsks() {
        TestContext t;
        QTemporaryDir dir;
        QPointer<QWidget> w = showExamResults(t.ctx, identification(), password);
        click(w, "Cmd_Save");  // cancelled
        QCOMPARE(t.files.asked.size(), 1);
        QCOMPARE(QDir(QFileInfo(t.ctx.journalPath).path()).entryList(QDir::Files).size(), 1);  // the journal only

        for (const QString& name : {QStringLiteral("x.pdf"), QStringLiteral("x.csv")}) {
            const QString path = underAFile(dir, name);
            t.files.answers = {{path, pdfFilter}};
            click(w, "Cmd_Save");
            QCOMPARE(t.messages.shown.size(), 1);
            QVERIFY2(t.messages.shown[0].text.contains(path), qPrintable(t.messages.shown[0].text));
            QCOMPARE(t.messages.shown[0].icon, MsgIcon::Critical);
            t.messages.shown.clear();
        }

        t.messages.answers = {MsgAnswer::No};
        w->close();  // as the title bar does
        QCOMPARE(t.messages.shown.size(), 1);
        const MessageRequest& m = t.messages.shown[0];
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        QCOMPARE(m.defaultAnswer, MsgAnswer::No);
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(t.ctx.journalPath)), qPrintable(m.text));
        flushDeletes();
        QVERIFY(w && w->isVisible());
        t.messages.answers = {MsgAnswer::Yes};
        click(w, "Cmd_Close");
        flushDeletes();
        QVERIFY(!w);
    }

    // A sitting of two examinations: each goes to the journal as its own examination, the one
    // window marks each on its tab with its own score and tolerance, and prints and saves both.
    void severalExaminations() {
        TestContext t;
        QTemporaryDir dir;
        const QList<ExamRecord> records{identification(), measurement()};
        QPointer<QWidget> w = showExamResults(t.ctx, records, password);
        QVERIFY(t.messages.shown.isEmpty());
        const journal::CheckResult check = journal::check(t.ctx.journalPath, password);
        QVERIFY2(check.allIntact(), qPrintable(check.error));
        QCOMPARE(check.lines.size(), 6);
        QVERIFY2(check.lines[2].what.contains(records[0].experiment), qPrintable(check.lines[2].what));
        QVERIFY2(check.lines[3].what.contains(records[1].experiment), qPrintable(check.lines[3].what));

        auto* tabs = child<QTabWidget>(w, "Tab_Exams");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Экзамен: 2 из 3"));  // the experiment is in the heading
        QWidget* second = child<QWidget>(w, "Pg_Exam_2");
        QCOMPARE(text(child<QWidget>(w, "Pg_Exam_1"), "Lbl_Score"), QStringLiteral("Итого: 2 из 3"));
        QCOMPARE(text(second, "Lbl_Score"), QStringLiteral("Итого: 1 из 3"));
        QCOMPARE(cell(second, 1, 1), QStringLiteral("1.2"));
        QVERIFY(!child<QWidget>(w, "Pg_Exam_1")->findChild<QLineEdit*>(QStringLiteral("Txt_Tolerance")));
        auto* box = child<QLineEdit>(second, "Txt_Tolerance");
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("30"));
        QCOMPARE(text(second, "Lbl_Score"), QStringLiteral("Итого: 2 из 3"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Экзамен: 2 из 3"));

        t.messages.answers = {MsgAnswer::Yes};  // the printer is on
        click(w, "Cmd_Print");
        const QStringList pages = pdfPageTexts(t.printDir.filePath(QStringLiteral("printout.pdf")));
        QCOMPARE(pages.size(), 2);  // each record from a page of its own
        QVERIFY2(pages[0].contains(QStringLiteral("Итого: 2 из 3")) && pages[0].contains(QStringLiteral("Карбахол")),
                 qPrintable(pages[0]));
        QVERIFY2(pages[1].contains(records[1].experiment) && pages[1].contains(QStringLiteral("Допуск: 30 %")),
                 qPrintable(pages[1]));

        t.files.answers = {{dir.filePath(QStringLiteral("r.csv")), csvFilter}};
        click(w, "Cmd_Save");
        const QByteArray csv = fileBytes(dir.filePath(QStringLiteral("r.csv")));
        QCOMPARE(csv.count(csv::byteOrderMark), 1);
        QCOMPARE(csv.count("Подпись преподавателя"), 2);
        QVERIFY(csv.contains(recordCsv(records[0]).mid(3)));
        QCOMPARE(csv.count("Итог;2 из 3"), 2);  // the second at 30 %
        click(w, "Cmd_Close");                  // kept: no reminder
        QCOMPARE(t.messages.shown.size(), 1);
        flushDeletes();
        QVERIFY(!w);
    }

    // A journal that cannot be written is told once, naming the file; the results still show,
    // and closing them unkept warns that they are kept nowhere.
    void unwritableJournal() {
        TestContext t;
        QTemporaryDir dir;
        t.ctx.journalPath = underAFile(dir, QStringLiteral("journal.csv"));
        QPointer<QWidget> w = showExamResults(t.ctx, identification(), password);
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY2(t.messages.shown[0].text.contains(t.ctx.journalPath), qPrintable(t.messages.shown[0].text));
        QVERIFY(w && w->isVisible());
        QCOMPARE(text(w, "Lbl_Score"), QStringLiteral("Итого: 2 из 3"));
        QVERIFY(text(w, "Lbl_Journal").contains(QStringLiteral("не записано")));
        t.messages.answers = {MsgAnswer::Yes};
        click(w, "Cmd_Close");
        QVERIFY2(t.messages.shown.last().text.contains(QStringLiteral("нигде не сохранятся")),
                 qPrintable(t.messages.shown.last().text));
        flushDeletes();
        QVERIFY(!w);
    }
};

QTEST_MAIN(TstExamResults)
#include "tst_exam_results.moc"
