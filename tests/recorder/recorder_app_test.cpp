// Ambrevo's application object run as the program runs it: its start-up reads the user's
// profile into the window, and the user's close request writes what the window ended with.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include "recorder/recorder_app.h"
#include "recorder/window/recorder_templates.h"
#include "recorder/window/recorder_window.h"
#include "tests/support/modal_script.h"
#include "tests/support/private_pulse_daemon.h"

namespace {

namespace control = recorder::control;

TEST(RecorderApp, StartsFromTheStoredProfileAndStoresWhatACloseRequestLeaves) {
    test_support::PrivatePulseDaemon daemon({{"tone_a", 440.0}, {"tone_b", 880.0}});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    {
        QSettings profile("Korvane", "ambrevo");
        profile.clear();
        profile.setValue("Option/nSoundCaptureIndex", 1);
        profile.setValue("Option/output_wav_file", "/takes/stored take.wav");
        profile.setValue("Option/b_only_once", 1);
    }
    struct Shown {
        int device = -1;
        QString output;
        bool hintOff = false;
    } shown;
    int exitCode = -1;
    const auto runningWindow = [](QWidget& modal) {
        auto* window = qobject_cast<recorder::RecorderWindow*>(&modal);
        return window != nullptr && window->isVisible() && !window->startUpFailed();
    };
    const int steps = test_support::runWithModalScript(
        [&] { exitCode = recorder::RecorderApp().run(); },
        {{runningWindow, [&](QWidget& modal) {
              auto& window = static_cast<recorder::RecorderWindow&>(modal);
              auto& devices = window.controls().get<QComboBox>(control::kDeviceList);
              auto& output = window.controls().get<QLineEdit>(control::kOutputFile);
              shown = {devices.currentIndex(), output.text(), window.hintOff()};
              devices.setFocus();
              QTest::keyClick(&devices, Qt::Key_Up);
              output.setFocus();
              output.selectAll();
              QTest::keyClicks(&output, QStringLiteral("/takes/typed take.wav"));
              window.close();
          }}});
    ASSERT_EQ(steps, 1);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(shown.device, 1);
    EXPECT_EQ(shown.output, "/takes/stored take.wav");
    EXPECT_TRUE(shown.hintOff);

    QSettings saved("Korvane", "ambrevo");
    EXPECT_EQ(saved.value("Option/nSoundCaptureIndex").toInt(), 0);
    EXPECT_EQ(saved.value("Option/output_wav_file").toString(), "/takes/typed take.wav");
    EXPECT_EQ(saved.value("Option/b_only_once").toInt(), 1);
    saved.clear();
}

}  // namespace
