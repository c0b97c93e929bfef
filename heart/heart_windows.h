#pragma once

class ProgramContext;
struct HeartRunState;

// Registers the windows of the heart program with its navigator.
void registerHeartWindows(ProgramContext& ctx, HeartRunState& run);
