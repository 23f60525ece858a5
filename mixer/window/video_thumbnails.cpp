#include "mixer/window/video_thumbnails.h"

#include "editing/preview/clip_frame.h"
#include "editing/preview/picture_to_rgb.h"

#include <QIcon>
#include <QPixmap>
#include <QTreeWidget>

namespace mixer {

namespace {

constexpr QRgb kStandInGrey = qRgb(128, 128, 128);

// The decode in device pixels, so the picture is sharp on a scaled screen.
QSize devicePixels(const QTreeWidget& view) {
    return VideoThumbnails::kSize * view.devicePixelRatioF();
}

QImage decodeThumbnail(const std::string& fileName, RefTime inPointRefTime, QSize size) {
    const std::optional<editing::Picture> picture =
        editing::readableClipFrameAt({fileName, inPointRefTime, size.width(), size.height(),
                                      editing::StretchMode::PreserveAspectRatio});
    if (!picture) {
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    editing::PictureToRgb converter;
    if (!converter.convert(*picture, image.bits(), static_cast<int>(image.bytesPerLine()),
                           image.width(), image.height())) {
        return {};
    }
    return image;
}

QIcon iconOf(const QImage& image, const QTreeWidget& view) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(view.devicePixelRatioF());
    return QIcon(pixmap);
}

}  // namespace

VideoThumbnails::VideoThumbnails(QTreeWidget& view, const std::vector<VideoEntry>& videos,
                                 QObject* parent)
    : QObject(parent), view_(view), videos_(videos) {
    worker_.setMaxThreadCount(1);
    view_.setIconSize(kSize);
}

VideoThumbnails::~VideoThumbnails() {
    closing_ = true;
    worker_.clear();
    worker_.waitForDone();
}

VideoThumbnails::Key VideoThumbnails::keyOf(const std::string& fileName, RefTime inPointRefTime) {
    return QString::fromStdString(fileName) + QLatin1Char('\n') + QString::number(inPointRefTime);
}

std::optional<QImage> VideoThumbnails::picture(const std::string& fileName,
                                               RefTime inPointRefTime) const {
    const auto found = pictures_.constFind(keyOf(fileName, inPointRefTime));
    if (found == pictures_.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void VideoThumbnails::showInRows() {
    QImage standIn(devicePixels(view_), QImage::Format_RGB32);
    standIn.fill(kStandInGrey);
    const QIcon standInIcon = iconOf(standIn, view_);
    const int rows = std::min(view_.topLevelItemCount(), static_cast<int>(videos_.size()));
    for (int row = 0; row < rows; ++row) {
        const VideoEntry& entry = videos_[static_cast<std::size_t>(row)];
        const auto found = pictures_.constFind(keyOf(entry.FileName, entry.InPoint));
        const bool known = found != pictures_.constEnd() && !found->isNull();
        view_.topLevelItem(row)->setIcon(0, known ? iconOf(*found, view_) : standInIcon);
        if (found == pictures_.constEnd()) {
            queueDecode(entry.FileName, entry.InPoint);
        }
    }
}

void VideoThumbnails::queueDecode(const std::string& fileName, RefTime inPointRefTime) {
    const Key key = keyOf(fileName, inPointRefTime);
    if (queued_.contains(key)) {
        return;
    }
    queued_.insert(key);
    const QSize size = devicePixels(view_);
    worker_.start([this, fileName, inPointRefTime, size, key] {
        if (closing_) {
            return;
        }
        const QImage image = decodeThumbnail(fileName, inPointRefTime, size);
        // Queued to the window thread; dropped with this object if it is destroyed first.
        QMetaObject::invokeMethod(
            this, [this, key, image] { takeDecoded(key, image); }, Qt::QueuedConnection);
    });
}

void VideoThumbnails::takeDecoded(const Key& key, const QImage& image) {
    queued_.remove(key);
    pictures_.insert(key, image);
    if (image.isNull()) {
        return;
    }
    const QIcon icon = iconOf(image, view_);
    const int rows = std::min(view_.topLevelItemCount(), static_cast<int>(videos_.size()));
    for (int row = 0; row < rows; ++row) {
        const VideoEntry& entry = videos_[static_cast<std::size_t>(row)];
        if (keyOf(entry.FileName, entry.InPoint) == key) {
            view_.topLevelItem(row)->setIcon(0, icon);
        }
    }
    emit pictureReady();
}

}  // namespace mixer
