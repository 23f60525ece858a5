#include "editing/compressors/compressor_registry.h"
#include "editing/probe/duration_probe.h"
#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

namespace render_test {
namespace {

using namespace editing;

constexpr double kFramesPerSecond = 25.0;

// The top-level boxes of an MP4 file, in file order ("ftyp", "moov", "mdat" ...).
std::vector<std::string> topLevelBoxes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> boxes;
    std::uint64_t offset = 0;
    const std::uint64_t size = std::filesystem::file_size(path);
    while (offset + 8 <= size) {
        unsigned char header[16] = {};
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(reinterpret_cast<char*>(header), 16);
        std::uint64_t length =
            (std::uint64_t{header[0]} << 24) | (header[1] << 16) | (header[2] << 8) | header[3];
        if (length == 1) {
            length = 0;
            for (int byte = 8; byte < 16; ++byte) {
                length = (length << 8) | header[byte];
            }
        }
        boxes.emplace_back(reinterpret_cast<const char*>(header + 4), 4);
        if (length < 8) {
            break;
        }
        offset += length;
    }
    return boxes;
}

std::size_t indexOf(const std::vector<std::string>& boxes, const std::string& name) {
    return static_cast<std::size_t>(std::find(boxes.begin(), boxes.end(), name) - boxes.begin());
}

// `picture` shown and `sound` heard from 0 to `length`, at 160x120 and 25 fps.
TimelineModel pictureAndSound(const std::string& picture, const std::string& sound,
                              RefTime length) {
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, kFramesPerSecond);
    addVideoTrack(video, picture, 0, length);
    GroupModel audio = audioGroup();
    addAudioTrack(audio, sound, 0, length, 1.0);
    timeline.groups = {video, audio};
    return timeline;
}

struct ContainerCase {
    const char* fileName;
    const char* formatName;  // as libavformat names the demuxer
    const char* videoEncoder;
    const char* audioEncoder;  // empty: the container's default
};

// Each container with H.264 (B-frames where the container keeps presentation times) and its
// default sound: the file holds one frame per 1 / 25 s stamped 0, 1, 2 ... in frame units, the
// flash shows when the beep sounds (within one frame), and an MP4 has its index in front.
TEST(OutputContainers, EveryContainerKeepsFrameTimesAndSyncAndMp4StartsWithItsIndex) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    test_support::TemporaryFolder folder;
    for (const ContainerCase& entry : {ContainerCase{"mix.avi", "avi", "libx264", "libmp3lame"},
                                       ContainerCase{"mix.mp4", "mov,mp4,m4a,3gp,3g2,mj2", "", ""},
                                       ContainerCase{"mix.MKV", "matroska,webm", "", ""}}) {
        SCOPED_TRACE(entry.fileName);
        const OutputContainer container = containerForFileName(entry.fileName);
        const std::optional<int> videoPosition =
            *entry.videoEncoder != 0 ? registry.findVideoEncoder(container, entry.videoEncoder)
                                     : registry.defaultVideoPosition(container);
        const std::optional<int> audioPosition =
            *entry.audioEncoder != 0 ? registry.findAudioEncoder(container, entry.audioEncoder)
                                     : registry.defaultAudioPosition(container);
        if (!videoPosition || !audioPosition) {
            ADD_FAILURE() << "no H.264 or no audio encoder for " << entry.fileName;
            continue;
        }
        const Compressor video = *registry.videoAt(container, *videoPosition);
        const Compressor audio = *registry.audioAt(container, *audioPosition);
        EXPECT_EQ(video.encoderName, "libx264");
        const std::string output = folder.file(entry.fileName);
        // A phone clip (H.264 with B-frames, AAC) whose flash and beep start together.
        const std::string clip = renderMedia().flashAndBeep;
        const RenderOutcome outcome =
            renderToEnd(pictureAndSound(clip, clip, 2 * kSecond), {output, video, audio});
        ASSERT_EQ(outcome.startResult, kOk);
        EXPECT_EQ(outcome.completeEvents, 1);

        const DecodedAvi decoded = decodeFile(output);
        ASSERT_TRUE(decoded.opened);
        EXPECT_EQ(decoded.formatName, entry.formatName);
        ASSERT_EQ(decoded.streams.size(), 2u);
        EXPECT_EQ(decoded.streams[0].codecName, "h264");
        EXPECT_EQ(decoded.streams[1].codecName, codecNameOfEncoder(audio.encoderName));
        EXPECT_EQ(decoded.decodeErrors, 0);
        ASSERT_EQ(decoded.frames.size(), 50u);
        // Matroska starts every stream later by the AAC encoder's priming (under 24 ms), which
        // its first packet is stamped before.
        const double start = container == OutputContainer::Matroska ? decoded.frameSeconds[0] : 0;
        EXPECT_LT(start, 0.025);
        for (std::size_t frame = 0; frame < decoded.frames.size(); ++frame) {
            ASSERT_NEAR((decoded.frameSeconds[frame] - start) * kFramesPerSecond,
                        static_cast<double>(frame), 0.01)
                << "frame " << frame;
        }
        std::vector<double> packetFrames;
        for (double seconds : decoded.videoPacketSeconds) {
            packetFrames.push_back(std::round((seconds - start) * kFramesPerSecond));
        }
        std::sort(packetFrames.begin(), packetFrames.end());
        EXPECT_EQ(packetFrames.front(), 0.0);
        EXPECT_EQ(packetFrames.back(), 49.0);
        const double flash = firstBrightFrameSeconds(decoded, 128);
        const double beep = firstLoudSampleSeconds(decoded, 0.2f);
        EXPECT_NEAR(flash - start, 0.92, 0.5 / kFramesPerSecond);
        EXPECT_NEAR(beep, flash, 1.0 / kFramesPerSecond) << "flash " << flash << " s";
        EXPECT_NEAR(static_cast<double>(decoded.samples.size() / 2) / decoded.sampleRate, 2.0,
                    0.05);
        const DurationProbe probed = probeDuration(output);
        ASSERT_TRUE(probed.succeeded());
        EXPECT_NEAR(static_cast<double>(probed.durationRefTime) / kSecond, 2.0, 0.05);
        if (container == OutputContainer::Mp4) {
            const std::vector<std::string> boxes = topLevelBoxes(output);
            EXPECT_LT(indexOf(boxes, "moov"), indexOf(boxes, "mdat"));
            EXPECT_EQ(indexOf(boxes, "moof"), boxes.size()) << "still fragmented";
        }
    }
}

