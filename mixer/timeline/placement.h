#pragma once

#include "mixer/project/mix_job.h"

#include <optional>
#include <vector>

namespace mixer {

// Where the clips of a mix lie on the output time line: pure arithmetic on the lists, in
// 100-ns units, with no time line involved. The build emits exactly these values.

// Every length below is an entry's played length (playedDurationRefTime: the span between its
// in and out points), which is its Duration for an untrimmed entry.

// The output's length: the sum of the played lengths of all video entries (0 for none).
RefTime totalVideoLength(const std::vector<VideoEntry>& videos);

// One video clip as placed: its span on the output and its transition length.
struct VideoPlacement {
    int index = 0;  // position in the video list
    RefTime start = 0;
    RefTime stop = 0;
    RefTime transitionDuration = 0;
    RefTime mediaStart = 0;  // the entry's InPoint: where in its file the clip starts playing

    // The file plays from mediaStart for this long. Under the next clip's transition this runs
    // past the out point, as an untrimmed clip runs past its end (showing its last frame).
    RefTime mediaLength() const { return stop - start; }
};

// Places the clips one after another so that each transition blends two pictures: a cursor
// starts half of the first transition (truncated toward zero) before 0; clip i begins at the
// cursor (never before 0), and the next cursor is where clip i would end running on for its
// own played length plus transition length (cut to `totalVideoLength`) minus that transition
// length, so uncut clips begin at the sum of the played lengths before them whatever the transition
// lengths. Each clip but the last stops the next clip's transition length after the next clip's
// start, so it runs on under the whole of that transition; the last clip runs on for its own
// transition length. Every stop is cut to `totalVideoLength`; a clip the next one would cover
// from its start keeps its own run-on.
// With VideoCursorStart::AtZero (the "clips' own sound in step" option) the cursor starts at
// 0 instead, so each clip's picture starts where its companion sound starts; nothing else
// changes.
enum class VideoCursorStart { HalfFirstTransitionEarly, AtZero };
std::vector<VideoPlacement> placeVideoClips(
    const std::vector<VideoEntry>& videos, RefTime totalVideoLength,
    VideoCursorStart cursorStart = VideoCursorStart::HalfFirstTransitionEarly);
// The cursor start `defaults` choose: what the build uses, and so whatever must agree with it
// (the preview's start at a selected clip).
VideoCursorStart videoCursorStartOf(const TransitionDefaults& defaults);

struct Span {
    RefTime start = 0;
    RefTime stop = 0;
};

// The span of a placed clip's transition: from the clip's start for its transition length,
// cut to `totalVideoLength`. Nothing when the transition is longer than the clip's placed
// length (the clip then gets no transition).
std::optional<Span> transitionSpan(const VideoPlacement& clip, RefTime totalVideoLength);

// The playback rate the placement uses: `Speed` itself, or 1 when it is 0, negative or not a
// number (the audio settings dialog does not refuse such a value, and no span can be derived
// from it).
double effectivePlaybackSpeed(double speed);

// Where a placement that plays `mediaLength` of its file from `start` ends on the output:
// start + mediaLength / speed, computed in double precision and truncated toward zero (speed as
// by effectivePlaybackSpeed). A span past the largest representable time ends there.
RefTime audioOutputStop(RefTime start, RefTime mediaLength, double speed);

// One placement of an audio entry.
struct AudioPlacement {
    int index = 0;  // position in the audio list
    RefTime start = 0;
    RefTime end = 0;         // start + the length of media to play
    RefTime stop = 0;        // where the placement ends on the output (audioOutputStop)
    RefTime mediaStart = 0;  // the entry's InPoint: every copy plays from there

    RefTime mediaLength() const { return end - start; }
};

// Places audio entry `index`: once at its StartTime, playing its played length cut to
// `totalVideoLength`; with Repeat set (any value but 0, as the list shows "Yes"), again every
// played length of output time after that (the step does not depend on Speed) for as long as a
// copy begins at or before `totalVideoLength`. Copies after the first play the whole played span
// and are not cut. When the first placement is cut there are no copies, and an entry whose played
// length is zero is placed once, never repeated (its copies would never move on).
std::vector<AudioPlacement> placeAudioEntry(const AudioEntry& entry, int index,
                                            RefTime totalVideoLength);

}  // namespace mixer
