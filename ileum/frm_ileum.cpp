#include "frm_ileum.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "help.h"
#include "ileum_graph.h"
#include "ileum_recorder.h"
#include "ileum_run_state.h"
#include "input_filters.h"
#include "named_widgets.h"
#include "numtext.h"
#include "pictures.h"
#include "printing.h"
#include "program_context.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

const QString tutorialCaption =
    QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки - режим обучения");
const QString examCaption = QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки - режим проверки");

QLineEdit* numberBox(const char* name) {
    auto* box = named(new QLineEdit, name);
    installNumericFilter(box);
    return box;
}

}  // namespace

Frm_Ileum::Frm_Ileum(ProgramContext& ctx, IleumRunState& run) : m_ctx(ctx), m_run(run) {
    RemoveSysMenuItems(this);
    discardWindowKeys(this);
    buildControls();
    // The screen fits 800 x 600 with its frame.
    setFixedSize(sizeHint());
}

// Set-up: the organ bath, and the syringe over it during an injection.
QGroupBox* Frm_Ileum::buildSetup() {
    auto* setup = named(new QGroupBox(QStringLiteral("Установка")), "Fra_Setup");
    auto* bath = label("Img_setup", QString());
    const QPixmap bathPicture = dataPicture(QStringLiteral("ileum_setup.png"));
    bath->setPixmap(bathPicture.scaledToHeight(200 * bathPicture.devicePixelRatio(), Qt::SmoothTransformation));
    bath->setAlignment(Qt::AlignCenter);
    Img_inject = label("Img_inject", QString());
    Img_inject->setParent(bath);
    Img_inject->setPixmap(dataPicture(QStringLiteral("ileum_syringe.png")));
    Img_inject->move(0, 0);
    Img_inject->hide();
    (new QVBoxLayout(setup))->addWidget(bath);
    return setup;
}

QGroupBox* Frm_Ileum::buildDose() {
    auto* doseGroup = named(new QGroupBox(QStringLiteral("Выбор дозы")), "Fra_Dose");
    Cmd_downdose = button("Cmd_downdose", QStringLiteral("-"), QStringLiteral("Нажмите для уменьшения дозы вдвое"));
    Cmd_updose = button("Cmd_updose", QStringLiteral("+"), QStringLiteral("Нажмите для увеличения дозы вдвое"));
    for (QPushButton* b : {Cmd_downdose, Cmd_updose}) b->setFixedWidth(36);
    Txt_Dose = numberBox("Txt_Dose");
    Lab_drug = label("Lab_drug", QStringLiteral("Гистамин"));
    auto* tube = label("Img_tube", QString());
    tube->setPixmap(dataPicture(QStringLiteral("ileum_tube.png")));
    Lab_dose = label("Lab_dose", QStringLiteral("Доза мкг"));
    auto* doseGrid = new QGridLayout(doseGroup);
    doseGrid->addWidget(tube, 0, 0, 2, 1);
    doseGrid->addWidget(Lab_drug, 0, 1, 1, 3);
    doseGrid->addWidget(Cmd_downdose, 1, 1);
    doseGrid->addWidget(Txt_Dose, 1, 2);
    doseGrid->addWidget(Cmd_updose, 1, 3);
    doseGrid->addWidget(Lab_dose, 2, 1, 1, 3);
    doseGrid->addWidget(buildAntagonist(), 3, 0, 1, 4);
    connect(Cmd_downdose, &QPushButton::clicked, this, &Frm_Ileum::Cmd_downdose_Click);
    connect(Cmd_updose, &QPushButton::clicked, this, &Frm_Ileum::Cmd_updose_Click);
    return doseGroup;
}

