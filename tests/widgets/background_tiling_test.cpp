#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "widgets/background_tiling.h"

namespace {

QPixmap patternTile() {
    QImage tile(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            tile.setPixel(x, y, qRgb(40 * x, 100 * y, 7));
        }
    }
    return QPixmap::fromImage(tile);
}

TEST(BackgroundTiling, TilesRowByRowFromTheAreaTopLeft) {
    const QPixmap tile = patternTile();
    QImage canvas(11, 7, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        widgets::tileBackground(painter, tile, QRect(1, 2, 10, 5));
    }
    const QImage expected = tile.toImage();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = x >= 1 && y >= 2;
            const QRgb want =
                inside ? expected.pixel((x - 1) % 3, (y - 2) % 2) : qRgb(255, 255, 255);
            EXPECT_EQ(canvas.pixel(x, y), want) << x << "," << y;
        }
    }
}

TEST(BackgroundTiling, NullTileDrawsNothing) {
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        widgets::tileBackground(painter, QPixmap(), canvas.rect());
    }
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_TRUE(widgets::loadBackgroundTile(QStringLiteral(":/images/none.svg")).isNull());
}

}  // namespace
