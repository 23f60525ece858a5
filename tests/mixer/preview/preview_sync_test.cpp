// The preview plays picture and sound together: through a private sound server's null sink,
// a clip whose flashes and beeps coincide is previewed while the sink's monitor is recorded,
// and each beep must be heard within one output frame of the moment its flash was shown.

#include "editing/preview/preview_player.h"
#include "mixer/preview/server_preview_sound.h"
#include "tests/mixer/preview/monitor_recording.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/private_pulse_daemon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using editing::RefTime;
constexpr RefTime kSecond = editing::kRefTimePerSecond;
constexpr double kFramesPerSecond = 30.0;
constexpr int kSeconds = 6;

// A 320 x 240 clip at 30 fps, black but for one white frame at 0.5 s, 1.5 s, ...; its sound
// is silent but for a 30 ms beep starting at exactly those times.
std::string makeFlashAndBeepClip(const test_support::TemporaryFolder& folder) {
    const std::string path = folder.file("flash_beep.avi");
    const std::string seconds = std::to_string(kSeconds);
    const bool made = test_support::runFfmpeg(
        "-f lavfi -i " +
        test_support::shellQuote("color=c=black:s=320x240:r=30:d=" + seconds +
                                 ",geq=lum='if(eq(mod(N,30),15),235,16)':cb=128:cr=128") +
        " -f lavfi -i " +
        test_support::shellQuote(
            "aevalsrc='if(lt(mod(t+0.5,1),0.03),0.8*sin(2*PI*1000*t),0)':s=44100:d=" + seconds) +
        " -c:v mpeg4 -q:v 2 -c:a pcm_s16le -ac 2 " + test_support::shellQuote(path));
    return made ? path : std::string();
}

editing::TimelineModel timelineOf(const std::string& clip) {
    editing::GroupModel video;
    video.mediaType.kind = editing::MediaKind::Video;
    video.mediaType.width = 320;
    video.mediaType.height = 240;
    video.outputFramesPerSecond = kFramesPerSecond;
    const RefTime length = kSeconds * kSecond;
    video.tracks.push_back({{{clip, 0, length, 0, length}}, {}, {}});
    editing::GroupModel audio;
    audio.mediaType.kind = editing::MediaKind::Audio;
    audio.tracks.push_back({{{clip, 0, length, 0, length}}, {}, {}});
    editing::TimelineModel timeline;
    timeline.groups = {video, audio};
    return timeline;
}

bool isWhite(const editing::Picture& picture) {
    const editing::ConstPictureView view = picture.view();
    return view.planes[editing::kPlaneY].row(view.height() / 2)[view.width() / 2] > 128;
}

TEST(PreviewSync, EachBeepIsHeardWithinOneFrameOfItsFlash) {
    test_support::PrivatePulseDaemon daemon({});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    test_support::TemporaryFolder folder;
    const std::string clip = makeFlashAndBeepClip(folder);
    ASSERT_FALSE(clip.empty());

    preview_test::MonitorRecording monitor("private_null_sink.monitor", 44100);
    ASSERT_TRUE(monitor.isRecording()) << monitor.error();
    std::string error;
    // Low-latency buffers: the sync is checked, not the margin against a busy machine.
    auto sound = mixer::ServerPreviewSound::connect(error, std::chrono::milliseconds(30));
    ASSERT_NE(sound, nullptr) << error;

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<editing::PreviewFrame> flashes;
    std::int64_t shownFrames = 0;
    editing::PreviewPlayer player(timelineOf(clip), std::move(sound));
    player.setFrameSink([&](const editing::PreviewFrame& frame, const editing::Picture& picture) {
        std::lock_guard lock(mutex);
        ++shownFrames;
        if (frame.kind == editing::PreviewFrameKind::Playing && isWhite(picture)) {
            flashes.push_back(frame);
        }
    });
    player.setNotifier([&] {
        std::lock_guard lock(mutex);
        changed.notify_all();
    });
    // From the start, then again from part way into the clip (sound and picture both start
    // there): ten flashes and beeps.
    for (const RefTime start : {RefTime{0}, RefTime{22 * kSecond / 10}}) {
        player.seek(start);
        player.play();
        std::unique_lock lock(mutex);
        ASSERT_TRUE(
            changed.wait_for(lock, std::chrono::seconds(60), [&] { return !player.isPlaying(); }));
    }
    EXPECT_EQ(player.soundFailure(), "");
    player.close();

    // Each flash was shown when the sound of its own time was heard: the player's report on
    // the sound stream's clock.
    const RefTime frameLength = static_cast<RefTime>(kSecond / kFramesPerSecond);
    ASSERT_GE(flashes.size(), 6u) << shownFrames << " frames shown, " << player.droppedFrames()
                                  << " dropped";
    for (const editing::PreviewFrame& flash : flashes) {
        EXPECT_GE(flash.presentedClockRefTime, flash.time);
        EXPECT_LT(flash.presentedClockRefTime, flash.time + frameLength);
    }
    // The monitor hears each beep within one frame of the moment its flash was shown.
    const std::vector<Clock::time_point> beeps = monitor.beepOnsets(0.5);
    ASSERT_EQ(beeps.size(), 10u);
    std::vector<double> offsetsMilliseconds;
    for (const editing::PreviewFrame& flash : flashes) {
        const auto nearest = std::min_element(beeps.begin(), beeps.end(),
                                              [&](Clock::time_point a, Clock::time_point b) {
                                                  return std::chrono::abs(a - flash.presentedAt) <
                                                         std::chrono::abs(b - flash.presentedAt);
                                              });
        offsetsMilliseconds.push_back(
            std::chrono::duration<double, std::milli>(*nearest - flash.presentedAt).count());
    }
    std::sort(offsetsMilliseconds.begin(), offsetsMilliseconds.end());
    const double median = offsetsMilliseconds[offsetsMilliseconds.size() / 2];
    std::string all;
    for (double offset : offsetsMilliseconds) {
        all += std::to_string(offset) + " ";
    }
    EXPECT_LE(std::abs(median), 1000.0 / kFramesPerSecond) << "beep minus flash (ms): " << all;
}

}  // namespace

namespace {

// When the sound server goes away during playback the picture goes on, by the system clock,
// and the player says why the sound stopped.
TEST(PreviewSync, PictureGoesOnWhenTheServerGoesAway) {
    auto daemon =
        std::make_unique<test_support::PrivatePulseDaemon>(std::vector<test_support::SineSource>{});
    ASSERT_TRUE(daemon->isRunning()) << daemon->error();
    test_support::TemporaryFolder folder;
    const std::string clip = makeFlashAndBeepClip(folder);
    ASSERT_FALSE(clip.empty());
    std::string error;
    auto sound = mixer::ServerPreviewSound::connect(error, std::chrono::milliseconds(30));
    ASSERT_NE(sound, nullptr) << error;
    std::atomic<std::int64_t> lastFrame{-1};
    editing::PreviewPlayer player(timelineOf(clip), std::move(sound));
    player.setFrameSink([&](const editing::PreviewFrame& frame, const editing::Picture&) {
        lastFrame = frame.frameIndex;
    });
    player.play();
    const auto waitForFrame = [&](std::int64_t frame) {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (lastFrame < frame && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return lastFrame >= frame;
    };
    ASSERT_TRUE(waitForFrame(15));
    EXPECT_EQ(player.soundFailure(), "");
    daemon.reset();
    const std::int64_t whenGone = lastFrame;
    EXPECT_TRUE(waitForFrame(whenGone + 30)) << "the picture stopped at frame " << lastFrame;
    EXPECT_NE(player.soundFailure(), "");
    player.close();
}

}  // namespace
