#include "frm_oesophagus.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "data_files.h"
#include "drug_names.h"
#include "exam_record.h"
#include "help.h"
#include "named_widgets.h"
#include "oeso_drugs.h"
#include "oeso_run_state.h"
#include "pictures.h"
#include "program_context.h"
#include "twips.h"
#include "window_helpers.h"

namespace {

using namespace named_widgets;

const QString tutorialCaption =
    QStringLiteral("Влияние веществ на подвижность ресничек в пищеводе лягушки - Режим обучения ");
const QString examCaption =
    QStringLiteral("Влияние веществ на подвижность ресничек в пищеводе лягушки - Режим проверки ");
const QString helpFile = QStringLiteral("oesopha.hlp");
const QString startCaption = QStringLiteral("СТАРТ");
const QString stopCaption = QStringLiteral("СТОП");

// Where the pictures lie on the set-up, in twips (the set-up is 3600 x 2940).
const QRect setupRect(0, 0, 3600, 2940);
const QRect seedBoxRect(150, 1995, 960, 720);
const QRect dropSpotRect(2010, 1020, 480, 390);
const QRect dropperRect(2070, 195, 360, 960);
// The magnified view, 3390 x 3540 twips; the seed moves inside it.
const QRect zoomRect(0, 0, 3390, 3540);

QLabel* picture(const char* name, const QString& file, QWidget* parent, const QRect& twipsRect) {
    auto* l = named(new QLabel(parent), QString::fromLatin1(name));
    const QRect r = twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height());
    l->setGeometry(r);
    const QPixmap pixmap = dataPicture(file);
    if (!pixmap.isNull())
        l->setPixmap(
            pixmap.scaled(r.size() * pixmap.devicePixelRatio(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return l;
}

// The seed in the magnified view: a small yellow grain.
class SeedShape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x7a, 0x5a, 0x00), 0.8));
        p.setBrush(QColor(0xff, 0xd8, 0x20));
        p.drawEllipse(QRectF(rect()).adjusted(0.4, 0.4, -0.4, -0.4));
    }
};

}  // namespace

Frm_Oesophagus::Frm_Oesophagus(ProgramContext& ctx, OesoRunState& run)
    : m_ctx(ctx), m_run(run), m_model(ctx.random, run) {
    RemoveSysMenuItems(this);
    discardWindowKeys(this);
    buildControls();
    setFixedSize(sizeHint());
}

QWidget* Frm_Oesophagus::buildSetup() {
    auto* frame = named(new QGroupBox(QStringLiteral("Установка")), QStringLiteral("Frame_pic"));
    Pic_Oeso = named(new QLabel, QStringLiteral("Pic_Oeso"));
    Pic_Oeso->setFixedSize(twips::size(setupRect.width(), setupRect.height()));
    Pic_Oeso->setPixmap(dataPicture(QStringLiteral("oeso_setup.png")));
    Img_Seeds = picture("Img_Seeds", QStringLiteral("oeso_seedbox.png"), Pic_Oeso, seedBoxRect);
    Img_Seeds->setToolTip(QStringLiteral("Нажмите чтобы взять зернышко"));
    Img_Seeds->setCursor(Qt::OpenHandCursor);
    Img_Seeds->installEventFilter(this);
    Img_Seed_Drop = picture("Img_Seed_Drop", QStringLiteral("oeso_drop.png"), Pic_Oeso, dropSpotRect);
    Image_filler = picture("Image_filler", QStringLiteral("oeso_dropper.png"), Pic_Oeso, dropperRect);
    Image_filler->hide();
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(Pic_Oeso, 0, Qt::AlignCenter);
    return frame;
}

