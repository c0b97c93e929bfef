#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <memory>

#include <QPagedPaintDevice>
class MessageBoxes;
class ProgramContext;
class RecordingPaper;

// Where a printout goes. The real one is the default printer (or, on a machine without a
// printer, a PDF file the user names); tests print into a PDF file.
class Printer {
public:
    virtual ~Printer() = default;
    // A landscape document to paint pages on; nullptr when there is nowhere to print.
    virtual QPagedPaintDevice* begin() = 0;
    // Sends the document (the painter on it has ended).
    virtual void end() = 0;
};

class DefaultPrinter : public Printer {
public:
    explicit DefaultPrinter(MessageBoxes& messages);
    ~DefaultPrinter() override;
    QPagedPaintDevice* begin() override;
    void end() override;

private:
    MessageBoxes& m_messages;
    std::unique_ptr<QPagedPaintDevice> m_device;
};

class PdfPrinter : public Printer {
public:
    explicit PdfPrinter(QString path) : m_path(std::move(path)) {}
    ~PdfPrinter() override;
    QPagedPaintDevice* begin() override;
    void end() override;
    int documents() const { return m_documents; }

private:
    QString m_path;
    std::unique_ptr<QPagedPaintDevice> m_device;
    int m_documents = 0;
};

// One strip of a printed recording: the paper part from sourceLeft, sourceWidth pixels
// wide, at `at` (twips from the top-left of the printable page) on page `page` (from 0).
struct PrintStrip {
    int page;
    QPointF at;
    double sourceLeft, sourceWidth;
};

// The strips of a recording `paperWidth` pixels wide at 96 dpi: strips of 14000 twips
// (933⅓ pixels) from 3500 twips (233⅓ pixels) on, two a landscape page, at (800, 1410)
// and (800, 7610), as many as it takes to print the recording to its end.
QVector<PrintStrip> printStrips(int paperWidth);

// Paints the strips of a recording on the pages of a document.
void paintRecording(QPagedPaintDevice* device, const RecordingPaper& paper);

// The "Печать" button of a recorder: asks whether the printer is on (under the given
// title), then prints the whole recording in strips; No prints nothing.
void printRecording(ProgramContext& ctx, const RecordingPaper& paper, const QString& warningTitle);
