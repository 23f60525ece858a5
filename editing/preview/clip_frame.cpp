#include "editing/preview/clip_frame.h"

#include "editing/render/media_input.h"
#include "editing/render/video_source_reader.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace editing {

Picture clipFrameAt(const ClipFrameRequest& request) {
    VideoSourceReader reader(request.width, request.height, request.stretchMode);
    std::string description;
    // A file that cannot be opened reads as black.
    static_cast<void>(reader.open(request.fileName, request.mediaTime, description));
    return reader.pictureAt(request.mediaTime);
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
