#pragma once

#include <QString>
#include <QVector>

#include "drug_names.h"
#include "exam_record.h"

// One examination record: a solution handed out and the seed runs timed with it.
struct OesoExamRec {
    QString Drug;                   // name of the solution actually given
    QString Identified;             // the student's answer; empty on the records of Ringer's solution
    qint32 T1 = 0, T2 = 0, T3 = 0;  // seconds of three timed runs
    quint8 Runs = 0;                // how many of them were timed: T1 .. T<Runs>; the rest mean nothing
};

enum class OesoMode : quint8 { None = 0, Tutorial = 1, Examination = 2 };

// What the frog oesophagus experiment keeps for the whole run of the program.
class OesoRunState {
public:
    OesoMode Oeso_Mode() const { return m_mode; }
    bool examination() const { return Oeso_Mode() == OesoMode::Examination; }
    const QString& Oeso_Password() const { return m_password; }  // upper-case, trimmed
    const Student& student() const { return m_student; }         // who sits the examination
    // Whether the drug table has been read since the home screen opened.
    bool Oeso_DataLoaded() const { return m_dataLoaded; }
    // The examination's records for the results table: pairs of Ringer's solution and an
    // unknown, then one spare record that takes nothing (indices 0 to ExamRowBase).
    const QVector<OesoExamRec>& Oeso_ExamRecs() const { return m_examRecs; }
    // Every unknown the examination has, in the table's order: those not handed out yet
    // are still the student's to identify.
    const QStringList& examUnknowns() const { return m_examUnknowns; }
    // The other names of the table's drugs, read with the table: an answer naming the
    // drug given by any of them is right.
    const DrugNames& drugNames() const { return m_drugNames; }

    // The home screen's choice.
    void chooseMode(OesoMode mode) { m_mode = mode; }
    void setPassword(const QString& password) { m_password = password; }
    void setStudent(const Student& student) { m_student = student; }
    void setDrugNames(const DrugNames& names) { m_drugNames = names; }

    // What the home screen does at every load.
    void reset() { *this = OesoRunState{}; }

private:
    // The frog's model reads the drug table and keeps the examination's records.
    friend class OesoModel;

    OesoMode m_mode = OesoMode::None;
    QString m_password;
    Student m_student;
    bool m_dataLoaded = false;
    QVector<OesoExamRec> m_examRecs;
    QStringList m_examUnknowns;
    DrugNames m_drugNames;
};
