#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/small_disk.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
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
    EXPECT_EQ(prompt.requests().front().icon, base::PromptIcon::Error);
    EXPECT_EQ(mixButton().text(), "Mix");
}

// Output settings under which the pictures cannot be set up end the mix before anything is
// written: no sound-only file, no "Done.", and a box that says in plain words what is wrong.
TEST_F(MixEndingTest, AVideoSetUpThatFailsStartsNoMixAndSaysWhy) {
    window->job().outputSettings.OutputWidth = 0;
    const QString statusBefore = window->statusText();
    listBothClips();
    QTest::mouseClick(&mixButton(), Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(outputPath)));
    EXPECT_EQ(window->statusText(), statusBefore);
    ASSERT_FALSE(prompt.requests().isEmpty());
    const base::PromptRequest& last = prompt.requests().back();
    EXPECT_EQ(last.icon, base::PromptIcon::Error);
    EXPECT_EQ(last.text, "The mix was not started: the pictures could not be set up at 0*" +
                             QString::number(mix_window_testing::kHeight) +
                             " and 25 frames per second. Choose another size or frame rate in "
                             "the output options.");
    EXPECT_FALSE(window->playMixButton().isVisible());
}

}  // namespace
}  // namespace mixer
