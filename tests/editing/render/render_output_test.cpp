#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

namespace render_test {
namespace {

using namespace editing;

TimelineModel redWithTone(RefTime length) {
    const RenderMedia& media = renderMedia();
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, media.red, 0, length);
    GroupModel audio = audioGroup();
    addAudioTrack(audio, media.tone440, 0, length, 1.0);
    timeline.groups = {video, audio};
    return timeline;
}

// Every compressor the registry lists for a container writes a file of that container that
// libavformat reads back with the right codec, frame count and times, picture and sound. AVI
// pairs each with "no compressor" for the other stream, MP4 and Matroska with their defaults.
TEST(RenderOutput, EveryListedCompressorWritesAReadableFileOfItsContainer) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    test_support::TemporaryFolder folder;
    const TimelineModel timeline = redWithTone(kSecond * 2 / 5);
    struct Case {
        OutputContainer container;
        std::optional<Compressor> video;
        std::optional<Compressor> audio;
    };
    std::vector<Case> cases;
    for (OutputContainer container : kOutputContainers) {
        ASSERT_FALSE(registry.videoCompressors(container).empty());
        ASSERT_FALSE(registry.audioCompressors(container).empty());
        const bool avi = container == OutputContainer::Avi;
        const std::optional<Compressor> videoDefault =
            avi ? std::nullopt
                : registry.videoAt(container,
                                   registry.defaultVideoPosition(container).value_or(-1));
        const std::optional<Compressor> audioDefault =
            avi ? std::nullopt
                : registry.audioAt(container,
                                   registry.defaultAudioPosition(container).value_or(-1));
        for (const Compressor& video : registry.videoCompressors(container)) {
            cases.push_back({container, video, audioDefault});
        }
        for (const Compressor& audio : registry.audioCompressors(container)) {
            cases.push_back({container, videoDefault, audio});
        }
    }
    for (const Case& entry : cases) {
        const std::string_view extension = containerExtension(entry.container);
        SCOPED_TRACE(std::string(extension) + " " + (entry.video ? entry.video->friendlyName : "") +
                     " + " + (entry.audio ? entry.audio->friendlyName : ""));
        const std::string output = folder.file("compressed" + std::string(extension));
        const RenderOutcome outcome = renderToEnd(timeline, {output, entry.video, entry.audio});
        ASSERT_EQ(outcome.startResult, kOk);
        EXPECT_EQ(outcome.completeEvents, 1);
        const DecodedAvi decoded = decodeFile(output);
        ASSERT_TRUE(decoded.opened);
        ASSERT_EQ(decoded.streams.size(), 2u);
        EXPECT_EQ(decoded.streams[0].codecName,
                  entry.video ? codecNameOfEncoder(entry.video->encoderName) : "rawvideo");
        EXPECT_EQ(decoded.streams[1].codecName,
                  entry.audio ? codecNameOfEncoder(entry.audio->encoderName) : "pcm_s16le");
        EXPECT_EQ(decoded.frames.size(), 10u);
        // Frame k is stamped k (in frame units), and a header that declares a frame count
        // declares what the file holds.
        if (decoded.declaredVideoFrames != 0 || entry.container == OutputContainer::Avi) {
            EXPECT_EQ(decoded.declaredVideoFrames,
                      static_cast<std::int64_t>(decoded.frames.size()));
        }
        std::vector<double> packetFrames;
        for (double seconds : decoded.videoPacketSeconds) {
            packetFrames.push_back(std::round(seconds * 25.0 * 1000.0) / 1000.0);
        }
        if (entry.container != OutputContainer::Avi) {
            std::sort(packetFrames.begin(), packetFrames.end());  // B-frames come out of order
        }
        if (entry.container == OutputContainer::Matroska && !packetFrames.empty()) {
            // Matroska starts every stream later by an audio encoder's priming (under 26 ms)
            // that its first packet is stamped before; the frames keep their spacing.
            const double start = packetFrames.front();
            EXPECT_LT(start, 0.7);
            for (double& frame : packetFrames) {
                frame = std::round((frame - start) * 1000.0) / 1000.0;
            }
        }
        std::vector<double> expectedFrames;
        for (std::size_t frame = 0; frame < decoded.frames.size(); ++frame) {
            expectedFrames.push_back(static_cast<double>(frame));
        }
        EXPECT_EQ(packetFrames, expectedFrames);
        if (!decoded.frames.empty()) {
            const Rgb centre = decoded.frames[decoded.frames.size() / 2].centre();
            EXPECT_TRUE(near(centre, Rgb{255, 0, 0}, 40)) << describe(centre);
        }
        // Encoders with a fixed frame size pad the last frame; none may lose sound.
        EXPECT_GE(decoded.samples.size() / 2, 17640u * 95 / 100);
        EXPECT_NEAR(toneFrequencyHz(decoded, 0.05, 0.35), 440.0, 8.0);
    }
}

