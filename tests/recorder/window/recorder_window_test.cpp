#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QSlider>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include <sys/resource.h>

#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

namespace {

using namespace recorder_test;
using recorder::RecorderWindow;
using test_support::SineSource;
using test_support::ToneDelivery;
namespace control = recorder::control;
using widgets::Notification;

const SineSource kPacedTone{"paced_440", 440.0, 44100, ToneDelivery::PacedPipe};

struct ButtonStates {
    bool record, pause, stop, play;
    bool operator==(const ButtonStates&) const = default;
};

ButtonStates buttonStates(const RecorderWindow& window) {
    const auto& c = window.controls();
    return {c.get(control::kRecord).isEnabled(), c.get(control::kPause).isEnabled(),
            c.get(control::kStop).isEnabled(), c.get(control::kPlay).isEnabled()};
}

class RecorderWindowTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
    test_support::TemporaryFolder folder_;
};

TEST_F(RecorderWindowTest, DeviceListShowsOnlyWithAChoice) {
    for (const int deviceCount : {1, 2}) {
        clearRecorderSettings();
        std::vector<SineSource> sources = {{"tone_a", 440.0}};
        if (deviceCount == 2) {
            sources.push_back({"tone_b", 880.0});
        }
        RecorderRig rig(sources);
        ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
        auto window = rig.makeWindow();
        ASSERT_FALSE(window->startUpFailed());
        const auto& c = window->controls();
        const bool shown = deviceCount > 1;
        EXPECT_EQ(!c.get(control::kDeviceList).isHidden(), shown) << deviceCount;
        EXPECT_EQ(!c.get(control::kDeviceMarker).isHidden(), shown) << deviceCount;
        EXPECT_EQ(c.get<QComboBox>(control::kDeviceList).count(), deviceCount);
        // First run: the search ran, so the line list is hidden; the slider shows the level.
        EXPECT_TRUE(c.get(control::kInputLineList).isHidden());
        EXPECT_TRUE(c.get(control::kLineMarker).isHidden());
        EXPECT_EQ(rig.values.nSearchFlag, 1);
        EXPECT_EQ(c.get<QSlider>(control::kVolume).value(), 200);
        EXPECT_EQ(window->statusText(), "Status : Ready");
        // The status line is as tall as a line of its font: descenders are not cut.
        const auto& status = c.get<QLabel>(control::kStatus);
        EXPECT_GE(status.contentsRect().height(), status.fontMetrics().lineSpacing());
        EXPECT_EQ(window->outputFile(), QDir::home().absoluteFilePath("recorder.wav"));
        EXPECT_EQ(rig.hint.shown, 0);  // never during start-up
        EXPECT_TRUE(rig.prompt.requests().isEmpty());
    }
}

TEST_F(RecorderWindowTest, RecordPauseResumeStopGivesOneSeamlessTake) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    ASSERT_FALSE(window->startUpFailed());
    const QString path = QString::fromStdString(folder_.file("take one.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);

    clickButton(*window, control::kRecord);
    EXPECT_TRUE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Recording audio - Used Time: 00:00:00");
    EXPECT_EQ(buttonStates(*window), (ButtonStates{false, true, true, false}));
    pumpFor(2000);
    clickButton(*window, control::kPause);
    EXPECT_TRUE(window->isPaused());
    EXPECT_TRUE(window->statusText().startsWith("Status : Paused audio recording - Used Time: "));
    EXPECT_EQ(buttonStates(*window), (ButtonStates{true, true, true, false}));
    const QString pausedText = window->statusText();
    pumpFor(1200);  // the paused text stays frozen and nothing is recorded
    EXPECT_EQ(window->statusText(), pausedText);
    clickButton(*window, control::kRecord);  // resume: no replace question
    EXPECT_FALSE(window->isPaused());
    pumpFor(1000);
    clickButton(*window, control::kStop);
    EXPECT_FALSE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_EQ(buttonStates(*window), (ButtonStates{true, true, true, true}));
    EXPECT_TRUE(rig.prompt.requests().isEmpty());

    const auto wav = test_support::readWav(path.toStdString());
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->sampleRateHz, 44100);
    EXPECT_EQ(wav->channelCount, 1);
    EXPECT_NEAR(wav->durationSeconds(), 3.0, 0.35);
    EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, 44100), 440.0, 2.0);
    EXPECT_LT(test_support::longestSilentRun(wav->firstChannel), 441u);  // no gap of 10 ms
    // Every second of the take holds the tone, the seam included.
    for (std::size_t start = 0; start + 44100 <= wav->firstChannel.size(); start += 22050) {
        EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, 44100, start, 44100), 440.0,
                    3.0)
            << "at sample " << start;
    }
}

