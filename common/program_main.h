#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "window_names.h"

class ProgramContext;
class QTranslator;

struct ProgramSetup {
    QString title;         // the program's title, carried by message boxes without one
    QString icon;          // window icon, a file of the data folder
    QStringList required;  // data files without which the program cannot start
    WindowName firstWindow;
    std::function<void(ProgramContext&)> registerWindows;
};

// Starts a program: enters the data folder, checks its files, opens the first window
// and runs the event loop. Returns the program's exit status.
//
// With MORVANE_TRACE_WINDOWS=<window name> in the environment the program prints the
// monotonic clock (ns) at the first paint of each window and ends at the first paint of
// the named one; bench/ measures start-up with it. With MORVANE_STATE_DUMP=<file> it
// keeps a description of its windows in the file for the end-to-end runs (state_dump.h).
// With --check-journal [FILE] as its arguments it opens no window: it checks the
// examination journal in the terminal (journal.h) and returns the check's status.
int runProgram(int argc, char** argv, const ProgramSetup& setup);

// Makes Qt's own texts (file dialogs, context menus, standard buttons) Russian like the
// rest of the program, from Qt's installed translations. Returns the translator, owned by
// the application, or nullptr when Qt's Russian translation is not installed (the texts
// then stay English).
QTranslator* installQtTranslations();
