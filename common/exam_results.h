#pragma once

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