TEST_F(RecorderWindowTest, TimerTicksCountElapsedSecondsAcrossAPause) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->controls()
        .get<QLineEdit>(control::kOutputFile)
        .setText(QString::fromStdString(folder_.file("ticks.wav")));
    clickButton(*window, control::kRecord);
    for (int i = 0; i < 5; ++i) {
        window->controller().OnRecordTimer();
    }
    clickButton(*window, control::kPause);
    EXPECT_EQ(window->statusText(), "Status : Paused audio recording - Used Time: 00:00:05");
    clickButton(*window, control::kRecord);
    for (int i = 0; i < 3; ++i) {
        window->controller().OnRecordTimer();
    }
    EXPECT_EQ(window->statusText(), "Status : Recording audio - Used Time: 00:00:08");
    for (int i = 8; i < 3661; ++i) {
        window->controller().OnRecordTimer();
    }
    EXPECT_EQ(window->statusText(), "Status : Recording audio - Used Time: 01:01:01");
    clickButton(*window, control::kStop);
    EXPECT_EQ(window->statusText(), "Status : Ready");
    rig.prompt.queueAnswer(base::PromptAnswer::Yes);  // replace the first take
    clickButton(*window, control::kRecord);
    EXPECT_TRUE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Recording audio - Used Time: 00:00:00");
    EXPECT_EQ(window->elapsedSeconds(), 0);
    clickButton(*window, control::kStop);
}

TEST_F(RecorderWindowTest, PauseAndStopInReadyChangeNothing) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    auto& status = window->controls().get<QLabel>(control::kStatus);
    status.setText("something else");  // proves that not even the status is rewritten
    const ButtonStates before = buttonStates(*window);
    clickButton(*window, control::kStop);
    clickButton(*window, control::kPause);
    EXPECT_EQ(status.text(), "something else");
    EXPECT_EQ(buttonStates(*window), before);
    EXPECT_FALSE(window->isActive());
    EXPECT_FALSE(window->isPaused());
}

TEST_F(RecorderWindowTest, ReplaceQuestionNoLeavesTheFileAndTheState) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const std::string path = folder_.file("keep.wav");
    std::ofstream(path) << "precious";
    window->controls().get<QLineEdit>(control::kOutputFile).setText(QString::fromStdString(path));
    rig.prompt.queueAnswer(base::PromptAnswer::No);
    clickButton(*window, control::kRecord);
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_EQ(rig.prompt.requests()[0].text,
              QString::fromStdString(path) + " exists. Do you want to replace it?");
    EXPECT_EQ(rig.prompt.requests()[0].caption, "Warning");
    EXPECT_EQ(rig.prompt.requests()[0].buttons, base::PromptButtons::YesNo);
    EXPECT_FALSE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Ready");
    std::ifstream in(path);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "precious");
}

