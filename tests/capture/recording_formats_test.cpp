#include "capture/recording_file_factory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "capture/recording_file_lock.h"
#include "capture/sample_writer_thread.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

namespace {

using capture::AudioFormat;
using capture::SampleEncoding;

const AudioFormat kStereo16{SampleEncoding::SignedInt16, 48000, 2, 0x3};
constexpr int kFramesPerDelivery = 4800;  // 0.1 s

// A 440 Hz / 660 Hz tone with a slow ramp, frame n, channel c.
std::int16_t toneSample(long n, int channel) {
    const double frequencyHz = channel == 0 ? 440.0 : 660.0;
    return static_cast<std::int16_t>(8000.0 * std::sin(2.0 * M_PI * frequencyHz * n / 48000.0) +
                                     (n % 1000));
}

std::vector<std::int16_t> deliveryOf(int index) {
    std::vector<std::int16_t> samples;
    for (int frame = 0; frame < kFramesPerDelivery; ++frame) {
        for (int channel = 0; channel < 2; ++channel) {
            samples.push_back(
                toneSample(static_cast<long>(index) * kFramesPerDelivery + frame, channel));
        }
    }
    return samples;
}

// Records `deliveries` deliveries with a pause (a header refresh and a gap in time) halfway.
void record(capture::SampleWriterThread& writer, int deliveries) {
    for (int index = 0; index < deliveries; ++index) {
        if (index == deliveries / 2) {
            writer.requestHeaderRefresh();
            usleep(300'000);  // paused: nothing arrives
        }
        const auto samples = deliveryOf(index);
        ASSERT_TRUE(writer.append(samples.data(), samples.size() * sizeof(std::int16_t)));
        usleep(20'000);
    }
}

// The file decoded by sox (the container's own decoder) to interleaved 16-bit samples.
std::vector<std::int16_t> soxDecoded(const std::string& path) {
    const std::string raw = path + ".raw";
    const std::string command = "sox " + test_support::shellQuote(path) +
                                " -t raw -e signed-integer -b 16 -r 48000 -c 2 " +
                                test_support::shellQuote(raw) + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(raw, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

double ffprobeDurationSeconds(const std::string& path) {
    const std::string command = "ffmpeg -v error -i " + test_support::shellQuote(path) +
                                " -f s16le -ac 1 -ar 48000 - 2>/dev/null | wc -c";
    long long bytes = -1;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lld", &bytes) != 1) {
            bytes = -1;
        }
        pclose(pipe);
    }
    return static_cast<double>(bytes) / 2 / 48000.0;
}

struct FormatCase {
    const char* extension;
    bool lossless;
};

class RecordingFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(RecordingFormats, PausedTakePlaysGaplessAndEveryFrameIsThere) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file(std::string("take") + GetParam().extension);
    capture::CaptureResult error;
    auto file = capture::createRecordingFile(path, kStereo16, error, {});
    ASSERT_TRUE(file) << error.text();
    capture::SampleWriterThread writer(std::move(file));
    constexpr int kDeliveries = 20;
    record(writer, kDeliveries);
    ASSERT_TRUE(writer.finish());

    const std::size_t expected = 2u * kDeliveries * kFramesPerDelivery;
    if (GetParam().lossless) {
        const auto decoded = soxDecoded(path);
        ASSERT_EQ(decoded.size(), expected);
        for (std::size_t i = 0; i < decoded.size(); ++i) {
            ASSERT_EQ(decoded[i], toneSample(static_cast<long>(i / 2), static_cast<int>(i % 2)))
                << "sample " << i;
        }
    }
    // Every format, the lossy one (which sox cannot read) included: FFmpeg plays the take's
    // length to within an encoder frame (20 ms) and a little.
    EXPECT_NEAR(ffprobeDurationSeconds(path), kDeliveries * 0.1, 0.03);
}

TEST_P(RecordingFormats, KilledRecorderLeavesAFileThatPlaysToWithinASecond) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file(std::string("killed") + GetParam().extension);
    constexpr int kDeliveries = 30;  // 3 s
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        capture::CaptureResult error;
        auto file = capture::createRecordingFile(path, kStereo16, error, {});
        if (!file) {
            _exit(2);
        }
        capture::SampleWriterThread writer(std::move(file));
        for (int index = 0; index < kDeliveries; ++index) {
            const auto samples = deliveryOf(index);
            if (writer.append(samples.data(), samples.size() * sizeof(std::int16_t)).failed()) {
                _exit(3);
            }
            usleep(100'000);  // in real time, as the server delivers
        }
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exit " << WEXITSTATUS(status);
    const double playsSeconds = ffprobeDurationSeconds(path);
    EXPECT_GE(playsSeconds, kDeliveries * 0.1 - 1.0);
    EXPECT_LE(playsSeconds, kDeliveries * 0.1 + 0.03);
}

INSTANTIATE_TEST_SUITE_P(Formats, RecordingFormats,
                         testing::Values(FormatCase{".wav", true}, FormatCase{".flac", true},
                                         FormatCase{".opus", false}),
                         [](const testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.extension + 1);
                         });

}  // namespace

namespace {

TEST(RecordingFormats, OpusAtARateItCannotEncodeIsRefusedAndLeavesNoFile) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("cd.opus");
    capture::CaptureResult error;
    const AudioFormat cdRate{SampleEncoding::SignedInt16, 44100, 2, 0x3};
    EXPECT_FALSE(capture::createRecordingFile(path, cdRate, error, {}));
    EXPECT_EQ(error.code(), capture::CaptureError::UnsupportedFormat);
    EXPECT_NE(error.text().find("44100 Hz"), std::string::npos) << error.text();
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace

namespace {

// A take in progress in another process (another recorder) holds its file: a second recorder,
// by any link to the file, is refused and leaves the take's bytes alone; once that take has
// ended the file may be recorded again.
TEST(RecordingFileLock, AFileBeingRecordedElsewhereIsRefusedUntilThatTakeEnds) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("take.wav");
    const std::string hardLink = folder.file("same take.wav");
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        close(release[1]);  // so that the parent's close reads as the end of the pipe
        capture::CaptureResult error;
        auto file = capture::createRecordingFile(path, kStereo16, error, {});
        if (!file) {
            _exit(2);
        }
        capture::SampleWriterThread writer(std::move(file));
        const auto samples = deliveryOf(0);
        if (writer.append(samples.data(), samples.size() * sizeof(std::int16_t)).failed()) {
            _exit(3);
        }
        char byte = 1;
        if (write(ready[1], &byte, 1) != 1 || read(release[0], &byte, 1) < 0) {
            _exit(4);
        }
        _exit(writer.finish().succeeded() ? 0 : 5);
    }
    close(ready[1]);
    close(release[0]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(link(path.c_str(), hardLink.c_str()), 0);
    for (const std::string& name : {path, hardLink}) {
        capture::CaptureResult error;
        EXPECT_FALSE(capture::createRecordingFile(name, kStereo16, error, {})) << name;
        EXPECT_EQ(error.code(), capture::CaptureError::FileNotCreated);
        EXPECT_NE(error.text().find("is being recorded right now"), std::string::npos)
            << error.text();
        EXPECT_TRUE(capture::isFileBeingRecorded(name));
    }

    close(release[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NEAR(ffprobeDurationSeconds(path), 0.1, 0.005);  // the first take, whole
    EXPECT_FALSE(capture::isFileBeingRecorded(path));
    capture::CaptureResult error;
    EXPECT_TRUE(capture::createRecordingFile(hardLink, kStereo16, error, {})) << error.text();
}

}  // namespace
