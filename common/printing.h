#pragma once

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include <QBuffer>
#include <QPagedPaintDevice>
#include <functional>

struct ChosenFile;
struct ExamRecord;
class FileChooser;
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
    // Sends the document (the painter on it has ended). Empty when it went out; else what
    // went wrong, in words for the user.
    virtual QString end() = 0;
};

// A PDF file: the document is kept in memory and written at end(), so that a folder or
// disk that refuses it is known and told.
class PdfPrinter : public Printer {
public:
    explicit PdfPrinter(QString path) : m_path(std::move(path)) {}
    ~PdfPrinter() override;
    QPagedPaintDevice* begin() override;
    QString end() override;
    int documents() const { return m_documents; }

private:
    QString m_path;
    QBuffer m_buffer;
    std::unique_ptr<QPagedPaintDevice> m_device;
    int m_documents = 0;
};

class DefaultPrinter : public Printer {
public:
    DefaultPrinter(MessageBoxes& messages, FileChooser& files);
    ~DefaultPrinter() override;
    QPagedPaintDevice* begin() override;
    QString end() override;

private:
    MessageBoxes& m_messages;
    FileChooser& m_files;
    std::unique_ptr<QPagedPaintDevice> m_device;  // the default printer
    std::unique_ptr<PdfPrinter> m_file;           // or the file the user named
};

// The file first offered for a saved recording or record, named `fileName`: in the user's
// documents folder, or the home folder when there is none to write in (never the program's
// folder, which an installation makes read-only).
QString proposedPdfFile(const QString& fileName = QStringLiteral("запись.pdf"));

// The path a save dialog named, ending as the kind of file it is: its own ending when that is
// one of `filters`' ("PDF (*.pdf)" gives ".pdf"), else the chosen filter's ending (or the
// first filter's) added.
QString savedPath(const ChosenFile& chosen, const QStringList& filters);

// Writes a PDF file of what `paint` paints (false: it could paint nothing). Empty when the
// file was written; else what went wrong, in words for the user.
QString writePdf(const QString& path, const std::function<bool(QPagedPaintDevice*)>& paint);

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

// What the heading line of every printed page says besides the time and the page number.
struct PrintHeading {
    QString experiment;
    QString student;  // left out while empty
};

// Paints the strips of a recording on the pages of a document, dark on white, each page under
// its heading line (the experiment, the student, `printedAt`, "стр. k из n"); false when the
// document could not be painted on.
bool paintRecording(QPagedPaintDevice* device, const RecordingPaper& paper, const PrintHeading& heading,
                    const QDateTime& printedAt);

// Paints an examination record on the pages of a document, dark on white: the program and
// version, experiment, time, student and group, the marked table (its heading row repeated
// on every page), the score, the tolerance when something was measured, and a line for the
// supervisor's signature; every page under the heading line of recordings. False when the
// document could not be painted on. Several records follow one another, each from a new page
// and numbering its own pages.
bool paintExamRecord(QPagedPaintDevice* device, const QList<ExamRecord>& records, const QDateTime& printedAt);

// A "Печать" button: asks whether the printer is on (under the given title), then has
// `paint` paint the document through the context's printer; No prints nothing. A printout
// that could not be made or saved is told in a message. True when the printout went out.
bool printDocument(ProgramContext& ctx, const QString& warningTitle,
                   const std::function<bool(QPagedPaintDevice*)>& paint);

// The "Печать" button of a recorder: the whole recording in strips (printDocument).
void printRecording(ProgramContext& ctx, const RecordingPaper& paper, const QString& warningTitle,
                    const PrintHeading& heading);
