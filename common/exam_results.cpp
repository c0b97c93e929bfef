#include "exam_results.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "colours.h"
#include "exam_record.h"
#include "input_filters.h"
#include "named_widgets.h"
#include "numtext.h"
#include "printing.h"
#include "program_context.h"
#include "twips.h"
#include "window_helpers.h"

using namespace named_widgets;

namespace {

const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
const QString csvFilter = QStringLiteral("CSV (*.csv)");
const QString windowTitleText = QStringLiteral("Результаты экзамена");

// A tab names only the examination ("Экзамен 2" of "Сердце лягушки, экзамен 2"): the
// experiment is in the page's heading, and three whole names do not fit an 800-pixel screen.
QString examinationName(const ExamRecord& record) {
    QString name = record.experiment.section(QStringLiteral(", "), -1);
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
}

class ExamResults : public QWidget {
public:
    // `journalFile`: where the records were written; empty when they could not be.
    ExamResults(ProgramContext& ctx, const QList<ExamRecord>& records, QString journalFile)
        : m_ctx(ctx), m_records(records), m_journalFile(std::move(journalFile)) {
        setObjectName(QStringLiteral("Frm_Exam_Results"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("%1 — %2").arg(windowTitleText, m_records.front().student.fullName()));

        auto* layout = new QVBoxLayout(this);
        if (m_records.size() == 1) {
            layout->addWidget(markPage(0), 1);
        } else {
            // One tab an examination of the sitting, its score in its title.
            m_tabs = named(new QTabWidget, "Tab_Exams");
            for (int i = 0; i < m_records.size(); ++i) m_tabs->addTab(markPage(i), QString());
            layout->addWidget(m_tabs, 1);
        }

        auto* journal = label(
            "Lbl_Journal",
            m_journalFile.isEmpty()
                ? QStringLiteral("В журнал экзаменов не записано: напечатайте или сохраните результаты.")
                : QStringLiteral("Записано в журнал экзаменов:\n%1").arg(QDir::toNativeSeparators(m_journalFile)));
        journal->setWordWrap(true);
        journal->setTextInteractionFlags(Qt::TextSelectableByMouse);

        auto* print = button("Cmd_Print", QStringLiteral("Печать"));
        auto* save = button("Cmd_Save", QStringLiteral("Сохранить…"));
        auto* closing = button("Cmd_Close", QStringLiteral("Закрыть"));
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(print);
        buttons->addWidget(save);
        buttons->addStretch();
        buttons->addWidget(closing);
        connect(print, &QPushButton::clicked, this, [this] {
            m_kept = printDocument(m_ctx, QStringLiteral("Печать"),
                                   [this](QPagedPaintDevice* device) {
                                       return paintExamRecord(device, m_records, QDateTime::currentDateTime());
                                   }) ||
                     m_kept;
        });
        connect(save, &QPushButton::clicked, this, &ExamResults::save);
        connect(closing, &QPushButton::clicked, this, &QWidget::close);

        layout->addWidget(journal);
        layout->addLayout(buttons);
        for (int i = 0; i < m_records.size(); ++i) mark(i);
        // Wide enough for every tab's title (its score) when the screen allows.
        int width = 720;
        if (m_tabs) {
            const int margins = layout->contentsMargins().left() + layout->contentsMargins().right();
            const int screen = twips::toPixels(m_ctx.desktop.screenSizeTwips().width());
            width = std::clamp(m_tabs->tabBar()->sizeHint().width() + margins + 8, width, std::max(width, screen - 16));
        }
        resize(width, 460);
        CenterForm(m_ctx, this);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!m_kept) {
            const QString where =
                m_journalFile.isEmpty()
                    ? QStringLiteral("В журнал экзаменов они не записаны: после закрытия окна они нигде не сохранятся.")
                    : QStringLiteral("Они записаны в журнал экзаменов:\n%1")
                          .arg(QDir::toNativeSeparators(m_journalFile));
            const MsgAnswer answer = m_ctx.message(
                {QStringLiteral("Результаты не напечатаны и не сохранены. %1\n\nЗакрыть окно?").arg(where),
                 windowTitleText, MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::No});
            if (answer != MsgAnswer::Yes) {
                event->ignore();
                return;
            }
        }
        QWidget::closeEvent(event);
    }

private:
    // The heading, the marked table and the score of record `i`, with the tolerance box
    // when something was measured ("Pg_Exam_<i+1>").
    QWidget* markPage(int i) {
        const ExamRecord& record = m_records[i];
        auto* page = named(new QWidget, QStringLiteral("Pg_Exam_%1").arg(i + 1));
        auto* heading = label("Lbl_ExamHeading",
                              QStringLiteral("<b>%1</b><br>%2<br>%3")
                                  .arg(record.experiment.toHtmlEscaped(), record.student.withGroup().toHtmlEscaped(),
                                       record.when.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
        heading->setTextFormat(Qt::RichText);
        heading->setWordWrap(true);

        auto* table = named(new QTableWidget(int(record.items.size()), 5), "Tbl_Marks");
        table->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Дано"), QStringLiteral("Ответ"),
                                          QStringLiteral("Измерено"), QStringLiteral("Отметка")});
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->hide();
        table->setWordWrap(true);
        QHeaderView* columns = table->horizontalHeader();
        for (int c : {0, 4}) columns->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        for (int c : {1, 2, 3}) columns->setSectionResizeMode(c, QHeaderView::Stretch);

        auto* score = label("Lbl_Score", {});
        QFont bold = score->font();
        bold.setBold(true);
        score->setFont(bold);
        auto* scoreRow = new QHBoxLayout;
        scoreRow->addWidget(score);
        scoreRow->addStretch();
        const bool measured = std::any_of(record.items.cbegin(), record.items.cend(),
                                          [](const ExamItem& item) { return item.errorPercent.has_value(); });
        if (measured) {
            auto* tolerance = named(new QLineEdit(numtext::generalForm(record.tolerancePercent)), "Txt_Tolerance");
            installNumericFilter(tolerance);
            tolerance->setMaxLength(6);
            tolerance->setFixedWidth(tolerance->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
            auto* toleranceLabel = label("Lbl_Tolerance", QStringLiteral("Допуск, %:"));
            toleranceLabel->setBuddy(tolerance);
            scoreRow->addWidget(toleranceLabel);
            scoreRow->addWidget(tolerance);
            connect(tolerance, &QLineEdit::textChanged, this, [this, i](const QString& text) {
                m_records[i].tolerancePercent = numtext::numberReading(text);
                mark(i);
            });
        }
        m_tables << table;
        m_scores << score;

        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(m_records.size() == 1 ? QMargins() : layout->contentsMargins());
        layout->addWidget(heading);
        layout->addWidget(table, 1);
        layout->addLayout(scoreRow);
        return page;
    }

    // The table and the score of record `i` at its tolerance.
    void mark(int i) {
        const ExamRecord& record = m_records[i];
        QTableWidget* table = m_tables[i];
        for (int r = 0; r < record.items.size(); ++r) {
            const ExamItem& item = record.items[r];
            const Verdict verdict = record.verdict(item);
            const QStringList cells{QString::number(item.number), item.given, item.answer, record.measuredText(item),
                                    verdictText(verdict)};
            for (int c = 0; c < cells.size(); ++c) table->setItem(r, c, new QTableWidgetItem(cells[c]));
            if (verdict == Verdict::Wrong || verdict == Verdict::OutsideTolerance)
                table->item(r, 4)->setForeground(redText);
        }
        table->resizeRowsToContents();
        m_scores[i]->setText(QStringLiteral("Итого: %1").arg(record.scoreText()));
        if (m_tabs) m_tabs->setTabText(i, QStringLiteral("%1: %2").arg(examinationName(record), record.scoreText()));
    }

    void save() {
        const QString name = QStringLiteral("Экзамен %1 %2.pdf")
                                 .arg(m_records.front().student.fullName(),
                                      m_records.front().when.toString(QStringLiteral("yyyy-MM-dd HH-mm")));
        const ChosenFile chosen = m_ctx.files.saveFile(
            {QStringLiteral("Сохранить результаты экзамена"), proposedPdfFile(name), {pdfFilter, csvFilter}});
        if (chosen.path.isEmpty()) return;
        const QString path = savedPath(chosen, {pdfFilter, csvFilter});
        QString failure;
        if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
            saveRecordCsv(m_records, path, &failure);
        else
            failure = writePdf(path, [this](QPagedPaintDevice* device) {
                return paintExamRecord(device, m_records, QDateTime::currentDateTime());
            });
        if (failure.isEmpty()) {
            m_kept = true;
            return;
        }
        m_ctx.message({failure, QStringLiteral("Сохранение"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
    }

    ProgramContext& m_ctx;
    QList<ExamRecord> m_records;
    const QString m_journalFile;
    QTabWidget* m_tabs = nullptr;   // with more than one record
    QList<QTableWidget*> m_tables;  // a record's
    QList<QLabel*> m_scores;
    bool m_kept = false;  // printed or saved
};

}  // namespace

QWidget* showExamResults(ProgramContext& ctx, const QList<ExamRecord>& records, const QString& password) {
    // The key derivation takes a noticeable moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString fault;
    for (const ExamRecord& record : records)
        if (fault.isEmpty()) fault = journal::append(ctx.journalPath, record, password, ctx.journalIterations);
    QApplication::restoreOverrideCursor();
    if (!fault.isEmpty())
        ctx.message({fault, QStringLiteral("Журнал экзаменов"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
    auto* window = new ExamResults(ctx, records, fault.isEmpty() ? ctx.journalPath : QString());
    window->show();
    // In front of the experiment's windows, whichever of them opened last.
    window->raise();
    window->activateWindow();
    return window;
}

QWidget* showExamResults(ProgramContext& ctx, const ExamRecord& record, const QString& password) {
    return showExamResults(ctx, QList<ExamRecord>{record}, password);
}
