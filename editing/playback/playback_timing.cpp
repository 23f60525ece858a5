#include "editing/playback/playback_timing.h"

#include "editing/core/sound_format.h"

#include <algorithm>
#include <cmath>

namespace editing {

std::int64_t outputUnitCount(RefTime durationRefTime, double unitsPerSecond) {
    if (!(unitsPerSecond > 0.0) || !std::isfinite(unitsPerSecond) || durationRefTime <= 0) {
        return 0;
    }
    // The estimate is off by at most one either way (floating point); the loops settle it on the
    // rule's own start times.
    auto units = static_cast<std::int64_t>(
        std::ceil(static_cast<long double>(durationRefTime) * unitsPerSecond / kRefTimePerSecond));
    while (units > 0 && frameStartRefTime(units - 1, unitsPerSecond) >= durationRefTime) {
        --units;
    }
    while (frameStartRefTime(units, unitsPerSecond) < durationRefTime) {
        ++units;
    }
    return units;
}

std::int64_t outputUnitAt(RefTime time, double unitsPerSecond, std::int64_t unitCount) {
    if (unitCount <= 0 || !(unitsPerSecond > 0.0)) {
        return 0;
    }
    auto unit = static_cast<std::int64_t>(
        std::floor(static_cast<long double>(time) * unitsPerSecond / kRefTimePerSecond));
    unit = std::clamp<std::int64_t>(unit, 0, unitCount - 1);
    while (unit > 0 && frameStartRefTime(unit, unitsPerSecond) > time) {
        --unit;
    }
    while (unit + 1 < unitCount && frameStartRefTime(unit + 1, unitsPerSecond) <= time) {
        ++unit;
    }
    return unit;
}

int groupSampleRateHz(const GroupModel& group) {
    return group.mediaType.sampleRate > 0 ? group.mediaType.sampleRate : kDefaultSampleRateHz;
}

TimelinePlayout::TimelinePlayout(const TimelineModel& timeline)
    : durationRefTime_(timeline.duration()), sampleRateHz_(kDefaultSampleRateHz) {
    bool videoSeen = false;  // only the first video group is played
    for (const GroupModel& group : timeline.groups) {
        if (group.mediaType.kind == MediaKind::Video && !videoSeen) {
            videoSeen = true;
            const double fps = group.outputFramesPerSecond;
            if (fps > 0.0 && std::isfinite(fps) && group.mediaType.width > 0 &&
                group.mediaType.height > 0) {
                video_ = &group;
                framesPerSecond_ = fps;
                frameCount_ = outputUnitCount(durationRefTime_, fps);
            }
        } else if (group.mediaType.kind == MediaKind::Audio && sound_ == nullptr &&
                   !group.tracks.empty()) {
            sound_ = &group;
            sampleRateHz_ = groupSampleRateHz(group);
        }
    }
    sampleCount_ = outputUnitCount(durationRefTime_, sampleRateHz_);
}

}  // namespace editing