// The tutorial's antagonists: one chosen goes into the bath, "Промыть" washes it; what the
// bath holds shows under them.
QWidget* Frm_Ileum::buildAntagonist() {
    Fra_Antagonist = named(new QWidget, "Fra_Antagonist");
    // The choice is a menu that the button pops up under itself (without waiting for it, so
    // that nothing else stops); one choice puts that antagonist in the bath.
    Cmd_Antagonist = button("Cmd_Antagonist", QStringLiteral("Антагонист ▾"),
                            QStringLiteral("Добавить в ванночку мепирамин или атропин"));
    auto* choice = named(new QMenu(Cmd_Antagonist), "Mnu_Antagonist");
    for (double nM : mepyramineNanomolar)
        choice->addAction(BathCondition{Antagonist::Mepyramine, nM}.text())->setData(nM);
    choice->addAction(BathCondition{Antagonist::Atropine, 0}.text())->setData(0.0);
    connect(Cmd_Antagonist, &QPushButton::clicked, choice,
            [this, choice] { choice->popup(Cmd_Antagonist->mapToGlobal(QPoint(0, Cmd_Antagonist->height()))); });
    Cmd_Wash = button("Cmd_Wash", QStringLiteral("Промыть"),
                      QStringLiteral("Промыть ванночку (антагонист уходит после второй промывки)"));
    Lbl_Bath = label("Lbl_Bath", QString());
    auto* grid = new QGridLayout(Fra_Antagonist);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setSpacing(4);
    grid->addWidget(Cmd_Antagonist, 0, 0);
    grid->addWidget(Cmd_Wash, 0, 1);
    grid->addWidget(Lbl_Bath, 1, 0, 1, 2);
    connect(choice, &QMenu::triggered, this, [this](QAction* a) { addAntagonist(a->data().toDouble()); });
    connect(Cmd_Wash, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Wash_Click);
    return Fra_Antagonist;
}

// The left column: the set-up, the dose and the buttons that inject, go on and print.
QVBoxLayout* Frm_Ileum::buildLeftColumn() {
    QGroupBox* setup = buildSetup();
    QGroupBox* doseGroup = buildDose();
    Cmd_inject = button("Cmd_inject", QStringLiteral("Ввести"));
    Cmd_inject->setIcon(QIcon(dataPicture(QStringLiteral("syringe_icon.png"))));
    Cmd_inject->setIconSize(QSize(24, 24));
    Cmd_MatchAssay =
        button("Cmd_MatchAssay", QStringLiteral("Стандартная кривая"), QStringLiteral("Построить стандартную кривую"));
    Cmd_Calculate = button("Cmd_Calculate", QStringLiteral("Вычислить"),
                           QStringLiteral("Вычислить концентрацию неизвестного раствора"));
    Cmd_Calculate->hide();
    Cmd_Print = button("Cmd_Print", QStringLiteral("Печать"), QStringLiteral("Напечатать запись"));
    Cmd_Graph = button("Cmd_Graph", QStringLiteral("График"),
                       QStringLiteral("Кривые доза-эффект и график Шилда по вашим сокращениям"));

    auto* left = new QVBoxLayout;
    left->addWidget(setup);
    left->addWidget(doseGroup);
    left->addWidget(Cmd_inject);
    left->addWidget(Cmd_MatchAssay);  // "Вычислить" takes this place in the standard curve
    left->addWidget(Cmd_Calculate);
    auto* printRow = new QHBoxLayout;
    printRow->addWidget(Cmd_Print);
    printRow->addWidget(Cmd_Graph);
    left->addLayout(printRow);
    // Who sits the examination.
    Lbl_ExamHeading = label("Lbl_ExamHeading", QString());
    Lbl_ExamHeading->setWordWrap(true);
    Lbl_ExamHeading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Lbl_ExamHeading->hide();
    left->addWidget(Lbl_ExamHeading);
    left->addStretch();
    connect(Cmd_inject, &QPushButton::clicked, this, &Frm_Ileum::Cmd_inject_Click);
    connect(Cmd_MatchAssay, &QPushButton::clicked, this, &Frm_Ileum::Cmd_MatchAssay_Click);
    connect(Cmd_Calculate, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Calculate_Click);
    connect(Cmd_Print, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Print_Click);
    connect(Cmd_Graph, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Graph_Click);
    return left;
}

