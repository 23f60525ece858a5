#include "capture/wav_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/wav_inspection.h"

namespace {

using capture::AudioFormat;
using capture::SampleEncoding;
using capture::WavWriter;
using capture::WavWriterOptions;

// Interleaved frames of a 1 kHz sine on every channel, in `format`'s encoding.
std::vector<unsigned char> sineFrames(const AudioFormat& format, int frameCount) {
    std::vector<unsigned char> bytes;
    for (int frame = 0; frame < frameCount; ++frame) {
        const double value = 0.5 * std::sin(2.0 * M_PI * 1000.0 * frame / format.sampleRateHz);
        for (int channel = 0; channel < format.channelCount; ++channel) {
            switch (format.encoding) {
                case SampleEncoding::Float32: {
                    const float f = static_cast<float>(value);
                    const auto* p = reinterpret_cast<const unsigned char*>(&f);
                    bytes.insert(bytes.end(), p, p + 4);
                    break;
                }
                case SampleEncoding::SignedInt16: {
                    const auto s = static_cast<std::int16_t>(value * 32767);
                    bytes.push_back(static_cast<unsigned char>(s & 0xFF));
                    bytes.push_back(static_cast<unsigned char>((s >> 8) & 0xFF));
                    break;
                }
                case SampleEncoding::SignedInt32: {
                    const auto s = static_cast<std::int32_t>(value * 2147483647.0);
                    for (int i = 0; i < 4; ++i) {
                        bytes.push_back(static_cast<unsigned char>((s >> (8 * i)) & 0xFF));
                    }
                    break;
                }
                case SampleEncoding::UnsignedInt8:
                    bytes.push_back(static_cast<unsigned char>(128 + value * 127));
                    break;
                default:
                    ADD_FAILURE() << "encoding not covered by the test";
            }
        }
    }
    return bytes;
}

std::string ffprobeField(const std::string& path, const std::string& field) {
    const std::string command = "ffprobe -v error -show_entries stream=" + field +
                                " -of default=noprint_wrappers=1:nokey=1 " +
                                test_support::shellQuote(path);
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

// Decodes the whole file with the ffmpeg tool and counts the samples it gets.
long long ffmpegDecodedFrames(const std::string& path) {
    const std::string command = "ffmpeg -v error -i " + test_support::shellQuote(path) +
                                " -map 0:a -ac 1 -f s16le - 2>/dev/null | wc -c";
    long long bytes = -1;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lld", &bytes) != 1) {
            bytes = -1;
        }
        pclose(pipe);
    }
    return bytes / 2;
}

struct FormatCase {
    const char* label;
    AudioFormat format;
    const char* expectedCodec;
};

class WavWriterFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(WavWriterFormats, StandardToolsReadWhatWasWritten) {
    const FormatCase& testCase = GetParam();
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("out.wav");
    capture::CaptureResult error;
    auto writer = WavWriter::create(path, testCase.format, error);
    ASSERT_TRUE(writer) << error.text();
    const int frames = testCase.format.sampleRateHz / 2;
    const auto bytes = sineFrames(testCase.format, frames);
    ASSERT_TRUE(writer->append(bytes.data(), bytes.size()));
    ASSERT_TRUE(writer->finish());

    EXPECT_EQ(ffprobeField(path, "codec_name,sample_rate,channels"),
              std::string(testCase.expectedCodec) + "\n" +
                  std::to_string(testCase.format.sampleRateHz) + "\n" +
                  std::to_string(testCase.format.channelCount));
    EXPECT_EQ(ffmpegDecodedFrames(path), frames);
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_NEAR(test_support::toneFrequencyHz(wav->firstChannel, wav->sampleRateHz), 1000.0, 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WavWriterFormats,
    testing::Values(
        FormatCase{"float_mono", {SampleEncoding::Float32, 44100, 1, 0x4}, "pcm_f32le"},
        FormatCase{"s16_stereo", {SampleEncoding::SignedInt16, 48000, 2, 0x3}, "pcm_s16le"},
        FormatCase{"s32_six_channels", {SampleEncoding::SignedInt32, 48000, 6, 0x3F}, "pcm_s32le"},
        FormatCase{"u8_mono", {SampleEncoding::UnsignedInt8, 8000, 1, 0}, "pcm_u8"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.label); });

TEST(WavWriter, HeaderCountsTheSamplesWhileTheFileGrows) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("growing.wav");
    const AudioFormat format{SampleEncoding::SignedInt16, 8000, 1, 0};
    capture::CaptureResult error;
    WavWriterOptions options;
    options.headerRefreshPeriod = std::chrono::milliseconds(50);
    auto writer = WavWriter::create(path, format, error, options);
    ASSERT_TRUE(writer) << error.text();
    const auto block = sineFrames(format, 800);  // 0.1 s
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(writer->append(block.data(), block.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    // The writer is still open (as if it were killed now): the header already counts every
    // block but the last one written after the refresh period ran out.
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->storedDataBytes, 5 * block.size());
    EXPECT_GE(wav->declaredDataBytes, 4 * block.size());
    EXPECT_LE(wav->declaredDataBytes, wav->storedDataBytes);
    EXPECT_GE(ffmpegDecodedFrames(path), 4 * 800);
}

TEST(WavWriter, BecomesRf64PastTheRiffLimitAndStaysReadable) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("large.wav");
    const AudioFormat format{SampleEncoding::SignedInt16, 8000, 2, 0x3};
    capture::CaptureResult error;
    WavWriterOptions options;
    options.riffLimitBytes = 20000;  // stands in for 4 GiB
    auto writer = WavWriter::create(path, format, error, options);
    ASSERT_TRUE(writer) << error.text();
    const auto block = sineFrames(format, 8000);  // 32000 bytes
    ASSERT_TRUE(writer->append(block.data(), block.size()));
    ASSERT_TRUE(writer->finish());
    EXPECT_TRUE(writer->isRf64());

    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_TRUE(wav->rf64);
    EXPECT_EQ(wav->declaredDataBytes, block.size());
    EXPECT_EQ(ffmpegDecodedFrames(path), 8000);
}

