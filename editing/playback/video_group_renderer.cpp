#include "editing/playback/video_group_renderer.h"

#include <algorithm>

namespace editing {

VideoGroupRenderer::VideoGroupRenderer(const GroupModel& group, std::uint32_t transitionSeed,
                                       ErrorReporter reportError)
    : group_(group), transitionSeed_(transitionSeed), reportError_(std::move(reportError)) {
    for (std::size_t track = 0; track < group.tracks.size(); ++track) {
        for (const SourceModel& source : group.tracks[track].sources) {
            if (source.stop > source.start) {
                byStart_.push_back({static_cast<int>(track), &source});
            }
        }
    }
    std::stable_sort(
        byStart_.begin(), byStart_.end(),
        [](const SourceSlot& a, const SourceSlot& b) { return a.source->start < b.source->start; });
}

VideoGroupRenderer::~VideoGroupRenderer() = default;

void VideoGroupRenderer::updateActive(RefTime time) {
    std::erase_if(active_,
                  [time](const ActiveSource& active) { return active.slot.source->stop <= time; });
    while (nextToActivate_ < byStart_.size() && byStart_[nextToActivate_].source->start <= time) {
        const SourceSlot& slot = byStart_[nextToActivate_++];
        if (slot.source->stop <= time) {
            continue;  // its whole span lies between two frames
        }
        auto position = std::upper_bound(
            active_.begin(), active_.end(), slot.track,
            [](int track, const ActiveSource& active) { return track < active.slot.track; });
        ActiveSource entry;
        entry.slot = slot;
        active_.insert(position, std::move(entry));
    }
}

const Picture& VideoGroupRenderer::pictureOf(ActiveSource& active, RefTime time) {
    const SourceModel& source = *active.slot.source;
    const RefTime span = source.stop - source.start;
    const long double rate = static_cast<long double>(source.mediaStop - source.mediaStart) / span;
    const RefTime mediaTime =
        source.mediaStart +
        static_cast<RefTime>(static_cast<long double>(time - source.start) * rate);
    if (!active.reader) {
        active.reader = std::make_unique<VideoSourceReader>(
            group_.mediaType.width, group_.mediaType.height, source.stretchMode);
        // A source first shown well into its span (uncovered late, or a preview that starts
        // there) opens at that point instead of decoding its way from the start.
        const RefTime openAt =
            mediaTime - source.mediaStart > kRefTimePerSecond ? mediaTime : source.mediaStart;
        std::string description;
        const Result result = active.reader->open(source.mediaName, openAt, description);
        if (failed(result)) {
            reportError_({source.mediaName, result, description});
        }
    }
    const Picture& picture = active.reader->pictureAt(mediaTime);
    Result failure = kOk;
    std::string description;
    if (active.reader->takeFailure(failure, description)) {
        reportError_({source.mediaName, failure, description});
    }
    return picture;
}

Transition* VideoGroupRenderer::transitionAt(ActiveSource& active, RefTime time, double& progress) {
    const TrackModel& track = group_.tracks[static_cast<std::size_t>(active.slot.track)];
    const TransitionModel* running = nullptr;
    for (const TransitionModel& transition : track.transitions) {
        // A transition of zero length is over before it starts: the track's own picture.
        if (transition.start <= time && time < transition.stop) {
            running = &transition;
            break;
        }
    }
    if (running == nullptr) {
        return nullptr;
    }
    if (active.transitionModel != running) {
        TransitionSetup setup;
        setup.kind = running->kind;
        const std::optional<double> mask = running->properties.numberAt("MaskNum", 0);
        setup.maskNumber = mask ? static_cast<int>(*mask) : 1;
        setup.width = group_.mediaType.width;
        setup.height = group_.mediaType.height;
        setup.seed =
            transitionSeed_ ^ (static_cast<std::uint32_t>(active.slot.track) * 2654435761u);
        active.transition = createTransition(setup);
        active.transitionModel = running;
    }
    progress = static_cast<double>(time - running->start) /
               static_cast<double>(running->stop - running->start);
    return active.transition.get();
}

void VideoGroupRenderer::composite(std::size_t belowActiveIndex, RefTime time, Picture& out) {
    if (belowActiveIndex == 0) {
        out.fillBlack();
        return;
    }
    const std::size_t index = belowActiveIndex - 1;
    ActiveSource& top = active_[index];
    double progress = 0.0;
    Transition* transition = transitionAt(top, time, progress);
    if (transition == nullptr) {
        copyPicture(pictureOf(top, time).view(), out.view());
        return;
    }
    composite(index, time, out);
    transition->blend(out.view(), pictureOf(top, time).view(), progress, out.view());
}

void VideoGroupRenderer::render(RefTime time, Picture& out) {
    updateActive(time);
    composite(active_.size(), time, out);
}

}  // namespace editing
