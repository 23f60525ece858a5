// The previews the transition dialogs show: the editing layer's own effects in a loop, and the
// two stills a clip's transition blends, decoded from the user's files.

#include "editing/preview/transition_preview.h"
#include "editing/preview/clip_stills.h"
#include "editing/transitions/transition_catalog.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace editing {
namespace {

constexpr int kWidth = TransitionPreview::kWidth;
constexpr int kHeight = TransitionPreview::kHeight;

bool samePictures(const Picture& a, const Picture& b) {
    for (int plane = 0; plane < 3; ++plane) {
        const ConstPlaneView left = a.view().planes[plane];
        const ConstPlaneView right = b.view().planes[plane];
        for (int y = 0; y < left.height; ++y) {
            for (int x = 0; x < left.width; ++x) {
                if (left.row(y)[x] != right.row(y)[x]) {
                    return false;
                }
            }
        }
    }
    return true;
}

// The centre pixel's colour, converted as the dialogs convert it.
std::uint32_t centreColour(const Picture& picture) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    convertToRgb32(picture.view(), pixels, kWidth);
    return pixels[static_cast<std::size_t>(kHeight / 2) * kWidth + kWidth / 2];
}

bool near(std::uint32_t argb, int red, int green, int blue) {
    const int tolerance = 40;
    return std::abs(static_cast<int>((argb >> 16) & 0xff) - red) < tolerance &&
           std::abs(static_cast<int>((argb >> 8) & 0xff) - green) < tolerance &&
           std::abs(static_cast<int>(argb & 0xff) - blue) < tolerance;
}

TEST(TransitionPreview, LoopsTheRendersOwnEffectOverOneAndAHalfSeconds) {
    struct Step {
        RefTime loopTime;
        double progress;
    };
    for (const Step& step :
         {Step{0, 0.0}, Step{1'500'000, 0.0}, Step{7'500'000, 0.5}, Step{13'500'000, 1.0},
          Step{14'999'999, 1.0}, Step{22'500'000, 0.5}, Step{-7'500'000, 0.5}}) {
        EXPECT_DOUBLE_EQ(TransitionPreview::progressAt(step.loopTime), step.progress)
            << step.loopTime;
    }

    // Every frame is exactly what the render's effect draws for the same pictures and progress.
    TransitionPreview preview;
    ASSERT_TRUE(preview.setPictures(builtInPreviewPictureA(), builtInPreviewPictureB()));
    EXPECT_FALSE(preview.setPictures(Picture(64, 48), Picture(64, 48)));
    const Picture from = builtInPreviewPictureA();
    const Picture to = builtInPreviewPictureB();
    for (int effect = 1; effect < kTransitionEffectCount; ++effect) {
        preview.setEffect(effect);
        const RefTime loopTime = 5'000'000;
        const auto setup = transitionSetupForEffect(effect, kWidth, kHeight, 1);
        ASSERT_TRUE(setup.has_value());
        Picture expected(kWidth, kHeight);
        createTransition(*setup)->blend(from.view(), to.view(),
                                        TransitionPreview::progressAt(loopTime), expected.view());
        EXPECT_TRUE(samePictures(preview.frameAt(loopTime), expected))
            << transitionEffectName(effect);
    }
    // "None" cuts where the overlap starts, as the render covers the previous clip there.
    preview.setEffect(0);
    EXPECT_TRUE(samePictures(preview.frameAt(1'000'000), from));
    EXPECT_TRUE(samePictures(preview.frameAt(2'000'000), to));
}

TEST(TransitionStills, PreviousClipsLastFrameAndThisClipsFirstFrame) {
    test_support::TemporaryFolder folder;
    // The previous clip turns red, green, white (at 1 s and 1.5 s) with key frames every
    // second, as phones write them: the key frame before its end is green, its last frame white.
    const std::string previous = folder.file("previous.mp4");
    const std::string clip = folder.file("clip.mp4");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=red:s=640x360:r=30:d=1 -f lavfi -i color=c=green:s=640x360:r=30:d=0.5 "
        "-f lavfi -i color=c=white:s=640x360:r=30:d=0.5 "
        "-filter_complex '[0:v][1:v][2:v]concat=n=3:v=1[v]' -map '[v]' -c:v libx264 -g 30 "
        "-keyint_min 30 -sc_threshold 0 -pix_fmt yuv420p " +
        test_support::shellQuote(previous)));
    ASSERT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i color=c=blue:s=640x360:r=30:d=1 -f lavfi -i color=c=yellow:s=640x360:r=30:d=1 "
        "-filter_complex '[0:v][1:v]concat=n=2:v=1[v]' -map '[v]' -c:v libx264 -g 30 "
        "-pix_fmt yuv420p " +
        test_support::shellQuote(clip)));

    TransitionStillsRequest request;
    request.previousFileName = previous;
    request.previousDuration = 2 * kRefTimePerSecond;
    request.fileName = clip;
    request.width = kWidth;
    request.height = kHeight;
    std::vector<StillsAccuracy> deliveries;
    loadTransitionStills(request, [&](const TransitionStills& stills, StillsAccuracy accuracy) {
        deliveries.push_back(accuracy);
        const std::uint32_t from = centreColour(stills.from);
        if (accuracy == StillsAccuracy::KeyFrameBeforeTheEnd) {
            EXPECT_TRUE(near(from, 0, 128, 0)) << std::hex << from;
        } else {
            EXPECT_TRUE(near(from, 255, 255, 255)) << std::hex << from;
        }
        EXPECT_TRUE(near(centreColour(stills.to), 0, 0, 255))
            << std::hex << centreColour(stills.to);
    });
    EXPECT_EQ(deliveries, (std::vector<StillsAccuracy>{StillsAccuracy::KeyFrameBeforeTheEnd,
                                                       StillsAccuracy::Exact}));

    // The first clip blends from black; a file that cannot be read gives black too.
    request.previousFileName.clear();
    request.fileName = folder.file("missing.mp4");
    const TransitionStills first = loadTransitionStills(request);
    EXPECT_TRUE(near(centreColour(first.from), 0, 0, 0));
    EXPECT_TRUE(near(centreColour(first.to), 0, 0, 0));
}

}  // namespace
}  // namespace editing
