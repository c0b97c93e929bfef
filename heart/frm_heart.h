#pragma once

#include <QWidget>

#include "heart_model.h"
#include "recording_paper.h"

class LeverBeat;
class ProgramContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QTimer;
class QVBoxLayout;
class SetupPicture;
class HeartRunState;

// Two small black graphs with a green line at the heart-rate and tone levels.
class IndicatorGraph : public QWidget {
public:
    IndicatorGraph(const char* name, int rightMargin, QWidget* parent = nullptr);
    void setLevel(int level);
    int level() const { return m_level; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_level = 14;
    int m_rightMargin;
};

// The heart program's experiment screen: the apparatus with its beating lever, the
// kymograph, the drugs, the indicators and the way on through the examinations.
class Frm_Heart : public QWidget {
    Q_OBJECT
public:
    Frm_Heart(ProgramContext& ctx, HeartRunState& run);

    // Load: at the opening, by "Новый" and by Yes to the full recorder. False when the
    // drug table could not be read (the program is then ending).
    bool Form_Load();

    void RecorderTick();
    void Combo_Drug_Click();
    void Cmd_Inject_Click();
    void CmdPic_Stop_Click();
    void CmdPic_Continue_Click();
    void HScrPic_Change();
    void Cmd_RmvDrug_Click();
    void Cmd_Next_Click();
    void Cmd_New_Click();
    void CmdTable_Click();
    void Cmd_return_Click();
    void cmd_pwretok_Click();
    void cmd_pwretcan_Click();
    void Cmd_Print_Click();
    void Cmd_help_Click();
    void endSyringePause();

    HeartModel& model() { return m_model; }
    const RecordingPaper& paper() const { return m_paper; }
    SetupPicture* setupPicture() const { return m_setup; }
    LeverBeat* lever() const { return m_beat; }
    int paperLeft() const;
    bool recorderRunning() const;

private:
    QGroupBox* buildSetup();
    QGroupBox* buildHelp();
    QVBoxLayout* buildLeftColumn();
    QGroupBox* buildTask();
    QGroupBox* buildRecorder();
    QGroupBox* buildRecorderControls();
    QGroupBox* buildDrug();
    QGroupBox* buildDrugLevel();
    QGroupBox* buildIndicators();
    QGroupBox* buildExit();
    QGroupBox* buildReturnPassword();
    void buildControls();
    void SetUpExperiment();
    void clearRecording();
    void execute(const std::vector<HeartOp>& ops);
    void showState();
    void restCycleControls();
    void setPaperLeft(int left);

    ProgramContext& m_ctx;
    HeartRunState& m_run;
    HeartModel m_model;
    RecordingPaper m_paper;
    PaperView* m_view = nullptr;
    SetupPicture* m_setup = nullptr;
    LeverBeat* m_beat = nullptr;
    QTimer* m_timer = nullptr;
    QTimer* m_syringePause = nullptr;
    bool m_dispflag3 = false, m_dispflag4 = false;
    bool m_removeFlag = false;
    int m_savedLeft = 0;
    QString m_savedHint;

    QLabel *inject_img, *Lab_drugname, *lbl_lastdrug, *LabTitle, *lbl_warning, *lbl_unkdrug, *Lab_Drug, *Lab_DDose;
    QLabel* Lbl_ExamHeading;
    QProgressBar* ProBar_Time;
    QPushButton *CmdPic_Continue, *CmdPic_Stop, *Cmd_Print, *Cmd_RmvDrug, *Cmd_Inject, *Cmd_help;
    QPushButton *CmdTable, *Cmd_Next, *Cmd_New, *Cmd_return;
    QScrollBar* HScrPic;
    QComboBox* Combo_Drug;
    QLineEdit *Txt_Dose, *Txt_BHR, *TxtHR_Drug, *Txt_pwret;
    QGroupBox *Help_frame, *Fra_CmdBar, *frm_retpass;
    IndicatorGraph *Pic_HR_Graph, *PicToneGraph;
};
