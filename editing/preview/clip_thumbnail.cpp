#include "editing/preview/clip_thumbnail.h"

#include "editing/render/video_source_reader.h"

namespace editing {

std::optional<Picture> clipPictureAt(const std::string& fileName, RefTime mediaTimeRefTime,
                                     int width, int height) {
    VideoSourceReader reader(width, height, StretchMode::PreserveAspectRatio);
    std::string description;
    if (!succeeded(reader.open(fileName, mediaTimeRefTime, description))) {
        return std::nullopt;
    }
    return reader.pictureAt(mediaTimeRefTime);
}

}  // namespace editing
