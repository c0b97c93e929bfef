#include "heart_drugs.h"

#include "drug_table.h"

HeartTone heartToneFromLetter(QChar letter) {
    if (letter == u'I') return HeartTone::Raised;
    if (letter == u'D') return HeartTone::Lowered;
    return HeartTone::Unchanged;
}

HeartRateChange heartRateChangeFromLetter(QChar letter) {
    if (letter == u'I') return HeartRateChange::Increase;
    if (letter == u'D') return HeartRateChange::Decrease;
    if (letter == u'O') return HeartRateChange::Arrest;
    if (letter == u'P') return HeartRateChange::Held;
    return HeartRateChange::None;
}

bool readHeartDrugs(QVector<HeartDrugRec>* drugs, QString* error) {
    DrugTable t;
    drugs->clear();
    if (t.read(QStringLiteral("F_Heart.mdb"), QStringLiteral("heart_drug"),
               {QStringLiteral("Name"), QStringLiteral("key"), QStringLiteral("L_StART"), QStringLiteral("L_End"),
                QStringLiteral("Dose"), QStringLiteral("hr_START"), QStringLiteral("hr_END"), QStringLiteral("tone"),
                QStringLiteral("hr_indicator")},
               10)) {
        for (int r = 0; r < t.rowCount() && t.ok(); ++r) {
            HeartDrugRec d;
            d.Name = t.text(r, QStringLiteral("Name"));
            d.key = t.textLeft(r, QStringLiteral("key"), 6);
            d.L_StART = t.byte(r, QStringLiteral("L_StART"));
            d.L_End = t.byte(r, QStringLiteral("L_End"));
            d.Dose = t.single(r, QStringLiteral("Dose"));
            d.hr_START = t.byte(r, QStringLiteral("hr_START"));
            d.hr_END = t.byte(r, QStringLiteral("hr_END"));
            d.toneLetter = t.firstChar(r, QStringLiteral("tone"), false);
            d.tone = heartToneFromLetter(d.toneLetter);
            d.hr_indicator = heartRateChangeFromLetter(t.firstChar(r, QStringLiteral("hr_indicator"), false));
            if (d.hr_END < d.hr_START)
                t.fail(r, QStringLiteral("hr_END"), QStringLiteral("значение меньше, чем hr_START"));
            drugs->push_back(d);
        }
    }
    if (!t.ok()) {
        drugs->clear();
        *error = t.error();
    }
    return t.ok();
}
