#pragma once

#include <QHash>
#include <QPixmap>
#include <QWidget>

#include "drag_state.h"
#include "rabbit_model.h"
#include "ruler_drag.h"
#include "tool_carrier.h"

class ClickableLabel;
class EyePanel;
class ProgramContext;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QVBoxLayout;
class RabbitRunState;

// The rabbit-eye experiment screen: the student instils substances into the eyes of a
// rabbit, tests the light reflex with the torch and the corneal reflex with the cotton,
// measures the pupils with the rulers and reads the tension gauges. In the examinations
// the substances are unknowns that the student identifies. The rules are the model's;
// the screen forwards each event to it and shows the result.
class Frm_Rabbit : public QWidget {
    Q_OBJECT
public:
    Frm_Rabbit(ProgramContext& ctx, RabbitRunState& run);

    // What the window does when it loads: its pictures, the substance table, the first
    // rabbit. False when a file it needs is missing or broken: the message is shown, the
    // program is ending and the window must not be shown.
    bool Form_Load();

    // Drag states of a drag over a control: Frm_Rabbit::Entering, Leaving, Over.
    using enum DragState;

    // Handlers, named after their controls.
    void Cmd_Instill_Click();
    void Cmd_Saline_Click();
    void Cmd_LEye_Click();
    void Cmd_Reye_Click();
    void Cmd_Can_Click();
    void Cmd_New_Click();
    void Pic_Rabbit_Click();
    void Lab_Rab_No_Click();
    void Cmd_Next_Click();
    void Cmd_Table_Click();
    void cmdreturn_Click();
    void cmd_help_Click();
    void Cmd_Dr_Id_Click();
    void Image_Torche_Click();
    void Image_Cotton_Click();

    void Timer_L_Instill_Timer();
    void Timer_R_Instill_Timer();
    void Timer_LEye_Timer();
    void Timer_REye_Timer();

    // The tool being carried, over the eye targets and the right head.
    void Image_LEye_DragOver(DragState state);
    void Image_REye_DragOver(DragState state);
    void Pic_Rrab_DragOver(DragState state);
    // A ruler dragged over an eye view; x and y in twips of the view.
    void Pic_LEye_DragOver(QWidget* source, double x, double y, DragState state);
    void Pic_Reye_DragOver(QWidget* source, double x, double y, DragState state);

    // The carried tool follows the pointer: where it is now, in pixels of this window.
    void dragToolTo(QPoint windowPos);
    // The click that puts the tool down.
    void endToolDrag() { m_tool.putDown(); }
    bool draggingTool() const { return m_tool.carrying(); }
    // The file of the drag icon on show (empty when no tool is carried).
    QString dragIcon() const { return m_tool.icon(); }

    // Left edge of a ruler in twips of its eye view.
    int rulerLeft(EyeSide side) const;

    const RabbitModel& model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Builders of the controls, band by band.
    QGroupBox* buildTitle();
    QGroupBox* buildHelp();
    QGroupBox* buildIdentification();
    QVBoxLayout* buildRabbit();
    EyePanel* buildEye(EyeSide side);
    QGroupBox* buildSubstance();
    QGroupBox* buildEyeChoice();
    QGroupBox* buildTools();
    QGroupBox* buildCommands();
    void buildControls();

    bool loadPictures();
    bool loadTable();
    void setUp();
    void newRabbit(bool always);
    void showSubstancePanel();
    void instilInto(EyeSide side);
    void showDrops(EyeSide side);
    void instillationStep(EyeSide side);
    void reopen(EyeSide side);
    void blink(EyeSide side);
    void testWithTool(EyeSide side);
    void showEye(EyeSide side);
    void pickTool(RabTool tool, const QString& icon);
    QString toolIcon(bool overTheHead) const;
    void moveOnFromFirstExamination();
    void showExamBanner();  // the examination and its unknown "k из n"
    bool confirmed(const QString& question);
    void openResults();
    void substanceHint();

    ProgramContext& m_ctx;
    RabbitRunState& m_run;
    RabbitModel m_model;
    QHash<QString, QPixmap> m_pictures;

    // One eye: its panel, its instillation clock, and the clock that opens it after a blink.
    struct Eye {
        EyePanel* panel = nullptr;  // Frame_PicLeft / Frame_Pic_right
        QTimer* instill = nullptr;  // Timer_L_Instill / Timer_R_Instill
        QTimer* reopen = nullptr;   // Timer_LEye / Timer_REye
    };
    Eye m_eye[2];
    Eye& eye(EyeSide side) { return m_eye[side == EyeSide::Left ? 0 : 1]; }
    const Eye& eye(EyeSide side) const { return m_eye[side == EyeSide::Left ? 0 : 1]; }

    QGroupBox *Frame_help, *Frame_Exam, *Frame_Drug, *Frame_Eye_Sel;
    QLabel *LAb_Title, *Lbl_step, *Lab_Drug, *lab_Exam, *Lab_DName;
    QLabel *Lbl_ExamHeading, *Lbl_ExamBanner;
    ClickableLabel *Pic_Rabbit, *Lab_Rab_No, *Image_Torche, *Image_Cotton;
    QComboBox* Combo_Drug;
    QListWidget* Lst_Exam;
    QPushButton *Cmd_Dr_Id, *Cmd_Instill, *Cmd_Saline, *Cmd_New, *Cmd_Next, *Cmd_Table, *cmdreturn;

    QHBoxLayout* m_eyesRow = nullptr;  // the two eye panels: the screen is as wide as they are

    // The tool carried from the pick until the next click, and what it is over.
    ToolCarrier m_tool{this, m_pictures};
    enum class Target { None, LeftEye, RightEye, RightHead };
    Target m_dragTarget = Target::None;
    Target targetAt(QPoint windowPos) const;
    void dragOver(Target target, DragState state);

    RulerDrag m_rulers;
};
