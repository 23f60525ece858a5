#include <gtest/gtest.h>

#include <QLineEdit>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

extern char** environ;

namespace {

using namespace recorder_test;

constexpr const char* kHelperOutputVariable = "AMBREVO_TEST_RECORD_UNTIL_KILLED";

std::string ffprobeDurationSeconds(const std::string& path) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of default=noprint_wrappers=1:nokey=1 " +
        test_support::shellQuote(path);
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[128];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        pclose(pipe);
    }
    return output;
}

// Not a test of its own: the recorder process that the test below kills. It runs only when
// started by that test (which names the output file in the environment) and records until
// it is killed.
TEST(KilledRecorderHelper, RecordsUntilKilled) {
    const char* output = std::getenv(kHelperOutputVariable);
    if (output == nullptr) {
        GTEST_SKIP() << "runs only as the recording process of KilledRecorder";
    }
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker filePicker;
    widgets::testing::RecordingLauncher launcher;
    ScriptedHint hint;
    recorder::RecorderStartValues start;
    const auto window = recorder::startRecorderWindow(start, {prompt, filePicker, launcher, hint});
    ASSERT_FALSE(window->startUpFailed());
    window->controls().get<QLineEdit>(recorder::control::kOutputFile).setText(output);
    window->OnRecord();
    ASSERT_TRUE(window->isActive());
    pumpFor(60'000);
}

TEST(KilledRecorder, LeavesAPlayableFileMissingAtMostTheLastSecond) {
    test_support::PrivatePulseDaemon daemon(
        {{"paced_440", 440.0, 44100, test_support::ToneDelivery::PacedPipe}});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("killed take.wav");
    setenv(kHelperOutputVariable, path.c_str(), 1);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string filter = "--gtest_filter=KilledRecorderHelper.RecordsUntilKilled";
    const char* arguments[] = {self.c_str(), filter.c_str(), nullptr};
    pid_t recorder = -1;
    const int spawned = posix_spawn(&recorder, self.c_str(), nullptr, nullptr,
                                    const_cast<char* const*>(arguments), environ);
    unsetenv(kHelperOutputVariable);
    ASSERT_EQ(spawned, 0);

    // The file is created when Record is pressed; recording starts right after.
    const auto waitStart = std::chrono::steady_clock::now();
    while (!std::filesystem::exists(path) &&
           std::chrono::steady_clock::now() - waitStart < std::chrono::seconds(20)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto recordingStart = std::chrono::steady_clock::now();
    const bool started = std::filesystem::exists(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(2600));
    kill(recorder, SIGKILL);
    const auto killedAt = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(recorder, &status, 0);
    ASSERT_TRUE(started) << "the recorder never created its file";
    ASSERT_TRUE(WIFSIGNALED(status));
    const double recordedSeconds = std::chrono::duration<double>(killedAt - recordingStart).count();

    // A standard tool reads it, and the header holds all but at most the last second.
    const double probed = std::atof(ffprobeDurationSeconds(path).c_str());
    EXPECT_GE(probed, recordedSeconds - 1.0);
    EXPECT_LE(probed, recordedSeconds + 0.3);
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_LE(wav->declaredDataBytes, wav->storedDataBytes);
    EXPECT_NEAR(wav->durationSeconds(), probed, 0.01);
    EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, 44100), 440.0, 2.0);
}

}  // namespace
