#pragma once

#include <QPointer>
#include <QWidget>

#include "ileum_model.h"

class IleumGraph;
class IleumRecorder;
class ProgramContext;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class IleumRunState;

// The experiment screen of the histamine bioassay: the dose-response curve, the standard
// curve with the matching of the unknown, and (tutorial) the calculation.
class Frm_Ileum : public QWidget {
    Q_OBJECT
public:
    Frm_Ileum(ProgramContext& ctx, IleumRunState& run);

    // Experiment start: at the screen's opening and by "Новый".
    void Form_Load();

    void Cmd_updose_Click();
    void Cmd_downdose_Click();
    void Cmd_inject_Click();
    void Cmd_MatchAssay_Click();
    void Cmd_stddose_Click();
    void Cmd_Std_Click();
    void Cmd_DoubleStd_Click();
    void Cmd_HalfStd_Click();
    void Cmd_unknown_Click();
    void Cmd_Calculate_Click();
    void Cmd_Cal_Click();
    void Cmd_Next_Click();
    void Cmd_New_Click();
    void Cmd_return_Click();
    void Cmd_Instruct_Click();
    void Cmd_Print_Click();
    // The tutorial's antagonism exercise: an antagonist into the bath, a wash, the graph.
    // Mepyramine at `nanomolar`, or atropine for 0.
    void addAntagonist(double nanomolar);
    void Cmd_Wash_Click();
    void Cmd_Graph_Click();
    // The measuring cursor: a click on a trace reads its height; two readings give a dose ratio.
    void traceClicked(int index);

    IleumModel& model() { return m_model; }
    IleumRecorder* recorder() const { return m_recorder; }

private:
    QGroupBox* buildSetup();
    QGroupBox* buildDose();
    QWidget* buildAntagonist();
    QVBoxLayout* buildLeftColumn();
    QGroupBox* buildTask();
    QGroupBox* buildStandardDose();
    QGroupBox* buildStandardSeries();
    QGroupBox* buildCalculation();
    QVBoxLayout* buildRightColumn();
    QHBoxLayout* buildBottomRow();
    void buildControls();
    void standardSeries(StandardDose which);
    void refuse(QWidget* focus);
    bool examination() const;
    QList<QWidget*> calculationPrompt() const;
    void showBath();
    void bathChanged(const QString& mark);
    QString readingsText() const;
    void refreshGraph();

    ProgramContext& m_ctx;
    IleumRunState& m_run;
    IleumModel m_model;
    IleumRecorder* m_recorder = nullptr;

    QLabel *LabTitle, *Lab_stephelp, *Lab_drug, *Lab_dose, *Img_inject, *Lbl_ExamHeading;
    QLineEdit *Txt_Dose, *Txt_stddose, *Txt_cal, *txt_con;
    QPushButton *Cmd_inject, *Cmd_MatchAssay, *Cmd_Calculate, *Cmd_Next, *Cmd_New, *Cmd_return;
    QPushButton *Cmd_downdose, *Cmd_updose, *Cmd_stddose, *Cmd_Print;
    QPushButton *Cmd_Std, *Cmd_HalfStd, *Cmd_DoubleStd, *Cmd_unknown, *Cmd_Cal;
    QGroupBox *Frame_stddose, *Frame_Cmd_button, *Frame_Cal;
    QLabel *Lab_stan, *Lab_half, *Lab_doub, *lab_unk;
    QWidget* Fra_Antagonist;
    QPushButton *Cmd_Antagonist, *Cmd_Wash, *Cmd_Graph;
    QLabel *Lbl_Bath, *Lbl_Cursor;
    CursorReadings m_readings;
    QPointer<IleumGraph> m_graph;
    QLabel *Lab_cal, *Lab_calunit, *Lab_Con, *Label_cons, *LabMcg;
};
