#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

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

// What the heart program keeps for its whole run: mode, password and the records of
// the three examinations. Lists indexed from 1 keep an unused element 0.
struct HeartRunState {
    quint8 Heart_Mode = 0;  // 0 none, 1 tutorial, 2 to 4 the three examinations
    QString Heart_Password;
    quint8 Heart_DataLoaded = 0;
    quint8 Heart_DrugCount = 0;
    quint8 Heart_UnknownNo = 0;
    quint8 Heart_Exam1Drug = 0;
    quint8 Heart_Exam2Count = 0;
    QString Heart_Exam2Name;
    QString Heart_Exam2Answer;
    quint8 Heart_ExamUnknown = 0;  // entry copied as the unknown of examination 2 or 3
    quint8 Heart_HeartNo = 0;      // heart of examination 3
    // Per heart of examination 3: rates with adrenaline, acetylcholine, the unknown (0: not given).
    QVector<std::array<quint8, 3>> Heart_Exam3Rates{std::array<quint8, 3>{}};
    QString Heart_Exam3Name;
    QString Heart_Exam3Answer;
    QStringList Heart_AnswerNames;  // the drugs the student may name in examinations 1 and 2
    std::array<quint8, 11> Heart_UnknownUsed{};
    std::array<HeartExam1Result, 11> Heart_Exam1Results{};
    QVector<HeartExam2Entry> Heart_Exam2Log{HeartExam2Entry{}};  // entries 0..Heart_Exam2Count

    void reset() { *this = HeartRunState{}; }
};
