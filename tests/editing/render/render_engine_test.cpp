#include "editing/render/render_engine.h"
#include "editing/probe/duration_probe.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace render_test {
namespace {

using namespace editing;

const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kWhite{255, 255, 255};
const Rgb kYellow{255, 255, 0};
const Rgb kBlack{0, 0, 0};
constexpr int kTolerance = 24;

const RgbFrame& frameAt(const DecodedAvi& decoded, double secondsIn, double framesPerSecond) {
    const auto index = static_cast<std::size_t>(secondsIn * framesPerSecond + 1e-9);
    return decoded.frames.at(index);
}

// The level of a fixture file as it is (the tool's mono-to-stereo mix lowers it by 3 dB).
double sourceLevel(const std::string& file) {
    const DecodedAvi decoded = decodeFile(file);
    return rmsLevel(decoded, 0.1, 0.9);
}

void expectCompleted(const RenderOutcome& outcome) {
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    for (const RenderEvent& event : outcome.events) {
        EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
    }
    EXPECT_GE(outcome.notifications, 1);
}

TEST(RenderEngine, WritesUncompressedVideoAndPcmWithClipsTonesAndLevelsInPlace) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.red, 0, kSecond);
    addVideoTrack(video, media.green, kSecond, 2 * kSecond);
    GroupModel audio = audioGroup();
    addAudioTrack(audio, media.tone440, 0, kSecond, 1.0);
    addAudioTrack(audio, media.tone1000, kSecond, 2 * kSecond, 0.5);
    timeline.groups = {video, audio};

    const std::string output = folder.file("out.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    EXPECT_EQ(decoded.formatName, "avi");
    ASSERT_EQ(decoded.streams.size(), 2u);
    EXPECT_TRUE(decoded.streams[0].isVideo);
    EXPECT_EQ(decoded.streams[0].codecName, "rawvideo");
    EXPECT_EQ(decoded.streams[0].pixelFormat, "bgr24");
    EXPECT_EQ(decoded.streams[0].width, 160);
    EXPECT_EQ(decoded.streams[0].height, 120);
    EXPECT_EQ(decoded.streams[1].codecName, "pcm_s16le");
    EXPECT_EQ(decoded.streams[1].sampleRate, 44100);
    EXPECT_EQ(decoded.streams[1].channels, 2);

    ASSERT_EQ(decoded.frames.size(), 50u);
    const Rgb early = frameAt(decoded, 0.4, 25).centre();
    const Rgb late = frameAt(decoded, 1.6, 25).centre();
    EXPECT_TRUE(near(early, kRed, kTolerance)) << describe(early);
    EXPECT_TRUE(near(late, kGreen, kTolerance)) << describe(late);

    EXPECT_EQ(decoded.samples.size(), 2u * 88200u);
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.2, 0.8), 440.0, 4.0);
    EXPECT_NEAR(toneFrequencyHz(decoded, 1.2, 1.8), 1000.0, 8.0);
    const double full = rmsLevel(decoded, 0.2, 0.8);
    const double half = rmsLevel(decoded, 1.2, 1.8);
    EXPECT_NEAR(full, sourceLevel(media.tone440), 0.01) << "volume 1 keeps the level";
    EXPECT_NEAR(half / sourceLevel(media.tone1000), 0.5, 0.02);
}

// The BITMAPINFOHEADER of the first stream format chunk: its height field.
std::int32_t storedBitmapHeight(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const std::size_t chunk = bytes.find("strf");
    if (chunk == std::string::npos || chunk + 20 > bytes.size()) {
        return 0;
    }
    std::int32_t height = 0;
    std::memcpy(&height, bytes.data() + chunk + 16, sizeof height);
    return height;
}

TEST(RenderEngine, UncompressedFramesAreBottomUpRgbShownTheRightWayUp) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.whiteOverRed, 0, kSecond / 2);
    timeline.groups = {video};
    const std::string output = folder.file("upright.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    EXPECT_EQ(storedBitmapHeight(output), 120) << "a positive height marks a bottom-up DIB";
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 13u);  // 0.5 s at 25 fps: frames at 0, 0.04 ... 0.48
    const RgbFrame& frame = decoded.frames[5];
    EXPECT_TRUE(near(frame.at(80, 10), kWhite, kTolerance)) << describe(frame.at(80, 10));
    EXPECT_TRUE(near(frame.at(80, 110), kRed, kTolerance)) << describe(frame.at(80, 110));
}

struct TransitionCase {
    const char* name;
    TransitionKind kind;
    int maskNumber;
    bool expectMix;  // true: the middle frame is the mix; false: it shows both regions
};

class RenderTransition : public ::testing::TestWithParam<TransitionCase> {};

