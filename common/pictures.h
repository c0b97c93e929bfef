#pragma once

#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QStringList>

#include "data_files.h"

// A picture of the data folder, found whatever the letter case of its name; a null
// pixmap when it is missing.
inline QPixmap dataPicture(const QString& name) {
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
