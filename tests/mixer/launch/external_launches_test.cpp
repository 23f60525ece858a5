#include "mixer/launch/external_launches.h"
#include "mixer/launch/maker_pages.h"
#include "tests/support/temporary_folder.h"
#include "widgets/ports/desktop_launcher.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace mixer {
namespace {

using widgets::testing::RecordingLauncher;
using widgets::testing::ScriptedPrompt;

void writeFile(const std::filesystem::path& path, const std::string& content = "data") {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << content;
}

void writeProgram(const std::filesystem::path& path, const std::string& script) {
    writeFile(path, script);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

QString qt(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class Launches : public testing::Test {
  protected:
    ProgramLocations locationsIn(const std::filesystem::path& applicationFolder) {
        return {qt(applicationFolder), qt(folder.path() / "build" / "recorder"),
                qt(folder.path() / "source" / "resources" / "help")};
    }

    test_support::TemporaryFolder folder;
    RecordingLauncher launcher;
    ScriptedPrompt prompt;
};

TEST_F(Launches, RecorderIsStartedFromOrvindelsFolderWithoutArguments) {
    const auto bin = folder.path() / "bin";
    writeProgram(bin / "ambrevo", "#!/bin/sh\n");
    writeProgram(folder.path() / "build" / "recorder" / "ambrevo", "#!/bin/sh\n");
    ExternalLaunches launches(launcher, prompt, locationsIn(bin));

    EXPECT_TRUE(launches.startRecorder());
    ASSERT_EQ(launcher.programStarts().size(), 1);
    EXPECT_EQ(launcher.programStarts()[0].program, qt(bin / "ambrevo"));
    EXPECT_TRUE(launcher.programStarts()[0].arguments.isEmpty());
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(Launches, RecorderOfTheBuildTreeServesWhenNoneIsBesideOrvindel) {
    const auto built = folder.path() / "build" / "recorder" / "ambrevo";
    writeProgram(built, "#!/bin/sh\n");
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path() / "build" / "mixer"));
    launches.startRecorder();
    ASSERT_EQ(launcher.programStarts().size(), 1);
    EXPECT_EQ(launcher.programStarts()[0].program, qt(built));
}

TEST_F(Launches, MissingRecorderFailsWithoutAMessage) {
    const auto bin = folder.path() / "bin";
    ExternalLaunches launches(launcher, prompt, locationsIn(bin));
    launcher.queueResult(false);
    EXPECT_FALSE(launches.startRecorder());
    ASSERT_EQ(launcher.programStarts().size(), 1);
    EXPECT_EQ(launcher.programStarts()[0].program, qt(bin / "ambrevo"));
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(Launches, HelpOpensTheFirstIntroductionFoundInTheDesktopsBrowser) {
    const auto bin = folder.path() / "prefix" / "bin";
    const auto installed = folder.path() / "prefix" / "share" / "orvindel" / "help";
    const auto beside = bin / "help";
    const auto source = folder.path() / "source" / "resources" / "help";
    ExternalLaunches launches(launcher, prompt, locationsIn(bin));

    EXPECT_FALSE(launches.openHelp());  // nothing anywhere: nothing opened
    EXPECT_TRUE(launcher.openedAddresses().isEmpty());

    const struct {
        std::filesystem::path folder;
    } steps[] = {{source}, {beside}, {installed}};  // each later one takes precedence
    for (const auto& step : steps) {
        writeFile(step.folder / "Introduction.htm", "<html></html>");
        EXPECT_TRUE(launches.openHelp());
        ASSERT_FALSE(launcher.openedAddresses().isEmpty());
        EXPECT_EQ(launcher.openedAddresses().last(),
                  QUrl::fromLocalFile(qt(step.folder / "Introduction.htm")));
    }
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(Launches, HelpOfTheSourceTreeIsCompiledIntoTheProgram) {
    // The build tree's program finds the pages of the source tree it was built from.
    const std::optional<QString> page = findHelpPage(ProgramLocations::ofRunningProgram());
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(*page, QDir::cleanPath(QStringLiteral(ORVINDEL_SOURCE_DIR) +
                                     QStringLiteral("/resources/help/Introduction.htm")));
}

TEST_F(Launches, RecorderOfThisBuildTreeIsCompiledIntoTheProgram) {
    const ProgramLocations running = ProgramLocations::ofRunningProgram();
    EXPECT_EQ(QDir::cleanPath(running.buildTreeRecorderFolder),
              QDir::cleanPath(QStringLiteral(ORVINDEL_BINARY_DIR) + QStringLiteral("/recorder")));
}

TEST_F(Launches, FoldersAndPipesAreNotPlayed) {
    const auto pipe = folder.path() / "pipe.wav";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directories(folder.path() / "folder.avi");
    const std::vector<AudioEntry> audios{{pipe.string()}, {folder.file("folder.avi")}};
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));
    launches.playSelectedAudios(audios, {0});  // must not wait for a writer
    launches.playSelectedAudios(audios, {1});
    EXPECT_TRUE(launcher.openedAddresses().isEmpty());
    EXPECT_EQ(
        prompt.texts(),
        (QStringList{QString::fromStdString(pipe.string()) + " does not exist!",
                     QString::fromStdString(folder.file("folder.avi")) + " does not exist!"}));
}

TEST_F(Launches, SelectedFilesArePlayedInAscendingOrderOncePerRow) {
    std::vector<AudioEntry> audios;
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
        writeFile(folder.path() / name);
        audios.push_back({folder.file(name)});
    }
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));
    launches.playSelectedAudios(audios, {2, 0, 2, 7});
    ASSERT_EQ(launcher.openedAddresses().size(), 2);
    EXPECT_EQ(launcher.openedAddresses()[0].toLocalFile(),
              QString::fromStdString(folder.file("a.wav")));
    EXPECT_EQ(launcher.openedAddresses()[1].toLocalFile(),
              QString::fromStdString(folder.file("c.wav")));
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(Launches, MissingFileStopsTheVisitWithOneMessage) {
    writeFile(folder.path() / "first.avi");
    writeFile(folder.path() / "third.avi");
    const std::vector<VideoEntry> videos{
        {folder.file("first.avi")}, {folder.file("gone.avi")}, {folder.file("third.avi")}};
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));

    launches.playSelectedVideos(videos, {0, 1, 2});
    ASSERT_EQ(launcher.openedAddresses().size(), 1);  // the row before the missing one
    EXPECT_EQ(launcher.openedAddresses()[0].toLocalFile(),
              QString::fromStdString(folder.file("first.avi")));
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests()[0].text,
              QString::fromStdString(folder.file("gone.avi")) + QStringLiteral(" does not exist!"));
    EXPECT_EQ(prompt.requests()[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(prompt.requests()[0].owner, nullptr);

    prompt.clear();
    launches.playSelectedVideos(videos, {1, 2});  // the first selected is missing: nothing starts
    EXPECT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_EQ(prompt.requests().size(), 1);
}

TEST_F(Launches, EmptyListsAndMissingSelectionsSayWhatToDo) {
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));
    launches.playSelectedVideos({}, {});
    launches.playSelectedAudios({}, {0});
    EXPECT_TRUE(prompt.requests().isEmpty());

    const std::vector<VideoEntry> videos{{folder.file("a.avi")}};
    const std::vector<AudioEntry> audios{{folder.file("a.wav")}};
    launches.playSelectedVideos(videos, {});
    launches.playSelectedAudios(audios, {});
    EXPECT_EQ(prompt.texts(), (QStringList{QStringLiteral("Please select items!"),
                                           QStringLiteral("Please click an item to preview!")}));
    for (const auto& request : prompt.requests()) {
        EXPECT_TRUE(request.caption.isEmpty());
    }
    EXPECT_TRUE(launcher.openedAddresses().isEmpty());
}

