// transition_gallery OUTPUT.png
//
// Draws the contact sheet of the transition effects for the help pages: every effect at
// progress 1/4, 1/2 and 3/4 between two test pictures (A: a gradient with shapes; B: a
// checkerboard), labelled with the effect's index and name. The effects run exactly as in a
// render, in planar YUV 4:2:0 at the thumbnail's size.

#include "editing/core/picture.h"
#include "editing/transitions/transition.h"
#include "editing/transitions/transition_catalog.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 90;
constexpr int kThumbGap = 6;
constexpr int kEffectsPerRow = 2;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 22;
constexpr int kRowGap = 12;
constexpr int kHeaderHeight = 34;
constexpr double kProgressValues[] = {0.25, 0.5, 0.75};
constexpr int kProgressCount = 3;
constexpr int kEffectWidth = kProgressCount * kThumbWidth + (kProgressCount - 1) * kThumbGap;
constexpr int kColumnGap = 28;

QImage pictureA() {
    QImage image(kThumbWidth, kThumbHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, kThumbWidth, kThumbHeight);
    gradient.setColorAt(0.0, QColor(32, 64, 160));
    gradient.setColorAt(1.0, QColor(240, 150, 40));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 240, 200));
    painter.drawEllipse(QPointF(50, 40), 22, 22);
    painter.setBrush(QColor(120, 30, 60));
    painter.drawRect(92, 20, 44, 30);
    painter.setBrush(QColor(30, 140, 90));
    const QPointF triangle[] = {{20, 84}, {70, 84}, {45, 60}};
    painter.drawPolygon(triangle, 3);
    return image;
}

QImage pictureB() {
    QImage image(kThumbWidth, kThumbHeight, QImage::Format_RGB32);
    constexpr int kSquare = 15;
    for (int y = 0; y < kThumbHeight; ++y) {
        for (int x = 0; x < kThumbWidth; ++x) {
            const bool dark = ((x / kSquare) + (y / kSquare)) % 2 == 0;
            image.setPixel(x, y, dark ? qRgb(20, 90, 40) : qRgb(235, 235, 120));
        }
    }
    return image;
}

// RGB to YUV 4:2:0: each chroma sample is the mean of its 2 x 2 block's chroma.
editing::Picture toPicture(const QImage& image) {
    editing::Picture picture(image.width(), image.height());
    const editing::PictureView view = picture.view();
    for (int cy = 0; cy < view.planes[editing::kPlaneU].height; ++cy) {
        for (int cx = 0; cx < view.planes[editing::kPlaneU].width; ++cx) {
            int sumU = 0;
            int sumV = 0;
            int count = 0;
            for (int y = 2 * cy; y < std::min(2 * cy + 2, image.height()); ++y) {
                for (int x = 2 * cx; x < std::min(2 * cx + 2, image.width()); ++x) {
                    const QRgb rgb = image.pixel(x, y);
                    std::uint8_t luma = 0;
                    std::uint8_t u = 0;
                    std::uint8_t v = 0;
                    editing::rgbToYuv(qRed(rgb), qGreen(rgb), qBlue(rgb), luma, u, v);
                    view.planes[editing::kPlaneY].row(y)[x] = luma;
                    sumU += u;
                    sumV += v;
                    ++count;
                }
            }
            view.planes[editing::kPlaneU].row(cy)[cx] =
                static_cast<std::uint8_t>((sumU + count / 2) / count);
            view.planes[editing::kPlaneV].row(cy)[cx] =
                static_cast<std::uint8_t>((sumV + count / 2) / count);
        }
    }
    return picture;
}

int clampToByte(double value) {
    return std::clamp(static_cast<int>(value + 0.5), 0, 255);
}

// BT.601 limited range back to RGB for display.
QImage toImage(const editing::Picture& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    const editing::ConstPictureView view = picture.view();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const double luma = 1.164 * (view.planes[editing::kPlaneY].row(y)[x] - 16);
            const double u = view.planes[editing::kPlaneU].row(y / 2)[x / 2] - 128;
            const double v = view.planes[editing::kPlaneV].row(y / 2)[x / 2] - 128;
            image.setPixel(
                x, y,
                qRgb(clampToByte(luma + 1.596 * v), clampToByte(luma - 0.392 * u - 0.813 * v),
                     clampToByte(luma + 2.017 * u)));
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: transition_gallery OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);

    const editing::Picture from = toPicture(pictureA());
    const editing::Picture to = toPicture(pictureB());

    const int effects = editing::kTransitionEffectCount - 1;
    const int rows = (effects + kEffectsPerRow - 1) / kEffectsPerRow;
    const int rowHeight = kLabelHeight + kThumbHeight + kRowGap;
    const int sheetWidth =
        2 * kMargin + kEffectsPerRow * kEffectWidth + (kEffectsPerRow - 1) * kColumnGap;
    const int sheetHeight = 2 * kMargin + kHeaderHeight + rows * rowHeight;
    QImage sheet(sheetWidth, sheetHeight, QImage::Format_RGB32);
    sheet.fill(QColor(248, 248, 244));

    QPainter painter(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    QFont headerFont = font;
    headerFont.setBold(true);
    painter.setFont(headerFont);
    for (int column = 0; column < kEffectsPerRow; ++column) {
        for (int step = 0; step < kProgressCount; ++step) {
            const int x =
                kMargin + column * (kEffectWidth + kColumnGap) + step * (kThumbWidth + kThumbGap);
            painter.drawText(QRect(x, kMargin, kThumbWidth, kHeaderHeight - 8),
                             Qt::AlignHCenter | Qt::AlignVCenter,
                             QString("progress %1").arg(kProgressValues[step]));
        }
    }
    painter.setFont(font);

    for (int index = 1; index < editing::kTransitionEffectCount; ++index) {
        const int slot = index - 1;
        const int left = kMargin + (slot % kEffectsPerRow) * (kEffectWidth + kColumnGap);
        const int top = kMargin + kHeaderHeight + (slot / kEffectsPerRow) * rowHeight;
        const std::string_view name = editing::transitionEffectName(index);
        painter.drawText(QRect(left, top, kEffectWidth, kLabelHeight - 4),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QString("%1  %2").arg(index).arg(
                             QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
        const auto setup = editing::transitionSetupForEffect(index, kThumbWidth, kThumbHeight, 1);
        auto transition = editing::createTransition(*setup);
        for (int step = 0; step < kProgressCount; ++step) {
            editing::Picture out(kThumbWidth, kThumbHeight);
            transition->blend(from.view(), to.view(), kProgressValues[step], out.view());
            painter.drawImage(left + step * (kThumbWidth + kThumbGap), top + kLabelHeight,
                              toImage(out));
        }
    }
    painter.end();

    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "transition_gallery: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
