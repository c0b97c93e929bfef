#include "frm_rabbit.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "clickable_label.h"
#include "data_files.h"
#include "named_widgets.h"
#include "pictures.h"
#include "program_context.h"
#include "rabbit_drugs.h"
#include "rabbit_run_state.h"
#include "rabbit_widgets.h"
#include "twips.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

const QString tutorialCaption = QStringLiteral(" Воздействие веществ на глаз кролика - Режим обучения ");
const QString examCaption = QStringLiteral(" Effects of Drugs on the Rabbit Eye- Examination Mode ");
const QString reflexTip = QStringLiteral("Нажмите и используйте для проверки рефлексов");
const QString rulerTip = QStringLiteral("Переместите для измерения размеров зрачка. 1 деление = 1 мм");

// Pictures the screen cannot do without, by the names it loads them by.
const QStringList pictureFiles = {
    QStringLiteral("Leye1.bmp"),  QStringLiteral("leye2.bmp"),   QStringLiteral("LRab1.bmp"),
    QStringLiteral("LRab2.bmp"),  QStringLiteral("Reye1.bmp"),   QStringLiteral("Reye2.bmp"),
    QStringLiteral("RRab1.bmp"),  QStringLiteral("Rrab2.bmp"),   QStringLiteral("filler.ico"),
    QStringLiteral("torche.ico"), QStringLiteral("torche1.ico"), QStringLiteral("cotton.ico"),
    QStringLiteral("cotton1.ico"), QStringLiteral("rab_rabbit.png"), QStringLiteral("rab_testtube.png"),
    QStringLiteral("rab_ruler.png")};

// Where the pointer of each drag icon is: the lit end of the torch, the tip of the swab.
QPoint hotSpot(const QString& icon) { return icon.endsWith(QStringLiteral("1.ico")) ? QPoint(29, 2) : QPoint(2, 2); }

constexpr int rulerTop = 60;           // twips of the eye view; a ruler moves sideways only
constexpr int rightRulerStop = 2700;   // the right ruler goes no further right

// A label placed in twips on an eye panel.
QLabel* placedLabel(const char* name, const QString& text, QWidget* parent, int left, int top, int width = 0) {
    QLabel* l = label(name, text, parent);
    l->move(twips::point(left, top));
    if (width > 0) {
        l->setWordWrap(true);
        l->setFixedWidth(twips::toPixels(width));
    }
    l->adjustSize();
    return l;
}

int eyeIndex(EyeSide side) { return side == EyeSide::Left ? 0 : 1; }

}  // namespace

Frm_Rabbit::Frm_Rabbit(ProgramContext& ctx, RabbitRunState& run)
    : m_ctx(ctx), m_run(run), m_model(run, ctx.random) {
    setWindowTitle(QStringLiteral("Воздействие веществ на глаз кролика - Режим обучения"));
    RemoveSysMenuItems(this);
    discardWindowKeys(this);
    // The dragged tool follows the pointer without a button held down.
    setMouseTracking(true);
}

