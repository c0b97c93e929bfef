#pragma once

class ProgramContext;
class OesoRunState;

// Registers the windows of the frog oesophagus experiment with the program's navigator.
void registerOesophagusWindows(ProgramContext& ctx, OesoRunState& run);