// A stopped mix plays in every container, and an MP4 copied while the render runs (what a
// render killed at that moment leaves) plays up to its last fragment.
TEST(OutputContainers, StoppedAndKilledMixesPlay) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    const TimelineModel timeline = pictureAndSound(media.red, media.tone440, 120 * kSecond);
    for (const char* name : {"stopped.mp4", "stopped.mkv", "stopped.avi"}) {
        SCOPED_TRACE(name);
        const OutputContainer container = containerForFileName(name);
        const std::string output = folder.file(name);
        const std::string killed = folder.file(std::string("killed_") + name);
        RenderEngine engine;
        ASSERT_EQ(
            engine.start(
                timeline,
                {output, registry.videoAt(container, *registry.defaultVideoPosition(container)),
                 registry.audioAt(container, *registry.defaultAudioPosition(container))}),
            kOk);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (engine.progressRefTime() < 3 * kSecond &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::filesystem::copy_file(output, killed);
        engine.stop();
        for (const RenderEvent& event : engine.takeEvents()) {
            EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
        }
        const DecodedAvi stopped = decodeFile(output);
        ASSERT_TRUE(stopped.opened);
        EXPECT_EQ(stopped.decodeErrors, 0);
        EXPECT_GE(stopped.frames.size(), 75u);
        EXPECT_GT(stopped.samples.size() / 2, 3u * 44100);
        if (container == OutputContainer::Mp4) {
            const std::vector<std::string> boxes = topLevelBoxes(output);
            EXPECT_LT(indexOf(boxes, "moov"), indexOf(boxes, "mdat"));
            const DecodedAvi cut = decodeFile(killed);
            ASSERT_TRUE(cut.opened);
            EXPECT_GE(cut.frames.size(), 25u);
            EXPECT_GE(cut.samples.size() / 2, 44100u);
            // Picture and sound start together (later by the B-frames' delay, both of them).
            ASSERT_FALSE(cut.frameSeconds.empty());
            EXPECT_NEAR(cut.frameSeconds.front(), cut.firstAudioPacketSeconds, 0.001);
        }
    }
}

}  // namespace
}  // namespace render_test
