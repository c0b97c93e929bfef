#pragma once

#include <QStringList>

class ProgramContext;
class HeartRunState;

// Registers the windows of the heart program with its navigator.
void registerHeartWindows(ProgramContext& ctx, HeartRunState& run);
// The data files without which these windows cannot be shown, checked before the program starts.
QStringList heartDataFiles();
