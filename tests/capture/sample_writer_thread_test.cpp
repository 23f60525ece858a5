#include "capture/sample_writer_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "capture/wav_writer.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

namespace {

using capture::AudioFormat;
using capture::CaptureError;
using capture::SampleEncoding;
using capture::SampleWriterOptions;
using capture::SampleWriterThread;
using capture::WavWriter;
using capture::WavWriterOptions;

const AudioFormat kMono16{SampleEncoding::SignedInt16, 8000, 1, 0};
constexpr int kFramesPerDelivery = 800;  // 0.1 s, as the server delivers

// A disk whose every sync hangs until the test opens it, so that the test knows the writer
// thread is stuck in a sync while the "server thread" (the test) goes on delivering.
class StuckDisk {
  public:
    void sync() {
        std::unique_lock lock(mutex_);
        ++syncsStarted_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void waitUntilASyncHangs() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return syncsStarted_ > 0; });
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int syncsStarted_ = 0;
    bool open_ = false;
};

// Sample n of a test signal in which every value differs from its neighbours, so that a lost,
// doubled or reordered delivery shows.
std::int16_t testSample(int n) {
    return static_cast<std::int16_t>((n * 7919) % 65536 - 32768);
}

std::vector<unsigned char> delivery(int index) {
    std::vector<unsigned char> bytes;
    for (int frame = 0; frame < kFramesPerDelivery; ++frame) {
        const auto sample =
            static_cast<std::uint16_t>(testSample(index * kFramesPerDelivery + frame));
        bytes.push_back(static_cast<unsigned char>(sample & 0xFF));
        bytes.push_back(static_cast<unsigned char>(sample >> 8));
    }
    return bytes;
}

// The file holds exactly `deliveries` deliveries of the test signal, in order.
void expectFileHoldsDeliveries(const std::string& path, int deliveries) {
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    ASSERT_EQ(wav->firstChannel.size(), static_cast<std::size_t>(deliveries * kFramesPerDelivery));
    for (std::size_t n = 0; n < wav->firstChannel.size(); ++n) {
        ASSERT_EQ(std::lround(wav->firstChannel[n] * 32768.0), testSample(static_cast<int>(n)))
            << "frame " << n;
    }
}

struct Recording {
    test_support::TemporaryFolder folder;
    std::string path = folder.file("take.wav");
    StuckDisk disk;
    std::unique_ptr<SampleWriterThread> writer;

    explicit Recording(SampleWriterOptions options) {
        WavWriterOptions wavOptions;
        wavOptions.headerRefreshPeriod = std::chrono::milliseconds(0);  // sync on every write
        wavOptions.beforeSync = [this] { disk.sync(); };
        capture::CaptureResult error;
        auto wav = WavWriter::create(path, kMono16, error, wavOptions);
        EXPECT_TRUE(wav) << error.text();
        writer = std::make_unique<SampleWriterThread>(std::move(wav), options);
    }
};

TEST(SampleWriterThread, HangingDiskHoldsBackNoDeliveryAndLosesNoSample) {
    Recording recording(SampleWriterOptions{});  // several seconds of buffer
    ASSERT_TRUE(recording.writer->append(delivery(0).data(), delivery(0).size()));
    recording.disk.waitUntilASyncHangs();
    // Four seconds of sound arrive while the disk hangs: each delivery is taken at once.
    constexpr int kDeliveries = 40;
    for (int index = 1; index < kDeliveries; ++index) {
        const auto bytes = delivery(index);
        ASSERT_TRUE(recording.writer->append(bytes.data(), bytes.size())) << "delivery " << index;
    }
    EXPECT_EQ(recording.writer->framesAccepted(),
              static_cast<std::uint64_t>(kDeliveries * kFramesPerDelivery));
    recording.disk.open();
    ASSERT_TRUE(recording.writer->finish());
    expectFileHoldsDeliveries(recording.path, kDeliveries);
}

TEST(SampleWriterThread, FullBufferIsReportedAtOnceAndKeepsWhatItAccepted) {
    Recording recording(SampleWriterOptions{std::chrono::milliseconds(1000)});
    ASSERT_TRUE(recording.writer->append(delivery(0).data(), delivery(0).size()));
    recording.disk.waitUntilASyncHangs();
    int accepted = 1;
    capture::CaptureResult refused;
    for (int index = 1; index < 30 && refused.succeeded(); ++index) {
        const auto bytes = delivery(index);
        refused = recording.writer->append(bytes.data(), bytes.size());
        accepted += refused.succeeded() ? 1 : 0;
    }
    // One second of buffer holds ten deliveries, the one being written included.
    EXPECT_EQ(accepted, 10);
    EXPECT_EQ(refused.code(), CaptureError::WriteFailed);
    EXPECT_NE(refused.text().find("does not keep up"), std::string::npos) << refused.text();
    // Once refused, nothing more is taken, and every call says so.
    const auto late = delivery(accepted);
    EXPECT_EQ(recording.writer->append(late.data(), late.size()).code(), CaptureError::WriteFailed);
    recording.disk.open();
    EXPECT_EQ(recording.writer->finish().code(), CaptureError::WriteFailed);
    expectFileHoldsDeliveries(recording.path, accepted);
}

}  // namespace
