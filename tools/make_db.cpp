// Builds a database file of the programs from its readable SQL source:
//   make_db <out file> <source.sql>
// The file is made anew; every statement of the source runs in one transaction.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

namespace {

// Splits SQL text into statements at semicolons outside quotes, dropping "--" comments.
QStringList statements(const QString& sql) {
    QStringList result;
    QString current;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            current += c;
            if (c == quote) quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            current += c;
        } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
            while (i < sql.size() && sql[i] != u'\n') ++i;
            current += u'\n';
        } else if (c == u';') {
            if (!current.trimmed().isEmpty()) result << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty()) result << current.trimmed();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_db <out file> <source.sql>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QFile source(QString::fromLocal8Bit(argv[2]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_db: cannot read %s\n", argv[2]);
        return 1;
    }
    QFile::remove(out);
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(out);
        if (!db.open()) {
            std::fprintf(stderr, "make_db: cannot create %s\n", argv[1]);
            return 1;
        }
        db.transaction();
        QSqlQuery query(db);
        for (const QString& statement : statements(QString::fromUtf8(source.readAll()))) {
            if (!query.exec(statement)) {
                std::fprintf(stderr, "make_db: %s: %s\n  in: %s\n", argv[2], qPrintable(query.lastError().text()),
                             qPrintable(statement));
                status = 1;
                break;
            }
        }
        if (status == 0)
            db.commit();
        else
            db.rollback();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    if (status != 0) QFile::remove(out);
    return status;
}
