#include "frm_heart.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "heart_run_state.h"
#include "named_widgets.h"
#include "numtext.h"
#include "password.h"
#include "pictures.h"
#include "printing.h"
#include "program_context.h"
#include "setup_picture.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

constexpr int viewWidth = 329, viewHeight = 169;

const QString tutorialCaption = QStringLiteral("Влияние веществ на изолированное сердце лягушки - режим обучения");
const QString examCaption = QStringLiteral("Влияние веществ на изолированное сердце лягушки - режим проверки");
const QString laterExamCaption = QStringLiteral("Влияние веществ на сердце лягушки - режим проверки ");

QLineEdit* readOnlyBox(const char* name, int width) {
    auto* box = readOnlyField(named(new QLineEdit, name));
    box->setFixedWidth(width);
    return box;
}

// QProgressBar::setValue repaints the bar at once, with a flush of the window of its own;
// the gauge is repainted with the rest of the recorder's step instead.
void setGauge(QProgressBar* bar, int value) {
    if (bar->value() == value) return;
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);  // schedules the repaint
}

}  // namespace

IndicatorGraph::IndicatorGraph(const char* name, int rightMargin, QWidget* parent)
    : QWidget(parent), m_rightMargin(rightMargin) {
    setObjectName(QString::fromLatin1(name));
    setFixedSize(120, 26);
}

void IndicatorGraph::setLevel(int level) {
    m_level = level;
    update();
}

void IndicatorGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setPen(QPen(QColor(0, 220, 0), 2));
    p.drawLine(0, m_level, width() - m_rightMargin, m_level);
}

Frm_Heart::Frm_Heart(ProgramContext& ctx, HeartRunState& run)
    : m_ctx(ctx), m_run(run), m_model(run, ctx.random), m_paper(viewWidth, viewHeight, Qt::black, Qt::white) {
    setWindowTitle(QStringLiteral("Morvane - Сердце E1.00R"));
    RemoveSysMenuItems(this);
    discardWindowKeys(this);
    buildControls();

    m_timer = named(new QTimer(this), "Timer_Heart");
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &Frm_Heart::RecorderTick);
    m_syringePause = named(new QTimer(this), "Timer_Syringe");
    m_syringePause->setSingleShot(true);
    m_syringePause->setInterval(1000);
    connect(m_syringePause, &QTimer::timeout, this, &Frm_Heart::endSyringePause);
    m_beat = new LeverBeat(m_setup, m_model, this);
}

// The apparatus, with the syringe over it after an injection.
QGroupBox* Frm_Heart::buildSetup() {
    auto* setupGroup = named(new QGroupBox(QStringLiteral("Установка")), "Setup");
    m_setup = new SetupPicture;
    inject_img = label("inject_img", QString());
    inject_img->setParent(m_setup);
    inject_img->setPixmap(dataPicture(QStringLiteral("ileum_syringe.png")));
    inject_img->move(0, 0);
    inject_img->hide();
    (new QVBoxLayout(setupGroup))->addWidget(m_setup);
    return setupGroup;
}

QGroupBox* Frm_Heart::buildHelp() {
    Help_frame = named(new QGroupBox(QStringLiteral("Справка")), "Help_frame");
    Cmd_help = button("Cmd_help", QStringLiteral("Инструкция"), QStringLiteral("Показать справку"));
    (new QVBoxLayout(Help_frame))->addWidget(Cmd_help);
    connect(Cmd_help, &QPushButton::clicked, this, &Frm_Heart::Cmd_help_Click);
    return Help_frame;
}

