#pragma once

#include <QString>
#include <QVector>

// The light reflex of an eye under a substance ("L_Reflex" of the table).
enum class LightReflexRule : quint8 {
    Present,    // "Y"
    Absent,     // "N", and any other letter
    WhileWide,  // "B": present only while the pupil is wide enough to narrow under the light
};

// What a substance does to the intraocular tension ("I_Tension" of the table).
enum class TensionEffect : quint8 {
    Normal,     // "N", and any other letter: the rabbit's own tension stays
    Decreased,  // "D"
    Increased,  // "I"
};

// One substance of the rabbit-eye table, its letters read into what they mean.
struct RabDrugRec {
    QString D_Name;
    LightReflexRule L_Reflex = LightReflexRule::Absent;
    bool C_Reflex = false;  // the corneal reflex stays: "Y"; any other letter takes it away
    TensionEffect I_Tension = TensionEffect::Normal;
    qint16 P_size1 = 0, P_size2 = 0;  // range of the pupil change; positive widens
};

// Reads table "R_Eye" of "Rab_Eye.mdb" (at most 254 rows); false with a message on error.
bool readRabbitDrugs(QVector<RabDrugRec>* drugs, QString* error);
