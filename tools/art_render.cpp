// Renders an SVG drawing into the picture file a program loads (PNG, BMP or ICO, by the
// output's extension), at the drawing's own size unless a size is given.
//   art_render <in.svg> <out.png|out.bmp|out.ico> [width height]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: art_render in.svg out.(png|bmp|ico) [width height]\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "art_render: cannot read %s\n", argv[1]);
        return 1;
    }
    const QSize size = argc == 5 ? QSize(std::atoi(argv[3]), std::atoi(argv[4])) : svg.defaultSize();
    const QString out = QString::fromLocal8Bit(argv[2]);
    // BMP has no transparency: it gets a white ground, as the pictures' frames have.
    const bool opaque = out.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(out)) {
        std::fprintf(stderr, "art_render: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
