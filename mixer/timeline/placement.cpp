#include "mixer/timeline/placement.h"

#include <cmath>
#include <limits>

namespace mixer {

namespace {

constexpr RefTime kLatestTime = std::numeric_limits<RefTime>::max();

// a + b, held at the largest time instead of overflowing.
RefTime saturatingAdd(RefTime a, RefTime b) {
    RefTime sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? kLatestTime : std::numeric_limits<RefTime>::min();
    }
    return sum;
}

}  // namespace

RefTime totalVideoLength(const std::vector<VideoEntry>& videos) {
    RefTime total = 0;
    for (const VideoEntry& entry : videos) {
        total = saturatingAdd(total, playedDurationRefTime(entry));
    }
    return total;
}

std::vector<VideoPlacement> placeVideoClips(const std::vector<VideoEntry>& videos,
                                            RefTime totalVideoLength,
                                            VideoCursorStart cursorStart) {
    std::vector<VideoPlacement> placements;
    if (videos.empty()) {
        return placements;
    }
    placements.reserve(videos.size());
    // The cursors are where the clips begin (before the cut at 0); they move on exactly as
    // when every clip ran on for its own transition length, so no clip start depends on how
    // long the transition after it is.
    RefTime cursor =
        cursorStart == VideoCursorStart::AtZero ? 0 : -(videos.front().TransitionDuration / 2);
    for (std::size_t index = 0; index < videos.size(); ++index) {
        const VideoEntry& entry = videos[index];
        const RefTime ownEnd = saturatingAdd(saturatingAdd(cursor, playedDurationRefTime(entry)),
                                             entry.TransitionDuration);
        const RefTime ownStop = ownEnd > totalVideoLength ? totalVideoLength : ownEnd;
        const RefTime nextCursor = ownStop - entry.TransitionDuration;

        VideoPlacement placement;
        placement.index = static_cast<int>(index);
        placement.start = cursor < 0 ? 0 : cursor;
        placement.stop = ownStop;
        if (index + 1 < videos.size()) {
            // Run on under the next clip for as long as the next clip's transition lasts.
            const RefTime nextStart = nextCursor < 0 ? 0 : nextCursor;
            const RefTime runOnEnd = saturatingAdd(nextStart, videos[index + 1].TransitionDuration);
            const RefTime runOnStop = runOnEnd > totalVideoLength ? totalVideoLength : runOnEnd;
            // A clip that the next one would cover from its start keeps its own stop: it lies
            // hidden under the next clip either way, and an empty span would be refused.
            if (runOnStop > placement.start) {
                placement.stop = runOnStop;
            }
        }
        placement.transitionDuration = entry.TransitionDuration;
        placement.mediaStart = entry.InPoint;
        placements.push_back(placement);
        cursor = nextCursor;
    }
    return placements;
}

VideoCursorStart videoCursorStartOf(const TransitionDefaults& defaults) {
    return defaults.ClipSoundInStep ? VideoCursorStart::AtZero
                                    : VideoCursorStart::HalfFirstTransitionEarly;
}

std::optional<Span> transitionSpan(const VideoPlacement& clip, RefTime totalVideoLength) {
    const RefTime remaining = clip.mediaLength() - clip.transitionDuration;
    if (remaining < 0) {
        return std::nullopt;
    }
    const RefTime end = saturatingAdd(clip.start, clip.transitionDuration);
    return Span{clip.start, end < totalVideoLength ? end : totalVideoLength};
}

double effectivePlaybackSpeed(double speed) {
    return std::isfinite(speed) && speed > 0.0 ? speed : 1.0;
}

RefTime audioOutputStop(RefTime start, RefTime mediaLength, double speed) {
    const double stop = static_cast<double>(start) +
                        static_cast<double>(mediaLength) / effectivePlaybackSpeed(speed);
    // 2^63 is the first double past the largest time.
    if (stop >= 9223372036854775808.0) {
        return kLatestTime;
    }
    if (stop <= -9223372036854775808.0) {
        return std::numeric_limits<RefTime>::min();
    }
    return static_cast<RefTime>(stop);  // truncates toward zero
}

std::vector<AudioPlacement> placeAudioEntry(const AudioEntry& entry, int index,
                                            RefTime totalVideoLength) {
    std::vector<AudioPlacement> placements;
    const RefTime duration = playedDurationRefTime(entry);
    const auto place = [&](RefTime start, RefTime end) {
        placements.push_back(AudioPlacement{
            index, start, end, audioOutputStop(start, end - start, entry.Speed), entry.InPoint});
    };

    const RefTime fullEnd = saturatingAdd(entry.StartTime, duration);
    const RefTime end = fullEnd > totalVideoLength ? totalVideoLength : fullEnd;
    place(entry.StartTime, end);
    if (entry.Repeat == 0 || duration <= 0) {
        return placements;
    }
    RefTime copyStart = fullEnd;
    RefTime copyEnd = saturatingAdd(end, duration);
    while (copyStart <= totalVideoLength) {
        place(copyStart, copyEnd);
        const RefTime nextStart = saturatingAdd(copyStart, duration);
        if (nextStart == copyStart) {
            break;  // held at the largest time: no later copy exists
        }
        copyStart = nextStart;
        copyEnd = saturatingAdd(copyEnd, duration);
    }
    return placements;
}

}  // namespace mixer