TEST_F(RecorderWindowTest, AResumeThatFailsIsReportedAndStopsInsteadOfCountingOn) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const QString path = QString::fromStdString(folder_.file("resume.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(*window, control::kRecord);
    pumpFor(500);
    clickButton(*window, control::kPause);
    // The device goes while paused; Record is pressed before the window hears of it.
    ASSERT_TRUE(rig.daemon.unloadSource(kPacedTone.name));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!window->graph()->writer()->deviceLost() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(window->graph()->writer()->deviceLost());
    clickButton(*window, control::kRecord);
    ASSERT_FALSE(rig.prompt.requests().isEmpty());
    EXPECT_EQ(rig.prompt.requests()[0].caption, "Start Recording Error");
    ASSERT_TRUE(pumpUntil([&] { return !window->isActive(); }));
    EXPECT_EQ(window->statusText(), "Status : Ready");
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);  // what was recorded is complete
}

TEST_F(RecorderWindowTest, SliderReleaseSetsTheSourceVolume) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    auto& slider = window->controls().get<QSlider>(control::kVolume);
    slider.setValue(100);
    ASSERT_TRUE(window->commands().dispatch(control::kVolume, Notification::SliderReleased));
    const std::string volume = rig.daemon.pactl("get-source-volume " + kPacedTone.name);
    EXPECT_NE(volume.find("50%"), std::string::npos) << volume;
    rig.daemon.pactl("set-source-mute " + kPacedTone.name + " 1");
    EXPECT_TRUE(
        pumpUntil([&] { return !window->controls().get(control::kMutedWarning).isHidden(); }));
}

TEST_F(RecorderWindowTest, LevelMeterShowsTheTone) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    auto& meter = window->controls().get<QProgressBar>(control::kLevelMeter);
    EXPECT_TRUE(pumpUntil([&] { return meter.value() >= 30; }, 3000)) << meter.value();
}

TEST_F(RecorderWindowTest, SettingsRoundTripThroughACloseRequestOnly) {
    RecorderRig rig({{"tone_a", 440.0}, {"tone_b", 880.0}});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    {
        auto window = rig.makeWindow();
        chooseRow(*window, control::kDeviceList, 1);
        window->controls().get<QLineEdit>(control::kOutputFile).setText("/tmp/typed only.wav");
        window->close();
    }
    QSettings saved("Korvane", "ambrevo");
    EXPECT_EQ(saved.value("Option/nSoundCaptureIndex").toInt(), 1);
    EXPECT_EQ(saved.value("Option/nCapturePinIndex").toInt(), 0);
    EXPECT_EQ(saved.value("Option/nSearchFlag").toInt(), 1);
    EXPECT_EQ(saved.value("Option/output_wav_file").toString(), "/tmp/typed only.wav");

    for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
        auto window = rig.makeWindow();
        EXPECT_EQ(window->controls().get<QComboBox>(control::kDeviceList).currentIndex(), 1);
        EXPECT_EQ(window->outputFile(), "/tmp/typed only.wav");
        chooseRow(*window, control::kDeviceList, 0);
        window->controls().get<QLineEdit>(control::kOutputFile).setText("/tmp/other.wav");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &press);
        EXPECT_EQ(window->result(), key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted);
        QSettings after("Korvane", "ambrevo");
        EXPECT_EQ(after.value("Option/nSoundCaptureIndex").toInt(), 1);
        EXPECT_EQ(after.value("Option/output_wav_file").toString(), "/tmp/typed only.wav");
    }
}

TEST_F(RecorderWindowTest, BrowseStoresAWavNameAtOnce) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    rig.filePicker.queueSaveAnswer("/music/rel.2/take.mp3");
    clickButton(*window, control::kBrowse);
    ASSERT_EQ(rig.filePicker.saveRequests().size(), 1);
    const auto& request = rig.filePicker.saveRequests()[0];
    EXPECT_EQ(request.title, "Select Output");
    ASSERT_EQ(request.filters.size(), 4);
    EXPECT_EQ(request.filters[0].shownName, "Wav file");
    EXPECT_EQ(request.filters[0].patterns, "*.wav");
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(request.initialFolder, QDir::homePath());
    EXPECT_FALSE(request.initialName.contains('*')) << request.initialName.toStdString();
    EXPECT_EQ(window->outputFile(), "/music/rel.2/take.wav");
    EXPECT_EQ(window->controls().get<QLineEdit>(control::kOutputFile).text(),
              "/music/rel.2/take.wav");
    EXPECT_EQ(QSettings("Korvane", "ambrevo").value("Option/output_wav_file").toString(),
              "/music/rel.2/take.wav");

    rig.filePicker.queueSaveCancel();
    clickButton(*window, control::kBrowse);
    EXPECT_EQ(window->outputFile(), "/music/rel.2/take.wav");
}

