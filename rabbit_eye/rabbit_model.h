#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "rabbit_drugs.h"
#include "rabbit_run_state.h"

class RandomSource;

enum class EyeSide { Left, Right };

// A pupil box in twips inside the magnified eye view. The pupil is the circle whose
// diameter is the smaller of Width and Height, centred in the box.
struct PupilBox {
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const PupilBox&) const = default;
};

// The same in whole twips: an eye's normal box, and the box saved under the torch.
struct WholeBox {
    qint16 Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const WholeBox&) const = default;
    PupilBox real() const { return {double(Left), double(Top), double(Width), double(Height)}; }
};

// One eye of the current rabbit.
struct EyeState {
    quint8 Done = 0;       // something was instilled into it on this rabbit
    quint8 Drug = 0;       // Rab_Drugs index of what it holds; 0 none
    WholeBox Base;         // the normal pupil of this rabbit
    qint16 Target = 0;     // pupil change drawn at the instillation (kept across rabbits)
    PupilBox Pupil;        // the box on show
    double Tension = 0;    // width of the tension bar in twips
    QString Label;         // what the eye's substance label names
};

// What an instillation did.
struct Instillation {
    bool accepted = false;  // the eye took it: its clock is to start
    QString refusal;        // else the message to show
};

// The rabbit eye: the substance table, the current rabbit and its two eyes, and the
// bookkeeping of both examinations. Numbers only; the screen draws them. Every draw
// of chance goes through the program's random source.
class RabbitModel {
public:
    RabbitModel(RabbitRunState& run, RandomSource& random);

    // --- Substance table.
    // Index 0 is the no-substance entry, 1..Rab_DrugCount the substances; in the
    // examinations the last row of the table (the saline) is Rab_DrugCount + 1.
    QVector<RabDrugRec> Rab_Drugs;
    int Rab_DrugCount = 0;
    QStringList substanceList;  // the lines of the substance list: every row of the table

    // Takes the rows of the table and, in the first examination, prepares it. Returns a
    // message to show (no unknown substance to hand out), else an empty text.
    QString LoadDrugTable(const QVector<RabDrugRec>& rows);

    // --- The current rabbit.
    quint8 RabbitNo = 0;  // 1..255
    EyeState eyes[2];
    EyeState& eye(EyeSide side) { return eyes[side == EyeSide::Left ? 0 : 1]; }
    const EyeState& eye(EyeSide side) const { return eyes[side == EyeSide::Left ? 0 : 1]; }

    static constexpr int lastRabbit = 255;
    // The number of the next rabbit; false (and nothing changes) after the last one.
    bool takeRabbitNumber();
    // Normal tensions and pupils of a new rabbit, both eyes free.
    void startRabbit();

    // --- Instillation and its stages.
    // Tutorial: `listRow` is the line of the substance list that is chosen (-1 none) and
    // `listText` what the list shows. The examinations instil the current unknown, or
    // the saline when it was asked for.
    Instillation instil(EyeSide side, int listRow, const QString& listText);
    void halfStage(EyeSide side);
    void fullStage(EyeSide side);  // with the tension of the eye's substance

    // --- Tools.
    quint8 Tool = 1;  // 1 torch, 2 cotton: the tool picked last
    WholeBox SavedPupil;              // the eye's own box while the torch shines into it
    std::optional<EyeSide> TorchEye;  // the eye the torch shines into
    bool lightReflexPresent(EyeSide side) const;
    bool cornealReflexPresent(EyeSide side) const;
    void torchOn(EyeSide side);   // saves the box and narrows it when the reflex is there
    void torchOff(EyeSide side);  // puts the saved box back

    // --- Examinations.
    quint8 SelectedDrug = 0;  // tutorial: last substance instilled; examinations: the current unknown
    quint8 UnknownNo = 0;
    QVector<quint8> UnknownUsed;
    // "Капнуть солевой раствор" and the eye choice's "Отмена".
    void askSaline() { SalineAsked = true; }
    void cancelSaline() { SalineAsked = false; }
    bool SalineAsked = false;    // the saline was asked for: the next eye chosen receives it, unless cancelled
    bool SalineGiven = false;    // a saline went into an eye for the current unknown
    quint8 UnknownInstilled = 0;
    QChar LightReflexSeen = u'N';
    QString UnknownLabel;        // what the screen names the current unknown

    // Records the student's answer for the current unknown (`identified`: the chosen
    // line, empty when none). True when that was the last one: the examination moves on.
    bool identify(const QString& identified);
    // From the first to the second examination: one unknown that narrows or widens the pupil.
    void enterSecondExamination();
    // Keeps the second examination's record as it stands (when it ends without an answer).
    void closeSecondExamination();
    // The second examination's answers, in the identification list.
    static QStringList secondExaminationAnswers();

private:
    const RabDrugRec& drug(int index) const;
    void showStage(EyeSide side, const PupilBox& stage);
    qint16 drawChange(const RabDrugRec& d);
    QString prepareExamination();
    int drawUnusedUnknown();
    int drawSecondUnknown();

    RabbitRunState& m_run;
    RandomSource& m_random;
};

// Text of the pupil action of a substance: 'W' widens always, 'M' narrows always, 'N' otherwise.
QChar pupilAction(const RabDrugRec& d);
