#pragma once

#include <QFile>
#include <QStringList>

#include "csv.h"
#include "journal.h"

// The examination lines of the journal at `path` as a supervisor reads them: program and
// version, experiment, student, group, unknown, of, given, answer, verdict, measured (the
// time, the key, the place and the check code left out), joined by " | ". Empty when the
// journal is not intact under `password`, so a test comparing lines also checks the chain.
inline QStringList journalLines(const QString& path, const QString& password) {
    if (!journal::check(path, password).allIntact()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList result;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const std::optional<QStringList> fields = csv::split(lines[i].trimmed());
        if (!fields || fields->size() < 11) return {};
        result << fields->mid(1, 10).join(QStringLiteral(" | "));
    }
    return result;
}
