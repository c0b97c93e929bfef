#include "launcher_windows.h"
#include "program_main.h"

int main(int argc, char** argv) {
    MorvaneRunStates runs;
    ProgramSetup setup;
    setup.title = QStringLiteral("Morvane T1.00R");
    setup.icon = QStringLiteral("icon_morvane.png");
    setup.required = {QStringLiteral("splash.png"), QStringLiteral("sel_frog.png"), QStringLiteral("sel_gpig.png"),
                      QStringLiteral("sel_rabbit.png"), QStringLiteral("sel_heart.png"),
                      QStringLiteral("sel_computer.png"), QStringLiteral("heart_dia.png"), QStringLiteral("heart_sys.png"),
                      QStringLiteral("title_oeso.png"), QStringLiteral("title_ileum.png"),
                      QStringLiteral("title_rabbit.png"), QStringLiteral("oeso_setup.png"),
                      QStringLiteral("oeso_zoom.png"), QStringLiteral("oeso_seedbox.png"), QStringLiteral("oeso_drop.png"),
                      QStringLiteral("oeso_dropper.png"), QStringLiteral("oeso_tube.png"),
                      QStringLiteral("oeso_stopwatch.png"), QStringLiteral("Icon1.ico"), QStringLiteral("ileum_setup.png"),
                      QStringLiteral("ileum_syringe.png"), QStringLiteral("ileum_tube.png"), QStringLiteral("syringe_icon.png")};
    setup.firstWindow = LauncherWindows::Frm_morvane;
    setup.registerWindows = [&runs](ProgramContext& ctx) { registerMorvaneWindows(ctx, runs); };
    return runProgram(argc, argv, setup);
}
