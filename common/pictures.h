#pragma once

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStringList>

#include "data_files.h"

// The picture drawn at twice the size of `name`, for screens of two device pixels to a
// logical one: "heart_setup@2x.png" beside "heart_setup.png". Cursors (.ico) have none: the
// window system takes a cursor's hot spot in device pixels.
inline QString twiceSizeName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name + QStringLiteral("@2x") : name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

// The device pixels to a logical pixel of the screens the programs show on.
inline qreal screenPixelRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// A picture of the data folder, found whatever the letter case of its name; a null pixmap
// when it is missing. On a screen of more than one device pixel to a logical pixel it is the
// picture drawn at twice the size, with that ratio, so that it covers the same logical size,
// sharp; the picture itself when there is no such drawing.
inline QPixmap dataPicture(const QString& name, qreal ratio = screenPixelRatio()) {
    if (ratio > 1) {
        const QString twice = data_files::find(twiceSizeName(name));
        QPixmap sharp;
        if (!twice.isEmpty() && sharp.load(twice)) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    const QString path = data_files::find(name);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

// The pictures among `names` that are in the data folder but cannot be decoded (damaged,
// empty, not a picture at all). Missing files and files of other kinds are passed over.
inline QStringList brokenPictures(const QStringList& names) {
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    QStringList broken;
    for (const QString& name : names) {
        const QString path = data_files::find(name);
        if (path.isEmpty() || !formats.contains(QFileInfo(name).suffix().toLower().toLatin1())) continue;
        if (QImageReader(path).read().isNull()) broken << name;
    }
    return broken;
}