// The left column: the apparatus, the help and the hint under them.
QVBoxLayout* Frm_Heart::buildLeftColumn() {
    QGroupBox* setupGroup = buildSetup();
    buildHelp();
    lbl_warning = label("lbl_warning", QString());
    lbl_warning->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    lbl_warning->setWordWrap(true);
    lbl_warning->setFixedWidth(230);
    // Who sits the examination, where the tutorial's help and hints are.
    Lbl_ExamHeading = label("Lbl_ExamHeading", QString());
    Lbl_ExamHeading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Lbl_ExamHeading->setWordWrap(true);
    Lbl_ExamHeading->setFixedWidth(230);
    Lbl_ExamHeading->hide();
    auto* left = new QVBoxLayout;
    left->addWidget(setupGroup);
    left->addWidget(Lbl_ExamHeading);
    left->addWidget(Help_frame);
    left->addWidget(lbl_warning);
    left->addStretch();
    return left;
}

QGroupBox* Frm_Heart::buildTask() {
    auto* titleGroup = named(new QGroupBox(QStringLiteral("Указания")), "FraTitle");
    LabTitle =
        label("LabTitle",
              QStringLiteral("Обучение: используйте вещества одно за другим и наблюдайте эффект от этих веществ"));
    LabTitle->setWordWrap(true);
    QFont small = LabTitle->font();
    small.setPointSize(9);
    LabTitle->setFont(small);
    LabTitle->setFixedHeight(QFontMetrics(small).lineSpacing() * 3 + 2);  // the examinations' tasks take three lines
    (new QVBoxLayout(titleGroup))->addWidget(LabTitle);
    return titleGroup;
}

QGroupBox* Frm_Heart::buildRecorder() {
    auto* recorder = named(new QGroupBox(QStringLiteral("Самописец")), "FraPicture");
    m_view = named(new PaperView(m_paper), "Pic_Continer");
    m_view->setFixedSize(viewWidth, viewHeight);
    HScrPic = named(new QScrollBar(Qt::Horizontal), "HScrPic");
    HScrPic->setFixedWidth(viewWidth);
    HScrPic->setRange(0, 0);
    HScrPic->setSingleStep(1);
    HScrPic->setPageStep(1);
    auto* recLayout = new QVBoxLayout(recorder);
    recLayout->setSpacing(0);
    recLayout->addWidget(m_view);
    recLayout->addWidget(HScrPic);
    connect(HScrPic, &QScrollBar::valueChanged, this, &Frm_Heart::HScrPic_Change);
    return recorder;
}

QGroupBox* Frm_Heart::buildRecorderControls() {
    auto* recControls = named(new QGroupBox(QStringLiteral("Управление самописцем")), "FraPicContiner");
    CmdPic_Continue = button("CmdPic_Continue", QStringLiteral("Продолжить"), QStringLiteral("Запуск самописца"));
    CmdPic_Stop = button("CmdPic_Stop", QString(), QStringLiteral("Остановка самописца"));
    CmdPic_Stop->setIcon(QIcon(dataPicture(QStringLiteral("heart_stop.png"))));
    CmdPic_Stop->setIconSize(QSize(24, 24));
    Cmd_Print = button("Cmd_Print", QStringLiteral("Печать"), QStringLiteral("Печать результатов на принтере"));
    Cmd_RmvDrug = button("Cmd_RmvDrug", QStringLiteral("Stop Drug"), QStringLiteral("Stop giving the drug"));
    auto* rc = new QVBoxLayout(recControls);
    for (QPushButton* b : {CmdPic_Continue, CmdPic_Stop, Cmd_Print, Cmd_RmvDrug}) rc->addWidget(b);
    rc->addStretch();
    recControls->setFixedWidth(172);
    connect(CmdPic_Stop, &QPushButton::clicked, this, &Frm_Heart::CmdPic_Stop_Click);
    connect(CmdPic_Continue, &QPushButton::clicked, this, &Frm_Heart::CmdPic_Continue_Click);
    connect(Cmd_RmvDrug, &QPushButton::clicked, this, &Frm_Heart::Cmd_RmvDrug_Click);
    connect(Cmd_Print, &QPushButton::clicked, this, &Frm_Heart::Cmd_Print_Click);
    return recControls;
}

