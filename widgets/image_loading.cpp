#include "widgets/image_loading.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace widgets {
namespace {

bool isSvg(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".svgz"), Qt::CaseInsensitive);
}

QPixmap renderSvg(QSvgRenderer& renderer, QSize size, qreal devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}

}  // namespace

std::optional<LoadedIcon> loadIconFile(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return std::nullopt;
    }
    if (isSvg(path)) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
            return std::nullopt;
        }
        const QSize size = renderer.defaultSize();
        QIcon icon;
        // 1x and 2x renderings; QIcon picks the nearest and scales for other ratios.
        for (const qreal ratio : {1.0, 2.0, 3.0}) {
            icon.addPixmap(renderSvg(renderer, size, ratio));
        }
        return LoadedIcon{icon, size};
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    return LoadedIcon{QIcon(QPixmap::fromImage(image)), image.size()};
}

std::optional<QCursor> loadCursorFile(const QString& path, QPoint hotSpot) {
    const auto loaded = loadIconFile(path);
    if (!loaded) {
        return std::nullopt;
    }
    // Rendered for the screen's pixel density; the hot spot stays in device-independent
    // pixels.
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    return QCursor(loaded->icon.pixmap(loaded->size, ratio), hotSpot.x(), hotSpot.y());
}

}  // namespace widgets
