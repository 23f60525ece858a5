#pragma once

#include "base/ports/prompt_port.h"
#include "editing/timeline/timeline_interface.h"
#include "mixer/project/mix_job.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace mixer {

using editing::NodeId;
using editing::Result;

// Turns a MixJob into an editing time line: a video group with one track per video clip (each
// with its source and, at its head, its transition), then an audio group with one track per
// audio placement (each with its source and a volume effect).
//
// Every failed step is told to the user through the prompt port and the build goes on with
// the next object, so a render can still start with whatever was built. The build reads the
// MixJob once and changes nothing in it. UI thread only.

// Makes the empty time line a build fills; a negative Result means none could be made.
using TimelineFactory =
    std::function<Result(std::unique_ptr<editing::TimelineInterface>& timeline)>;

// The factory of the program: a new editing::Timeline.
TimelineFactory realTimelineFactory();

// What the steps of one build share. The time line, job and prompt outlive the build.
struct TimelineBuild {
    editing::TimelineInterface& CurrentTimeline;
    const MixJob& job;
    base::PromptPort& prompt;
    RefTime TotalVideoLength = 0;  // the output's length; every clamped stop is clamped to it
    QWidget* owner = nullptr;      // window that owns the message boxes (may be null)
};

// The result of BuildTimeline.
struct BuiltTimeline {
    // 0, or the failure code of the time line's creation: then CurrentTimeline is empty and
    // the caller must not render.
    Result status = editing::kOk;
    // The time line built; its snapshot() is what the render engine reads.
    std::unique_ptr<editing::TimelineInterface> CurrentTimeline;
    RefTime TotalVideoLength = 0;
};

// Creates the time line through `factory` ("Could not create timeline", caption "Error", on
// failure), adds the video group when there is video, the audio group when there is sound, and
// finally checks every source's file, asking `locator` for each missing one.
BuiltTimeline BuildTimeline(const MixJob& job, const TimelineFactory& factory,
                            base::PromptPort& prompt, const editing::MissingFileLocator& locator,
                            QWidget* owner = nullptr);

// The video group: RGB 24-bit frames of OutputWidth x OutputHigh at OutputFrameRate; then
// every video clip in list order (a clip that fails is skipped).
Result AddVideoGroup(TimelineBuild& build);

// One video clip on its own track, appended above the earlier ones, playing `FileName` from
// video entry i's InPoint on over [start, stop], fitted by ResizeMode; then its transition over its
// first `transitionDuration` (cut to TotalVideoLength), when the clip is at least that long.
Result AddVideoClip(TimelineBuild& build, NodeId videoGroup, const std::string& FileName,
                    RefTime start, RefTime stop, RefTime transitionDuration, int i);

// The transition of video entry i (its TransitionEffect) on `track` over [start, stop].
// The effect comes from the editing layer's effect catalogue, the one table the build, the
// dialogs and the render share. Effect 0 ("None") creates nothing; an effect outside the
// catalogue carries the SMPTE wipe without a pattern (editing::transitionNodeEffect).
Result AddTransition(TimelineBuild& build, NodeId track, RefTime start, RefTime stop, int i);

// The audio group in the default audio format; then every placement of every audio entry.
Result AddAudioGroup(TimelineBuild& build);

// One audio placement on its own track: `FileName` plays from audio entry i's InPoint for
// end - start of file time, at the Speed of audio entry i, from `start` on; then its volume
// effect.
Result AddAudioClip(TimelineBuild& build, NodeId audioGroup, const std::string& FileName,
                    RefTime start, RefTime end, int i);

// The audio mixer effect over [start, stop] of `track`, holding audio entry i's Volume as the
// property "Vol" for the whole span.
Result AddVolumeEffect(TimelineBuild& build, NodeId track, RefTime start, RefTime stop, int i);

// A message box for a failed media call: the description of `code` (or "Unknown Error: 0x%2x"
// when there is none) under `caption`, with the stop-sign icon. Nothing for a success code.
void showMediaError(TimelineBuild& build, Result code, const QString& caption);

}  // namespace mixer
