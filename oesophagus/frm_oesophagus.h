#pragma once

#include <QWidget>
#include <array>

#include "oeso_model.h"

class ProgramContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class OesoRunState;

// The working screen of the frog oesophagus experiment: the set-up with the seed box, the
// magnified oesophagus the seed travels down, the drugs, the stopwatch, the hint line and,
// in the examination, the unknowns.
class Frm_Oesophagus : public QWidget {
    Q_OBJECT
public:
    Frm_Oesophagus(ProgramContext& ctx, OesoRunState& run);

    // What the screen does when it opens, and again for every new frog ("Новый"). False
    // when the drug table cannot be read: the program then ends and the screen must not
    // be shown.
    bool Form_Load();

    // Handlers, named after their controls.
    void Combo_Drug_Click();
    void Cmd_Instill_Click();
    void Img_Seeds_MouseDown();
    void Img_Seed_Drop_DragDrop();
    void Pic_Oeso_DragDrop();
    void Timer_Oeso_Timer();
    void Timer_Clock_Timer();
    void Timer_Monitor_Clock_Timer();
    void filler_timer_Timer();
    void Cmd_StartClock_Click();
    void cmd_Reset_Click();
    void Cmd_Ringer_Click();
    void Cmd_Exam_Unknow_Click();
    void Cmd_DrgIdentified_Click();
    void Cmd_Next_Click();
    void Cmd_Table_Click();
    void Cmd_New_Click();
    void Command2_Click();
    void Cmdhelp_Click();

    OesoModel& model() { return m_model; }
    bool dragging() const { return m_dragging; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildSetup();
    QWidget* buildZoom();
    QWidget* buildDrugPanel();
    QWidget* buildExamPanel();
    QWidget* buildStopwatch();
    void hint(const QString& text);
    void placeSeed();
    void showDropper();
    void showHistory();
    void showStopwatch();
    void showExamButtons();
    void showUnknownNumber();
    bool confirm(const QString& text, const QString& title);
    void endExamination();
    void endDrag(const QPoint& globalPos);
    void cancelDrag();
    bool examination() const;

    ProgramContext& m_ctx;
    OesoRunState& m_run;
    OesoModel m_model;

    bool m_dragging = false;

    QLabel *lbl_stephelp, *frogno, *Lab_Texttube, *Lab_drug, *Lab_DrugGiven, *Lastdrug_lbl, *lastdrugname_lbl;
    QLabel *Pic_Oeso, *Img_Seeds, *Img_Seed_Drop, *Image_filler, *Pic_Zoomed;
    QWidget* Shape_Seed;
    QComboBox* Combo_Drug;
    QListWidget *drughistory, *Lst_UnknownDrug;
    QPushButton *Cmd_Instill, *Cmd_Next, *Cmd_Table, *Cmd_New, *Command2, *Cmdhelp;
    QPushButton *Cmd_StartClock, *cmd_Reset, *Cmd_Ringer, *Cmd_Exam_Unknow, *Cmd_DrgIdentified;
    QGroupBox *Frame_Drug, *Frame_Drug_Select;
    QLabel *Lbl_ExamHeading, *Lbl_Unknown;
    std::array<QLineEdit*, 3> txt_time{};  // 0 seconds, 1 minutes, 2 hours
    QTimer *Timer_Oeso, *Timer_Clock, *Timer_Monitor_Clock, *filler_timer;
};
