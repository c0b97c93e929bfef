#include "tool_carrier.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Where the pointer of each drag icon is: the lit end of the torch, the tip of the swab.
QPoint hotSpot(const QString& icon) {
    return icon.endsWith(QStringLiteral("1.ico")) ? QPoint(29, 2) : QPoint(2, 2);
}

}  // namespace

ToolCarrier::ToolCarrier(QWidget* window, const QHash<QString, QPixmap>& icons) : m_window(window), m_icons(icons) {}

ToolCarrier::~ToolCarrier() {
    if (m_carrying) QGuiApplication::restoreOverrideCursor();
    watchApplication(false);
}

QCursor ToolCarrier::cursor(const QString& icon) const {
    const QPoint hot = hotSpot(icon);
    return QCursor(m_icons.value(icon), hot.x(), hot.y());
}

void ToolCarrier::watchApplication(bool on) {
    if (on == m_watching) return;
    m_watching = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool ToolCarrier::pick(const QString& icon) {
    if (m_carrying) return false;
    m_carrying = true;
    m_icon = icon;
    QGuiApplication::setOverrideCursor(cursor(icon));
    watchApplication(true);
    return true;
}

void ToolCarrier::setIcon(const QString& icon) {
    if (!m_carrying || icon == m_icon) return;
    m_icon = icon;
    QGuiApplication::changeOverrideCursor(cursor(icon));
}

void ToolCarrier::putDown() {
    if (!m_carrying) return;
    if (puttingDown) puttingDown();
    m_carrying = false;
    QGuiApplication::restoreOverrideCursor();
    if (!m_swallowRelease) watchApplication(false);
}

bool ToolCarrier::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool here = widget && widget->window() == m_window;
    auto tellMove = [&] {
        if (here && moved) moved(m_window->mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
    };
    if (type == QEvent::MouseMove && m_carrying) {
        tellMove();
        return false;
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && m_carrying) {
        tellMove();
        m_swallowRelease = true;
        putDown();
        return true;
    }
    if (type == QEvent::MouseButtonRelease && m_swallowRelease) {
        m_swallowRelease = false;
        watchApplication(false);
        return true;
    }
    return false;
}
