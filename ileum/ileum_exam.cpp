#include "ileum_exam.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "exam_record.h"
#include "exam_results.h"
#include "ileum_run_state.h"
#include "input_filters.h"
#include "named_widgets.h"
#include "numtext.h"
#include "password.h"
#include "program_context.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

QLineEdit* resultBox(const char* name) {
    auto* box = readOnlyField(named(new QLineEdit(QStringLiteral(" ")), name));
    box->setFixedWidth(140);
    return box;
}

QLabel* wrapped(const char* name, const QString& text) {
    auto* l = named(new QLabel(text), name);
    l->setWordWrap(true);
    return l;
}

}  // namespace

Frm_I_Exam::Frm_I_Exam(ProgramContext& ctx, IleumRunState& run) : m_ctx(ctx), m_run(run) {
    setWindowTitle(QStringLiteral(" "));
    discardWindowKeys(this);

    Frame_Match = named(new QGroupBox(QStringLiteral(" Enter the Concentration of Histamine ")), "Frame_Match");
    Txt_Cal_Con = named(new QLineEdit(QStringLiteral(" ")), "Txt_Cal_Con");
    installNumericFilter(Txt_Cal_Con);
    auto* student = named(new QPushButton(QStringLiteral("&OK")), "com_student");
    auto* match = new QGridLayout(Frame_Match);
    match->addWidget(wrapped("Label1", QStringLiteral("Enter the Histamine Concentration for the Given Solution")), 0,
                     0, 1, 2);
    match->addWidget(Txt_Cal_Con, 1, 0);
    match->addWidget(new QLabel(QStringLiteral("мкг/мл")), 1, 1);
    match->addWidget(student, 2, 0, 1, 2, Qt::AlignRight);

    Frame_Password = named(new QGroupBox(QStringLiteral(" GateWay For   Supervisor  Mode")), "Frame_Password");
    Txt_Pass = named(new QLineEdit, "Txt_Pass");
    Txt_Pass->setEchoMode(QLineEdit::Password);
    Txt_Pass->setMaxLength(password::boxLength);
    Txt_Pass->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 32; }"));
    auto* pass = named(new QPushButton(QStringLiteral("&OK")), "Cmd_pass");
    auto* gate = new QGridLayout(Frame_Password);
    gate->addWidget(named(new QLabel(QStringLiteral("Password  :")), "Label2"), 0, 0);
    gate->addWidget(Txt_Pass, 0, 1);
    gate->addWidget(pass, 1, 0, 1, 2, Qt::AlignRight);
    Frame_Password->hide();

    Fra_Super = named(new QGroupBox(QStringLiteral(" Calculation of Error Ratio ")), "Fra_Super");
    Txt_Act = resultBox("Txt_Act");
    Txt_cal = resultBox("Txt_cal");
    Txt_err = resultBox("Txt_err");
    Lab_Warning = wrapped("Lab_Warning", QStringLiteral("Warning !! Experiment not conducted Properly"));
    Lab_Warning->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    Lab_Warning->hide();
    auto* done = named(new QPushButton(QStringLiteral("&OK")), "Cmd_ok");
    auto* result = new QGridLayout(Fra_Super);
    result->addWidget(wrapped("Lab_Act", QStringLiteral("Actual Concentration of Histamine\u00A0:")), 0, 0);
    result->addWidget(Txt_Act, 0, 1);
    result->addWidget(wrapped("Lab_cal", QStringLiteral("Concentration of Histamine Calculated by Student\u00A0:")), 1,
                      0);
    result->addWidget(Txt_cal, 1, 1);
    result->addWidget(wrapped("Lab_Err", QStringLiteral("Error Ratio    :")), 2, 0);
    result->addWidget(Txt_err, 2, 1);
    result->addWidget(Lab_Warning, 3, 0, 1, 2);
    result->addWidget(done, 4, 0, 1, 2, Qt::AlignRight);
    result->setColumnStretch(0, 1);
    Fra_Super->hide();

    Timer_War = named(new QTimer(this), "Timer_War");
    Timer_War->setInterval(500);

    auto* heading = wrapped("Lbl_ExamHeading", examHeading(m_run.student()));
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    for (QGroupBox* f : {Frame_Match, Frame_Password, Fra_Super}) layout->addWidget(f);
    layout->addStretch();  // the heading and the frame shown at the top
    setFixedSize(420, 290);

    connect(student, &QPushButton::clicked, this, &Frm_I_Exam::com_student_Click);
    connect(pass, &QPushButton::clicked, this, &Frm_I_Exam::Cmd_pass_Click);
    connect(Txt_Pass, &QLineEdit::returnPressed, this, &Frm_I_Exam::Cmd_pass_Click);
    connect(done, &QPushButton::clicked, this, &Frm_I_Exam::Cmd_ok_Click);
    connect(Timer_War, &QTimer::timeout, this, &Frm_I_Exam::Timer_War_Timer);

    RemoveSysMenuItems(this);
    CenterForm(ctx, this);
}

