#pragma once

#include "window_names.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <deque>

#include "program_context.h"
#include "random_source.h"
#include "seams.h"

// Test doubles of the outside effects, and a program context built from them.

class ScriptedRandom : public RandomSource {
public:
    std::deque<double> values;  // handed out in order; 0 once they run out
    int reseeds = 0;
    double uniform() override {
        if (values.empty()) return 0;
        const double v = values.front();
        values.pop_front();
        return v;
    }
    void reseedFromClock() override { ++reseeds; }
};

class RecordingMessages : public MessageBoxes {
public:
    QVector<MessageRequest> shown;
    std::deque<MsgAnswer> answers;  // scripted answers; the default button once they run out
    MsgAnswer show(const MessageRequest& request) override {
        shown.push_back(request);
        if (answers.empty()) return request.defaultAnswer;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
};

class RecordingHelp : public HelpViewer {
public:
    struct Call {
        QString what;  // "contents", "topic" or "quit"
        QObject* owner;
        QString file;
        int topic;
    };
    QVector<Call> calls;
    void showContents(QObject* owner, const QString& file) override { calls.push_back({"contents", owner, file, 0}); }
    void showTopic(QObject* owner, const QString& file, int topic) override {
        calls.push_back({"topic", owner, file, topic});
    }
    void quit(QObject* owner) override { calls.push_back({"quit", owner, {}, 0}); }
};

class FakeDesktop : public Desktop {
public:
    QSize screen{12000, 9000};
    bool locked = false;
    QVector<bool> lockChanges;
    QVector<int> quits;   // exit codes asked for
    QStringList started;  // programs asked to start
    bool startSucceeds = true;
    QSize screenSizeTwips() const override { return screen; }
    void setTaskSwitchLock(bool on) override {
        locked = on;
        lockChanges.push_back(on);
    }
    void quitProgram(int exitCode) override { quits.push_back(exitCode); }
    bool startProgram(const QString& path) override {
        started.push_back(path);
        return startSucceeds;
    }
};

// Save dialogs answered as scripted: cancelled once the answers run out.
class ScriptedFiles : public FileChooser {
public:
    QVector<SaveFileRequest> asked;
    std::deque<ChosenFile> answers;
    ChosenFile saveFile(const SaveFileRequest& request) override {
        asked.push_back(request);
        if (answers.empty()) return {};
        const ChosenFile f = answers.front();
        answers.pop_front();
        return f;
    }
};

// A program context of doubles; the desktop can be the real one (real_input.h), the
// messages a kind that also watches them.
template <class DesktopKind, class MessagesKind = RecordingMessages>
struct ContextWith {
    ScriptedRandom random;
    MessagesKind messages;
    RecordingHelp help;
    DesktopKind desktop;
    QTemporaryDir printDir;
    PdfPrinter printer{printDir.filePath(QStringLiteral("printout.pdf"))};
    ScriptedFiles files;
    ProgramContext ctx{QStringLiteral("Morvane T1.00R"), random, messages, help, desktop, printer, files};
    // The journal in a folder of the test's own, at a cost that keeps tests quick.
    QTemporaryDir journalDir;
    ContextWith() {
        ctx.journalPath = journalDir.filePath(QStringLiteral("journal.csv"));
        ctx.journalIterations = 16;
    }
};
using TestContext = ContextWith<FakeDesktop>;

// Lets windows closed with WA_DeleteOnClose go, as the event loop would.
inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window name whose text is `name`; a name no window has stops the test run.
inline WindowName windowNamed(QStringView name) {
    for (WindowName w : allWindowNames)
        if (w.text() == name) return w;
    qFatal("No window is named %s", qPrintable(name.toString()));
}
