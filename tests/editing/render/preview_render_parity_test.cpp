// The preview shows what Mix writes: for each time line below, the pictures the preview hands
// to the screen are byte for byte the pictures the render hands to its encoder, frame for
// frame, and the sound the preview hands to the sound server is the render's, sample for
// sample. The preview plays in real time on a clock that advances one frame per picture shown,
// so no frame is dropped and the comparison covers every frame.

#include "editing/core/picture.h"
#include "editing/preview/preview_player.h"
#include "editing/preview/preview_sound_output.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <limits>
#include <map>
#include <mutex>

namespace editing {
namespace {

using render_test::addAudioTrack;
using render_test::addTransition;
using render_test::addVideoTrack;
using render_test::kSecond;
using render_test::RenderMedia;
using render_test::renderMedia;
using render_test::seconds;

using PictureBytes = std::vector<std::uint8_t>;

PictureBytes bytesOf(const Picture& picture) {
    PictureBytes bytes;
    const ConstPictureView view = picture.view();
    for (const ConstPlaneView& plane : view.planes) {
        for (int y = 0; y < plane.height; ++y) {
            bytes.insert(bytes.end(), plane.row(y), plane.row(y) + plane.width);
        }
    }
    return bytes;
}

// What each side produced: pictures by output frame index, sound as one interleaved stream.
struct Played {
    std::map<std::int64_t, PictureBytes> frames;
    std::vector<std::int16_t> sound;
};

// The sound server's place: takes every sample, and reports as heard the time that the test
// sets (the time of the next frame to show), so the preview's clock moves one frame per
// picture shown.
class FrameSteppedSound : public PreviewSoundOutput {
  public:
    explicit FrameSteppedSound(std::mutex& mutex, std::condition_variable& changed,
                               std::vector<std::int16_t>& sound, bool& finished)
        : mutex_(mutex), changed_(changed), sound_(sound), finished_(finished) {}

    void setHeard(RefTime time) { heard_ = time; }

    bool start(int, std::string&) override { return true; }
    bool write(const std::int16_t* samples, int frames) override {
        std::lock_guard lock(mutex_);
        sound_.insert(sound_.end(), samples, samples + 2 * frames);
        return true;
    }
    void finish() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    RefTime heardRefTime() override { return heard_; }
    void stop() override {}