QGroupBox* Frm_Heart::buildDrug() {
    auto* drugGroup = named(new QGroupBox(QStringLiteral("Выбор вещества")), "FraDrug");
    Lab_Drug = label("Lab_Drug", QStringLiteral("Вещество:"));
    Combo_Drug = named(new QComboBox, "Combo_Drug");
    // As wide whatever the drug names, so that the frames keep their places from stage to stage.
    Combo_Drug->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo_Drug->setMinimumContentsLength(16);
    Txt_Dose = readOnlyBox("Txt_Dose", 60);
    Lab_DDose = label("Lab_DDose", QStringLiteral("мкг"));
    Cmd_Inject = button("Cmd_Inject", QStringLiteral("Ввести"), QString());
    lbl_unkdrug = label("lbl_unkdrug", QStringLiteral("Неизвестное No. 1"));
    lbl_unkdrug->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lbl_unkdrug->hide();
    for (QWidget* w : {static_cast<QWidget*>(Lab_Drug), static_cast<QWidget*>(Combo_Drug)}) {
        QSizePolicy keep = w->sizePolicy();
        keep.setRetainSizeWhenHidden(true);  // hidden in examination 1, the frame stays as it is
        w->setSizePolicy(keep);
    }
    auto* dg = new QGridLayout(drugGroup);
    dg->addWidget(Lab_Drug, 0, 0);
    dg->addWidget(Combo_Drug, 0, 1, 1, 3);
    dg->addWidget(lbl_unkdrug, 0, 1, 1, 3);
    dg->addWidget(label("LAb_Dose", QStringLiteral("Доза :")), 1, 0);
    dg->addWidget(Txt_Dose, 1, 1);
    dg->addWidget(Lab_DDose, 1, 2);
    dg->addWidget(Cmd_Inject, 1, 3);
    connect(Combo_Drug, &QComboBox::activated, this, &Frm_Heart::Combo_Drug_Click);
    connect(Cmd_Inject, &QPushButton::clicked, this, &Frm_Heart::Cmd_Inject_Click);
    return drugGroup;
}

// What is left of the drug given last, and the one before it.
QGroupBox* Frm_Heart::buildDrugLevel() {
    auto* levelGroup = named(new QGroupBox(QStringLiteral("Текущий уровень вещества")), "Frame1");
    ProBar_Time = named(new QProgressBar, "ProBar_Time");
    ProBar_Time->setRange(0, 100);
    ProBar_Time->setValue(0);
    ProBar_Time->setTextVisible(false);
    ProBar_Time->setToolTip(QStringLiteral("Оставшееся количество предыдущего введенного вещества"));
    Lab_drugname = label("Lab_drugname", QStringLiteral("Нет"));
    lbl_lastdrug = label("lbl_lastdrug", QStringLiteral("Нет"));
    // Each name has the frame's whole width on a line of its own and never widens the frame.
    for (QLabel* name : {Lab_drugname, lbl_lastdrug}) name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* lg = new QVBoxLayout(levelGroup);
    ProBar_Time->setFixedHeight(14);
    lg->addWidget(Lab_drugname);
    lg->addWidget(ProBar_Time);
    lg->addWidget(label("Lastdrugtext", QStringLiteral("Предыдущее вещество :")));
    lg->addWidget(lbl_lastdrug);
    QFont nine = levelGroup->font();
    nine.setPointSize(9);
    levelGroup->setFont(nine);
    return levelGroup;
}

