#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "window_names.h"

class ProgramContext;
struct Student;
class QFrame;
class QGroupBox;
class QLineEdit;
class QTimer;

// What the home screen's buttons choose: nothing (back at the choice), the tutorial or the
// examination.
enum class HomeChoice : quint8 { None, Tutorial, Examination };

// What one experiment's home screen is: its names, texts and rules. The four home
// screens are one class configured by one of these.
struct HomeMember {
    WindowName windowName;  // e.g. OesoWindows::Frm_Oeso_main
    QString caption;

    // Title panel, covering the window when it opens.
    QString panelName;             // "Frm_logo" or "logo_frm"
    bool panelHidesOnDoubleClick;  // else a single click on the panel hides it
    bool hasImage3;                // a picture in the panel whose click hides it
    QString heading;               // big heading of the panel
    QString version;               // version label of the panel
    QString title;                 // the experiment's title line (panel and window)
    QString picture;               // picture file of the panel and the window
    QStringList credits;

    // Mode buttons (objectName, caption, tooltip) and their frame.
    QString modeFrameName, modeFrameCaption;
    QString tutName, examName, instructName, quitName;
    QString tutTip, examTip, instructTip, quitTip;

    // Password frame.
    QString passFrameName, passFrameCaption, passLabelName, passLabelText, passBoxName;
    QString okName, okCaption, cancelName, cancelCaption;
    QChar mask;
    int passwordFieldWidth;  // 0: any length; 10: a fixed field of 10 characters

    QString helpFile;                // opened at its contents by "Инструкция"
    bool ownsHelp;                   // registers itself as help owner while open
    QList<WindowName> closedAtLoad;  // experiment windows closed when the home screen loads
    WindowName experimentWindow;     // opened for tutorial and examination

    // Run state of the experiment (it outlives the window): the home screen tells it the
    // mode chosen, the supervisor's password and the student who sits the examination, and
    // empties it at every load.
    std::function<void(HomeChoice)> chooseMode;
    std::function<void(const QString&)> setPassword;
    std::function<void(const Student&)> setStudent;
    std::function<void()> resetRunState;

    // The heart program's rules: "Проверка" switches the task-switch lock on and chooses
    // the examination at once, "&Отмена" and "Выход" switch it off again, a rejected
    // password starts "Проверка" over, and "Выход" ends the program.
    bool heartRules = false;
};

class ExperimentHome : public QWidget {
    Q_OBJECT
public:
    ExperimentHome(ProgramContext& ctx, HomeMember member);

    // What the window does when it loads. False when the user chose to end the program
    // at the low-resolution warning; the window must then not be shown.
    bool load();

    const HomeMember& member() const { return m_member; }

    // Handlers, named after their controls.
    void tutorialClick();
    void examClick();
    void okClick();
    void cancelClick();  // of the password frame and of the student frame
    void studentOkClick();
    void instructClick();
    void quitClick();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanel();
    void buildStudentFrame();
    void handOver();

    ProgramContext& m_ctx;
    HomeMember m_member;
    QFrame* m_panel = nullptr;
    QGroupBox* m_modeFrame = nullptr;
    QGroupBox* m_passFrame = nullptr;
    QLineEdit* m_passBox = nullptr;
    // After the password: who sits the examination ("Frm_Student").
    QGroupBox* m_studentFrame = nullptr;
    QLineEdit* m_surnameBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_groupBox = nullptr;
    QTimer* m_timer = nullptr;
};

// The names and texts the three home screens of the main program share.
HomeMember mainProgramHome();

// Registers a home screen with the program's navigator.
void registerHome(ProgramContext& ctx, const HomeMember& member);
