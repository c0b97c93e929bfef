#include "frm_rabbit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "clickable_label.h"
#include "data_files.h"
#include "eye_panel.h"
#include "named_widgets.h"
#include "pictures.h"
#include "program_context.h"
#include "rabbit_drugs.h"
#include "rabbit_run_state.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

const QString tutorialCaption = QStringLiteral(" Воздействие веществ на глаз кролика - Режим обучения ");
const QString examCaption = QStringLiteral(" Effects of Drugs on the Rabbit Eye- Examination Mode ");
const QString reflexTip = QStringLiteral("Нажмите и используйте для проверки рефлексов");

// Pictures the screen cannot do without, by the names it loads them by.
const QStringList pictureFiles = {
    QStringLiteral("Leye1.bmp"),    QStringLiteral("leye2.bmp"),      QStringLiteral("LRab1.bmp"),
    QStringLiteral("LRab2.bmp"),    QStringLiteral("Reye1.bmp"),      QStringLiteral("Reye2.bmp"),
    QStringLiteral("RRab1.bmp"),    QStringLiteral("Rrab2.bmp"),      QStringLiteral("filler.ico"),
    QStringLiteral("torche.ico"),   QStringLiteral("torche1.ico"),    QStringLiteral("cotton.ico"),
    QStringLiteral("cotton1.ico"),  QStringLiteral("rab_rabbit.png"), QStringLiteral("rab_testtube.png"),
    QStringLiteral("rab_ruler.png")};

constexpr int rightRulerStop = 2700;  // the right ruler goes no further right

}  // namespace

Frm_Rabbit::Frm_Rabbit(ProgramContext& ctx, RabbitRunState& run) : m_ctx(ctx), m_run(run), m_model(run, ctx.random) {
    setWindowTitle(QStringLiteral("Воздействие веществ на глаз кролика - Режим обучения"));
    RemoveSysMenuItems(this);
    discardWindowKeys(this);
    // The carried tool follows the pointer without a button held down.
    setMouseTracking(true);
    m_tool.moved = [this](QPoint windowPos) { dragToolTo(windowPos); };
    // Putting the tool down takes it off the eye: a torch no longer shines into it.
    m_tool.puttingDown = [this] {
        const Target last = m_dragTarget;
        m_dragTarget = Target::None;
        dragOver(last, Leaving);
    };
}

bool Frm_Rabbit::loadPictures() {
    QStringList bad = data_files::missing(pictureFiles);
    for (const QString& name : pictureFiles) {
        if (bad.contains(name)) continue;
        const QPixmap p = dataPicture(name);
        if (p.isNull())
            bad << name;
        else
            m_pictures.insert(name, p);
    }
    if (bad.isEmpty()) return true;
    m_ctx.fail(
        bad.size() == 1
            ? QStringLiteral("Не найден или испорчен файл рисунка «%1» в папке программы.\nБез него опыт с глазом "
                             "кролика не может быть показан; программа будет закрыта.")
                  .arg(bad.first())
            : QStringLiteral("Не найдены или испорчены файлы рисунков в папке программы: «%1».\nБез них опыт с "
                             "глазом кролика не может быть показан; программа будет закрыта.")
                  .arg(bad.join(QStringLiteral("», «"))));
    return false;
}