Frm_Rabbit::~Frm_Rabbit() {
    if (m_toolDrag) QGuiApplication::restoreOverrideCursor();
    watchApplication(false);
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
    m_ctx.fail(bad.size() == 1
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
    if (!readRabbitDrugs(&rows, &error)) {
        m_ctx.fail(error);
        return false;
    }
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
    for (EyeSide side : {EyeSide::Left, EyeSide::Right}) {
        EyeControls& c = controls(side);
        const bool left = side == EyeSide::Left;
        c.view->setPixmap(m_pictures.value(left ? QStringLiteral("Leye1.bmp") : QStringLiteral("Reye1.bmp")));
        c.head->setPixmap(m_pictures.value(left ? QStringLiteral("LRab1.bmp") : QStringLiteral("RRab1.bmp")));
    }
    // As wide as the two eye panels, whichever panels the bands show.
    const QMargins margins = layout()->contentsMargins();
    setFixedSize(margins.left() + m_eyesRow->sizeHint().width() + margins.right(), sizeHint().height());
    return true;
}

QGroupBox* Frm_Rabbit::buildEyePanel(EyeSide side) {
    const bool left = side == EyeSide::Left;
    EyeControls& c = controls(side);
    auto* panel = new QGroupBox;
    panel->setObjectName(left ? QStringLiteral("Frame_PicLeft") : QStringLiteral("Frame_Pic_right"));
    panel->setFixedSize(twips::size(5580, 4800));
    QLabel* caption = label(left ? "Label1" : "Lab_PicRight", left ? QStringLiteral("Левый глаз") : QStringLiteral("Правый глаз"), panel);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->move(twips::point(left ? 180 : 2280, 30));
    caption->adjustSize();

    // The magnified eye with its zoom frame, pupil and ruler.
    c.view = named(new QLabel(panel), left ? "Pic_LEye" : "Pic_Reye");
    c.view->setGeometry(left ? twips::rect(180, 360, 2950, 2895) : twips::rect(2280, 360, 3015, 2895));
    c.view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.view->setAutoFillBackground(true);
    c.zoom = left ? new RabShape(QStringLiteral("Shape_LEZoom"), QColor(255, 0, 0), QColor(), c.view)
                  : new RabShape(QStringLiteral("Shape_REzoom"), QColor(0, 0, 255), QColor(), c.view);
    if (left)
        c.zoom->placeTwips(600, 240, 2220, 2355);
    else
        c.zoom->placeTwips(120, 240, 2280, 2355);
    c.pupil = new PupilShape(left ? QStringLiteral("Shape_LEye") : QStringLiteral("Shape_REye"), c.view);
    c.ruler = named(new QLabel(c.view), left ? "Picture_ScaleL" : "Picture_Scale_R");
    c.ruler->setPixmap(m_pictures.value(QStringLiteral("rab_ruler.png")));
    c.ruler->setFixedSize(twips::size(350, 2775));
    c.ruler->setToolTip(rulerTip);
    c.ruler->setCursor(Qt::SizeHorCursor);
    c.ruler->installEventFilter(this);

    // That side of the rabbit's head, with the dropper, the eye target and its marker.
    c.head = named(new QLabel(panel), left ? "Pic_LRab" : "Pic_Rrab");
    c.head->setGeometry(left ? twips::rect(3240, 240, 2175, 3015) : twips::rect(120, 240, 2055, 3015));
    c.head->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.marker = left ? new RabShape(QStringLiteral("Shape_Rzoom"), QColor(255, 0, 0), QColor(), c.head)
                    : new RabShape(QStringLiteral("Shape_Zooml"), QColor(0, 0, 192), QColor(), c.head);
    if (left)
        c.marker->placeTwips(240, 1680, 495, 615);
    else
        c.marker->placeTwips(1440, 1680, 525, 615);
    c.dropper = named(new QLabel(c.head), left ? "Image_LD" : "Image_Rd");
    c.dropper->move(left ? twips::point(480, 1440) : twips::point(1540, 1440));
    c.dropper->resize(m_pictures.value(QStringLiteral("filler.ico")).size());
    c.dropper->setAttribute(Qt::WA_TransparentForMouseEvents);
    c.target = named(new QWidget(c.head), left ? "Image_LEye" : "Image_REye");
    c.target->setGeometry(left ? twips::rect(240, 1680, 615, 615) : twips::rect(1320, 1800, 615, 495));

    // What acts on the eye.
    const int textLeft = left ? 180 : 120;
    QLabel* acting = placedLabel(left ? "Lab_LDrugt" : "Lab_rDrugt", QStringLiteral("Действует вещество:"), panel,
                                 textLeft, 3330);
    c.drugName = label(left ? "Lab_LDrug" : "Lab_rDrug", QStringLiteral("Нет"), panel);
    c.drugName->setGeometry(acting->geometry().right() + 6, acting->y(), twips::toPixels(5400) - acting->geometry().right(),
                            acting->height());
    QFont strong = c.drugName->font();
    strong.setBold(true);
    c.drugName->setFont(strong);
    c.drugName->setStyleSheet(QStringLiteral("color: #00007f;"));

    // The tension gauge: box, bar, the mark of normal and the three words under it.
    const int dx = left ? 0 : 120, dy = left ? 0 : 120;
    placedLabel(left ? "Lab_LIntra" : "Lab_RINtra", QStringLiteral("Внутриглазное давление:"), panel, textLeft,
                3840 + dy, 2160 + dx - textLeft);
    auto* box = new RabShape(left ? QStringLiteral("Shape_LBox") : QStringLiteral("Shape_RBox"), Qt::black, Qt::white, panel);
    box->placeTwips(2400 + dx, 3960 + dy, 1920, 240);
    c.tension = left ? new RabShape(QStringLiteral("Shape_LTension"), Qt::black, QColor(128, 0, 128), panel)
                     : new RabShape(QStringLiteral("Shape_RTension"), QColor(), QColor(128, 0, 128), panel);
    auto* mark = new RabShape(left ? QStringLiteral("Line_LNormal") : QStringLiteral("Line_RNormal"), QColor(), Qt::black, panel);
    mark->setGeometry(twips::toPixels(3360 + dx), twips::toPixels(3840 + dy), 1, twips::toPixels(480));
    const std::tuple<const char*, const char*, QString, QString, int> words[] = {
        {"Lab_LLow", "Lab_RLow", QStringLiteral("НИЗ"), QStringLiteral("Low"), 2160},
        {"Lab_LNorm", "Lab_RNorm", QStringLiteral("НОРМ"), QStringLiteral("Normal"), 3000},
        {"Lab_LHigh", "Lab_RHigh", QStringLiteral("ВЫС"), QStringLiteral("High"), 4080}};
    for (const auto& [leftName, rightName, text, tip, x] : words) {
        QLabel* w = placedLabel(left ? leftName : rightName, text, panel, x + dx, 4320 + dy);
        w->setToolTip(tip);
        QFont small = w->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        w->setFont(small);
        w->adjustSize();
    }

    c.instill = new QTimer(this);
    c.instill->setObjectName(left ? QStringLiteral("Timer_L_Instill") : QStringLiteral("Timer_R_Instill"));
    connect(c.instill, &QTimer::timeout, this, left ? &Frm_Rabbit::Timer_L_Instill_Timer : &Frm_Rabbit::Timer_R_Instill_Timer);
    c.reopen = new QTimer(this);
    c.reopen->setObjectName(left ? QStringLiteral("Timer_LEye") : QStringLiteral("Timer_REye"));
    c.reopen->setInterval(400);
    connect(c.reopen, &QTimer::timeout, this, left ? &Frm_Rabbit::Timer_LEye_Timer : &Frm_Rabbit::Timer_REye_Timer);
    return panel;
}

void Frm_Rabbit::buildControls() {
    // Top band: instructions, help (or the identification in the examinations), the rabbit.
    auto* frameTitle = named(new QGroupBox(QStringLiteral("Указания")), "Frame_Title");
    LAb_Title = label("LAb_Title", QStringLiteral("Капайте вещества по очереди и наблюдайте эффект, оказываемый на глаз "
                                                  "кролика. Занесите данные в таблицу и сделайте выводы."));
    LAb_Title->setWordWrap(true);
    LAb_Title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    (new QVBoxLayout(frameTitle))->addWidget(LAb_Title);
    frameTitle->setFixedWidth(290);

    Frame_help = named(new QGroupBox(QStringLiteral("Справка")), "Frame_help");
    auto* help = button("cmd_help", QStringLiteral("Инструкция"));
    Lbl_step = label("Lbl_step", QStringLiteral("Выберите вещество и закапайте"));
    Lbl_step->setWordWrap(true);
    Lbl_step->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    auto* helpLayout = new QVBoxLayout(Frame_help);
    helpLayout->addWidget(help, 0, Qt::AlignLeft);
    helpLayout->addWidget(Lbl_step, 1);

    Frame_Exam = named(new QGroupBox(QStringLiteral("Определите неизвестное вещество")), "Frame_Exam");
    Lst_Exam = named(new QListWidget, "Lst_Exam");
    Cmd_Dr_Id = button("Cmd_Dr_Id", QStringLiteral("Определить"));
    auto* examLayout = new QHBoxLayout(Frame_Exam);
    examLayout->addWidget(Lst_Exam, 1);
    examLayout->addWidget(Cmd_Dr_Id, 0, Qt::AlignBottom);
    Frame_Exam->hide();

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

    auto* top = new QHBoxLayout;
    top->addWidget(frameTitle);
    top->addWidget(Frame_help, 1);
    top->addWidget(Frame_Exam, 1);
    top->addLayout(rabbit);

    // The two eyes.
    m_eyesRow = new QHBoxLayout;
    m_eyesRow->addWidget(buildEyePanel(EyeSide::Left));
    m_eyesRow->addWidget(buildEyePanel(EyeSide::Right));

    // Bottom band: the substance (or the eye choice in its place), the tools, the commands.
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

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame_Drug, 1);
    bottom->addWidget(Frame_Eye_Sel, 1);
    bottom->addWidget(tools);
    bottom->addWidget(commands);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
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

    connect(help, &QPushButton::clicked, this, &Frm_Rabbit::cmd_help_Click);
    connect(Cmd_Dr_Id, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Dr_Id_Click);
    connect(Pic_Rabbit, &ClickableLabel::clicked, this, &Frm_Rabbit::Pic_Rabbit_Click);
    connect(Lab_Rab_No, &ClickableLabel::clicked, this, &Frm_Rabbit::Lab_Rab_No_Click);
    connect(Combo_Drug, &QComboBox::currentTextChanged, Lab_DName, &QLabel::setText);
    connect(Combo_Drug, &QComboBox::editTextChanged, Lab_DName, &QLabel::setText);
    connect(Cmd_Instill, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Instill_Click);
    connect(Cmd_Saline, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Saline_Click);
    connect(leftEye, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_LEye_Click);
    connect(rightEye, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Reye_Click);
    connect(cancel, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Can_Click);
    connect(Image_Cotton, &ClickableLabel::clicked, this, &Frm_Rabbit::Image_Cotton_Click);
    connect(Image_Torche, &ClickableLabel::clicked, this, &Frm_Rabbit::Image_Torche_Click);
    connect(Cmd_New, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_New_Click);
    connect(Cmd_Next, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Next_Click);
    connect(Cmd_Table, &QPushButton::clicked, this, &Frm_Rabbit::Cmd_Table_Click);
    connect(cmdreturn, &QPushButton::clicked, this, &Frm_Rabbit::cmdreturn_Click);
}

