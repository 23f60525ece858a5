#pragma once

#include "editing/core/ref_time.h"
#include "editing/timeline/timeline_model.h"

#include <cstdint>

namespace editing {

// The one rule by which the render and the preview turn a time line into output units (video
// frames, sound sample frames), so that both produce the same units at the same times:
// - unit k of a stream with `unitsPerSecond` units a second starts at
//   k x 10,000,000 / unitsPerSecond in RefTime, truncated toward zero (frameStartRefTime);
// - a stream holds every unit that starts before the end of the time line, no more;
// - the unit shown at a time is the last one that starts at or before it.
std::int64_t outputUnitCount(RefTime durationRefTime, double unitsPerSecond);
std::int64_t outputUnitAt(RefTime time, double unitsPerSecond, std::int64_t unitCount);

// The sound a group is mixed at: its own rate, or the default when it names none.
int groupSampleRateHz(const GroupModel& group);

// One stream of a time line laid out under the rule above: the pictures of a video group or
// the sound of an audio group, as `unitCount` units of which unit k starts at unitTime(k).
struct PlayoutStream {
    MediaKind kind = MediaKind::Video;
    // Borrowed from the time line. A sound stream without a group is silence; a picture
    // stream always has one when it has units.
    const GroupModel* group = nullptr;
    double unitsPerSecond = 0.0;  // frames, or sample frames, a second
    std::int64_t unitCount = 0;

    RefTime unitTime(std::int64_t unit) const { return frameStartRefTime(unit, unitsPerSecond); }
};

// The stream of `group` on a time line `durationRefTime` long: a video group at its output frame
// rate, an audio group at groupSampleRateHz(). Render and preview lay out every stream this way.
PlayoutStream playoutStreamOf(const GroupModel& group, RefTime durationRefTime);

// A time-line snapshot laid out for playing: the picture group, the sound group and their units
// under the rule above. Borrows the time line, which must outlive it and stay unchanged.
class TimelinePlayout {
  public:
    explicit TimelinePlayout(const TimelineModel& timeline);

    // The first video group with a valid frame size and rate; null when there is none.
    const GroupModel* videoGroup() const { return video_; }
    // The first audio group with tracks; null when the sound is silence.
    const GroupModel* soundGroup() const { return sound_; }

    // The first video group's pictures (no units when there is none) and the first sound
    // group's sound (silence at the default rate when there is none), as the preview plays them.
    PlayoutStream pictureStream() const;
    PlayoutStream soundStream() const;

    RefTime durationRefTime() const { return durationRefTime_; }
    double framesPerSecond() const { return framesPerSecond_; }
    int sampleRateHz() const { return sampleRateHz_; }
    std::int64_t frameCount() const { return frameCount_; }
    std::int64_t sampleCount() const { return sampleCount_; }

    RefTime frameTime(std::int64_t frameIndex) const {
        return frameStartRefTime(frameIndex, framesPerSecond_);
    }
    std::int64_t frameAt(RefTime time) const {
        return outputUnitAt(time, framesPerSecond_, frameCount_);
    }
    std::int64_t sampleAt(RefTime time) const {
        return outputUnitAt(time, sampleRateHz_, sampleCount_ + 1);
    }

  private:
    const GroupModel* video_ = nullptr;
    const GroupModel* sound_ = nullptr;
    RefTime durationRefTime_ = 0;
    double framesPerSecond_ = 0.0;
    int sampleRateHz_ = 0;
    std::int64_t frameCount_ = 0;
    std::int64_t sampleCount_ = 0;
};

}  // namespace editing
