// A trimmed clip rendered as a user renders a saved project from the command line: the output
// starts at the in-point frame and ends at the frame before the out point, and the clip's own
// sound is cut to the same span. The clips' frames carry their own number in their brightness.
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QProcessEnvironment>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mixer {
namespace {

using test_support::shellQuote;

constexpr int kFramesPerSecond = 25;
constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kSoundRate = 8000;  // the rate the output's sound is decoded at for the checks
constexpr int kBeepHz = 1000;
// Frame n is flat grey of luma 16 + kLumaStep * (n mod kLumaLevels): neighbouring frames differ
// by far more than the coding error, and the pattern has no orientation.
constexpr int kLumaStep = 8;
constexpr int kLumaLevels = 25;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The frame number (mod kLumaLevels) an RGB value of a flat grey frame stands for.
int frameLevelOf(int rgb) {
    const double luma = 16.0 + rgb * 219.0 / 255.0;
    return static_cast<int>(std::lround((luma - 16.0) / kLumaStep));
}

struct TrimCase {
    const char* name;
    const char* codedSize;     // before any turn
    const char* extraOptions;  // for the ffmpeg tool when encoding
    bool quarterTurn;          // written with a display matrix turning it by 90 degrees
    int seconds;
    int inFrame;
    int outFrame;  // the first frame that no longer plays
};

// Writes the clip: numbered frames, and a sound silent but for a beep 0.52 s after the in point.
std::string makeNumberedClip(const TrimCase& clip, const test_support::TemporaryFolder& folder) {
    const std::string coded = folder.file(std::string(clip.name) + "-coded.mp4");
    const double beepSeconds = static_cast<double>(clip.inFrame) / kFramesPerSecond + 0.52;
    const std::string picture = "color=c=black:s=" + std::string(clip.codedSize) +
                                ":r=" + std::to_string(kFramesPerSecond) +
                                ":d=" + std::to_string(clip.seconds) +
                                ",format=yuv420p,geq=lum='16+" + std::to_string(kLumaStep) +
                                "*mod(N\\," + std::to_string(kLumaLevels) + ")':cb=128:cr=128";
    const std::string sound = "aevalsrc='if(between(t\\," + std::to_string(beepSeconds) + "\\," +
                              std::to_string(beepSeconds + 0.1) + ")\\,0.8*sin(2*PI*" +
                              std::to_string(kBeepHz) +
                              "*t)\\,0)':s=44100:d=" + std::to_string(clip.seconds);
    EXPECT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i " + shellQuote(picture) + " -f lavfi -i " + shellQuote(sound) +
        " -c:v libx264 -qp 4 " + clip.extraOptions + " -c:a aac -ac 2 " + shellQuote(coded)));
    if (!clip.quarterTurn) {
        return coded;
    }
    // The ffmpeg tool writes a display matrix from "rotate" only when it copies the stream.
    const std::string turned = folder.file(std::string(clip.name) + ".mp4");
    EXPECT_TRUE(test_support::runFfmpeg(
        "-i " + shellQuote(coded) + " -c copy -metadata:s:v:0 rotate=90 " + shellQuote(turned)));
    return turned;
}

std::string projectText(const std::string& clip, double inSeconds, double outSeconds) {
    const std::string span =
        "\"in\": " + std::to_string(inSeconds) + ", \"out\": " + std::to_string(outSeconds);
    return R"({"format": "orvindel-project", "version": 1,
        "videos": [{"file": ")" +
           clip + R"(", "transition": "None", )" + span + R"(}],
        "audios": [{"file": ")" +
           clip + R"(", "start": 0, )" + span + R"(}],
        "output": {"width": )" +
           std::to_string(kWidth) + R"(, "height": )" + std::to_string(kHeight) +
           R"(, "frameRate": 25, "resize": "Preserve aspect ratio",
                   "videoCompression": false, "audioCompression": false}})";
}

