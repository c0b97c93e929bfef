// Renders an SVG drawing into the picture file a program loads (PNG, BMP or ICO, by the
// output's extension) at the drawing's own size, and, when a second file is named, into that
// file at twice the size, for screens of two device pixels to a logical one.
//   art_render <in.svg> <out.png|out.bmp|out.ico> [<out@2x>]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool render(QSvgRenderer& svg, const QSize& size, const char* file) {
    const QString out = QString::fromLocal8Bit(file);
    // BMP has no transparency: it gets a white ground, as the pictures' frames have.
    const bool opaque = out.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (image.save(out)) return true;
    std::fprintf(stderr, "art_render: cannot write %s\n", file);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: art_render in.svg out.(png|bmp|ico) [out@2x]\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "art_render: cannot read %s\n", argv[1]);
        return 1;
    }
    const QSize size = svg.defaultSize();
    if (!render(svg, size, argv[2])) return 1;
    if (argc == 4 && !render(svg, 2 * size, argv[3])) return 1;
    return 0;
}
