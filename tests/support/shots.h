#pragma once

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "data_files.h"

// What the picture-taking tools share: the programs' font, the folder the pictures go to,
// the data folder, and taking a picture of a window.
namespace shots {

inline QString& folder() {
    static QString path;
    return path;
}

// After the QApplication: false when the data folder cannot be found.
inline bool start(int argc, char** argv, const QString& defaultFolder) {
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);
    folder() = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : defaultFolder).absolutePath();
    QDir().mkpath(folder());
    QString error;
    if (data_files::enterDataFolder(&error)) return true;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
}

// The window on screen with its layout settled, as a person would see it: the events that
// resize and lay out controls are posted, so a picture taken at once can show a frame
// half laid out.
inline void settle(QWidget* w) {
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) std::fprintf(stderr, "%s never showed\n", qPrintable(w->objectName()));
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

inline void shoot(QWidget* w, const QString& name) {
    if (!w) {
        std::fprintf(stderr, "no window for %s\n", qPrintable(name));
        return;
    }
    settle(w);
    w->grab().save(QDir(folder()).filePath(name + QStringLiteral(".png")));
    std::printf("%s: %d x %d\n", qPrintable(name), w->width(), w->height());
}

inline void click(QWidget* w, const QString& name) {
    w->findChild<QPushButton*>(name)->click();
}
inline void click(QWidget* w, const char* name) {
    click(w, QString::fromLatin1(name));
}

}  // namespace shots
