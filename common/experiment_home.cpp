#include "experiment_home.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "clickable_label.h"
#include "exam_record.h"
#include "help.h"
#include "password.h"
#include "pictures.h"
#include "program_context.h"
#include "window_helpers.h"

namespace {

const QSize windowSize(640, 440);

QLabel* label(QWidget* parent, const QString& name, const QString& text, int pointSize = 0, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    if (pointSize > 0 || bold) {
        QFont f = l->font();
        if (pointSize > 0) f.setPointSize(pointSize);
        f.setBold(bold);
        l->setFont(f);
    }
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setMinimumHeight(34);
    return b;
}

}  // namespace

ExperimentHome::ExperimentHome(ProgramContext& ctx, HomeMember member) : m_ctx(ctx), m_member(std::move(member)) {
    setObjectName(m_member.windowName.text());
    setWindowTitle(m_member.caption);
    setFixedSize(windowSize);
    discardWindowKeys(this);

    // Title strip and picture.
    auto* titleStrip = new QFrame(this);
    titleStrip->setObjectName(QStringLiteral("Picture1"));
    titleStrip->setStyleSheet(QStringLiteral("#Picture1 { background: #1f4e6b; }"));
    auto* title = label(titleStrip, QStringLiteral("LAb_Title"), m_member.title, 14, true);
    title->setStyleSheet(QStringLiteral("color: white;"));
    (new QVBoxLayout(titleStrip))->addWidget(title);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Img_Title"));
    picture->setPixmap(dataPicture(m_member.picture));
    picture->setAlignment(Qt::AlignCenter);

    // Mode buttons.
    m_modeFrame = new QGroupBox(m_member.modeFrameCaption, this);
    m_modeFrame->setObjectName(m_member.modeFrameName);
    auto* tut = button(m_modeFrame, m_member.tutName, QStringLiteral("Обучение"), m_member.tutTip);
    auto* exam = button(m_modeFrame, m_member.examName, QStringLiteral("Проверка"), m_member.examTip);
    auto* instruct = button(m_modeFrame, m_member.instructName, QStringLiteral("Инструкция"), m_member.instructTip);
    auto* quit = button(m_modeFrame, m_member.quitName, QStringLiteral("Выход"), m_member.quitTip);
    auto* modeLayout = new QVBoxLayout(m_modeFrame);
    for (QPushButton* b : {tut, exam, instruct, quit}) modeLayout->addWidget(b);
    connect(tut, &QPushButton::clicked, this, &ExperimentHome::tutorialClick);
    connect(exam, &QPushButton::clicked, this, &ExperimentHome::examClick);
    connect(instruct, &QPushButton::clicked, this, &ExperimentHome::instructClick);
    connect(quit, &QPushButton::clicked, this, &ExperimentHome::quitClick);

    // Password frame.
    m_passFrame = new QGroupBox(m_member.passFrameCaption, this);
    m_passFrame->setObjectName(m_member.passFrameName);
    auto* passLabel = new QLabel(m_member.passLabelText, m_passFrame);
    passLabel->setObjectName(m_member.passLabelName);
    m_passBox = new QLineEdit(m_passFrame);
    m_passBox->setObjectName(m_member.passBoxName);
    m_passBox->setMaxLength(password::boxLength);
    m_passBox->setEchoMode(QLineEdit::Password);
    m_passBox->setStyleSheet(
        QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(m_member.mask.unicode())));
    auto* ok = button(m_passFrame, m_member.okName, m_member.okCaption);
    auto* cancel = button(m_passFrame, m_member.cancelName, m_member.cancelCaption);
    auto* passRow = new QHBoxLayout;
    passRow->addWidget(passLabel);
    passRow->addWidget(m_passBox, 1);
    auto* passButtons = new QHBoxLayout;
    passButtons->addWidget(ok);
    passButtons->addWidget(cancel);
    auto* passLayout = new QVBoxLayout(m_passFrame);
    passLayout->addLayout(passRow);
    passLayout->addLayout(passButtons);
    passLayout->addStretch();
    m_passFrame->hide();
    connect(ok, &QPushButton::clicked, this, &ExperimentHome::okClick);
    connect(cancel, &QPushButton::clicked, this, &ExperimentHome::cancelClick);
    connect(m_passBox, &QLineEdit::returnPressed, this, &ExperimentHome::okClick);

    buildStudentFrame();

    auto* side = new QVBoxLayout;
    side->addStretch();
    side->addWidget(m_modeFrame);
    side->addWidget(m_passFrame);
    side->addWidget(m_studentFrame);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->setContentsMargins(16, 8, 16, 16);
    body->addWidget(picture, 1);
    body->addSpacing(16);
    body->addLayout(side);
    m_modeFrame->setFixedWidth(230);
    m_passFrame->setFixedWidth(230);
    m_studentFrame->setFixedWidth(230);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleStrip);
    layout->addLayout(body, 1);

    buildPanel();

    // The title panel goes by itself ten seconds after the load; once it has gone, by this
    // timer or by the student, the timer has nothing more to do.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(10000);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &ExperimentHome::Timer1_Timer);
}

