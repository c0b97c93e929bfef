#include "data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace data_files {

bool enterDataFolder(QString* error) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/morvane");
    if (QFileInfo(folder).isDir() && QDir::setCurrent(folder)) return true;
    if (error) *error = QStringLiteral("Не найдена папка данных программы:\n%1").arg(QDir::cleanPath(folder));
    return false;
}

QString find(const QString& name) {
    const QDir dir = QDir::current();
    if (QFileInfo(dir.filePath(name)).isFile()) return dir.absoluteFilePath(name);
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.absoluteFilePath(entry);
    return {};
}

QStringList missing(const QStringList& names) {
    QStringList result;
    for (const QString& name : names)
        if (find(name).isEmpty()) result << name;
    return result;
}

}  // namespace data_files
