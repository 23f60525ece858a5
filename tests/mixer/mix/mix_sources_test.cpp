// Whole mixes through the window's Mix button that check where the clips' pictures come from:
// a transition after a clip without one blends the two clips (as the transition dialog's
// preview shows it), and a missing source located at Mix stays located.

#include "editing/preview/clip_stills.h"
#include "editing/preview/transition_preview.h"
#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTreeWidget>

#include <cstdint>
#include <vector>

namespace mixer {
namespace {

using namespace main_window;
using base::PromptAnswer;
using mix_window_testing::kMixTimeoutMs;
using test_support::pumpUntil;

constexpr int kHorizontalWipe = 17;  // "Horizontal": the SMPTE wipe, pattern 1

// How much of a picture is which clip's colour, dark pixels (bars around a fitted picture) not
// counted as picture.
struct ColourShares {
    double red = 0.0;
    double blue = 0.0;
    int darkPixels = 0;  // no component above 40: black, neither clip
};

ColourShares sharesOf(const std::vector<std::uint32_t>& rgbPixels) {
    ColourShares shares;
    int red = 0;
    int blue = 0;
    for (std::uint32_t pixel : rgbPixels) {
        const int r = static_cast<int>((pixel >> 16) & 0xff);
        const int g = static_cast<int>((pixel >> 8) & 0xff);
        const int b = static_cast<int>(pixel & 0xff);
        red += r > 150 && b < 100 ? 1 : 0;
        blue += b > 150 && r < 100 ? 1 : 0;
        shares.darkPixels += std::max({r, g, b}) <= 40 ? 1 : 0;
    }
    const auto picturePixels = static_cast<double>(rgbPixels.size()) - shares.darkPixels;
    shares.red = static_cast<double>(red) / picturePixels;
    shares.blue = static_cast<double>(blue) / picturePixels;
    return shares;
}

std::vector<std::uint32_t> packedPixels(const std::vector<unsigned char>& rgb24) {
    std::vector<std::uint32_t> pixels(rgb24.size() / 3);
    for (std::size_t index = 0; index < pixels.size(); ++index) {
        pixels[index] = (std::uint32_t{rgb24[3 * index]} << 16) |
                        (std::uint32_t{rgb24[3 * index + 1]} << 8) | rgb24[3 * index + 2];
    }
    return pixels;
}

class MixSourcesTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    void mixToTheEnd() {
        clickWindowButton(kMixButton);
        ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
        ASSERT_TRUE(pumpUntil([&] { return !window->job().Converting; }, kMixTimeoutMs));
        EXPECT_EQ(window->mixController().lastEnding(), MixController::Ending::Completed);
    }
};

// Red (no transition) then blue with a 0.8 s wipe: the red clip runs on under the whole wipe,
// so the frame in its middle is half red, half blue, as the dialog's preview draws it.
TEST_F(MixSourcesTest, ATransitionAfterAClipWithoutOneBlendsBothClipsAsItsPreviewShows) {
    listBothClips();
    constexpr RefTime kWipeLength = 8'000'000;
    window->mediaLists().setVideoTransitions({0}, 0, 0);
    window->mediaLists().setVideoTransitions({1}, kHorizontalWipe, kWipeLength);
    mixToTheEnd();
    expectOutputAsLongAsTheListedVideos();

    // The blue clip starts at 1 s: its wipe is at its middle at 1.4 s (output frame 35).
    const std::vector<unsigned char> middle =
        mix_window_testing::decodedFrame(outputPath, "-ss 1.4", "", folder);
    ASSERT_FALSE(middle.empty());
    const ColourShares mixed = sharesOf(packedPixels(middle));

    // The transition dialog's preview of the same clip: the same stills, effect and progress.
    editing::TransitionStillsRequest request;
    request.previousFileName = window->job().videos[0].FileName;
    request.previousDuration = window->job().videos[0].Duration;
    request.fileName = window->job().videos[1].FileName;
    request.width = editing::TransitionPreview::kWidth;
    request.height = editing::TransitionPreview::kHeight;
    editing::TransitionStills stills = editing::loadTransitionStills(request);
    editing::TransitionPreview preview;
    ASSERT_TRUE(preview.setPictures(std::move(stills.from), std::move(stills.to)));
    preview.setEffect(kHorizontalWipe);
    const RefTime previewMiddle = editing::TransitionPreview::kLoopRefTime / 2;
    ASSERT_DOUBLE_EQ(editing::TransitionPreview::progressAt(previewMiddle), 0.5);
    std::vector<std::uint32_t> previewPixels(static_cast<std::size_t>(
        editing::TransitionPreview::kWidth * editing::TransitionPreview::kHeight));
    editing::convertToRgb32(preview.frameAt(previewMiddle).view(), previewPixels,
                            editing::TransitionPreview::kWidth);
    const ColourShares previewed = sharesOf(previewPixels);

    EXPECT_EQ(mixed.darkPixels, 0);
    EXPECT_GT(mixed.red, 0.3);
    EXPECT_GT(mixed.blue, 0.3);
    EXPECT_NEAR(mixed.red, previewed.red, 0.1);
    EXPECT_NEAR(mixed.blue, previewed.blue, 0.1);
    // The 4:3 clips fill the 16:9 preview's middle 240 x 180: black only beside them.
    EXPECT_EQ(previewed.darkPixels, 2 * 40 * editing::TransitionPreview::kHeight);
}

// A listed clip that has moved is located at the first Mix; the list keeps the located file,
// so the second Mix asks nothing and renders it again.
TEST_F(MixSourcesTest, AFileLocatedAtMixReplacesTheListEntry) {
    const QString moved = QString::fromStdString(folder.file("moved.avi"));
    const QString located = QString::fromStdString(folder.file("located.avi"));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(clips_->file("red.avi")), moved));
    addThroughTheButton(kAddVideoButton, {moved});
    ASSERT_EQ(window->job().videos.size(), 1u) << prompt.texts().join(" | ").toStdString();
    ASSERT_TRUE(QFile::rename(moved, located));

    picker.queueOpenAnswer({located});
    mixToTheEnd();
    ASSERT_EQ(picker.openRequests().size(), 2);  // the add, then the search for the clip
    EXPECT_EQ(picker.openRequests().back().title, "Locate moved.avi");
    EXPECT_EQ(window->job().videos.at(0).FileName, located.toStdString());
    EXPECT_EQ(window->job().audios.at(0).FileName, located.toStdString());  // its own sound
    EXPECT_EQ(window->controls().get<QTreeWidget>(kVideoList).topLevelItem(0)->text(0),
              "located.avi");
    EXPECT_EQ(window->controls().get<QTreeWidget>(kAudioList).topLevelItem(0)->text(0),
              "located.avi");

    prompt.queueAnswer(PromptAnswer::Yes);  // replace the first mix
    mixToTheEnd();
    EXPECT_EQ(picker.openRequests().size(), 2);  // not asked again
    EXPECT_EQ(prompt.requests().size(), 1);
    expectOutputAsLongAsTheListedVideos();
}

}  // namespace
}  // namespace mixer
