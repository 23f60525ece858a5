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
    // One tiled fill rather than a pixmap per tile: where the painter lands on fractions of a
    // device pixel (a widget rendered at 1.5x scale), separate pixmaps leave light seams
    // between them; a tiled fill has none.
    painter.drawTiledPixmap(area, tile);
}

QPixmap loadBackgroundTile(const QString& path, qreal devicePixelRatio) {
    const auto loaded = loadIconFile(path);
    if (!loaded) {
        return {};
    }
    return loaded->icon.pixmap(loaded->size, devicePixelRatio);
}

}  // namespace widgets
