#pragma once

#include <QColor>
#include <QWidget>

#include "rabbit_model.h"

// A rectangle of the eye panels, placed in twips: an outline, a filled bar or both
// (a one-pixel-wide one is a line). It never takes the mouse.
class RabShape : public QWidget {
    Q_OBJECT
public:
    RabShape(const QString& name, QColor outline, QColor fill, QWidget* parent);
    void placeTwips(double left, double top, double width, double height);
    QColor outline() const { return m_outline; }
    QColor fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_outline, m_fill;  // an invalid colour draws nothing
};

// The pupil in the magnified eye view: a filled circle whose diameter is the smaller
// side of the pupil box, centred in the box. It spans the whole view so that the box
// keeps its fractions of a pixel; it never takes the mouse.
class PupilShape : public QWidget {
    Q_OBJECT
public:
    PupilShape(const QString& name, QWidget* view);
    void setBox(const PupilBox& box);
    const PupilBox& box() const { return m_box; }
    // The circle in pixels of the view.
    QRectF circle() const;

    static QColor colour() { return QColor(128, 0, 0); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PupilBox m_box;
};
