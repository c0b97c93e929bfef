// The recording paper: the cost of one recorder step (grow one pixel, draw one stroke) at
// the start and at the end of a full paper, the memory of a full paper, and the time to
// print a full paper into a PDF file.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "median.h"
#include "printing.h"
#include "recording_paper.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = 5;
    std::vector<double> startMedians, endMedians, prints;
    qint64 bytes = 0;
    for (int run = 0; run < runs; ++run) {
        RecordingPaper paper(329, 169, Qt::black, Qt::white);
        std::vector<double> steps;
        steps.reserve(RecordingPaper::maxWidth);
        QElapsedTimer clock;
        int y = 50;
        while (!paper.full()) {
            clock.start();
            paper.grow(1);
            const int x = paper.width() - 10;
            paper.line({x, y}, {x, y + 30});
            steps.push_back(clock.nsecsElapsed() / 1000.0);
            y = 50 + (y + 7) % 5;
        }
        startMedians.push_back(median(std::vector<double>(steps.begin(), steps.begin() + 1000)));
        endMedians.push_back(median(std::vector<double>(steps.end() - 1000, steps.end())));
        bytes = paper.bytes();

        QTemporaryDir dir;
        PdfPrinter pdf(dir.filePath(QStringLiteral("paper.pdf")));
        clock.start();
        paintRecording(pdf.begin(), paper, {QStringLiteral("Опыт"), {}}, QDateTime::currentDateTime());
        pdf.end();
        prints.push_back(clock.elapsed());
    }
    std::printf("recorder step (grow 1 px + one stroke), median of %d runs:\n", runs);
    std::printf("  first 1000 steps: %.2f us   last 1000 steps: %.2f us\n", median(startMedians), median(endMedians));
    std::printf("full paper 16383 x 169: %.1f MB (16383 x 225: %.1f MB)\n", bytes / 1048576.0,
                bytes / 1048576.0 * 225 / 169);
    std::printf("printout of the full paper to PDF: %.0f ms (median of %d)\n", median(prints), runs);
    return 0;
}
