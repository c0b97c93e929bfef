#include "heart_drugs.h"

#include "drug_table.h"

bool readHeartDrugs(QVector<HeartDrugRec>* drugs, QString* error) {
    DrugTable t;
    drugs->clear();
    if (t.read(QStringLiteral("F_Heart.mdb"), QStringLiteral("heart_drug"),
               {QStringLiteral("Name"), QStringLiteral("key"), QStringLiteral("L_StART"), QStringLiteral("L_End"),
                QStringLiteral("Dose"), QStringLiteral("hr_START"), QStringLiteral("hr_END"), QStringLiteral("tone"),
                QStringLiteral("hr_indicator")},
               10)) {
        for (int r = 0; r < t.rowCount() && t.ok(); ++r) {
            HeartDrugRec d{t.text(r, QStringLiteral("Name")),
                           t.textLeft(r, QStringLiteral("key"), 6),
                           t.byte(r, QStringLiteral("L_StART")),
                           t.byte(r, QStringLiteral("L_End")),
                           t.single(r, QStringLiteral("Dose")),
                           t.byte(r, QStringLiteral("hr_START")),
                           t.byte(r, QStringLiteral("hr_END")),
                           t.firstChar(r, QStringLiteral("tone"), false),
                           t.firstChar(r, QStringLiteral("hr_indicator"), false)};
            if (d.hr_END < d.hr_START) t.fail(r, QStringLiteral("hr_END"), QStringLiteral("значение меньше, чем hr_START"));
            drugs->push_back(d);
        }
    }
    if (!t.ok()) {
        drugs->clear();
        *error = t.error();
    }
    return t.ok();
}