QGroupBox* Frm_Ileum::buildTask() {
    auto* task = named(new QGroupBox(QStringLiteral("Указание")), "Fra_Task");
    LabTitle =
        label("LabTitle", QStringLiteral("Вам дан раствор гистамина неизвестной концентрации. Найдите значение "
                                         "концентрации, используя препарат подвздошной кишки морской свинки. "
                                         "Постройте кривую зависимости доза-эффект и затем стандартную кривую."));
    LabTitle->setWordWrap(true);
    LabTitle->setFixedWidth(IleumRecorder::viewWidth);
    (new QVBoxLayout(task))->addWidget(LabTitle);
    return task;
}

QGroupBox* Frm_Ileum::buildStandardDose() {
    Frame_stddose = named(new QGroupBox(QStringLiteral("Введите дозу для стандартной кривой")), "Frame_stddose");
    Txt_stddose = numberBox("Txt_stddose");
    Cmd_stddose = button("Cmd_stddose", QStringLiteral("OK"));
    auto* stdRow = new QHBoxLayout(Frame_stddose);
    stdRow->addWidget(label("Label2", QStringLiteral("Доза :")));
    stdRow->addWidget(Txt_stddose);
    stdRow->addWidget(label("Lab_stdunit", QStringLiteral("мкг")));
    stdRow->addWidget(Cmd_stddose);
    stdRow->addStretch();
    Frame_stddose->hide();
    connect(Cmd_stddose, &QPushButton::clicked, this, &Frm_Ileum::Cmd_stddose_Click);
    return Frame_stddose;
}

// The standard, half, double and unknown doses, each over the amount it gives.
QGroupBox* Frm_Ileum::buildStandardSeries() {
    Frame_Cmd_button = named(new QGroupBox(QStringLiteral("Введите")), "Frame_Cmd_button");
    Cmd_Std = button("Cmd_Std", QStringLiteral("Стандарт"), QStringLiteral("Ввести стандартную дозу"));
    Cmd_HalfStd = button("Cmd_HalfStd", QStringLiteral("Половина"), QStringLiteral("Ввести половину стандартной дозы"));
    Cmd_DoubleStd =
        button("Cmd_DoubleStd", QStringLiteral("Двойная"), QStringLiteral("Ввести двойную стандартную дозу"));
    Cmd_unknown = button("Cmd_unknown", QStringLiteral("Неизвест-ная"),
                         QStringLiteral("Ввести неизвестную дозу (сначала выберите дозу в мл)"));
    Lab_stan = label("Lab_stan", QStringLiteral("мкг"));
    Lab_half = label("Lab_half", QStringLiteral("мкг"));
    Lab_doub = label("Lab_doub", QStringLiteral("мкг"));
    lab_unk = label("lab_unk", QStringLiteral("мл"));
    auto* series = new QGridLayout(Frame_Cmd_button);
    const QList<QPair<QPushButton*, QLabel*>> pairs{
        {Cmd_Std, Lab_stan}, {Cmd_HalfStd, Lab_half}, {Cmd_DoubleStd, Lab_doub}, {Cmd_unknown, lab_unk}};
    for (int i = 0; i < pairs.size(); ++i) {
        series->addWidget(pairs[i].first, 0, i);
        series->addWidget(pairs[i].second, 1, i, Qt::AlignHCenter);
    }
    Frame_Cmd_button->hide();
    // The unknown is given in millilitres of the dose box's number.
    connect(Txt_Dose, &QLineEdit::textChanged, this,
            [this] { lab_unk->setText(Txt_Dose->text() + QStringLiteral(" мл")); });
    connect(Cmd_Std, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Std_Click);
    connect(Cmd_DoubleStd, &QPushButton::clicked, this, &Frm_Ileum::Cmd_DoubleStd_Click);
    connect(Cmd_HalfStd, &QPushButton::clicked, this, &Frm_Ileum::Cmd_HalfStd_Click);
    connect(Cmd_unknown, &QPushButton::clicked, this, &Frm_Ileum::Cmd_unknown_Click);
    return Frame_Cmd_button;
}

