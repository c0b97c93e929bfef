#pragma once

#include <QPixmap>

#include "data_files.h"

// A picture of the data folder, found whatever the letter case of its name; a null
// pixmap when it is missing.
inline QPixmap dataPicture(const QString& name) {
    const QString path = data_files::find(name);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}
