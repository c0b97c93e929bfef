#include "qt_seams.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "twips.h"

MsgAnswer QtMessageBoxes::show(const MessageRequest& request) {
    QMessageBox box;
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    auto add = [&box](QMessageBox::StandardButton b, const char* text) {
        box.addButton(b)->setText(QString::fromUtf8(text));
    };
    switch (request.buttons) {
        case MsgButtons::Ok:
            add(QMessageBox::Ok, "OK");
            break;
        case MsgButtons::OkCancel:
            add(QMessageBox::Ok, "OK");
            add(QMessageBox::Cancel, "Отмена");
            break;
        case MsgButtons::YesNo:
            add(QMessageBox::Yes, "Да");
            add(QMessageBox::No, "Нет");
            break;
    }
    const QMessageBox::StandardButton def = request.defaultAnswer == MsgAnswer::Cancel ? QMessageBox::Cancel
                                            : request.defaultAnswer == MsgAnswer::Yes  ? QMessageBox::Yes
                                            : request.defaultAnswer == MsgAnswer::No   ? QMessageBox::No
                                                                                       : QMessageBox::Ok;
    if (box.button(def)) box.setDefaultButton(def);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        default:  // closed from the title bar or with Escape
            return request.buttons == MsgButtons::YesNo      ? MsgAnswer::No
                   : request.buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                             : MsgAnswer::Ok;
    }
}

ChosenFile QtFileChooser::saveFile(const SaveFileRequest& request) {
    ChosenFile chosen;
    chosen.filter = request.filters.value(0);
    chosen.path = QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title, request.proposedPath,
                                               request.filters.join(QStringLiteral(";;")), &chosen.filter);
    return chosen;
}

namespace {

// While on, every window of the program that becomes active takes the keyboard at the
// window system (so the desktop's task-switching keys do not reach the window manager)
// and comes to the top. The grab is the window's, not a widget's: Qt still hands each
// key to the window's focused control, so passwords, lists and default buttons work.
class TaskSwitchLock : public QObject {
public:
    explicit TaskSwitchLock(QObject* parent) : QObject(parent) { grab(QApplication::activeWindow()); }
    ~TaskSwitchLock() override { release(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) grab(static_cast<QWidget*>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    void grab(QWidget* w) {
        if (!w || !w->isWindow()) return;
        w->raise();
        QWindow* handle = w->windowHandle();
        if (!handle) return;
        if (handle != m_grabbed) release();
        // Asked again on every activation: the window system drops a grab when its window hides.
        handle->setKeyboardGrabEnabled(true);
        m_grabbed = handle;
    }
    void release() {
        if (m_grabbed) m_grabbed->setKeyboardGrabEnabled(false);
        m_grabbed = nullptr;
    }

    QPointer<QWindow> m_grabbed;
};

}  // namespace

QtDesktop::~QtDesktop() {
    delete m_lock.data();
}

QSize QtDesktop::screenSizeTwips() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize px = screen ? screen->size() : QSize(800, 600);
    return {twips::fromPixels(px.width()), twips::fromPixels(px.height())};
}

void QtDesktop::setTaskSwitchLock(bool on) {
    if (on && !m_lock) {
        m_lock = new TaskSwitchLock(qApp);
        qApp->installEventFilter(m_lock);
    } else if (!on && m_lock) {
        delete m_lock.data();
    }
}

void QtDesktop::quitProgram(int exitCode) {
    if (exitCode != 0) m_failure = exitCode;
    // Queued, so that it also works before the event loop has started.
    QTimer::singleShot(0, qApp, [exitCode] { QCoreApplication::exit(exitCode); });
}

bool QtDesktop::startProgram(const QString& path) {
    return QProcess::startDetached(path, {});
}
