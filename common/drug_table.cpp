#include "drug_table.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <cmath>

#include "data_files.h"

namespace {

QString quoted(const QString& name) {
    return QStringLiteral("«%1»").arg(name);
}

// SQLite explains its faults in English: the reason goes to the log, the user reads the
// Russian message alone.
void logSqlError(const QString& file, const QSqlError& error) {
    qWarning("%s: %s", qPrintable(file), qPrintable(error.text()));
}

bool binary(const QVariant& v) {
    return v.typeId() == QMetaType::QByteArray;
}

// A value as a message shows it: its text in quotes; bytes stored as such are no text to show.
QString shown(const QVariant& v) {
    return binary(v) ? QStringLiteral("(двоичные данные)") : quoted(v.toString());
}

// A number from a value of any storage class: SQLite keeps numbers typed in quotes as text.
// Bytes stored as such are no number, whatever they spell.
bool toNumber(const QVariant& v, double* out) {
    bool ok = false;
    *out = 0;
    if (binary(v)) return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        *out = s.toDouble(&ok);  // QString::toDouble reads the C locale's point, whatever the user's locale
    } else {
        *out = v.toDouble(&ok);
    }
    return ok && std::isfinite(*out);
}

}  // namespace

bool DrugTable::read(const QString& file, const QString& table, const QStringList& fields, int maxRows) {
    m_file = file;
    m_table = table;
    m_fields = fields;
    m_rows.clear();
    m_error.clear();

    const QString path = data_files::find(file);
    if (path.isEmpty()) {
        m_error =
            QStringLiteral("Не найден файл данных %1 в папке программы\n%2.").arg(quoted(file), QDir::currentPath());
        return false;
    }

    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        const QString damaged =
            QStringLiteral("Файл данных %1 повреждён или не является базой данных.").arg(quoted(file));
        if (!db.open()) {
            logSqlError(file, db.lastError());
            m_error = QStringLiteral("Не удаётся открыть файл данных %1.").arg(quoted(file));
        } else if (QSqlQuery schema(db); !schema.exec(QStringLiteral("SELECT name FROM sqlite_master"))) {
            // SQLite opens any file; the first read tells whether it is a database.
            logSqlError(file, schema.lastError());
            m_error = damaged;
        } else if (db.tables().isEmpty()) {
            // An empty file reads as a database without tables: no drug table was ever written there.
            m_error = damaged;
        } else if (!db.tables().contains(table, Qt::CaseInsensitive)) {
            m_error = QStringLiteral("В файле данных %1 нет таблицы %2.").arg(quoted(file), quoted(table));
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(
                    QStringLiteral("SELECT * FROM \"%1\"").arg(QString(table).replace(u'"', QStringLiteral("\"\""))))) {
                logSqlError(file, query.lastError());
                m_error = damaged;
            } else {
                const QSqlRecord record = query.record();
                QVector<int> columns;
                for (const QString& field : fields) {
                    const int c = record.indexOf(field);
                    if (c < 0) {
                        m_error = QStringLiteral("В таблице %1 файла данных %2 нет поля %3.")
                                      .arg(quoted(table), quoted(file), quoted(field));
                        break;
                    }
                    columns << c;
                }
                while (m_error.isEmpty() && query.next()) {
                    if (m_rows.size() == maxRows) {
                        m_error =
                            QStringLiteral(
                                "В таблице %1 файла данных %2 больше %3 строк: программа может прочитать не больше %3.")
                                .arg(quoted(table), quoted(file))
                                .arg(maxRows);
                        break;
                    }
                    QVector<QVariant> row;
                    row.reserve(columns.size());
                    for (int c : columns) row << query.value(c);
                    m_rows << row;
                }
                if (m_error.isEmpty() && query.lastError().isValid()) {
                    logSqlError(file, query.lastError());
                    m_error = damaged;
                }
                if (m_error.isEmpty() && m_rows.isEmpty())
                    m_error = QStringLiteral("Таблица %1 в файле данных %2 пуста.").arg(quoted(table), quoted(file));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!m_error.isEmpty()) m_rows.clear();
    return m_error.isEmpty();
}

void DrugTable::fail(int row, const QString& field, const QString& what) {
    if (!m_error.isEmpty()) return;
    m_error = QStringLiteral("Ошибка в файле данных %1, таблица %2, строка %3, поле %4: %5.")
                  .arg(quoted(m_file), quoted(m_table))
                  .arg(row + 1)
                  .arg(quoted(field), what);
}

const QVariant* DrugTable::value(int row, const QString& field) {
    const int c = m_fields.indexOf(field);
    Q_ASSERT(c >= 0 && row >= 0 && row < m_rows.size());
    const QVariant* v = &m_rows[row][c];
    if (v->isNull()) {
        fail(row, field, QStringLiteral("значение не задано (пусто)"));
        return nullptr;
    }
    return v;
}

const QVariant* DrugTable::textValue(int row, const QString& field) {
    const QVariant* v = value(row, field);
    if (v && binary(*v)) {
        fail(row, field, QStringLiteral("значение %1 не текст").arg(shown(*v)));
        return nullptr;
    }
    return v;
}

QString DrugTable::text(int row, const QString& field) {
    const QVariant* v = textValue(row, field);
    return v ? v->toString().trimmed() : QString();
}

QString DrugTable::textLeft(int row, const QString& field, int count) {
    return text(row, field).left(count);
}

QChar DrugTable::firstChar(int row, const QString& field, bool trimmed) {
    const QVariant* v = textValue(row, field);
    if (!v) return {};
    const QString s = trimmed ? v->toString().trimmed() : v->toString();
    return s.isEmpty() ? QChar() : s.front();
}

bool DrugTable::wholeNumber(int row, const QString& field, qint64 lo, qint64 hi, qint64* out) {
    *out = 0;
    const QVariant* v = value(row, field);
    if (!v) return false;
    double d = 0;
    if (!toNumber(*v, &d)) {
        fail(row, field, QStringLiteral("значение %1 не число").arg(shown(*v)));
        return false;
    }
    if (d != std::floor(d)) {
        fail(row, field, QStringLiteral("значение %1 не целое число").arg(v->toString()));
        return false;
    }
    if (d < lo || d > hi) {
        fail(row, field,
             QStringLiteral("значение %1 вне допустимых пределов (%2…%3)").arg(v->toString()).arg(lo).arg(hi));
        return false;
    }
    *out = static_cast<qint64>(d);
    return true;
}

qint16 DrugTable::int16(int row, const QString& field) {
    qint64 n = 0;
    wholeNumber(row, field, -32768, 32767, &n);
    return static_cast<qint16>(n);
}

quint8 DrugTable::byte(int row, const QString& field) {
    qint64 n = 0;
    wholeNumber(row, field, 0, 255, &n);
    return static_cast<quint8>(n);
}

float DrugTable::single(int row, const QString& field) {
    const QVariant* v = value(row, field);
    if (!v) return 0;
    double d = 0;
    if (!toNumber(*v, &d)) {
        fail(row, field, QStringLiteral("значение %1 не число").arg(shown(*v)));
        return 0;
    }
    if (std::fabs(d) > 3.402823466e38) {
        fail(row, field, QStringLiteral("значение %1 слишком велико").arg(v->toString()));
        return 0;
    }
    return static_cast<float>(d);
}