TEST(TrimmedRenderTest, OutputRunsFromTheInPointFrameToTheOutPointWithItsSound) {
    const TrimCase cases[] = {
        // Turned by its display matrix: shows 90 x 160, so bars left and right of the picture.
        {"turned", "160x90", "", true, 4, 37, 80},
        // Key frames 250 frames apart: the in point lies 137 frames after the key frame.
        {"sparse-key-frames", "160x120", "-g 250 -keyint_min 250 -sc_threshold 0", false, 12, 137,
         187},
    };
    for (const TrimCase& clip : cases) {
        SCOPED_TRACE(clip.name);
        const test_support::TemporaryFolder folder;
        const std::string source = makeNumberedClip(clip, folder);
        const std::string project = folder.file("trimmed.orvindel");
        const std::string output = folder.file("trimmed.avi");

        const auto render = [&](int exitCode) {
            QProcess orvindel;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                               QString::fromStdString(folder.file("config")));
            orvindel.setProcessEnvironment(environment);
            orvindel.start(QStringLiteral(ORVINDEL_BINARY_DIR "/mixer/orvindel"),
                           {"--render", QString::fromStdString(project), "-o",
                            QString::fromStdString(output)});
            EXPECT_TRUE(orvindel.waitForFinished(120'000));
            const QString said = QString::fromLocal8Bit(orvindel.readAllStandardError() +
                                                        orvindel.readAllStandardOutput());
            EXPECT_EQ(orvindel.exitCode(), exitCode) << said.toStdString();
            return said;
        };
        // An out point beyond the file refuses the project, naming the entry.
        const double inSeconds = static_cast<double>(clip.inFrame) / kFramesPerSecond;
        std::ofstream(project) << projectText(source, inSeconds, clip.seconds + 1.0);
        EXPECT_TRUE(render(1).contains("video 1")) << "out point beyond the file";
        std::ofstream(project) << projectText(
            source, inSeconds, static_cast<double>(clip.outFrame) / kFramesPerSecond);
        render(0);

        const std::string pictures = folder.file("pictures.rgb");
        const std::string sound = folder.file("sound.raw");
        ASSERT_TRUE(test_support::runFfmpeg("-y -i " + shellQuote(output) +
                                            " -map 0:v -f rawvideo -pix_fmt rgb24 " +
                                            shellQuote(pictures)));
        ASSERT_TRUE(test_support::runFfmpeg("-y -i " + shellQuote(output) + " -map 0:a -ac 1 -ar " +
                                            std::to_string(kSoundRate) + " -f s16le " +
                                            shellQuote(sound)));
        const std::vector<std::uint8_t> frames = fileBytes(pictures);
        const std::size_t frameBytes = kWidth * kHeight * 3;
        ASSERT_EQ(frames.size() % frameBytes, 0u);
        const int frameCount = static_cast<int>(frames.size() / frameBytes);
        EXPECT_EQ(frameCount, clip.outFrame - clip.inFrame);
        ASSERT_GT(frameCount, 0);
        const auto red = [&](int frame, int x, int y) {
            return static_cast<int>(frames[static_cast<std::size_t>(frame) * frameBytes +
                                           static_cast<std::size_t>((y * kWidth + x) * 3)]);
        };
        EXPECT_EQ(frameLevelOf(red(0, kWidth / 2, kHeight / 2)), clip.inFrame % kLumaLevels);
        EXPECT_EQ(frameLevelOf(red(frameCount - 1, kWidth / 2, kHeight / 2)),
                  (clip.outFrame - 1) % kLumaLevels);
        // A turned clip stands upright between black bars; an upright one fills the width.
        EXPECT_EQ(red(0, 2, kHeight / 2) < 4, clip.quarterTurn);

        const std::vector<std::uint8_t> bytes = fileBytes(sound);
        const std::size_t sampleCount = bytes.size() / 2;
        const double soundSeconds = static_cast<double>(sampleCount) / kSoundRate;
        const double trimmedSeconds =
            static_cast<double>(clip.outFrame - clip.inFrame) / kFramesPerSecond;
        EXPECT_NEAR(soundSeconds, trimmedSeconds, 0.05);
        std::size_t beep = 0;
        while (beep < sampleCount && std::abs(static_cast<std::int16_t>(
                                         bytes[2 * beep] | (bytes[2 * beep + 1] << 8))) < 8000) {
            ++beep;
        }
        EXPECT_NEAR(static_cast<double>(beep) / kSoundRate, 0.52, 0.01);
    }
}

}  // namespace
}  // namespace mixer
