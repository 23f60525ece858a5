#pragma once

#include <QCursor>
#include <QIcon>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace widgets {

// An image file or resource (SVG or bitmap) ready to draw at the size stored in it: SVG files
// are rendered for 1x and 2x screens so they stay crisp.
struct LoadedIcon {
    QIcon icon;
    QSize size;  // device-independent pixels
};

// Nothing when the file is missing or cannot be decoded.
std::optional<LoadedIcon> loadIconFile(const QString& path);

// A cursor from an image at its stored size; `hotSpot` in the image's pixels. Nothing when
// the image cannot be loaded.
std::optional<QCursor> loadCursorFile(const QString& path, QPoint hotSpot);

}  // namespace widgets
