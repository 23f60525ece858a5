#include "editing/preview/clip_frame.h"

#include "editing/playback/media_input.h"
#include "editing/playback/video_source_reader.h"

extern "C" {
#include <libavformat/avformat.h>
}

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
    MediaInput input;
    std::string description;
    if (failed(input.open(fileName, AVMEDIA_TYPE_VIDEO, 1, description))) {
        return {};
    }
    AVRational rate = input.stream().avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) {
        rate = input.stream().r_frame_rate;
    }
    if (rate.num <= 0 || rate.den <= 0) {
        return {};
    }
    return {rate.num, rate.den};
}

}  // namespace editing
