#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/log.h>
}

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace render_test {
namespace {

using namespace editing;

// Ten frames at 25 fps of `file`, fitted to 160 x 120.
TimelineModel tenFramesOf(const std::string& file) {
    TimelineModel timeline;
    GroupModel video = videoGroup(160, 120, 25.0);
    addVideoTrack(video, file, 0, kSecond * 2 / 5, StretchMode::Stretch);
    timeline.groups = {video};
    return timeline;
}

struct Rendered {
    std::uintmax_t fileBytes = 0;
    DecodedAvi decoded;
};

Rendered renderWith(const TimelineModel& timeline, const Compressor& compressor,
                    const std::string& output) {
    const RenderOutcome outcome = renderToEnd(timeline, {output, compressor, std::nullopt});
    EXPECT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    return {std::filesystem::file_size(output), decodeFile(output)};
}

// Encoder warnings that tell of coefficients clipped (a quantiser finer than the encoder's
// tables hold), gathered from FFmpeg's log while an instance lives.
class ClippingWarnings {
  public:
    ClippingWarnings() {
        const std::lock_guard lock(guard());
        seen().clear();
        av_log_set_callback(&ClippingWarnings::keep);
    }
    ~ClippingWarnings() { av_log_set_callback(av_log_default_callback); }
    std::vector<std::string> lines() const {
        const std::lock_guard lock(guard());
        return seen();
    }

  private:
    static std::mutex& guard() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::string>& seen() {
        static std::vector<std::string> lines;
        return lines;
    }
    static void keep(void* object, int level, const char* format, va_list arguments) {
        va_list copy;
        va_copy(copy, arguments);
        char text[512] = {};
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        if (std::string(text).find("clipping") != std::string::npos) {
            const std::lock_guard lock(guard());
            seen().emplace_back(text);
        }
        av_log_default_callback(object, level, format, arguments);
    }
};

// The quality each listed encoder offers reaches the file: its best end writes a larger file
// than its smallest-file end, on a picture with detail.
TEST(EncoderSettingsRendered, TheQualityRangeChangesTheFileSize) {
    test_support::TemporaryFolder folder;
    const std::string detailed = folder.file("detailed.avi");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=0.4 -c:v mpeg4 -q:v 1 " +
        test_support::shellQuote(detailed)));
    const TimelineModel timeline = tenFramesOf(detailed);
    int compared = 0;
    const CompressorRegistry registry = CompressorRegistry::discover();
    for (Compressor compressor : registry.videoCompressors()) {
        if (!compressor.settable.quality) {
            continue;
        }
        SCOPED_TRACE(compressor.friendlyName);
        compressor.settings.quality = compressor.settable.quality->least;
        const ClippingWarnings warnings;
        const Rendered best = renderWith(timeline, compressor, folder.file("best.avi"));
        // The best quality offered is one the encoder codes without clipping.
        EXPECT_TRUE(warnings.lines().empty()) << warnings.lines().front();
        compressor.settings.quality = compressor.settable.quality->most;
        const Rendered smallest = renderWith(timeline, compressor, folder.file("smallest.avi"));
        EXPECT_EQ(best.decoded.frames.size(), 10u);
        EXPECT_EQ(smallest.decoded.frames.size(), 10u);
        EXPECT_GT(best.fileBytes, smallest.fileBytes * 2)
            << best.fileBytes << " vs " << smallest.fileBytes;
        ++compared;
    }
    EXPECT_GT(compared, 0) << "no listed encoder takes a quality";
}

// The key-frame interval each listed encoder offers reaches the file: every third frame of ten
// is a key frame, where the default interval gives only the first.
TEST(EncoderSettingsRendered, TheKeyFrameIntervalReachesTheFile) {
    test_support::TemporaryFolder folder;
    const TimelineModel timeline = tenFramesOf(renderMedia().red);
    int compared = 0;
    const CompressorRegistry registry = CompressorRegistry::discover();
    for (Compressor compressor : registry.videoCompressors()) {
        if (!compressor.settable.keyFrameInterval) {
            continue;
        }
        SCOPED_TRACE(compressor.friendlyName);
        const Rendered usual = renderWith(timeline, compressor, folder.file("usual.avi"));
        EXPECT_EQ(usual.decoded.videoPackets, 10);
        EXPECT_EQ(usual.decoded.videoKeyPackets, 1);
        compressor.settings.keyFrameInterval = 3;
        const Rendered often = renderWith(timeline, compressor, folder.file("often.avi"));
        EXPECT_EQ(often.decoded.videoPackets, 10);
        EXPECT_EQ(often.decoded.videoKeyPackets, 4);  // frames 0, 3, 6 and 9
        EXPECT_EQ(often.decoded.frames.size(), 10u);
        ++compared;
    }
    EXPECT_GT(compared, 0) << "no listed encoder takes a key-frame interval";
}

}  // namespace
}  // namespace render_test
