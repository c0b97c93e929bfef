#pragma once

#include <QWidget>

class ProgramContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class RabbitRunState;

// The end of the rabbit-eye experiment, with three faces: the sample results table of
// the tutorial, the questions that close the tutorial, and the results of the
// examinations behind the supervisor's password.
class Frm_Rab_Table : public QWidget {
    Q_OBJECT
public:
    Frm_Rab_Table(ProgramContext& ctx, RabbitRunState& run);

    // Chooses the face from the mode and the sample-table request.
    void Form_Load();

    void Cmd_pass_Click();
    void Cmd_End_Click();
    void Cmd_ok_Click();
    void Cmd_return_Click();

private:
    QGroupBox* buildGate();
    QGroupBox* buildTable();
    QGroupBox* buildQuestions();
    void fillTable();
    void fitToFace();
    void fillExamination();
    void fillSecondExamination();

    ProgramContext& m_ctx;
    RabbitRunState& m_run;
    QGroupBox *Frame_Pass, *Frametab, *Fra_Ques;
    QLineEdit* Txt_PassW;
    QLabel *lbltitle, *lblexam2;
    QTableWidget *Grid_Rab, *Grid_Exam2;
    int TW = 0, TH = 0;  // width and height of the letter "A" in the grid's font
    // Two lines of text and the cell's own margins.
    int rowHeight() const { return 2 * TH + 6; }
};
