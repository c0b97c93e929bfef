#include "exam_results.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "colours.h"
#include "exam_record.h"
#include "input_filters.h"
#include "named_widgets.h"
#include "numtext.h"
#include "printing.h"
#include "program_context.h"
#include "window_helpers.h"

using namespace named_widgets;

namespace {

const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
const QString csvFilter = QStringLiteral("CSV (*.csv)");
const QString windowTitleText = QStringLiteral("Результаты экзамена");

class ExamResults : public QWidget {
public:
    // `journalFile`: where the record was written; empty when it could not be.
    ExamResults(ProgramContext& ctx, const ExamRecord& record, QString journalFile)
        : m_ctx(ctx), m_record(record), m_journalFile(std::move(journalFile)) {
        setObjectName(QStringLiteral("Frm_Exam_Results"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("%1 — %2").arg(windowTitleText, m_record.student.fullName()));

        auto* heading = label("Lbl_ExamHeading", QStringLiteral("<b>%1</b><br>%2<br>%3")
                                                     .arg(m_record.experiment.toHtmlEscaped(),
                                                          m_record.student.withGroup().toHtmlEscaped(),
                                                          m_record.when.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
        heading->setTextFormat(Qt::RichText);
        heading->setWordWrap(true);

        m_table = named(new QTableWidget(int(m_record.items.size()), 5), "Tbl_Marks");
        m_table->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Дано"), QStringLiteral("Ответ"),
                                            QStringLiteral("Измерено"), QStringLiteral("Отметка")});
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->verticalHeader()->hide();
        m_table->setWordWrap(true);
        QHeaderView* columns = m_table->horizontalHeader();
        for (int c : {0, 4}) columns->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        for (int c : {1, 2, 3}) columns->setSectionResizeMode(c, QHeaderView::Stretch);

        m_score = label("Lbl_Score", {});
        QFont bold = m_score->font();
        bold.setBold(true);
        m_score->setFont(bold);
        auto* scoreRow = new QHBoxLayout;
        scoreRow->addWidget(m_score);
        scoreRow->addStretch();
        const bool measured = std::any_of(m_record.items.cbegin(), m_record.items.cend(),
                                          [](const ExamItem& item) { return item.errorPercent.has_value(); });
        if (measured) {
            auto* tolerance = named(new QLineEdit(numtext::generalForm(m_record.tolerancePercent)), "Txt_Tolerance");
            installNumericFilter(tolerance);
            tolerance->setMaxLength(6);
            tolerance->setFixedWidth(tolerance->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
            auto* toleranceLabel = label("Lbl_Tolerance", QStringLiteral("Допуск, %:"));
            toleranceLabel->setBuddy(tolerance);
            scoreRow->addWidget(toleranceLabel);
            scoreRow->addWidget(tolerance);
            connect(tolerance, &QLineEdit::textChanged, this, [this](const QString& text) {
                m_record.tolerancePercent = numtext::numberReading(text);
                mark();
            });
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
                                       return paintExamRecord(device, m_record, QDateTime::currentDateTime());
                                   }) ||
                     m_kept;
        });
        connect(save, &QPushButton::clicked, this, &ExamResults::save);
        connect(closing, &QPushButton::clicked, this, &QWidget::close);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(heading);
        layout->addWidget(m_table, 1);
        layout->addLayout(scoreRow);
        layout->addWidget(journal);
        layout->addLayout(buttons);
        resize(720, 460);
        mark();
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
    // The table and the score at the record's tolerance.
    void mark() {
        for (int r = 0; r < m_record.items.size(); ++r) {
            const ExamItem& item = m_record.items[r];
            const Verdict verdict = m_record.verdict(item);
            const QStringList cells{QString::number(item.number), item.given, item.answer, m_record.measuredText(item),
                                    verdictText(verdict)};
            for (int c = 0; c < cells.size(); ++c) m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
            if (verdict == Verdict::Wrong || verdict == Verdict::OutsideTolerance)
                m_table->item(r, 4)->setForeground(redText);
        }
        m_table->resizeRowsToContents();
        m_score->setText(QStringLiteral("Итого: %1").arg(m_record.scoreText()));
    }

    void save() {
        const QString name =
            QStringLiteral("Экзамен %1 %2.pdf")
                .arg(m_record.student.fullName(), m_record.when.toString(QStringLiteral("yyyy-MM-dd HH-mm")));
        const ChosenFile chosen = m_ctx.files.saveFile(
            {QStringLiteral("Сохранить результаты экзамена"), proposedPdfFile(name), {pdfFilter, csvFilter}});
        if (chosen.path.isEmpty()) return;
        // The name's ending says the kind; a name without one takes the chosen filter's.
        QString path = chosen.path;
        bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
        if (!csv && !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
            csv = chosen.filter == csvFilter;
            path += csv ? QStringLiteral(".csv") : QStringLiteral(".pdf");
        }
        QString failure;
        if (csv) {
            saveRecordCsv(m_record, path, &failure);
        } else {
            PdfPrinter pdf(path);
            const bool painted = paintExamRecord(pdf.begin(), m_record, QDateTime::currentDateTime());
            failure = pdf.end();
            if (!painted && failure.isEmpty()) failure = QStringLiteral("Не удалось составить файл PDF.");
        }
        if (failure.isEmpty()) {
            m_kept = true;
            return;
        }
        m_ctx.message({failure, QStringLiteral("Сохранение"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
    }

    ProgramContext& m_ctx;
    ExamRecord m_record;
    const QString m_journalFile;
    QTableWidget* m_table = nullptr;
    QLabel* m_score = nullptr;
    bool m_kept = false;  // printed or saved
};

}  // namespace

QWidget* showExamResults(ProgramContext& ctx, const ExamRecord& record, const QString& password) {
    // The key derivation takes a noticeable moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString fault = journal::append(ctx.journalPath, record, password, ctx.journalIterations);
    QApplication::restoreOverrideCursor();
    if (!fault.isEmpty())
        ctx.message({fault, QStringLiteral("Журнал экзаменов"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
    auto* window = new ExamResults(ctx, record, fault.isEmpty() ? ctx.journalPath : QString());
    window->show();
    return window;
}
