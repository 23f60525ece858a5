#include "editing/probe/duration_probe.h"
#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/media_fixtures.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace mixer {
namespace {

using test_support::shellQuote;

const QString kProgram = QStringLiteral(ORVINDEL_BINARY_DIR "/mixer/orvindel");

// Orvindel run as a user's shell or a job scheduler runs it: no display at all.
struct ProcessRun {
    int exitCode = -1;
    QString errorText;
    QString outputText;
};

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

ProcessRun runOrvindel(const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(kProgram, arguments);
    EXPECT_TRUE(process.waitForFinished(120'000)) << arguments.join(' ').toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError()),
            QString::fromLocal8Bit(process.readAllStandardOutput())};
}

// The decoded pictures and sound of `path`, as a digest of the raw bytes.
QByteArray decodedDigest(const std::string& path, const std::string& stream,
                         const test_support::TemporaryFolder& folder) {
    const std::string raw = folder.file("decoded.raw");
    const std::string format =
        stream == "v" ? "-map 0:v -f rawvideo -pix_fmt rgb24" : "-map 0:a -f s16le";
    if (!test_support::runFfmpeg("-y -i " + shellQuote(path) + " " + format + " " +
                                 shellQuote(raw))) {
        return {};
    }
    QFile file(QString::fromStdString(raw));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// What `program` prints on stdout for `arguments` (empty when it fails).
QString outputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// `key=value` lines of ffprobe's "default" writer, for one section of `path`.
QStringList probed(const std::string& path, const QStringList& arguments) {
    return outputOf(QStringLiteral("ffprobe"),
                    QStringList{"-v", "error", "-of", "default=noprint_wrappers=1"} + arguments +
                        QStringList{QString::fromStdString(path)})
        .split('\n', Qt::SkipEmptyParts);
}

double secondsAfter(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (line.startsWith(key + '=')) {
            bool number = false;
            const double seconds = line.mid(key.size() + 1).toDouble(&number);
            return number ? seconds : -1000.0;
        }
    }
    return -1000.0;
}

TEST(CommandLineProcessTest, ArgumentsAndInputsGiveTheirExitStatus) {
    const test_support::TemporaryFolder folder;
    const QString output = QString::fromStdString(folder.file("out.avi"));
    const struct {
        QStringList arguments;
        int exitCode;
        const char* said;  // in stdout or stderr
    } cases[] = {
        {{"--help"}, 0, "Usage: orvindel"},
        {{"--version"}, 0, "Orvindel 3.0"},
        {{"--frobnicate"}, 1, "Unknown option --frobnicate"},
        {{"--render"}, 1, "needs a project or media files"},
        {{"--render", "a.mp4"}, 1, "needs -o OUTPUT"},
        {{"--render", "-o", output, "--size", "big", "a.mp4"}, 1, "--size"},
        {{"--render", "-o", output, QString::fromStdString(folder.file("gone.mp4"))},
         1,
         "Missing or unreadable: "},
        {{"--render", QString::fromStdString(folder.file("gone.orvindel"))}, 1, "Cannot open"},
    };
    for (const auto& call : cases) {
        const ProcessRun run = runOrvindel(call.arguments);
        EXPECT_EQ(run.exitCode, call.exitCode) << call.arguments.join(' ').toStdString();
        EXPECT_TRUE((run.errorText + run.outputText).contains(QString::fromUtf8(call.said)))
            << call.arguments.join(' ').toStdString() << " said: " << run.errorText.toStdString();
    }
    EXPECT_FALSE(QFile::exists(output));  // nothing written for bad input
}

TEST(CommandLineProcessTest, FrameSizesNoCompressorTakesAreRefusedBeforeAnyFrameExists) {
    const test_support::TemporaryFolder folder;
    const std::string clip = folder.file("clip.mp4");
    test_support::ClipRecipe recipe;
    recipe.videoCodec = "libx264";
    recipe.audioCodec = "aac";
    recipe.toneHz = 440;
    ASSERT_TRUE(test_support::makeClip(clip, recipe));
    const struct {
        const char* size;
        const char* output;
        const char* said;
    } cases[] = {
        {"99999x99999", "huge.mkv", "--size needs WIDTHxHEIGHT"},
        // The stored compressor decides the limit (the mpeg4 encoder: 8191, the others 8192).
        {"16384x16384", "large.mkv", "takes frames of at most 819"},
        {"640x9000", "tall.avi", "pixels, not 640 x 9000"},
    };
    for (const auto& call : cases) {
        const std::string output = folder.file(call.output);
        const ProcessRun run =
            runOrvindel({"--render", "--size", call.size, "-o", QString::fromStdString(output),
                         QString::fromStdString(clip)});
        EXPECT_EQ(run.exitCode, 1) << call.size << ": " << run.errorText.toStdString();
        EXPECT_TRUE(run.errorText.contains(QString::fromUtf8(call.said)))
            << call.size << " said: " << run.errorText.toStdString();
        EXPECT_FALSE(std::filesystem::exists(output)) << call.size;
        // The largest resident size of any child so far, the ffmpeg tool's included: no frame
        // of the refused size was ever allocated.
        rusage children{};
        ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &children), 0);
        EXPECT_LT(children.ru_maxrss, 1'000'000) << call.size << ": kilobytes";
    }
}

