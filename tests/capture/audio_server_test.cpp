#include "capture/audio_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "tests/support/file_size_limit.h"
#include "tests/support/private_pulse_daemon.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

namespace {

using capture::AudioServer;
using capture::DeviceEvent;
using capture::DeviceEventKind;
using test_support::PrivatePulseDaemon;
using test_support::SineSource;

// Waits up to `timeout` for the next queued event.
std::optional<DeviceEvent> waitForEvent(
    AudioServer& server, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto event = server.takeEvent()) {
            return event;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

std::optional<DeviceEvent> waitForEventOtherThan(AudioServer& server,
                                                 std::initializer_list<DeviceEventKind> skipped) {
    for (;;) {
        auto event = waitForEvent(server);
        if (!event || std::find(skipped.begin(), skipped.end(), event->kind) == skipped.end()) {
            return event;
        }
    }
}

std::optional<DeviceEvent> waitForEventOtherThanChange(AudioServer& server) {
    return waitForEventOtherThan(server, {DeviceEventKind::Changed, DeviceEventKind::ListChanged});
}

class AudioServerTest : public testing::Test {
  protected:
    void SetUp() override {
        daemon_ = std::make_unique<PrivatePulseDaemon>(std::vector<SineSource>{
            {"tone_440", 440.0, 44100},
            {"tone_1000", 1000.0, 48000, test_support::ToneDelivery::PacedPipe}});
        ASSERT_TRUE(daemon_->isRunning()) << daemon_->error();
        capture::CaptureResult error;
        server_ = AudioServer::connect("ambrevo-test", error);
        ASSERT_TRUE(server_) << error.text();
    }
    void TearDown() override {
        server_.reset();
        daemon_.reset();
    }

    std::unique_ptr<PrivatePulseDaemon> daemon_;
    std::unique_ptr<AudioServer> server_;
    test_support::TemporaryFolder folder_;
};

TEST_F(AudioServerTest, ListsCaptureSourcesButNoMonitors) {
    const auto devices = server_->listDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, "tone_440");
    EXPECT_EQ(devices[1].name, "tone_1000");
    for (const auto& device : devices) {
        // A source without ports offers one line: itself.
        ASSERT_EQ(device.lines.size(), 1u);
        EXPECT_FALSE(device.hasPorts);
        EXPECT_EQ(device.lines[0].description, device.description);
        EXPECT_TRUE(server_->setActiveLine(device.name, device.lines[0].name));
    }
}

TEST_F(AudioServerTest, LevelIsTheSourceVolume) {
    for (const double level : {0.5, 0.005, 1.0}) {
        ASSERT_TRUE(server_->setLevel("tone_440", level));
        const auto device = server_->device("tone_440");
        ASSERT_TRUE(device);
        EXPECT_NEAR(device->level, level, 1e-4);
    }
    const std::string listing = daemon_->pactl("get-source-volume tone_440");
    EXPECT_NE(listing.find("65536"), std::string::npos) << listing;  // 1.0 is the norm
    EXPECT_FALSE(server_->setLevel("no_such_source", 0.5));
}

TEST_F(AudioServerTest, MuteIsReported) {
    daemon_->pactl("set-source-mute tone_440 1");
    EXPECT_TRUE(server_->device("tone_440")->muted);
    EXPECT_FALSE(server_->device("tone_1000")->muted);
}

TEST_F(AudioServerTest, RemovalAndReturnOfTheWatchedDeviceOnly) {
    int notifications = 0;
    std::mutex mutex;
    server_->setEventNotifier([&] {
        std::lock_guard guard(mutex);
        ++notifications;
    });
    server_->watchDevice("tone_440");

    ASSERT_TRUE(daemon_->unloadSource("tone_1000"));  // not watched: the list changed, no more
    const auto listed = waitForEventOtherThan(*server_, {DeviceEventKind::Changed});
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->kind, DeviceEventKind::ListChanged);
    EXPECT_EQ(listed->deviceName, "tone_1000");
    ASSERT_TRUE(daemon_->unloadSource("tone_440"));
    auto event = waitForEventOtherThanChange(*server_);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, DeviceEventKind::Removed);
    EXPECT_EQ(event->deviceName, "tone_440");

    ASSERT_TRUE(daemon_->loadSineSource(
        {"tone_1000", 1000.0, 48000, test_support::ToneDelivery::PacedPipe}));
    ASSERT_TRUE(daemon_->loadSineSource({"tone_440", 440.0, 44100}));
    event = waitForEventOtherThanChange(*server_);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, DeviceEventKind::Returned);
    EXPECT_EQ(event->deviceName, "tone_440");
    EXPECT_FALSE(waitForEventOtherThanChange(*server_));
    std::lock_guard guard(mutex);
    EXPECT_GE(notifications, 2);
}

