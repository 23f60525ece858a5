#include "tests/support/event_pump.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <QFile>
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

// A 320 x 240, 25 fps test picture with a 440 Hz tone, `seconds` long, as AVI.
bool makeSourceClip(const std::string& path, int seconds) {
    return test_support::runFfmpeg(
        "-y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 -t " +
        std::to_string(seconds) + " -c:v mpeg4 -c:a pcm_s16le " + test_support::shellQuote(path));
}

// A render killed part-way (a crash, a power cut, kill -9) leaves a file that every kind of
// player reads to its length and seeks in: FFmpeg's reader (and the players built on it) and
// GStreamer's.
TEST(KilledRenderTest, AKilledMixShowsItsLengthAndSeeksInEveryPlayer) {
    const test_support::TemporaryFolder folder;
    const std::string clip = folder.file("forty seconds.avi");
    ASSERT_TRUE(makeSourceClip(clip, 40));
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

// Matroska: how many level-1 elements of the segment carry a CRC-32 that matches their data
// (-1 when one does not).
int matchingMatroskaChecksums(const QByteArray& file) {
    const auto byteAt = [&](qsizetype at) { return static_cast<std::uint8_t>(file.at(at)); };
    // An element at `at`: its id and data size (variable-length integers), and its data's start.
    const auto element = [&](qsizetype at, std::uint32_t& id, qsizetype& size) {
        int idBytes = 1;
        while (idBytes < 4 && (byteAt(at) & (0x80 >> (idBytes - 1))) == 0) {
            ++idBytes;
        }
        id = 0;
        for (int index = 0; index < idBytes; ++index) {
            id = (id << 8) | byteAt(at + index);
        }
        at += idBytes;
        int sizeBytes = 1;
        while (sizeBytes < 8 && (byteAt(at) & (0x80 >> (sizeBytes - 1))) == 0) {
            ++sizeBytes;
        }
        std::uint64_t value = byteAt(at) & (0xFFU >> sizeBytes);
        for (int index = 1; index < sizeBytes; ++index) {
            value = (value << 8) | byteAt(at + index);
        }
        size = static_cast<qsizetype>(value);
        return at + sizeBytes;
    };
    const auto crc32 = [](const char* data, qsizetype length) {
        std::uint32_t crc = 0xFFFFFFFF;
        for (qsizetype index = 0; index < length; ++index) {
            crc ^= static_cast<std::uint8_t>(data[index]);
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
            }
        }
        return ~crc;
    };
    std::uint32_t id = 0;
    qsizetype size = 0;
    qsizetype at = element(0, id, size) + size;  // past the EBML header
    qsizetype end = 0;
    at = element(at, id, size);  // into the segment
    end = std::min(file.size(), at + size);
    int matching = 0;
    while (at + 8 < end) {
        const qsizetype data = element(at, id, size);
        qsizetype crcSize = 0;
        std::uint32_t childId = 0;
        const qsizetype crcData = element(data, childId, crcSize);
        if (childId == 0xBF && crcSize == 4 && data + size <= end) {
            std::uint32_t stored = 0;
            for (int index = 3; index >= 0; --index) {
                stored = (stored << 8) | byteAt(crcData + index);
            }
            if (stored != crc32(file.constData() + crcData + 4, data + size - crcData - 4)) {
                return -1;
            }
            ++matching;
        }
        at = data + size;
    }
    return matching;
}

// A finished mix's header is what the muxer alone writes: the room reserved for a killed
// render's index and length ends up as the muxer fills it (an AVI under 1 GiB keeps its
// placeholders and its idx1; every checksummed Matroska element still matches).
TEST(KilledRenderTest, AFinishedMixKeepsTheHeaderTheMuxerWrites) {
    const test_support::TemporaryFolder folder;
    const std::string clip = folder.file("ten seconds.avi");
    ASSERT_TRUE(makeSourceClip(clip, 10));
    for (const char* name : {"finished.avi", "finished.mkv"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(kProgram, {"--render", "-o", QString::fromStdString(path),
                                 QString::fromStdString(clip)});
        ASSERT_TRUE(process.waitForFinished(120'000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (std::string(name).ends_with(".avi")) {
            EXPECT_FALSE(bytes.left(64 * 1024).contains("indx"));
            EXPECT_TRUE(bytes.right(64 * 1024).contains("idx1"));
        } else {
            EXPECT_GE(matchingMatroskaChecksums(bytes), 3);
        }
        EXPECT_NEAR(probedSeconds(path), 10.0, 0.1);
        EXPECT_NEAR(discover(path).seconds, 10.0, 0.1);
    }
}

}  // namespace
}  // namespace mixer