  private:
    std::mutex& mutex_;
    std::condition_variable& changed_;
    std::vector<std::int16_t>& sound_;
    bool& finished_;
    std::atomic<RefTime> heard_{0};
};

Played playInPreview(const TimelineModel& timeline) {
    Played played;
    std::mutex mutex;
    std::condition_variable changed;
    bool soundFinished = false;
    auto ownedSound =
        std::make_unique<FrameSteppedSound>(mutex, changed, played.sound, soundFinished);
    FrameSteppedSound& sound = *ownedSound;
    PreviewPlayer player(timeline, std::move(ownedSound), PreviewPacing::RealTime);
    const std::int64_t frameCount = player.frameCount();
    double framesPerSecond = 0.0;
    for (const GroupModel& group : timeline.groups) {
        if (group.mediaType.kind == MediaKind::Video) {
            framesPerSecond = group.outputFramesPerSecond;
            break;
        }
    }
    player.setFrameSink([&](const PreviewFrame& frame, const Picture& picture) {
        {
            std::lock_guard lock(mutex);
            played.frames[frame.frameIndex] = bytesOf(picture);
            changed.notify_all();
        }
        sound.setHeard(frame.frameIndex + 1 < frameCount
                           ? frameStartRefTime(frame.frameIndex + 1, framesPerSecond)
                           : std::numeric_limits<RefTime>::max() / 2);
    });
    player.play();
    {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::minutes(1), [&] {
            return soundFinished && static_cast<std::int64_t>(played.frames.size()) == frameCount;
        });
    }
    player.pause();
    EXPECT_EQ(player.droppedFrames(), 0);
    return played;
}

Played render(const TimelineModel& timeline, const std::string& output) {
    Played played;
    std::mutex mutex;  // the two producer threads call the taps
    RenderTaps taps;
    taps.picture = [&](std::int64_t frameIndex, const Picture& picture) {
        std::lock_guard lock(mutex);
        played.frames[frameIndex] = bytesOf(picture);
    };
    taps.sound = [&](std::int64_t firstSample, const std::int16_t* samples, int frames) {
        std::lock_guard lock(mutex);
        EXPECT_EQ(static_cast<std::size_t>(firstSample) * 2, played.sound.size());
        played.sound.insert(played.sound.end(), samples, samples + 2 * frames);
    };
    const render_test::RenderOutcome outcome =
        render_test::renderToEnd(timeline, {output, std::nullopt, std::nullopt}, std::move(taps));
    EXPECT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    return played;
}

struct ParityCase {
    const char* name;
    std::function<TimelineModel(const RenderMedia&)> build;
};

GroupModel soundOf(const std::string& file, RefTime start, RefTime stop, RefTime mediaLength = -1) {
    GroupModel audio = render_test::audioGroup();
    addAudioTrack(audio, file, start, stop, 0.8, mediaLength);
    return audio;
}

const ParityCase kCases[] = {
    {"transitions",
     [](const RenderMedia& media) {
         GroupModel video = render_test::videoGroup(160, 120, 25.0);
         addVideoTrack(video, media.red, 0, kSecond);
         TrackModel& over = addVideoTrack(video, media.green, seconds(0.5), seconds(1.5));
         addTransition(over, TransitionKind::Fade, seconds(0.5), seconds(1.0));
         TrackModel& wipe = addVideoTrack(video, media.blue, seconds(1.0), seconds(1.8));
         addTransition(wipe, TransitionKind::Iris, seconds(1.0), seconds(1.4));
         GroupModel audio = soundOf(media.red, 0, kSecond);
         addAudioTrack(audio, media.green, seconds(0.5), seconds(1.5), 0.5);
         TimelineModel timeline;
         timeline.groups = {video, audio};
         return timeline;
     }},
    {"rotated clip",
     [](const RenderMedia& media) {
         GroupModel video = render_test::videoGroup(160, 120, 25.0);
         addVideoTrack(video, media.rotatedQuarterTurn, 0, kSecond);
         TimelineModel timeline;
         timeline.groups = {video, soundOf(media.tone440, 0, kSecond)};
         return timeline;
     }},
    {"speed, at a frame rate that is no whole number",
     [](const RenderMedia& media) {
         GroupModel video = render_test::videoGroup(176, 144, 30000.0 / 1001.0);
         addVideoTrack(video, media.redThenBlue, 0, seconds(1.3), StretchMode::Stretch,
                       seconds(0.4));
         addVideoTrack(video, media.green, seconds(1.3), seconds(1.8),
                       StretchMode::PreserveAspectRatio, kSecond);
         TimelineModel timeline;
         timeline.groups = {video, soundOf(media.tone1000, 0, seconds(1.8), seconds(0.9))};
         return timeline;
     }},
    {"repeat",
     [](const RenderMedia& media) {
         GroupModel video = render_test::videoGroup(160, 120, 25.0);
         TrackModel& track = addVideoTrack(video, media.redThenBlue, 0, seconds(0.4));
         for (int repeat = 1; repeat < 3; ++repeat) {
             SourceModel again = track.sources.front();
             again.start = seconds(0.4 * repeat);
             again.stop = seconds(0.4 * (repeat + 1));
             track.sources.push_back(again);
         }
         GroupModel audio = soundOf(media.tone440, 0, seconds(0.5));
         SourceModel again = audio.tracks.front().sources.front();
         again.start = seconds(0.5);
         again.stop = seconds(1.0);
         audio.tracks.front().sources.push_back(again);
         TimelineModel timeline;
         timeline.groups = {video, audio};
         return timeline;
     }},
    {"trimmed source",
     [](const RenderMedia& media) {
         GroupModel video = render_test::videoGroup(160, 120, 25.0);
         TrackModel& track = addVideoTrack(video, media.flashAndBeep, 0, seconds(0.6));
         track.sources.front().mediaStart = seconds(0.7);
         track.sources.front().mediaStop = seconds(1.3);
         GroupModel audio = soundOf(media.flashAndBeep, 0, seconds(0.6));
         audio.tracks.front().sources.front().mediaStart = seconds(0.7);
         audio.tracks.front().sources.front().mediaStop = seconds(1.3);
         TimelineModel timeline;
         timeline.groups = {video, audio};
         return timeline;
     }},
};

TEST(PreviewRenderParity, PreviewShowsAndSoundsExactlyWhatTheRenderEncodes) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    for (const ParityCase& parity : kCases) {
        SCOPED_TRACE(parity.name);
        const TimelineModel timeline = parity.build(media);
        const Played rendered = render(timeline, folder.file("parity.avi"));
        const Played previewed = playInPreview(timeline);

        ASSERT_FALSE(rendered.frames.empty());
        ASSERT_EQ(previewed.frames.size(), rendered.frames.size());
        for (const auto& [frameIndex, picture] : rendered.frames) {
            const auto shown = previewed.frames.find(frameIndex);
            ASSERT_NE(shown, previewed.frames.end()) << "frame " << frameIndex;
            EXPECT_TRUE(shown->second == picture) << "frame " << frameIndex << " differs";
        }
        ASSERT_FALSE(rendered.sound.empty());
        ASSERT_EQ(previewed.sound.size(), rendered.sound.size());
        EXPECT_TRUE(previewed.sound == rendered.sound);
    }
}

}  // namespace
}  // namespace editing
