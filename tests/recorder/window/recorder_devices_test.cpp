// The device list through unplug and return on a private sound server whose list order changes
// on return: the returning device is found by its name, and the list follows every plug.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTest>

#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"
#include "widgets/ports/qt_prompt.h"

namespace {

using namespace recorder_test;
using test_support::SineSource;
using test_support::ToneDelivery;
namespace control = recorder::control;

const SineSource kToneA{"paced_a", 440.0, 44100, ToneDelivery::PacedPipe};
const SineSource kToneB{"paced_b", 880.0, 44100, ToneDelivery::PacedPipe};
const SineSource kToneC{"paced_c", 1320.0, 44100, ToneDelivery::PacedPipe};

QStringList deviceNames(const recorder::RecorderWindow& window) {
    const auto& list = window.controls().get<QComboBox>(control::kDeviceList);
    QStringList names;
    for (int i = 0; i < list.count(); ++i) {
        names << list.itemData(i).toString();
    }
    return names;
}

QString selectedDevice(const recorder::RecorderWindow& window) {
    return window.controls().get<QComboBox>(control::kDeviceList).currentData().toString();
}

// Records `milliseconds` into `path` through the window's buttons.
void recordFor(recorder::RecorderWindow& window, const QString& path, int milliseconds) {
    window.controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(window, control::kRecord);
    ASSERT_TRUE(window.isActive());
    pumpFor(milliseconds);
    clickButton(window, control::kStop);
}

class RecorderDevicesTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
    test_support::TemporaryFolder folder_;
};

