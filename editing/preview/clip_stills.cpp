#include "editing/preview/clip_stills.h"

#include "editing/render/video_source_reader.h"

#include <future>

namespace editing {

namespace {

// A reader of one file's pictures fitted to the stills' size. A file that cannot be opened
// reads as black (the reader shows black until it has a frame).
VideoSourceReader openedReader(const std::string& file, RefTime seekTime,
                               const TransitionStillsRequest& request) {
    VideoSourceReader reader(request.width, request.height, request.stretchMode);
    std::string description;
    if (!file.empty()) {
        static_cast<void>(reader.open(file, seekTime, description));
    }
    return reader;
}

}  // namespace

void loadTransitionStills(const TransitionStillsRequest& request,
                          const TransitionStillsDelivery& deliver) {
    const bool hasPrevious = !request.previousFileName.empty();
    // The previous clip: seek to the key frame before its end (a reader holds the last frame
    // past the end), show that key frame, then decode forward to the last frame.
    std::promise<Picture> keyFramePromise;
    std::future<Picture> keyFrame = keyFramePromise.get_future();
    std::future<Picture> lastFrame;
    if (hasPrevious) {
        lastFrame = std::async(std::launch::async, [&request, &keyFramePromise] {
            VideoSourceReader reader =
                openedReader(request.previousFileName, request.previousDuration, request);
            // After the seek, a time before the seek point gives the first frame decoded
            // there: the key frame.
            keyFramePromise.set_value(reader.pictureAt(0));
            return reader.pictureAt(request.previousDuration);
        });
    }
    VideoSourceReader clip = openedReader(request.fileName, 0, request);
    TransitionStills stills;
    stills.to = clip.pictureAt(0);
    if (!hasPrevious) {
        stills.from = Picture(request.width, request.height);
        deliver(stills, StillsAccuracy::Exact);
        return;
    }
    stills.from = keyFrame.get();
    deliver(stills, StillsAccuracy::KeyFrameBeforeTheEnd);
    stills.from = lastFrame.get();
    deliver(stills, StillsAccuracy::Exact);
}

TransitionStills loadTransitionStills(const TransitionStillsRequest& request) {
    TransitionStills exact;
    loadTransitionStills(request,
                         [&exact](const TransitionStills& stills, StillsAccuracy accuracy) {
                             if (accuracy == StillsAccuracy::Exact) {
                                 exact = stills;
                             }
                         });
    return exact;
}

}  // namespace editing