TEST_F(AudioServerTest, RecordsInTheSourcesOwnFormatAcrossAPause) {
    const std::string path = folder_.file("take.wav");
    capture::CaptureResult error;
    auto session = server_->openRecording("tone_1000", path, error);
    ASSERT_TRUE(session) << error.text();
    EXPECT_EQ(session->format().sampleRateHz, 48000);
    EXPECT_EQ(session->format().channelCount, 1);

    ASSERT_TRUE(session->run()) << error.text();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    session->pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // not recorded
    ASSERT_TRUE(session->run()) << error.text();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(session->stop());
    EXPECT_EQ(session->lostFrames(), 0u);

    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->sampleRateHz, 48000);
    // The source's own float samples (extensible form, as for every sample over 16 bits).
    EXPECT_EQ(wav->formatTag == 0xFFFE ? wav->subFormatTag : wav->formatTag, 3);
    EXPECT_NEAR(wav->durationSeconds(), 1.2, 0.25);
    EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, 48000), 1000.0, 3.0);
    EXPECT_LT(test_support::longestSilentRun(wav->firstChannel), 48u);  // no gap at the seam
}

TEST_F(AudioServerTest, RemovedDeviceEndsTheRecordingWithACompleteFile) {
    const std::string path = folder_.file("lost.wav");
    capture::CaptureResult error;
    server_->watchDevice("tone_440");
    auto session = server_->openRecording("tone_440", path, error);
    ASSERT_TRUE(session) << error.text();
    ASSERT_TRUE(session->run()) << error.text();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(daemon_->unloadSource("tone_440"));
    auto event = waitForEventOtherThanChange(*server_);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, DeviceEventKind::Removed);
    EXPECT_TRUE(session->deviceLost());
    EXPECT_TRUE(session->stop());
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->declaredDataBytes, wav->storedDataBytes);
    EXPECT_GT(wav->durationSeconds(), 0.2);
}

TEST_F(AudioServerTest, AFullDiskIsReportedAtStop) {
    const std::string path = folder_.file("full.wav");
    std::unique_ptr<capture::RecordingSession> session;
    {
        // Writes past the limit fail with EFBIG.
        const test_support::FileSizeLimit fullDisk(64 * 1024);
        ASSERT_TRUE(fullDisk.applied());
        capture::CaptureResult error;
        session = server_->openRecording("tone_1000", path, error);
        ASSERT_TRUE(session) << error.text();
        ASSERT_TRUE(session->run()) << error.text();
        std::this_thread::sleep_for(std::chrono::milliseconds(700));  // 134 kB of float samples
        EXPECT_FALSE(session->stop());
    }
    EXPECT_EQ(session->writeFailure().code(), capture::CaptureError::WriteFailed);  // EFBIG
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);  // what fitted is still a valid file, its header counting all of it
    EXPECT_LE(wav->declaredDataBytes, wav->storedDataBytes);
    EXPECT_GT(wav->declaredDataBytes, 32u * 1024);
}

TEST_F(AudioServerTest, UnknownDeviceOrFolderLeavesNoFile) {
    capture::CaptureResult error;
    EXPECT_FALSE(server_->openRecording("no_such_source", folder_.file("a.wav"), error));
    EXPECT_TRUE(error.failed());
    EXPECT_FALSE(std::filesystem::exists(folder_.file("a.wav")));
    EXPECT_FALSE(server_->openRecording("tone_440", folder_.file("missing/b.wav"), error));
}

TEST_F(AudioServerTest, LevelMeterFollowsTheTone) {
    auto meter = server_->openLevelMeter("tone_440");
    ASSERT_TRUE(meter);
    double highest = 0.0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (highest < 0.05 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        highest = std::max(highest, meter->takePeakLevel());
    }
    EXPECT_GT(highest, 0.05);  // the sine source plays at a fixed amplitude
    EXPECT_LE(highest, 1.0);
}

TEST(AudioServerWithoutAnswer, ASilentServerIsGivenUpOnInsteadOfFreezing) {
    // A socket that accepts connections but never speaks.
    test_support::TemporaryFolder folder;
    const std::string socketPath = folder.file("silent");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    const char* previous = std::getenv("PULSE_SERVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("PULSE_SERVER", ("unix:" + socketPath).c_str(), 1);

    const auto start = std::chrono::steady_clock::now();
    capture::CaptureResult error;
    auto server = AudioServer::connect("ambrevo-test", error, std::chrono::milliseconds(400));
    const auto waited = std::chrono::steady_clock::now() - start;
    if (previous != nullptr) {
        setenv("PULSE_SERVER", saved.c_str(), 1);
    } else {
        unsetenv("PULSE_SERVER");
    }
    close(listener);
    EXPECT_FALSE(server);
    EXPECT_TRUE(error.failed());
    EXPECT_LT(waited, std::chrono::seconds(3));
}

}  // namespace
