// The recording paper, its view, and the printout of a recording.
#include <QtTest>

#include "fakes.h"
#include "pdf_reading.h"
#include "printing.h"
#include "recording_paper.h"

namespace {

const QColor paperColour(0, 0, 80);
const QColor ink(Qt::white);

bool inked(const RecordingPaper& p, int x, int y) {
    return p.pixel(x, y) == ink;
}

const PrintHeading heading{QStringLiteral("Влияние веществ на изолированное сердце лягушки"), {}};

int pdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = f.readAll();
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        pages += pdf.mid(at + 11, 1) != "s";
    return pages;
}

// The part [x, x + w) × [y, y + h) of a paper, as shown.
QImage part(const RecordingPaper& p, int x, int y, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j) img.setPixelColor(i, j, p.pixel(x + i, y + j));
    return img;
}

int inkedPixels(const QImage& img) {
    int n = 0;
    for (int i = 0; i < img.width(); ++i)
        for (int j = 0; j < img.height(); ++j) n += img.pixelColor(i, j) != paperColour;
    return n;
}

}  // namespace

class TstPaper : public QObject {
    Q_OBJECT
private slots:
    void growsToTheLimitAndResets() {
        RecordingPaper p(497, 225, paperColour, ink);
        QCOMPARE(p.grow(40), 537);
        p.line({500, 10}, {520, 10});
        QVERIFY(inked(p, 510, 10));
        QCOMPARE(p.grow(20000), RecordingPaper::maxWidth);
        QVERIFY(p.full());
        QVERIFY(inked(p, 510, 10));  // growing keeps what is drawn
        QVERIFY(p.bytes() < 16 * 1024 * 1024);
        p.reset();
        QCOMPARE(p.width(), 497);
        QVERIFY(!p.full());
        QCOMPARE(p.pixel(480, 10), paperColour);
        p.grow(40);
        QCOMPARE(p.pixel(510, 10), paperColour);  // the reset erased beyond the first width too
    }

    // The paper keeps how much ink each pixel holds, one byte a pixel: a colour between the
    // ground and the ink comes back as it was drawn, to the nearest of 256 shades.
    void onePixelOneByte_data() {
        QTest::addColumn<QColor>("ground");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("smoked paper, ink") << QColor(0x1c, 0x2b, 0x3b) << QColor(Qt::white);
        QTest::newRow("smoked paper, ground") << QColor(0x1c, 0x2b, 0x3b) << QColor(0x1c, 0x2b, 0x3b);
        QTest::newRow("smoked paper, a third of the ink") << QColor(0x1c, 0x2b, 0x3b) << QColor(0x67, 0x72, 0x7d);
        QTest::newRow("black paper, grey") << QColor(Qt::black) << QColor(0x80, 0x80, 0x80);
    }
    void onePixelOneByte() {
        QFETCH(QColor, ground);
        QFETCH(QColor, drawn);
        RecordingPaper p(RecordingPaper::maxWidth, 169, ground, ink);
        p.setPixel({RecordingPaper::maxWidth - 1, 168}, drawn);
        const QColor back = p.pixel(RecordingPaper::maxWidth - 1, 168);
        for (auto channel : {&QColor::red, &QColor::green, &QColor::blue})
            QVERIFY(std::abs((back.*channel)() - (drawn.*channel)()) <= 1);
        QCOMPARE(p.pixel(0, 0), ground);
        const int tiles = (RecordingPaper::maxWidth + RecordingPaper::tileWidth - 1) / RecordingPaper::tileWidth;
        QVERIFY(p.bytes() <= qint64(tiles) * RecordingPaper::tileWidth * 169 + tiles * 1024);
    }

