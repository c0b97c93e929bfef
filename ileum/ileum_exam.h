#pragma once

#include <QWidget>

class ProgramContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;
class IleumRunState;

// The end of an examination: the student's answer, the supervisor's password, the result.
class Frm_I_Exam : public QWidget {
    Q_OBJECT
public:
    Frm_I_Exam(ProgramContext& ctx, IleumRunState& run);

    void com_student_Click();
    void Cmd_pass_Click();
    void Timer_War_Timer();
    void Cmd_ok_Click();

private:
    void showRecord();  // the marked results, written to the journal

    ProgramContext& m_ctx;
    IleumRunState& m_run;
    QGroupBox *Frame_Match, *Frame_Password, *Fra_Super;
    QLineEdit *Txt_Cal_Con, *Txt_Pass, *Txt_Act, *Txt_cal, *Txt_err;
    QLabel* Lab_Warning;
    QTimer* Timer_War;
};

// The review questions at the end of a tutorial.
class Frm_Ile_Question : public QWidget {
    Q_OBJECT
public:
    explicit Frm_Ile_Question(ProgramContext& ctx);
};