QGroupBox* Frm_Ileum::buildCalculation() {
    Frame_Cal = named(new QGroupBox(QStringLiteral("Вычисление")), "Frame_Cal");
    Lab_cal = label("Lab_cal", QStringLiteral("Введите количество неизвестного, используемое для стандартной дозы:"));
    Txt_cal = numberBox("Txt_cal");
    Cmd_Cal = button("Cmd_Cal", QStringLiteral("Считать"));
    Lab_Con = label("Lab_Con", QStringLiteral("Концентрация гистамина в неизвестном растворе: "));
    Label_cons = label("Label_cons", QString());
    txt_con = readOnlyField(named(new QLineEdit, "txt_con"));
    LabMcg = label("LabMcg", QStringLiteral("мкг/мл"));
    // The result takes the place of the prompt, which "Считать" hides.
    Lab_calunit = label("Lab_calunit", QStringLiteral("мл"));
    auto* cal = new QGridLayout(Frame_Cal);
    cal->addWidget(Lab_cal, 0, 0);
    cal->addWidget(Txt_cal, 0, 1);
    cal->addWidget(Lab_calunit, 0, 2);
    cal->addWidget(Cmd_Cal, 0, 3);
    auto* result = new QHBoxLayout;
    result->addWidget(Lab_Con);
    result->addWidget(Label_cons);
    result->addWidget(txt_con);
    result->addWidget(LabMcg);
    result->addStretch();
    cal->addLayout(result, 0, 0, 1, 4);
    Lab_cal->setWordWrap(true);
    Lab_Con->setWordWrap(true);
    Txt_cal->setFixedWidth(70);
    txt_con->setFixedWidth(80);
    Frame_Cal->hide();
    connect(Cmd_Cal, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Cal_Click);
    return Frame_Cal;
}

// The right column: the task, the recorder and under it the stage frames, which share a
// fixed area so that showing them never squeezes the recording.
QVBoxLayout* Frm_Ileum::buildRightColumn() {
    QGroupBox* task = buildTask();
    m_recorder = new IleumRecorder(m_ctx, m_model);
    Lbl_Cursor = m_recorder->readout();
    connect(m_recorder, &IleumRecorder::traceClicked, this, &Frm_Ileum::traceClicked);
    connect(m_recorder, &IleumRecorder::injected, this, &Frm_Ileum::refreshGraph);
    auto* stages = named(new QWidget, "Stages");
    auto* stageLayout = new QVBoxLayout(stages);
    stageLayout->setContentsMargins(0, 0, 0, 0);
    stageLayout->setSpacing(4);
    stageLayout->addWidget(buildStandardDose());
    stageLayout->addWidget(buildStandardSeries());
    stageLayout->addWidget(buildCalculation());
    stageLayout->addStretch();
    stages->setFixedHeight(150);

    auto* right = new QVBoxLayout;
    right->addWidget(task);
    right->addWidget(m_recorder);
    right->addWidget(stages);
    right->addStretch();
    return right;
}

// Help and leaving.
QHBoxLayout* Frm_Ileum::buildBottomRow() {
    auto* helpGroup = named(new QGroupBox(QStringLiteral("Помощь")), "Fra_Help");
    auto* instruct = button("Cmd_Instruct", QStringLiteral("Инструкция"), QStringLiteral("Показать страницу помощи "));
    Lab_stephelp = label("Lab_stephelp", QString());
    Lab_stephelp->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    auto* helpRow = new QHBoxLayout(helpGroup);
    helpRow->addWidget(instruct);
    helpRow->addWidget(Lab_stephelp, 1);
    auto* exitGroup = named(new QGroupBox(QStringLiteral("Выход")), "Fra_Exit");
    Cmd_Next = button("Cmd_Next", QStringLiteral("Далее"),
                      QStringLiteral("Закончить эксперимент и перейти на следующую страницу"));
    Cmd_New = button("Cmd_New", QStringLiteral("Новый"), QStringLiteral("Начать новый эксперимент"));
    Cmd_return = button("Cmd_return", QStringLiteral("Назад"), QStringLiteral("Вернуться в главное меню"));
    auto* exitRow = new QHBoxLayout(exitGroup);
    for (QPushButton* b : {Cmd_Next, Cmd_New, Cmd_return}) exitRow->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(helpGroup, 1);
    bottom->addWidget(exitGroup);
    connect(Cmd_Next, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Next_Click);
    connect(Cmd_New, &QPushButton::clicked, this, &Frm_Ileum::Cmd_New_Click);
    connect(Cmd_return, &QPushButton::clicked, this, &Frm_Ileum::Cmd_return_Click);
    connect(instruct, &QPushButton::clicked, this, &Frm_Ileum::Cmd_Instruct_Click);
    return bottom;
}