    void linesArcsAndText() {
        RecordingPaper p(1100, 225, paperColour, ink);
        p.line({500, 185}, {530, 185});  // across a tile boundary, both ends drawn
        for (int x = 500; x <= 530; ++x) QVERIFY2(inked(p, x, 185), qPrintable(QString::number(x)));
        QVERIFY(!inked(p, 499, 185) && !inked(p, 531, 185));
        p.line({40, 185}, {40, 100});  // vertical, upwards
        for (int y = 100; y <= 185; ++y) QVERIFY(inked(p, 40, y));

        p.line({1090, 50}, {1200, 50});  // nothing lands beyond the width
        QVERIFY(inked(p, 1099, 50));
        p.grow(200);
        QCOMPARE(p.pixel(1100, 50), paperColour);

        // Upper half of an ellipse: everything drawn lies inside its box and above the centre.
        p.arc(QPointF(300, 100), 10, 30, 0.0, M_PI, ink);
        int drawn = 0;
        for (int x = 285; x <= 315; ++x)
            for (int y = 60; y <= 110; ++y)
                if (inked(p, x, y)) {
                    ++drawn;
                    QVERIFY(x >= 289 && x <= 311 && y >= 69 && y <= 101);
                }
        QVERIFY(drawn > 20);
        QVERIFY(inked(p, 300, 70));  // the top of the arc

        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(8);
        p.text({600, 195}, QStringLiteral("Стнд 0.5"), font, ink);
        int textPixels = 0;
        for (int x = 600; x < 660; ++x)
            for (int y = 195; y < 212; ++y) textPixels += p.pixel(x, y) != paperColour;
        QVERIFY(textPixels > 20);
        for (int x = 590; x < 700; ++x) QCOMPARE(p.pixel(x, 194), paperColour);  // nothing above the top
    }

    // A label written near the pen runs past the paper's width: it shows whole once the
    // paper has grown, as if it had been written on a longer paper; at the paper's two ends
    // it is moved in whole.
    void labelsStayWhole_data() {
        QTest::addColumn<QString>("label");
        QTest::newRow("noradrenaline key") << QStringLiteral("NEpi");
        QTest::newRow("basal rate") << QStringLiteral("BHR72");
        QTest::newRow("dose") << QStringLiteral("Стнд 0.5 мкг");
    }
    void labelsStayWhole() {
        QFETCH(QString, label);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(8);
        RecordingPaper longer(2000, 169, paperColour, ink);
        longer.text({1000, 130}, label, font, ink);
        const QImage whole = part(longer, 990, 125, 120, 30);
        QVERIFY(inkedPixels(whole) > 20);

        RecordingPaper p(508, 169, paperColour, ink);  // the label crosses the width and a tile's edge
        p.text({500, 130}, label, font, ink);
        p.grow(200);
        QCOMPARE(part(p, 490, 125, 120, 30), whole);
        p.reset();
        p.grow(200);
        QCOMPARE(inkedPixels(part(p, 490, 125, 120, 30)), 0);  // clearing takes the overhang too

        RecordingPaper full(100, 169, paperColour, ink);
        full.grow(RecordingPaper::maxWidth);
        full.text({RecordingPaper::maxWidth - 8, 130}, label, font, ink);
        full.text({-12, 130}, label, font, ink);
        QCOMPARE(inkedPixels(part(full, RecordingPaper::maxWidth - 120, 125, 120, 30)), inkedPixels(whole));
        QCOMPARE(inkedPixels(part(full, 0, 125, 120, 30)), inkedPixels(whole));
    }

