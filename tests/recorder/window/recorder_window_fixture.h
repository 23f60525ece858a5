#pragma once

// Shared by the recorder's window tests: a private sound server with tone sources, scripted
// ports and event pumping.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QSettings>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "recorder/app/recorder_start_up.h"
#include "recorder/logic/capture_values.h"
#include "recorder/logic/recorder_start_values.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_window.h"
#include "tests/support/event_pump.h"
#include "tests/support/private_pulse_daemon.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

namespace recorder_test {

// Answers the input hint from a script (OK with the check box state, or closed without OK);
// an empty script closes it without OK.
class ScriptedHint : public recorder::HintPresenter {
  public:
    std::optional<bool> showHint(QWidget*) override {
        ++shown;
        if (answers.empty()) {
            return std::nullopt;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<bool>> answers;
    int shown = 0;
};

using test_support::pumpFor;
using test_support::pumpUntil;

inline void clearRecorderSettings() {
    QSettings("Korvane", "ambrevo").clear();
}

// A left click of the mouse on the window's button `controlId`, as the user presses it; the
// button must be enabled, since a disabled one takes no click.
inline void clickButton(recorder::RecorderWindow& window, int controlId) {
    QWidget& button = window.controls().get(controlId);
    ASSERT_TRUE(button.isEnabled()) << controlId;
    QTest::mouseClick(&button, Qt::LeftButton);
}

// Chooses row `row` of the window's drop-down list `controlId` with the keyboard, as the user
// does on the closed list: Down / Up key presses, each of which chooses the row it reaches
// (the window hears every step, as it does from the user).
inline void chooseRow(recorder::RecorderWindow& window, int controlId, int row) {
    auto& list = window.controls().get<QComboBox>(controlId);
    ASSERT_TRUE(list.isEnabled()) << controlId;
    ASSERT_TRUE(row >= 0 && row < list.count()) << row;
    for (int steps = 0; list.currentIndex() != row; ++steps) {
        ASSERT_LT(steps, list.count()) << "the list does not move to row " << row;
        QTest::keyClick(&list, list.currentIndex() < row ? Qt::Key_Down : Qt::Key_Up);
    }
}

// Owns everything a window needs; make the window last (it uses all the rest). Windows start as
// the program starts its own: over the profile, with their reports saved to it.
struct RecorderRig {
    explicit RecorderRig(const std::vector<test_support::SineSource>& sources) : daemon(sources) {}

    std::unique_ptr<recorder::RecorderWindow> makeWindow(recorder::RecorderPorts ports) {
        return recorder::startRecorderWindow(start, ports);
    }
    std::unique_ptr<recorder::RecorderWindow> makeWindow() {
        return makeWindow(recorder::RecorderPorts{prompt, filePicker, launcher, hint});
    }

    test_support::PrivatePulseDaemon daemon;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker filePicker;
    widgets::testing::RecordingLauncher launcher;
    ScriptedHint hint;
    recorder::RecorderStartValues start;
    recorder::CaptureValues& values = start.capture;  // the running window's
};

}  // namespace recorder_test
