#pragma once

#include <QApplication>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QWidget>

#include "csv.h"
#include "journal.h"

// The examination lines of the journal at `path` as their fields, without the time and the
// check columns: program and version; experiment; student; group; unknown; of; given;
// answer; verdict; measured values.
inline QList<QStringList> journalFields(const QString& path) {
    QFile file(path);
    QList<QStringList> rows;
    if (!file.open(QIODevice::ReadOnly)) return rows;
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split(QString::fromLatin1(csv::lineEnd));
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].isEmpty()) rows << csv::split(lines[i]).value_or(QStringList{}).mid(1, 10);
    return rows;
}

// The same lines as a supervisor reads them, each one's fields joined by " | ". Empty when
// the journal is not intact under `password`, so a test comparing lines also checks the chain.
inline QStringList journalLines(const QString& path, const QString& password) {
    if (!journal::check(path, password).allIntact()) return {};
    QStringList lines;
    for (const QStringList& fields : journalFields(path)) lines << fields.join(QStringLiteral(" | "));
    return lines;
}

// One line as journalFields() reads it, for the test student "Иванов Иван" of group 101.
inline QStringList expectedJournalFields(const QString& program, const QString& experiment, int unknown, int of,
                                         const QString& given, const QString& answer, bool right,
                                         const QString& measured) {
    return QStringList{program,
                       experiment,
                       QStringLiteral("Иванов Иван"),
                       QStringLiteral("101"),
                       QString::number(unknown),
                       QString::number(of),
                       given,
                       answer,
                       right ? QStringLiteral("верно") : QStringLiteral("неверно"),
                       measured};
}

// The open marked results window, or nullptr.
inline QWidget* examResultsWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Frm_Exam_Results") && w->isVisible()) return w;
    return nullptr;
}
