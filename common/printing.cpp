#include "printing.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>

#include "exam_record.h"
#include "numtext.h"
#include "program_context.h"
#include "recording_paper.h"
#include "seams.h"
#include "twips.h"

namespace {

constexpr double stripLeftTw = 800, firstTopTw = 1410, secondTopTw = 7610;
constexpr double stripWidthTw = 14000, firstSourceTw = 3500;
// The heading line: 10 points high, its baseline above the first strip.
constexpr double headingBaselineTw = 1100, headingHeightTw = 200;

void paintHeading(QPainter& painter, const PrintHeading& heading, const QDateTime& printedAt, int page, int pages) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(headingHeightTw));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font);
    const QString right = QStringLiteral("%1    стр. %2 из %3")
                              .arg(printedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                              .arg(page + 1)
                              .arg(pages);
    const double rightWidth = metrics.horizontalAdvance(right);
    QString left = heading.experiment;
    if (!heading.student.isEmpty()) left += QStringLiteral(" — ") + heading.student;
    left = metrics.elidedText(left, Qt::ElideRight, stripWidthTw - rightWidth - 2 * headingHeightTw);
    painter.drawText(QPointF(stripLeftTw, headingBaselineTw), left);
    painter.drawText(QPointF(stripLeftTw + stripWidthTw - rightWidth, headingBaselineTw), right);
}

}  // namespace

DefaultPrinter::DefaultPrinter(MessageBoxes& messages, FileChooser& files) : m_messages(messages), m_files(files) {}
DefaultPrinter::~DefaultPrinter() = default;

QPagedPaintDevice* DefaultPrinter::begin() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Printing to nowhere would lose the recording: offer a file instead.
        const MsgAnswer answer = m_messages.show(
            {QStringLiteral("Принтер не найден. Сохранить запись в файл PDF, чтобы напечатать её позже?"),
             QStringLiteral("Печать"), MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::Yes});
        if (answer != MsgAnswer::Yes) return nullptr;
        const QString path =
            m_files.saveFile({QStringLiteral("Сохранить запись"), proposedPdfFile(), {QStringLiteral("PDF (*.pdf)")}})
                .path;
        if (path.isEmpty()) return nullptr;
        m_file = std::make_unique<PdfPrinter>(path);
        return m_file->begin();
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageOrientation(QPageLayout::Landscape);
    m_device = std::move(printer);
    return m_device.get();
}

QString DefaultPrinter::end() {
    m_device.reset();
    if (!m_file) return {};
    const QString failure = m_file->end();
    m_file.reset();
    return failure;
}

QString proposedPdfFile(const QString& fileName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QFileInfo documents(folder);
    if (folder.isEmpty() || !documents.isDir() || !documents.isWritable()) folder = QDir::homePath();
    return QDir(folder).filePath(fileName);
}

QString savedPath(const ChosenFile& chosen, const QStringList& filters) {
    const auto ending = [](const QString& filter) {
        const int star = filter.indexOf(QStringLiteral("*."));
        return star < 0 ? QString() : filter.mid(star + 1).section(u')', 0, 0);
    };
    for (const QString& filter : filters)
        if (chosen.path.endsWith(ending(filter), Qt::CaseInsensitive)) return chosen.path;
    const QString chosenEnding = ending(chosen.filter);  // none: the first filter's
    return chosen.path + (chosenEnding.isEmpty() ? ending(filters.value(0)) : chosenEnding);
}

QString writePdf(const QString& path, const std::function<bool(QPagedPaintDevice*)>& paint) {
    PdfPrinter pdf(path);
    const bool painted = paint(pdf.begin());
    const QString failure = pdf.end();
    if (!painted && failure.isEmpty()) return QStringLiteral("Не удалось составить файл PDF.");
    return failure;
}

PdfPrinter::~PdfPrinter() = default;

QPagedPaintDevice* PdfPrinter::begin() {
    m_buffer.close();
    m_buffer.setData({});
    m_buffer.open(QIODevice::WriteOnly);
    auto writer = std::make_unique<QPdfWriter>(&m_buffer);
    writer->setPageOrientation(QPageLayout::Landscape);
    writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    m_device = std::move(writer);
    ++m_documents;
    return m_device.get();
}

