// The sound server itself goes away mid-take and comes back: the take stays a valid file, the
// user is told the server was lost, and Ambrevo reconnects on its own to the same device.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

namespace {

using namespace recorder_test;
using test_support::SineSource;
namespace control = recorder::control;

const SineSource kToneA{"tone_a", 440.0};
const SineSource kToneB{"tone_b", 880.0};

const QString kServerLostText = QStringLiteral(
    "The sound server was lost! What was recorded until then is saved.\n\nAmbrevo connects to "
    "the sound server again as soon as it runs, and opens the same input device.");

class RecorderServerTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
    test_support::TemporaryFolder folder_;
};

void startTake(recorder::RecorderWindow& window, const std::string& path) {
    window.controls().get<QLineEdit>(control::kOutputFile).setText(QString::fromStdString(path));
    clickButton(window, control::kRecord);
    ASSERT_TRUE(window.isActive());
}

void expectTone(const std::string& path, double frequencyHz) {
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav) << path;
    EXPECT_EQ(wav->declaredDataBytes, wav->storedDataBytes);
    EXPECT_GE(wav->durationSeconds(), 1.0);
    EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, 44100), frequencyHz, 2.0);
}

TEST_F(RecorderServerTest, AKilledServerKeepsTheTakeAndItsReturnReopensTheSameDevice) {
    RecorderRig rig({kToneA, kToneB});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();
    auto& devices = window->controls().get<QComboBox>(control::kDeviceList);
    auto& lines = window->controls().get<QComboBox>(control::kInputLineList);
    ASSERT_EQ(devices.count(), 2);
    chooseRow(*window, control::kDeviceList, devices.findData(QStringLiteral("tone_b")));
    ASSERT_EQ(window->controller().openedDeviceName(), "tone_b");

    const std::string first = folder_.file("first take.wav");
    startTake(*window, first);
    pumpFor(3000);
    rig.prompt.clear();
    rig.daemon.kill();
    ASSERT_TRUE(pumpUntil([&] { return !window->isActive(); }));
    ASSERT_TRUE(pumpUntil([&] { return !rig.prompt.requests().isEmpty(); }));
    EXPECT_EQ(rig.prompt.texts(), QStringList{kServerLostText});
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_EQ(devices.count(), 0);
    EXPECT_EQ(lines.count(), 0);
    expectTone(first, 880.0);

    // Record while the server is away says so, and makes no file.
    rig.prompt.clear();
    const std::string refused = folder_.file("refused.wav");
    window->controls()
        .get<QLineEdit>(control::kOutputFile)
        .setText(QString::fromStdString(refused));
    clickButton(*window, control::kRecord);
    EXPECT_FALSE(window->isActive());
    ASSERT_EQ(rig.prompt.texts().size(), 1);
    EXPECT_TRUE(rig.prompt.texts().front().contains("the sound server was lost"))
        << rig.prompt.texts().front().toStdString();
    EXPECT_FALSE(std::filesystem::exists(refused));

    // Back: the lists fill again and the device open before is open again, by its name.
    ASSERT_TRUE(rig.daemon.restart()) << rig.daemon.error();
    ASSERT_TRUE(pumpUntil([&] { return window->controller().openedDeviceName() == "tone_b"; }));
    EXPECT_EQ(devices.count(), 2);
    EXPECT_EQ(devices.currentData().toString(), "tone_b");
    EXPECT_GE(lines.count(), 1);
    EXPECT_GE(lines.currentIndex(), 0);

    const std::string second = folder_.file("second take.wav");
    startTake(*window, second);
    pumpFor(3000);
    clickButton(*window, control::kStop);
    EXPECT_FALSE(window->isActive());
    expectTone(second, 880.0);
    window->close();
}

}  // namespace