TEST_F(Launches, NamesWithBlanksQuotesAndSemicolonsReachThePlayerWhole) {
    const std::string awkward = "clip \"one\"; rm -rf ~ 'two' $(x).avi";
    writeFile(folder.path() / awkward);
    const std::vector<VideoEntry> videos{{folder.file(awkward)}};
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));
    launches.playSelectedVideos(videos, {0});
    ASSERT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_TRUE(launcher.openedAddresses()[0].isLocalFile());
    EXPECT_EQ(launcher.openedAddresses()[0].toLocalFile(),
              QString::fromStdString(folder.file(awkward)));
}

TEST_F(Launches, TheRealLauncherPassesEachArgumentWholeWithoutAShell) {
    // A stand-in program records how many arguments it got and the first one.
    const auto record = folder.path() / "arguments.txt";
    const auto program = folder.path() / "bin dir" / "stand-in";
    writeProgram(program, "#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > '" + record.string() +
                              ".part'\nmv '" + record.string() + ".part' '" + record.string() +
                              "'\n");
    const QString awkward =
        QStringLiteral("my clip \"one\"; touch '%1/hacked' $(id).avi").arg(qt(folder.path()));
    widgets::DesktopLauncher desktop;
    ASSERT_TRUE(desktop.startProgram(qt(program), {awkward}));

    QDeadlineTimer deadline(10000);
    while (!std::filesystem::exists(record) && !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    QFile recorded(qt(record));
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(recorded.readAll()), QStringLiteral("1\n") + awkward);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "hacked"));
}

TEST_F(Launches, HomePageIsTheMakersAddress) {
    ExternalLaunches launches(launcher, prompt, locationsIn(folder.path()));
    EXPECT_TRUE(launches.openHomePage());
    ASSERT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_EQ(launcher.openedAddresses()[0], QUrl(QString::fromUtf8(kMakerHomePageAddress)));
    EXPECT_EQ(launcher.openedAddresses()[0].scheme(), QStringLiteral("https"));
}

}  // namespace
}  // namespace mixer