QWidget* Frm_Oesophagus::buildZoom() {
    auto* frame = named(new QGroupBox(QStringLiteral("Пищевод под лупой")), QStringLiteral("Fra_Zoom"));
    frogno = label("frogno", QStringLiteral("Лягушка №"));
    QFont bold = frogno->font();
    bold.setBold(true);
    frogno->setFont(bold);
    Pic_Zoomed = named(new QLabel, QStringLiteral("Pic_Zoomed"));
    Pic_Zoomed->setFixedSize(twips::size(zoomRect.width(), zoomRect.height()));
    Pic_Zoomed->setPixmap(dataPicture(QStringLiteral("oeso_zoom.png")));
    Shape_Seed = named(new SeedShape(Pic_Zoomed), QStringLiteral("Shape_Seed"));
    Shape_Seed->resize(twips::size(oeso_geometry::seedWidth, oeso_geometry::seedHeight));
    Shape_Seed->hide();

    Lab_drug = label("Lab_drug", QStringLiteral("Текущее вещество:"));
    Lab_DrugGiven = label("Lab_DrugGiven", QStringLiteral("None"));
    Lastdrug_lbl = label("Lastdrug_lbl", QStringLiteral("Предыдущее вещество:"));
    lastdrugname_lbl = label("lastdrugname_lbl", QStringLiteral("None"));
    for (QLabel* l : {Lab_DrugGiven, lastdrugname_lbl}) {
        l->setFont(bold);
        l->setStyleSheet(QStringLiteral("color: #00007f;"));
    }
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(frogno);
    layout->addWidget(Pic_Zoomed, 0, Qt::AlignHCenter);
    for (QLabel* l : {Lab_drug, Lab_DrugGiven, Lastdrug_lbl, lastdrugname_lbl}) layout->addWidget(l);
    layout->addStretch();
    return frame;
}

