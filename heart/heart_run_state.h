#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "drug_names.h"
#include "exam_record.h"
#include "heart_drugs.h"

// The stage of the heart program: none chosen, the tutorial, or one of the three examinations.
enum class HeartMode : quint8 { None, Tutorial, Exam1, Exam2, Exam3 };

constexpr bool isExamination(HeartMode mode) {
    return mode == HeartMode::Exam1 || mode == HeartMode::Exam2 || mode == HeartMode::Exam3;
}

// What the student decides examination 3's unknown is like.
enum class Exam3Verdict { Adrenaline, Acetylcholine, Undecided };

// One examination-1 unknown: what the student named it and what it was.
struct HeartExam1Result {
    QString identified;  // the list item the student chose
    QString given;       // trimmed name of the drug given
    QChar tone;          // the drug's tone letter
    quint8 rate = 0;     // drugrate of the last injection of it, 0 when never injected
};

// One injection of examination 2.
struct HeartExam2Entry {
    QString drug;  // the drug list's text, "Неизвестное" for the unknown
    QChar tone;
    quint8 rate = 0;
};

// What the heart program keeps for its whole run: mode, password and the records of the
// three examinations, and the rules by which the examinations follow one another. Lists
// indexed from 1 keep an unused element 0. Read through the accessors, which carry the
// names the records are known by; changed only through the commands.
class HeartRunState {
public:
    // Largest heart number of examination 3 and line count of examination 2's log.
    static constexpr int maxHearts = 255;
    static constexpr int maxExam2Lines = 255;

    HeartMode Heart_Mode() const { return m_mode; }
    const QString& Heart_Password() const { return m_password; }
    const Student& student() const { return m_student; }    // who sits the examination
    bool Heart_DataLoaded() const { return m_dataLoaded; }  // the screen has set up this stage
    quint8 Heart_DrugCount() const { return m_drugCount; }
    quint8 Heart_UnknownNo() const { return m_unknownNo; }
    quint8 Heart_Exam1Drug() const { return m_exam1Drug; }
    quint8 Heart_Exam2Count() const { return m_exam2Count; }
    const QString& Heart_Exam2Name() const { return m_exam2Name; }
    const QString& Heart_Exam2Answer() const { return m_exam2Answer; }
    quint8 Heart_ExamUnknown() const { return m_examUnknown; }  // entry copied as the unknown of examination 2 or 3
    quint8 Heart_HeartNo() const { return m_heartNo; }          // heart of examination 3
    // Per heart of examination 3: rates with adrenaline, acetylcholine, the unknown (0: not given).
    const QVector<std::array<quint8, 3>>& Heart_Exam3Rates() const { return m_exam3Rates; }
    const QString& Heart_Exam3Name() const { return m_exam3Name; }
    const QString& Heart_Exam3Answer() const { return m_exam3Answer; }
    // What the student may name the unknown of examinations 1 and 2.
    const QStringList& Heart_AnswerNames() const { return m_answerNames; }
    const std::array<quint8, heartDrugCount + 1>& Heart_UnknownUsed() const { return m_unknownUsed; }
    const std::array<HeartExam1Result, heartDrugCount + 1>& Heart_Exam1Results() const { return m_exam1Results; }
    const QVector<HeartExam2Entry>& Heart_Exam2Log() const { return m_exam2Log; }  // entries 0..Heart_Exam2Count
    // The other names of the table's drugs, by which an answer also counts.
    const DrugNames& drugNames() const { return m_drugNames; }

    // The three examinations' records, one each, for the results and the journal.
    QList<ExamRecord> examRecords(const QDateTime& when) const;

    // The home screen's choice; the next screen sets the stage up anew.
    void chooseMode(HeartMode mode);
    void setPassword(const QString& password) { m_password = password; }
    void setStudent(const Student& student) { m_student = student; }
    void setDrugNames(const DrugNames& names) { m_drugNames = names; }
    void reset() { *this = HeartRunState{}; }

    // The screen's first load in a stage: the drug table's row count and the names the
    // student may answer with.
    void stageSetUp(int tableRows, const QStringList& answerNames);
    // The screen's first load numbers the heart of examination 3 from 1.
    void firstHeart();
    // A new heart of examination 3 takes the next number. False, the number staying, when
    // the last number is reached. Other stages do not number their hearts.
    bool nextHeart();

    // True while examination 1 has an unknown not handed out yet.
    bool unknownLeft() const;
    // Examination 1 hands out drug k as its next unknown.
    void handOutExam1Unknown(int k, const HeartDrugRec& drug);
    // Drug k (`name`) is the unknown of examination 2 or 3.
    void giveExamUnknown(int k, const QString& name);

    // The rate an injection reached, recorded as the examination keeps it: examination 1
    // under its current unknown, examination 3 under the heart and the drug (1 adrenaline,
    // 2 acetylcholine, 3 the unknown).
    void recordExam1Rate(quint8 rate);
    void recordExam3Rate(int drug, quint8 rate);
    // Examination 2 logs every injection; false, nothing logged, when the log is full.
    bool logExam2(const QString& drug, QChar tone, quint8 rate);

    // The student names the unknown from the answer list (`item`, examinations 1 and 2).
    // Examination 1 goes on while an unknown is left, then examination 2 follows;
    // examination 2 is followed by examination 3.
    void identifyUnknown(const QString& item);
    // The student's verdict on examination 3's unknown.
    void answerExam3(Exam3Verdict verdict);

private:
    HeartMode m_mode = HeartMode::None;
    QString m_password;
    Student m_student;
    bool m_dataLoaded = false;
    quint8 m_drugCount = 0;
    quint8 m_unknownNo = 0;
    quint8 m_exam1Drug = 0;
    quint8 m_exam2Count = 0;
    QString m_exam2Name;
    QString m_exam2Answer;
    quint8 m_examUnknown = 0;
    quint8 m_heartNo = 0;
    QVector<std::array<quint8, 3>> m_exam3Rates{std::array<quint8, 3>{}};
    QString m_exam3Name;
    QString m_exam3Answer;
    QStringList m_answerNames;
    std::array<quint8, heartDrugCount + 1> m_unknownUsed{};
    std::array<HeartExam1Result, heartDrugCount + 1> m_exam1Results{};
    QVector<HeartExam2Entry> m_exam2Log{HeartExam2Entry{}};
    DrugNames m_drugNames;
};
