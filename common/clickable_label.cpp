#include "clickable_label.h"

#include <QMouseEvent>

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
