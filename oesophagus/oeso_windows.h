#pragma once

class ProgramContext;
struct OesoRunState;

// Registers the windows of the frog oesophagus experiment with the program's navigator.
void registerOesophagusWindows(ProgramContext& ctx, OesoRunState& run);
