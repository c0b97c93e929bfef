#include "setup_picture.h"

#include <QLabel>
#include <QPainter>

#include "heart_model.h"
#include "pictures.h"
#include "twips.h"

SetupPicture::SetupPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setFixedSize(220, 330);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the canvas covers the whole picture
    paintCanvas(devicePixelRatioF());
    m_contracted = new QLabel(this);
    m_contracted->setObjectName(QStringLiteral("Img_hrtdia"));
    m_contracted->setPixmap(dataPicture(QStringLiteral("heart_sys.png")));
    m_contracted->setGeometry(50, 20, 120, 140);
    m_relaxed = new QLabel(this);
    m_relaxed->setObjectName(QStringLiteral("Img_hrtsys"));
    m_relaxed->setPixmap(dataPicture(QStringLiteral("heart_dia.png")));
    m_relaxed->setGeometry(50, 20, 120, 140);
    m_contracted->hide();
}

void SetupPicture::paintCanvas(qreal ratio) {
    m_canvas = QImage(size() * ratio, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(QColor(0xf6, 0xf3, 0xea));
    QPainter p(&m_canvas);
    const QPixmap art = dataPicture(QStringLiteral("heart_setup.png"), ratio);
    if (!art.isNull()) p.drawPixmap(0, 0, art);
    for (int y : m_lever) drawLever(p, y);
}

namespace {

constexpr int leverPenWidth = 2;

QLineF leverLine(int yTwips) {
    return {QPointF(50.0 / twips::perPixel, double(yTwips) / twips::perPixel),
            QPointF(1000.0 / twips::perPixel, 4200.0 / twips::perPixel)};
}

}  // namespace

void SetupPicture::drawLever(QPainter& p, int yTwips) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(Qt::black, leverPenWidth));
    p.drawLine(leverLine(yTwips));
}

QRect SetupPicture::leverRect(int yTwips) {
    const QLineF line = leverLine(yTwips);
    // The pen's width around the line, and a pixel for the rounding to whole pixels.
    const double margin = leverPenWidth + 1;
    return QRectF(line.p1(), line.p2()).normalized().adjusted(-margin, -margin, margin, margin).toAlignedRect();
}

void SetupPicture::invertLever(int yTwips) {
    if (yTwips == 0) return;
    // Inverting twice at one height takes the lever away.
    if (!m_lever.removeOne(yTwips)) m_lever.append(yTwips);
    QPainter p(&m_canvas);
    drawLever(p, yTwips);
    update(leverRect(yTwips));
}

void SetupPicture::showContracted(bool contracted) {
    m_contracted->setVisible(contracted);
    m_relaxed->setVisible(!contracted);
}

void SetupPicture::paintEvent(QPaintEvent*) {
    // The widget was made before it had a screen, or it has moved to another.
    if (devicePixelRatioF() != m_canvas.devicePixelRatio()) paintCanvas(devicePixelRatioF());
    QPainter p(this);
    p.drawImage(0, 0, m_canvas);
}

LeverBeat::LeverBeat(SetupPicture* picture, HeartModel& model, QObject* parent)
    : QObject(parent), m_picture(picture), m_model(model) {
    m_interval.setObjectName(QStringLiteral("lever1"));
    m_frames.setObjectName(QStringLiteral("LeverFrames"));
    // 25 frames a second: the lever's movement still looks continuous, and every frame is a
    // repaint and a trip to the window system, which is most of what a recording heart costs.
    m_frames.setInterval(40);
    connect(&m_interval, &QTimer::timeout, this, &LeverBeat::beginBeat);
    connect(&m_frames, &QTimer::timeout, this, &LeverBeat::frame);
}

void LeverBeat::setGeometry(int rest, int stroke) {
    m_rest = rest;
    m_stroke = stroke;
}

void LeverBeat::start(int intervalMs) {
    if (intervalMs <= 0)
        stop();  // a heart that does not beat
    else
        m_interval.start(intervalMs);
}

void LeverBeat::stop() {
    m_interval.stop();
    settle();
}

void LeverBeat::settle() {
    if (m_step >= 0) finishBeat();
}

int LeverBeat::heightAt(int step) const {
    const int half = m_steps / 2;
    return step < half ? m_rest - (1 + 16 * step) : m_rest - m_stroke + (1 + 16 * (step - half));
}

void LeverBeat::beginBeat() {
    if (m_step >= 0) finishBeat();
    m_picture->invertLever(m_model.lastneedle());  // the resting lever goes
    m_model.leverDrawnAt(0);
    m_steps = 2 * ((m_stroke - 1) / 16 + 1);
    m_step = 0;
    m_drawn = 0;
    // The beat takes about 60 % of the interval, at least long enough to be seen.
    const int frames = std::max(6, m_interval.interval() * 6 / 10 / m_frames.interval());
    m_frames.setProperty("stride", std::max(1, (m_steps + frames - 1) / frames));
    m_frames.start();
}

void LeverBeat::frame() {
    if (m_step < 0) return;
    if (m_drawn) m_picture->invertLever(m_drawn);
    if (m_step >= m_steps) {
        m_drawn = 0;
        finishBeat();
        return;
    }
    m_drawn = heightAt(m_step);
    m_picture->invertLever(m_drawn);
    m_picture->showContracted(m_step < m_steps / 2);  // rising: systole
    m_step += m_frames.property("stride").toInt();
}

void LeverBeat::finishBeat() {
    m_frames.stop();
    if (m_drawn) m_picture->invertLever(m_drawn);
    m_drawn = 0;
    m_step = -1;
    m_picture->showContracted(false);
    // At rest just below where the fall's counting passed the stroke (4250 − 500 + 513 = 4263).
    const int v = 1 + 16 * ((m_stroke - 1) / 16 + 1);
    m_model.leverDrawnAt(m_rest - m_stroke + v);
    m_picture->invertLever(m_model.lastneedle());
}

void LeverBeat::beatNow() {
    beginBeat();
    while (m_step >= 0) frame();
}
