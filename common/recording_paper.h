#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>
#include <vector>

class QPainter;

// The paper of a kymograph: a persistent picture up to 16383 pixels wide that grows to the
// right as the recording goes on. It is held in tiles, so growing allocates a tile now and
// then and never copies what is already drawn; drawing touches only the tiles under it.
// Whatever is drawn is ink on the ground, so a pixel is kept as one byte, how much ink it
// holds (0 the ground, 255 the ink; smoothed text edges in between), and is shown in the
// colour that much ink gives: a full paper takes a quarter of the memory of a colour picture.
// A colour drawn with counts as its share of the way from the ground to the ink.
// Coordinates are paper pixels, y downwards. Lines and arcs end at the width; a label is
// kept whole (see text()).
class RecordingPaper {
public:
    static constexpr int maxWidth = 16383;
    static constexpr int tileWidth = 512;

    RecordingPaper(int width, int height, QColor background, QColor ink);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int initialWidth() const { return m_initialWidth; }
    bool full() const { return m_width >= maxWidth; }
    QColor background() const { return m_background; }
    QColor ink() const { return m_ink; }

    // Grows the paper by `pixels` to the right, never beyond maxWidth; returns the new width.
    int grow(int pixels);
    // Erases everything and returns the paper to its first width.
    void reset();

    // One-pixel line, both ends drawn.
    void line(QPoint a, QPoint b) { line(a, b, m_ink); }
    void line(QPoint a, QPoint b, QColor color);
    // Elliptical arc around `centre` with radii rx, ry, from angle `start` to `end` (radians,
    // counter-clockwise from +x with y drawn upwards).
    void arc(QPointF centre, double rx, double ry, double start, double end, QColor color);
    void arc(QPointF centre, double rx, double ry, double start, double end) { arc(centre, rx, ry, start, end, m_ink); }
    // Text with its top-left corner at `topLeft`, kept whole: what runs past the width shows
    // once the paper has grown; at the first and the last pixel of the longest paper the text
    // is moved in so that it fits.
    void text(QPoint topLeft, const QString& text, const QFont& font, QColor color);
    void text(QPoint topLeft, const QString& s, const QFont& font) { text(topLeft, s, font, m_ink); }
    void setPixel(QPoint p, QColor color);

    QColor pixel(int x, int y) const;

    // How a part of the paper is painted: as on screen, or for a printout, where the ground is
    // white and whatever is drawn on it is dark in proportion to how far its colour is from the
    // ground towards the ink (so that smoothed text edges stay smooth).
    enum class Rendition { Screen, Print };

    // Paints the paper part `source` (paper pixels, fractions allowed) into `target`.
    void drawPart(QPainter& painter, const QRectF& target, const QRectF& source,
                  Rendition rendition = Rendition::Screen) const;

    // Memory held by the tiles, in bytes.
    qint64 bytes() const;

private:
    template <typename Draw>
    void draw(int left, int right, Draw&& draw);
    void ensureTiles(int right);
    // How much ink `color` is: its distance from the ground over the ink's, 0 to 255.
    int inkOf(QColor color) const;
    // The pixels `part` of a tile as a picture in the given rendition.
    QImage rendered(const QImage& tile, const QRect& part, Rendition rendition) const;

    int m_width, m_height, m_initialWidth;
    QColor m_background, m_ink;
    QList<QRgb> m_shades;         // the colour of each amount of ink
    std::vector<QImage> m_tiles;  // Format_Grayscale8: the ink of each pixel
};

// The fixed window onto a paper: shows the paper from its left offset (0 or negative, as a
// paper inside a frame would be moved) and repaints only what shows. Moving the paper
// scrolls what is on show and paints only the part that comes into view.
class PaperView : public QWidget {
    Q_OBJECT
public:
    PaperView(const RecordingPaper& paper, QWidget* parent = nullptr);
    // The paper's left edge relative to the view (0 or negative).
    int paperLeft() const { return m_paperLeft; }
    void setPaperLeft(int left);
    // Repaints the view where paper pixels [left, right) show.
    void paperChanged(int left, int right);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RecordingPaper& m_paper;
    int m_paperLeft = 0;
};
