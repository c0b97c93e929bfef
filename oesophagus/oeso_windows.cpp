#include "oeso_windows.h"

#include "experiment_home.h"
#include "frm_oesophagus.h"
#include "oeso_results.h"
#include "oeso_run_state.h"
#include "program_context.h"

void registerOesophagusWindows(ProgramContext& ctx, OesoRunState& run) {
    HomeMember m = mainProgramHome();
    m.windowName = OesoWindows::Frm_Oeso_main;
    m.caption = QStringLiteral(" Morvane-Пищевод T1.00R");
    m.heading = QStringLiteral("Morvane - Пищевод");
    m.version = QStringLiteral("версия T1.00R");
    m.title = QStringLiteral("Влияние различных веществ на подвижность ресничек в пищеводе лягушки");
    m.picture = QStringLiteral("title_oeso.png");
    m.helpFile = QStringLiteral("oesopha.hlp");
    m.ownsHelp = true;
    m.closedAtLoad = {OesoWindows::Frm_Oesophagus, OesoWindows::Frm_Oeso_Table};
    m.experimentWindow = OesoWindows::Frm_Oesophagus;
    m.chooseMode = [&run](HomeChoice choice) {
        switch (choice) {
            case HomeChoice::None:
                run.chooseMode(OesoMode::None);
                break;
            case HomeChoice::Tutorial:
                run.chooseMode(OesoMode::Tutorial);
                break;
            case HomeChoice::Examination:
                run.chooseMode(OesoMode::Examination);
                break;
        }
    };
    m.setPassword = [&run](const QString& password) { run.setPassword(password); };
    m.setStudent = [&run](const Student& student) { run.setStudent(student); };
    m.resetRunState = [&run] { run.reset(); };
    registerHome(ctx, m);

    ctx.navigator.add(OesoWindows::Frm_Oesophagus, [&ctx, &run]() -> QWidget* {
        auto* w = new Frm_Oesophagus(ctx, run);
        if (w->Form_Load()) return w;
        delete w;  // the drug table could not be read: the program is ending
        return nullptr;
    });
    ctx.navigator.add(OesoWindows::Frm_Oeso_Table, [&ctx, &run] { return new Frm_Oeso_Table(ctx, run); });
    ctx.navigator.add(OesoWindows::Frm_Oeso_Quest, [&ctx] { return new Frm_Oeso_Quest(ctx); });
}

QStringList oesophagusDataFiles() {
    return {
        QStringLiteral("title_oeso.png"),   QStringLiteral("oeso_setup.png"),     QStringLiteral("oeso_zoom.png"),
        QStringLiteral("oeso_seedbox.png"), QStringLiteral("oeso_drop.png"),      QStringLiteral("oeso_dropper.png"),
        QStringLiteral("oeso_tube.png"),    QStringLiteral("oeso_stopwatch.png"), QStringLiteral("Icon1.ico")};
}
