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

// The tool picked last (kept across rabbits).
enum class RabTool : quint8 { Torch = 1, Cotton = 2 };

// The saline control of the current unknown.
enum class Saline : quint8 {
    None,        // neither asked for nor given
    Asked,       // asked for: the next eye chosen receives it, unless the choice is cancelled
    Given,       // it went into an eye
    AskedAgain,  // it went into an eye and is asked for once more
};

// How far the drops of an instillation have come in an eye.
enum class DropStage : quint8 {
    None,     // nothing under way: no drops yet, or their full stage is reached
    Falling,  // the dropper is over the eye
    Soaking,  // the dropper is gone; the eye shows nothing yet
    Half,     // the pupil shows half its change
};

// One eye of the current rabbit.
struct EyeState {
    bool Done = false;   // something was instilled into it on this rabbit
    quint8 Drug = 0;     // Rab_Drugs index of what it holds; 0 none
    WholeBox Base;       // the normal pupil of this rabbit
    qint16 Target = 0;   // pupil change drawn at the instillation (kept across rabbits)
    PupilBox Pupil;      // the box on show
    double Tension = 0;  // width of the tension bar in twips
    QString Label;       // what the eye's substance label names
    DropStage Stage = DropStage::None;
    int StageLeftMs = 0;  // until the next stage
};

// What an instillation did.
struct Instillation {
    bool accepted = false;  // the eye took it: its drops start to fall
    QString refusal;        // else the message to show
};

// The rabbit eye: the substance table, the current rabbit and its two eyes, the drops on
// their way, and the bookkeeping of both examinations. Numbers only; the screen draws
// them. It never waits: the screen's clocks call advance(). Every draw of chance goes
// through the program's random source.
class RabbitModel {
public:
    RabbitModel(RabbitRunState& run, RandomSource& random);

    // --- Substance table.
    // Index 0 is the no-substance entry, 1..Rab_DrugCount the substances; in the
    // examinations the last row of the table (the saline) is Rab_DrugCount + 1.
    const QVector<RabDrugRec>& Rab_Drugs() const { return m_drugs; }
    int Rab_DrugCount() const { return m_drugCount; }
    const QStringList& substanceList() const { return m_substanceList; }  // every row of the table

    // Takes the rows of the table; the first rabbit comes next. In the first examination
    // it prepares the unknowns. Returns a message to show (no unknown substance to hand
    // out), else an empty text.
    QString LoadDrugTable(const QVector<RabDrugRec>& rows);

    // --- The current rabbit.
    static constexpr int lastRabbit = 255;
    quint8 RabbitNo() const { return m_rabbitNo; }  // 1..255
    const EyeState& eye(EyeSide side) const { return m_eyes[side == EyeSide::Left ? 0 : 1]; }
    // The number of the next rabbit; false (and nothing changes) after the last one.
    bool takeRabbitNumber();
    // Normal tensions and pupils of a new rabbit, both eyes free; drops meant for the
    // rabbit that is gone no longer act.
    void startRabbit();

    // --- Instillation and its drops.
    // Tutorial: `listRow` is the line of the substance list that is chosen (-1 none) and
    // `listText` what the list shows. The examinations instil the current unknown, or
    // the saline when it was asked for.
    Instillation instil(EyeSide side, int listRow, const QString& listText);
    // The drops' time in an eye goes on by `elapsedMs`: the dropper stays over the eye
    // for 2600 ms, the half stage shows 500 ms after it went, the full stage (with the
    // tension of the eye's substance) 550 ms after that.
    void advance(EyeSide side, int elapsedMs);
    // Time until the drops in an eye reach their next stage; 0 when nothing is under way.
    int msToNextStage(EyeSide side) const { return eye(side).StageLeftMs; }
    bool dropperShown(EyeSide side) const { return eye(side).Stage == DropStage::Falling; }
    // A new rabbit is offered, except from an instillation until drops reach their full
    // stage in either eye.
    bool newRabbitOffered() const { return m_newRabbitOffered; }

