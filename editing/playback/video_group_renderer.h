#pragma once

// The pictures of a video group, frame after frame (run through PlayoutPump by the render and
// the preview).

#include "editing/core/picture.h"
#include "editing/playback/source_failure.h"
#include "editing/playback/video_source_reader.h"
#include "editing/timeline/timeline_model.h"
#include "editing/transitions/transition.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editing {

// Fixed for every render and preview, so random transitions look the same each time a time
// line is shown or written.
inline constexpr std::uint32_t kRenderTransitionSeed = 0x5EED0F1Du;

// Composites a video group at increasing output times. Sources are indexed by start time;
// only those that cover the current time are open (a source opens when it is first shown and
// closes when its span has passed), so memory does not grow with the number of tracks.
// Only the tracks that can be seen are decoded: the topmost track covers everything beneath
// it, except while its transition runs.
//
// Threading: one thread; times passed to render() never decrease (the first may lie anywhere:
// a preview that starts part way opens each source near its time).
class VideoGroupRenderer {
  public:
    using ErrorReporter = SourceFailureReporter;

    // `group` must outlive the renderer.
    VideoGroupRenderer(const GroupModel& group, std::uint32_t transitionSeed,
                       ErrorReporter reportError);
    ~VideoGroupRenderer();

    void render(RefTime time, Picture& out);

  private:
    struct SourceSlot {
        int track = 0;
        const SourceModel* source = nullptr;
    };
    struct ActiveSource {
        SourceSlot slot;
        std::unique_ptr<VideoSourceReader> reader;  // opened when first shown
        const TransitionModel* transitionModel = nullptr;
        std::unique_ptr<Transition> transition;
    };

    void updateActive(RefTime time);
    void composite(std::size_t belowActiveIndex, RefTime time, Picture& out);
    const Picture& pictureOf(ActiveSource& active, RefTime time);
    Transition* transitionAt(ActiveSource& active, RefTime time, double& progress);

    const GroupModel& group_;
    std::uint32_t transitionSeed_;
    ErrorReporter reportError_;
    std::vector<SourceSlot> byStart_;
    std::size_t nextToActivate_ = 0;
    std::vector<ActiveSource> active_;  // ordered by track, bottom first
};

}  // namespace editing
