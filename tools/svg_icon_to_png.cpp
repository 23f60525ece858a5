// svg_icon_to_png INPUT.svg SIZE OUTPUT.png
//
// Draws a scalable program icon as a SIZE x SIZE pixel PNG with a transparent background, for
// the icon theme sizes desktops ask for. Runs at build time; exits non-zero with a message when
// the SVG does not load or the PNG cannot be written, so the build stops instead of installing
// an empty icon. Needs no application object or display: the icons are shapes only (no text,
// which would need Qt's font database and so a QGuiApplication).

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: svg_icon_to_png INPUT.svg SIZE OUTPUT.png\n");
        return 2;
    }
    const QString inputPath = QString::fromLocal8Bit(argv[1]);
    bool sizeIsNumber = false;
    const int sizePixels = QString::fromLocal8Bit(argv[2]).toInt(&sizeIsNumber);
    const QString outputPath = QString::fromLocal8Bit(argv[3]);
    if (!sizeIsNumber || sizePixels <= 0 || sizePixels > 1024) {
        std::fprintf(stderr, "svg_icon_to_png: size must be 1 to 1024 pixels, not %s\n", argv[2]);
        return 2;
    }

    QSvgRenderer renderer(inputPath);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svg_icon_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(sizePixels, sizePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(outputPath, "PNG")) {
        std::fprintf(stderr, "svg_icon_to_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
