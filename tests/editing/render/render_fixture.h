#pragma once

// Test helper: time lines built by hand, rendered to completion.

#include "editing/render/render_engine.h"
#include "editing/timeline/timeline_model.h"

#include <string>
#include <vector>

namespace render_test {

inline constexpr editing::RefTime kSecond = editing::kRefTimePerSecond;

editing::RefTime seconds(double value);

editing::GroupModel videoGroup(int width, int height, double framesPerSecond);
editing::GroupModel audioGroup();

// Adds a track with one source playing `file` from media 0 over [start, stop] at normal speed
// (or `mediaLength` of media when given). Returns the new track.
editing::TrackModel& addVideoTrack(
    editing::GroupModel& group, const std::string& file, editing::RefTime start,
    editing::RefTime stop, editing::StretchMode mode = editing::StretchMode::PreserveAspectRatio,
    editing::RefTime mediaLength = -1);
// Adds an audio placement with its volume effect ("Vol" at time 0, jump).
editing::TrackModel& addAudioTrack(editing::GroupModel& group, const std::string& file,
                                   editing::RefTime start, editing::RefTime stop, double volume,
                                   editing::RefTime mediaLength = -1);
void addTransition(editing::TrackModel& track, editing::TransitionKind kind, editing::RefTime start,
                   editing::RefTime stop, int maskNumber = 0);

struct RenderOutcome {
    editing::Result startResult = editing::kOk;
    std::vector<editing::RenderEvent> events;
    int completeEvents = 0;
    int notifications = 0;
};

// Starts a render and waits (at most a minute) until it completes or fails; then stops it.
RenderOutcome renderToEnd(const editing::TimelineModel& timeline,
                          const editing::RenderOutputSettings& settings,
                          editing::RenderTaps taps = {});

// Checks that the render started, completed once, and reported exactly `expectedErrors` error
// events, each one that let the render go on and each naming `fileName` in its description.
void expectRecoverableErrorsNaming(const RenderOutcome& outcome, const std::string& fileName,
                                   int expectedErrors);

}  // namespace render_test
