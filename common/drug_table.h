#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Reads a drug table from one of the programs' database files (SQLite), opened by bare
// name in the current folder, rows in table order. Each field is read by name and
// converted as the experiment needs; the first thing that is wrong (missing, empty or
// damaged file, missing table or field, an empty table, too many rows, a value that is
// empty, bytes instead of a text or number, not a number or out of its type's range)
// becomes one message in Russian naming the file, the table, the row and the field.
// SQLite's own explanations, in English, go to the log and not into the message.
class DrugTable {
public:
    // Reads every row of `table`; false, with error() set, when something is wrong.
    // `fields` must all exist; more than `maxRows` rows is an error.
    bool read(const QString& file, const QString& table, const QStringList& fields, int maxRows);

    int rowCount() const { return m_rows.size(); }

    // Conversions of row `row` (from 0). After a failed conversion error() tells why and
    // the value returned is 0 or empty; later conversions keep the first error.
    QString text(int row, const QString& field);                   // trimmed text
    QString textLeft(int row, const QString& field, int count);    // trimmed, first `count` characters
    QChar firstChar(int row, const QString& field, bool trimmed);  // null QChar for an empty text
    qint16 int16(int row, const QString& field);
    quint8 byte(int row, const QString& field);
    float single(int row, const QString& field);

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    // Records a rule of the experiment that a row breaks (e.g. an upper end below the lower).
    void fail(int row, const QString& field, const QString& what);

private:
    const QVariant* value(int row, const QString& field);
    const QVariant* textValue(int row, const QString& field);  // null also for bytes stored as such
    bool wholeNumber(int row, const QString& field, qint64 lo, qint64 hi, qint64* out);

    QString m_file, m_table;
    QStringList m_fields;
    QVector<QVector<QVariant>> m_rows;
    QString m_error;
};
