#pragma once

#include <QPointer>
#include <QString>

#include "journal.h"
#include "navigator.h"
#include "printing.h"
#include "random_source.h"
#include "seams.h"

// Everything a program's windows share for the whole run: its title, the outside
// effects, the window navigator and the help owner. Each experiment's run state lives
// beside it in the program's own context (see launcher/ and heart/).
class ProgramContext {
public:
    ProgramContext(QString title, RandomSource& random, MessageBoxes& messages, HelpViewer& help, Desktop& desktop,
                   Printer& printer, FileChooser& files)
        : title(std::move(title)),
          random(random),
          messages(messages),
          help(help),
          desktop(desktop),
          printer(printer),
          files(files) {}

    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    const QString title;  // "Morvane T1.00R" or "Morvane - Сердце 1.00R"
    RandomSource& random;
    MessageBoxes& messages;
    HelpViewer& help;
    Desktop& desktop;
    Printer& printer;
    FileChooser& files;
    Navigator navigator;

    // The examination journal every finished examination is added to, and the cost of its
    // key derivation (tests write to a folder of their own, at a lower cost).
    QString journalPath = journal::defaultPath();
    int journalIterations = journal::defaultIterations;

    // The window the help viewer works for (set by InitHelp).
    QPointer<QObject> helpOwner;

    // A message box; one without a title of its own carries the program's title.
    MsgAnswer message(MessageRequest request) {
        if (request.title.isEmpty()) request.title = title;
        return messages.show(request);
    }

    // A data file the program cannot do without is missing or broken: one clear
    // message, then the program ends with a failure status.
    void fail(const QString& text) {
        message({text, {}, MsgButtons::Ok, MsgIcon::Critical, MsgAnswer::Ok});
        desktop.quitProgram(1);
    }
};
