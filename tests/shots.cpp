// Takes a picture of every window in each of its states, for a person to look at:
//   shots <folder>
// Not a test: it asserts nothing. Runs on any platform plugin (offscreen is enough).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "data_files.h"
#include "drug_names.h"
#include "exam_journal.h"
#include "exam_record.h"
#include "exam_results.h"
#include "experiment_home.h"
#include "fakes.h"
#include "frm_heart.h"
#include "frm_ileum.h"
#include "heart_run_state.h"
#include "heart_windows.h"
#include "help.h"
#include "ileum_model.h"
#include "ileum_recorder.h"
#include "launcher_windows.h"
#include "setup_picture.h"
#include "shots.h"

using namespace shots;

namespace {}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!shots::start(argc, argv, QStringLiteral("shots"))) return 1;

    TestContext t;
    MorvaneRunStates runs;
    HeartRunState heart;
    registerMorvaneWindows(t.ctx, runs);
    registerHeartWindows(t.ctx, heart);
    Navigator& nav = t.ctx.navigator;

    shoot(nav.open(LauncherWindows::Frm_morvane), QStringLiteral("splash"));
    shoot(nav.open(LauncherWindows::Frm_Selection), QStringLiteral("selection"));
    shoot(nav.open(LauncherWindows::Frm_instruct), QStringLiteral("instruct"));
    shoot(nav.open(LauncherWindows::HeartMsg), QStringLiteral("heartmsg"));

    for (const char* name : {"Frm_Oeso_main", "Frm_il_main", "Frm_Rab_main", "Frm_Heart_Main"}) {
        auto* home = qobject_cast<ExperimentHome*>(nav.open(windowNamed(QString::fromLatin1(name))));
        shoot(home, QStringLiteral("%1_panel").arg(QLatin1String(name)));
        home->Timer1_Timer();
        shoot(home, QStringLiteral("%1_modes").arg(QLatin1String(name)));
        const HomeMember& m = home->member();
        click(home, m.examName);
        shoot(home, QStringLiteral("%1_password").arg(QLatin1String(name)));
        home->findChild<QLineEdit*>(m.passBoxName)->setText(QStringLiteral("abcd"));
        click(home, m.okName);
        home->findChild<QLineEdit*>(QStringLiteral("Txt_Surname"))->setText(QStringLiteral("Константинопольская"));
        home->findChild<QLineEdit*>(QStringLiteral("Txt_StudentName"))->setText(QStringLiteral("Александра"));
        home->findChild<QLineEdit*>(QStringLiteral("Txt_Group"))->setText(QStringLiteral("Л-101"));
        shoot(home, QStringLiteral("%1_student").arg(QLatin1String(name)));
        click(home, QStringLiteral("Cmd_StudentCancel"));
        click(home, m.tutName);
        shoot(nav.find(home->member().experimentWindow), QStringLiteral("%1_experiment").arg(QLatin1String(name)));
    }

    {
        // The ileum's recorder after a dose-response curve and a few standards.
        IleumModel model;
        QWidget host;
        auto* dose = new QLineEdit(&host);
        auto* standard = new QLineEdit(QStringLiteral("0.5"), &host);
        auto* rec = new IleumRecorder(t.ctx, model, &host);
        rec->setControls({dose, standard, nullptr, nullptr, {}});
        rec->SetupRecorder();
        t.random.values = {0.5, 0.375};  // RefY 182, Sensitivity 2.5
        model.startExperiment(t.random);
        rec->placeRuler();
        auto inject = [&](const QString& text) {
            dose->setText(text);
            rec->Cmd_inject_Click();
            rec->finishInjection();
        };
        for (const char* d : {"0.02", "0.05", "0.1", "0.2", "0.4", "0.8", "1.6", "3.2", "6.4", "12.8"})
            inject(QString::fromLatin1(d));
        model.startMatching();
        t.random.values = {0.34};  // MatchVolume 0.3
        model.confirmStandard(t.random);
        for (StandardDose which : {StandardDose::Standard, StandardDose::Double, StandardDose::Half}) {
            model.queueStandard(which, standard->text());
            inject(QStringLiteral("0.1"));
        }
        inject(QStringLiteral("0.25"));
        rec->setRulerX(rec->paper().width() - 140);
        host.resize(rec->sizeHint());
        rec->resize(rec->sizeHint());
        host.show();
        shoot(rec, QStringLiteral("ileum_recorder"));
    }

    {
        // The bioassay screen in each stage, then its examination form.
        auto* home = nav.open(IleumWindows::Frm_il_main);
        t.random.values = {0.0, 0.375};  // RefY 179, Sensitivity 2.5
        click(home, QStringLiteral("Cmd_Tut"));
        auto* screen = qobject_cast<Frm_Ileum*>(nav.find(IleumWindows::Frm_Ileum));
        auto injectWith = [&](const QString& button) {
            click(screen, button);
            screen->recorder()->finishInjection();
        };
        for (int i = 0; i < 9; ++i) {
            injectWith(QStringLiteral("Cmd_inject"));
            click(screen, QStringLiteral("Cmd_updose"));
        }
        shoot(screen, QStringLiteral("ileum_1_dose_response"));
        click(screen, QStringLiteral("Cmd_MatchAssay"));
        screen->findChild<QLineEdit*>(QStringLiteral("Txt_stddose"))->setText(QStringLiteral("0.5"));
        shoot(screen, QStringLiteral("ileum_2_standard_dose"));
        click(screen, QStringLiteral("Cmd_stddose"));
        for (const char* b : {"Cmd_Std", "Cmd_HalfStd", "Cmd_DoubleStd", "Cmd_unknown", "Cmd_Std"})
            injectWith(QString::fromLatin1(b));
        screen->findChild<QWidget*>(QStringLiteral("Img_inject"))->show();
        shoot(screen, QStringLiteral("ileum_3_matching_with_syringe"));
        screen->findChild<QWidget*>(QStringLiteral("Img_inject"))->hide();
        click(screen, QStringLiteral("Cmd_Calculate"));
        screen->findChild<QLineEdit*>(QStringLiteral("Txt_cal"))->setText(QStringLiteral("0.25"));
        click(screen, QStringLiteral("Cmd_Cal"));
        shoot(screen, QStringLiteral("ileum_4_calculation"));
        click(screen, QStringLiteral("Cmd_Next"));
        shoot(nav.find(IleumWindows::Frm_Ile_Question), QStringLiteral("ileum_5_questions"));

        runs.ileum.chooseMode(IleumMode::Examination);
        runs.ileum.setPassword(QStringLiteral("ABCD"));
        runs.ileum.setActualConc(2.380952f);
        runs.ileum.setStudent({QStringLiteral("Иванов"), QStringLiteral("Иван"), QStringLiteral("101")});
        auto* exam = nav.open(IleumWindows::Frm_I_Exam);
        shoot(exam, QStringLiteral("ileum_6_exam_answer"));
        exam->findChild<QLineEdit*>(QStringLiteral("Txt_Cal_Con"))->setText(QStringLiteral("2.4"));
        click(exam, QStringLiteral("com_student"));
        shoot(exam, QStringLiteral("ileum_7_exam_password"));
        exam->findChild<QLineEdit*>(QStringLiteral("Txt_Pass"))->setText(QStringLiteral("abcd"));
        click(exam, QStringLiteral("Cmd_pass"));
        shoot(exam, QStringLiteral("ileum_8_exam_result"));
        shoot(examResultsWindow(), QStringLiteral("ileum_9_exam_marks"));
    }

    {
        // The heart program: a tutorial recording with drugs and an arrest, then the later windows.
        auto* home = nav.open(HeartWindows::Frm_Heart_Main);
        click(home, QStringLiteral("Cmd_Tutorial"));
        auto* h = qobject_cast<Frm_Heart*>(nav.find(HeartWindows::Frm_Heart));
        auto ticks = [h](int n) {
            for (int i = 0; i < n; ++i) h->RecorderTick();
        };
        auto inject = [h](int position) {
            auto* list = h->findChild<QComboBox*>(QStringLiteral("Combo_Drug"));
            list->setCurrentIndex(position);
            h->Combo_Drug_Click();
            h->Cmd_Inject_Click();
            h->endSyringePause();
        };
        ticks(80);
        h->lever()->beatNow();
        inject(0);  // adrenaline
        ticks(90);
        inject(5);  // acetylcholine
        ticks(30);
        inject(3);  // atropine during the action
        ticks(90);
        inject(1);  // calcium
        ticks(40);
        shoot(h, QStringLiteral("heart_1_tutorial"));
        h->findChild<QWidget*>(QStringLiteral("inject_img"))->show();
        shoot(h, QStringLiteral("heart_2_syringe"));
        h->findChild<QWidget*>(QStringLiteral("inject_img"))->hide();
        ticks(80);
        click(h, QStringLiteral("CmdTable"));
        shoot(nav.find(HeartWindows::Frm_Heart_Table), QStringLiteral("heart_3_sample_table"));
        click(nav.find(HeartWindows::Frm_Heart_Table), QStringLiteral("Cmd_Ret"));
        ticks(80);
        click(h, QStringLiteral("Cmd_Next"));
        shoot(nav.find(HeartWindows::Frm_Question), QStringLiteral("heart_4_questions"));
        click(nav.find(HeartWindows::Frm_Question), QStringLiteral("Cmd_Done1"));

        // The third examination's screen, with its longest task text.
        heart.chooseMode(HeartMode::Exam3);
        auto* exam = qobject_cast<Frm_Heart*>(nav.open(HeartWindows::Frm_Heart));
        for (int i = 0; i < 80; ++i) exam->RecorderTick();
        shoot(exam, QStringLiteral("heart_5_exam3"));
    }

    {
        // The results that end an examination: an identification, and measurements with the
        // longest texts they get.
        ExamRecord record;
        record.program = QStringLiteral("morvane");
        record.experiment = QStringLiteral("Пищевод лягушки, экзамен");
        record.when = QDateTime(QDate(2026, 12, 10), QTime(10, 42, 5));
        record.student = *makeStudent(QStringLiteral("Константинопольская"), QStringLiteral("Александра"),
                                      QStringLiteral("Л-101"), nullptr);
        ExamRecord measured = record;
        const DrugNames none;
        for (const char* answer : {"Адреналин", "Ацетилхолин", "Карбахол", "Кальция хлорид", "Пилокарпин"})
            record.addIdentification(QStringLiteral("Адреналин"), QString::fromUtf8(answer), none);
        shoot(showExamResults(t.ctx, record, QStringLiteral("ABCD")), QStringLiteral("exam_results_identification"));
        measured.experiment = QStringLiteral("Подвздошная кишка, биологическая стандартизация гистамина, экзамен");
        measured.addMeasurement(QStringLiteral("2.380952"), QStringLiteral("2.5"), 5.000001f);
        measured.addMeasurement(QStringLiteral("0.7142857"), QStringLiteral("1.25"), 75.00001f);
        measured.addMeasurement(QStringLiteral("1.190476"), QString(), NAN);
        shoot(showExamResults(t.ctx, measured, QStringLiteral("ABCD")), QStringLiteral("exam_results_measurement"));
        // Its printed page, as a PDF beside the pictures.
        PdfPrinter page(QDir(folder()).filePath(QStringLiteral("exam_results_print.pdf")));
        paintExamRecord(page.begin(), {measured}, measured.when);
        page.end();
    }

    RecordingMessages messages;
    HelpWindows help(messages);
    help.showTopic(nullptr, QStringLiteral("morvane"), 60);
    shoot(help.window(QStringLiteral("morvane")), QStringLiteral("help_topic60"));
    return 0;
}
