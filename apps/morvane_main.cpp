#include "launcher_windows.h"
#include "program_main.h"

int main(int argc, char** argv) {
    MorvaneRunStates runs;
    ProgramSetup setup;
    setup.title = QStringLiteral("Morvane T1.00R");
    setup.icon = QStringLiteral("icon_morvane.png");
    setup.required = {QStringLiteral("splash.png"), QStringLiteral("sel_frog.png"), QStringLiteral("sel_gpig.png"),
                      QStringLiteral("sel_rabbit.png"), QStringLiteral("sel_heart.png"),
                      QStringLiteral("title_oeso.png"), QStringLiteral("title_ileum.png"),
                      QStringLiteral("title_rabbit.png")};
    setup.firstWindow = QStringLiteral("Frm_morvane");
    setup.registerWindows = [&runs](ProgramContext& ctx) { registerMorvaneWindows(ctx, runs); };
    return runProgram(argc, argv, setup);
}