void Frm_I_Exam::com_student_Click() {
    // An answer beyond single precision, or so far from the true concentration that the
    // error has no finite value, is no concentration: it must be typed again.
    if (!m_run.takeAnswer(Txt_Cal_Con->text())) {
        m_ctx.message(
            {QStringLiteral(" Введите правильную дозу! "), {}, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok});
        Txt_Cal_Con->setFocus();
        return;
    }
    Frame_Match->hide();
    Frame_Password->show();
    // From now on the form stays above everything and can be neither closed nor minimised.
    // Changing its flags hides it for a moment, which gives the keyboard away: it takes
    // it back for the supervisor's password.
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    SetTopMost(this, -1);
    activateWindow();
    Txt_Pass->setFocus();
}

void Frm_I_Exam::Cmd_pass_Click() {
    if (!passwordAccepted(m_ctx, Txt_Pass, m_run.Ile_Password(), QStringLiteral("Invalid Password "),
                          QStringLiteral(" Password Error ")))
        return;
    Frame_Password->hide();
    Fra_Super->show();
    Txt_cal->setText(numtext::generalForm(m_run.StudentConc()));
    if (!m_run.properlyConducted()) {
        Lab_Warning->show();
        Timer_War->start();
        showRecord();
        return;
    }
    Txt_Act->setText(m_run.showActualConc());
    Txt_err->setText(numtext::generalForm(m_run.errorRatio()));
    showRecord();
}

void Frm_I_Exam::showRecord() {
    // The supervisor is here: the form need no longer stay above everything, and the marked
    // results open above it.
    SetTopMost(this, 0);
    showExamResults(m_ctx, m_run.examRecord(), m_run.Ile_Password());
}

void Frm_I_Exam::Timer_War_Timer() {
    Lab_Warning->setVisible(!Lab_Warning->isVisible());
}

void Frm_I_Exam::Cmd_ok_Click() {
    // The home screen closes the experiment screen and this form as it loads.
    m_ctx.navigator.open(IleumWindows::Frm_il_main);
    close();
}

Frm_Ile_Question::Frm_Ile_Question(ProgramContext& ctx) {
    setWindowTitle(QStringLiteral(" Morvane - Подвздошная кишка T1.00R"));
    discardWindowKeys(this);
    auto* frame = named(new QGroupBox(QStringLiteral("Ответьте на следующие вопросы:")), "Frame_TutQuestions");
    auto* questions = new QVBoxLayout(frame);
    const std::pair<const char*, QString> texts[] = {
        {"Lab_Q1", QStringLiteral("1. Определение биопробы. В чем ее значение? ")},
        {"Label2", QStringLiteral("2. Какие другие типы проб вы знаете? ")},
        {"Label_q2", QStringLiteral("3. Назовите некоторые современные методы для определения концентрации "
                                    "в жидкостях организма, таких как кровь?")},
        {"laQ", QStringLiteral("4. Какое действие оказывает гистамин на пищеварительный тракт?")},
        {"Lab_Q5", QStringLiteral("5. Что такое конкурентный антагонизм? Как мепирамин и атропин изменяют кривую "
                                  "«доза — эффект» гистамина на подвздошной кишке?")},
        {"Lab_Q6", QStringLiteral("6. Что такое отношение доз и pA2? Как их находят по графику Шилда?")}};
    for (const auto& [name, text] : texts) {
        QLabel* q = wrapped(name, text);
        QFont f = q->font();
        f.setPointSize(11);
        q->setFont(f);
        questions->addWidget(q);
    }
    auto* ok = named(new QPushButton(QStringLiteral("&Ok")), "Cmd_Done1");
    auto* back = named(new QPushButton(QStringLiteral("Назад")), "Cmd_return");
    connect(ok, &QPushButton::clicked, this, [this, &ctx] {
        ctx.navigator.open(IleumWindows::Frm_il_main);  // its load closes the experiment screen
        close();
    });
    connect(back, &QPushButton::clicked, this, [this, &ctx] {
        ctx.navigator.open(IleumWindows::Frm_Ileum);  // as it was left
        close();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setFixedSize(520, 460);
    RemoveSysMenuItems(this);
    CenterForm(ctx, this);
}