TEST_F(RecorderDevicesTest, TheRemovedDeviceReturnsByItsNameAndTheListFollowsEveryPlug) {
    RecorderRig rig({kToneA, kToneB, kToneC});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    QSettings("Korvane", "ambrevo").setValue("Option/nSoundCaptureIndex", 1);
    auto window = rig.makeWindow();
    ASSERT_EQ(deviceNames(*window), (QStringList{"paced_a", "paced_b", "paced_c"}));
    ASSERT_EQ(window->controller().openedDeviceName(), "paced_b");  // start-up: by position

    // Unplugged while recording: the take is complete, the other devices stay to choose from.
    const QString first = QString::fromStdString(folder_.file("first.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(first);
    clickButton(*window, control::kRecord);
    pumpFor(800);
    ASSERT_TRUE(rig.daemon.unloadSource(kToneB.name));
    ASSERT_TRUE(pumpUntil([&] { return !rig.prompt.requests().isEmpty(); }));
    EXPECT_EQ(rig.prompt.requests().back().text, "The selected input device was removed!");
    EXPECT_EQ(rig.prompt.requests().back().caption, "Ambrevo");
    EXPECT_EQ(rig.prompt.requests().back().icon, base::PromptIcon::Warning);
    EXPECT_FALSE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_EQ(window->graph(), nullptr);
    EXPECT_EQ(deviceNames(*window), (QStringList{"paced_a", "paced_c"}));
    EXPECT_EQ(selectedDevice(*window), QString());
    EXPECT_FALSE(window->controls().get(control::kDeviceList).isHidden());
    EXPECT_EQ(window->controls().get<QComboBox>(control::kInputLineList).count(), 0);
    const auto take = test_support::readWav(first.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    EXPECT_NEAR(take->durationSeconds(), 0.8, 0.35);

    // Record without a device says so and records nothing.
    const QString nothing = QString::fromStdString(folder_.file("nothing.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(nothing);
    clickButton(*window, control::kRecord);
    EXPECT_FALSE(window->isActive());
    EXPECT_FALSE(QFile::exists(nothing));
    ASSERT_EQ(rig.prompt.requests().size(), 2);
    EXPECT_TRUE(rig.prompt.requests().back().text.contains("no input device is open"));

    // Back at the end of the list, where position 1 is now paced_c: paced_b is opened.
    ASSERT_TRUE(rig.daemon.loadSineSource(kToneB));
    ASSERT_TRUE(pumpUntil([&] { return rig.prompt.requests().size() == 3; }));
    EXPECT_EQ(rig.prompt.requests().back().text, "The audio input device has been reattached!");
    EXPECT_EQ(rig.prompt.requests().back().caption, "Ambrevo");
    EXPECT_EQ(deviceNames(*window), (QStringList{"paced_a", "paced_c", "paced_b"}));
    EXPECT_EQ(selectedDevice(*window), "paced_b");
    EXPECT_EQ(rig.values.nSoundCaptureIndex, 2);
    const QString again = QString::fromStdString(folder_.file("again.wav"));
    recordFor(*window, again, 1000);
    const auto second = test_support::readWav(again.toStdString());
    ASSERT_TRUE(second);
    EXPECT_NEAR(test_support::toneFrequencyHz(second->firstChannel, 44100), 880.0, 3.0);

    // Removed again, but the user opens paced_a before it returns: its return opens nothing
    // and shows nothing; a device plugged in meanwhile is listed at once.
    ASSERT_TRUE(rig.daemon.unloadSource(kToneB.name));
    ASSERT_TRUE(pumpUntil([&] { return rig.prompt.requests().size() == 4; }));
    auto& devices = window->controls().get<QComboBox>(control::kDeviceList);
    chooseRow(*window, control::kDeviceList, devices.findData("paced_a"));
    EXPECT_EQ(window->controller().openedDeviceName(), "paced_a");
    ASSERT_TRUE(rig.daemon.loadSineSource(kToneB));
    ASSERT_TRUE(pumpUntil([&] { return deviceNames(*window).contains("paced_b"); }));
    pumpFor(300);
    EXPECT_EQ(rig.prompt.requests().size(), 4);
    EXPECT_EQ(window->controller().openedDeviceName(), "paced_a");
    EXPECT_EQ(selectedDevice(*window), "paced_a");
    const QString third = QString::fromStdString(folder_.file("third.wav"));
    recordFor(*window, third, 1000);
    const auto chosen = test_support::readWav(third.toStdString());
    ASSERT_TRUE(chosen);
    EXPECT_NEAR(test_support::toneFrequencyHz(chosen->firstChannel, 44100), 440.0, 3.0);
}

// The texts of the message boxes on screen.
QStringList shownBoxTexts() {
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
            texts << box->text();
        }
    }
    return texts;
}

TEST_F(RecorderDevicesTest, AQuickReplugShowsOnlyTheNewestDeviceNotice) {
    RecorderRig rig({kToneA, kToneB});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    widgets::QtPrompt prompt;
    auto window =
        rig.makeWindow(recorder::RecorderPorts{prompt, rig.filePicker, rig.launcher, rig.hint});
    window->show();
    ASSERT_EQ(window->controller().openedDeviceName(), "paced_a");

    QStringList shownWhenRemoved;
    QStringList shownWhenReattached;
    bool answered = false;
    const int steps = test_support::runWithModalScript(
        [&] {
            ASSERT_TRUE(rig.daemon.unloadSource(kToneA.name));
            pumpUntil([&] { return answered; }, 15'000);
        },
        {{test_support::boxSaying("was removed!"),
          [&](QWidget&) {
              shownWhenRemoved = shownBoxTexts();
              // Plugged in again while the removal notice is still open.
              ASSERT_TRUE(rig.daemon.loadSineSource(kToneA));
          }},
         {test_support::boxSaying("has been reattached!"),
          [&](QWidget& box) {
              shownWhenReattached = shownBoxTexts();
              QTest::keyClick(&box, Qt::Key_Return);
              answered = true;
          }}},
        5'000);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(shownWhenRemoved, QStringList{"The selected input device was removed!"});
    EXPECT_EQ(shownWhenReattached, QStringList{"The audio input device has been reattached!"});
    pumpFor(200);
    EXPECT_EQ(shownBoxTexts(), QStringList{});
    EXPECT_EQ(window->controller().openedDeviceName(), "paced_a");
}

}  // namespace
