// Renders an SVG icon to a square PNG of the given size, for the icon theme's fixed-size
// folders. Runs at build time.
//
// Usage: kfg-render-icon INPUT.svg SIZE OUTPUT.png
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: kfg-render-icon INPUT.svg SIZE OUTPUT.png\n");
        return 2;
    }
    bool number = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&number);
    if (!number || size < 1 || size > 4096) {
        std::fprintf(stderr, "kfg-render-icon: the size must be 1 to 4096 pixels, not %s\n",
                     argv[2]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kfg-render-icon: cannot read the SVG file %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "kfg-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