TEST(CommandLineProcessTest, AnOutputNamedByItsSuffixGetsThatContainersCompressors) {
    const test_support::TemporaryFolder folder;
    const std::string clip = folder.file("clip.avi");
    test_support::ClipRecipe recipe;
    recipe.toneHz = 440;
    ASSERT_TRUE(test_support::makeClip(clip, recipe));
    QSettings("Korvane", "orvindel").clear();  // the stored output is the default AVI
    for (const auto& [name, codecs] :
         {std::pair{"out.mp4", "h264\naac"}, std::pair{"out.mkv", "h264\naac"}}) {
        const std::string output = folder.file(name);
        const ProcessRun run = runOrvindel(
            {"--render", "-o", QString::fromStdString(output), QString::fromStdString(clip)});
        ASSERT_EQ(run.exitCode, 0) << name << ": " << run.errorText.toStdString();
        QProcess probeTool;
        probeTool.start(QStringLiteral("ffprobe"),
                        {"-v", "error", "-show_entries", "stream=codec_name", "-of", "csv=p=0",
                         QString::fromStdString(output)});
        ASSERT_TRUE(probeTool.waitForFinished(30'000));
        EXPECT_EQ(QString::fromUtf8(probeTool.readAllStandardOutput()).trimmed(),
                  QString::fromUtf8(codecs))
            << name;
    }
}

class CommandLineRenderTest : public mix_window_testing::TwoClipWindowTest<1> {};

TEST_F(CommandLineRenderTest, RenderOfAProjectEqualsMixFromTheWindow) {
    listBothClips();
    clickWindowButton(main_window::kMixButton);
    ASSERT_TRUE(test_support::pumpUntil([&] { return !window->job().Converting; },
                                        mix_window_testing::kMixTimeoutMs));
    ASSERT_EQ(window->mixController().lastEnding(), MixController::Ending::Completed);

    const QString project = QString::fromStdString(folder.file("two.orvindel"));
    picker.queueSaveAnswer(project);
    ASSERT_TRUE(window->projectCommands().saveAs());
    const std::string cliOutput = folder.file("from the command line.avi");
    const ProcessRun run =
        runOrvindel({"--render", project, "-o", QString::fromStdString(cliOutput)});
    ASSERT_EQ(run.exitCode, 0) << run.errorText.toStdString();
    EXPECT_TRUE(run.errorText.contains("100%")) << run.errorText.toStdString();

    for (const char* stream : {"v", "a"}) {
        const QByteArray fromWindow = decodedDigest(outputPath, stream, folder);
        ASSERT_FALSE(fromWindow.isEmpty()) << stream;
        EXPECT_EQ(decodedDigest(cliOutput, stream, folder), fromWindow) << stream;
    }
}

// The codec of the first `stream` ("v" or "a") of `path`, as ffprobe names it.
QString codecOf(const std::string& path, const char* stream) {
    QProcess probe;
    probe.start(
        QStringLiteral("ffprobe"),
        {"-v", "error", "-select_streams", QStringLiteral("%1:0").arg(stream), "-show_entries",
         "stream=codec_name", "-of", "csv=p=0", QString::fromStdString(path)});
    EXPECT_TRUE(probe.waitForFinished(30'000));
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

TEST_F(CommandLineRenderTest, TheCompressorsAProjectNamesAreUsedAndUnknownNamesRefused) {
    const struct {
        const char* output;
        int exitCode;
        const char* videoCodec;  // empty: nothing written
        const char* audioCodec;  // or what the error names
    } cases[] = {
        {R"("videoCompressor": "Motion JPEG", "audioCompressor": "Uncompressed Audio")", 0, "mjpeg",
         "pcm_s16le"},
        {R"("videoCompressor": "FFV1 lossless", "videoCompression": true)", 0, "ffv1", "adpcm_ms"},
        {R"("videoCompressor": "Cinepak Deluxe")", 1, "", "\"Cinepak Deluxe\""},
    };
    int run = 0;
    for (const auto& row : cases) {
        const std::string output = folder.file("named " + std::to_string(++run) + ".avi");
        const QString project = QString::fromStdString(folder.file("named.orvindel"));
        QFile file(project);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral(R"({"format": "orvindel-project", "version": 1,
            "videos": [{"file": "%1"}], "audios": [{"file": "%1"}],
            "output": {"file": "%2", %3}})")
                       .arg(QString::fromStdString(clips_->file("red.avi")),
                            QString::fromStdString(output), QString::fromUtf8(row.output))
                       .toUtf8());
        file.close();
        const ProcessRun ran = runOrvindel({"--render", project});
        ASSERT_EQ(ran.exitCode, row.exitCode) << row.output << ran.errorText.toStdString();
        if (row.exitCode != 0) {
            EXPECT_TRUE(ran.errorText.contains(QString::fromUtf8(row.audioCodec)))
                << ran.errorText.toStdString();
            EXPECT_FALSE(QFile::exists(QString::fromStdString(output)));
            continue;
        }
        EXPECT_EQ(codecOf(output, "v"), row.videoCodec) << row.output;
        EXPECT_EQ(codecOf(output, "a"), row.audioCodec) << row.output;
    }
    // A render leaves the profile's choices alone.
    EXPECT_FALSE(QSettings("Korvane", "orvindel").contains("DexVideoCompress/CompressorNumber"));
}

TEST_F(CommandLineRenderTest, AnOutputThatIsASourceIsRefusedAndTheClipKept) {
    const std::string clip = folder.file("clip.avi");
    std::filesystem::copy_file(clips_->file("red.avi"), clip);
    const std::string link = folder.file("link.avi");
    std::filesystem::create_symlink(clip, link);
    QFile original(QString::fromStdString(clip));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    const ProcessRun run =
        runOrvindel({"--render", "-o", QString::fromStdString(link), QString::fromStdString(clip)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorText.contains("clip.avi")) << run.errorText.toStdString();
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), bytes);
}

// Two clips joined by a transition, rendered from the command line into each container that the
// output name chooses, then read back by FFmpeg and by GStreamer: the container's codecs, the
// time line's length (within a frame) in both, every frame, and sound and picture starting
// together.
TEST(CommandLineContainerTest, TheOutputNameChoosesAContainerThatOtherPlayersRead) {
    const test_support::TemporaryFolder folder;
    const std::string red = folder.file("red.avi");
    const std::string blue = folder.file("blue.avi");
    ASSERT_TRUE(test_support::makeRedAndBlueClips(red, blue, 2.0, 320, 240));
    const double lengthSeconds = static_cast<double>(editing::probeDuration(red).durationRefTime +
                                                     editing::probeDuration(blue).durationRefTime) /
                                 editing::kRefTimePerSecond;
    ASSERT_GT(lengthSeconds, 3.9);
    constexpr double kFramesPerSecond = 25.0;
    constexpr double kFrameSeconds = 1.0 / kFramesPerSecond;
    {
        QSettings profile("Korvane", "orvindel");
        profile.setValue("TransitionSettings/TransitionType", 2);
        profile.setValue("TransitionSettings/TransitionName", 9);
        profile.setValue("TransitionSettings/TransitionDuration", 1);
    }
    const struct {
        const char* outputName;
        const char* videoCodec;
        const char* audioCodec;
    } containers[] = {
        {"x.webm", "vp9", "opus"},
    };
    for (const auto& container : containers) {
        SCOPED_TRACE(container.outputName);
        const std::string output = folder.file(container.outputName);
        const ProcessRun run = runOrvindel(
            {"--render", "-o", QString::fromStdString(output), "--size", "320x240", "--rate", "25",
             QString::fromStdString(red), QString::fromStdString(blue)});
        ASSERT_EQ(run.exitCode, 0) << run.errorText.toStdString();

        const QStringList streams =
            probed(output, {"-count_frames", "-show_entries",
                            "stream=codec_type,codec_name,nb_read_frames:format=duration"});
        EXPECT_EQ(streams.filter(QRegularExpression("^codec_name=")).join(' ').toStdString(),
                  std::string("codec_name=") + container.videoCodec +
                      " codec_name=" + container.audioCodec);
        EXPECT_NEAR(secondsAfter(streams, "duration"), lengthSeconds, kFrameSeconds);
        EXPECT_EQ(secondsAfter(streams, "nb_read_frames"),
                  std::round(lengthSeconds * kFramesPerSecond));

        // The first decoded picture and the first decoded sound (its priming skipped).
        const auto firstFrameSeconds = [&](const char* stream) {
            return secondsAfter(probed(output, {"-select_streams", stream, "-read_intervals",
                                                "%+#1", "-show_entries", "frame=pts_time"}),
                                "pts_time");
        };
        const double videoStart = firstFrameSeconds("v:0");
        EXPECT_GE(videoStart, 0.0);
        EXPECT_NEAR(firstFrameSeconds("a:0"), videoStart, 0.005);

        const QString discovered =
            outputOf(QStringLiteral("gst-discoverer-1.0"), {QString::fromStdString(output)});
        const QRegularExpressionMatch duration =
            QRegularExpression(R"(Duration: (\d+):(\d+):(\d+\.\d+))").match(discovered);
        ASSERT_TRUE(duration.hasMatch()) << discovered.toStdString();
        EXPECT_NEAR(duration.captured(1).toDouble() * 3600 + duration.captured(2).toDouble() * 60 +
                        duration.captured(3).toDouble(),
                    lengthSeconds, kFrameSeconds);
    }
    QSettings("Korvane", "orvindel").remove("TransitionSettings");
}

TEST(CommandLineSignalTest, InterruptAndTerminateStopTheRenderWithAPlayableFile) {
    const test_support::TemporaryFolder folder;
    // A busy picture, so the output grows steadily while the render runs.
    const std::string clip = folder.file("long.avi");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 -t 120 "
        "-c:v mpeg4 -c:a pcm_s16le " +
        shellQuote(clip)));
    for (const auto& [signalNumber, exitCode] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        const std::string output = folder.file("stopped" + std::to_string(signalNumber) + ".mkv");
        QProcess process;
        process.setProcessEnvironment(withoutDisplay());
        process.start(kProgram, {"--render", "--size", "1280x720", "-o",
                                 QString::fromStdString(output), QString::fromStdString(clip)});
        ASSERT_TRUE(process.waitForStarted());
        // Wait until the render reports progress and has written some output, then stop.
        QByteArray progress;
        ASSERT_TRUE(test_support::pumpUntil(
            [&] {
                progress += process.readAllStandardError();
                std::error_code error;
                return progress.contains('%') &&
                       std::filesystem::file_size(output, error) > 200'000;
            },
            60'000));
        ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        ASSERT_TRUE(process.waitForFinished(60'000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), exitCode);
        const editing::DurationProbe probe = editing::probeDuration(output);
        ASSERT_TRUE(probe.succeeded());
        EXPECT_GT(probe.durationRefTime, 0);
        EXPECT_LT(probe.durationRefTime, 120 * editing::kRefTimePerSecond);
    }
}

}  // namespace
}  // namespace mixer
