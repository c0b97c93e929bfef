#include "rabbit_drugs.h"

#include "drug_table.h"

namespace {

LightReflexRule lightReflex(QChar c) {
    if (c == u'Y') return LightReflexRule::Present;
    if (c == u'B') return LightReflexRule::WhileWide;
    return LightReflexRule::Absent;
}

TensionEffect tension(QChar c) {
    if (c == u'D') return TensionEffect::Decreased;
    if (c == u'I') return TensionEffect::Increased;
    return TensionEffect::Normal;
}

}  // namespace

bool readRabbitDrugs(QVector<RabDrugRec>* drugs, QString* error) {
    DrugTable t;
    drugs->clear();
    if (t.read(QStringLiteral("Rab_Eye.mdb"), QStringLiteral("R_Eye"),
               {QStringLiteral("D_Name"), QStringLiteral("L_Reflex"), QStringLiteral("C_Reflex"),
                QStringLiteral("I_Tension"), QStringLiteral("P_size1"), QStringLiteral("P_size2")},
               254)) {
        for (int r = 0; r < t.rowCount() && t.ok(); ++r) {
            // The reflex letters are read trimmed, the tension letter as it stands.
            RabDrugRec d{t.text(r, QStringLiteral("D_Name")),
                         lightReflex(t.firstChar(r, QStringLiteral("L_Reflex"), true)),
                         t.firstChar(r, QStringLiteral("C_Reflex"), true) == u'Y',
                         tension(t.firstChar(r, QStringLiteral("I_Tension"), false)),
                         t.int16(r, QStringLiteral("P_size1")),
                         t.int16(r, QStringLiteral("P_size2"))};
            // The narrowest pupil box is about 500 twips; a change below -99 would turn it inside out.
            if (d.P_size1 < -99) t.fail(r, QStringLiteral("P_size1"), QStringLiteral("сужение больше 99 недопустимо"));
            if (d.P_size2 < d.P_size1)
                t.fail(r, QStringLiteral("P_size2"), QStringLiteral("значение меньше, чем P_size1"));
            drugs->push_back(d);
        }
    }
    if (!t.ok()) {
        drugs->clear();
        *error = t.error();
    }
    return t.ok();
}
