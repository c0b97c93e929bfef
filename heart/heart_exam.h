#pragma once

#include <QWidget>

class ProgramContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;
class HeartRunState;

// After the experiment: the study questions (tutorial), the identification of an unknown
// (examinations 1 and 2), the rate table and verdict of examination 3, and the supervisor's
// password that opens the results.
class Frm_Question : public QWidget {
    Q_OBJECT
public:
    Frm_Question(ProgramContext& ctx, HeartRunState& run);

    void Cmd_Done1_Click();
    void Cmd_Ret_Click();
    void Cmd_done_Click();
    void Cmd_exam4_Click();
    void Cmd_Ok_Password_Click();

private:
    ProgramContext& m_ctx;
    HeartRunState& m_run;
    QGroupBox *Frame_TutQuestions, *Frame_ExamQuestions, *Frame_exam4, *Frame_Password;
    QListWidget* Lst_Drugs;
    QTableWidget* MsGrid_Table1;
    QRadioButton *Opt_dr0, *Opt_dr1;
    QLineEdit* Txt_PassWord;
};

// The results: the sample table in the tutorial, the three examinations' pages for the
// supervisor.
class Frm_Heart_Table : public QWidget {
    Q_OBJECT
public:
    Frm_Heart_Table(ProgramContext& ctx, const HeartRunState& run);
    void Cmd_Ret_Click();
    int page() const { return m_page; }

private:
    void showExam1();
    void showExam2();
    void showExam3();

    ProgramContext& m_ctx;
    const HeartRunState& m_run;
    int m_page = 1;
    QLabel *tabletitleLbl, *examno, *Lbl_alert, *Lab_UnKnown_drug, *Lab_Drug_Identified;
    QTableWidget *MsGrid_Table, *MsGrid_Table1_R;
    QLineEdit *Txt_unknowndrug, *Txt_drug_Identified;
    QPushButton* Cmd_Ret;
};

// The rate table of examination 3: one row per heart.
void fillExam3Table(QTableWidget* grid, const HeartRunState& run, const QStringList& headers, int rateColumnLetters);
