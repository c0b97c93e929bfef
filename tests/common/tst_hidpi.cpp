// Pictures on a screen of two device pixels to a logical pixel: the test runs at twice the
// scale, and compares what the windows show with a run of itself at the ordinary scale.
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

#include "data_files.h"
#include "experiment_home.h"
#include "fakes.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "launcher_windows.h"
#include "pictures.h"
#include "setup_picture.h"

namespace {

const char* sizesOption = "--picture-sizes";

// The picture files of the data folder, without the drawings at twice the size.
QStringList pictureFiles() {
    QStringList names = QDir().entryList({QStringLiteral("*.png"), QStringLiteral("*.bmp"), QStringLiteral("*.ico")},
                                         QDir::Files, QDir::Name);
    names.removeIf([](const QString& n) { return n.contains(QStringLiteral("@2x")); });
    return names;
}

// Every picture the windows of both programs show, one line each: window, label and the
// picture's size in logical pixels.
QStringList shownPictureSizes() {
    TestContext t;
    MorvaneRunStates runs;
    HeartRunState heart;
    registerMorvaneWindows(t.ctx, runs);
    registerHeartWindows(t.ctx, heart);
    Navigator& nav = t.ctx.navigator;
    QStringList lines;
    auto list = [&](QWidget* w, const QString& name) {
        if (!w) {
            lines << name + QStringLiteral(" did not open");
            return;
        }
        for (const QLabel* l : w->findChildren<QLabel*>()) {
            const QPixmap p = l->pixmap();
            if (p.isNull()) continue;
            const QSizeF size = p.deviceIndependentSize();
            lines << QStringLiteral("%1/%2 %3 x %4").arg(name, l->objectName()).arg(size.width()).arg(size.height());
        }
    };
    for (const char* name : {"Frm_morvane", "Frm_Selection", "HeartMsg"})
        list(nav.open(windowNamed(QString::fromLatin1(name))), QString::fromLatin1(name));
    for (const char* name : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Heart_Main"}) {
        auto* home = qobject_cast<ExperimentHome*>(nav.open(windowNamed(QString::fromLatin1(name))));
        list(home, QString::fromLatin1(name));
        if (!home) continue;
        home->findChild<QPushButton*>(home->member().tutName)->click();
        list(nav.find(home->member().experimentWindow), home->member().experimentWindow.text());
    }
    return lines;
}

}  // namespace

class TstHiDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(data_files::enterDataFolder(&error), qPrintable(error));
        QCOMPARE(qGuiApp->devicePixelRatio(), 2.0);
    }

    // Each picture comes drawn at twice its size and is loaded so on this screen, covering
    // the same logical size; asked for one device pixel a pixel, it is the picture file
    // itself. Cursors keep one size: the window system takes their hot spot in device pixels.
    void picturesForTheScreen() {
        const QStringList names = pictureFiles();
        QVERIFY(names.size() > 30);
        for (const QString& name : names) {
            const QImage file(name);
            QVERIFY2(!file.isNull(), qPrintable(name));
            const QPixmap plain = dataPicture(name, 1.0);
            QCOMPARE(plain.devicePixelRatio(), 1.0);
            QVERIFY2(plain.toImage().convertToFormat(file.format()) == file, qPrintable(name));

            const QPixmap sharp = dataPicture(name);
            if (name.endsWith(QStringLiteral(".ico"))) {
                QVERIFY2(!QFile::exists(twiceSizeName(name)), qPrintable(name));
                QCOMPARE(sharp.devicePixelRatio(), 1.0);
                QCOMPARE(sharp.size(), file.size());
                continue;
            }
            const QImage twice(twiceSizeName(name));
            QVERIFY2(!twice.isNull(), qPrintable(name));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            QCOMPARE(sharp.size(), 2 * file.size());
            QCOMPARE(sharp.deviceIndependentSize(), QSizeF(file.size()));
            QVERIFY2(sharp.toImage().convertToFormat(twice.format()) == twice, qPrintable(name));
        }
        QVERIFY(dataPicture(QStringLiteral("no_such_picture.png")).isNull());
    }

    // The heart's apparatus is held at the screen's ratio, drawn from the picture at twice
    // its size; the lever drawn twice at one height still leaves it as it was.
    void heartSetupAtTheScreensRatio() {
        SetupPicture setup;
        setup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&setup));
        QCOMPARE(setup.size(), QSize(220, 330));
        const QImage before = setup.canvas();
        QCOMPARE(before.devicePixelRatio(), 2.0);
        QCOMPARE(before.size(), QSize(440, 660));

        const QImage art = QImage(QStringLiteral("heart_setup@2x.png")).convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < art.height(); y += 3)
            for (int x = 0; x < art.width(); x += 3) {
                const QRgb a = art.pixel(x, y);
                if (qAlpha(a) < 255) continue;
                ++opaque;
                QVERIFY2(before.pixel(x, y) == a, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
        QVERIFY(opaque > 1000);

        setup.invertLever(4250);
        QVERIFY(setup.canvas() != before);
        setup.invertLever(4250);
        QCOMPARE(setup.canvas(), before);

        // Shown as held (below the heart, which is a picture of its own over the apparatus).
        const QPixmap shown = setup.grab();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        const QRect belowHeart(0, 340, 440, 320);
        QCOMPARE(shown.toImage().convertToFormat(before.format()).copy(belowHeart), before.copy(belowHeart));
    }

    // At twice the scale every picture of every window covers the logical size it covers at
    // the ordinary scale: nothing is shrunk to half or cut off.
    void picturesKeepTheirSizeAtTwiceTheScale() {
        QProcess ordinary;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
        ordinary.setProcessEnvironment(env);
        ordinary.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(sizesOption)});
        QVERIFY(ordinary.waitForFinished(60000));
        QCOMPARE(ordinary.exitCode(), 0);
        const QStringList atOne =
            QString::fromUtf8(ordinary.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList atTwo = shownPictureSizes();
        QVERIFY(atOne.size() > 20);
        QCOMPARE(atTwo, atOne);
    }
};

int main(int argc, char** argv) {
    const bool sizesOnly = argc > 1 && qstrcmp(argv[1], sizesOption) == 0;
    if (!sizesOnly) qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    if (sizesOnly) {
        QString error;
        if (!data_files::enterDataFolder(&error)) return 1;
        for (const QString& line : shownPictureSizes()) std::printf("%s\n", qPrintable(line));
        return 0;
    }
    TstHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
