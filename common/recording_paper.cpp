#include "recording_paper.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

RecordingPaper::RecordingPaper(int width, int height, QColor background, QColor ink)
    : m_width(std::clamp(width, 1, maxWidth)),
      m_height(height),
      m_initialWidth(m_width),
      m_background(background),
      m_ink(ink) {
    for (int amount = 0; amount < 256; ++amount) {
        auto mix = [amount](int ground, int ink) { return (ground * (255 - amount) + ink * amount + 127) / 255; };
        m_shades << qRgb(mix(background.red(), ink.red()), mix(background.green(), ink.green()),
                         mix(background.blue(), ink.blue()));
    }
    ensureTiles(m_width);
}

void RecordingPaper::ensureTiles(int right) {
    while (static_cast<int>(m_tiles.size()) * tileWidth < right) {
        QImage tile(tileWidth, m_height, QImage::Format_Grayscale8);
        tile.fill(0);
        m_tiles.push_back(std::move(tile));
    }
}

int RecordingPaper::inkOf(QColor color) const {
    const int full =
        std::max(1, std::abs(m_ink.red() - m_background.red()) + std::abs(m_ink.green() - m_background.green()) +
                        std::abs(m_ink.blue() - m_background.blue()));
    const int distance = std::abs(color.red() - m_background.red()) + std::abs(color.green() - m_background.green()) +
                         std::abs(color.blue() - m_background.blue());
    return (255 * std::min(distance, full) + full / 2) / full;
}

int RecordingPaper::grow(int pixels) {
    m_width = std::clamp(m_width + pixels, 1, maxWidth);
    ensureTiles(m_width);
    return m_width;
}

void RecordingPaper::reset() {
    m_width = m_initialWidth;
    m_tiles.resize((m_width + tileWidth - 1) / tileWidth);
    for (QImage& tile : m_tiles) tile.fill(0);
}

template <typename Draw>
void RecordingPaper::draw(int left, int right, Draw&& drawOn) {
    left = std::max(left, 0);
    right = std::min(right, static_cast<int>(m_tiles.size()) * tileWidth);
    for (int t = left / tileWidth; t * tileWidth < right; ++t) {
        QPainter p(&m_tiles[t]);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-t * tileWidth, 0);
        p.setClipRect(QRect(left, 0, right - left, m_height));
        drawOn(p);
    }
}

void RecordingPaper::line(QPoint a, QPoint b, QColor color) {
    const int ink = inkOf(color);
    if (a.x() == b.x()) {
        // A stroke of the pen, the recorders' commonest line: written straight into its tile.
        if (a.x() < 0 || a.x() >= m_width) return;
        QImage& tile = m_tiles[a.x() / tileWidth];
        for (int y = std::max(std::min(a.y(), b.y()), 0); y <= std::min(std::max(a.y(), b.y()), m_height - 1); ++y)
            tile.scanLine(y)[a.x() % tileWidth] = static_cast<uchar>(ink);
        return;
    }
    draw(std::min(a.x(), b.x()), std::min(std::max(a.x(), b.x()) + 1, m_width), [&](QPainter& p) {
        p.setPen(QPen(QColor(ink, ink, ink), 0));
        p.drawLine(a, b);
        p.drawPoint(b);  // the end pixel, whatever the paint engine's rule for it
    });
}

void RecordingPaper::arc(QPointF centre, double rx, double ry, double start, double end, QColor color) {
    const QRectF box(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry);
    const int ink = inkOf(color);
    draw(static_cast<int>(std::floor(box.left())) - 1, std::min(static_cast<int>(std::ceil(box.right())) + 2, m_width),
         [&](QPainter& p) {
             p.setPen(QPen(QColor(ink, ink, ink), 0));
             constexpr double sixteenthsPerRadian = 180.0 * 16.0 / M_PI;
             p.drawArc(box, static_cast<int>(std::lround(start * sixteenthsPerRadian)),
                       static_cast<int>(std::lround((end - start) * sixteenthsPerRadian)));
         });
}

