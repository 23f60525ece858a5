#include "mixer/project/project_file.h"
#include "mixer/project/atomic_file_save.h"
#include "tests/support/small_disk.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <QFile>

#include <sys/mount.h>
#include <fstream>

namespace mixer {
namespace {

ProjectReadContext contextIn(const QString& folder) {
    ProjectReadContext context;
    context.projectFolder = folder;
    context.randomNumbers = [] { return 0; };
    return context;
}

ProjectContents sampleContents(const std::string& folder) {
    ProjectContents contents;
    contents.videos.push_back({folder + "/clips/a.mp4", 0, 3, 15'000'000, 0, 0});
    contents.videos.push_back({"/elsewhere/b.mkv", 0, 36, 0, 10'000'000, 42'500'000});
    contents.audios.push_back({folder + "/song.wav", 0, 25'000'000, 0.5, 1.25, 1, 0, 0});
    contents.output.OutputName = folder + "/out/mix.mp4";
    contents.output.OutputWidth = 640;
    contents.output.OutputHigh = 360;
    contents.output.OutputFrameRate = 25.0;
    contents.output.OutputFrameRateIndex = 2;
    contents.output.ResizeMode = 0;
    contents.output.UseAudioCompressor = false;
    contents.compressorNames.video = QStringLiteral("H.264 / AVC (x264)");
    return contents;
}

void expectSameProject(const ProjectContents& read, const ProjectContents& written) {
    ASSERT_EQ(read.videos.size(), written.videos.size());
    for (std::size_t i = 0; i < read.videos.size(); ++i) {
        EXPECT_EQ(read.videos[i].FileName, written.videos[i].FileName);
        EXPECT_EQ(read.videos[i].TransitionEffect, written.videos[i].TransitionEffect);
        EXPECT_EQ(read.videos[i].TransitionDuration, written.videos[i].TransitionDuration);
        EXPECT_EQ(read.videos[i].InPoint, written.videos[i].InPoint);
        EXPECT_EQ(read.videos[i].OutPoint, written.videos[i].OutPoint);
    }
    ASSERT_EQ(read.audios.size(), written.audios.size());
    for (std::size_t i = 0; i < read.audios.size(); ++i) {
        EXPECT_EQ(read.audios[i].FileName, written.audios[i].FileName);
        EXPECT_EQ(read.audios[i].StartTime, written.audios[i].StartTime);
        EXPECT_DOUBLE_EQ(read.audios[i].Volume, written.audios[i].Volume);
        EXPECT_DOUBLE_EQ(read.audios[i].Speed, written.audios[i].Speed);
        EXPECT_EQ(read.audios[i].Repeat, written.audios[i].Repeat);
    }
    EXPECT_EQ(read.output.OutputName, written.output.OutputName);
    EXPECT_EQ(read.output.OutputWidth, written.output.OutputWidth);
    EXPECT_EQ(read.output.OutputHigh, written.output.OutputHigh);
    EXPECT_DOUBLE_EQ(read.output.OutputFrameRate, written.output.OutputFrameRate);
    EXPECT_EQ(read.output.OutputFrameRateIndex, written.output.OutputFrameRateIndex);
    EXPECT_EQ(read.output.ResizeMode, written.output.ResizeMode);
    EXPECT_EQ(read.output.UseVideoCompressor, written.output.UseVideoCompressor);
    EXPECT_EQ(read.output.UseAudioCompressor, written.output.UseAudioCompressor);
    EXPECT_EQ(read.compressorNames, written.compressorNames);
}

TEST(ProjectFileTest, PathsUnderTheProjectFolderMoveWithItOthersStayAbsolute) {
    const ProjectContents written = sampleContents("/home/ann/holiday");
    const QByteArray text = projectFileText(written, QStringLiteral("/home/ann/holiday"));
    EXPECT_TRUE(text.contains("\"clips/a.mp4\""));
    EXPECT_TRUE(text.contains("\"/elsewhere/b.mkv\""));
    EXPECT_TRUE(text.contains("\"transition\": \"Fade\""));

    // The folder moved as a whole: the project's own media are found in the new place.
    const ProjectReadResult moved = readProjectText(text, contextIn("/media/usb/holiday"));
    ASSERT_TRUE(moved.contents) << moved.problem.toStdString();
    expectSameProject(*moved.contents, sampleContents("/media/usb/holiday"));
}

TEST(ProjectFileTest, HandWrittenMinimalFileTakesTheDefaults) {
    const QByteArray text = R"({"format": "orvindel-project", "version": 1,
        "videos": [{"file": "a.mp4"}, {"file": "/b.mp4", "transition": "Heart"}],
        "audios": [{"file": "../music/s.flac", "comment": "unknown keys are ignored"}]})";
    ProjectReadContext context = contextIn("/p/q");
    context.transitionDefaults = {4, 2, 13, false};  // "same" effect 13, 4 seconds
    context.currentOutput.OutputName = "/kept/out.avi";
    const ProjectReadResult read = readProjectText(text, context);
    ASSERT_TRUE(read.contents) << read.problem.toStdString();
    ASSERT_EQ(read.contents->videos.size(), 2u);
    EXPECT_EQ(read.contents->videos[0].FileName, "/p/q/a.mp4");
    EXPECT_EQ(read.contents->videos[0].TransitionEffect, 13);
    EXPECT_EQ(read.contents->videos[0].TransitionDuration, 40'000'000);
    EXPECT_EQ(read.contents->videos[1].TransitionEffect, 41);
    ASSERT_EQ(read.contents->audios.size(), 1u);
    EXPECT_EQ(read.contents->audios[0].FileName, "/p/music/s.flac");
    EXPECT_DOUBLE_EQ(read.contents->audios[0].Volume, 1.0);
    EXPECT_DOUBLE_EQ(read.contents->audios[0].Speed, 1.0);
    EXPECT_EQ(read.contents->audios[0].Repeat, 0);
    EXPECT_EQ(read.contents->output.OutputName, "/kept/out.avi");
}

