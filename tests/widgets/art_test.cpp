// The programs' art: every image the catalogue names is compiled in, loads at its stored size,
// renders sharp at 2x and is listed in the images README with its resource number.
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>

#include "mixer/orvindel_art.h"
#include "recorder/ambrevo_art.h"
#include "widgets/background_tiling.h"
#include "widgets/image_loading.h"

namespace {

namespace art {
namespace orvindel = mixer::art;
namespace ambrevo = recorder::art;
}  // namespace art

struct ArtEntry {
    const char* path;
    int resourceId;
    QSize size;
};

const std::vector<ArtEntry>& catalogue() {
    static const std::vector<ArtEntry> entries = {
        {art::orvindel::kProgramIcon, 128, {48, 48}},
        {art::orvindel::kBackgroundTile, 139, {32, 32}},
        {art::orvindel::kAddMedia, 140, {32, 32}},
        {art::orvindel::kHandCursor, 141, {32, 32}},
        {art::orvindel::kOptions, 146, {32, 32}},
        {art::orvindel::kHelp, 148, {32, 32}},
        {art::orvindel::kDeleteSelected, 152, {16, 16}},
        {art::orvindel::kDeleteAll, 154, {16, 16}},
        {art::orvindel::kProperties, 155, {16, 16}},
        {art::orvindel::kExit, 159, {32, 32}},
        {art::orvindel::kMix, 160, {32, 32}},
        {art::orvindel::kPreview, 161, {32, 32}},
        {art::ambrevo::kProgramIcon, 103, {48, 48}},
        {art::ambrevo::kBackgroundTile, 133, {32, 32}},
        {art::ambrevo::kHoverCursor, 140, {32, 32}},
        {art::ambrevo::kRecord, 141, {24, 24}},
        {art::ambrevo::kPause, 142, {24, 24}},
        {art::ambrevo::kStop, 143, {24, 24}},
    };
    return entries;
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
        }
    }
    return count;
}

TEST(Art, EveryCatalogueImageLoadsAtItsSizeAndRendersAt2x) {
    for (const ArtEntry& entry : catalogue()) {
        const QString path = QString::fromLatin1(entry.path);
        const auto loaded = widgets::loadIconFile(path);
        ASSERT_TRUE(loaded.has_value()) << entry.path;
        EXPECT_EQ(loaded->size, entry.size) << entry.path;
        const QImage twice = loaded->icon.pixmap(entry.size, 2.0).toImage();
        EXPECT_EQ(twice.size(), entry.size * 2) << entry.path;
        EXPECT_GT(opaquePixels(twice), twice.width() * twice.height() / 10) << entry.path;
    }
}

TEST(Art, BackgroundTilesAreOpaque) {
    for (const char* path : {art::orvindel::kBackgroundTile, art::ambrevo::kBackgroundTile}) {
        const QImage tile = widgets::loadBackgroundTile(QString::fromLatin1(path)).toImage();
        ASSERT_FALSE(tile.isNull()) << path;
        EXPECT_EQ(opaquePixels(tile), tile.width() * tile.height()) << path;
    }
}

TEST(Art, CursorsLoadWithTheirHotSpots) {
    const auto hand =
        widgets::loadCursorFile(art::orvindel::kHandCursor, art::orvindel::kHandCursorHotSpot);
    ASSERT_TRUE(hand.has_value());
    EXPECT_EQ(hand->hotSpot(), art::orvindel::kHandCursorHotSpot);
    // The hot spot sits on the drawn fingertip, not on empty space.
    const QImage image = hand->pixmap().toImage();
    const qreal ratio = hand->pixmap().devicePixelRatio();
    const QPoint tip = art::orvindel::kHandCursorHotSpot * ratio;
    EXPECT_GT(qAlpha(image.pixel(tip.x(), tip.y() + static_cast<int>(ratio))), 0);
}

TEST(Art, ReadmeListsEveryImageWithItsResourceNumber) {
    const QString imagesFolder = QStringLiteral(ORVINDEL_SOURCE_DIR "/resources/images");
    QFile readme(imagesFolder + QStringLiteral("/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    for (const ArtEntry& entry : catalogue()) {
        const QString relative =
            QString::fromLatin1(entry.path).mid(QStringLiteral(":/images/").size());
        EXPECT_TRUE(
            text.contains(QStringLiteral("| %1 | %2 |").arg(relative).arg(entry.resourceId)))
            << entry.path;
    }
    // And nothing in the folder is left out of the catalogue.
    int files = 0;
    QDirIterator images(imagesFolder, {QStringLiteral("*.svg"), QStringLiteral("*.png")},
                        QDir::Files, QDirIterator::Subdirectories);
    while (images.hasNext()) {
        images.next();
        ++files;
    }
    EXPECT_EQ(files, static_cast<int>(catalogue().size()));
}

}  // namespace