void ExperimentHome::buildStudentFrame() {
    m_studentFrame = new QGroupBox(QStringLiteral("Студент"), this);
    m_studentFrame->setObjectName(QStringLiteral("Frm_Student"));
    auto* form = new QFormLayout;
    auto box = [this, form](const char* name, const char* labelName, const QString& text) {
        auto* b = new QLineEdit(m_studentFrame);
        b->setObjectName(QString::fromLatin1(name));
        auto* l = new QLabel(text, m_studentFrame);
        l->setObjectName(QString::fromLatin1(labelName));
        l->setBuddy(b);
        form->addRow(l, b);
        connect(b, &QLineEdit::returnPressed, this, &ExperimentHome::studentOkClick);
        return b;
    };
    m_surnameBox = box("Txt_Surname", "Lab_Surname", QStringLiteral("Фамилия:"));
    m_nameBox = box("Txt_StudentName", "Lab_StudentName", QStringLiteral("Имя:"));
    m_groupBox = box("Txt_Group", "Lab_Group", QStringLiteral("Группа:"));
    auto* ok = button(m_studentFrame, QStringLiteral("Cmd_StudentOK"), QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = button(m_studentFrame, QStringLiteral("Cmd_StudentCancel"), QStringLiteral("Отмена"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(m_studentFrame);
    layout->addLayout(form);
    layout->addLayout(buttons);
    m_studentFrame->hide();
    connect(ok, &QPushButton::clicked, this, &ExperimentHome::studentOkClick);
    connect(cancel, &QPushButton::clicked, this, &ExperimentHome::cancelClick);
}

void ExperimentHome::buildPanel() {
    m_panel = new QFrame(this);
    m_panel->setObjectName(m_member.panelName);
    m_panel->setGeometry(QRect(QPoint(0, 0), windowSize));
    m_panel->setAutoFillBackground(true);
    m_panel->setFrameShape(QFrame::Panel);
    m_panel->setFrameShadow(QFrame::Raised);
    m_panel->setLineWidth(3);
    m_panel->setStyleSheet(QStringLiteral("#%1 { background: #f4efe1; }").arg(m_member.panelName));
    m_panel->installEventFilter(this);
    // While it covers the window it holds the keyboard, so that no key reaches a control
    // hidden under it; a key takes it away as a click does.
    m_panel->setFocusPolicy(Qt::StrongFocus);
    m_panel->setFocus();

    QLabel* picture;
    if (m_member.hasImage3) {
        auto* image3 = new ClickableLabel(m_panel);
        image3->setObjectName(QStringLiteral("Image3"));
        image3->setToolTip(QStringLiteral("Click to proceed"));
        image3->setCursor(Qt::PointingHandCursor);
        connect(image3, &ClickableLabel::clicked, m_panel, &QWidget::hide);
        picture = image3;
    } else {
        picture = new QLabel(m_panel);
        picture->setObjectName(QStringLiteral("Img_Logo"));
    }
    picture->setPixmap(dataPicture(m_member.picture));
    picture->setAlignment(Qt::AlignCenter);

    auto* text = new QVBoxLayout;
    auto* mv = label(m_panel, QStringLiteral("Lab_MV"), QStringLiteral("MV"), 40, true);
    mv->setStyleSheet(QStringLiteral("color: #8b1e1e; font-style: italic;"));
    text->addWidget(mv);
    text->addWidget(label(m_panel, QStringLiteral("Lab_Heading"), m_member.heading, 20, true));
    text->addWidget(label(m_panel, QStringLiteral("Lab_Line"), m_member.title, 12));
    text->addWidget(label(m_panel, QStringLiteral("Lab_Version"), m_member.version, 10, true));
    text->addStretch();
    for (int i = 0; i < m_member.credits.size(); ++i)
        text->addWidget(label(m_panel, QStringLiteral("Lab_Credits%1").arg(i + 1), m_member.credits[i], 9));

    auto* layout = new QHBoxLayout(m_panel);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(picture);
    layout->addSpacing(16);
    layout->addLayout(text, 1);
    m_panel->raise();
}

bool ExperimentHome::load() {
    if (m_member.ownsHelp) InitHelp(m_ctx, this);

    const QSize screen = m_ctx.desktop.screenSizeTwips();
    if (screen.width() < 12000 || screen.height() < 9000) {
        const MsgAnswer answer = m_ctx.message(
            {QStringLiteral("Вы используете низкое разрешение экрана. Эта программа оптимизирована для работы в "
                            "разрешении 800x600 и выше. Вы можете его изменить, используя панель управления "
                            "[Пуск->Настройка->Панель управления->Экран->Параметры->Разрешение экрана] или нажатием "
                            "на иконку экрана (если доступно) на панели задач. Все равно хотите продолжить ?"),
             QStringLiteral("ПРЕДУПРЕЖДЕНИЕ - НИЗКОЕ разрешение экрана"), MsgButtons::YesNo, MsgIcon::Critical,
             MsgAnswer::No});
        if (answer == MsgAnswer::No) {
            m_ctx.desktop.quitProgram(0);
            return false;
        }
    }

    RemoveSysMenuItems(this);
    CenterForm(m_ctx, this);
    for (WindowName name : std::as_const(m_member.closedAtLoad)) m_ctx.navigator.closeIfOpen(name);
    // Coming back here ends any examination: the students get their desktop back.
    if (m_member.heartRules) m_ctx.desktop.setTaskSwitchLock(false);
    m_member.resetRunState();
    m_timer->start();
    return true;
}

void ExperimentHome::handOver() {
    m_ctx.navigator.open(m_member.experimentWindow);
    close();
}

void ExperimentHome::tutorialClick() {
    m_member.chooseMode(HomeChoice::Tutorial);
    handOver();
}

void ExperimentHome::examClick() {
    if (m_member.heartRules) {
        m_ctx.desktop.setTaskSwitchLock(true);
        m_member.chooseMode(HomeChoice::Examination);
    } else {
        m_passBox->clear();
    }
    m_passFrame->show();
    m_modeFrame->hide();
    m_passBox->setFocus();
}

void ExperimentHome::okClick() {
    const QString stored = password::stored(m_passBox->text(), m_member.passwordFieldWidth);
    m_member.setPassword(stored);
    if (!password::acceptable(stored)) {
        m_ctx.message({QStringLiteral("Неверный пароль. Пароль должен содержать по крайней мере 4 символа "),
                       QStringLiteral(" Ошибка пароля "), MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
        m_passBox->clear();
        if (m_member.heartRules) {
            m_member.setPassword(QString());
            examClick();
        }
        m_passBox->setFocus();
        return;
    }
    // The examination begins once the student is named.
    for (QLineEdit* box : {m_surnameBox, m_nameBox, m_groupBox}) box->clear();
    m_passFrame->hide();
    m_studentFrame->show();
    m_surnameBox->setFocus();
}

void ExperimentHome::studentOkClick() {
    QString error;
    StudentField faulty = StudentField::Surname;
    const std::optional<Student> student =
        makeStudent(m_surnameBox->text(), m_nameBox->text(), m_groupBox->text(), &error, &faulty);
    if (!student) {
        m_ctx.message({error, QStringLiteral("Студент"), MsgButtons::Ok, MsgIcon::Exclamation, MsgAnswer::Ok});
        QLineEdit* box = faulty == StudentField::Surname ? m_surnameBox
                         : faulty == StudentField::Name  ? m_nameBox
                                                         : m_groupBox;
        box->setFocus();
        box->selectAll();
        return;
    }
    m_member.setStudent(*student);
    m_member.chooseMode(HomeChoice::Examination);
    handOver();
}

void ExperimentHome::cancelClick() {
    if (m_member.heartRules) {
        m_ctx.desktop.setTaskSwitchLock(false);
        m_member.chooseMode(HomeChoice::None);
    }
    m_passFrame->hide();
    m_studentFrame->hide();
    m_modeFrame->show();
}

void ExperimentHome::instructClick() {
    m_ctx.help.showContents(this, m_member.helpFile);
}

void ExperimentHome::quitClick() {
    if (m_member.heartRules) {
        m_ctx.desktop.setTaskSwitchLock(false);
        close();
        m_ctx.desktop.quitProgram(0);
        return;
    }
    m_ctx.navigator.open(LauncherWindows::Frm_Selection);
    close();
}

void ExperimentHome::Timer1_Timer() {
    m_panel->hide();
}

void ExperimentHome::closeEvent(QCloseEvent* event) {
    if (m_member.ownsHelp) CloseHelp(m_ctx);
    QWidget::closeEvent(event);
}

bool ExperimentHome::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel) {
        if (event->type() == QEvent::Hide) m_timer->stop();
        const bool hides = m_member.panelHidesOnDoubleClick ? event->type() == QEvent::MouseButtonDblClick
                                                            : event->type() == QEvent::MouseButtonPress;
        if (hides || event->type() == QEvent::KeyPress) {
            m_panel->hide();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

HomeMember mainProgramHome() {
    HomeMember m;
    m.panelName = QStringLiteral("Frm_logo");
    m.panelHidesOnDoubleClick = true;
    m.hasImage3 = true;
    m.credits = {QStringLiteral("Учебная программа для практических занятий по фармакологии"),
                 QStringLiteral("Разработка: группа Morvane")};
    m.modeFrameName = QStringLiteral("Frame_mode");
    m.modeFrameCaption = QStringLiteral("Выберите:");
    m.tutName = QStringLiteral("Cmd_Tut");
    m.examName = QStringLiteral("cmd_exam");
    m.instructName = QStringLiteral("Cmd_Instruct");
    m.quitName = QStringLiteral("Cmd_quit");
    m.passFrameName = QStringLiteral("Frame_Pass");
    m.passFrameCaption = QStringLiteral(" GateWay For Examination Mode");
    m.passLabelName = QStringLiteral("Lab_Password");
    m.passLabelText = QStringLiteral("Password  :");
    m.passBoxName = QStringLiteral("Txt_PassW");
    m.okName = QStringLiteral("Cmd_ok");
    m.okCaption = QStringLiteral("&Ok");
    m.cancelName = QStringLiteral("Cmd_Cancel");
    m.cancelCaption = QStringLiteral("&Cancel");
    m.mask = u' ';
    m.passwordFieldWidth = 0;
    m.ownsHelp = false;
    return m;
}

void registerHome(ProgramContext& ctx, const HomeMember& member) {
    ctx.navigator.add(member.windowName, [&ctx, member]() -> QWidget* {
        auto* home = new ExperimentHome(ctx, member);
        if (home->load()) return home;
        delete home;
        return nullptr;
    });
}
