#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/small_disk.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace render_test {
namespace {

using namespace editing;

constexpr double kFramesPerSecond = 25.0;

RenderOutcome renderFourSeconds(const std::string& output) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    const OutputContainer container = OutputContainer::Mp4;
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, kFramesPerSecond);
    addVideoTrack(video, renderMedia().redThenBlue, 0, 4 * kSecond);
    GroupModel sound = audioGroup();
    addAudioTrack(sound, renderMedia().tone440, 0, 4 * kSecond, 1.0);
    timeline.groups = {video, sound};
    return renderToEnd(
        timeline,
        {output, registry.videoAt(container, *registry.findVideoEncoder(container, "mjpeg")),
         registry.audioAt(container, *registry.defaultAudioPosition(container))});
}

// With room for the mix but not for the second copy that moving the MP4 index to the front
// needs, the mix still completes: the file keeps its fragmented form, plays in full, and the
// render says that it is complete but not prepared for streaming (not a failure naming the
// temporary copy).
TEST(Mp4IndexRoom, WithoutRoomForTheIndexMoveTheCompleteFileIsKeptAndSaidSo) {
    test_support::TemporaryFolder folder;
    const std::string reference = folder.file("reference.mp4");
    ASSERT_EQ(renderFourSeconds(reference).completeEvents, 1);
    const std::uintmax_t size = std::filesystem::file_size(reference);
    const std::size_t pages = (size * 3 / 2) / 4096 + 1;
    const test_support::SmallDisk disk(pages * 4096);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.error();
    }
    const std::string output = disk.file("out.mp4");
    const RenderOutcome outcome = renderFourSeconds(output);

    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    int notices = 0;
    for (const RenderEvent& event : outcome.events) {
        EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
        if (event.kind == RenderEventKind::Notice) {
            ++notices;
            EXPECT_NE(event.description.find("is complete and plays, but it could not be "
                                             "prepared for streaming"),
                      std::string::npos)
                << event.description;
            EXPECT_NE(event.description.find("No space left on device"), std::string::npos);
            EXPECT_EQ(event.description.find(".faststart"), std::string::npos);
        }
    }
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(std::filesystem::exists(output + ".faststart"));
    const DecodedAvi decoded = decodeFile(output);
    ASSERT_TRUE(decoded.opened);
    EXPECT_EQ(decoded.decodeErrors, 0);
    EXPECT_EQ(decoded.frames.size(), 100u);
    EXPECT_NEAR(static_cast<double>(decoded.samples.size() / 2) / decoded.sampleRate, 4.0, 0.05);
}

}  // namespace
}  // namespace render_test
