#include "editing/preview/clip_stills.h"

#include "editing/playback/video_source_reader.h"

#include <algorithm>
#include <future>
#include <optional>

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

bool isCancelled(const TransitionStillsRequest& request) {
    return request.cancelled != nullptr && request.cancelled->load();
}

// The picture at `end`, decoded forward from where `reader` stands in small steps, so that a
// cancel is noticed between pictures however far the key frame lies before `end`. Nothing when
// cancelled.
std::optional<Picture> decodeForwardTo(VideoSourceReader& reader, RefTime end,
                                       const TransitionStillsRequest& request) {
    constexpr RefTime kStepRefTime = kRefTimePerSecond / 25;
    constexpr RefTime kLongestKeyFrameIntervalRefTime = 60 * kRefTimePerSecond;
    for (RefTime time = std::max<RefTime>(0, end - kLongestKeyFrameIntervalRefTime); time < end;
         time += kStepRefTime) {
        if (isCancelled(request)) {
            return std::nullopt;
        }
        static_cast<void>(reader.pictureAt(time));
    }
    return reader.pictureAt(end);
}

}  // namespace

void loadTransitionStills(const TransitionStillsRequest& request,
                          const TransitionStillsDelivery& deliver) {
    const bool hasPrevious = !request.previousFileName.empty();
    // The previous clip: seek to the key frame before its end (a reader holds the last frame
    // past the end), show that key frame, then decode forward to the last frame.
    std::promise<Picture> keyFramePromise;
    std::future<Picture> keyFrame = keyFramePromise.get_future();
    std::future<std::optional<Picture>> lastFrame;
    if (hasPrevious) {
        lastFrame = std::async(std::launch::async, [&request, &keyFramePromise] {
            VideoSourceReader reader =
                openedReader(request.previousFileName, request.previousDuration, request);
            // After the seek, a time before the seek point gives the first frame decoded
            // there: the key frame.
            keyFramePromise.set_value(reader.pictureAt(0));
            return decodeForwardTo(reader, request.previousDuration, request);
        });
    }
    VideoSourceReader clip = openedReader(request.fileName, request.clipStart, request);
    TransitionStills stills;
    stills.to = clip.pictureAt(request.clipStart);
    if (!hasPrevious) {
        stills.from = Picture(request.width, request.height);
        deliver(stills, StillsAccuracy::Exact);
        return;
    }
    stills.from = keyFrame.get();
    if (isCancelled(request)) {
        return;  // the future's destructor waits for the reader, which stops at its next step
    }
    deliver(stills, StillsAccuracy::KeyFrameBeforeTheEnd);
    std::optional<Picture> last = lastFrame.get();
    if (!last || isCancelled(request)) {
        return;
    }
    stills.from = std::move(*last);
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
