// Orvindel's Microphone button, pressed twice, leaves one Ambrevo running: the second start
// hands over to the first and ends.
#include <gtest/gtest.h>

#include <QDir>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

#include "mixer/launch/external_launches.h"
#include "mixer/launch/program_locations.h"
#include "tests/support/private_pulse_daemon.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

// Processes running this build tree's ambrevo.
std::vector<pid_t> runningRecorders() {
    const auto program = std::filesystem::path(ORVINDEL_BINARY_DIR "/recorder/ambrevo");
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code error;
        const auto executable = std::filesystem::read_symlink(entry.path() / "exe", error);
        if (!error && std::filesystem::equivalent(executable, program, error) && !error) {
            found.push_back(static_cast<pid_t>(std::stoi(name)));
        }
    }
    return found;
}

TEST(MicrophoneLaunch, TwoPressesLeaveOneRecorderRunning) {
    test_support::PrivatePulseDaemon daemon({{"tone_a", 440.0}});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    ASSERT_TRUE(runningRecorders().empty());
    widgets::DesktopLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    mixer::ExternalLaunches launches(launcher, prompt, mixer::ProgramLocations::ofRunningProgram());

    ASSERT_TRUE(launches.startRecorder());
    const auto socket =
        std::filesystem::path(qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString()) /
        "ambrevo-instance";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(socket) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(std::filesystem::exists(socket));
    ASSERT_TRUE(launches.startRecorder());
    std::this_thread::sleep_for(std::chrono::seconds(3));  // the second start hands over and ends

    const std::vector<pid_t> recorders = runningRecorders();
    EXPECT_EQ(recorders.size(), 1u);
    for (const pid_t recorder : recorders) {
        kill(recorder, SIGTERM);
    }
}

}  // namespace
