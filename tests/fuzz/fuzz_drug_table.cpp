// Fuzz target: the drug table readers on any file in place of a database. Reading never
// crashes: it gives a table or one message.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "heart_drugs.h"
#include "oeso_drugs.h"
#include "rabbit_drugs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_drug_table";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    for (const char* file : {"F_Heart.mdb", "f_oeso.mdb", "Rab_Eye.mdb"}) {
        QFile f(QString::fromLatin1(file));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    QString error;
    QVector<HeartDrugRec> heart;
    if (!readHeartDrugs(&heart, &error) && error.isEmpty()) std::abort();
    error.clear();
    QVector<OesoDrugRec> oeso;
    if (!readOesoDrugs(&oeso, &error) && error.isEmpty()) std::abort();
    error.clear();
    QVector<RabDrugRec> rabbit;
    if (!readRabbitDrugs(&rabbit, &error) && error.isEmpty()) std::abort();
    return 0;
}