void Frm_Ileum::buildControls() {
    QVBoxLayout* left = buildLeftColumn();
    QVBoxLayout* right = buildRightColumn();
    QHBoxLayout* bottom = buildBottomRow();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    left->setSpacing(4);
    right->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    // Frames drawn tight, so the screen fits 800 x 600.
    for (QGroupBox* g : findChildren<QGroupBox*>()) {
        g->layout()->setContentsMargins(6, 2, 6, 4);
        g->layout()->setSpacing(4);
    }
    Txt_Dose->setFixedWidth(80);
    QFont small = LabTitle->font();
    small.setPointSize(9);
    LabTitle->setFont(small);
    Frame_Cal->setFont(small);

    // During the syringe's second nothing else may start or change an injection.
    m_recorder->setControls({Txt_Dose,
                             Txt_stddose,
                             lab_unk,
                             Img_inject,
                             {Cmd_inject, Cmd_Std, Cmd_HalfStd, Cmd_DoubleStd, Cmd_unknown, Cmd_downdose, Cmd_updose,
                              Txt_Dose, Cmd_MatchAssay, Cmd_stddose, Cmd_Calculate, Cmd_Next, Cmd_New, Cmd_return,
                              Cmd_Print, Cmd_Antagonist, Cmd_Wash}});
}

QList<QWidget*> Frm_Ileum::calculationPrompt() const {
    return {Lab_cal, Txt_cal, Lab_calunit, Cmd_Cal};
}

bool Frm_Ileum::examination() const {
    return m_run.examination();
}

void Frm_Ileum::Form_Load() {
    Txt_Dose->setText(QStringLiteral("0.1"));
    Frame_Cal->hide();
    Lab_stephelp->setText(QStringLiteral("Выберите дозу и введите раствор"));
    Lab_drug->setText(QStringLiteral("Гистамин"));
    setWindowTitle(tutorialCaption);
    if (examination()) {
        setWindowTitle(examCaption);
        Lbl_ExamHeading->setText(examHeading(m_run.student()));
        Lbl_ExamHeading->show();
        Cmd_return->setEnabled(false);
        Cmd_New->setEnabled(false);
    }

    // The recorder's part of the screen returns to its first state.
    Cmd_inject->show();
    Cmd_inject->setEnabled(true);
    Cmd_Calculate->hide();
    Cmd_MatchAssay->show();
    Frame_stddose->hide();
    Frame_Cmd_button->hide();
    Frame_Cal->setEnabled(false);
    for (QWidget* w : calculationPrompt()) w->show();
    for (QWidget* w : {static_cast<QWidget*>(Lab_Con), static_cast<QWidget*>(Label_cons),
                       static_cast<QWidget*>(txt_con), static_cast<QWidget*>(LabMcg)})
        w->hide();
    if (!m_run.RecorderReady()) {
        m_run.markRecorderReady();
        m_recorder->SetupRecorder();
    } else {
        m_recorder->ResetRecorder();
    }
    Lab_dose->setText(QStringLiteral("Доза  мкг"));
    m_model.startExperiment(m_ctx.random);
    m_recorder->placeRuler();

    // The antagonism exercise and the measuring cursor belong to the tutorial.
    Fra_Antagonist->setVisible(!examination());
    Cmd_Graph->setVisible(!examination());
    m_recorder->setMeasuring(!examination());
    m_readings.clear();
    Lbl_Cursor->setText(QStringLiteral("Щёлкните сокращение, чтобы измерить его"));
    showBath();
    refreshGraph();
}