void RecordingPaper::text(QPoint topLeft, const QString& s, const QFont& font, QColor color) {
    const QFontMetrics metrics(font);
    // The columns the text inks, from its x (a glyph may reach a little to the left).
    const int from = std::min(0, metrics.boundingRect(s).left());
    const int to = std::max(metrics.horizontalAdvance(s), metrics.boundingRect(s).right() + 1) + 2;
    // A label is written whole: the part past the current width waits in the tiles and
    // shows as the paper grows; at the paper's two ends the label is moved in.
    const int x = std::clamp(topLeft.x(), -from, std::max(-from, maxWidth - to));
    ensureTiles(std::min(x + to, maxWidth));
    const int ink = inkOf(color);
    draw(x + from, std::min(x + to, maxWidth), [&](QPainter& p) {
        p.setFont(font);
        p.setPen(QColor(ink, ink, ink));
        p.drawText(QPoint(x, topLeft.y() + metrics.ascent()), s);
    });
}

void RecordingPaper::setPixel(QPoint pt, QColor color) {
    if (pt.x() < 0 || pt.x() >= m_width || pt.y() < 0 || pt.y() >= m_height) return;
    m_tiles[pt.x() / tileWidth].scanLine(pt.y())[pt.x() % tileWidth] = static_cast<uchar>(inkOf(color));
}

QColor RecordingPaper::pixel(int x, int y) const {
    if (x < 0 || x >= m_width || y < 0 || y >= m_height) return {};
    return QColor(m_shades[m_tiles[x / tileWidth].constScanLine(y)[x % tileWidth]]);
}

void RecordingPaper::drawPart(QPainter& painter, const QRectF& target, const QRectF& source,
                              Rendition rendition) const {
    const double left = std::max(source.left(), 0.0);
    const double right = std::min(source.right(), static_cast<double>(m_width));
    if (right <= left || source.width() <= 0) return;
    const double scale = target.width() / source.width();
    for (int t = static_cast<int>(left) / tileWidth; t * tileWidth < right; ++t) {
        const double from = std::max(left, static_cast<double>(t * tileWidth));
        const double to = std::min(right, static_cast<double>((t + 1) * tileWidth));
        const QRectF part(from - t * tileWidth, source.top(), to - from, source.height());
        const QRectF into(target.left() + (from - source.left()) * scale, target.top(), (to - from) * scale,
                          target.height());
        const QRect pixels = part.toAlignedRect();
        painter.drawImage(into, rendered(m_tiles[t], pixels, rendition), part.translated(-pixels.topLeft()));
    }
}

QImage RecordingPaper::rendered(const QImage& tile, const QRect& part, Rendition rendition) const {
    if (rendition == Rendition::Print) {
        // White ground, the ink dark in proportion to its amount.
        QImage grey = tile.copy(part);
        grey.invertPixels();
        return grey;
    }
    // In the screen's own format, which the paint engine copies as it is (a picture it
    // had to convert would be converted span by span, and a tall narrow part is many spans).
    QImage shown(part.size(), QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
        const uchar* ink = tile.constScanLine(part.top() + y) + part.left();
        QRgb* out = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < part.width(); ++x) out[x] = m_shades[ink[x]];
    }
    return shown;
}

qint64 RecordingPaper::bytes() const {
    qint64 total = 0;
    for (const QImage& tile : m_tiles) total += tile.sizeInBytes();
    return total;
}

PaperView::PaperView(const RecordingPaper& paper, QWidget* parent) : QWidget(parent), m_paper(paper) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaperView::setPaperLeft(int left) {
    if (left == m_paperLeft) return;
    const int by = left - m_paperLeft;
    m_paperLeft = left;
    // What shows moves with the paper (and the children on it); only the strip the move
    // uncovers is painted again.
    scroll(by, 0);
}

void PaperView::paperChanged(int left, int right) {
    update(QRect(left + m_paperLeft, 0, right - left, height()));
}

void PaperView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, palette().color(QPalette::Window));
    // Paper pixel x shows at view x = x + paperLeft.
    m_paper.drawPart(p, QRectF(r), QRectF(r.left() - m_paperLeft, r.top(), r.width(), r.height()));
}