QGroupBox* Frm_Heart::buildIndicators() {
    auto* status = named(new QGroupBox(QStringLiteral("Indicators")), "Fra_Status");
    Txt_BHR = readOnlyBox("Txt_BHR", 44);
    TxtHR_Drug = readOnlyBox("TxtHR_Drug", 44);
    Pic_HR_Graph = new IndicatorGraph("Pic_HR_Graph", 56);
    PicToneGraph = new IndicatorGraph("PicToneGraph", 0);
    Pic_HR_Graph->setFixedWidth(100);
    PicToneGraph->setFixedWidth(100);
    auto hand = [](const char* name) {
        QLabel* h = label(name, QString());
        h->setPixmap(dataPicture(QStringLiteral("heart_hand.png")));
        return h;
    };
    auto* sg = new QGridLayout(status);
    sg->addWidget(label("LabHRTitle", QStringLiteral("Heart Rate")), 0, 0);
    sg->addWidget(label("Lab_BHR", QStringLiteral("Basal  ")), 0, 1, Qt::AlignRight);
    sg->addWidget(Txt_BHR, 0, 2);
    sg->addWidget(label("Lab_DHR", QStringLiteral("During Peak Drug Action")), 0, 3, 1, 2, Qt::AlignRight);
    sg->addWidget(TxtHR_Drug, 0, 5);
    sg->addWidget(label("LabHR_Graph", QStringLiteral("Heart Rate ")), 1, 0);
    sg->addWidget(hand("Img_Hand1"), 1, 1, Qt::AlignRight);
    sg->addWidget(Pic_HR_Graph, 1, 2);
    sg->addWidget(label("Lab_ToneGraph", QStringLiteral("Tone ")), 1, 3, Qt::AlignRight);
    sg->addWidget(hand("Img_Hand2"), 1, 4, Qt::AlignRight);
    sg->addWidget(PicToneGraph, 1, 5);
    sg->setColumnStretch(6, 1);
    return status;
}

QGroupBox* Frm_Heart::buildExit() {
    Fra_CmdBar = named(new QGroupBox(QStringLiteral("Выход")), "Fra_CmdBar");
    CmdTable = button("CmdTable", QStringLiteral("Таблица"), QStringLiteral("Таблица-образец"));
    Cmd_Next = button("Cmd_Next", QStringLiteral("Далее"), QStringLiteral("Следующий шаг"));
    Cmd_New = button("Cmd_New", QStringLiteral("Новый"), QStringLiteral("Начать новый эксперимент"));
    Cmd_return = button("Cmd_return", QStringLiteral("Вернуться"), QStringLiteral("Возврат в главное меню"));
    auto* exitRow = new QHBoxLayout(Fra_CmdBar);
    for (QPushButton* b : {CmdTable, Cmd_Next, Cmd_New, Cmd_return}) exitRow->addWidget(b);
    connect(Cmd_Next, &QPushButton::clicked, this, &Frm_Heart::Cmd_Next_Click);
    connect(Cmd_New, &QPushButton::clicked, this, &Frm_Heart::Cmd_New_Click);
    connect(CmdTable, &QPushButton::clicked, this, &Frm_Heart::CmdTable_Click);
    connect(Cmd_return, &QPushButton::clicked, this, &Frm_Heart::Cmd_return_Click);
    return Fra_CmdBar;
}

// The supervisor's password that lets an examination return to the home screen.
QGroupBox* Frm_Heart::buildReturnPassword() {
    frm_retpass = named(new QGroupBox(QStringLiteral("Введите пароль для возврата")), "frm_retpass");
    Txt_pwret = named(new QLineEdit, "Txt_pwret");
    Txt_pwret->setEchoMode(QLineEdit::Password);
    Txt_pwret->setMaxLength(password::boxLength);
    auto* pwOk = button("cmd_pwretok", QStringLiteral("OK"), QString());
    auto* pwCancel = button("cmd_pwretcan", QStringLiteral("Отмена"), QString());
    auto* pwRow = new QHBoxLayout(frm_retpass);
    pwRow->addWidget(label("lbl_pwret", QStringLiteral("Пароль:")));
    pwRow->addWidget(Txt_pwret);
    pwRow->addWidget(pwOk);
    pwRow->addWidget(pwCancel);
    frm_retpass->hide();
    connect(pwOk, &QPushButton::clicked, this, &Frm_Heart::cmd_pwretok_Click);
    connect(Txt_pwret, &QLineEdit::returnPressed, this, &Frm_Heart::cmd_pwretok_Click);
    connect(pwCancel, &QPushButton::clicked, this, &Frm_Heart::cmd_pwretcan_Click);
    return frm_retpass;
}

