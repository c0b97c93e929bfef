#include "rabbit_windows.h"

#include "experiment_home.h"
#include "program_context.h"
#include "rabbit_run_state.h"

void registerRabbitWindows(ProgramContext& ctx, RabbitRunState& run) {
    HomeMember m = mainProgramHome();
    m.windowName = QStringLiteral("Frm_Rab_main");
    m.caption = QStringLiteral("Morvane - Кролик T1.01R");
    m.panelName = QStringLiteral("logo_frm");
    m.panelHidesOnDoubleClick = false;
    m.heading = QStringLiteral("Morvane - Кролик");
    m.version = QStringLiteral("версия T1.01R,  2006");
    m.title = QStringLiteral("Воздействие веществ на глаз кролика");
    m.picture = QStringLiteral("title_rabbit.png");
    m.mask = u'x';
    m.passwordFieldWidth = 10;
    m.helpFile = QStringLiteral("rabbit.hlp");
    m.closedAtLoad = {QStringLiteral("Frm_Rabbit"), QStringLiteral("Frm_Rab_Table")};
    m.experimentWindow = QStringLiteral("Frm_Rabbit");
    m.mode = &run.Rab_Mode;
    m.password = &run.Rab_Password;
    m.resetRunState = [&run] { run.reset(); };
    registerHome(ctx, m);
    registerPlaceholder(ctx, m, QStringLiteral("Действие веществ на глаз кролика"));
}