TEST_P(RenderTransition, MidpointShowsBothClips) {
    const TransitionCase& param = GetParam();
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.red, 0, 1500 * kSecond / 1000);
    TrackModel& top = addVideoTrack(video, media.green, kSecond, 2 * kSecond);
    addTransition(top, param.kind, kSecond, 1500 * kSecond / 1000, param.maskNumber);
    timeline.groups = {video};
    const std::string output = folder.file("transition.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 50u);
    EXPECT_TRUE(near(frameAt(decoded, 0.96, 25).centre(), kRed, kTolerance));
    EXPECT_TRUE(near(frameAt(decoded, 1.6, 25).centre(), kGreen, kTolerance));
    const RgbFrame& middle = frameAt(decoded, 1.24, 25);  // progress 0.48
    if (param.expectMix) {
        const Rgb mix{static_cast<int>(255 * 0.52), static_cast<int>(255 * 0.48), 0};
        EXPECT_TRUE(near(middle.centre(), mix, 30)) << describe(middle.centre());
    } else {
        int reds = 0;
        int greens = 0;
        for (int y = 0; y < middle.height; ++y) {
            for (int x = 0; x < middle.width; ++x) {
                reds += near(middle.at(x, y), kRed, 40) ? 1 : 0;
                greens += near(middle.at(x, y), kGreen, 40) ? 1 : 0;
            }
        }
        const int pixels = middle.width * middle.height;
        EXPECT_GT(reds, pixels / 5);
        EXPECT_GT(greens, pixels / 5);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RenderTransition,
                         ::testing::Values(TransitionCase{"Fade", TransitionKind::Fade, 0, true},
                                           TransitionCase{"SmpteWipe1", TransitionKind::SmpteWipe,
                                                          1, false},
                                           TransitionCase{"Wipe", TransitionKind::Wipe, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderEngine, SpeedTwoDoublesThePitchAndHalvesTheSpan) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.blue, 0, 2 * kSecond);
    GroupModel audio = audioGroup();
    addAudioTrack(audio, media.tone1000, 0, kSecond, 1.0, 2 * kSecond);
    timeline.groups = {video, audio};
    const std::string output = folder.file("speed.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.1, 0.9), 2000.0, 15.0);
    EXPECT_NEAR(rmsLevel(decoded, 0.1, 0.9), sourceLevel(media.tone1000), 0.01);
    EXPECT_LT(rmsLevel(decoded, 1.05, 1.95), 0.01) << "the placement ends at 1 s";
    EXPECT_EQ(decoded.samples.size(), 2u * 88200u) << "padded with silence to the video's end";
}

TEST(RenderEngine, RepeatedCopiesSoundAtTheirStartsAndTheyMixWithoutClipping) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.blue, 0, 2 * kSecond);
    GroupModel audio = audioGroup();
    addAudioTrack(audio, media.tone440, 0, kSecond / 2, 1.0);
    addAudioTrack(audio, media.tone440, kSecond, 3 * kSecond / 2, 1.0);
    addAudioTrack(audio, media.tone1000, kSecond, 3 * kSecond / 2, 0.0);  // muted
    timeline.groups = {video, audio};
    const std::string output = folder.file("copies.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    const double level = sourceLevel(media.tone440);
    EXPECT_NEAR(rmsLevel(decoded, 0.05, 0.45), level, 0.01);
    EXPECT_LT(rmsLevel(decoded, 0.55, 0.95), 0.01);
    EXPECT_NEAR(rmsLevel(decoded, 1.05, 1.45), level, 0.01);
    EXPECT_NEAR(toneFrequencyHz(decoded, 1.05, 1.45), 440.0, 6.0);
    EXPECT_LT(rmsLevel(decoded, 1.55, 1.95), 0.01);
}

TEST(RenderEngine, SourcesSumAndTheSumIsClippedOnce) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel audio = audioGroup();
    // Four copies of the same tone at full level sum to twice full scale: clipped to a square-ish
    // wave whose peaks sit at full scale, never wrapped around.
    for (int copy = 0; copy < 4; ++copy) {
        addAudioTrack(audio, media.tone440, 0, kSecond, 1.0);
    }
    timeline.groups = {videoGroup(160, 120, 25.0), audio};
    addVideoTrack(timeline.groups[0], media.blue, 0, kSecond);
    const std::string output = folder.file("sum.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
    const DecodedAvi decoded = decodeFile(output);
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.1, 0.9), 440.0, 5.0);
    // Four times the source level passes full scale: clipped, so the level stays below 4x and
    // the peaks sit at full scale, with no wrap-around to the other sign.
    const double level = sourceLevel(media.tone440);
    EXPECT_GT(rmsLevel(decoded, 0.1, 0.9), 2.0 * level);
    EXPECT_LT(rmsLevel(decoded, 0.1, 0.9), 3.5 * level);
    float peak = 0.0f;
    for (float sample : decoded.samples) {
        peak = std::max(peak, std::abs(sample));
    }
    EXPECT_GE(peak, 0.999f);
}

