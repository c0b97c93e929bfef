#pragma once

class ProgramContext;
class HeartRunState;

// Registers the windows of the heart program with its navigator.
void registerHeartWindows(ProgramContext& ctx, HeartRunState& run);
