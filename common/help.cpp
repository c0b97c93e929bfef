#include "help.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "data_files.h"
#include "program_context.h"

void InitHelp(ProgramContext& ctx, QWidget* owner) {
    ctx.helpOwner = owner;
}

void CloseHelp(ProgramContext& ctx) {
    if (ctx.helpOwner) ctx.help.quit(ctx.helpOwner);
}

HelpWindow::HelpWindow(const QString& path) : m_path(path), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setOpenExternalLinks(false);

    auto* contents = new QPushButton(QStringLiteral("Содержание"), this);
    auto* back = new QPushButton(QStringLiteral("Назад"), this);
    auto* forward = new QPushButton(QStringLiteral("Вперёд"), this);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    contents->setObjectName(QStringLiteral("Cmd_HelpContents"));
    close->setObjectName(QStringLiteral("Cmd_HelpClose"));
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    resize(660, 540);
}

void HelpWindow::showContents() {
    QFile file(m_path);
    // The files are HTML whatever their extension, so the type is not guessed from it.
    if (file.open(QIODevice::ReadOnly)) {
        m_browser->document()->setBaseUrl(QUrl::fromLocalFile(m_path));
        m_browser->setHtml(QString::fromUtf8(file.readAll()));
    }
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QFileInfo(m_path).fileName() : title);
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->verticalScrollBar()->setValue(0);
}

void HelpWindow::showTopic(int topic) {
    showContents();
    m_browser->scrollToAnchor(QString::number(topic));
}

HelpWindows::~HelpWindows() {
    for (const Entry& e : std::as_const(m_windows)) delete e.window.data();
}

HelpWindow* HelpWindows::window(const QString& file) const {
    return m_windows.value(file).window;
}

HelpWindow* HelpWindows::open(QObject* owner, const QString& file) {
    QString path = data_files::find(file);
    if (path.isEmpty() && QFileInfo(file).suffix().isEmpty()) path = data_files::find(file + QStringLiteral(".hlp"));
    if (path.isEmpty()) {
        m_messages.show(
            {QStringLiteral("Не удаётся открыть файл справки «%1».\nФайл должен лежать в папке программы:\n%2")
                 .arg(file, QDir::currentPath()),
             QStringLiteral("Справка"), MsgButtons::Ok, MsgIcon::Exclamation, MsgAnswer::Ok});
        return nullptr;
    }
    Entry& entry = m_windows[file];
    if (!entry.window) entry.window = new HelpWindow(path);
    entry.owner = owner;
    entry.window->show();
    entry.window->raise();
    entry.window->activateWindow();
    return entry.window;
}

void HelpWindows::showContents(QObject* owner, const QString& file) {
    if (HelpWindow* w = open(owner, file)) w->showContents();
}

void HelpWindows::showTopic(QObject* owner, const QString& file, int topic) {
    if (HelpWindow* w = open(owner, file)) w->showTopic(topic);
}

void HelpWindows::quit(QObject* owner) {
    for (const Entry& e : std::as_const(m_windows))
        if (e.window && e.owner == owner) e.window->close();
}