TEST(RenderEngine, EmptyAudioGroupGivesVideoOnlyFile) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.red, 0, kSecond);
    timeline.groups = {video, audioGroup()};
    const std::string output = folder.file("video_only.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.streams.size(), 1u);
    EXPECT_TRUE(decoded.streams[0].isVideo);
    EXPECT_EQ(decoded.frames.size(), 25u);
}

TEST(RenderEngine, SourceShorterThanItsSpanHoldsItsLastFrame) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.redThenBlue, 0, kSecond);  // the file lasts 0.4 s
    timeline.groups = {video};
    const std::string output = folder.file("hold.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 25u);
    EXPECT_TRUE(near(frameAt(decoded, 0.08, 25).centre(), kRed, kTolerance));
    EXPECT_TRUE(near(frameAt(decoded, 0.28, 25).centre(), kBlue, kTolerance));
    EXPECT_TRUE(near(frameAt(decoded, 0.8, 25).centre(), kBlue, kTolerance))
        << describe(frameAt(decoded, 0.8, 25).centre());
}

TEST(RenderEngine, StretchModesFitWithBarsOrFillTheFrame) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    struct Case {
        StretchMode mode;
        Rgb top;
    };
    for (const Case& fit :
         {Case{StretchMode::PreserveAspectRatio, kBlack}, Case{StretchMode::Stretch, kYellow}}) {
        SCOPED_TRACE(static_cast<int>(fit.mode));
        TimelineModel timeline;
        GroupModel video = videoGroup(160, 120, 25.0);
        addVideoTrack(video, media.wide, 0, kSecond / 5, fit.mode);
        timeline.groups = {video};
        const std::string output = folder.file("fit.avi");
        expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
        const DecodedAvi decoded = decodeFile(output);
        ASSERT_FALSE(decoded.frames.empty());
        const RgbFrame& frame = decoded.frames[2];
        EXPECT_TRUE(near(frame.at(80, 5), fit.top, kTolerance)) << describe(frame.at(80, 5));
        EXPECT_TRUE(near(frame.at(80, 114), fit.top, kTolerance));
        EXPECT_TRUE(near(frame.centre(), kYellow, kTolerance));
        if (fit.mode == StretchMode::PreserveAspectRatio) {
            // 160x60 fits as 160x60 in the middle: rows 30 .. 89.
            EXPECT_TRUE(near(frame.at(80, 26), kBlack, kTolerance));
            EXPECT_TRUE(near(frame.at(80, 34), kYellow, kTolerance));
        }
    }
}

// A phone clip with a display matrix is turned as players turn it and then fitted: coded
// 160x120 with its white half on top, shown 120x160 (90 and 270 degrees) fits as 90x120 in the
// middle of the frame, with black bars left and right.
TEST(RenderEngine, RotatedClipsAreTurnedBeforeTheyAreFitted) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    struct Case {
        int rotate;  // the ffmpeg tool's "rotate" metadata
        int whiteX, whiteY, redX, redY, barX;
    };
    for (const Case& turn : {Case{90, 50, 60, 110, 60, 10}, Case{180, 80, 100, 80, 20, -1},
                             Case{270, 110, 60, 50, 60, 10}}) {
        SCOPED_TRACE(turn.rotate);
        const std::string clip = folder.file("rotated" + std::to_string(turn.rotate) + ".mp4");
        ASSERT_TRUE(test_support::runFfmpeg(
            "-i " + test_support::shellQuote(media.rotatedQuarterTurn) +
            " -c copy -metadata:s:v:0 rotate=" + std::to_string(turn.rotate) + " " +
            test_support::shellQuote(clip)));
        const DurationProbe probed = probeDuration(clip);
        ASSERT_TRUE(probed.succeeded());
        EXPECT_NEAR(static_cast<double>(probed.durationRefTime) / kSecond, 1.0, 0.05);
        TimelineModel timeline;
        GroupModel video = videoGroup(160, 120, 25.0);
        addVideoTrack(video, clip, 0, kSecond / 5);
        timeline.groups = {video};
        const std::string output = folder.file("turned.avi");
        expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
        const DecodedAvi decoded = decodeFile(output);
        ASSERT_EQ(decoded.frames.size(), 5u);
        const RgbFrame& frame = decoded.frames[2];
        EXPECT_TRUE(near(frame.at(turn.whiteX, turn.whiteY), kWhite, kTolerance))
            << describe(frame.at(turn.whiteX, turn.whiteY));
        EXPECT_TRUE(near(frame.at(turn.redX, turn.redY), kRed, kTolerance))
            << describe(frame.at(turn.redX, turn.redY));
        if (turn.barX >= 0) {
            EXPECT_TRUE(near(frame.at(turn.barX, 60), kBlack, kTolerance))
                << describe(frame.at(turn.barX, 60));
            EXPECT_TRUE(near(frame.at(159 - turn.barX, 60), kBlack, kTolerance));
        }
    }
}