bool Frm_Rabbit::loadTable() {
    QVector<RabDrugRec> rows;
    QString error;
    DrugNames names;
    if (!readRabbitDrugs(&rows, &error) || !names.load(QStringLiteral("Rab_Eye_names.txt"))) {
        m_ctx.fail(error.isEmpty() ? names.error() : error);
        return false;
    }
    m_run.setDrugNames(names);
    const QString message = m_model.LoadDrugTable(rows);
    Combo_Drug->clear();
    Combo_Drug->addItems(m_model.substanceList());
    Combo_Drug->setCurrentIndex(0);
    Lab_DName->setText(Combo_Drug->currentText());
    if (m_run.Rab_Mode() == RabMode::FirstExamination) {
        Lab_Drug->hide();
        Combo_Drug->hide();
        lab_Exam->show();
        Lst_Exam->clear();
        Lst_Exam->addItems(m_model.substanceList().mid(0, m_model.Rab_DrugCount()));
        Lab_DName->setText(m_model.UnknownLabel());
        Cmd_Saline->show();
    }
    if (!message.isEmpty()) m_ctx.message({message, {}, MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
    return true;
}

bool Frm_Rabbit::Form_Load() {
    if (!loadPictures()) return false;
    buildControls();
    if (!m_run.Rab_DataLoaded() || m_model.substanceList().isEmpty()) {
        if (!loadTable()) return false;
        Lab_Rab_No->setText(QStringLiteral("Кролик %1").arg(m_model.RabbitNo()));
    }
    setUp();
    for (const Eye& e : m_eye) e.panel->openEye();
    // As wide as the two eye panels, whichever panels the bands show.
    const QMargins margins = layout()->contentsMargins();
    setFixedSize(margins.left() + m_eyesRow->sizeHint().width() + margins.right(), sizeHint().height());
    return true;
}

// --- Controls.

QGroupBox* Frm_Rabbit::buildTitle() {
    auto* frameTitle = named(new QGroupBox(QStringLiteral("Указания")), "Frame_Title");
    LAb_Title =
        label("LAb_Title", QStringLiteral("Капайте вещества по очереди и наблюдайте эффект, оказываемый на глаз "
                                          "кролика. Занесите данные в таблицу и сделайте выводы."));
    LAb_Title->setWordWrap(true);
    LAb_Title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    (new QVBoxLayout(frameTitle))->addWidget(LAb_Title);
    frameTitle->setFixedWidth(290);
    return frameTitle;
}

QGroupBox* Frm_Rabbit::buildHelp() {
    Frame_help = named(new QGroupBox(QStringLiteral("Справка")), "Frame_help");
    auto* help = button("cmd_help", QStringLiteral("Инструкция"));
    Lbl_step = label("Lbl_step", QStringLiteral("Выберите вещество и закапайте"));
    Lbl_step->setWordWrap(true);
    Lbl_step->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    auto* helpLayout = new QVBoxLayout(Frame_help);
    helpLayout->addWidget(help, 0, Qt::AlignLeft);
    helpLayout->addWidget(Lbl_step, 1);
    connect(help, &QPushButton::clicked, this, &Frm_Rabbit::cmd_help_Click);
    return Frame_help;
}

// In the examinations, in the help's place.
QGroupBox* Frm_Rabbit::buildIdentification() {
    Frame_Exam = named(new QGroupBox(QStringLiteral("Определите неизвестное вещество")), "Frame_Exam");
    Lst_Exam = named(new QListWidget, "Lst_Exam");
    Cmd_Dr_Id = button("Cmd_Dr_Id", QStringLiteral("Определить"));
    auto* examLayout = new QHBoxLayout(Frame_Exam);
    examLayout->addWidget(Lst_Exam, 1);
    examLayout->addWidget(Cmd_Dr_Id, 0, Qt::AlignBottom);
    Frame_Exam->hide();
    connect(Cmd_Dr_Id, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Dr_Id_Click);
    return Frame_Exam;
}

QVBoxLayout* Frm_Rabbit::buildRabbit() {
    Pic_Rabbit = named(new ClickableLabel, "Pic_Rabbit");
    Pic_Rabbit->setPixmap(m_pictures.value(QStringLiteral("rab_rabbit.png")));
    Pic_Rabbit->setToolTip(QStringLiteral("Нажмите чтобы выбрать нового кролика"));
    Pic_Rabbit->setCursor(Qt::PointingHandCursor);
    Pic_Rabbit->setAlignment(Qt::AlignCenter);
    Lab_Rab_No = named(new ClickableLabel, "Lab_Rab_No");
    Lab_Rab_No->setText(QStringLiteral("Кролик"));
    Lab_Rab_No->setToolTip(QStringLiteral("Click to get next rabbit"));
    Lab_Rab_No->setCursor(Qt::PointingHandCursor);
    Lab_Rab_No->setAlignment(Qt::AlignCenter);
    QFont numberFont = Lab_Rab_No->font();
    numberFont.setBold(true);
    Lab_Rab_No->setFont(numberFont);
    auto* rabbit = new QVBoxLayout;
    rabbit->setSpacing(0);
    rabbit->addWidget(Pic_Rabbit);
    rabbit->addWidget(Lab_Rab_No);
    connect(Pic_Rabbit, &ClickableLabel::clicked, this, &Frm_Rabbit::Pic_Rabbit_Click);
    connect(Lab_Rab_No, &ClickableLabel::clicked, this, &Frm_Rabbit::Lab_Rab_No_Click);
    return rabbit;
}

EyePanel* Frm_Rabbit::buildEye(EyeSide side) {
    const bool left = side == EyeSide::Left;
    Eye& e = eye(side);
    e.panel = new EyePanel(side, m_pictures);
    m_rulers.watch(e.panel->ruler(), e.panel->view(), [this, side](double x, double y, DragState state) {
        QWidget* ruler = eye(side).panel->ruler();
        side == EyeSide::Left ? Pic_LEye_DragOver(ruler, x, y, state) : Pic_Reye_DragOver(ruler, x, y, state);
    });
    e.instill = named(new QTimer(this), left ? "Timer_L_Instill" : "Timer_R_Instill");
    connect(e.instill, &QTimer::timeout, this,
            left ? &Frm_Rabbit::Timer_L_Instill_Timer : &Frm_Rabbit::Timer_R_Instill_Timer);
    e.reopen = named(new QTimer(this), left ? "Timer_LEye" : "Timer_REye");
    e.reopen->setInterval(400);
    connect(e.reopen, &QTimer::timeout, this, left ? &Frm_Rabbit::Timer_LEye_Timer : &Frm_Rabbit::Timer_REye_Timer);
    return e.panel;
}

// The substance to instil, and the saline in the examinations.
QGroupBox* Frm_Rabbit::buildSubstance() {
    Frame_Drug = named(new QGroupBox(QStringLiteral("Вещество")), "Frame_Drug");
    Lab_Drug = label("Lab_Drug", QStringLiteral("Вещества:"));
    Combo_Drug = named(new QComboBox, "Combo_Drug");
    Combo_Drug->setEditable(true);
    Combo_Drug->setInsertPolicy(QComboBox::NoInsert);
    Combo_Drug->setToolTip(QStringLiteral("Раскройте список и выберите вещество"));
    Combo_Drug->setMinimumWidth(190);
    Combo_Drug->installEventFilter(this);
    lab_Exam = label("lab_Exam", QStringLiteral("  Instill Saline / Unknown Drug"));
    lab_Exam->hide();
    auto* tube = label("Image_Testtube", QString());
    tube->setPixmap(m_pictures.value(QStringLiteral("rab_testtube.png")));
    tube->setToolTip(QStringLiteral("Выбранное вещество"));
    Lab_DName = label("Lab_DName", QStringLiteral("Drugs"));
    Lab_DName->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Cmd_Instill = button("Cmd_Instill", QStringLiteral("Закапать вещество"));
    Cmd_Instill->installEventFilter(this);
    Cmd_Saline = button("Cmd_Saline", QStringLiteral("Капнуть солевой раствор"));
    Cmd_Saline->hide();
    auto* drugGrid = new QGridLayout(Frame_Drug);
    drugGrid->addWidget(Lab_Drug, 0, 0);
    drugGrid->addWidget(Combo_Drug, 0, 1, 1, 2);
    drugGrid->addWidget(lab_Exam, 0, 0, 1, 3);
    drugGrid->addWidget(tube, 1, 0, 2, 1, Qt::AlignCenter);
    drugGrid->addWidget(Lab_DName, 1, 1, 1, 2);
    drugGrid->addWidget(Cmd_Instill, 2, 1);
    drugGrid->addWidget(Cmd_Saline, 2, 2);
    drugGrid->setColumnStretch(2, 1);
    connect(Combo_Drug, &QComboBox::currentTextChanged, Lab_DName, &QLabel::setText);
    connect(Combo_Drug, &QComboBox::editTextChanged, Lab_DName, &QLabel::setText);
    connect(Cmd_Instill, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Instill_Click);
    connect(Cmd_Saline, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Saline_Click);
    return Frame_Drug;
}

// In the substance's place once "Закапать" is pressed.
QGroupBox* Frm_Rabbit::buildEyeChoice() {
    Frame_Eye_Sel = named(new QGroupBox(QStringLiteral("В какой глаз вы хотите закапать?")), "Frame_Eye_Sel");
    auto* leftEye = button("Cmd_LEye", QStringLiteral("Левый глаз"));
    auto* rightEye = button("Cmd_Reye", QStringLiteral("Правый глаз"));
    auto* cancel = button("Cmd_Can", QStringLiteral("Отмена"));
    auto* eyeRow = new QHBoxLayout;
    eyeRow->addStretch();
    eyeRow->addWidget(leftEye);
    eyeRow->addWidget(label("Lab_Or", QStringLiteral("или")));
    eyeRow->addWidget(rightEye);
    eyeRow->addStretch();
    auto* eyeLayout = new QVBoxLayout(Frame_Eye_Sel);
    eyeLayout->addStretch();
    eyeLayout->addLayout(eyeRow);
    eyeLayout->addWidget(cancel, 0, Qt::AlignHCenter);
    eyeLayout->addStretch();
    Frame_Eye_Sel->hide();
    connect(leftEye, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_LEye_Click);
    connect(rightEye, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Reye_Click);
    connect(cancel, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Can_Click);
    return Frame_Eye_Sel;
}

QGroupBox* Frm_Rabbit::buildTools() {
    auto* tools = named(new QGroupBox(QStringLiteral("Инструменты")), "Frame_Tool");
    Image_Cotton = named(new ClickableLabel, "Image_Cotton");
    Image_Cotton->setPixmap(m_pictures.value(QStringLiteral("cotton.ico")));
    Image_Torche = named(new ClickableLabel, "Image_Torche");
    Image_Torche->setPixmap(m_pictures.value(QStringLiteral("torche.ico")));
    auto* toolGrid = new QGridLayout(tools);
    int column = 0;
    for (auto [picture, name, text] : {std::tuple{Image_Cotton, "Lab_Cotton", QStringLiteral("Вата")},
                                       std::tuple{Image_Torche, "Lab_Torche", QStringLiteral("Фонарик")}}) {
        picture->setToolTip(reflexTip);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setAlignment(Qt::AlignCenter);
        QLabel* caption = label(name, text);
        caption->setToolTip(reflexTip);
        caption->setAlignment(Qt::AlignCenter);
        toolGrid->addWidget(picture, 0, column);
        toolGrid->addWidget(caption, 1, column);
        ++column;
    }
    connect(Image_Cotton, &ClickableLabel::clicked, this, &Frm_Rabbit::Image_Cotton_Click);
    connect(Image_Torche, &ClickableLabel::clicked, this, &Frm_Rabbit::Image_Torche_Click);
    return tools;
}

QGroupBox* Frm_Rabbit::buildCommands() {
    auto* commands = named(new QGroupBox(QStringLiteral("Выход")), "Frame_Com");
    Cmd_New = button("Cmd_New", QStringLiteral("Новый"), QStringLiteral("Выбрать нового кролика"));
    Cmd_Next = button("Cmd_Next", QStringLiteral("Далее"), QStringLiteral("Перейти на следующую страницу"));
    Cmd_Table = button("Cmd_Table", QStringLiteral("Таблица"), QStringLiteral("Показать таблицу-образец"));
    cmdreturn = button("cmdreturn", QStringLiteral("Возврат"), QStringLiteral("Возврат в главное меню"));
    auto* commandGrid = new QGridLayout(commands);
    commandGrid->addWidget(Cmd_New, 0, 0);
    commandGrid->addWidget(Cmd_Next, 0, 1);
    commandGrid->addWidget(Cmd_Table, 1, 0);
    commandGrid->addWidget(cmdreturn, 1, 1);
    connect(Cmd_New, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_New_Click);
    connect(Cmd_Next, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Next_Click);
    connect(Cmd_Table, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Table_Click);
    connect(cmdreturn, &QPushButton::clicked, this, &Frm_Rabbit::cmdreturn_Click);
    return commands;
}

void Frm_Rabbit::buildControls() {
    // Top band: instructions, help (or the identification in the examinations), the rabbit.
    QGroupBox* frameTitle = buildTitle();
    buildHelp();
    buildIdentification();
    QVBoxLayout* rabbit = buildRabbit();
    auto* top = new QHBoxLayout;
    top->addWidget(frameTitle);
    top->addWidget(Frame_help, 1);
    top->addWidget(Frame_Exam, 1);
    top->addLayout(rabbit);

    // The two eyes.
    m_eyesRow = new QHBoxLayout;
    m_eyesRow->addWidget(buildEye(EyeSide::Left));
    m_eyesRow->addWidget(buildEye(EyeSide::Right));

    // Bottom band: the substance (or the eye choice in its place), the tools, the commands.
    buildSubstance();
    buildEyeChoice();
    QGroupBox* tools = buildTools();
    QGroupBox* commands = buildCommands();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame_Drug, 1);
    bottom->addWidget(Frame_Eye_Sel, 1);
    bottom->addWidget(tools);
    bottom->addWidget(commands);

    // In the examinations: who sits it, and where the examination stands.
    Lbl_ExamHeading = label("Lbl_ExamHeading", QString());
    Lbl_ExamBanner = label("Lbl_ExamBanner", QString());
    Lbl_ExamBanner->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    auto* examRow = new QHBoxLayout;
    examRow->addWidget(Lbl_ExamHeading);
    examRow->addStretch();
    examRow->addWidget(Lbl_ExamBanner);
    Lbl_ExamHeading->hide();
    Lbl_ExamBanner->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(examRow);
    layout->addLayout(top);
    layout->addLayout(m_eyesRow);
    layout->addLayout(bottom);
    for (QGroupBox* g : findChildren<QGroupBox*>()) {
        if (!g->layout()) continue;
        g->layout()->setContentsMargins(6, 2, 6, 4);
        g->layout()->setSpacing(4);
    }
    // The two bands keep one height whichever of their panels is on show.
    Frame_help->setFixedHeight(96);
    Frame_Exam->setFixedHeight(96);
    frameTitle->setFixedHeight(96);
    for (QGroupBox* g : {Frame_Drug, Frame_Eye_Sel, tools, commands}) g->setFixedHeight(104);
}

// --- The rabbit and its eyes.

// Set-up: when the screen loads and at each new rabbit.
void Frm_Rabbit::setUp() {
    Lbl_step->setText(QStringLiteral("Измерьте зрачок и проверьте рефлексы"));
    setWindowTitle(tutorialCaption);
    if (m_run.examination()) {
        setWindowTitle(examCaption);
        Frame_help->hide();
        Frame_Exam->show();
        Frame_Exam->setEnabled(true);
        LAb_Title->setText(
            m_run.Rab_Mode() == RabMode::FirstExamination
                ? QStringLiteral("Examination 1 : You are given a set of unknown drugs. Test them on the "
                                 "rabbit eye and identify.")
                : QStringLiteral("Examination 2 : You are given an unknown drug. Design an experiment to "
                                 "find out whether the drug is a miotic or mydriatic."));
        Cmd_Next->setEnabled(true);
        Cmd_Table->setEnabled(false);
        Lbl_ExamHeading->setText(examHeading(m_run.student()));
        Lbl_ExamHeading->show();
        showExamBanner();
        // The second examination is left only through its results.
        cmdreturn->setEnabled(m_run.Rab_Mode() == RabMode::FirstExamination);
    }
    m_model.startRabbit();
    for (EyeSide side : {EyeSide::Left, EyeSide::Right}) {
        eye(side).panel->putRulerBack();
        showDrops(side);
    }
}

void Frm_Rabbit::showEye(EyeSide side) {
    eye(side).panel->showEye(m_model.eye(side));
}

int Frm_Rabbit::rulerLeft(EyeSide side) const {
    return eye(side).panel->rulerLeft();
}

void Frm_Rabbit::substanceHint() {
    const bool bothDone = m_model.eye(EyeSide::Left).Done && m_model.eye(EyeSide::Right).Done;
    Lbl_step->setText(bothDone ? QStringLiteral("Выберите нового кролика")
                               : QStringLiteral("Выберите вещество для закапывания"));
}

void Frm_Rabbit::Cmd_Instill_Click() {
    Frame_Eye_Sel->show();
    Frame_Drug->hide();
    Lbl_step->setText(QStringLiteral("Выберите глаз для закапывания"));
    const bool leftDone = m_model.eye(EyeSide::Left).Done, rightDone = m_model.eye(EyeSide::Right).Done;
    if (rightDone && !leftDone) Lbl_step->setText(QStringLiteral("Выберите левый глаз для закапывания"));
    if (leftDone && !rightDone) Lbl_step->setText(QStringLiteral("Выберите правый глаз для закапывания"));
    if (leftDone && rightDone) Lbl_step->setText(QStringLiteral("Выберите нового кролика"));
}

void Frm_Rabbit::Cmd_Saline_Click() {
    m_model.askSaline();
    Frame_Eye_Sel->show();
    Frame_Drug->hide();
}

void Frm_Rabbit::showSubstancePanel() {
    Frame_Eye_Sel->hide();
    Frame_Drug->show();
}

void Frm_Rabbit::instilInto(EyeSide side) {
    const QString text = Combo_Drug->currentText();
    const Instillation done = m_model.instil(side, Combo_Drug->findText(text), text);
    if (done.accepted) {
        showDrops(side);
        if (m_run.Rab_Mode() == RabMode::Tutorial)
            Lbl_step->setText(QStringLiteral("Измерьте зрачок и проверьте рефлексы"));
    } else if (!done.refusal.isEmpty()) {
        m_ctx.message({done.refusal, {}, MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
    }
    showSubstancePanel();
}

void Frm_Rabbit::Cmd_LEye_Click() {
    instilInto(EyeSide::Left);
}
void Frm_Rabbit::Cmd_Reye_Click() {
    instilInto(EyeSide::Right);
}

// "Отмена" cancels a saline request too: the eye chosen next gets what the student picks then.
void Frm_Rabbit::Cmd_Can_Click() {
    m_model.cancelSaline();
    showSubstancePanel();
}

// The drops as the model has them: the dropper over the eye, the pupil and the tension,
// and the instillation clock set to the next stage.
void Frm_Rabbit::showDrops(EyeSide side) {
    Eye& e = eye(side);
    e.panel->showDropper(m_model.dropperShown(side));
    showEye(side);
    const int next = m_model.msToNextStage(side);
    if (next > 0)
        e.instill->start(next);
    else
        e.instill->stop();
    Cmd_New->setEnabled(m_model.newRabbitOffered());
}

// The instillation clock has run its interval: the drops go on by that much.
void Frm_Rabbit::instillationStep(EyeSide side) {
    m_model.advance(side, eye(side).instill->interval());
    showDrops(side);
}

void Frm_Rabbit::Timer_L_Instill_Timer() {
    instillationStep(EyeSide::Left);
}
void Frm_Rabbit::Timer_R_Instill_Timer() {
    instillationStep(EyeSide::Right);
}

void Frm_Rabbit::reopen(EyeSide side) {
    Eye& e = eye(side);
    e.panel->openEye();
    e.reopen->stop();
}

void Frm_Rabbit::Timer_LEye_Timer() {
    reopen(EyeSide::Left);
}
void Frm_Rabbit::Timer_REye_Timer() {
    reopen(EyeSide::Right);
}

void Frm_Rabbit::blink(EyeSide side) {
    Eye& e = eye(side);
    e.panel->closeEye();
    e.reopen->start();
}

void Frm_Rabbit::newRabbit(bool always) {
    if (!m_model.takeRabbitNumber() && !always) {
        m_ctx.message({QStringLiteral("Это последний кролик (%1). Чтобы продолжить опыт, вернитесь в главное меню и "
                                      "начните его заново.")
                           .arg(RabbitModel::lastRabbit),
                       {},
                       MsgButtons::Ok,
                       MsgIcon::Information,
                       MsgAnswer::Ok});
        return;
    }
    Lab_Rab_No->setText(QStringLiteral("Кролик %1").arg(m_model.RabbitNo()));
    // The rabbit is changed behind closed eyes; from now on a blink is short.
    for (Eye& e : m_eye) {
        e.panel->clearEye();
        e.reopen->setInterval(100);
        e.reopen->start();
    }
    setUp();
}

void Frm_Rabbit::Cmd_New_Click() {
    newRabbit(false);
}
void Frm_Rabbit::Pic_Rabbit_Click() {
    newRabbit(false);
}
void Frm_Rabbit::Lab_Rab_No_Click() {
    newRabbit(false);
}

// --- Examinations and leaving.

void Frm_Rabbit::showExamBanner() {
    const bool first = m_run.Rab_Mode() == RabMode::FirstExamination;
    Lbl_ExamBanner->setText(
        first ? QStringLiteral("Экзамен 1: неизвестное %1 из %2").arg(m_model.UnknownNo()).arg(m_run.unknownCount())
              : QStringLiteral("Экзамен 2: неизвестное 1 из 1"));
    Lbl_ExamBanner->show();
}

// Yes or No to a step that cannot be undone; No is the default.
bool Frm_Rabbit::confirmed(const QString& question) {
    return m_ctx.message({question, QStringLiteral("Экзамен"), MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::No}) ==
           MsgAnswer::Yes;
}

void Frm_Rabbit::moveOnFromFirstExamination() {
    m_model.enterSecondExamination();
    Frame_Exam->setTitle(QStringLiteral("Миотик или мидриатик?"));
    Lst_Exam->clear();
    Lst_Exam->addItems(RabbitModel::secondExaminationAnswers());
    Lab_DName->setText(m_model.UnknownLabel());
    showExamBanner();
    newRabbit(true);
}

void Frm_Rabbit::openResults() {
    if (m_run.Rab_Mode() == RabMode::SecondExamination) m_model.closeSecondExamination();
    m_ctx.navigator.open(RabbitWindows::Frm_Rab_Table);
    m_ctx.navigator.park(this);
}

void Frm_Rabbit::Cmd_Next_Click() {
    // Going on leaves the unknowns not yet identified unanswered for good.
    if (m_run.examination()) {
        const bool first = m_run.Rab_Mode() == RabMode::FirstExamination;
        const int left = first ? m_run.unknownCount() - m_model.UnknownNo() + 1 : 1;
        if (!confirmed(QStringLiteral("Закончить экзамен %1? Неопределённых неизвестных: %2. Вернуться к ним будет "
                                      "нельзя.")
                           .arg(first ? 1 : 2)
                           .arg(left)))
            return;
    }
    if (m_run.Rab_Mode() == RabMode::FirstExamination) {
        moveOnFromFirstExamination();
        return;
    }
    openResults();
}

void Frm_Rabbit::Cmd_Table_Click() {
    m_run.askSampleTable();
    m_ctx.navigator.open(RabbitWindows::Frm_Rab_Table);
    m_ctx.navigator.park(this);
}

void Frm_Rabbit::cmdreturn_Click() {
    if (m_run.Rab_Mode() == RabMode::SecondExamination) return;
    m_ctx.navigator.open(RabbitWindows::Frm_Rab_main);
    close();
}

void Frm_Rabbit::cmd_help_Click() {
    m_ctx.help.showContents(this, QStringLiteral("rabbit.hlp"));
}

void Frm_Rabbit::Cmd_Dr_Id_Click() {
    if (!m_run.examination()) return;
    QListWidgetItem* chosen = Lst_Exam->currentItem();
    const QString identified = chosen && chosen->isSelected() ? chosen->text() : QString();
    const RabMode mode = m_run.Rab_Mode();
    const QString what = identified.trimmed().isEmpty() ? QStringLiteral("без ответа")
                                                        : QStringLiteral("как «%1»").arg(identified.trimmed());
    if (!confirmed(QStringLiteral("Определить неизвестное %1? Изменить ответ будет нельзя.").arg(what))) return;
    if (!m_model.identify(identified)) {
        Lab_DName->setText(m_model.UnknownLabel());
        showExamBanner();
        Lst_Exam->clearSelection();
        Lst_Exam->setCurrentItem(nullptr);
        return;
    }
    if (mode == RabMode::FirstExamination)
        moveOnFromFirstExamination();
    else
        openResults();
}

// --- Tools.

void Frm_Rabbit::pickTool(RabTool tool, const QString& icon) {
    if (draggingTool()) return;
    m_model.pickTool(tool);
    m_dragTarget = Target::None;
    m_tool.pick(icon);
}

void Frm_Rabbit::Image_Torche_Click() {
    pickTool(RabTool::Torch, QStringLiteral("torche.ico"));
}
void Frm_Rabbit::Image_Cotton_Click() {
    pickTool(RabTool::Cotton, QStringLiteral("cotton.ico"));
}

// The icon of the tool picked, as it is carried over the right side of the head or elsewhere.
QString Frm_Rabbit::toolIcon(bool overTheHead) const {
    if (m_model.Tool() == RabTool::Cotton)
        return overTheHead ? QStringLiteral("cotton1.ico") : QStringLiteral("cotton.ico");
    return overTheHead ? QStringLiteral("torche1.ico") : QStringLiteral("torche.ico");
}

Frm_Rabbit::Target Frm_Rabbit::targetAt(QPoint windowPos) const {
    auto inside = [this, windowPos](const QWidget* w) {
        return w->isVisibleTo(this) && QRect(w->mapTo(this, QPoint(0, 0)), w->size()).contains(windowPos);
    };
    const EyePanel* left = eye(EyeSide::Left).panel;
    const EyePanel* right = eye(EyeSide::Right).panel;
    // The eye targets lie on the head pictures and come first.
    if (inside(right->target())) return Target::RightEye;
    if (inside(left->target())) return Target::LeftEye;
    if (inside(right->head())) return Target::RightHead;
    return Target::None;
}

void Frm_Rabbit::dragOver(Target target, DragState state) {
    switch (target) {
        case Target::LeftEye:
            Image_LEye_DragOver(state);
            break;
        case Target::RightEye:
            Image_REye_DragOver(state);
            break;
        case Target::RightHead:
            Pic_Rrab_DragOver(state);
            break;
        case Target::None:
            break;
    }
}

void Frm_Rabbit::dragToolTo(QPoint windowPos) {
    if (!draggingTool()) return;
    const Target now = targetAt(windowPos);
    if (now == m_dragTarget) {
        dragOver(now, Over);
        return;
    }
    const Target before = m_dragTarget;
    m_dragTarget = now;
    dragOver(before, Leaving);
    // The right eye lies on the right head: a pointer that jumps between the eye and
    // anywhere off the head still crosses the head, so the icon always tells where it is.
    if ((before == Target::RightEye) != (now == Target::RightEye) && before != Target::RightHead &&
        now != Target::RightHead) {
        dragOver(Target::RightHead, Entering);
        dragOver(Target::RightHead, Leaving);
    }
    dragOver(now, Entering);
}

void Frm_Rabbit::testWithTool(EyeSide side) {
    if (m_model.Tool() == RabTool::Cotton) {
        if (m_model.cornealReflexPresent(side)) blink(side);
        return;
    }
    m_model.torchOn(side);
    showEye(side);
}

void Frm_Rabbit::Image_LEye_DragOver(DragState state) {
    if (state == Entering) {
        testWithTool(EyeSide::Left);
    } else if (state == Leaving && m_model.Tool() == RabTool::Torch) {
        m_model.torchOff(EyeSide::Left);
        showEye(EyeSide::Left);
    }
}

void Frm_Rabbit::Image_REye_DragOver(DragState state) {
    if (state == Entering) {
        m_tool.setIcon(toolIcon(true));
        testWithTool(EyeSide::Right);
    } else if (state == Leaving && m_model.Tool() == RabTool::Torch) {
        m_model.torchOff(EyeSide::Right);
        showEye(EyeSide::Right);
    }
}

void Frm_Rabbit::Pic_Rrab_DragOver(DragState state) {
    if (state == Entering)
        m_tool.setIcon(toolIcon(true));
    else if (state == Leaving)
        m_tool.setIcon(toolIcon(false));
}

// --- Rulers.

void Frm_Rabbit::Pic_LEye_DragOver(QWidget* source, double x, double, DragState) {
    EyePanel* panel = eye(EyeSide::Left).panel;
    if (source != panel->ruler()) return;
    panel->placeRuler(static_cast<int>(std::lround(x)));
}

void Frm_Rabbit::Pic_Reye_DragOver(QWidget* source, double x, double, DragState) {
    EyePanel* panel = eye(EyeSide::Right).panel;
    if (source != panel->ruler()) return;
    panel->placeRuler(static_cast<int>(std::lround(std::min(x, double(rightRulerStop)))));
}

// The hint follows the student to the substance.
bool Frm_Rabbit::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == Combo_Drug && type == QEvent::FocusIn) substanceHint();
    if (watched == Cmd_Instill && type == QEvent::Enter) substanceHint();
    return QWidget::eventFilter(watched, event);
}
