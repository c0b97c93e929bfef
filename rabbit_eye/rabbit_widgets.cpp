#include "rabbit_widgets.h"

#include <QPainter>
#include <algorithm>

#include "twips.h"

RabShape::RabShape(const QString& name, QColor outline, QColor fill, QWidget* parent)
    : QWidget(parent), m_outline(outline), m_fill(fill) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RabShape::placeTwips(double left, double top, double width, double height) {
    // Both edges are rounded, so that neighbouring shapes meet where their twips do.
    const int x0 = twips::toPixels(left), y0 = twips::toPixels(top);
    const int x1 = twips::toPixels(left + width), y1 = twips::toPixels(top + height);
    setGeometry(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0));
}

void RabShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_fill.isValid()) p.fillRect(rect(), m_fill);
    if (m_outline.isValid()) {
        p.setPen(QPen(m_outline, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

PupilShape::PupilShape(const QString& name, QWidget* view) : QWidget(view) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(view->rect());
}

void PupilShape::setBox(const PupilBox& box) {
    if (box == m_box) return;
    m_box = box;
    update();
}

QRectF PupilShape::circle() const {
    const double d = std::max(0.0, std::min(m_box.Width, m_box.Height)) / twips::perPixel;
    const double cx = (m_box.Left + m_box.Width / 2) / twips::perPixel;
    const double cy = (m_box.Top + m_box.Height / 2) / twips::perPixel;
    return {cx - d / 2, cy - d / 2, d, d};
}

void PupilShape::paintEvent(QPaintEvent*) {
    const QRectF c = circle();
    if (c.width() <= 0) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour());
    p.drawEllipse(c);
}