bool Frm_Rabbit::examination() const { return m_run.examination(); }

// Set-up: when the screen loads and at each new rabbit.
void Frm_Rabbit::setUp() {
    Lbl_step->setText(QStringLiteral("Измерьте зрачок и проверьте рефлексы"));
    setWindowTitle(tutorialCaption);
    if (examination()) {
        setWindowTitle(examCaption);
        Frame_help->hide();
        Frame_Exam->show();
        Frame_Exam->setEnabled(true);
        LAb_Title->setText(m_run.Rab_Mode() == RabMode::FirstExamination
                               ? QStringLiteral("Examination 1 : You are given a set of unknown drugs. Test them on the "
                                                "rabbit eye and identify.")
                               : QStringLiteral("Examination 2 : You are given an unknown drug. Design an experiment to "
                                                "find out whether the drug is a miotic or mydriatic."));
        Cmd_Next->setEnabled(true);
        Cmd_Table->setEnabled(false);
        // The second examination is left only through its results.
        cmdreturn->setEnabled(m_run.Rab_Mode() == RabMode::FirstExamination);
    }
    m_model.startRabbit();
    placeRuler(EyeSide::Right, twips::fromPixels(controls(EyeSide::Right).zoom->width()) + 300);
    placeRuler(EyeSide::Left, 0);
    showDrops(EyeSide::Left);
    showDrops(EyeSide::Right);
}