void Frm_Ileum::showBath() {
    // Always two lines, so that the controls under the frame never move.
    const BathCondition& bath = m_model.bath();
    Lbl_Bath->setText(QStringLiteral("В ванночке:\n") +
                      (bath.drug == Antagonist::None ? QStringLiteral("без антагониста") : bath.text()));
}

void Frm_Ileum::bathChanged(const QString& mark) {
    m_recorder->mark(mark);
    showBath();
}

void Frm_Ileum::addAntagonist(double nM) {
    bathChanged(nM > 0 ? m_model.addMepyramine(nM, m_ctx.random) : m_model.addAtropine());
}

void Frm_Ileum::Cmd_Wash_Click() {
    bathChanged(m_model.wash());
}

void Frm_Ileum::Cmd_Graph_Click() {
    if (!m_graph) {
        m_graph = new IleumGraph(m_ctx, m_model, this);
        refreshGraph();
    }
    m_graph->show();
    m_graph->raise();
}

void Frm_Ileum::refreshGraph() {
    if (m_graph) m_graph->refresh(readingsText());
}

void Frm_Ileum::traceClicked(int index) {
    const RecordedTrace& t = m_recorder->traces().at(index);
    m_readings.read({t.label, t.logDose, t.condition});
    QString text =
        QStringLiteral("«%2» (%3): %1 мм").arg(QString::number(t.heightMm, 'f', 1), t.label, t.condition.text());
    const QString ratio = readingsText();
    if (!ratio.isEmpty()) text += QStringLiteral("; ") + ratio;
    Lbl_Cursor->setText(text);
    refreshGraph();
}

QString Frm_Ileum::readingsText() const {
    const auto dr = m_readings.doseRatio();
    if (!dr) return {};
    return QStringLiteral("ОД «%1»→«%2»: %3")
        .arg(dr->controlLabel, dr->antagonistLabel, numtext::generalForm(dr->ratio, 3));
}

void Frm_Ileum::refuse(QWidget* focus) {
    m_ctx.message(
        {QStringLiteral(" Введите правильную дозу! "), {}, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok});
    focus->setFocus();
}

void Frm_Ileum::Cmd_updose_Click() {
    if (const std::optional<QString> dose = IleumModel::doubledDose(Txt_Dose->text())) Txt_Dose->setText(*dose);
}

void Frm_Ileum::Cmd_downdose_Click() {
    if (const std::optional<QString> dose = IleumModel::halvedDose(Txt_Dose->text())) Txt_Dose->setText(*dose);
}

void Frm_Ileum::Cmd_inject_Click() {
    m_model.plainInjection();
    m_recorder->Cmd_inject_Click();
}

void Frm_Ileum::Cmd_MatchAssay_Click() {
    m_model.startMatching();
    Cmd_MatchAssay->hide();
    Frame_stddose->show();
    Txt_stddose->setFocus();
    Cmd_inject->setEnabled(false);
    Lab_drug->setText(QStringLiteral("Гистамин"));
    Lab_stephelp->setText(QStringLiteral("Выберите дозу для стандартной кривой"));
    if (!examination()) {
        Cmd_Calculate->show();
        Cmd_Calculate->setEnabled(false);
    }
}

