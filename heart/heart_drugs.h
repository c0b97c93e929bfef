#pragma once

#include <QString>
#include <QVector>

// One drug of the heart table.
struct HeartDrugRec {
    QString Name;
    QString key;                   // at most 6 characters: "Epi", "ACh", "CaCl", ...
    quint8 L_StART = 0, L_End = 0;  // stroke ends while the drug acts, pixels from the top
    float Dose = 0;                // µg, shown only
    quint8 hr_START = 0, hr_END = 0;  // range of the heart-rate change, beats per minute
    QChar tone;                    // 'I' raised, 'D' lowered, else unchanged
    QChar hr_indicator;            // 'I', 'D', 'O' arrest, 'P' held, else no change
};

// Reads table "heart_drug" of "F_Heart.mdb" (at most 10 rows); false with a message on error.
bool readHeartDrugs(QVector<HeartDrugRec>* drugs, QString* error);
