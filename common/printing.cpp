#include "printing.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>

#include "program_context.h"
#include "recording_paper.h"
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

DefaultPrinter::DefaultPrinter(MessageBoxes& messages) : m_messages(messages) {}
DefaultPrinter::~DefaultPrinter() = default;

QPagedPaintDevice* DefaultPrinter::begin() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Printing to nowhere would lose the recording: offer a file instead.
        const MsgAnswer answer = m_messages.show(
            {QStringLiteral("Принтер не найден. Сохранить запись в файл PDF, чтобы напечатать её позже?"),
             QStringLiteral("Печать"), MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::Yes});
        if (answer != MsgAnswer::Yes) return nullptr;
        const QString path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Сохранить запись"),
                                                          proposedPdfFile(), QStringLiteral("PDF (*.pdf)"));
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

QString proposedPdfFile() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QFileInfo documents(folder);
    if (folder.isEmpty() || !documents.isDir() || !documents.isWritable()) folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("запись.pdf"));
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
               "или на диске нет места. Нажмите «Печать» ещё раз и выберите другую папку.")
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

void printRecording(ProgramContext& ctx, const RecordingPaper& paper, const QString& warningTitle,
                    const PrintHeading& heading) {
    const MsgAnswer answer = ctx.message(
        {QStringLiteral("Вы нажали кнопку 'Печать'. Включите принтер и оставляйте его включенным. Ваш PC может "
                        "зависнуть, если принтер по умолчанию не включен. Хотите продолжить?"),
         warningTitle, MsgButtons::YesNo, MsgIcon::Critical, MsgAnswer::No});
    if (answer == MsgAnswer::No) return;

    QPagedPaintDevice* device = ctx.printer.begin();
    if (!device) return;
    const bool painted = paintRecording(device, paper, heading, QDateTime::currentDateTime());
    QString failure = ctx.printer.end();
    if (!painted && failure.isEmpty()) failure = QStringLiteral("Запись не напечатана: принтер не принял задание.");
    if (!failure.isEmpty())
        ctx.message({failure, QStringLiteral("Печать"), MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
}
