#pragma once

#include <QStringList>

class ProgramContext;
class IleumRunState;

// Registers the windows of the guinea-pig ileum bioassay with the program's navigator.
void registerIleumWindows(ProgramContext& ctx, IleumRunState& run);
// The data files without which these windows cannot be shown, checked before the program starts.
QStringList ileumDataFiles();
