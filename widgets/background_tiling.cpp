#include "widgets/background_tiling.h"

#include <QPainter>

#include <cmath>

#include "widgets/image_loading.h"

namespace widgets {

void tileBackground(QPainter& painter, const QPixmap& tile, const QRect& area) {
    if (tile.isNull() || area.isEmpty()) {
        return;
    }
    const QSize tileSize = tile.deviceIndependentSize().toSize();
    if (tileSize.isEmpty()) {
        return;
    }
    for (int y = area.top(); y <= area.bottom(); y += tileSize.height()) {
        for (int x = area.left(); x <= area.right(); x += tileSize.width()) {
            painter.drawPixmap(QPoint(x, y), tile);
        }
    }
}

QPixmap loadBackgroundTile(const QString& path, qreal devicePixelRatio) {
    const auto loaded = loadIconFile(path);
    if (!loaded) {
        return {};
    }
    return loaded->icon.pixmap(loaded->size, devicePixelRatio);
}

}  // namespace widgets
