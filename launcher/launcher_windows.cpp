#include "launcher_windows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include "clickable_label.h"
#include "colours.h"
#include "help.h"
#include "ileum_windows.h"
#include "oeso_windows.h"
#include "pictures.h"
#include "program_context.h"
#include "rabbit_windows.h"
#include "window_helpers.h"

namespace {

const QString mainHelp = QStringLiteral("morvane");
const QString programCaption = QStringLiteral("Morvane T1.00R для Linux");

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setMinimumHeight(32);
    return b;
}

QLabel* text(QWidget* parent, const char* name, const QString& caption, int pointSize = 0, bool bold = false) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    if (pointSize > 0) f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

// The heart experiment is a program of its own, morvane-heart beside this one (in the
// build tree as when installed): found there first, then on the PATH. Empty when it is
// nowhere.
QString heartProgram() {
    const QString name = QStringLiteral("morvane-heart");
    const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

ClickableLabel* picture(QWidget* parent, const char* name, const QString& file, const QString& tip) {
    auto* p = new ClickableLabel(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setPixmap(dataPicture(file));
    p->setToolTip(tip);
    p->setAlignment(Qt::AlignCenter);
    p->setCursor(Qt::PointingHandCursor);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFocusPolicy(Qt::StrongFocus);  // Tab reaches it; Enter or Space starts the experiment
    return p;
}

}  // namespace

// ---------------------------------------------------------------------------------------

Frm_morvane::Frm_morvane(ProgramContext& ctx) : m_ctx(ctx), m_timer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Morvane"));
    discardWindowKeys(this);
    auto* art = new QLabel(this);
    art->setObjectName(QStringLiteral("Img_Splash"));
    art->setPixmap(dataPicture(QStringLiteral("splash.png")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(art);
    setFixedSize(600, 400);

    RemoveSysMenuItems(this);
    CenterForm(ctx, this);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &Frm_morvane::Timer1_Timer);
    m_timer->start();
}

void Frm_morvane::Timer1_Timer() {
    ++m_ticks;
    if (m_ticks == 200) handOver();
}

void Frm_morvane::mousePressEvent(QMouseEvent*) {
    handOver();
}

void Frm_morvane::handOver() {
    if (m_done) return;
    m_done = true;
    m_timer->stop();
    m_ctx.navigator.open(LauncherWindows::Frm_Selection);
    close();
}

// ---------------------------------------------------------------------------------------

Frm_Selection::Frm_Selection(ProgramContext& ctx) : m_ctx(ctx) {
    setWindowTitle(programCaption);
    setFixedSize(700, 520);
    discardWindowKeys(this);

    auto* logo = text(this, "Label4", QStringLiteral("MV"), 30, true);
    logo->setStyleSheet(QStringLiteral("color: #8b1e1e; font-style: italic;"));
    logo->setFixedWidth(90);
    auto* title = text(this, "Label1", QStringLiteral("Morvane T1.00R\nдля Linux"), 14, true);
    title->setFixedWidth(360);
    auto* head = new QHBoxLayout;
    head->addWidget(logo);
    head->addStretch();
    head->addWidget(title);
    head->addStretch();

    auto* frog = picture(this, "Img_frog", QStringLiteral("sel_frog.png"),
                         QStringLiteral("Действие веществ на пищевод лягушки"));
    auto* gpig = picture(this, "Img_gpig", QStringLiteral("sel_gpig.png"),
                         QStringLiteral("Биопроба гистамина на подвздошную кишку морской свинки"));
    auto* rabbit = picture(this, "img_rabbit", QStringLiteral("sel_rabbit.png"),
                           QStringLiteral("Действие веществ на глаз кролика"));
    auto* heart = picture(this, "Img_heart", QStringLiteral("sel_heart.png"),
                          QStringLiteral("Действие веществ на сердце лягушки"));
    connect(frog, &ClickableLabel::clicked, this, [this] { openExperiment(OesoWindows::Frm_Oeso_main); });
    connect(gpig, &ClickableLabel::clicked, this, [this] { openExperiment(IleumWindows::Frm_il_main); });
    connect(rabbit, &ClickableLabel::clicked, this, [this] { openExperiment(RabbitWindows::Frm_Rab_main); });
    connect(heart, &ClickableLabel::clicked, this, [this] {
        const QString program = heartProgram();
        if (program.isEmpty() || !m_ctx.desktop.startProgram(program)) m_ctx.navigator.open(LauncherWindows::HeartMsg);
    });

    auto* pictures = new QGridLayout;
    const struct {
        ClickableLabel* pic;
        const char* name;
        QString caption;
    } cells[] = {{frog, "Lab_frog", QStringLiteral("Пищевод лягушки")},
                 {gpig, "Lab_gpig", QStringLiteral("Подвздошная кишка морской свинки")},
                 {rabbit, "Lab_rabbit", QStringLiteral("Глаз кролика")},
                 {heart, "Lab_heart", QStringLiteral("Сердце лягушки")}};
    for (int i = 0; i < 4; ++i) {
        pictures->addWidget(cells[i].pic, (i / 2) * 2, i % 2);
        pictures->addWidget(text(this, cells[i].name, cells[i].caption), (i / 2) * 2 + 1, i % 2);
    }
    auto* hint = text(this, "Label3", QStringLiteral("Нажмите на картинку для запуска опыта"), 0, true);
    hint->setToolTip(QStringLiteral("Кликните мышью картинку"));

    auto* left = new QVBoxLayout;
    left->addLayout(pictures);
    left->addWidget(hint);

    auto* comp = new QLabel(this);
    comp->setObjectName(QStringLiteral("Img_comp"));
    comp->setPixmap(dataPicture(QStringLiteral("sel_computer.png")));
    comp->setAlignment(Qt::AlignCenter);
    auto* intro = button(this, "Cmd_intro", QStringLiteral("Введение"));
    auto* history = button(this, "Cmd_history", QStringLiteral("История"));
    auto* instruct = button(this, "Cmd_Instruct", QStringLiteral("Инструкция"));
    auto* soft = button(this, "Cmd_Soft", QStringLiteral("О программе"));
    auto* ack = button(this, "Cmd_ack", QStringLiteral("Благодарности"));
    auto* quit = button(this, "Cmd_quit", QStringLiteral("Выход"));
    connect(intro, &QPushButton::clicked, this, [this] { showTopic(50); });
    connect(history, &QPushButton::clicked, this, [this] { showTopic(60); });
    connect(soft, &QPushButton::clicked, this, [this] { showTopic(70); });
    connect(ack, &QPushButton::clicked, this, [this] { showTopic(80); });
    connect(instruct, &QPushButton::clicked, this, [this] {
        m_ctx.navigator.park(this);
        m_ctx.navigator.open(LauncherWindows::Frm_instruct);
    });
    connect(quit, &QPushButton::clicked, this, [this] {
        close();
        m_ctx.desktop.quitProgram(0);
    });
    auto* right = new QVBoxLayout;
    right->addWidget(comp);
    right->addSpacing(8);
    for (QPushButton* b : {intro, history, instruct, soft, ack}) right->addWidget(b);
    right->addStretch();
    right->addWidget(quit);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addSpacing(12);
    body->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(body, 1);

    InitHelp(ctx, this);
    CenterForm(ctx, this);
}

void Frm_Selection::openExperiment(WindowName home) {
    m_ctx.navigator.open(home);
    close();
}

void Frm_Selection::showTopic(int topic) {
    m_ctx.help.showTopic(this, mainHelp, topic);
}

void Frm_Selection::closeEvent(QCloseEvent* event) {
    CloseHelp(m_ctx);
    QWidget::closeEvent(event);
}

// ---------------------------------------------------------------------------------------

Frm_instruct::Frm_instruct(ProgramContext& ctx) : m_ctx(ctx) {
    setWindowTitle(programCaption);
    setFixedSize(380, 320);
    discardWindowKeys(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text(this, "Label1", QStringLiteral("Показать инструкцию для:"), 13, true));
    layout->addWidget(text(this, "Label2", QStringLiteral("Нажмите соответствующую кнопку")));
    const struct {
        const char* name;
        QString caption, tip, help;
    } rows[] = {
        {"Cmd_frog", QStringLiteral("Лягушка"), QStringLiteral("Effect of drugs on the frog oesophagus"),
         QStringLiteral("oesopha.hlp")},
        {"Cmd_ileum", QStringLiteral("Подвздошная кишка"),
         QStringLiteral("Bioassay of histamine on the guinea-pig ileum"), QStringLiteral("ileum.hlp")},
        {"Cmd_rabbit", QStringLiteral("Кролик"), QStringLiteral("Effects of drugs on the rabbit eye"),
         QStringLiteral("rabbit.hlp")},
        {"Cmd_heart", QStringLiteral("Сердце"), QStringLiteral("Effects of drugs on the frog heart"),
         QStringLiteral("heart.hlp")},
    };
    for (const auto& row : rows) {
        auto* b = button(this, row.name, row.caption, row.tip);
        const QString help = row.help;
        connect(b, &QPushButton::clicked, this, [this, help] { m_ctx.help.showContents(this, help); });
        layout->addWidget(b);
    }
    layout->addStretch();
    auto* back = button(this, "Command5", QStringLiteral("Возврат"));
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(back);
    CenterForm(ctx, this);
}

void Frm_instruct::closeEvent(QCloseEvent* event) {
    // However the chooser is closed, the selection window comes back (shown before this
    // one goes, so the program never runs without a window).
    m_ctx.navigator.open(LauncherWindows::Frm_Selection);
    QWidget::closeEvent(event);
}

// ---------------------------------------------------------------------------------------

HeartMsg::HeartMsg(ProgramContext& ctx) {
    setWindowTitle(QStringLiteral("ПРЕДУПРЕЖДЕНИЕ"));
    setFixedSize(600, 360);
    discardWindowKeys(this);

    auto* dia = new QLabel(this);
    dia->setObjectName(QStringLiteral("Img_hrtdia"));
    dia->setPixmap(dataPicture(QStringLiteral("heart_dia.png")));
    auto* sys = new QLabel(this);
    sys->setObjectName(QStringLiteral("Img_hrtsys"));
    sys->setPixmap(dataPicture(QStringLiteral("heart_sys.png")));
    auto* heading = text(this, "Label2", QStringLiteral("ВНИМАНИЕ!"), 18, true);
    heading->setStyleSheet(QStringLiteral("color: %1;").arg(redText.name()));
    const QString program = heartProgram();
    const QString why =
        program.isEmpty()
            ? QStringLiteral(
                  "Она ставится вместе с Morvane под именем morvane-heart, но её нет ни в папке этой "
                  "программы (%1), ни в папках поиска программ (PATH).")
                  .arg(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))
            : QStringLiteral("Она найдена (%1), но не запускается.").arg(QDir::toNativeSeparators(program));
    auto* notice = text(this, "Label1",
                        QStringLiteral("Опыт на сердце лягушки - отдельная программа, Morvane - Сердце. %1 "
                                       "Попросите администратора компьютера установить пакет morvane заново.")
                            .arg(why));
    notice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* ok = button(this, "OK", QStringLiteral("OK"));
    ok->setFixedWidth(120);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* middle = new QHBoxLayout;
    middle->addWidget(dia);
    middle->addWidget(notice, 1);
    middle->addWidget(sys);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(middle, 1);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    CenterForm(ctx, this);
}

// ---------------------------------------------------------------------------------------

void registerMorvaneWindows(ProgramContext& ctx, MorvaneRunStates& runs) {
    ctx.navigator.add(LauncherWindows::Frm_morvane, [&ctx] { return new Frm_morvane(ctx); });
    ctx.navigator.add(LauncherWindows::Frm_Selection, [&ctx] { return new Frm_Selection(ctx); });
    ctx.navigator.add(LauncherWindows::Frm_instruct, [&ctx] { return new Frm_instruct(ctx); });
    ctx.navigator.add(LauncherWindows::HeartMsg, [&ctx] { return new HeartMsg(ctx); });
    registerOesophagusWindows(ctx, runs.oeso);
    registerIleumWindows(ctx, runs.ileum);
    registerRabbitWindows(ctx, runs.rabbit);
}

QStringList launcherDataFiles() {
    return {QStringLiteral("splash.png"),     QStringLiteral("sel_frog.png"),  QStringLiteral("sel_gpig.png"),
            QStringLiteral("sel_rabbit.png"), QStringLiteral("sel_heart.png"), QStringLiteral("sel_computer.png"),
            QStringLiteral("heart_dia.png"),  QStringLiteral("heart_sys.png")};
}
