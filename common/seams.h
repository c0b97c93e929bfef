#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QObject;

// The outside effects of a program, each behind one small interface so that tests can
// replace it (see tests/support for the doubles).

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;  // empty: the program's title
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
};

// Modal message boxes.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(const MessageRequest& request) = 0;
};

// The help viewer: opens a help file by bare name at its contents or at a numbered
// topic, on behalf of an owner window, and closes what it opened for an owner.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showContents(QObject* owner, const QString& file) = 0;
    virtual void showTopic(QObject* owner, const QString& file, int topic) = 0;
    virtual void quit(QObject* owner) = 0;
};

// The desktop the program runs on.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual QSize screenSizeTwips() const = 0;
    // Keeps students in the program during an examination: while on, the program's
    // active window holds the keyboard and stays on top.
    virtual void setTaskSwitchLock(bool on) = 0;
    // Ends the program once control returns to the event loop.
    virtual void quitProgram(int exitCode) = 0;
    // Starts another program on its own (it lives on when this one ends); false when it
    // could not be started.
    virtual bool startProgram(const QString& path) = 0;
};

// The file a save dialog asks for: under `title`, `proposedPath` offered, one of `filters`
// ("PDF (*.pdf)") to choose, the first chosen at the start.
struct SaveFileRequest {
    QString title;
    QString proposedPath;
    QStringList filters;
};

struct ChosenFile {
    QString path;    // empty when the user cancelled
    QString filter;  // the filter chosen, one of the request's
};

// Save dialogs.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual ChosenFile saveFile(const SaveFileRequest& request) = 0;
};
