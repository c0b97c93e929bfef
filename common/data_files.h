#pragma once

#include <QString>
#include <QStringList>

// The data folder holds what a program opens by bare file name: drug tables, help
// files, pictures and cursors. It lies at ../share/morvane from the executable, both in
// the build tree and where the programs are installed.
namespace data_files {

// Makes the data folder the current folder; false (and the reason in *error) when
// it cannot be found.
bool enterDataFolder(QString* error);

// The absolute path of a file of the current folder, whatever the letter case of its
// name on disk; empty when there is none.
QString find(const QString& name);

// Names from the list that are not in the current folder.
QStringList missing(const QStringList& names);

}  // namespace data_files