TEST(RenderOutput, DefaultCompressorsAreDivxMpeg4AndMicrosoftAdpcm) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    ASSERT_TRUE(registry.defaultVideoPosition().has_value());
    ASSERT_TRUE(registry.defaultAudioPosition().has_value());
    EXPECT_EQ(registry.videoAt(*registry.defaultVideoPosition())->encoderName, "mpeg4");
    EXPECT_EQ(registry.audioAt(*registry.defaultAudioPosition())->encoderName, "adpcm_ms");
}

TEST(RenderOutput, StopEndsLikeCompletionAndLeavesAPlayableFile) {
    test_support::TemporaryFolder folder;
    const std::string output = folder.file("stopped.avi");
    RenderEngine engine;
    const RefTime length = 120 * kSecond;
    ASSERT_EQ(engine.start(redWithTone(length), {output, std::nullopt, std::nullopt}), kOk);
    EXPECT_TRUE(engine.isRunning());
    EXPECT_EQ(engine.durationRefTime(), length);
    EXPECT_EQ(
        engine.start(redWithTone(length), {folder.file("second.avi"), std::nullopt, std::nullopt}),
        kErrorRenderBusy);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (engine.progressRefTime() < kSecond && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    engine.stop();
    const RefTime reached = engine.progressRefTime();
    EXPECT_GE(reached, kSecond);
    EXPECT_LT(reached, length);
    EXPECT_FALSE(engine.isRunning());
    engine.stop();  // harmless
    for (const RenderEvent& event : engine.takeEvents()) {
        EXPECT_NE(event.kind, RenderEventKind::Complete) << "a stopped render did not complete";
        EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
    }
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    ASSERT_EQ(decoded.streams.size(), 2u);
    EXPECT_EQ(decoded.decodeErrors, 0);
    const auto framesReached = static_cast<std::size_t>(reached * 25 / kRefTimePerSecond);
    EXPECT_GE(decoded.frames.size(), framesReached);
    EXPECT_LT(decoded.frames.size(), framesReached + 40);  // at most the queued frames more
    ASSERT_FALSE(decoded.frames.empty());
    EXPECT_TRUE(near(decoded.frames.back().centre(), Rgb{255, 0, 0}, 24));
    // A new render can start once the previous one has been stopped.
    EXPECT_EQ(engine.start(redWithTone(kSecond / 5),
                           {folder.file("next.avi"), std::nullopt, std::nullopt}),
              kOk);
    engine.stop();
}

TEST(RenderOutput, StartFailuresAreReportedAndLeaveNoFile) {
    test_support::TemporaryFolder folder;
    RenderEngine engine;
    EXPECT_EQ(engine.start(TimelineModel{}, {folder.file("empty.avi"), std::nullopt, std::nullopt}),
              kErrorEmptyTimeline);
    EXPECT_FALSE(std::filesystem::exists(folder.file("empty.avi")));
    EXPECT_EQ(engine.start(redWithTone(kSecond), {"", std::nullopt, std::nullopt}),
              kErrorInvalidArgument);
    const std::string unwritable = folder.file("no/such/folder/out.avi");
    EXPECT_TRUE(
        failed(engine.start(redWithTone(kSecond), {unwritable, std::nullopt, std::nullopt})));
    EXPECT_FALSE(engine.lastErrorDescription().empty());
    EXPECT_FALSE(engine.isRunning());
    TimelineModel noFrameRate = redWithTone(kSecond);
    noFrameRate.groups[0].outputFramesPerSecond = 0.0;
    EXPECT_EQ(engine.start(noFrameRate, {folder.file("rate.avi"), std::nullopt, std::nullopt}),
              kErrorInvalidArgument);
    Compressor unknown;
    unknown.encoderName = "no_such_encoder";
    EXPECT_EQ(engine.start(redWithTone(kSecond), {folder.file("codec.avi"), unknown, std::nullopt}),
              kErrorNoCompressor);
    EXPECT_FALSE(std::filesystem::exists(folder.file("codec.avi")));
}

TEST(RenderOutput, AudioOnlyTimelineWritesOneAudioStream) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel audio = audioGroup();
    addAudioTrack(audio, media.green, 0, kSecond / 2, 1.0);  // a video file's own sound
    timeline.groups = {audio};
    const std::string output = folder.file("audio_only.avi");
    const RenderOutcome outcome = renderToEnd(timeline, {output, std::nullopt, std::nullopt});
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.streams.size(), 1u);
    EXPECT_FALSE(decoded.streams[0].isVideo);
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.05, 0.45), 880.0, 8.0);
}

}  // namespace
}  // namespace render_test

