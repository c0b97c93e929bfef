#pragma once

#include <QString>
#include <QVector>

// One examination record: a solution handed out and the seed runs timed with it.
struct OesoExamRec {
    QString Drug;        // name of the solution actually given
    QString Identified;  // the student's answer; empty on the records of Ringer's solution
    qint32 T1 = 0, T2 = 0, T3 = 0;  // seconds of three timed runs
    quint8 Runs = 0;                // how many of them were timed: T1 .. T<Runs>; the rest mean nothing
};

// What the frog oesophagus experiment keeps for the whole run of the program.
struct OesoRunState {
    quint8 Oeso_Mode = 0;        // 0 none chosen, 1 tutorial, 2 examination
    QString Oeso_Password;       // upper-case, trimmed
    quint8 Oeso_DataLoaded = 0;  // 1 once the drug table has been read since the home screen opened

    // The examination's records for the results table: pairs of Ringer's solution and an
    // unknown, then one spare record that takes nothing (indices 0 to ExamRowBase).
    QVector<OesoExamRec> Oeso_ExamRecs;

    // What the home screen does at every load.
    void reset() { *this = OesoRunState{}; }
};
