#pragma once

#include <QString>

// For the end-to-end runs of the real programs only (MORVANE_STATE_DUMP=<file>): a few
// times a second, when anything changed, the program writes what its visible windows
// show into the file, one line per window and per control:
//   window <TAB> objectName <TAB> title <TAB> "active" or nothing <TAB> its window-system id
//   objectName <TAB> class <TAB> centre x y on the screen <TAB> on|off <TAB> shown text
// so a script can find a control to click with real X events and read what a person sees.
void startStateDump(const QString& file);
