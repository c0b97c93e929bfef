#pragma once

class ProgramContext;
class IleumRunState;

// Registers the windows of the guinea-pig ileum bioassay with the program's navigator.
void registerIleumWindows(ProgramContext& ctx, IleumRunState& run);