TEST_F(RecorderWindowTest, PlayHandsTheWholeNameToThePlayerOrSaysItIsMissing) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const std::string path = folder_.file("my take; 'quoted'.wav");
    std::ofstream(path) << "RIFF";
    auto& edit = window->controls().get<QLineEdit>(control::kOutputFile);
    edit.setText(QString::fromStdString(path));
    clickButton(*window, control::kPlay);
    ASSERT_EQ(rig.launcher.openedAddresses().size(), 1);
    EXPECT_EQ(rig.launcher.openedAddresses()[0].toLocalFile(), QString::fromStdString(path));
    EXPECT_TRUE(rig.prompt.requests().isEmpty());

    edit.setText("/no/such/file.wav");
    clickButton(*window, control::kPlay);
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_EQ(rig.prompt.requests()[0].text, "/no/such/file.wav does not exist!");
    EXPECT_EQ(rig.prompt.requests()[0].caption, "Error");
    EXPECT_EQ(rig.prompt.requests()[0].owner, nullptr);
    EXPECT_EQ(rig.launcher.openedAddresses().size(), 1);

    clickButton(*window, control::kHomepage);
    clickButton(*window, control::kHelp);
    ASSERT_EQ(rig.launcher.openedAddresses().size(), 3);
    EXPECT_EQ(rig.launcher.openedAddresses()[1].scheme(), "https");
    EXPECT_TRUE(rig.launcher.openedAddresses()[2].toLocalFile().endsWith("/Introduction.htm"));
    EXPECT_TRUE(rig.launcher.programStarts().isEmpty());
}

TEST_F(RecorderWindowTest, ChangingTheLineWhileRecordingCompletesTheTake) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const QString path = QString::fromStdString(folder_.file("line change.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(*window, control::kRecord);
    pumpFor(700);
    ASSERT_TRUE(
        window->commands().dispatch(control::kInputLineList, Notification::SelectionChanged));
    EXPECT_FALSE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Ready");
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    EXPECT_NEAR(take->durationSeconds(), 0.7, 0.3);
}

TEST_F(RecorderWindowTest, EmptyEditBoxRecordsToRecordWavInHome) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->controls().get<QLineEdit>(control::kOutputFile).clear();
    clickButton(*window, control::kRecord);
    pumpFor(500);
    clickButton(*window, control::kStop);
    const auto take =
        test_support::readWav(QDir::home().absoluteFilePath("record.wav").toStdString());
    ASSERT_TRUE(take);
    EXPECT_GT(take->durationSeconds(), 0.2);
}