QString PdfPrinter::end() {
    m_device.reset();
    m_buffer.close();
    const QByteArray& pdf = m_buffer.data();
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit()) return {};
    // The system's reason is in English: it goes to the log, the user gets a plain message.
    qWarning("cannot save %s: %s", qPrintable(m_path), qPrintable(file.errorString()));
    return QStringLiteral(
               "Запись не сохранена: не удалось записать файл\n%1\n\nВозможно, папка защищена от записи "
               "или на диске нет места. Сохраните её ещё раз в другую папку.")
        .arg(QDir::toNativeSeparators(m_path));
}

QVector<PrintStrip> printStrips(int paperWidth) {
    const double needed = std::ceil((paperWidth * double(twips::perPixel) - firstSourceTw) / stripWidthTw);
    const int strips = std::max(1, static_cast<int>(needed));
    QVector<PrintStrip> result;
    for (int k = 0; k < strips; ++k)
        result.push_back({k / 2, QPointF(stripLeftTw, k % 2 ? secondTopTw : firstTopTw),
                          (firstSourceTw + k * stripWidthTw) / twips::perPixel, stripWidthTw / twips::perPixel});
    return result;
}

bool paintRecording(QPagedPaintDevice* device, const RecordingPaper& paper, const PrintHeading& heading,
                    const QDateTime& printedAt) {
    QPainter painter(device);
    if (!painter.isActive()) return false;
    // Page positions are in twips; the paper is printed at its natural size.
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    const double height = paper.height() * double(twips::perPixel);
    const QVector<PrintStrip> strips = printStrips(paper.width());
    const int pages = strips.last().page + 1;
    int page = -1;
    for (const PrintStrip& s : strips) {
        if (s.page != page) {
            if (page >= 0) device->newPage();
            page = s.page;
            paintHeading(painter, heading, printedAt, page, pages);
        }
        const double width = std::min(s.sourceWidth, paper.width() - s.sourceLeft);
        paper.drawPart(painter, QRectF(s.at, QSizeF(width * twips::perPixel, height)),
                       QRectF(s.sourceLeft, 0, width, paper.height()), RecordingPaper::Rendition::Print);
    }
    return true;
}

namespace {

// The examination record's page, in twips, in the frame of the recordings' strips.
constexpr double examTextTw = 220, examTitleTw = 300, cellPaddingTw = 60, gapTw = 300, bottomMarginTw = 800;
constexpr double examColumnsTw[] = {600, 2900, 2900, 4600, 3000};

QFont printFont(double pixelSize, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(pixelSize));
    font.setBold(bold);
    return font;
}

// Lays the record out from the top of the first page down, breaking pages where the next
// piece does not fit; paints only when given a painter, so that a first run counts the pages.
class ExamPages {
public:
    ExamPages(const ExamRecord& record, double pageHeightTw, QPainter* painter, QPagedPaintDevice* device,
              const QDateTime& printedAt, int pages)
        : m_record(record),
          m_bottom(pageHeightTw - bottomMarginTw),
          m_painter(painter),
          m_device(device),
          m_printedAt(printedAt),
          m_pages(pages) {}

    int run() {
        startPage();
        paragraph(QStringLiteral("Результаты экзамена"), printFont(examTitleTw, true));
        const Student& s = m_record.student;
        for (const QString& line :
             {QStringLiteral("Программа: %1 %2").arg(m_record.program, m_record.version),
              QStringLiteral("Эксперимент: %1").arg(m_record.experiment),
              QStringLiteral("Дата и время: %1").arg(m_record.whenText()),
              QStringLiteral("Студент: %1").arg(s.fullName()),
              QStringLiteral("Группа: %1").arg(s.group.isEmpty() ? QStringLiteral("—") : s.group)})
            paragraph(line, printFont(examTextTw));
        m_y += gapTw;

        const QStringList titles{QStringLiteral("№"), QStringLiteral("Дано"), QStringLiteral("Ответ"),
                                 QStringLiteral("Измерено"), QStringLiteral("Отметка")};
        bool measured = false;
        for (int i = 0; i < m_record.items.size(); ++i) {
            const ExamItem& item = m_record.items[i];
            measured = measured || item.errorPercent.has_value();
            const QStringList cells{QString::number(item.number), item.given, item.answer, m_record.measuredText(item),
                                    verdictText(m_record.verdict(item))};
            // The heading row goes where the table starts and again on every page it runs on to.
            const double height = rowHeight(cells, false);
            if (i == 0 || !fits(height)) {
                if (!fits(rowHeight(titles, true) + height)) newPage();
                row(titles, true);
            }
            row(cells, false);
        }
        m_y += gapTw;
        paragraph(QStringLiteral("Итого: %1").arg(m_record.scoreText()), printFont(examTextTw, true));
        if (measured)
            paragraph(QStringLiteral("Допуск: %1 %").arg(numtext::generalForm(m_record.tolerancePercent)),
                      printFont(examTextTw));
        m_y += 2 * gapTw;
        paragraph(QStringLiteral("Подпись преподавателя: ______________"), printFont(examTextTw));
        return m_page + 1;
    }

private:
    static double topTw() { return firstTopTw; }
    bool fits(double height) const { return m_y + height <= m_bottom; }