TEST(ProjectFileTest, RefusalsNameTheProblem) {
    const struct {
        const char* text;
        const char* problemPart;
    } cases[] = {
        {R"({"format": "orvindel-project", "version": 2})", "version 2"},
        {R"({"format": "orvindel-project", "version": 1, "videos": [)", "not valid JSON"},
        {R"([1, 2])", "not a JSON object"},
        {R"({"format": "other", "version": 1})", "not an Orvindel project"},
        {R"({"format": "orvindel-project", "version": "1"})", "\"version\""},
        {R"({"format": "orvindel-project", "version": 1, "videos": {}})", "\"videos\""},
        {R"({"format": "orvindel-project", "version": 1, "videos": [{"file": 3}]})",
         "\"file\" of video 1"},
        {R"({"format": "orvindel-project", "version": 1,
             "audios": [{"file": "a", "volume": "loud"}]})",
         "\"volume\" of audio 1"},
        {R"({"format": "orvindel-project", "version": 1,
             "videos": [{"file": "a", "transition": "Twirl"}]})",
         "\"Twirl\""},
        {R"({"format": "orvindel-project", "version": 1, "output": {"width": 0}})", "\"width\""},
        {R"({"format": "orvindel-project", "version": 1,
             "videos": [{"file": "a"}, {"file": "b", "in": 3, "out": 2.5}]})",
         "\"out\" of video 2 is not after its \"in\""},
        {R"({"format": "orvindel-project", "version": 1, "audios": [{"file": "a", "in": 2, "out": 2}]})",
         "\"out\" of audio 1"},
    };
    for (const auto& refused : cases) {
        const ProjectReadResult read = readProjectText(refused.text, contextIn("/p"));
        EXPECT_FALSE(read.contents) << refused.text;
        EXPECT_TRUE(read.problem.contains(QString::fromUtf8(refused.problemPart)))
            << refused.text << " -> " << read.problem.toStdString();
    }
}

