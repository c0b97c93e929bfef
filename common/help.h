#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "seams.h"

class ProgramContext;
class QTextBrowser;

// Remembers the window the help viewer works for.
void InitHelp(ProgramContext& ctx, QWidget* owner);
// Closes the help windows opened for the remembered owner; nothing happens before InitHelp.
void CloseHelp(ProgramContext& ctx);

// One help file on screen: an HTML page with a contents section at the top and
// topics marked by anchors named by their numbers (<a name="50">).
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& path);
    void showContents();
    void showTopic(int topic);
    QTextBrowser* browser() const { return m_browser; }

private:
    QString m_path;
    QTextBrowser* m_browser;
};

// The program's help viewer: help files are found by bare name in the current folder
// (with ".hlp" added when the bare name has none). A file it cannot find is reported in
// its own message box and the program goes on.
class HelpWindows : public HelpViewer {
public:
    explicit HelpWindows(MessageBoxes& messages) : m_messages(messages) {}
    ~HelpWindows() override;
    void showContents(QObject* owner, const QString& file) override;
    void showTopic(QObject* owner, const QString& file, int topic) override;
    void quit(QObject* owner) override;

    // The window showing that file, if any.
    HelpWindow* window(const QString& file) const;

private:
    HelpWindow* open(QObject* owner, const QString& file);

    struct Entry {
        QPointer<HelpWindow> window;
        QPointer<QObject> owner;
    };
    MessageBoxes& m_messages;
    QHash<QString, Entry> m_windows;  // by file name as asked for
};
