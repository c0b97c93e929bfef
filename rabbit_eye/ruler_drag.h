#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>

#include "drag_state.h"

class QWidget;

// Drags a ruler sideways over its eye view while the left button is held on it. Each move
// over the view is told with the pointer's place in twips of the view and whether it
// entered or moves over it; off the view nothing is told: the ruler stays where it was
// last seen over the eye.
class RulerDrag : public QObject {
    Q_OBJECT
public:
    using Moved = std::function<void(double x, double y, DragState state)>;
    void watch(QWidget* ruler, QWidget* view, Moved moved);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ruler {
        QWidget* ruler;
        QWidget* view;
        Moved moved;
    };
    void dragTo(const Ruler& r, QPoint globalPos);

    QVector<Ruler> m_rulers;
    QPointer<QWidget> m_dragged;  // the ruler held
    bool m_inside = false;        // the pointer was over its view
};