TEST(ProjectFileTest, CompressorNamesDecideTheUseFlagsOldFilesKeepTheirBooleans) {
    // "Lossless" is a compressor of the output's list, "Raw" its uncompressed entry.
    const CompressorNameCheck check = [](CompressorStream, const std::string&,
                                         const QString& name) {
        return name == "Lossless" ? CompressorNameMeaning::Compressor
               : name == "Raw"    ? CompressorNameMeaning::Uncompressed
                                  : CompressorNameMeaning::Unknown;
    };
    const struct {
        const char* output;
        bool currentUse;
        bool use;
        const char* name;
    } cases[] = {
        {R"({})", true, true, ""},
        {R"({"videoCompression": false})", true, false, ""},
        {R"({"videoCompression": true})", false, true, ""},
        {R"({"videoCompressor": "Lossless"})", false, true, "Lossless"},
        {R"({"videoCompressor": "Raw"})", true, false, "Raw"},
        {R"({"videoCompressor": "Lossless", "videoCompression": false})", true, false, "Lossless"},
        {R"({"videoCompressor": "Raw", "videoCompression": true})", true, false, "Raw"},
    };
    for (const auto& row : cases) {
        ProjectReadContext context = contextIn("/p");
        context.currentOutput.UseVideoCompressor = row.currentUse;
        context.compressorNames = check;
        const QByteArray text =
            QByteArray(R"({"format": "orvindel-project", "version": 1, "output": )") + row.output +
            "}";
        const ProjectReadResult read = readProjectText(text, context);
        ASSERT_TRUE(read.contents) << row.output << read.problem.toStdString();
        EXPECT_EQ(read.contents->output.UseVideoCompressor, row.use) << row.output;
        EXPECT_EQ(read.contents->compressorNames.video, QString::fromUtf8(row.name));
        EXPECT_TRUE(read.contents->compressorNames.audio.isEmpty());
    }
    ProjectReadContext context = contextIn("/p");
    context.compressorNames = check;
    const ProjectReadResult refused = readProjectText(
        R"({"format": "orvindel-project", "version": 1, "output": {"audioCompressor": "Cinepak"}})",
        context);
    EXPECT_FALSE(refused.contents);
    EXPECT_TRUE(refused.problem.contains("\"Cinepak\" is not one of the audio compressors"))
        << refused.problem.toStdString();
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProjectFileTest, SaveReplacesTheFileWhole) {
    const test_support::TemporaryFolder folder;
    const QString path = QString::fromStdString(folder.file("p.orvindel"));
    ASSERT_TRUE(saveFileWhole(path, "old").saved);
    ASSERT_TRUE(saveFileWhole(path, "new contents").saved);
    EXPECT_EQ(fileText(path.toStdString()), "new contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProjectFileTest, FailedSaveLeavesTheOldFileWhole) {
    test_support::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.error();
    }
    const QString path = QString::fromStdString(disk.file("p.orvindel"));
    ASSERT_TRUE(saveFileWhole(path, "old project").saved);

    // Full disk: a filler takes what is left, and the bigger new project does not fit.
    {
        std::ofstream filler(disk.file("filler"), std::ios::binary);
        const std::string block(4096, 'x');
        for (int i = 0; i < 64 && filler; ++i) {
            filler << block;
        }
    }
    const FileSaveResult full = saveFileWhole(path, QByteArray(32 * 1024, 'n'));
    EXPECT_FALSE(full.saved);
    EXPECT_FALSE(full.problem.isEmpty());
    EXPECT_EQ(fileText(path.toStdString()), "old project");

    // Read-only folder.
    std::filesystem::remove(disk.file("filler"));
    ASSERT_EQ(::mount(nullptr, disk.file("").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const FileSaveResult readOnly = saveFileWhole(path, "new");
    EXPECT_FALSE(readOnly.saved);
    EXPECT_TRUE(readOnly.problem.contains(QStringLiteral("Read-only")))
        << readOnly.problem.toStdString();
    EXPECT_EQ(fileText(path.toStdString()), "old project");
}

}  // namespace
}  // namespace mixer
