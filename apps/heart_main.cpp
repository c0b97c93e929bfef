#include "heart_run_state.h"
#include "heart_windows.h"
#include "program_main.h"

int main(int argc, char** argv) {
    HeartRunState run;
    ProgramSetup setup;
    setup.title = QStringLiteral("Morvane - Сердце 1.00R");
    setup.icon = QStringLiteral("icon_heart.png");
    setup.required = heartDataFiles();
    setup.firstWindow = HeartWindows::Frm_Heart_Main;
    setup.registerWindows = [&run](ProgramContext& ctx) { registerHeartWindows(ctx, run); };
    return runProgram(argc, argv, setup);
}
