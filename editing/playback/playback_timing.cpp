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

PlayoutStream playoutStreamOf(const GroupModel& group, RefTime durationRefTime) {
    PlayoutStream stream;
    stream.kind = group.mediaType.kind;
    stream.group = &group;
    stream.unitsPerSecond = group.mediaType.kind == MediaKind::Video
                                ? group.outputFramesPerSecond
                                : static_cast<double>(groupSampleRateHz(group));
    stream.unitCount = outputUnitCount(durationRefTime, stream.unitsPerSecond);
    return stream;
}

PlayoutStream TimelinePlayout::pictureStream() const {
    return PlayoutStream{MediaKind::Video, video_, framesPerSecond_, frameCount_};
}

PlayoutStream TimelinePlayout::soundStream() const {
    return PlayoutStream{MediaKind::Audio, sound_, static_cast<double>(sampleRateHz_),
                         sampleCount_};
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
                const PlayoutStream stream = playoutStreamOf(group, durationRefTime_);
                video_ = &group;
                framesPerSecond_ = stream.unitsPerSecond;
                frameCount_ = stream.unitCount;
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
