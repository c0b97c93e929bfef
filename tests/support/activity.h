#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// What a window does: the timers it keeps running, and what it repaints.
namespace activity {

// The names of the timers under `owner` that are running.
inline QStringList runningTimers(const QObject* owner) {
    QStringList names;
    for (const QTimer* t : owner->findChildren<QTimer*>())
        if (t->isActive()) names << t->objectName();
    names.sort();
    return names;
}

// Every paint event a widget receives from now on: each event's region, in widget pixels.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    const QList<QRegion>& events() const { return m_events; }
    QRegion painted() const {
        QRegion all;
        for (const QRegion& r : m_events) all += r;
        return all;
    }
    void clear() { m_events.clear(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_events << static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QList<QRegion> m_events;
};

// Paints and shows what `window` was asked to repaint so far, now, rather than at the
// window system's next frame.
inline void repaintNow(QWidget* window) {
    QCoreApplication::processEvents();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
}

inline int area(const QRegion& region) {
    int n = 0;
    for (const QRect& r : region) n += r.width() * r.height();
    return n;
}

// The pixels the window system holds for `widget`, which repaints of parts of it update,
// and those of a repaint of the whole widget: the same unless a partial repaint left
// something stale.
inline QImage shown(QWidget* widget) {
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint());
    return window->windowHandle()
        ->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}
inline QImage repainted(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace activity
