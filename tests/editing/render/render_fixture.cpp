#include "tests/editing/render/render_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace render_test {

using namespace editing;

RefTime seconds(double value) {
    return static_cast<RefTime>(value * kRefTimePerSecond);
}

GroupModel videoGroup(int width, int height, double framesPerSecond) {
    GroupModel group;
    group.mediaType.kind = MediaKind::Video;
    group.mediaType.width = width;
    group.mediaType.height = height;
    group.outputFramesPerSecond = framesPerSecond;
    return group;
}

GroupModel audioGroup() {
    GroupModel group;
    group.mediaType.kind = MediaKind::Audio;
    return group;
}

TrackModel& addVideoTrack(GroupModel& group, const std::string& file, RefTime start, RefTime stop,
                          StretchMode mode, RefTime mediaLength) {
    SourceModel source;
    source.mediaName = file;
    source.start = start;
    source.stop = stop;
    source.mediaStart = 0;
    source.mediaStop = mediaLength >= 0 ? mediaLength : stop - start;
    source.stretchMode = mode;
    group.tracks.emplace_back();
    group.tracks.back().sources.push_back(source);
    return group.tracks.back();
}

TrackModel& addAudioTrack(GroupModel& group, const std::string& file, RefTime start, RefTime stop,
                          double volume, RefTime mediaLength) {
    TrackModel& track = addVideoTrack(group, file, start, stop, StretchMode::Stretch, mediaLength);
    EffectModel effect;
    effect.kind = EffectKind::AudioMixer;
    effect.start = start;
    effect.stop = stop;
    EXPECT_TRUE(succeeded(
        effect.properties.addProperty("Vol", {PropertyPoint{0, volume, Interpolation::Jump}})));
    track.effects.push_back(effect);
    return track;
}

void addTransition(TrackModel& track, TransitionKind kind, RefTime start, RefTime stop,
                   int maskNumber) {
    TransitionModel transition;
    transition.kind = kind;
    transition.start = start;
    transition.stop = stop;
    if (maskNumber > 0) {
        EXPECT_TRUE(succeeded(transition.properties.addProperty(
            "MaskNum", {PropertyPoint{0, std::int32_t{maskNumber}, Interpolation::Jump}})));
    }
    track.transitions.push_back(transition);
}

RenderOutcome renderToEnd(const TimelineModel& timeline, const RenderOutputSettings& settings,
                          RenderTaps taps) {
    RenderOutcome outcome;
    std::mutex mutex;
    std::condition_variable signalled;
    int notifications = 0;
    RenderEngine engine;
    engine.setTaps(std::move(taps));
    engine.setEventNotifier([&] {
        std::lock_guard lock(mutex);
        ++notifications;
        signalled.notify_all();
    });
    outcome.startResult = engine.start(timeline, settings);
    if (failed(outcome.startResult)) {
        return outcome;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        {
            std::unique_lock lock(mutex);
            signalled.wait_for(lock, std::chrono::milliseconds(100));
        }
        for (RenderEvent& event : engine.takeEvents()) {
            if (event.kind == RenderEventKind::Complete) {
                ++outcome.completeEvents;
                ended = true;
            } else if (event.endsRender) {
                ended = true;
            }
            outcome.events.push_back(std::move(event));
        }
    }
    engine.stop();
    engine.stop();
    for (RenderEvent& event : engine.takeEvents()) {
        if (event.kind == RenderEventKind::Complete) {
            ++outcome.completeEvents;
        }
        outcome.events.push_back(std::move(event));
    }
    std::lock_guard lock(mutex);
    outcome.notifications = notifications;
    return outcome;
}

void expectRecoverableErrorsNaming(const RenderOutcome& outcome, const std::string& fileName,
                                   int expectedErrors) {
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    int errors = 0;
    for (const RenderEvent& event : outcome.events) {
        if (event.kind == RenderEventKind::Error) {
            ++errors;
            EXPECT_FALSE(event.endsRender);
            EXPECT_NE(event.description.find(fileName), std::string::npos) << event.description;
            EXPECT_NE(event.sourceFileName.find(fileName), std::string::npos)
                << event.sourceFileName;
        }
    }
    EXPECT_EQ(errors, expectedErrors);
}

}  // namespace render_test
