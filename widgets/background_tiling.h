#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

namespace widgets {

// Fills `area` with copies of `tile` laid from the area's top-left corner, row by row, each at
// the tile's own size (device-independent pixels). Nothing is drawn for a null tile.
void tileBackground(QPainter& painter, const QPixmap& tile, const QRect& area);

// Loads a tile from an image file or resource (":/images/...", PNG or SVG) at its stored size,
// rendered for `devicePixelRatio` so it stays crisp on high-density screens. A null pixmap
// when it cannot be loaded.
QPixmap loadBackgroundTile(const QString& path, qreal devicePixelRatio = 1.0);

}  // namespace widgets
