#pragma once
// Reading a printout back with poppler's tools (poppler-utils, installed by scripts/prepare.sh).

#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// Runs one of the tools; its standard output.
inline QByteArray poppler(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) qWarning("%s failed", qPrintable(tool));
    return p.readAllStandardOutput();
}

// Page `page` (from 1) of a PDF as a grey picture at 192 dpi: a paper pixel (1/96 inch) is two
// pixels square, so that a one-pixel line is dark in at least one of them however it is placed.
inline QImage pdfPage(const QString& pdf, int page) {
    QTemporaryDir dir;
    const QString n = QString::number(page), out = dir.filePath(QStringLiteral("page"));
    poppler(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("192"), QStringLiteral("-gray"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, out});
    return QImage(out + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// The text of each page of a PDF, laid out as printed.
inline QStringList pdfPageTexts(const QString& pdf) {
    QStringList pages =
        QString::fromUtf8(poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}
