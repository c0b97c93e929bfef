#include "ruler_drag.h"

#include <QMouseEvent>
#include <QWidget>

#include "twips.h"

void RulerDrag::watch(QWidget* ruler, QWidget* view, Moved moved) {
    m_rulers.push_back({ruler, view, std::move(moved)});
    ruler->installEventFilter(this);
}

void RulerDrag::dragTo(const Ruler& r, QPoint globalPos) {
    const QPoint p = r.view->mapFromGlobal(globalPos);
    const bool inside = r.view->rect().contains(p);
    const DragState state = !inside ? DragState::Leaving : m_inside ? DragState::Over : DragState::Entering;
    m_inside = inside;
    if (state == DragState::Leaving) return;
    r.moved(twips::fromPixels(p.x()), twips::fromPixels(p.y()), state);
}

bool RulerDrag::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    for (const Ruler& r : std::as_const(m_rulers)) {
        if (watched != r.ruler) continue;
        const auto* e = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && e->button() == Qt::LeftButton) {
            m_dragged = r.ruler;
            m_inside = false;
            return true;
        }
        if (type == QEvent::MouseMove && m_dragged == r.ruler) {
            dragTo(r, e->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_dragged == r.ruler) {
            m_dragged = nullptr;
            return true;
        }
    }
    return false;
}
