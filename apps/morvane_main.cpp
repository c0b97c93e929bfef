#include "ileum_windows.h"
#include "launcher_windows.h"
#include "oeso_windows.h"
#include "program_main.h"
#include "rabbit_windows.h"

int main(int argc, char** argv) {
    MorvaneRunStates runs;
    ProgramSetup setup;
    setup.title = QStringLiteral("Morvane T1.00R");
    setup.icon = QStringLiteral("icon_morvane.png");
    setup.required = launcherDataFiles() + oesophagusDataFiles() + ileumDataFiles() + rabbitDataFiles();
    setup.firstWindow = LauncherWindows::Frm_morvane;
    setup.registerWindows = [&runs](ProgramContext& ctx) { registerMorvaneWindows(ctx, runs); };
    return runProgram(argc, argv, setup);
}
