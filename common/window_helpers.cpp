#include "window_helpers.h"

#include <QEvent>
#include <QLineEdit>
#include <QWidget>
#include <cmath>

#include "password.h"
#include "program_context.h"
#include "twips.h"

void SetTopMost(QWidget* window, int flag) {
    if (flag == -1 || flag == 0) {
        const bool wasQuiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
        const QPoint pos = window->pos();
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->setWindowFlag(Qt::WindowStaysOnTopHint, flag == -1);  // hides the window
        window->move(pos);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, wasQuiet);
    } else {
        window->show();
        window->raise();
    }
}

QPoint centerPosition(QSizeF screen, QSizeF window) {
    // nearbyint rounds half to even in the default rounding mode; integer division truncates toward zero.
    const auto dx = static_cast<long long>(std::nearbyint(screen.width() - window.width()));
    const auto dy = static_cast<long long>(std::nearbyint(screen.height() - window.height()));
    return {static_cast<int>(dx / 2), static_cast<int>(dy / 2)};
}

void CenterForm(ProgramContext& ctx, QWidget* window) {
    const QSize frame = window->isVisible() ? window->frameGeometry().size() : window->size();
    const QPoint tw = centerPosition(QSizeF(ctx.desktop.screenSizeTwips()),
                                     QSizeF(twips::fromPixels(frame.width()), twips::fromPixels(frame.height())));
    window->move(twips::point(tw.x(), tw.y()));
}

namespace {

class CloseGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A close the program asks for itself (QWidget::close) is not spontaneous; the
        // window manager's is.
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

class KeyDiscard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::KeyPress) return true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void RemoveSysMenuItems(QWidget* window) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint);
    window->installEventFilter(new CloseGuard(window));
}

void discardWindowKeys(QWidget* window) {
    window->installEventFilter(new KeyDiscard(window));
}

bool passwordAccepted(ProgramContext& ctx, QLineEdit* box, const QString& storedPassword, const QString& text,
                      const QString& caption) {
    if (password::matches(box->text(), storedPassword)) return true;
    ctx.message({text, caption, MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok});
    box->clear();
    box->setFocus();
    return false;
}
