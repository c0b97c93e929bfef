#pragma once

class ProgramContext;
class RabbitRunState;

// Registers the windows of the rabbit-eye experiment with the program's navigator.
void registerRabbitWindows(ProgramContext& ctx, RabbitRunState& run);
