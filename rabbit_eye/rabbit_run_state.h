#pragma once

#include <QString>
#include <QVector>
#include <algorithm>
#include <optional>

#include "drug_names.h"
#include "exam_record.h"
#include "rabbit_drugs.h"

class RabbitModel;

// The part of the experiment the student is in.
enum class RabMode : quint8 {
    None = 0,  // nothing chosen yet
    Tutorial = 1,
    FirstExamination = 2,   // a set of unknowns to identify
    SecondExamination = 3,  // one unknown: miotic or mydriatic
};

// The tutorial's sample results table: asked for on the experiment screen, then on show.
enum class TableRequest : quint8 { None, Asked, OnShow };

// What a substance does to the pupil.
enum class PupilAction : quint8 {
    Miotic,     // always narrows it
    Mydriatic,  // always widens it
    Neither,
};

// What the student found out about one unknown of the first examination, recorded when
// the student identifies it. A row that was never identified keeps Recorded false: the
// student went on before reaching it, so it holds no readings at all. A reading is empty
// when the unknown never went into an eye: it was not tested.
struct RabExamRec {
    QString DrugName;                      // true name of the unknown
    QString Identified;                    // the name the student picked; empty when none
    std::optional<TensionEffect> Tension;  // the unknown's I_Tension
    std::optional<bool> LightReflex;       // for a "B" substance: whether a torch test showed it
    std::optional<bool> CornealReflex;
    bool SalineInstilled = false;  // a saline control went into an eye for this unknown
    bool Recorded = false;
};

// The second examination: one unknown that the student classifies as miotic or mydriatic.
struct RabExam2Rec {
    bool Given = false;  // the second examination was reached
    QString DrugName;    // true name of the unknown
    PupilAction Action = PupilAction::Neither;
    bool Instilled = false;  // the unknown went into an eye
    bool SalineInstilled = false;
    QString Answer;  // what the student chose; empty when nothing was chosen
};

// What the rabbit-eye experiment keeps for the whole run of the program. The windows read
// it; the experiment's rules (RabbitModel) keep the examinations' records, and the home
// screen chooses the mode and takes the password.
class RabbitRunState {
public:
    RabMode Rab_Mode() const { return m_mode; }
    bool examination() const {
        return Rab_Mode() == RabMode::FirstExamination || Rab_Mode() == RabMode::SecondExamination;
    }
    const QString& Rab_Password() const { return m_password; }
    const Student& student() const { return m_student; }  // who sits the examination
    bool Rab_DataLoaded() const { return m_dataLoaded; }
    TableRequest Rab_TableRequest() const { return m_tableRequest; }
    const QVector<RabExamRec>& Rab_ExamRecs() const { return m_examRecs; }  // by unknown number, 1..unknownCount()
    const RabExam2Rec& Rab_Exam2() const { return m_exam2; }
    // The unknowns of the first examination; its records hold two rows more (0 and the saline).
    int unknownCount() const { return std::max<int>(0, m_examRecs.size() - 2); }

    // What the home screen chooses, and the supervisor's password it takes.
    void chooseMode(RabMode mode) { m_mode = mode; }
    void setPassword(const QString& password) { m_password = password; }
    void setStudent(const Student& student) { m_student = student; }
    // The other names of the table's substances, by which an answer also counts.
    const DrugNames& drugNames() const { return m_drugNames; }
    void setDrugNames(const DrugNames& names) { m_drugNames = names; }

    // The sample table: asked for on the experiment screen ...
    void askSampleTable() { m_tableRequest = TableRequest::Asked; }
    // ... shown by the results window when it opens in the tutorial (true: show it) ...
    bool openSampleTable();
    // ... and left back to the experiment screen (true), else to the home screen.
    bool closeSampleTable();

    // What the home screen does at every load.
    void reset() { *this = RabbitRunState{}; }

private:
    friend class RabbitModel;

    RabMode m_mode = RabMode::None;
    QString m_password = QString(10, u' ');  // a fixed field of 10 characters
    Student m_student;
    bool m_dataLoaded = false;  // the substance table has been read
    TableRequest m_tableRequest = TableRequest::None;
    QVector<RabExamRec> m_examRecs;
    RabExam2Rec m_exam2;
    DrugNames m_drugNames;
};

inline bool RabbitRunState::openSampleTable() {
    if (Rab_Mode() != RabMode::Tutorial || m_tableRequest != TableRequest::Asked) return false;
    m_tableRequest = TableRequest::OnShow;
    return true;
}

inline bool RabbitRunState::closeSampleTable() {
    if (m_tableRequest != TableRequest::OnShow || Rab_Mode() != RabMode::Tutorial) return false;
    m_tableRequest = TableRequest::None;
    return true;
}