TEST_F(RecorderWindowTest, SwitchingDeviceWhileRecordingCompletesTheTake) {
    RecorderRig rig({kPacedTone, {"paced_880", 880.0, 44100, ToneDelivery::PacedPipe}});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const QString path = QString::fromStdString(folder_.file("first device.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(*window, control::kRecord);
    pumpFor(700);
    chooseRow(*window, control::kDeviceList, 1);
    EXPECT_FALSE(window->isActive());
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_EQ(rig.values.nSoundCaptureIndex, 1);
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    EXPECT_NEAR(test_support::toneFrequencyHz(take->firstChannel, 44100), 440.0, 2.0);

    // The next take comes from the newly chosen device.
    const QString second = QString::fromStdString(folder_.file("second device.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(second);
    clickButton(*window, control::kRecord);
    pumpFor(700);
    clickButton(*window, control::kStop);
    const auto other = test_support::readWav(second.toStdString());
    ASSERT_TRUE(other);
    EXPECT_NEAR(test_support::toneFrequencyHz(other->firstChannel, 44100), 880.0, 3.0);
}

TEST_F(RecorderWindowTest, ClosingWhileRecordingCompletesTheTakeBeforeSaving) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const QString path = QString::fromStdString(folder_.file("closing.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    clickButton(*window, control::kRecord);
    pumpFor(700);
    window->close();
    const auto take = test_support::readWav(path.toStdString());
    ASSERT_TRUE(take);
    EXPECT_EQ(take->declaredDataBytes, take->storedDataBytes);
    EXPECT_NEAR(take->durationSeconds(), 0.7, 0.3);
    EXPECT_EQ(QSettings("Korvane", "ambrevo").value("Option/output_wav_file").toString(), path);
}

TEST_F(RecorderWindowTest, AFailedWriteEndsTheTakeAtOnceAndSaysWhy) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->controls()
        .get<QLineEdit>(control::kOutputFile)
        .setText(QString::fromStdString(folder_.file("limited.wav")));
    {
        // A file-size limit (EFBIG), not a full disk: the take ends the same way, the message
        // names this error (the full disk has its own test).
        const test_support::FileSizeLimit limit(32 * 1024);
        ASSERT_TRUE(limit.applied());
        clickButton(*window, control::kRecord);
        ASSERT_TRUE(pumpUntil([&] { return !window->isActive(); }, 3000));
    }
    EXPECT_EQ(window->statusText(), "Status : Ready");
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_TRUE(
        rig.prompt.requests()[0].text.startsWith("The recording could not be written completely:"));
    EXPECT_TRUE(rig.prompt.requests()[0].text.contains("File too large"));
    EXPECT_FALSE(rig.prompt.requests()[0].text.contains("The disk is full"));
    EXPECT_EQ(rig.prompt.requests()[0].caption, "Error");
}

TEST_F(RecorderWindowTest, ATakeThatCouldNotBeWrittenIsReportedAtClose) {
    RecorderRig rig({kPacedTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    const QString path = QString::fromStdString(folder_.file("full_at_close.wav"));
    window->controls().get<QLineEdit>(control::kOutputFile).setText(path);
    {
        const test_support::FileSizeLimit fullDisk(32 * 1024);
        ASSERT_TRUE(fullDisk.applied());
        clickButton(*window, control::kRecord);
        pumpFor(800);
        window->close();
    }
    // The window still ends and saves its settings, but not before saying the take is short.
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_TRUE(
        rig.prompt.requests()[0].text.startsWith("The recording could not be written completely:"));
    EXPECT_EQ(rig.prompt.requests()[0].caption, "Error");
    EXPECT_EQ(QSettings("Korvane", "ambrevo").value("Option/output_wav_file").toString(), path);
}

TEST_F(RecorderWindowTest, HintFollowsTheOnlyOnceRule) {
    RecorderRig rig({{"tone_a", 440.0}, {"tone_b", 880.0}});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    EXPECT_EQ(rig.hint.shown, 0);
    rig.hint.answers = {std::nullopt, false, true};
    for (int expectedShown = 1; expectedShown <= 4; ++expectedShown) {
        ASSERT_TRUE(
            window->commands().dispatch(control::kInputLineList, Notification::SelectionChanged));
        // Closed without OK, then OK cleared, then OK ticked: shown three times, never again.
        EXPECT_EQ(rig.hint.shown, std::min(expectedShown, 3));
    }
    EXPECT_TRUE(window->hintOff());
}

TEST_F(RecorderWindowTest, NoCaptureDeviceEndsTheProgramWithAMessage) {
    RecorderRig rig({});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    EXPECT_TRUE(window->startUpFailed());
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_EQ(rig.prompt.requests()[0].caption, "No audio capture hardware!");
    EXPECT_TRUE(rig.prompt.requests()[0].text.startsWith(
        "There were no audio capture devices detected on this system."));
}

}  // namespace