void Frm_Heart::buildControls() {
    QVBoxLayout* left = buildLeftColumn();

    // Task, the recorder and its controls, the drug, the indicators and leaving.
    QGroupBox* titleGroup = buildTask();
    auto* recRow = new QHBoxLayout;
    recRow->addWidget(buildRecorder());
    recRow->addWidget(buildRecorderControls(), 1);
    auto* drugRow = new QHBoxLayout;
    drugRow->addWidget(buildDrug());
    drugRow->addWidget(buildDrugLevel(), 1);
    QGroupBox* status = buildIndicators();
    auto* exitArea = new QHBoxLayout;
    exitArea->addWidget(buildExit());
    exitArea->addWidget(buildReturnPassword());
    exitArea->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(titleGroup);
    right->addLayout(recRow);
    right->addLayout(drugRow);
    right->addWidget(status);
    right->addLayout(exitArea);
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    for (QGroupBox* g : findChildren<QGroupBox*>()) {
        g->layout()->setContentsMargins(6, 2, 6, 4);
        g->layout()->setSpacing(4);
    }
    right->setSpacing(4);
    // The screen fits 800 x 600 with its frame, whatever the task's text.
    setFixedSize(sizeHint());
}

int Frm_Heart::paperLeft() const {
    return m_view->paperLeft();
}

bool Frm_Heart::recorderRunning() const {
    return m_timer->isActive() || m_syringePause->isActive();
}

void Frm_Heart::setPaperLeft(int left) {
    m_view->setPaperLeft(left);
}

