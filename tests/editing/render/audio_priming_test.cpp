#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace render_test {
namespace {

using namespace editing;

// A clip whose flash and beep start together at 0.92 s keeps them together in MP4 and Matroska
// with every sound compressor those containers offer: the encoder's priming samples are
// signalled as such (MP4 edit list, Matroska codec delay or stream start), not played as sound.
TEST(AudioPriming, FlashAndBeepStayWithinFiveMillisecondsInEveryCompressedContainer) {
    const CompressorRegistry registry = CompressorRegistry::discover();
    test_support::TemporaryFolder folder;
    const std::string clip = renderMedia().flashAndBeep;
    int checked = 0;
    for (const char* name : {"sync.mp4", "sync.mkv"}) {
        const OutputContainer container = containerForFileName(name);
        const std::vector<std::string> audioNames = registry.audioNames(container);
        for (int position = 0; position < static_cast<int>(audioNames.size()); ++position) {
            const Compressor audio = *registry.audioAt(container, position);
            SCOPED_TRACE(std::string(name) + " with " + audio.encoderName);
            TimelineModel timeline;
            GroupModel video = videoGroup(160, 120, 25.0);
            addVideoTrack(video, clip, 0, 2 * kSecond);
            GroupModel sound = audioGroup();
            addAudioTrack(sound, clip, 0, 2 * kSecond, 1.0);
            timeline.groups = {video, sound};
            const std::string output = folder.file(std::to_string(position) + name);
            const RenderOutcome outcome = renderToEnd(
                timeline,
                {output, registry.videoAt(container, *registry.defaultVideoPosition(container)),
                 audio});
            ASSERT_EQ(outcome.startResult, kOk);
            ASSERT_EQ(outcome.completeEvents, 1);

            const DecodedAvi decoded = decodeFile(output);
            ASSERT_TRUE(decoded.opened);
            const double flash = firstBrightFrameSeconds(decoded, 128);
            const double beepInSamples = firstLoudSampleSeconds(decoded, 0.2f);
            ASSERT_GE(flash, 0.0);
            ASSERT_GE(beepInSamples, 0.0);
            const double beep = decoded.firstAudioFrameSeconds + beepInSamples;
            EXPECT_LE(std::abs(beep - flash), 0.005) << "flash " << flash << " s, beep " << beep;
            ++checked;
        }
    }
    EXPECT_GE(checked, 2) << "no sound compressor offered for MP4 or Matroska";
}

}  // namespace
}  // namespace render_test
