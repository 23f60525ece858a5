#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/small_disk.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>

namespace mixer {
namespace {

using namespace main_window;
using mix_window_testing::kMixTimeoutMs;

class MixEndingTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    widgets::ImageButton& mixButton() {
        return window->controls().get<widgets::ImageButton>(kMixButton);
    }
    bool mixEnded() { return !window->job().Converting; }
};

// A mix whose disk fills up ends with "Failed: <reason>" in the status line and one error box,
// never with "Done." and never with the offer to play the file.
TEST_F(MixEndingTest, AFullDiskEndsTheMixWithFailedAndTheReason) {
    const test_support::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.error();
    }
    window->job().outputSettings.OutputName = disk.file("full.avi");
    listBothClips();
    QTest::mouseClick(&mixButton(), Qt::LeftButton);
    ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
    ASSERT_TRUE(test_support::pumpUntil([&] { return mixEnded(); }, kMixTimeoutMs));

    const QString status = window->statusText();
    EXPECT_TRUE(status.startsWith("Failed: ")) << status.toStdString();
    EXPECT_TRUE(status.contains("No space left on device")) << status.toStdString();
    EXPECT_FALSE(status.contains(QLatin1Char('\n'))) << status.toStdString();
    EXPECT_EQ(window->mixController().lastEnding(), MixController::Ending::Failed);
    EXPECT_FALSE(window->playMixButton().isVisible());
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests().front().icon, widgets::PromptIcon::Error);
    EXPECT_EQ(mixButton().text(), "Mix");
}

}  // namespace
}  // namespace mixer
