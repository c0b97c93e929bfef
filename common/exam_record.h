#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class DrugNames;

// Who sits an examination. Surname and name are required, the group is not.
struct Student {
    QString surname, name, group;

    // "Иванов Иван"
    QString fullName() const;
    // "Иванов Иван, гр. 101", or the full name alone without a group.
    QString withGroup() const;
};

enum class StudentField { Surname, Name, Group };

// The student from what was typed into the form, blanks simplified; nothing, and the
// reason in *error and the first faulty field in *faulty, when the surname or the name is
// empty or is not a name (letters, with blanks, hyphens and apostrophes between them), or a
// field is too long.
std::optional<Student> makeStudent(const QString& surname, const QString& name, const QString& group, QString* error,
                                   StudentField* faulty = nullptr);

// The heading of every examination screen: "Экзамен — Иванов Иван, гр. 101".
QString examHeading(const Student& student);

enum class Verdict { Right, Wrong, WithinTolerance, OutsideTolerance };

// "верно", "неверно", "в пределах допуска", "вне допуска".
QString verdictText(Verdict verdict);

// One unknown of an examination: what was given and what the student answered.
struct ExamItem {
    int number = 0;  // from 1, in the order the unknowns were given
    QString given;
    QString answer;
    QString measured;  // the values the answer rests on, as the screen showed them (may be empty)
    // An identification is right or wrong; a measurement has the answer's error against
    // what was given, in per cent, marked against the record's tolerance.
    bool right = false;
    std::optional<float> errorPercent;
};

// The record of one finished examination, from which the results view, its printout, the
// spreadsheet file and the journal lines are made.
struct ExamRecord {
    QString program;  // "morvane", "morvane-heart"
    QString version = programVersion();
    QString experiment;  // e.g. "Пищевод лягушки, экзамен 1"
    QDateTime when;
    Student student;
    double tolerancePercent = 10;  // for measurements: the largest error still within tolerance
    QList<ExamItem> items;

    // An identified unknown: right when the answer names the given drug by any of its names.
    void addIdentification(const QString& given, const QString& answer, const DrugNames& names,
                           const QString& measured = {});
    // A measured unknown: `given` the true value, `answer` the student's, as the screen
    // writes them, and the error of the answer in per cent (NaN or infinite when there is
    // nothing to compare, which is outside any tolerance).
    void addMeasurement(const QString& given, const QString& answer, float errorPercent);

    Verdict verdict(const ExamItem& item) const;
    bool counts(const ExamItem& item) const;  // right, or within tolerance
    // The measured values of an item with its error and the tolerance: "ошибка 4.5 % (допуск 10 %)",
    // "ошибка не определена (допуск 10 %)" when there was nothing to compare.
    QString measuredText(const ExamItem& item) const;

    int score() const;          // how many unknowns count
    QString scoreText() const;  // "2 из 3"
    QString whenText() const;   // "2024-05-17 10:42:05", as the journal and the files write it

    // The build's version, "1.0.0".
    static QString programVersion();
};

// The records as a spreadsheet file (csv.h), one block a record, a blank line between: the
// particulars, the marked table, the score and a place for the supervisor's signature.
QByteArray recordCsv(const QList<ExamRecord>& records);
inline QByteArray recordCsv(const ExamRecord& record) {
    return recordCsv(QList<ExamRecord>{record});
}

// Writes recordCsv() to `path`; false and a message naming the file when it cannot be written.
bool saveRecordCsv(const QList<ExamRecord>& records, const QString& path, QString* error);
inline bool saveRecordCsv(const ExamRecord& record, const QString& path, QString* error) {
    return saveRecordCsv(QList<ExamRecord>{record}, path, error);
}