void Frm_Ileum::Cmd_stddose_Click() {
    if (!IleumModel::usableStandard(Txt_stddose->text())) {
        refuse(Txt_stddose);
        return;
    }
    const QString S = Txt_stddose->text();
    Lab_stan->setText(IleumModel::standardDoseText(StandardDose::Standard, S) + QStringLiteral(" мкг"));
    Lab_half->setText(IleumModel::standardDoseText(StandardDose::Half, S) + QStringLiteral(" мкг"));
    Lab_doub->setText(IleumModel::standardDoseText(StandardDose::Double, S) + QStringLiteral(" мкг"));
    lab_unk->setText(Txt_Dose->text() + QStringLiteral(" мл"));
    Txt_Dose->setText(QStringLiteral("0.1"));
    Lab_dose->setText(QStringLiteral("Доза   мл"));
    Lab_stephelp->setText(QStringLiteral("Введите стандартную или неизвестную дозу"));
    Frame_stddose->hide();
    Frame_Cmd_button->show();
    Cmd_Std->setFocus();
    m_model.confirmStandard(m_ctx.random);
    if (!examination()) Cmd_Calculate->setEnabled(true);
}

void Frm_Ileum::standardSeries(StandardDose which) {
    m_model.queueStandard(which, Txt_stddose->text());
    m_recorder->Cmd_inject_Click();
}

void Frm_Ileum::Cmd_Std_Click() {
    standardSeries(StandardDose::Standard);
}
void Frm_Ileum::Cmd_DoubleStd_Click() {
    standardSeries(StandardDose::Double);
}
void Frm_Ileum::Cmd_HalfStd_Click() {
    standardSeries(StandardDose::Half);
}

void Frm_Ileum::Cmd_unknown_Click() {
    m_model.plainInjection();
    m_recorder->Cmd_inject_Click();
}

void Frm_Ileum::Cmd_Calculate_Click() {
    Lab_stephelp->clear();
    Cmd_Calculate->setEnabled(false);
    Frame_Cal->setEnabled(true);
    Frame_Cal->show();
    Txt_cal->setFocus();
}

void Frm_Ileum::Cmd_Cal_Click() {
    // A volume of 0 would divide by zero, one too small for the standard gives no finite
    // concentration: both are refused like an empty box.
    const std::optional<float> conc = IleumModel::studentConcentration(Txt_stddose->text(), Txt_cal->text());
    if (!conc) {
        refuse(Txt_cal);
        return;
    }
    for (QWidget* w : calculationPrompt()) w->hide();
    txt_con->setText(numtext::generalForm(*conc));
    Label_cons->setText(Txt_stddose->text() + QStringLiteral("/") + Txt_cal->text() + QStringLiteral(" = "));
    for (QWidget* w : {static_cast<QWidget*>(Label_cons), static_cast<QWidget*>(Lab_Con),
                       static_cast<QWidget*>(txt_con), static_cast<QWidget*>(LabMcg)})
        w->show();
}

void Frm_Ileum::Cmd_Next_Click() {
    if (!examination()) {
        m_ctx.navigator.open(IleumWindows::Frm_Ile_Question);
        m_ctx.navigator.park(this);
        return;
    }
    for (QWidget* w :
         {static_cast<QWidget*>(Cmd_MatchAssay), static_cast<QWidget*>(Cmd_inject), static_cast<QWidget*>(Cmd_Next),
          static_cast<QWidget*>(Frame_Cmd_button), static_cast<QWidget*>(Frame_stddose)})
        w->setEnabled(false);
    const IleumModel::Actual actual = m_model.trueConcentration(Txt_stddose->text());
    if (actual.noStandardTyped) Txt_stddose->setText(QStringLiteral("-1"));
    m_run.setActualConc(actual.conc);
    m_ctx.navigator.open(IleumWindows::Frm_I_Exam);
}

void Frm_Ileum::Cmd_New_Click() {
    Form_Load();
}

void Frm_Ileum::Cmd_return_Click() {
    m_ctx.navigator.open(IleumWindows::Frm_il_main);
    close();
}

void Frm_Ileum::Cmd_Instruct_Click() {
    m_ctx.help.showContents(this, QStringLiteral("ileum.hlp"));
}

void Frm_Ileum::Cmd_Print_Click() {
    printRecording(m_ctx, m_recorder->paper(), QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН!"),
                   {QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки"), {}});
}