QWidget* Frm_Oesophagus::buildDrugPanel() {
    Frame_Drug = named(new QGroupBox(QStringLiteral("Выбор вещества и история")), QStringLiteral("Frame_Drug"));
    Combo_Drug = named(new QComboBox, QStringLiteral("Combo_Drug"));
    Combo_Drug->installEventFilter(this);
    auto* tube = picture("Image1", QStringLiteral("oeso_tube.png"), nullptr, QRect(0, 0, 450, 900));
    tube->setFixedSize(tube->size());
    Lab_Texttube = label("Lab_Texttube", QString());
    Lab_Texttube->setWordWrap(true);
    QFont bold = Lab_Texttube->font();
    bold.setBold(true);
    Lab_Texttube->setFont(bold);
    Cmd_Instill = button("Cmd_Instill", QStringLiteral("Закапать"));
    Cmd_Instill->setIcon(QIcon(dataPicture(QStringLiteral("oeso_dropper.png"))));
    drughistory = named(new QListWidget, QStringLiteral("drughistory"));
    drughistory->setToolTip(QStringLiteral("Use scroll bar, if box is full"));
    drughistory->setSelectionMode(QAbstractItemView::NoSelection);
    drughistory->setFocusPolicy(Qt::NoFocus);
    drughistory->setFixedHeight(118);

    auto* layout = new QGridLayout(Frame_Drug);
    layout->addWidget(label("Label1", QStringLiteral("Вещество:")), 0, 0, 1, 2);
    layout->addWidget(Combo_Drug, 1, 0, 1, 2);
    layout->addWidget(tube, 2, 0, 2, 1);
    layout->addWidget(Lab_Texttube, 2, 1);
    layout->addWidget(Cmd_Instill, 3, 1);
    layout->addWidget(label("Label6", QStringLiteral("Использованные вещества:")), 4, 0, 1, 2);
    layout->addWidget(drughistory, 5, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(5, 1);
    return Frame_Drug;
}

QWidget* Frm_Oesophagus::buildExamPanel() {
    Frame_Drug_Select =
        named(new QGroupBox(QStringLiteral(" Select The Unknown Drug ")), QStringLiteral("Frame_Drug_Select"));
    // Who sits the examination, and which unknown is on the frog.
    Lbl_ExamHeading = label("Lbl_ExamHeading", QString());
    Lbl_ExamHeading->setWordWrap(true);
    Lbl_ExamHeading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Lbl_Unknown = label("Lbl_Unknown", QString());
    Lbl_Unknown->setAlignment(Qt::AlignCenter);
    Lbl_Unknown->setStyleSheet(
        QStringLiteral("background: #fff4c2; color: #5a3a00; border: 1px solid #c8a040; padding: 2px; "
                       "font-weight: bold;"));
    Lst_UnknownDrug = named(new QListWidget, QStringLiteral("Lst_UnknownDrug"));
    // The window's size is fixed while this panel is hidden: the list takes what the heading
    // and the banner leave, scrolling when the table has many drugs.
    Lst_UnknownDrug->setMinimumHeight(64);
    Cmd_DrgIdentified = button("Cmd_DrgIdentified", QStringLiteral("&Identified"));
    auto* instil = named(new QGroupBox(QStringLiteral(" Instill ")), QStringLiteral("Fra_Exam_Drug"));
    Cmd_Ringer = button("Cmd_Ringer", QStringLiteral("&Ringer"));
    Cmd_Exam_Unknow = button("Cmd_Exam_Unknow", QStringLiteral("&Unknown Drug"));
    auto* row = new QHBoxLayout(instil);
    row->addWidget(Cmd_Ringer);
    row->addWidget(Cmd_Exam_Unknow);
    auto* layout = new QVBoxLayout(Frame_Drug_Select);
    layout->addWidget(Lbl_ExamHeading);
    layout->addWidget(Lbl_Unknown);
    layout->addWidget(instil);
    layout->addWidget(Lst_UnknownDrug, 1);
    layout->addWidget(Cmd_DrgIdentified);
    Frame_Drug_Select->hide();
    return Frame_Drug_Select;
}

QWidget* Frm_Oesophagus::buildStopwatch() {
    auto* frame = named(new QGroupBox(QStringLiteral("Секундомер")), QStringLiteral("Frame_timer"));
    auto* watch = named(new QLabel, QStringLiteral("Picture1"));
    watch->setPixmap(dataPicture(QStringLiteral("oeso_stopwatch.png")));

    // The display: an inert button that holds hours : minutes : seconds.
    auto* display = button("Cmd_time", QString());
    display->setFocusPolicy(Qt::NoFocus);
    display->setStyleSheet(
        QStringLiteral("#Cmd_time { background: #20302a; border: 2px inset #6b7d74; border-radius: 4px; }"));
    auto* digits = new QHBoxLayout(display);
    digits->setContentsMargins(6, 3, 6, 3);
    digits->setSpacing(0);
    QFont lcd(QStringLiteral("DejaVu Sans Mono"));
    lcd.setPointSize(15);
    lcd.setBold(true);
    const QString digitStyle = QStringLiteral("QLineEdit { background: transparent; color: #8dffb0; border: none; }");
    auto field = [&](const QString& name, const QString& text) {
        auto* f = named(new QLineEdit(text), name);
        f->setReadOnly(true);
        f->setFont(lcd);
        f->setStyleSheet(digitStyle);
        f->setAlignment(Qt::AlignCenter);
        f->setFixedWidth(QFontMetrics(lcd).horizontalAdvance(QStringLiteral("000")));
        // A display, not a box: it takes neither the focus nor the mouse, so nothing in it
        // is ever highlighted.
        f->setFocusPolicy(Qt::NoFocus);
        f->setAttribute(Qt::WA_TransparentForMouseEvents);
        return f;
    };
    // Array controls are named with their index, as in "txt_time(0)".
    for (int i = 0; i < 3; ++i)
        txt_time[size_t(i)] = field(QStringLiteral("txt_time(%1)").arg(i), QStringLiteral("00"));
    auto* colon1 = field(QStringLiteral("txt_timeInd(0)"), QStringLiteral(":"));
    auto* colon2 = field(QStringLiteral("txt_timeInd(1)"), QStringLiteral(":"));
    for (QLineEdit* c : {colon1, colon2})
        c->setFixedWidth(QFontMetrics(lcd).horizontalAdvance(QStringLiteral(":")) + 2);
    digits->addWidget(txt_time[2]);
    digits->addWidget(colon1);
    digits->addWidget(txt_time[1]);
    digits->addWidget(colon2);
    digits->addWidget(txt_time[0]);
    display->setFixedSize(digits->sizeHint());

    Cmd_StartClock = button("Cmd_StartClock", startCaption);
    cmd_Reset = button("cmd_Reset", QStringLiteral("СБРОС"));
    auto* layout = new QGridLayout(frame);
    layout->addWidget(watch, 0, 0, 2, 1);
    layout->addWidget(display, 0, 1, 1, 2, Qt::AlignCenter);
    layout->addWidget(Cmd_StartClock, 1, 1);
    layout->addWidget(cmd_Reset, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    return frame;
}

void Frm_Oesophagus::buildControls() {
    // Task.
    auto* task = named(new QGroupBox(QStringLiteral("Указание")), QStringLiteral("Frame_Title"));
    auto* title =
        label("Lab_title", QStringLiteral("Вводите вещества одно за другим и наблюдайте их влияние на подвижность "
                                          "ресничек пищевода лягушки. Отметьте взаимодействие между веществами."));
    title->setWordWrap(true);
    (new QVBoxLayout(task))->addWidget(title);

    // Help and the hint line.
    auto* helpFrame = named(new QGroupBox(QStringLiteral("Помощь")), QStringLiteral("Frame2"));
    Cmdhelp = button("Cmdhelp", QStringLiteral("Инструкция"));
    lbl_stephelp = label("lbl_stephelp", QStringLiteral("Pick a seed "));
    lbl_stephelp->setWordWrap(true);
    lbl_stephelp->setStyleSheet(QStringLiteral("color: #00007f; font-weight: bold;"));
    lbl_stephelp->setMinimumHeight(2 * lbl_stephelp->fontMetrics().height() + 4);
    auto* helpLayout = new QVBoxLayout(helpFrame);
    helpLayout->addWidget(Cmdhelp, 0, Qt::AlignLeft);
    helpLayout->addWidget(lbl_stephelp);

    // Going on, and leaving.
    Cmd_Next = button("Cmd_Next", QStringLiteral("Далее"), QStringLiteral("Выйти и сделать следующий шаг"));
    Cmd_Table = button("Cmd_Table", QStringLiteral("Таблица"), QStringLiteral("Таблица - образец"));
    Cmd_New = button("Cmd_New", QStringLiteral("Новый"), QStringLiteral("Начать новый эксперимент"));
    auto* exitFrame = named(new QGroupBox(QStringLiteral("Выход")), QStringLiteral("Frame1"));
    Command2 = button("Command2", QStringLiteral("Назад"), QStringLiteral("Возврат в меню"));
    (new QHBoxLayout(exitFrame))->addWidget(Command2);
    auto* steps = new QHBoxLayout;
    for (QPushButton* b : {Cmd_Next, Cmd_Table, Cmd_New}) steps->addWidget(b);

    auto* left = new QVBoxLayout;
    left->addWidget(buildSetup());
    left->addWidget(buildDrugPanel(), 1);
    left->addWidget(buildExamPanel(), 1);
    const int leftWidth = 254;

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildZoom(), 1);

    auto* right = new QVBoxLayout;
    right->addWidget(task);
    right->addWidget(buildStopwatch());
    right->addWidget(helpFrame);
    right->addStretch();
    right->addLayout(steps);
    right->addWidget(exitFrame);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addLayout(right, 1);
    for (QVBoxLayout* column : {left, middle, right}) column->setSpacing(4);
    for (QGroupBox* g : findChildren<QGroupBox*>()) {
        g->layout()->setContentsMargins(6, 2, 6, 4);
        g->layout()->setSpacing(4);
    }
    for (QGroupBox* g :
         {static_cast<QGroupBox*>(Frame_Drug), Frame_Drug_Select, findChild<QGroupBox*>(QStringLiteral("Frame_pic"))})
        g->setFixedWidth(leftWidth);
    task->setFixedWidth(258);

    Timer_Oeso = named(new QTimer(this), QStringLiteral("Timer_Oeso"));
    Timer_Clock = named(new QTimer(this), QStringLiteral("Timer_Clock"));
    Timer_Monitor_Clock = named(new QTimer(this), QStringLiteral("Timer_Monitor_Clock"));
    filler_timer = named(new QTimer(this), QStringLiteral("filler_timer"));
    for (QTimer* t : {Timer_Oeso, Timer_Clock, Timer_Monitor_Clock}) t->setInterval(1000);
    filler_timer->setInterval(2000);
    // Each timer runs only while it has something to do: the seed's while it runs, the
    // stopwatch's while it counts, the examination clock during an examination's run (what
    // it counted before a drop is never used: each drop starts it from 0), the dropper's
    // while the dropper may be showing.

    connect(Combo_Drug, &QComboBox::currentIndexChanged, this, &Frm_Oesophagus::Combo_Drug_Click);
    connect(Cmd_Instill, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_Instill_Click);
    connect(Timer_Oeso, &QTimer::timeout, this, &Frm_Oesophagus::Timer_Oeso_Timer);
    connect(Timer_Clock, &QTimer::timeout, this, &Frm_Oesophagus::Timer_Clock_Timer);
    connect(Timer_Monitor_Clock, &QTimer::timeout, this, &Frm_Oesophagus::Timer_Monitor_Clock_Timer);
    connect(filler_timer, &QTimer::timeout, this, &Frm_Oesophagus::filler_timer_Timer);
    connect(Cmd_StartClock, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_StartClock_Click);
    connect(cmd_Reset, &QPushButton::clicked, this, &Frm_Oesophagus::cmd_Reset_Click);
    connect(Cmd_Ringer, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_Ringer_Click);
    connect(Cmd_Exam_Unknow, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_Exam_Unknow_Click);
    connect(Cmd_DrgIdentified, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_DrgIdentified_Click);
    for (QPushButton* leave : {Cmd_Next, Cmd_New, Command2}) leave->installEventFilter(this);
    connect(Cmd_Next, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_Next_Click);
    connect(Cmd_Table, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_Table_Click);
    connect(Cmd_New, &QPushButton::clicked, this, &Frm_Oesophagus::Cmd_New_Click);
    connect(Command2, &QPushButton::clicked, this, &Frm_Oesophagus::Command2_Click);
    connect(Cmdhelp, &QPushButton::clicked, this, &Frm_Oesophagus::Cmdhelp_Click);
}

bool Frm_Oesophagus::examination() const {
    return m_run.examination();
}

void Frm_Oesophagus::hint(const QString& text) {
    lbl_stephelp->setText(text);
}

bool Frm_Oesophagus::Form_Load() {
    InitHelp(m_ctx, this);

    if (m_model.needsDrugs()) {
        QVector<OesoDrugRec> rows;
        QString error;
        if (!readOesoDrugs(&rows, &error)) {
            m_ctx.fail(error);
            return false;
        }
        // The drugs' other names come with the table; an examination cannot be marked without them.
        DrugNames names;
        if (!names.load(QStringLiteral("f_oeso_names.txt"))) {
            m_ctx.fail(names.error());
            return false;
        }
        m_run.setDrugNames(names);
        m_model.setDrugs(rows);
        const QSignalBlocker quiet(Combo_Drug);
        Combo_Drug->clear();
        Combo_Drug->addItems(m_model.drugNames());
    }

    m_model.reseed();
    m_model.newFrog();
    frogno->setText(QStringLiteral("Лягушка №") + QString::number(m_model.FrogNo()));
    Cmd_Instill->setEnabled(true);
    Lab_DrugGiven->clear();
    placeSeed();
    Image_filler->hide();
    cancelDrag();

    {
        const QSignalBlocker quiet(Combo_Drug);
        Combo_Drug->setCurrentIndex(0);
    }
    Lab_Texttube->setText(Combo_Drug->currentText());

    setWindowTitle(tutorialCaption);
    if (examination()) {
        setWindowTitle(examCaption);
        if (!m_model.startExamination())
            m_ctx.message({QStringLiteral("  Системная ошибка. Перезапустите   "),
                           {},
                           MsgButtons::Ok,
                           MsgIcon::None,
                           MsgAnswer::Ok});
        Lst_UnknownDrug->clear();
        Lst_UnknownDrug->addItems(m_model.unknownChoices());
        Frame_Drug_Select->show();
        Lbl_ExamHeading->setText(examHeading(m_run.student()));
        showUnknownNumber();
        showExamButtons();
        // Nothing may tell which solution acts on the frog.
        for (QWidget* w :
             {static_cast<QWidget*>(Frame_Drug), static_cast<QWidget*>(Lab_drug), static_cast<QWidget*>(Lab_DrugGiven),
              static_cast<QWidget*>(Lastdrug_lbl), static_cast<QWidget*>(lastdrugname_lbl)})
            w->hide();
        Cmd_New->setEnabled(false);
        Cmd_Table->setEnabled(false);
    } else {
        Frame_Drug_Select->hide();
        for (QWidget* w :
             {static_cast<QWidget*>(Frame_Drug), static_cast<QWidget*>(Lab_drug), static_cast<QWidget*>(Lab_DrugGiven),
              static_cast<QWidget*>(Lastdrug_lbl), static_cast<QWidget*>(lastdrugname_lbl)})
            w->show();
        Cmd_New->setEnabled(true);
        Cmd_Next->setEnabled(true);
    }

    Timer_Clock->stop();
    Timer_Oeso->stop();
    m_model.stopwatch().stop();
    m_model.stopwatch().reset();
    showStopwatch();
    Cmd_Instill_Click();  // every new frog starts with the first solution
    return true;
}

void Frm_Oesophagus::Combo_Drug_Click() {
    Lab_Texttube->setText(Combo_Drug->currentText());
}

void Frm_Oesophagus::showHistory() {
    drughistory->clear();
    drughistory->addItems(m_model.DrugHistory());
    drughistory->scrollToBottom();
}

// The dropper shows over the oesophagus until the next of its two-second looks.
void Frm_Oesophagus::showDropper() {
    Image_filler->show();
    Image_filler->raise();
    if (!filler_timer->isActive()) filler_timer->start();
}

void Frm_Oesophagus::Cmd_Instill_Click() {
    if (!Cmd_Instill->isEnabled()) return;
    showDropper();
    Lab_DrugGiven->setText(Lab_Texttube->text());
    lastdrugname_lbl->setText(m_model.CurDrug());
    m_model.instill(Combo_Drug->currentIndex());
    Timer_Oeso->setInterval(m_model.Interval());
    showHistory();
    hint(QStringLiteral("Возьмите зернышко"));
}

void Frm_Oesophagus::placeSeed() {
    Shape_Seed->move(twips::point(m_model.SeedLeft(), m_model.SeedTop()));
    Shape_Seed->setVisible(m_model.SeedVisible());
}

// ---- The seed: picked from the box, carried with the seed cursor, laid on the oesophagus.

void Frm_Oesophagus::Img_Seeds_MouseDown() {
    if (!m_model.Running()) hint(QStringLiteral("Возьмите и поместите его на пищевод"));
    const QPixmap seed = dataPicture(QStringLiteral("Icon1.ico"));
    if (seed.isNull()) {
        m_ctx.fail(QStringLiteral("В папке программы нет файла курсора «Icon1.ico»."));
        return;
    }
    cancelDrag();
    QGuiApplication::setOverrideCursor(QCursor(seed));
    m_dragging = true;
}

void Frm_Oesophagus::cancelDrag() {
    if (!m_dragging) return;
    m_dragging = false;
    QGuiApplication::restoreOverrideCursor();
}

void Frm_Oesophagus::endDrag(const QPoint& globalPos) {
    if (!m_dragging) return;
    cancelDrag();
    const QPoint at = Pic_Oeso->mapFromGlobal(globalPos);
    if (Img_Seed_Drop->geometry().contains(at))
        Img_Seed_Drop_DragDrop();
    else if (Pic_Oeso->rect().contains(at))
        Pic_Oeso_DragDrop();
    // Anywhere else the seed is simply let go.
}

void Frm_Oesophagus::Pic_Oeso_DragDrop() {
    if (!m_model.Running()) hint(QStringLiteral("Возьмите зернышко"));
}

void Frm_Oesophagus::Img_Seed_Drop_DragDrop() {
    if (!m_model.Running()) hint(QStringLiteral("Запустите часы в начальной точке"));
    m_model.startRun();
    placeSeed();
    // The next step is the stopwatch: the keyboard goes to its start button rather than
    // to wherever the controls just disabled would pass it.
    Cmd_StartClock->setFocus(Qt::OtherFocusReason);
    if (examination()) {
        Timer_Monitor_Clock->start();  // whole seconds from this drop; a second seed restarts the count
        showExamButtons();
    }
    Cmd_Instill->setEnabled(false);
    Timer_Oeso->start();
}

void Frm_Oesophagus::Timer_Oeso_Timer() {
    if (!m_model.Running()) {
        Timer_Oeso->stop();
        return;
    }
    const bool arrived = m_model.tick();
    placeSeed();
    if (!arrived) return;
    Timer_Oeso->stop();
    Cmd_Instill->setEnabled(true);
    hint(QStringLiteral("Выберите вещество и закапайте"));
    if (examination()) {
        Timer_Monitor_Clock->stop();
        showExamButtons();
    }
}

void Frm_Oesophagus::Timer_Monitor_Clock_Timer() {
    m_model.monitorTick();
}

// A look that finds the dropper gone already ends the looks until the next instillation.
void Frm_Oesophagus::filler_timer_Timer() {
    if (Image_filler->isHidden()) filler_timer->stop();
    Image_filler->hide();
}

// ---- Stopwatch.

// The stopwatch's fields and its button show the model's stopwatch; its timer runs while it does.
void Frm_Oesophagus::showStopwatch() {
    const Stopwatch& watch = m_model.stopwatch();
    txt_time[0]->setText(watch.secondsText());
    txt_time[1]->setText(watch.minutesText());
    txt_time[2]->setText(watch.hoursText());
    Cmd_StartClock->setText(watch.running() ? stopCaption : startCaption);
}

void Frm_Oesophagus::Timer_Clock_Timer() {
    m_model.stopwatch().tick();
    showStopwatch();
}

void Frm_Oesophagus::Cmd_StartClock_Click() {
    Stopwatch& watch = m_model.stopwatch();
    if (watch.running()) {
        if (m_model.Running()) hint(QStringLiteral("Запишите время"));
        Timer_Clock->stop();
        watch.stop();
    } else {
        Timer_Clock->start();
        watch.start();
        if (m_model.Running()) hint(QStringLiteral("Остановите часы в конечной точке"));
    }
    showStopwatch();
}

void Frm_Oesophagus::cmd_Reset_Click() {
    m_model.stopwatch().reset();
    showStopwatch();
    if (!m_model.stopwatch().running() && m_model.Running()) hint(QStringLiteral("ждите"));
}

// ---- Examination.

void Frm_Oesophagus::Cmd_Ringer_Click() {
    m_model.giveRinger();
    Timer_Oeso->setInterval(m_model.Interval());
    showExamButtons();
    showDropper();
}

void Frm_Oesophagus::Cmd_Exam_Unknow_Click() {
    m_model.giveUnknown();
    Timer_Oeso->setInterval(m_model.Interval());
    showExamButtons();
    showDropper();
}

void Frm_Oesophagus::Cmd_DrgIdentified_Click() {
    const QListWidgetItem* chosen = Lst_UnknownDrug->currentItem();
    const QString answer = chosen && chosen->isSelected() ? chosen->text() : QString();
    const QString what = answer.isEmpty() ? QStringLiteral("ничего не выбрано") : QStringLiteral("«%1»").arg(answer);
    if (!confirm(QStringLiteral("Ваш ответ: %1.\nИзменить его потом будет нельзя.\n\nОтветить так?").arg(what),
                 QStringLiteral("Определение неизвестного")))
        return;
    if (m_model.identify(answer)) {
        endExamination();
        return;
    }
    showUnknownNumber();
    showExamButtons();
}

void Frm_Oesophagus::showUnknownNumber() {
    Lbl_Unknown->setVisible(m_model.unknownAvailable());
    Lbl_Unknown->setText(
        QStringLiteral("неизвестное %1 из %2").arg(m_model.currentUnknown()).arg(m_model.unknownCount()));
}

// A step that cannot be undone, asked first; No is the default.
bool Frm_Oesophagus::confirm(const QString& text, const QString& title) {
    return m_ctx.message({text, title, MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::No}) == MsgAnswer::Yes;
}

// What may be given and answered: what the model allows, and nothing while the seed runs.
void Frm_Oesophagus::showExamButtons() {
    const bool idle = !m_model.Running();
    Cmd_Ringer->setEnabled(idle && m_model.ringerAllowed());
    Cmd_Exam_Unknow->setEnabled(idle && m_model.unknownAllowed());
    Cmd_DrgIdentified->setEnabled(idle);
}

// ---- Going on and leaving.

void Frm_Oesophagus::Cmd_Next_Click() {
    if (examination()) {
        // The screen is open while an unknown waits to be named: this one and those not
        // handed out yet are left unanswered.
        const int left = m_model.unknownAvailable() ? m_model.unknownCount() - m_model.currentUnknown() + 1 : 0;
        if (left > 0 &&
            !confirm(QStringLiteral("Не определено неизвестных: %1 из %2. Они будут засчитаны как неверные.\n\n"
                                    "Закончить экзамен?")
                         .arg(left)
                         .arg(m_model.unknownCount()),
                     QStringLiteral("Конец экзамена")))
            return;
        endExamination();
        return;
    }
    m_ctx.navigator.open(OesoWindows::Frm_Oeso_Quest);
    m_ctx.navigator.park(this);
}

void Frm_Oesophagus::endExamination() {
    m_ctx.navigator.open(OesoWindows::Frm_Oeso_Table);
    close();
}

void Frm_Oesophagus::Cmd_Table_Click() {
    m_ctx.navigator.open(OesoWindows::Frm_Oeso_Table);
}

void Frm_Oesophagus::Cmd_New_Click() {
    Form_Load();
}

void Frm_Oesophagus::Command2_Click() {
    m_ctx.navigator.open(OesoWindows::Frm_Oeso_main);  // its load closes this screen
    close();
}

void Frm_Oesophagus::Cmdhelp_Click() {
    m_ctx.help.showContents(this, helpFile);
}

void Frm_Oesophagus::closeEvent(QCloseEvent* event) {
    cancelDrag();
    // The help this screen opened goes with it, even when the home screen, opened just
    // before, has become the help owner.
    m_ctx.help.quit(this);
    m_model.resetFrogNumbers();
    QWidget::closeEvent(event);
}

bool Frm_Oesophagus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Img_Seeds &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return QWidget::eventFilter(watched, event);
        if (event->type() == QEvent::MouseButtonPress)
            Img_Seeds_MouseDown();
        else
            endDrag(mouse->globalPosition().toPoint());
        return true;
    } else if (watched == Combo_Drug && event->type() == QEvent::KeyPress) {
        // A drop-down list: typed letters do not pick a drug; the arrow keys still do.
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint()) return true;
    } else if (event->type() == QEvent::KeyPress && m_model.Running() &&
               (watched == Cmd_Next || watched == Cmd_New || watched == Command2)) {
        // A seed's run is left with a click only: a key that happens to reach one of these
        // buttons (Space, Return) must not throw the measurement away.
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Space:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Select:
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