TEST(RenderEngine, MissingSourceIsReportedAndTheRenderGoesOnInBlack) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, folder.file("missing.avi"), 0, kSecond / 2);
    addVideoTrack(video, media.green, kSecond / 2, kSecond);
    timeline.groups = {video};
    const std::string output = folder.file("missing_out.avi");
    const RenderOutcome outcome = renderToEnd(timeline, {output, std::nullopt, std::nullopt});
    expectRecoverableErrorsNaming(outcome, "missing.avi", 1);
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 25u);
    EXPECT_TRUE(near(decoded.frames[3].centre(), kBlack, kTolerance));
    EXPECT_TRUE(near(decoded.frames[20].centre(), kGreen, kTolerance));
}

}  // namespace
}  // namespace render_test

namespace render_test {
namespace {

TEST(RenderEngine, MediaStartOffsetsAndOtherSampleRatesAreHonoured) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    const std::string mono22k = folder.file("mono22k.wav");
    ASSERT_TRUE(test_support::makeTone(mono22k, 600.0, 1.0, 0.5, 22050, 1));
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    TrackModel& clip = addVideoTrack(video, media.redThenBlue, 0, kSecond / 2);
    clip.sources[0].mediaStart = seconds(0.2);  // starts on the blue half
    clip.sources[0].mediaStop = seconds(0.7);
    GroupModel audio = audioGroup();
    // From 0.6 s into a 1 s file: 0.4 s of sound, then silence.
    TrackModel& late = addAudioTrack(audio, media.tone440, 0, kSecond / 2, 1.0);
    late.sources[0].mediaStart = seconds(0.6);
    late.sources[0].mediaStop = seconds(1.1);
    // A mono 22,050 Hz file at half speed: 300 Hz.
    addAudioTrack(audio, mono22k, kSecond / 2, kSecond, 1.0, kSecond / 4);
    timeline.groups = {video, audio};
    const std::string output = folder.file("offsets.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 25u);
    EXPECT_TRUE(near(decoded.frames[0].centre(), kBlue, kTolerance))
        << describe(decoded.frames[0].centre());
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.05, 0.35), 440.0, 6.0);
    EXPECT_GT(rmsLevel(decoded, 0.05, 0.35), 0.1);
    EXPECT_LT(rmsLevel(decoded, 0.42, 0.48), 0.01) << "the file ended 0.4 s into the placement";
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.55, 0.95), 300.0, 5.0);
    EXPECT_GT(rmsLevel(decoded, 0.55, 0.95), 0.1) << "a mono file sounds on both channels";
}

}  // namespace
}  // namespace render_test

namespace render_test {
namespace {

TEST(RenderEngine, ACoveredSourceShowsTheRightFrameWhenUncovered) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    // 4 s red, then 1 s blue; key frames every 2 s.
    const std::string long_clip = folder.file("long.avi");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=red:s=160x120:r=25:d=4 -f lavfi -i color=c=blue:s=160x120:r=25:d=1 "
        "-filter_complex '[0][1]concat=n=2:v=1:a=0' -c:v mpeg4 -g 50 -q:v 2 -pix_fmt yuv420p " +
        test_support::shellQuote(long_clip)));
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, long_clip, 0, 5 * kSecond);
    // Shown for 1 s, then covered from 1 s to 4.5 s: it has to jump 3.5 s ahead.
    addVideoTrack(video, media.green, kSecond, 4500 * kSecond / 1000);
    timeline.groups = {video};
    const std::string output = folder.file("uncovered.avi");
    expectCompleted(renderToEnd(timeline, {output, std::nullopt, std::nullopt}));
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.frames.size(), 125u);
    EXPECT_TRUE(near(frameAt(decoded, 0.5, 25).centre(), kRed, kTolerance));
    EXPECT_TRUE(near(frameAt(decoded, 4.4, 25).centre(), kGreen, kTolerance));
    EXPECT_TRUE(near(frameAt(decoded, 4.6, 25).centre(), kBlue, kTolerance))
        << describe(frameAt(decoded, 4.6, 25).centre());
}

}  // namespace
}  // namespace render_test