    void startPage() {
        m_y = topTw();
        if (m_painter)
            paintHeading(*m_painter, {m_record.experiment, m_record.student.withGroup()}, m_printedAt, m_page, m_pages);
    }
    void newPage() {
        if (m_painter) m_device->newPage();
        ++m_page;
        startPage();
    }

    static double textHeight(const QString& text, const QFont& font, double width) {
        return QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e7), Qt::TextWordWrap, text).height();
    }

    void paragraph(const QString& text, const QFont& font) {
        const double height = textHeight(text, font, stripWidthTw) + cellPaddingTw;
        if (!fits(height)) newPage();
        if (m_painter) {
            m_painter->setFont(font);
            m_painter->drawText(QRectF(stripLeftTw, m_y, stripWidthTw, height), Qt::TextWordWrap, text);
        }
        m_y += height;
    }

    double rowHeight(const QStringList& cells, bool heading) const {
        double height = 0;
        for (int c = 0; c < cells.size(); ++c)
            height = std::max(
                height, textHeight(cells[c], printFont(examTextTw, heading), examColumnsTw[c] - 2 * cellPaddingTw));
        return height + 2 * cellPaddingTw;
    }

    void row(const QStringList& cells, bool heading) {
        const double height = rowHeight(cells, heading);
        if (m_painter) {
            m_painter->setFont(printFont(examTextTw, heading));
            m_painter->setPen(QPen(Qt::black, 10));
            double x = stripLeftTw;
            for (int c = 0; c < cells.size(); ++c) {
                const QRectF cell(x, m_y, examColumnsTw[c], height);
                m_painter->drawRect(cell);
                m_painter->drawText(cell.adjusted(cellPaddingTw, cellPaddingTw, -cellPaddingTw, -cellPaddingTw),
                                    Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, cells[c]);
                x += examColumnsTw[c];
            }
        }
        m_y += height;
    }

    const ExamRecord& m_record;
    const double m_bottom;
    QPainter* m_painter;
    QPagedPaintDevice* m_device;
    const QDateTime m_printedAt;
    const int m_pages;
    int m_page = 0;
    double m_y = 0;
};

}  // namespace

bool paintExamRecord(QPagedPaintDevice* device, const QList<ExamRecord>& records, const QDateTime& printedAt) {
    QPainter painter(device);
    if (!painter.isActive()) return false;
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    const double pageHeightTw = device->height() * 1440.0 / device->logicalDpiY();
    for (const ExamRecord& record : records) {
        if (&record != &records.front()) device->newPage();
        const int pages = ExamPages(record, pageHeightTw, nullptr, device, printedAt, 0).run();
        ExamPages(record, pageHeightTw, &painter, device, printedAt, pages).run();
    }
    return true;
}

bool printDocument(ProgramContext& ctx, const QString& warningTitle,
                   const std::function<bool(QPagedPaintDevice*)>& paint) {
    const MsgAnswer answer = ctx.message(
        {QStringLiteral("Вы нажали кнопку 'Печать'. Включите принтер и оставляйте его включенным. Ваш PC может "
                        "зависнуть, если принтер по умолчанию не включен. Хотите продолжить?"),
         warningTitle, MsgButtons::YesNo, MsgIcon::Critical, MsgAnswer::No});
    if (answer == MsgAnswer::No) return false;

    QPagedPaintDevice* device = ctx.printer.begin();
    if (!device) return false;
    const bool painted = paint(device);
    QString failure = ctx.printer.end();
    if (!painted && failure.isEmpty()) failure = QStringLiteral("Запись не напечатана: принтер не принял задание.");
    if (failure.isEmpty()) return true;
    ctx.message({failure, QStringLiteral("Печать"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
    return false;
}

void printRecording(ProgramContext& ctx, const RecordingPaper& paper, const QString& warningTitle,
                    const PrintHeading& heading) {
    printDocument(ctx, warningTitle, [&](QPagedPaintDevice* device) {
        return paintRecording(device, paper, heading, QDateTime::currentDateTime());
    });
}
