#include "tests/support/event_pump.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <vector>

namespace mixer {
namespace {

const QString kProgram = QStringLiteral(ORVINDEL_BINARY_DIR "/mixer/orvindel");

// What a tool prints on standard output (standard error dropped), or empty when it fails.
QString toolOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The video as FFmpeg's reader finds it going through the whole file: where its last packet
// ends and where its key frames lie.
struct DecodedVideo {
    double endSeconds = -1;
    std::vector<double> keyFrameSeconds;
};

DecodedVideo decodedVideo(const std::string& path) {
    DecodedVideo video;
    const QStringList lines =
        toolOutput("ffprobe", {"-v", "error", "-select_streams", "v", "-show_entries",
                               "packet=pts_time,duration_time,flags", "-of", "csv=p=0",
                               QString::fromStdString(path)})
            .split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        video.endSeconds = fields.value(0).toDouble() + fields.value(1).toDouble();
        if (fields.value(2).startsWith('K')) {
            video.keyFrameSeconds.push_back(fields.value(0).toDouble());
        }
    }
    return video;
}

// The length FFmpeg's reader gives from the file's header and index.
double probedSeconds(const std::string& path) {
    const QString text = toolOutput("ffprobe", {"-v", "error", "-show_entries", "format=duration",
                                                "-of", "csv=p=0", QString::fromStdString(path)});
    bool number = false;
    const double seconds = text.trimmed().toDouble(&number);
    return number ? seconds : -1;
}

// Where FFmpeg's reader lands when it seeks to `seconds`: the first video packet it reads.
double landedSeconds(const std::string& path, double seconds) {
    const QString text = toolOutput(
        "ffprobe", {"-v", "error", "-read_intervals", QString::number(seconds, 'f', 3) + "%+#1",
                    "-select_streams", "v", "-show_entries", "packet=pts_time", "-of", "csv=p=0",
                    QString::fromStdString(path)});
    bool number = false;
    const double landed = text.split('\n').value(0).trimmed().toDouble(&number);
    return number ? landed : -1;
}

// GStreamer's view: the length and whether it can seek, as gst-discoverer-1.0 -v reports them.
struct Discovered {
    double seconds = -1;
    bool seekable = false;
};

Discovered discover(const std::string& path) {
    const QString text = toolOutput("gst-discoverer-1.0", {"-v", QString::fromStdString(path)});
    Discovered found;
    const QRegularExpressionMatch duration =
        QRegularExpression(R"(Duration: (\d+):(\d+):(\d+(\.\d+)?))").match(text);
    if (duration.hasMatch()) {
        found.seconds = duration.captured(1).toDouble() * 3600 +
                        duration.captured(2).toDouble() * 60 + duration.captured(3).toDouble();
    }
    found.seekable = text.contains("Seekable: yes");
    return found;
}

// A render killed part-way (a crash, a power cut, kill -9) leaves a file that every kind of
// player reads to its length and seeks in: FFmpeg's reader (and the players built on it) and
// GStreamer's.
TEST(KilledRenderTest, AKilledMixShowsItsLengthAndSeeksInEveryPlayer) {
    const test_support::TemporaryFolder folder;
    const std::string clip = folder.file("forty seconds.avi");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 -t 40 "
        "-c:v mpeg4 -c:a pcm_s16le " +
        test_support::shellQuote(clip)));
    const struct {
        const char* name;
        std::uintmax_t killAtBytes;  // about 15 s of the output's pictures and sound
    } outputs[] = {{"killed.mp4", 750'000}, {"killed.avi", 1'500'000}, {"killed.mkv", 700'000}};
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.name);
        const std::string path = folder.file(output.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(kProgram, {"--render", "--size", "1280x720", "-o",
                                 QString::fromStdString(path), QString::fromStdString(clip)});
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(test_support::pumpUntil(
            [&] {
                std::error_code error;
                const std::uintmax_t bytes = std::filesystem::file_size(path, error);
                return (!error && bytes > output.killAtBytes) ||
                       process.state() == QProcess::NotRunning;
            },
            60'000));
        ASSERT_EQ(process.state(), QProcess::Running) << "finished before it could be killed";
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        ASSERT_TRUE(process.waitForFinished(30'000));

        const DecodedVideo video = decodedVideo(path);
        ASSERT_GT(video.endSeconds, 5.0);
        EXPECT_LT(video.endSeconds, 38.0);  // cut short
        EXPECT_NEAR(probedSeconds(path), video.endSeconds, 1.5);
        const Discovered gstreamer = discover(path);
        EXPECT_NEAR(gstreamer.seconds, video.endSeconds, 1.5);
        EXPECT_TRUE(gstreamer.seekable);
        // A seek a little past the key frame nearest the middle lands on that key frame.
        ASSERT_GE(video.keyFrameSeconds.size(), 2U) << "no key frame to seek to";
        const double middle = video.endSeconds / 2;
        const double keyFrame = *std::min_element(
            video.keyFrameSeconds.begin() + 1, video.keyFrameSeconds.end(),
            [&](double a, double b) { return std::abs(a - middle) < std::abs(b - middle); });
        EXPECT_NEAR(landedSeconds(path, keyFrame + 0.3), keyFrame, 0.05);
    }
}

}  // namespace
}  // namespace mixer
