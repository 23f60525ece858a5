#include "editing/preview/clip_frame.h"

#include "editing/playback/video_source_reader.h"
#include "editing/probe/picture_format_probe.h"

namespace editing {

namespace {

// The picture at the request's time; `opened` tells whether the file could be read (a reader
// that could not open it gives black).
Picture frameAt(const ClipFrameRequest& request, bool& opened) {
    VideoSourceReader reader(request.width, request.height, request.stretchMode);
    std::string description;
    opened = succeeded(reader.open(request.fileName, request.mediaTime, description));
    return reader.pictureAt(request.mediaTime);
}

}  // namespace

Picture clipFrameAt(const ClipFrameRequest& request) {
    bool opened = false;
    return frameAt(request, opened);
}

std::optional<Picture> readableClipFrameAt(const ClipFrameRequest& request) {
    bool opened = false;
    Picture picture = frameAt(request, opened);
    if (!opened) {
        return std::nullopt;
    }
    return picture;
}

ClipFrameRate clipFrameRate(const std::string& fileName) {
    ShownPictureFormat format;
    std::string description;
    if (failed(probeShownPictureFormat(fileName, format, description))) {
        return {};
    }
    return {format.frameRateFrames, format.frameRateSeconds};
}

}  // namespace editing