bool Frm_Heart::Form_Load() {
    const HeartMode mode = m_run.Heart_Mode();
    Lab_DDose->setText(QStringLiteral("мкг"));
    lbl_lastdrug->setText(QStringLiteral("Нет"));
    if (isExamination(mode)) {
        lbl_warning->hide();
        Help_frame->hide();
        Lbl_ExamHeading->setText(examHeading(m_run.student()));
        Lbl_ExamHeading->show();
    }
    lbl_warning->setText(QStringLiteral("Дождитесь стабилизации сердечной деятельности"));
    if (!isExamination(mode)) {
        setWindowTitle(tutorialCaption);
        Lab_drugname->setText(QStringLiteral("Нет"));
    } else if (mode == HeartMode::Exam1) {
        setWindowTitle(examCaption);
        Lab_DDose->setText(QStringLiteral("мл"));
        lbl_unkdrug->show();
        LabTitle->setText(QStringLiteral("ЭКЗАМЕН 1 : Вам предложены вещества, пронумерованные от 1 до %1. Вводите "
                                         "вещества по одному, наблюдая эффект, и идентифицируйте его.")
                              .arg(heartDrugCount));
    }
    if (m_run.Heart_DataLoaded()) {
        clearRecording();
    } else {
        QString error;
        if (!m_model.LoadDrugTable(&error)) {
            m_ctx.fail(error);
            return false;
        }
        SetUpExperiment();
    }
    m_model.startHeart();
    Cmd_RmvDrug->setEnabled(false);
    Cmd_Inject->setEnabled(false);
    Combo_Drug->setEnabled(true);
    showState();
    m_beat->setGeometry(m_model.leverrest(), m_model.leverstroke());
    m_beat->start(m_model.leverInterval());
    if (mode == HeartMode::Exam2 && !m_dispflag3) {
        m_ctx.message({QStringLiteral(" Экзамен 1 закончен. Приступайте к экзамену 2. "),
                       QStringLiteral(" Пожалуйста прочитайте "), MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
        m_dispflag3 = true;
    } else if (mode == HeartMode::Exam3 && !m_dispflag4) {
        m_ctx.message({QStringLiteral(" Экзамен 2 закончен. Приступайте к экзамену 3.   "),
                       QStringLiteral(" Пожалуйста прочитайте "), MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
        m_dispflag4 = true;
    }
    return true;
}

// The controls of a stage the model has just set up: the drug list, and the unknown of
// the examination as the model chose it.
void Frm_Heart::SetUpExperiment() {
    const HeartMode mode = m_run.Heart_Mode();
    const QVector<HeartDrugRec>& drugs = m_model.druglist();
    Combo_Drug->clear();
    for (int i = 1; i <= m_model.drugCount(); ++i) Combo_Drug->addItem(drugs[i].Name);
    lbl_lastdrug->setText(QStringLiteral("Нет"));
    if (mode != HeartMode::Exam1) {
        Combo_Drug->setCurrentIndex(0);
        Txt_Dose->setText(numtext::generalForm(drugs.value(1).Dose));
    }
    if (mode == HeartMode::Exam1) {
        Cmd_return->setEnabled(true);
        CmdTable->setEnabled(false);
        Cmd_New->setEnabled(false);
        Lab_Drug->hide();
        lbl_unkdrug->setText(QStringLiteral("Неизвестное No. ") + QString::number(m_run.Heart_UnknownNo()));
        Combo_Drug->setCurrentIndex(m_run.Heart_Exam1Drug() - 1);
        Combo_Drug_Click();
        Combo_Drug->hide();
    } else if (mode == HeartMode::Exam2 || mode == HeartMode::Exam3) {
        setWindowTitle(laterExamCaption);
        CmdTable->setEnabled(false);
        Cmd_New->setEnabled(mode == HeartMode::Exam3);
        LabTitle->setText(
            mode == HeartMode::Exam2
                ? QStringLiteral("ЭКЗАМЕН 2 : Вам дали неизвестное вещество и известные. Определите "
                                 "неизвестное вещество, сравнивая его действие и взаимодействие с известными.")
                : QStringLiteral("ЭКЗАМЕН 3 : Вам дали неизвестное вещество. Разработайте и выполните "
                                 "эксперимент, чтобы выяснить, является ли воздействие на частоту "
                                 "сердечных сокращений совместимым с адреналином или ацетилхолином."));
        Combo_Drug->addItem(QStringLiteral("Неизвестное"));
    }
    clearRecording();
    Lab_drugname->setText(QStringLiteral("Нет"));
}

void Frm_Heart::clearRecording() {
    m_paper.reset();
    setPaperLeft(0);
    {
        const QSignalBlocker quiet(HScrPic);
        HScrPic->setRange(0, 0);
        HScrPic->setValue(0);
    }
    m_model.startRecorder(m_paper.width());
    Pic_HR_Graph->setLevel(14);
    PicToneGraph->setLevel(14);
    ProBar_Time->setValue(0);
    CmdPic_Continue->setEnabled(false);
    CmdPic_Stop->setEnabled(true);
    m_view->update();
    m_timer->start();
}

void Frm_Heart::showState() {
    Txt_BHR->setText(m_model.basalBox());
    TxtHR_Drug->setText(m_model.rateBox());
    setGauge(ProBar_Time, static_cast<int>(m_model.gauge()));
    Lab_drugname->setText(m_model.drugLabel());
    m_beat->setGeometry(m_model.leverrest(), m_model.leverstroke());
}

void Frm_Heart::restCycleControls() {
    const HeartMode mode = m_run.Heart_Mode();
    if (mode == HeartMode::Tutorial) {
        for (QPushButton* b : {Cmd_help, Cmd_New, Cmd_Next, CmdTable}) b->setEnabled(true);
    }
    Cmd_Print->setEnabled(true);
    if (mode == HeartMode::Exam3) Cmd_New->setEnabled(true);
    Cmd_Inject->setEnabled(true);
    Combo_Drug->setEnabled(true);
    Cmd_RmvDrug->setEnabled(false);
    lbl_lastdrug->setText(m_model.prevname());
    lbl_warning->setText(QStringLiteral("Выберите вещество для введения"));
}

void Frm_Heart::execute(const std::vector<HeartOp>& ops) {
    QFont font(QStringLiteral("Liberation Sans"));
    for (const HeartOp& op : ops) {
        switch (op.kind) {
            case HeartOp::Advance:
                m_paper.grow(1);
                setPaperLeft(m_model.paper().left());
                break;
            case HeartOp::Stroke: {
                const int x = m_paper.width() - 10;
                m_paper.line({x, op.y1}, {x, op.y2});
                m_view->paperChanged(x, x + 1);
                break;
            }
            case HeartOp::Mark:
                font.setPointSize(op.pointSize);
                font.setBold(op.bold);
                m_paper.text({op.x, op.y1}, op.text, font, Qt::white);
                m_view->paperChanged(op.x, op.x + 60);
                break;
            case HeartOp::LeverMove:
                m_setup->invertLever(op.y1);
                m_setup->invertLever(op.y2);
                break;
            case HeartOp::Hearts:
                m_setup->showContracted(op.on);
                break;
            case HeartOp::LeverRun:
                if (op.on)
                    m_beat->start(op.y2);
                else
                    m_beat->stop();
                break;
            case HeartOp::Indicators:
                Pic_HR_Graph->setLevel(op.y1);
                PicToneGraph->setLevel(op.y2);
                break;
            case HeartOp::RestCycle:
                restCycleControls();
                break;
        }
    }
    // The scroll range follows the recording while the newest part is on show.
    if (HScrPic->maximum() != m_model.paper().positions()) {
        const QSignalBlocker quiet(HScrPic);
        const int fromRight = HScrPic->maximum() - HScrPic->value();
        HScrPic->setMaximum(m_model.paper().positions());
        HScrPic->setValue(HScrPic->maximum() - fromRight);
    }
    showState();
}

void Frm_Heart::RecorderTick() {
    m_timer->stop();
    if (m_model.tick() == HeartModel::TickResult::PaperFull) {
        const MsgAnswer answer =
            m_ctx.message({QStringLiteral("Память записывающего устройства переполнена. Очистие ее "),
                           {},
                           MsgButtons::YesNo,
                           MsgIcon::None,
                           MsgAnswer::Yes});
        if (answer == MsgAnswer::Yes) Form_Load();
        return;
    }
    execute(m_model.takeOps());
    m_timer->start();
}

void Frm_Heart::Combo_Drug_Click() {
    const int position = Combo_Drug->currentIndex();
    if (position < 0) return;
    Txt_Dose->setText(numtext::generalForm(m_model.druglist().value(position + 1).Dose));
    const HeartMode mode = m_run.Heart_Mode();
    if (mode == HeartMode::Exam2 || mode == HeartMode::Exam3) Lab_DDose->setText(m_model.unitFor(position));
}

void Frm_Heart::Cmd_Inject_Click() {
    const HeartMode mode = m_run.Heart_Mode();
    const int position = Combo_Drug->currentIndex();
    if (position < 0) return;
    if (mode == HeartMode::Tutorial)
        for (QPushButton* b : {Cmd_help, Cmd_New, Cmd_Next, CmdTable}) b->setEnabled(false);
    Cmd_Print->setEnabled(false);
    if (mode == HeartMode::Exam3) Cmd_New->setEnabled(false);
    Lab_DDose->setText(m_model.unitFor(position));
    lbl_lastdrug->setText(m_model.prevname());  // the drug given before this one, whichever this is

    m_timer->stop();
    if (CmdPic_Continue->isEnabled()) CmdPic_Continue_Click();
    m_timer->stop();
    inject_img->show();
    m_beat->settle();
    m_model.inject(position);
    execute(m_model.takeOps());
    m_syringePause->start();  // the recorder goes on a second later
    Cmd_Inject->setEnabled(true);
    Cmd_RmvDrug->setEnabled(true);
    lbl_warning->setText(QStringLiteral("(B)HR - частота сердечных сокращений (контрольная)"));
    if (m_model.exam2LogFull())
        m_ctx.message({QStringLiteral("Журнал экзамена заполнен: это введение не записано."),
                       {},
                       MsgButtons::Ok,
                       MsgIcon::Information,
                       MsgAnswer::Ok});
}

void Frm_Heart::endSyringePause() {
    m_syringePause->stop();
    inject_img->hide();
    m_timer->start();
}

void Frm_Heart::CmdPic_Stop_Click() {
    m_timer->stop();
    m_syringePause->stop();
    inject_img->hide();
    CmdPic_Continue->setEnabled(true);
    CmdPic_Stop->setEnabled(false);
    m_savedLeft = paperLeft();
    m_savedHint = lbl_warning->text();
    lbl_warning->setText(QStringLiteral("Нажмите 'Продолжить' для продолжения записи"));
}

void Frm_Heart::CmdPic_Continue_Click() {
    {
        const QSignalBlocker quiet(HScrPic);
        HScrPic->setValue(HScrPic->maximum());
    }
    setPaperLeft(m_savedLeft);
    CmdPic_Continue->setEnabled(false);
    CmdPic_Stop->setEnabled(true);
    m_timer->start();
    lbl_warning->setText(m_savedHint);
}

void Frm_Heart::HScrPic_Change() {
    if (recorderRunning()) CmdPic_Stop_Click();
    setPaperLeft(m_model.paper().leftAt(HScrPic->value()));
}

void Frm_Heart::Cmd_RmvDrug_Click() {
    // The button only toggles its own flag, which nothing reads: the drug acts on to its rest cycle.
    m_removeFlag = !m_removeFlag;
    update();
}

void Frm_Heart::Cmd_Next_Click() {
    const HeartMode mode = m_run.Heart_Mode();
    if (mode == HeartMode::Exam2 &&
        m_ctx.message(
            {QStringLiteral(" Вы уверены? Вы определили неизвестное вещество? Вы не сможете вернуться назад.  "),
             QStringLiteral(" Предупреждение "), MsgButtons::OkCancel, MsgIcon::None, MsgAnswer::Ok}) ==
            MsgAnswer::Cancel)
        return;
    if (isExamination(mode)) m_model.forgetPreviousDrug();
    m_ctx.navigator.open(HeartWindows::Frm_Question);
    if (mode == HeartMode::Tutorial)
        m_ctx.navigator.park(this);
    else
        close();
}

void Frm_Heart::Cmd_New_Click() {
    m_timer->stop();
    CmdPic_Continue->setEnabled(false);
    CmdPic_Stop->setEnabled(true);
    m_model.forgetPreviousDrug();
    m_beat->settle();
    m_model.EndDrugAction();
    execute(m_model.takeOps());
    Form_Load();
    if (!m_run.nextHeart())
        m_ctx.message({QStringLiteral("Больше %1 сердец в одном экзамене взять нельзя.").arg(HeartRunState::maxHearts),
                       {},
                       MsgButtons::Ok,
                       MsgIcon::Information,
                       MsgAnswer::Ok});
}

void Frm_Heart::CmdTable_Click() {
    m_ctx.navigator.open(HeartWindows::Frm_Heart_Table);
    m_ctx.navigator.park(this);
}

void Frm_Heart::Cmd_return_Click() {
    if (!isExamination(m_run.Heart_Mode())) {
        m_ctx.navigator.open(HeartWindows::Frm_Heart_Main);
        close();
        return;
    }
    Fra_CmdBar->hide();
    frm_retpass->show();
    Txt_pwret->setFocus();
}

void Frm_Heart::cmd_pwretok_Click() {
    if (!passwordAccepted(m_ctx, Txt_pwret, m_run.Heart_Password(), QStringLiteral("Неверный пароль "),
                          QStringLiteral(" Ошибка пароля ")))
        return;
    m_ctx.navigator.open(HeartWindows::Frm_Heart_Main);
    close();
}

void Frm_Heart::cmd_pwretcan_Click() {
    frm_retpass->hide();
    Fra_CmdBar->show();
}

void Frm_Heart::Cmd_Print_Click() {
    printRecording(m_ctx, m_paper, QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - Принтер должен быть ВКЛЮЧЕН"),
                   {QStringLiteral("Влияние веществ на изолированное сердце лягушки"), {}});
}

void Frm_Heart::Cmd_help_Click() {
    m_ctx.help.showContents(this, QStringLiteral("heart.hlp"));
}
