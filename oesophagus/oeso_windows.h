#pragma once

#include <QStringList>

class ProgramContext;
class OesoRunState;

// Registers the windows of the frog oesophagus experiment with the program's navigator.
void registerOesophagusWindows(ProgramContext& ctx, OesoRunState& run);
// The data files without which these windows cannot be shown, checked before the program starts.
QStringList oesophagusDataFiles();
