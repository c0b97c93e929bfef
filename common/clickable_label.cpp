#include "clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    // Taking the press is what brings the release here.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && plain) {
        if (!event->isAutoRepeat()) emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = contentsRect().adjusted(2, 2, -2, -2);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
