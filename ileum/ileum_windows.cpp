#include "ileum_windows.h"

#include "experiment_home.h"
#include "frm_ileum.h"
#include "ileum_exam.h"
#include "ileum_run_state.h"
#include "program_context.h"

void registerIleumWindows(ProgramContext& ctx, IleumRunState& run) {
    HomeMember m = mainProgramHome();
    m.windowName = IleumWindows::Frm_il_main;
    m.caption = QStringLiteral(" Morvane - Подвздошная кишка T1.00R");
    m.heading = QStringLiteral(" Morvane - Подвздошная кишка");
    m.version = QStringLiteral("версия T1.00R");
    m.title = QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки");
    m.picture = QStringLiteral("title_ileum.png");
    m.helpFile = QStringLiteral("ileum.hlp");
    m.closedAtLoad = {IleumWindows::Frm_Ileum, IleumWindows::Frm_I_Exam};
    m.experimentWindow = IleumWindows::Frm_Ileum;
    m.chooseMode = [&run](HomeChoice choice) {
        switch (choice) {
            case HomeChoice::None:
                run.chooseMode(IleumMode::None);
                break;
            case HomeChoice::Tutorial:
                run.chooseMode(IleumMode::Tutorial);
                break;
            case HomeChoice::Examination:
                run.chooseMode(IleumMode::Examination);
                break;
        }
    };
    m.setPassword = [&run](const QString& password) { run.setPassword(password); };
    m.setStudent = [&run](const Student& student) { run.setStudent(student); };
    m.resetRunState = [&run] { run.reset(); };
    registerHome(ctx, m);

    ctx.navigator.add(IleumWindows::Frm_Ileum, [&ctx, &run] {
        auto* w = new Frm_Ileum(ctx, run);
        w->Form_Load();
        return w;
    });
    ctx.navigator.add(IleumWindows::Frm_I_Exam, [&ctx, &run] { return new Frm_I_Exam(ctx, run); });
    ctx.navigator.add(IleumWindows::Frm_Ile_Question, [&ctx] { return new Frm_Ile_Question(ctx); });
}

QStringList ileumDataFiles() {
    return {QStringLiteral("title_ileum.png"), QStringLiteral("ileum_setup.png"), QStringLiteral("ileum_syringe.png"),
            QStringLiteral("ileum_tube.png"), QStringLiteral("syringe_icon.png")};
}