    // --- Tools.
    RabTool Tool() const { return m_tool; }
    void pickTool(RabTool tool) { m_tool = tool; }
    const WholeBox& SavedPupil() const { return m_savedPupil; }     // the eye's own box while the torch shines into it
    std::optional<EyeSide> TorchEye() const { return m_torchEye; }  // the eye the torch shines into
    bool lightReflexPresent(EyeSide side) const;
    bool cornealReflexPresent(EyeSide side) const;
    void torchOn(EyeSide side);   // saves the box and narrows it when the reflex is there
    void torchOff(EyeSide side);  // puts the saved box back

    // --- Examinations.
    // Tutorial: the last substance instilled; examinations: the current unknown.
    quint8 SelectedDrug() const { return m_selectedDrug; }
    quint8 UnknownNo() const { return m_unknownNo; }
    const QVector<bool>& UnknownUsed() const { return m_unknownUsed; }  // by Rab_Drugs index: handed out already
    Saline SalineState() const { return m_saline; }
    bool UnknownInstilled() const { return m_unknownInstilled; }
    bool LightReflexSeen() const { return m_lightReflexSeen; }      // by any torch test since the last identification
    const QString& UnknownLabel() const { return m_unknownLabel; }  // what the screen names the current unknown

    // "Капнуть солевой раствор" and the eye choice's "Отмена".
    void askSaline();
    void cancelSaline();
    // Records the student's answer for the current unknown (`identified`: the chosen
    // line, empty when none). True when that was the last one: the examination moves on.
    bool identify(const QString& identified);
    // From the first to the second examination: one unknown that narrows or widens the pupil.
    void enterSecondExamination();
    // Keeps the second examination's record as it stands (when it ends without an answer).
    void closeSecondExamination();
    // The second examination's answers, in the identification list: miotic, mydriatic.
    static QStringList secondExaminationAnswers();

private:
    EyeState& mutableEye(EyeSide side) { return m_eyes[side == EyeSide::Left ? 0 : 1]; }
    const RabDrugRec& drug(int index) const;
    void showStage(EyeSide side, const PupilBox& stage);
    void halfStage(EyeSide side);
    void fullStage(EyeSide side);  // with the tension of the eye's substance
    void nextStage(EyeSide side);
    void startDrops(EyeState& e);
    qint16 drawChange(const RabDrugRec& d);
    QString prepareExamination();
    int drawUnusedUnknown();
    int drawSecondUnknown();
    void nextUnknown();
    bool salineAsked() const { return m_saline == Saline::Asked || m_saline == Saline::AskedAgain; }
    bool salineGiven() const { return m_saline == Saline::Given || m_saline == Saline::AskedAgain; }

    RabbitRunState& m_run;
    RandomSource& m_random;

    QVector<RabDrugRec> m_drugs;
    int m_drugCount = 0;
    QStringList m_substanceList;

    quint8 m_rabbitNo = 0;
    EyeState m_eyes[2];
    bool m_newRabbitOffered = true;

    RabTool m_tool = RabTool::Torch;
    WholeBox m_savedPupil;
    std::optional<EyeSide> m_torchEye;

    quint8 m_selectedDrug = 0;
    quint8 m_unknownNo = 0;
    QVector<bool> m_unknownUsed;
    Saline m_saline = Saline::None;
    bool m_unknownInstilled = false;
    bool m_lightReflexSeen = false;
    QString m_unknownLabel;
};

// What a substance does to the pupil: one whose change is always a widening is a
// mydriatic, always a narrowing a miotic.
PupilAction pupilAction(const RabDrugRec& d);

// The grading of the second examination: the answer names the unknown's action.
bool secondExaminationCorrect(const RabExam2Rec& exam);

// The records of both examinations for the results and the journal: the first with one
// identification per unknown, the second (when it was reached) with its one unknown.
QList<ExamRecord> rabbitExamRecords(const RabbitRunState& run, const QDateTime& when);
