#include "mixer/dialogs/trim_frame_loader.h"

#include "editing/preview/clip_frame.h"
#include "editing/preview/picture_to_rgb.h"

#include <QMetaObject>

namespace mixer {

TrimFrameLoader::TrimFrameLoader(std::string fileName, int width, int height, ReadyHandler ready,
                                 QObject* parent)
    : QObject(parent),
      fileName_(std::move(fileName)),
      width_(width),
      height_(height),
      ready_(std::move(ready)) {
    worker_ = std::thread([this] { run(); });
}

TrimFrameLoader::~TrimFrameLoader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void TrimFrameLoader::show(editing::RefTime mediaTime) {
    {
        const std::lock_guard lock(mutex_);
        wanted_ = mediaTime;
    }
    wake_.notify_one();
}

void TrimFrameLoader::run() {
    editing::PictureToRgb toRgb;
    for (;;) {
        editing::RefTime mediaTime = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || wanted_.has_value(); });
            if (stopping_) {
                return;
            }
            mediaTime = *wanted_;
            wanted_.reset();
        }
        const editing::Picture picture = editing::clipFrameAt(
            {fileName_, mediaTime, width_, height_, editing::StretchMode::PreserveAspectRatio});
        QImage image(width_, height_, QImage::Format_RGB32);
        if (!toRgb.convert(picture, image.bits(), static_cast<int>(image.bytesPerLine()), width_,
                           height_)) {
            image.fill(Qt::black);
        }
        // Queued to this object: Qt drops the call when the object is gone by then.
        QMetaObject::invokeMethod(
            this, [this, mediaTime, image] { ready_(mediaTime, image); }, Qt::QueuedConnection);
    }
}

}  // namespace mixer
