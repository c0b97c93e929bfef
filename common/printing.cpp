#include "printing.h"

#include <QFileDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include "program_context.h"
#include "recording_paper.h"
#include "twips.h"

namespace {

constexpr double stripLeftTw = 800, firstTopTw = 1410, secondTopTw = 7610;
constexpr double stripWidthTw = 14000, firstSourceTw = 3500;

}  // namespace

DefaultPrinter::DefaultPrinter(MessageBoxes& messages) : m_messages(messages) {}
DefaultPrinter::~DefaultPrinter() = default;

QPagedPaintDevice* DefaultPrinter::begin() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Printing to nowhere would lose the recording: offer a file instead.
        const MsgAnswer answer = m_messages.show(
            {QStringLiteral("Принтер не найден. Сохранить запись в файл PDF, чтобы напечатать её позже?"),
             QStringLiteral("Печать"), MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::Yes});
        if (answer != MsgAnswer::Yes) return nullptr;
        const QString path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Сохранить запись"),
                                                          QStringLiteral("запись.pdf"), QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty()) return nullptr;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
    }
    printer->setPageOrientation(QPageLayout::Landscape);
    m_device = std::move(printer);
    return m_device.get();
}

void DefaultPrinter::end() { m_device.reset(); }

PdfPrinter::~PdfPrinter() = default;

QPagedPaintDevice* PdfPrinter::begin() {
    auto writer = std::make_unique<QPdfWriter>(m_path);
    writer->setPageOrientation(QPageLayout::Landscape);
    writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    m_device = std::move(writer);
    ++m_documents;
    return m_device.get();
}

void PdfPrinter::end() { m_device.reset(); }

QVector<PrintStrip> printStrips(int paperWidth) {
    const double needed = std::ceil((paperWidth * double(twips::perPixel) - firstSourceTw) / stripWidthTw);
    const int strips = std::max(1, static_cast<int>(needed));
    QVector<PrintStrip> result;
    for (int k = 0; k < strips; ++k)
        result.push_back({k / 2, QPointF(stripLeftTw, k % 2 ? secondTopTw : firstTopTw),
                          (firstSourceTw + k * stripWidthTw) / twips::perPixel, stripWidthTw / twips::perPixel});
    return result;
}

void paintRecording(QPagedPaintDevice* device, const RecordingPaper& paper) {
    QPainter painter(device);
    // Page positions are in twips; the paper is printed at its natural size.
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    const double height = paper.height() * double(twips::perPixel);
    int page = 0;
    for (const PrintStrip& s : printStrips(paper.width())) {
        if (s.page != page) {
            device->newPage();
            page = s.page;
        }
        const double width = std::min(s.sourceWidth, paper.width() - s.sourceLeft);
        paper.drawPart(painter, QRectF(s.at, QSizeF(width * twips::perPixel, height)),
                       QRectF(s.sourceLeft, 0, width, paper.height()));
    }
}

void printRecording(ProgramContext& ctx, const RecordingPaper& paper, const QString& warningTitle) {
    const MsgAnswer answer = ctx.message(
        {QStringLiteral("Вы нажали кнопку 'Печать'. Включите принтер и оставляйте его включенным. Ваш PC может "
                        "зависнуть, если принтер по умолчанию не включен. Хотите продолжить?"),
         warningTitle, MsgButtons::YesNo, MsgIcon::Critical, MsgAnswer::No});
    if (answer == MsgAnswer::No) return;

    QPagedPaintDevice* device = ctx.printer.begin();
    if (!device) return;
    paintRecording(device, paper);
    ctx.printer.end();
}