void Frm_Rabbit::showEye(EyeSide side) {
    EyeControls& c = controls(side);
    const EyeState& e = m_model.eye(side);
    c.pupil->setBox(e.Pupil);
    c.tension->placeTwips(side == EyeSide::Left ? 2430 : 2535, side == EyeSide::Left ? 3990 : 4095, e.Tension,
                          side == EyeSide::Left ? 195 : 210);
    c.drugName->setText(e.Label);
}

void Frm_Rabbit::placeRuler(EyeSide side, int x) {
    m_rulerX[eyeIndex(side)] = x;
    controls(side).ruler->move(twips::point(x, rulerTop));
}

void Frm_Rabbit::substanceHint() {
    const bool bothDone = m_model.eye(EyeSide::Left).Done && m_model.eye(EyeSide::Right).Done;
    Lbl_step->setText(bothDone ? QStringLiteral("Выберите нового кролика") : QStringLiteral("Выберите вещество для закапывания"));
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
        if (m_run.Rab_Mode() == RabMode::Tutorial) Lbl_step->setText(QStringLiteral("Измерьте зрачок и проверьте рефлексы"));
    } else if (!done.refusal.isEmpty()) {
        m_ctx.message({done.refusal, {}, MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
    }
    showSubstancePanel();
}

void Frm_Rabbit::Cmd_LEye_Click() { instilInto(EyeSide::Left); }
void Frm_Rabbit::Cmd_Reye_Click() { instilInto(EyeSide::Right); }

// "Отмена" cancels a saline request too: the eye chosen next gets what the student picks then.
void Frm_Rabbit::Cmd_Can_Click() {
    m_model.cancelSaline();
    showSubstancePanel();
}

// The drops as the model has them: the dropper over the eye, the pupil and the tension,
// and the instillation clock set to the next stage.
void Frm_Rabbit::showDrops(EyeSide side) {
    EyeControls& c = controls(side);
    if (m_model.dropperShown(side))
        c.dropper->setPixmap(m_pictures.value(QStringLiteral("filler.ico")));
    else
        c.dropper->clear();
    showEye(side);
    const int next = m_model.msToNextStage(side);
    if (next > 0)
        c.instill->start(next);
    else
        c.instill->stop();
    Cmd_New->setEnabled(m_model.newRabbitOffered());
}

// The instillation clock has run its interval: the drops go on by that much.
void Frm_Rabbit::instillationStep(EyeSide side) {
    m_model.advance(side, controls(side).instill->interval());
    showDrops(side);
}

void Frm_Rabbit::Timer_L_Instill_Timer() { instillationStep(EyeSide::Left); }
void Frm_Rabbit::Timer_R_Instill_Timer() { instillationStep(EyeSide::Right); }

void Frm_Rabbit::reopen(EyeSide side) {
    EyeControls& c = controls(side);
    const bool left = side == EyeSide::Left;
    c.view->setPixmap(m_pictures.value(left ? QStringLiteral("Leye1.bmp") : QStringLiteral("Reye1.bmp")));
    c.head->setPixmap(m_pictures.value(left ? QStringLiteral("LRab1.bmp") : QStringLiteral("RRab1.bmp")));
    c.reopen->stop();
    c.pupil->show();
}

void Frm_Rabbit::Timer_LEye_Timer() { reopen(EyeSide::Left); }
void Frm_Rabbit::Timer_REye_Timer() { reopen(EyeSide::Right); }

void Frm_Rabbit::blink(EyeSide side) {
    EyeControls& c = controls(side);
    const bool left = side == EyeSide::Left;
    c.pupil->hide();
    c.view->setPixmap(m_pictures.value(left ? QStringLiteral("leye2.bmp") : QStringLiteral("Reye2.bmp")));
    c.head->setPixmap(m_pictures.value(left ? QStringLiteral("LRab2.bmp") : QStringLiteral("Rrab2.bmp")));
    c.reopen->start();
}

void Frm_Rabbit::newRabbit(bool always) {
    if (!m_model.takeRabbitNumber() && !always) {
        m_ctx.message({QStringLiteral("Это последний кролик (%1). Чтобы продолжить опыт, вернитесь в главное меню и "
                                      "начните его заново.")
                           .arg(RabbitModel::lastRabbit),
                       {}, MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok});
        return;
    }
    Lab_Rab_No->setText(QStringLiteral("Кролик %1").arg(m_model.RabbitNo()));
    for (EyeSide side : {EyeSide::Left, EyeSide::Right}) {
        EyeControls& c = controls(side);
        c.pupil->hide();
        c.view->clear();
        c.head->clear();
        c.reopen->setInterval(100);
        c.reopen->start();
    }
    setUp();
}

void Frm_Rabbit::Cmd_New_Click() { newRabbit(false); }
void Frm_Rabbit::Pic_Rabbit_Click() { newRabbit(false); }
void Frm_Rabbit::Lab_Rab_No_Click() { newRabbit(false); }

void Frm_Rabbit::moveOnFromFirstExamination() {
    m_model.enterSecondExamination();
    Frame_Exam->setTitle(QStringLiteral("Миотик или мидриатик?"));
    Lst_Exam->clear();
    Lst_Exam->addItems(RabbitModel::secondExaminationAnswers());
    Lab_DName->setText(m_model.UnknownLabel());
    newRabbit(true);
}

void Frm_Rabbit::openResults() {
    if (m_run.Rab_Mode() == RabMode::SecondExamination) m_model.closeSecondExamination();
    m_ctx.navigator.open(QStringLiteral("Frm_Rab_Table"));
    m_ctx.navigator.park(this);
}

void Frm_Rabbit::Cmd_Next_Click() {
    if (m_run.Rab_Mode() == RabMode::FirstExamination) {
        moveOnFromFirstExamination();
        return;
    }
    openResults();
}

void Frm_Rabbit::Cmd_Table_Click() {
    m_run.askSampleTable();
    m_ctx.navigator.open(QStringLiteral("Frm_Rab_Table"));
    m_ctx.navigator.park(this);
}

void Frm_Rabbit::cmdreturn_Click() {
    if (m_run.Rab_Mode() == RabMode::SecondExamination) return;
    m_ctx.navigator.open(QStringLiteral("Frm_Rab_main"));
    close();
}

void Frm_Rabbit::cmd_help_Click() { m_ctx.help.showContents(this, QStringLiteral("rabbit.hlp")); }

void Frm_Rabbit::Cmd_Dr_Id_Click() {
    if (!examination()) return;
    QListWidgetItem* chosen = Lst_Exam->currentItem();
    const QString identified = chosen && chosen->isSelected() ? chosen->text() : QString();
    const RabMode mode = m_run.Rab_Mode();
    if (!m_model.identify(identified)) {
        Lab_DName->setText(m_model.UnknownLabel());
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

void Frm_Rabbit::setDragIcon(const QString& file) {
    if (!m_toolDrag || file == m_dragIcon) return;
    m_dragIcon = file;
    QGuiApplication::changeOverrideCursor(toolCursor(file));
}

QCursor Frm_Rabbit::toolCursor(const QString& file) const {
    const QPoint hot = hotSpot(file);
    return QCursor(m_pictures.value(file), hot.x(), hot.y());
}

void Frm_Rabbit::watchApplication(bool on) {
    if (on == m_watching) return;
    m_watching = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void Frm_Rabbit::pickTool(RabTool tool, const QString& icon) {
    if (m_toolDrag) return;
    m_model.pickTool(tool);
    m_toolDrag = true;
    m_dragTarget = Target::None;
    m_dragIcon = icon;
    QGuiApplication::setOverrideCursor(toolCursor(icon));
    watchApplication(true);
}

void Frm_Rabbit::Image_Torche_Click() { pickTool(RabTool::Torch, QStringLiteral("torche.ico")); }
void Frm_Rabbit::Image_Cotton_Click() { pickTool(RabTool::Cotton, QStringLiteral("cotton.ico")); }

Frm_Rabbit::Target Frm_Rabbit::targetAt(QPoint windowPos) const {
    auto inside = [this, windowPos](const QWidget* w) {
        return w->isVisibleTo(this) && QRect(w->mapTo(this, QPoint(0, 0)), w->size()).contains(windowPos);
    };
    // The eye targets lie on the head pictures and come first.
    if (inside(m_eye[1].target)) return Target::RightEye;
    if (inside(m_eye[0].target)) return Target::LeftEye;
    if (inside(m_eye[1].head)) return Target::RightHead;
    return Target::None;
}

void Frm_Rabbit::dragOver(Target target, DragState state) {
    switch (target) {
    case Target::LeftEye: Image_LEye_DragOver(state); break;
    case Target::RightEye: Image_REye_DragOver(state); break;
    case Target::RightHead: Pic_Rrab_DragOver(state); break;
    case Target::None: break;
    }
}

void Frm_Rabbit::dragToolTo(QPoint windowPos) {
    if (!m_toolDrag) return;
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

void Frm_Rabbit::endToolDrag() {
    if (!m_toolDrag) return;
    // Putting the tool down takes it off the eye: a torch no longer shines into it.
    const Target last = m_dragTarget;
    m_dragTarget = Target::None;
    dragOver(last, Leaving);
    m_toolDrag = false;
    QGuiApplication::restoreOverrideCursor();
    if (!m_swallowRelease) watchApplication(false);
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
        setDragIcon(m_model.Tool() == RabTool::Cotton ? QStringLiteral("cotton1.ico") : QStringLiteral("torche1.ico"));
        testWithTool(EyeSide::Right);
    } else if (state == Leaving && m_model.Tool() == RabTool::Torch) {
        m_model.torchOff(EyeSide::Right);
        showEye(EyeSide::Right);
    }
}

void Frm_Rabbit::Pic_Rrab_DragOver(DragState state) {
    if (state == Entering)
        setDragIcon(m_model.Tool() == RabTool::Cotton ? QStringLiteral("cotton1.ico") : QStringLiteral("torche1.ico"));
    else if (state == Leaving)
        setDragIcon(m_model.Tool() == RabTool::Cotton ? QStringLiteral("cotton.ico") : QStringLiteral("torche.ico"));
}

// --- Rulers.

void Frm_Rabbit::Pic_LEye_DragOver(QWidget* source, double x, double, DragState) {
    if (source != controls(EyeSide::Left).ruler) return;
    placeRuler(EyeSide::Left, static_cast<int>(std::lround(x)));
}

void Frm_Rabbit::Pic_Reye_DragOver(QWidget* source, double x, double, DragState) {
    if (source != controls(EyeSide::Right).ruler) return;
    placeRuler(EyeSide::Right, static_cast<int>(std::lround(std::min(x, double(rightRulerStop)))));
}

void Frm_Rabbit::rulerDragTo(QPoint globalPos) {
    const EyeSide side = m_rulerDrag == controls(EyeSide::Left).ruler ? EyeSide::Left : EyeSide::Right;
    QLabel* view = controls(side).view;
    const QPoint p = view->mapFromGlobal(globalPos);
    const bool inside = view->rect().contains(p);
    const DragState state = !inside ? Leaving : m_rulerInside ? Over : Entering;
    m_rulerInside = inside;
    // Out of its eye view the ruler stays where it was last seen over the eye.
    if (state == Leaving) return;
    const double x = twips::fromPixels(p.x()), y = twips::fromPixels(p.y());
    if (side == EyeSide::Left)
        Pic_LEye_DragOver(m_rulerDrag, x, y, state);
    else
        Pic_Reye_DragOver(m_rulerDrag, x, y, state);
}

bool Frm_Rabbit::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (m_watching) {
        // While a tool is dragged, the pointer carries it and the next click puts it down.
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool here = widget && widget->window() == this;
        if (type == QEvent::MouseMove && m_toolDrag) {
            if (here) dragToolTo(mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
            return false;
        }
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && m_toolDrag) {
            if (here) dragToolTo(mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
            m_swallowRelease = true;
            endToolDrag();
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_swallowRelease) {
            m_swallowRelease = false;
            watchApplication(false);
            return true;
        }
    }
    // A ruler follows the pointer while the button is held on it.
    auto* ruler = qobject_cast<QLabel*>(watched);
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
    if (mouse && ruler && (ruler == m_eye[0].ruler || ruler == m_eye[1].ruler)) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && e->button() == Qt::LeftButton) {
            m_rulerDrag = ruler;
            m_rulerInside = false;
            return true;
        }
        if (type == QEvent::MouseMove && m_rulerDrag == ruler) {
            rulerDragTo(e->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_rulerDrag == ruler) {
            m_rulerDrag = nullptr;
            return true;
        }
    }
    if (watched == Combo_Drug && type == QEvent::FocusIn) substanceHint();
    if (watched == Cmd_Instill && type == QEvent::Enter) substanceHint();
    return QWidget::eventFilter(watched, event);
}
