#pragma once

#include <QString>
#include <QVector>

// One substance of the rabbit-eye table.
struct RabDrugRec {
    QString D_Name;
    QChar L_Reflex;   // 'Y' present, 'N' absent, 'B' present only in a wide enough pupil
    QChar C_Reflex;   // 'Y' present, anything else absent
    QChar I_Tension;  // 'N' normal, 'D' decreased, 'I' increased
    qint16 P_size1 = 0, P_size2 = 0;  // range of the pupil change; positive widens
};

// Reads table "R_Eye" of "Rab_Eye.mdb" (at most 254 rows); false with a message on error.
bool readRabbitDrugs(QVector<RabDrugRec>* drugs, QString* error);
