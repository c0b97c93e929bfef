#include "oeso_drugs.h"

#include "drug_table.h"

bool readOesoDrugs(QVector<OesoDrugRec>* drugs, QString* error) {
    DrugTable t;
    drugs->clear();
    if (t.read(QStringLiteral("f_oeso.mdb"), QStringLiteral("Oeso"),
               {QStringLiteral("Drug"), QStringLiteral("speed1"), QStringLiteral("speed2"), QStringLiteral("time1"),
                QStringLiteral("time2")},
               255)) {
        for (int r = 0; r < t.rowCount() && t.ok(); ++r) {
            OesoDrugRec d{t.text(r, QStringLiteral("Drug")), t.single(r, QStringLiteral("speed1")),
                          t.single(r, QStringLiteral("speed2")), t.single(r, QStringLiteral("time1")),
                          t.single(r, QStringLiteral("time2"))};
            // A zero interval would spin the seed's timer, a zero step never moves the seed.
            if (d.time1 < 1) t.fail(r, QStringLiteral("time1"), QStringLiteral("интервал должен быть не меньше 1 мс"));
            if (d.time2 < d.time1) t.fail(r, QStringLiteral("time2"), QStringLiteral("значение меньше, чем time1"));
            // The seed's timer takes at most 65535 ms, its step at most 255 twips.
            if (d.time2 > 65535)
                t.fail(r, QStringLiteral("time2"), QStringLiteral("интервал должен быть не больше 65535 мс"));
            if (d.speed1 < 1) t.fail(r, QStringLiteral("speed1"), QStringLiteral("шаг должен быть не меньше 1"));
            if (d.speed2 < d.speed1) t.fail(r, QStringLiteral("speed2"), QStringLiteral("значение меньше, чем speed1"));
            if (d.speed2 > 255) t.fail(r, QStringLiteral("speed2"), QStringLiteral("шаг должен быть не больше 255"));
            drugs->push_back(d);
        }
    }
    if (!t.ok()) {
        drugs->clear();
        *error = t.error();
    }
    return t.ok();
}
