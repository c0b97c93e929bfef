#pragma once

#include <QStringList>

class ProgramContext;
class RabbitRunState;

// Registers the windows of the rabbit-eye experiment with the program's navigator.
void registerRabbitWindows(ProgramContext& ctx, RabbitRunState& run);
// The data files without which these windows cannot be shown, checked before the program starts.
QStringList rabbitDataFiles();
