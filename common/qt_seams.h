#pragma once

#include <QObject>
#include <QPointer>

#include "seams.h"

// The real outside effects of a program.

class QtMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const MessageRequest& request) override;
};

class QtFileChooser : public FileChooser {
public:
    ChosenFile saveFile(const SaveFileRequest& request) override;
};

class QtDesktop : public Desktop {
public:
    ~QtDesktop() override;
    QSize screenSizeTwips() const override;
    void setTaskSwitchLock(bool on) override;
    void quitProgram(int exitCode) override;
    bool startProgram(const QString& path) override;

    // The program's status once its event loop returned `loopStatus`: a failure asked for
    // stays the status, whatever ended the loop (the last window closing ends it with 0,
    // which can come before the failure's own exit).
    int exitStatus(int loopStatus) const { return m_failure != 0 ? m_failure : loopStatus; }

private:
    QPointer<QObject> m_lock;  // the event filter that keeps the keyboard while the lock is on
    int m_failure = 0;
};