TEST(WavWriter, SmallFileKeepsPlainRiffWithReservedJunk) {
    test_support::TemporaryFolder folder;
    const std::string path = folder.file("small.wav");
    capture::CaptureResult error;
    auto writer =
        WavWriter::create(path, AudioFormat{SampleEncoding::UnsignedInt8, 8000, 1, 0}, error);
    ASSERT_TRUE(writer) << error.text();
    const unsigned char odd[3] = {128, 200, 60};
    ASSERT_TRUE(writer->append(odd, sizeof odd));
    ASSERT_TRUE(writer->finish());
    const auto wav = test_support::readWav(path);
    ASSERT_TRUE(wav);
    EXPECT_FALSE(wav->rf64);
    EXPECT_EQ(wav->declaredDataBytes, 3u);
    EXPECT_EQ(wav->storedDataBytes, 4u);  // the pad byte keeps the chunk even
    EXPECT_EQ(ffmpegDecodedFrames(path), 3);
}

// Caps the size of every file this process writes, as a full disk would: a write that crosses
// the cap stores only what fits and the next one fails. Restores the old cap on destruction.
class FileSizeCap {
  public:
    explicit FileSizeCap(rlim_t capBytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // fail the write instead of dying
        rlimit capped = previous_;
        capped.rlim_cur = capBytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &capped), 0);
    }
    ~FileSizeCap() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeCap(const FileSizeCap&) = delete;
    FileSizeCap& operator=(const FileSizeCap&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST(WavWriter, WriteCutShortMidFrameLeavesAConsistentFile) {
    struct CapCase {
        AudioFormat format;
        rlim_t capBytes;  // chosen so the short write ends inside a frame
    };
    const CapCase cases[] = {
        {AudioFormat{SampleEncoding::SignedInt16, 8000, 2, 0x3}, 1081},
        {AudioFormat{SampleEncoding::SignedInt32, 48000, 6, 0x3F}, 5003},
        {AudioFormat{SampleEncoding::UnsignedInt8, 8000, 1, 0}, 1001},
    };
    for (const CapCase& cut : cases) {
        SCOPED_TRACE(capture::describe(cut.format));
        test_support::TemporaryFolder folder;
        const std::string path = folder.file("cut.wav");
        capture::CaptureResult error;
        auto writer = WavWriter::create(path, cut.format, error);
        ASSERT_TRUE(writer) << error.text();
        const auto block = sineFrames(cut.format, cut.format.sampleRateHz);  // 1 s, past the cap
        {
            FileSizeCap cap(cut.capBytes);
            EXPECT_TRUE(writer->append(block.data(), block.size()).failed());
            EXPECT_TRUE(writer->finish().failed());
        }
        std::ifstream in(path, std::ios::binary);
        unsigned char riff[8] = {};
        in.read(reinterpret_cast<char*>(riff), sizeof riff);
        const auto fileBytes = std::filesystem::file_size(path);
        EXPECT_EQ(test_support::littleEndian32(riff + 4) + 8u, fileBytes);
        const auto wav = test_support::readWav(path);
        ASSERT_TRUE(wav);
        const auto bytesPerFrame = static_cast<std::uint64_t>(cut.format.bytesPerFrame());
        EXPECT_EQ(wav->declaredDataBytes, wav->storedDataBytes);
        EXPECT_EQ(wav->declaredDataBytes % bytesPerFrame, 0u);
        // At most the frame cut in two (and one more for the even pad) is given up.
        EXPECT_GT(wav->declaredDataBytes + 2 * bytesPerFrame,
                  cut.capBytes - (fileBytes - wav->declaredDataBytes));
        EXPECT_EQ(static_cast<std::uint64_t>(ffmpegDecodedFrames(path)),
                  wav->declaredDataBytes / bytesPerFrame);
    }
}

TEST(WavWriter, UnwritablePathIsReported) {
    capture::CaptureResult error;
    auto writer = WavWriter::create("/nonexistent-folder/out.wav",
                                    AudioFormat{SampleEncoding::SignedInt16, 8000, 1, 0}, error);
    EXPECT_FALSE(writer);
    EXPECT_EQ(error.code(), capture::CaptureError::FileNotCreated);
    EXPECT_NE(error.text().find("/nonexistent-folder/out.wav"), std::string::npos);
}

}  // namespace
