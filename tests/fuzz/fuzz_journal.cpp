// Fuzz target: the journal's check and append on any file in place of a journal. Neither
// crashes, and appending never changes what the file held before.
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "exam_record.h"
#include "journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_journal";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    const QByteArray before(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // A journal may ask for millions of iterations; the fuzzer learns nothing from waiting.
    static const QRegularExpression costly(QStringLiteral("итераций;\"?0*[1-9][0-9]{2}"));
    if (QString::fromUtf8(before.left(before.indexOf('\n'))).contains(costly)) return 0;

    const QString path = dir.filePath(QStringLiteral("journal.csv"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(before);
    f.close();

    for (const char* password : {"P", "Q"}) {
        const journal::CheckResult result = journal::check(path, QString::fromLatin1(password));
        if (!result.error.isEmpty() && result.allIntact()) std::abort();
        for (const journal::LineResult& r : result.lines)
            if (r.line < 2) std::abort();
    }

    ExamRecord record;
    record.program = QStringLiteral("fuzz");
    record.student = {QStringLiteral("Иванов"), QStringLiteral("Иван"), QString()};
    record.addMeasurement(QStringLiteral("1"), QStringLiteral("1"), 0.0f);
    const QString fault = journal::append(path, record, QStringLiteral("P"), 1);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray after = f.readAll();
    f.close();
    if (fault.isEmpty() ? !after.startsWith(before) : after != before) std::abort();
    return 0;
}
