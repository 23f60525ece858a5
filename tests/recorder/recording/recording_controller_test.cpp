// The recording controller without a window: its states, rules and elapsed count on a private
// sound server, with the prompt answered from a script.
#include <gtest/gtest.h>

#include "recorder/logic/recording_texts.h"
#include "recorder/recording/recording_controller.h"
#include "tests/support/event_pump.h"
#include "tests/support/private_pulse_daemon.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

using recorder::RecordingController;
using recorder::RecordingState;
using test_support::SineSource;
using test_support::ToneDelivery;

const SineSource kPacedTone{"paced_440", 440.0, 44100, ToneDelivery::PacedPipe};

// A controller on a private daemon with its device opened, and what it announced.
struct ControllerRig {
    explicit ControllerRig(const std::vector<SineSource>& sources) : daemon(sources) {
        QObject::connect(&controller, &RecordingController::stateChanged,
                         [this](RecordingState state) { states.push_back(state); });
        QObject::connect(&controller, &RecordingController::statusChanged,
                         [this](const QString& text) { statuses.push_back(text); });
    }
    bool open(const std::string& device) {
        return daemon.isRunning() && controller.CreateGraph().succeeded() &&
               controller.openDevice(device);
    }

    test_support::PrivatePulseDaemon daemon;
    widgets::testing::ScriptedPrompt prompt;
    RecordingController controller{prompt};
    std::vector<RecordingState> states;
    QStringList statuses;
};

TEST(RecordingController, StatesAndTheElapsedCountFollowTheRules) {
    ControllerRig rig({kPacedTone});
    ASSERT_TRUE(rig.open(kPacedTone.name)) << rig.daemon.error();
    test_support::TemporaryFolder folder;
    const QString path = QString::fromStdString(folder.file("take.wav"));
    auto& controller = rig.controller;

    // Pause and Stop in Ready change nothing and announce nothing.
    controller.OnPause();
    controller.OnStop();
    EXPECT_TRUE(rig.states.empty());
    EXPECT_TRUE(rig.statuses.isEmpty());

    controller.OnRecord(path);
    EXPECT_EQ(controller.state(), RecordingState::Recording);
    EXPECT_TRUE(controller.recordTimer().isActive());
    EXPECT_EQ(rig.statuses.last(), "Status : Recording audio - Used Time: 00:00:00");
    for (int i = 0; i < 5; ++i) {
        controller.OnRecordTimer();
    }
    controller.OnPause();
    EXPECT_EQ(controller.state(), RecordingState::Paused);
    EXPECT_FALSE(controller.recordTimer().isActive());
    EXPECT_EQ(rig.statuses.last(), "Status : Paused audio recording - Used Time: 00:00:05");
    controller.OnPause();  // paused again: same state, same text
    EXPECT_EQ(controller.state(), RecordingState::Paused);
    controller.OnRecord(path);  // resume: no replace question, the count goes on
    EXPECT_EQ(controller.state(), RecordingState::Recording);
    for (int i = 0; i < 3; ++i) {
        controller.OnRecordTimer();
    }
    EXPECT_EQ(rig.statuses.last(), "Status : Recording audio - Used Time: 00:00:08");
    test_support::pumpFor(600);
    controller.OnStop();
    EXPECT_EQ(controller.state(), RecordingState::Ready);
    EXPECT_EQ(controller.elapsedSeconds(), 0);
    EXPECT_EQ(rig.statuses.last(), "Status : Ready");
    EXPECT_EQ(rig.states,
              (std::vector<RecordingState>{RecordingState::Recording, RecordingState::Paused,
                                           RecordingState::Paused, RecordingState::Recording,
                                           RecordingState::Ready}));
    EXPECT_TRUE(rig.prompt.requests().isEmpty());
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    EXPECT_GT(take->durationSeconds(), 0.3);

    // The file exists now: Record asks, and No leaves everything as it was.
    controller.OnRecord(path);
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_EQ(rig.prompt.requests()[0].text, path + " exists. Do you want to replace it?");
    EXPECT_EQ(controller.state(), RecordingState::Ready);
    EXPECT_EQ(test_support::readWav(path.toStdString())->storedDataBytes, take->storedDataBytes);
}

}  // namespace
