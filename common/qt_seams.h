#pragma once

#include <QObject>
#include <QPointer>

#include "seams.h"

// The real outside effects of a program.

class QtMessageBoxes : public MessageBoxes {
public:
    MsgAnswer show(const MessageRequest& request) override;
};

class QtDesktop : public Desktop {
public:
    ~QtDesktop() override;
    QSize screenSizeTwips() const override;
    void setTaskSwitchLock(bool on) override;
    void quitProgram(int exitCode) override;
    bool startProgram(const QString& path) override;

private:
    QPointer<QObject> m_lock;  // the event filter that keeps the keyboard while the lock is on
};