    void viewShowsTheVisiblePart() {
        RecordingPaper p(497, 100, paperColour, ink);
        p.grow(40);
        p.line({520, 20}, {520, 60});
        PaperView view(p);
        view.resize(497, 100);
        view.setPaperLeft(-40);  // the newest part in view
        const QImage shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(480, 40), ink);  // paper x 520 shows at view x 480
        QCOMPARE(shot.pixelColor(481, 40), paperColour);
        view.setPaperLeft(0);
        QCOMPARE(view.grab().toImage().pixelColor(480, 40), paperColour);
    }

    void strips_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("strips");
        QTest::newRow("fresh ileum paper") << 497 << 1 << 1;
        QTest::newRow("1111") << 1111 << 1 << 1;
        QTest::newRow("2100: two strips end here") << 2100 << 1 << 2;
        QTest::newRow("2220") << 2220 << 2 << 3;
        QTest::newRow("2221") << 2221 << 2 << 3;
        QTest::newRow("full paper") << 16383 << 9 << 18;
    }
    void strips() {
        QFETCH(int, width);
        QFETCH(int, pages);
        QFETCH(int, strips);
        const QVector<PrintStrip> s = printStrips(width);
        QCOMPARE(s.size(), strips);
        QCOMPARE(s.last().page + 1, pages);
        QCOMPARE(s[0].at, QPointF(800, 1410));
        QCOMPARE(s[0].sourceLeft, 3500.0 / 15);  // 233⅓ pixels
        QCOMPARE(s[0].sourceWidth, 14000.0 / 15);
        if (strips > 1) {
            QCOMPARE(s[1].at, QPointF(800, 7610));
            QCOMPARE(s[1].page, 0);
            QCOMPARE(s[1].sourceLeft, 17500.0 / 15);
        }
    }

    // Whatever its width, the recording from 233⅓ pixels to its end is printed, without gaps.
    void stripsCoverEveryRecording() {
        for (int width = 1; width <= RecordingPaper::maxWidth; width += 7) {
            const QVector<PrintStrip> s = printStrips(width);
            double covered = 3500.0 / 15;
            for (const PrintStrip& strip : s) {
                QCOMPARE(strip.sourceLeft, covered);
                covered += strip.sourceWidth;
            }
            QVERIFY(covered >= width);
            if (s.size() > 1) QVERIFY(s.last().sourceLeft < width);  // no empty strip at the end
        }
    }

    void printingAsksFirst() {
        TestContext t;
        RecordingPaper p(2221, 225, paperColour, ink);
        t.messages.answers = {MsgAnswer::No};
        printRecording(t.ctx, p, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН!"), heading);
        QCOMPARE(t.printer.documents(), 0);
        QVERIFY(!QFile::exists(t.printDir.filePath(QStringLiteral("printout.pdf"))));
        const MessageRequest& m = t.messages.shown.at(0);
        QCOMPARE(m.title, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН!"));
        QVERIFY(m.text.startsWith(QStringLiteral("Вы нажали кнопку 'Печать'.")));
        QCOMPARE(m.buttons, MsgButtons::YesNo);
        QCOMPARE(m.icon, MsgIcon::Critical);
        QCOMPARE(m.defaultAnswer, MsgAnswer::No);
    }

    // The printout is dark on white whatever the paper's colours on screen (the heart's is
    // black, the ileum's smoked), the traces where they are on the paper.
    void printsPagesIntoThePdf_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QColor>("ground");
        QTest::newRow("497, smoked paper") << 497 << 1 << QColor(0x1c, 0x2b, 0x3b);
        QTest::newRow("2221, black paper") << 2221 << 2 << QColor(Qt::black);
        QTest::newRow("16383, black paper") << 16383 << 9 << QColor(Qt::black);
    }
    void printsPagesIntoThePdf() {
        QFETCH(int, width);
        QFETCH(int, pages);
        QFETCH(QColor, ground);
        TestContext t;
        RecordingPaper p(width, 169, ground, ink);
        for (int x = 250; x < width; x += 40) p.line({x, 30}, {x, 140});
        t.messages.answers = {MsgAnswer::Yes};
        const QDateTime before = QDateTime::currentDateTime();
        printRecording(t.ctx, p, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН"), heading);
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(t.printer.documents(), 1);
        const QString pdf = t.printDir.filePath(QStringLiteral("printout.pdf"));
        QCOMPARE(pdfPages(pdf), pages);
        QCOMPARE(t.messages.shown.size(), 1);  // only the question: nothing went wrong

        // Each page is headed by the experiment, the time of printing and its number.
        const QStringList texts = pdfPageTexts(pdf);
        QCOMPARE(texts.size(), pages);
        for (int k = 0; k < pages; ++k) {
            const QString line = texts[k].trimmed().section(QLatin1Char('\n'), 0, 0).simplified();
            const QRegularExpressionMatch m =
                QRegularExpression(
                    QStringLiteral("^(.*) (\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d) стр\\. (\\d+) из (\\d+)$"))
                    .match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            QCOMPARE(m.captured(1), heading.experiment);
            const QDateTime printed = QDateTime::fromString(m.captured(2), QStringLiteral("dd.MM.yyyy HH:mm"));
            QVERIFY2(printed.secsTo(before) < 60 && printed <= after, qPrintable(m.captured(2)));
            QCOMPARE(m.captured(3).toInt(), k + 1);
            QCOMPARE(m.captured(4).toInt(), pages);
        }

        // Paper x shows at 800 twips + (x − the strip's left); a twip is 1/15 paper pixel.
        const QVector<PrintStrip> strips = printStrips(width);
        for (int page : {1, pages}) {
            const QImage image = pdfPage(pdf, page);
            QVERIFY(!image.isNull());
            for (const PrintStrip& s : strips) {
                if (s.page != page - 1) continue;
                const double left = s.at.x() / 15, top = s.at.y() / 15;
                const int right = std::min(width, int(s.sourceLeft + s.sourceWidth));
                auto grey = [&](double x, int y) {
                    return std::min(qGray(image.pixel(int(2 * (left + x - s.sourceLeft)), int(2 * (top + y)))),
                                    qGray(image.pixel(int(2 * (left + x - s.sourceLeft)) + 1, int(2 * (top + y)))));
                };
                int white = 0, all = 0;
                for (int x = int(s.sourceLeft) + 2; x < right - 2; ++x)
                    for (int y = 2; y < 167; y += 3, ++all) white += grey(x, y) > 200;
                QVERIFY2(white > all * 9 / 10,
                         qPrintable(QStringLiteral("page %1: %2 of %3 white").arg(page).arg(white).arg(all)));
                for (int x = 250; x < right; x += 40) {
                    if (x < s.sourceLeft + 2 || x > right - 3) continue;
                    const int darkest = std::min({grey(x - 1, 85), grey(x, 85), grey(x + 1, 85)});
                    QVERIFY2(darkest < 96,
                             qPrintable(QStringLiteral("page %1, paper x %2: %3").arg(page).arg(x).arg(darkest)));
                    QVERIFY(grey(x + 20, 85) > 200);  // between the traces, the paper is white
                    QVERIFY(grey(x, 10) > 200);       // above them too
                }
            }
        }
    }

    // The student's name follows the experiment once it is known; no dash stands for it before.
    void headingNamesTheStudentWhenKnown_data() {
        QTest::addColumn<QString>("student");
        QTest::addColumn<QString>("line");
        QTest::newRow("not known") << QString() << QStringLiteral("Опыт 05.03.2024 09:07 стр. 1 из 1");
        QTest::newRow("known") << QStringLiteral("Иванова А.")
                               << QStringLiteral("Опыт — Иванова А. 05.03.2024 09:07 стр. 1 из 1");
    }
    void headingNamesTheStudentWhenKnown() {
        QFETCH(QString, student);
        QFETCH(QString, line);
        QTemporaryDir dir;
        PdfPrinter printer(dir.filePath(QStringLiteral("a.pdf")));
        RecordingPaper p(497, 169, paperColour, ink);
        QVERIFY(paintRecording(printer.begin(), p, {QStringLiteral("Опыт"), student},
                               QDateTime(QDate(2024, 3, 5), QTime(9, 7, 40))));
        QCOMPARE(printer.end(), QString());
        const QStringList texts = pdfPageTexts(dir.filePath(QStringLiteral("a.pdf")));
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts[0].simplified(), line);
    }

    // A file that cannot be written (here a folder stands where it should go, which even the
    // administrator cannot overwrite) is told, not lost in silence.
    void aPrintoutThatCannotBeSavedIsTold() {
        TestContext t;
        const QString path = t.printDir.filePath(QStringLiteral("printout.pdf"));
        QVERIFY(QDir().mkdir(path));
        RecordingPaper p(2221, 169, paperColour, ink);
        t.messages.answers = {MsgAnswer::Yes};
        printRecording(t.ctx, p, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН"), heading);
        QCOMPARE(t.messages.shown.size(), 2);
        const MessageRequest& m = t.messages.shown.at(1);
        QVERIFY2(m.text.contains(QStringLiteral("не сохранена")) && m.text.contains(path), qPrintable(m.text));
        QCOMPARE(m.icon, MsgIcon::Critical);
        QCOMPARE(m.buttons, MsgButtons::Ok);
    }

    // The file offered for a recording lies in the user's documents, else the home folder;
    // never in the current folder, which is the program's data folder.
    void savedRecordingIsOfferedInTheUsersFolder() {
        QTemporaryDir home, dataFolder;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const QString oldCurrent = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        QDir::setCurrent(dataFolder.path());
        const QString withoutDocuments = proposedPdfFile();
        QDir(home.path()).mkdir(QStringLiteral("Documents"));
        const QString withDocuments = proposedPdfFile();
        QDir::setCurrent(oldCurrent);
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        if (oldConfig.isNull()) qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(withoutDocuments, home.filePath(QStringLiteral("запись.pdf")));
        QCOMPARE(withDocuments, home.filePath(QStringLiteral("Documents/запись.pdf")));
    }
};

QTEST_MAIN(TstPaper)
#include "tst_paper.moc"
