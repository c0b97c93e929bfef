#pragma once

#include <QString>
#include <QVector>

// What the student found out about one unknown of the first examination, recorded when
// the student identifies it. A row that was never identified keeps Recorded false: the
// student went on before reaching it, so it holds no readings at all.
struct RabExamRec {
    QString DrugName;        // true name of the unknown
    QString Identified;      // the name the student picked; empty when none
    QChar Tension;           // the unknown's I_Tension, 'H' when it was never instilled
    QChar LightReflex;       // L_Reflex ('B': whether a torch test showed it), 'H' when never instilled
    QChar CornealReflex;     // C_Reflex, 'H' when never instilled
    QChar SalineInstilled;   // 'Y' when a saline control went into an eye for this unknown
    bool Recorded = false;
};

// The second examination: one unknown that the student classifies as miotic or mydriatic.
struct RabExam2Rec {
    bool Given = false;      // the second examination was reached
    QString DrugName;        // true name of the unknown
    QChar Action;            // 'M' miotic (narrows the pupil), 'W' mydriatic (widens it), 'N' neither
    QChar Instilled;         // 'Y' when the unknown went into an eye
    QChar SalineInstilled;   // 'Y' when a saline control went into an eye
    QString Answer;          // what the student chose; empty when nothing was chosen
};

// What the rabbit-eye experiment keeps for the whole run of the program.
struct RabbitRunState {
    quint8 Rab_Mode = 0;                       // 0 none, 1 tutorial, 2 and 3 the examinations
    QString Rab_Password = QString(10, u' ');  // a fixed field of 10 characters
    quint8 Rab_DataLoaded = 0;                 // 1 once the substance table has been read
    quint8 Rab_TableRequest = 0;               // 0 none, 1 asked for, 2 on show
    QVector<RabExamRec> Rab_ExamRecs;          // by unknown number, 1..count used
    RabExam2Rec Rab_Exam2;

    void reset() { *this = RabbitRunState{}; }
};
