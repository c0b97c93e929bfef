#include "rabbit_windows.h"

#include "experiment_home.h"
#include "frm_rab_table.h"
#include "frm_rabbit.h"
#include "program_context.h"
#include "rabbit_run_state.h"

void registerRabbitWindows(ProgramContext& ctx, RabbitRunState& run) {
    HomeMember m = mainProgramHome();
    m.windowName = RabbitWindows::Frm_Rab_main;
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
    m.closedAtLoad = {RabbitWindows::Frm_Rabbit, RabbitWindows::Frm_Rab_Table};
    m.experimentWindow = RabbitWindows::Frm_Rabbit;
    // The home screen's examination is the first one; the second follows from the screen.
    m.chooseMode = [&run](HomeChoice choice) {
        switch (choice) {
            case HomeChoice::None:
                run.chooseMode(RabMode::None);
                break;
            case HomeChoice::Tutorial:
                run.chooseMode(RabMode::Tutorial);
                break;
            case HomeChoice::Examination:
                run.chooseMode(RabMode::FirstExamination);
                break;
        }
    };
    m.setPassword = [&run](const QString& password) { run.setPassword(password); };
    m.setStudent = [&run](const Student& student) { run.setStudent(student); };
    m.resetRunState = [&run] { run.reset(); };
    registerHome(ctx, m);

    // A screen whose pictures or table cannot be read is not shown: the program ends.
    ctx.navigator.add(RabbitWindows::Frm_Rabbit, [&ctx, &run]() -> QWidget* {
        auto* w = new Frm_Rabbit(ctx, run);
        if (w->Form_Load()) return w;
        delete w;
        return nullptr;
    });
    ctx.navigator.add(RabbitWindows::Frm_Rab_Table, [&ctx, &run] {
        auto* w = new Frm_Rab_Table(ctx, run);
        w->Form_Load();
        return w;
    });
}

QStringList rabbitDataFiles() {
    return {QStringLiteral("title_rabbit.png")};
}
