#pragma once

#include "editing/core/ref_time.h"
#include "editing/core/sound_format.h"
#include "editing/timeline/property_set.h"
#include "editing/transitions/transition.h"

#include <string>
#include <vector>

namespace editing {

// The finished time line as the render engine reads it: plain values, no handles. It is what
// Timeline::snapshot() gives once the build is over; the render owns its copy, so the window
// may build the next time line while a render runs.

enum class MediaKind { Video, Audio };

// How a source whose frame size differs from the group's is fitted.
enum class StretchMode {
    Stretch = 0,              // scale to the frame, aspect ignored
    Crop = 1,                 // centre, cut what overhangs
    PreserveAspectRatio = 2,  // fit inside, black bars
    PreserveAspectRatioNoLetterbox = 3,
};

// The format a group renders to. Video: 24-bit RGB frames of width x height (the frames the
// group hands on; the render composites in YUV and converts at its output). Audio: the
// default format, 44,100 Hz, 16-bit, stereo.
struct GroupMediaType {
    MediaKind kind = MediaKind::Video;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    int sampleRate = kDefaultSampleRateHz;
    int channels = 2;
    int bitsPerSample = 16;
};

struct SourceModel {
    std::string mediaName;
    RefTime start = 0;  // span on the output time line
    RefTime stop = 0;
    RefTime mediaStart = 0;  // span of the file that plays over [start, stop]; the rate is
    RefTime mediaStop = 0;   // (mediaStop - mediaStart) / (stop - start)
    StretchMode stretchMode = StretchMode::PreserveAspectRatio;
};

struct TransitionModel {
    TransitionKind kind = TransitionKind::Fade;
    RefTime start = 0;  // span on the output time line; progress runs 0..1 over it
    RefTime stop = 0;
    PropertySet properties;  // "MaskNum" for the SMPTE wipe
};

enum class EffectKind { AudioMixer };

struct EffectModel {
    EffectKind kind = EffectKind::AudioMixer;
    RefTime start = 0;
    RefTime stop = 0;
    PropertySet properties;  // "Vol" for the audio mixer
};

struct TrackModel {
    std::vector<SourceModel> sources;  // in time order, not overlapping
    std::vector<TransitionModel> transitions;
    std::vector<EffectModel> effects;
};

struct GroupModel {
    GroupMediaType mediaType;
    double outputFramesPerSecond = 15.0;
    // Bottom to top: a later track covers an earlier one; a transition on a track blends from
    // the composite of the tracks beneath it into the track's own picture.
    std::vector<TrackModel> tracks;
};

struct TimelineModel {
    std::vector<GroupModel> groups;  // in order of addition: group 0 first

    // The end of the latest object of any group (0 when empty): the output's length.
    RefTime duration() const;
};

}  // namespace editing
