#pragma once

// Helpers that look at rendered widgets the way a user does: which pixels have which colour.
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

namespace widget_tests {

inline QImage render(QWidget& widget) {
    QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    return image;
}

inline bool sameColour(QRgb pixel, const QColor& colour, int tolerance = 0) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// Bounding box of the pixels for which `matches` holds; nullopt when there are none.
inline std::optional<QRect> boundingBox(const QImage& image,
                                        const std::function<bool(QRgb)>& matches) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (matches(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

inline int countPixels(const QImage& image, const std::function<bool(QRgb)>& matches) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += matches(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

inline bool isDark(QRgb pixel) {
    return qGray(pixel) < 100;
}

// A palette whose 3-D colours are easy to tell apart in a rendering.
inline QPalette distinctPalette() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::Light, QColor(255, 255, 255));
    palette.setColor(QPalette::Midlight, QColor(224, 224, 224));
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::Shadow, QColor(0, 0, 0));
    return palette;
}

}  // namespace widget_tests
