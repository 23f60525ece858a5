#include "editing/preview/clip_stills.h"

#include "editing/render/video_source_reader.h"

#include <future>

namespace editing {

namespace {

// The picture `file` shows at `mediaTime`, or black when it cannot be read.
Picture pictureOf(const std::string& file, RefTime mediaTime, int width, int height,
                  StretchMode stretchMode) {
    VideoSourceReader reader(width, height, stretchMode);
    std::string description;
    if (file.empty() || failed(reader.open(file, mediaTime, description))) {
        Picture black(width, height);
        black.fillBlack();
        return black;
    }
    return reader.pictureAt(mediaTime);
}

}  // namespace

TransitionStills loadTransitionStills(const TransitionStillsRequest& request) {
    // The last frame is the one shown at the clip's end (a reader holds it past the end).
    std::future<Picture> from = std::async(std::launch::async, [&request] {
        return pictureOf(request.previousFileName, request.previousDuration, request.width,
                         request.height, request.stretchMode);
    });
    Picture to = pictureOf(request.fileName, 0, request.width, request.height, request.stretchMode);
    return {from.get(), std::move(to)};
}

}  // namespace editing
