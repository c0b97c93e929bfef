#pragma once

#include <QString>
#include <QVector>

// One row of the oesophagus drug table: the seed's step range (twips per tick, used in
// the examination) and the timer interval range (ms) while the drug acts.
struct OesoDrugRec {
    QString Drug;
    float speed1 = 0, speed2 = 0;
    float time1 = 0, time2 = 0;
};

// Reads table "Oeso" of "f_oeso.mdb" (at most 255 rows); false with a message on error.
bool readOesoDrugs(QVector<OesoDrugRec>* drugs, QString* error);
