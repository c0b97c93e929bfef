#include "heart_windows.h"

#include "experiment_home.h"
#include "frm_heart.h"
#include "heart_exam.h"
#include "heart_run_state.h"
#include "program_context.h"

void registerHeartWindows(ProgramContext& ctx, HeartRunState& run) {
    HomeMember m;
    m.windowName = HeartWindows::Frm_Heart_Main;
    m.caption = QStringLiteral("Morvane - Сердце E1.00R");
    m.panelName = QStringLiteral("Frm_logo");
    m.panelHidesOnDoubleClick = false;
    m.hasImage3 = false;
    m.heading = QStringLiteral("Morvane - Сердце");
    m.version = QStringLiteral("версия E1.00R");
    m.title = QStringLiteral("Влияние веществ на изолированное сердце лягушки");
    m.picture = QStringLiteral("title_heart.png");
    m.credits = {QStringLiteral("Учебная программа для практических занятий по фармакологии"),
                 QStringLiteral("Разработка: группа Morvane")};
    m.modeFrameName = QStringLiteral("Frame_Mode");
    m.modeFrameCaption = QStringLiteral("Выберите");
    m.tutName = QStringLiteral("Cmd_Tutorial");
    m.examName = QStringLiteral("Cmd_Exam");
    m.instructName = QStringLiteral("Cmd_Instruct");
    m.quitName = QStringLiteral("Cmd_Exit");
    m.tutTip = QStringLiteral("Режим обучения");
    m.examTip = QStringLiteral("Режим проверки знаний");
    m.instructTip = QStringLiteral("Сведения о программе и об эксперименте");
    m.quitTip = QStringLiteral("Выход в Windows");
    m.passFrameName = QStringLiteral("Frame_Password");
    m.passFrameCaption = QStringLiteral("Вход для режима проверки");
    m.passLabelName = QStringLiteral("Lab_Password");
    m.passLabelText = QStringLiteral("Пароль :");
    m.passBoxName = QStringLiteral("Txt_PassWord");
    m.okName = QStringLiteral("Cmd_Ok_Password");
    m.okCaption = QStringLiteral("&Ok");
    m.cancelName = QStringLiteral("Cmd_Cancel_Password");
    m.cancelCaption = QStringLiteral("&Отмена");
    m.mask = u'x';
    m.passwordFieldWidth = 10;
    m.helpFile = QStringLiteral("heart.hlp");
    m.ownsHelp = false;
    m.closedAtLoad = {HeartWindows::Frm_Question, HeartWindows::Frm_Heart, HeartWindows::Frm_Heart_Table};
    m.experimentWindow = HeartWindows::Frm_Heart;
    m.chooseMode = [&run](HomeChoice choice) {
        switch (choice) {
            case HomeChoice::None:
                run.chooseMode(HeartMode::None);
                break;
            case HomeChoice::Tutorial:
                run.chooseMode(HeartMode::Tutorial);
                break;
            case HomeChoice::Examination:
                run.chooseMode(HeartMode::Exam1);  // the examinations start with the first
                break;
        }
    };
    m.setPassword = [&run](const QString& password) { run.setPassword(password); };
    m.setStudent = [&run](const Student& student) { run.setStudent(student); };
    m.resetRunState = [&run] { run.reset(); };
    m.heartRules = true;
    registerHome(ctx, m);

    ctx.navigator.add(HeartWindows::Frm_Heart, [&ctx, &run]() -> QWidget* {
        auto* w = new Frm_Heart(ctx, run);
        if (w->Form_Load()) return w;
        delete w;
        return nullptr;
    });
    ctx.navigator.add(HeartWindows::Frm_Question, [&ctx, &run] { return new Frm_Question(ctx, run); });
    ctx.navigator.add(HeartWindows::Frm_Heart_Table, [&ctx, &run] { return new Frm_Heart_Table(ctx, run); });
}

QStringList heartDataFiles() {
    return {QStringLiteral("title_heart.png"),  QStringLiteral("heart_setup.png"), QStringLiteral("heart_dia.png"),
            QStringLiteral("heart_sys.png"),    QStringLiteral("heart_stop.png"),  QStringLiteral("heart_hand.png"),
            QStringLiteral("ileum_syringe.png")};
}
