#pragma once

#include <QList>
#include <QString>

struct ExamRecord;
class ProgramContext;
class QWidget;

// The end of every examination, called by an experiment once its examination is over:
// adds `record` to the examination journal (the context's journalPath) under the
// supervisor's `password`, as the run state keeps it, and opens the marked results window
// ("Frm_Exam_Results": the table, the score, the tolerance of measurements, printing and
// saving as PDF or CSV). A journal that cannot be written is told in one message naming the
// file, and the window opens all the same. The window is top-level, owned by no other
// window (the experiment's may close), and deleted when closed; closing it while its record
// was neither printed nor saved asks first. Returns the window.
QWidget* showExamResults(ProgramContext& ctx, const ExamRecord& record, const QString& password);

// The same for a sitting of several examinations, one record each: every record goes to the
// journal as an examination of its own, in order (the first that cannot be written stops the
// rest); the one window shows each record's table and score on a tab of its own
// ("Pg_Exam_1", "Pg_Exam_2", ... under "Tab_Exams", each tab titled with the experiment and
// its score), and prints or saves them all.
QWidget* showExamResults(ProgramContext& ctx, const QList<ExamRecord>& records, const QString& password);
