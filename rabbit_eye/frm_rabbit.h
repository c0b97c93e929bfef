#pragma once

#include <QCursor>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "rabbit_model.h"

class ClickableLabel;
class ProgramContext;
class PupilShape;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class RabShape;
struct RabbitRunState;

// The rabbit-eye experiment screen: the student instils substances into the eyes of a
// rabbit, tests the light reflex with the torch and the corneal reflex with the cotton,
// measures the pupils with the rulers and reads the tension gauges. In the examinations
// the substances are unknowns that the student identifies.
class Frm_Rabbit : public QWidget {
    Q_OBJECT
public:
    Frm_Rabbit(ProgramContext& ctx, RabbitRunState& run);
    ~Frm_Rabbit() override;

    // What the window does when it loads: its pictures, the substance table, the first
    // rabbit. False when a file it needs is missing or broken: the message is shown, the
    // program is ending and the window must not be shown.
    bool Form_Load();

    // Drag states of a drag over a control.
    enum DragState { Entering = 0, Leaving = 1, Over = 2 };

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

    // The tool being dragged, over the eye targets and the right head.
    void Image_LEye_DragOver(DragState state);
    void Image_REye_DragOver(DragState state);
    void Pic_Rrab_DragOver(DragState state);
    // A ruler dragged over an eye view; x and y in twips of the view.
    void Pic_LEye_DragOver(QWidget* source, double x, double y, DragState state);
    void Pic_Reye_DragOver(QWidget* source, double x, double y, DragState state);

    // The dragged tool follows the pointer: where it is now, in pixels of this window.
    void dragToolTo(QPoint windowPos);
    // The click that ends a drag of the tool.
    void endToolDrag();
    bool draggingTool() const { return m_toolDrag; }
    // The file of the drag icon on show (empty when no tool is dragged).
    QString dragIcon() const { return m_toolDrag ? m_dragIcon : QString(); }

    // Left edge of a ruler in twips of its eye view.
    int rulerLeft(EyeSide side) const { return m_rulerX[side == EyeSide::Left ? 0 : 1]; }

    const RabbitModel& model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QGroupBox* buildEyePanel(EyeSide side);
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
    void placeRuler(EyeSide side, int x);
    void setDragIcon(const QString& file);
    QCursor toolCursor(const QString& file) const;
    void pickTool(RabTool tool, const QString& icon);
    void watchApplication(bool on);
    void moveOnFromFirstExamination();
    void openResults();
    void substanceHint();
    bool examination() const;

    ProgramContext& m_ctx;
    RabbitRunState& m_run;
    RabbitModel m_model;
    QHash<QString, QPixmap> m_pictures;

    // Everything of one eye's panel.
    struct EyeControls {
        QLabel* view;          // Pic_LEye / Pic_Reye
        PupilShape* pupil;     // Shape_LEye / Shape_REye
        RabShape* zoom;        // Shape_LEZoom / Shape_REzoom
        QLabel* ruler;         // Picture_ScaleL / Picture_Scale_R
        QLabel* head;          // Pic_LRab / Pic_Rrab
        QLabel* dropper;       // Image_LD / Image_Rd
        QWidget* target;       // Image_LEye / Image_REye
        RabShape* marker;      // Shape_Rzoom / Shape_Zooml
        RabShape* tension;     // Shape_LTension / Shape_RTension
        QLabel* drugName;      // Lab_LDrug / Lab_rDrug
        QTimer* instill;       // Timer_L_Instill / Timer_R_Instill
        QTimer* reopen;        // Timer_LEye / Timer_REye
    };
    EyeControls m_eye[2];
    EyeControls& controls(EyeSide side) { return m_eye[side == EyeSide::Left ? 0 : 1]; }

    QGroupBox *Frame_help, *Frame_Exam, *Frame_Drug, *Frame_Eye_Sel;
    QLabel *LAb_Title, *Lbl_step, *Lab_Drug, *lab_Exam, *Lab_DName;
    ClickableLabel *Pic_Rabbit, *Lab_Rab_No, *Image_Torche, *Image_Cotton;
    QComboBox* Combo_Drug;
    QListWidget* Lst_Exam;
    QPushButton *Cmd_Dr_Id, *Cmd_Instill, *Cmd_Saline, *Cmd_New, *Cmd_Next, *Cmd_Table, *cmdreturn;

    QHBoxLayout* m_eyesRow = nullptr;  // the two eye panels: the screen is as wide as they are
    int m_rulerX[2] = {0, 0};

    // The tool drag: from the pick until the next click.
    bool m_toolDrag = false;
    bool m_swallowRelease = false;
    bool m_watching = false;  // this window filters the application's events
    QString m_dragIcon;
    enum class Target { None, LeftEye, RightEye, RightHead };
    Target m_dragTarget = Target::None;
    Target targetAt(QPoint windowPos) const;
    void dragOver(Target target, DragState state);

    // The ruler being dragged, and whether the pointer was over its eye view.
    QPointer<QLabel> m_rulerDrag;
    bool m_rulerInside = false;
    void rulerDragTo(QPoint globalPos);
};
