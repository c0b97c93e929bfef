#pragma once

#include <QString>

#include "exam_record.h"

enum class IleumMode : quint8 { None = 0, Tutorial = 1, Examination = 2 };

// What the guinea-pig ileum bioassay keeps for the whole run of the program.
class IleumRunState {
public:
    IleumMode Ile_Mode() const { return m_mode; }
    bool examination() const { return Ile_Mode() == IleumMode::Examination; }
    const QString& Ile_Password() const { return m_password; }  // upper-case, trimmed
    const Student& student() const { return m_student; }        // who sits the examination
    // Once the experiment screen has set up its recorder.
    bool RecorderReady() const { return m_recorderReady; }
    // The true concentration of the unknown (µg/ml); -1 without a standard dose.
    float ActualConc() const { return m_actualConc; }
    float StudentConc() const { return m_studentConc; }  // the student's answer (µg/ml)

    // The home screen's choice.
    void chooseMode(IleumMode mode) { m_mode = mode; }
    void setPassword(const QString& password) { m_password = password; }
    void setStudent(const Student& student) { m_student = student; }

    void markRecorderReady() { m_recorderReady = true; }
    // The examination ends: the true concentration of the unknown in this experiment.
    void setActualConc(float conc) { m_actualConc = conc; }
    // The student's answer; false, and nothing kept, when the examination cannot take it
    // (IleumModel::usableAnswer).
    bool takeAnswer(const QString& answer);
    // Whether the experiment was conducted properly: a standard dose was confirmed, so
    // there is a true concentration to compare with.
    bool properlyConducted() const { return m_actualConc != -1; }
    // The true concentration as the supervisor sees it, written with 7 significant digits;
    // from then on the error ratio is taken against the number that text reads.
    QString showActualConc();
    float errorRatio() const;

    void reset() { *this = IleumRunState{}; }

    // The record of the examination for the marked results: the one measured unknown, its
    // error the error ratio, which cannot be told without a standard dose.
    ExamRecord examRecord() const;

private:
    IleumMode m_mode = IleumMode::None;
    QString m_password;
    Student m_student;
    bool m_recorderReady = false;
    float m_actualConc = 0;
    float m_studentConc = 0;
};
