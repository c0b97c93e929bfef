#pragma once

#include <QString>
#include <QVector>

// The examinations stand on the table's eight drugs: examination 1 numbers its unknowns
// 1 to 8, examinations 2 and 3 put their unknown after the known drugs in the list.
constexpr int heartDrugCount = 8;

// What a drug does to the tone (the table's letters: I raised, D lowered, anything else unchanged).
enum class HeartTone : quint8 { Unchanged, Raised, Lowered };

// What a drug does to the rate (the table's letters: I increase, D decrease, O arrest,
// P held at the last rate, anything else no change).
enum class HeartRateChange : quint8 { None, Increase, Decrease, Arrest, Held };

HeartTone heartToneFromLetter(QChar letter);
HeartRateChange heartRateChangeFromLetter(QChar letter);

// One drug of the heart table.
struct HeartDrugRec {
    QString Name;
    QString key;                      // at most 6 characters: "Epi", "ACh", "CaCl", ...
    quint8 L_StART = 0, L_End = 0;    // stroke ends while the drug acts, pixels from the top
    float Dose = 0;                   // µg, shown only
    quint8 hr_START = 0, hr_END = 0;  // range of the heart-rate change, beats per minute
    HeartTone tone = HeartTone::Unchanged;
    QChar toneLetter;  // the table's tone letter, as the examination records show it
    HeartRateChange hr_indicator = HeartRateChange::None;
};

// Reads table "heart_drug" of "F_Heart.mdb" (at most 10 rows); on failure returns false with the
// reason in `error` for the caller to show (the model's stage set-up, the data checks).
bool readHeartDrugs(QVector<HeartDrugRec>* drugs, QString* error);