namespace render_test {
namespace {

// Frame sizes whose rows are not a multiple of 4 bytes (DIB padding) or whose chroma planes
// round up, uncompressed and with the default video compressor.
TEST(RenderOutput, OddFrameSizesRenderAndKeepTheirSize) {
    const RenderMedia& media = renderMedia();
    const CompressorRegistry registry = CompressorRegistry::discover();
    test_support::TemporaryFolder folder;
    struct Case {
        int width;
        int height;
        bool compressed;
    };
    for (const Case& entry : {Case{161, 121, false}, Case{98, 62, false}, Case{162, 122, true}}) {
        SCOPED_TRACE(std::to_string(entry.width) + "x" + std::to_string(entry.height));
        TimelineModel timeline;
        GroupModel video = videoGroup(entry.width, entry.height, 25.0);
        addVideoTrack(video, media.whiteOverRed, 0, kSecond / 5, StretchMode::Stretch);
        timeline.groups = {video};
        const std::string output = folder.file("odd.avi");
        const std::optional<Compressor> compressor =
            entry.compressed ? registry.videoAt(*registry.defaultVideoPosition()) : std::nullopt;
        const RenderOutcome outcome = renderToEnd(timeline, {output, compressor, std::nullopt});
        ASSERT_EQ(outcome.startResult, kOk);
        EXPECT_EQ(outcome.completeEvents, 1);
        const DecodedAvi decoded = decodeFile(output);
        ASSERT_EQ(decoded.frames.size(), 5u);
        EXPECT_EQ(decoded.frames[2].width, entry.width);
        EXPECT_EQ(decoded.frames[2].height, entry.height);
        const RgbFrame& frame = decoded.frames[2];
        EXPECT_TRUE(near(frame.at(frame.width / 2, 2), Rgb{255, 255, 255}, 30))
            << describe(frame.at(frame.width / 2, 2));
        EXPECT_TRUE(near(frame.at(frame.width / 2, frame.height - 3), Rgb{255, 0, 0}, 30))
            << describe(frame.at(frame.width / 2, frame.height - 3));
    }
}

}  // namespace
}  // namespace render_test

namespace render_test {
namespace {

TEST(RenderOutput, AnExistingFileIsOverwritten) {
    test_support::TemporaryFolder folder;
    const std::string output = folder.file("existing.avi");
    {
        std::ofstream existing(output, std::ios::binary);
        existing << std::string(4 << 20, 'x');  // larger than the render
    }
    const RenderOutcome outcome =
        renderToEnd(redWithTone(kSecond / 5), {output, std::nullopt, std::nullopt});
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    EXPECT_LT(std::filesystem::file_size(output), std::uintmax_t{1} << 20);
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    EXPECT_EQ(decoded.frames.size(), 5u);
    EXPECT_EQ(decoded.decodeErrors, 0);
}

}  // namespace
}  // namespace render_test
