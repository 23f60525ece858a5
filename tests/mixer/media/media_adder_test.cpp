#include "mixer/media/media_adder.h"
#include "mixer/media/media_folder.h"
#include "mixer/project/profile_loading.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;

std::string text(const QString& value) {
    return value.toStdString();
}

class MediaAdderTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test_support::TemporaryFolder>();
        std::filesystem::create_directories(folder_->path() / "other folder");
        test_support::ClipRecipe clip;
        clip.seconds = 1.0;
        clip.width = 64;
        clip.height = 48;
        clip.toneHz = 440.0;
        ASSERT_TRUE(test_support::makeClip(file("clip.avi"), clip));
        clip.seconds = 2.0;
        ASSERT_TRUE(test_support::makeClip(file("second.avi"), clip));
        ASSERT_TRUE(test_support::makeTone(file("tone.wav"), 440.0, 1.5));
        clip.toneHz = 0.0;
        ASSERT_TRUE(test_support::makeClip(file("silent.avi"), clip));
        ASSERT_TRUE(test_support::makeTone(file("other folder/low.wav"), 220.0, 0.5));
        ASSERT_TRUE(
            test_support::runFfmpeg("-f lavfi -i color=c=red:s=64x48:d=1 -c:v mpeg4 -f m4v " +
                                    test_support::shellQuote(file("bare.m4v"))));
        std::mt19937 generator(11);
        std::ofstream corrupt(file("corrupt.avi"), std::ios::binary);
        for (int index = 0; index < 32 * 1024; ++index) {
            corrupt.put(static_cast<char>(generator() & 0xFF));
        }
        std::ofstream(file("notes.avi")) << "Shot list:\n1. the harbour\n2. the bridge\n";
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string file(const std::string& name) { return folder_->file(name); }
    static QString path(const std::string& name) { return QString::fromStdString(file(name)); }
    static QString folderPath() { return QString::fromStdString(folder_->path().string()) + "/"; }

    void SetUp() override {
        // Every test starts from an empty profile of its own.
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        settings_ =
            std::make_unique<SettingsStore>("KorvaneTest", QString("orvindel-") + info->name());
        adder_ = std::make_unique<MediaAdder>(lists_, picker_, prompt_, *settings_);
    }

    QString lastPhotoFolder() const { return settings_->read(settings::kLastPhotoFolder); }
    QString lastAudioFolder() const { return settings_->read(settings::kLastAudioFolder); }

    static std::unique_ptr<test_support::TemporaryFolder> folder_;
    MixJob job_;
    MediaLists lists_{job_, [] { return 0; }};
    widgets::testing::ScriptedFilePicker picker_;
    widgets::testing::ScriptedPrompt prompt_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<MediaAdder> adder_;
};

std::unique_ptr<test_support::TemporaryFolder> MediaAdderTest::folder_;

TEST_F(MediaAdderTest, VideoDialogAsksForSeveralFilesStartingInTheRememberedFolder) {
    settings_->write(settings::kLastPhotoFolder, "/home/ann/clips/");
    picker_.queueOpenCancel();
    EXPECT_EQ(adder_->addVideo(), 0);
    ASSERT_EQ(picker_.openRequests().size(), 1);
    const base::OpenFileRequest& request = picker_.openRequests()[0];
    EXPECT_EQ(text(request.title), "Select Media Files...");
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(
        text(request.filters[0].shownName),
        "Video Files (*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.vob;*.dat;*.mp4;*.divx;*.div;*.ogm;*.qt;"
        "*.mov;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp)");
    EXPECT_EQ(text(request.filters[0].patterns),
              "*.avi;*.wmv;*.asf;*.vob; *.qt; *.mov; *.mpg; *.mpeg; *.dat; *.mp4; *.divx; *.div; "
              "*.ogm;*.rm;*.rmvb;*.m4v;*.mkv;*.webm;*.mts;*.m2ts;*.3gp");
    EXPECT_EQ(text(request.filters[1].shownName), "Any Files (*.*)");
    EXPECT_EQ(text(request.filters[1].patterns), "*.*;");
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(text(request.initialFolder), "/home/ann/clips/");
    EXPECT_EQ(request.selection, base::FileSelection::Several);
    // Cancelled: nothing changes, nothing is said.
    EXPECT_TRUE(job_.videos.empty());
    EXPECT_TRUE(job_.audios.empty());
    EXPECT_TRUE(prompt_.requests().isEmpty());
}

TEST_F(MediaAdderTest, AudioDialogAsksForSeveralFilesStartingInTheRememberedFolder) {
    picker_.queueOpenCancel();
    EXPECT_EQ(adder_->addAudio(), 0);
    settings_->write(settings::kLastAudioFolder, "/home/ann/music/");
    picker_.queueOpenCancel();
    EXPECT_EQ(adder_->addAudio(), 0);
    ASSERT_EQ(picker_.openRequests().size(), 2);
    EXPECT_TRUE(picker_.openRequests()[0].initialFolder.isEmpty()) << "nothing remembered yet";
    const base::OpenFileRequest& request = picker_.openRequests()[1];
    EXPECT_EQ(text(request.title), "Select Media Files...");
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(text(request.filters[0].shownName),
              "Audio files (*.mp3;*.wma;*.wav;*.ac3;*.ogg;*.mpa;*.mp2;*.au;*.aif;*.aiff;*.snd;*.ra;"
              "*.flac;*.opus;*.m4a;*.aac)");
    EXPECT_EQ(text(request.filters[0].patterns),
              "*.mp3; *.wma; *.wav; *.ac3; *.ogg; *.mpa; *.mp2; *.au; *.aif; *.aiff; *.snd; *.ra;"
              "*.flac;*.opus;*.m4a;*.aac");
    EXPECT_EQ(text(request.filters[1].patterns), "*.*;");
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(text(request.initialFolder), "/home/ann/music/");
    EXPECT_EQ(request.selection, base::FileSelection::Several);
    EXPECT_TRUE(job_.audios.empty());
    EXPECT_TRUE(prompt_.requests().isEmpty());
}

TEST(MediaAdderDialog, CameraAndPhoneFilesAreListedAndAddedThroughTheRealDialog) {
    // A card as cameras and phones leave it: upper-case extensions and today's containers,
    // beside files that are no video.
    test_support::TemporaryFolder card;
    test_support::ClipRecipe clip;
    clip.seconds = 1.0;
    clip.width = 64;
    clip.height = 48;
    ASSERT_TRUE(test_support::makeClip(card.file("MVI_0001.MP4"), clip));
    for (const char* name : {"IMG_0001.MOV", "trip.mkv", "call.webm", "00001.MTS", "old.3gp",
                             "scan.m4v", "notes.txt", "README"}) {
        std::ofstream(card.file(name)) << "x";
    }
    MixJob job;
    MediaLists lists{job, [] { return 0; }};
    widgets::QtFilePicker picker;
    widgets::testing::ScriptedPrompt prompt;
    SettingsStore settings("KorvaneTest", "orvindel-camera-files");
    settings.write(settings::kLastPhotoFolder, QString::fromStdString(card.path().string()) + "/");
    MediaAdder adder(lists, picker, prompt, settings);

    QStringList listed;
    int added = 0;
    const int steps = test_support::runWithModalScript(
        [&] { added = adder.addVideo(); },
        {{test_support::fileDialogListing(QStringLiteral("MVI_0001.MP4")), [&](QWidget& modal) {
              listed = test_support::fileDialogNames(static_cast<QFileDialog&>(modal));
              test_support::typeNameAndPressEnter(modal, QStringLiteral("MVI_0001.MP4"));
          }}});
    EXPECT_EQ(steps, 1);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"00001.MTS", "IMG_0001.MOV", "MVI_0001.MP4", "call.webm",
                                   "old.3gp", "scan.m4v", "trip.mkv"}));
    ASSERT_EQ(added, 1) << prompt.texts().join(" | ").toStdString();
    ASSERT_EQ(job.videos.size(), 1u);
    EXPECT_EQ(job.videos[0].FileName, card.file("MVI_0001.MP4"));
    EXPECT_NEAR(static_cast<double>(job.videos[0].Duration), static_cast<double>(kSecond),
                0.1 * static_cast<double>(kSecond));
}

TEST_F(MediaAdderTest, AddedVideosBringTheirSoundAndTheirFolderIsRemembered) {
    picker_.queueOpenAnswer({path("clip.avi")});
    picker_.queueOpenAnswer({path("second.avi")});
    EXPECT_EQ(adder_->addVideo(), 1);
    EXPECT_EQ(adder_->addVideo(), 1);
    EXPECT_TRUE(prompt_.requests().isEmpty()) << text(prompt_.texts().join(" | "));

    ASSERT_EQ(job_.videos.size(), 2u);
    EXPECT_EQ(job_.videos[0].FileName, file("clip.avi"));
    EXPECT_NEAR(static_cast<double>(job_.videos[0].Duration), 1.0 * kSecond, 0.1 * kSecond);
    EXPECT_NEAR(static_cast<double>(job_.videos[1].Duration), 2.0 * kSecond, 0.1 * kSecond);
    ASSERT_EQ(job_.audios.size(), 2u);
    EXPECT_EQ(job_.audios[0].FileName, file("clip.avi"));
    EXPECT_EQ(job_.audios[0].Duration, job_.videos[0].Duration);
    EXPECT_EQ(job_.audios[0].StartTime, 0);
    EXPECT_EQ(job_.audios[1].StartTime, job_.videos[0].Duration);
    EXPECT_EQ(text(lastPhotoFolder()), text(folderPath()));
    EXPECT_TRUE(lastAudioFolder().isEmpty()) << "adding video leaves the sound folder alone";
}

TEST_F(MediaAdderTest, AVideoThatCannotBeOpenedIsToldOnceAndNothingIsAdded) {
    for (const char* name : {"corrupt.avi", "notes.avi", "missing.avi"}) {
        SCOPED_TRACE(name);
        settings_->write(settings::kLastPhotoFolder, "/previous/");
        prompt_.clear();
        picker_.queueOpenAnswer({path(name)});
        EXPECT_EQ(adder_->addVideo(), 0);
        ASSERT_EQ(prompt_.requests().size(), 1);
        EXPECT_EQ(text(prompt_.requests()[0].text),
                  "Cannot open " + file(name) +
                      ". You need to install appropriate decoders.\nOr the file is corrupt.");
        EXPECT_EQ(text(prompt_.requests()[0].caption), "Error");
        EXPECT_TRUE(job_.videos.empty());
        EXPECT_TRUE(job_.audios.empty());
        EXPECT_EQ(text(lastPhotoFolder()), "/previous/");
    }
}

TEST_F(MediaAdderTest, SeveralVideosChosenAtOnceAreAddedInOrderAndFailuresNamedInOneBox) {
    picker_.queueOpenAnswer({path("second.avi"), path("corrupt.avi"), path("clip.avi")});
    EXPECT_EQ(adder_->addVideo(), 2);
    ASSERT_EQ(prompt_.requests().size(), 1);
    EXPECT_EQ(text(prompt_.requests()[0].text),
              "These files were not added:\n" + file("corrupt.avi") + " (Cannot open " +
                  file("corrupt.avi") +
                  ". You need to install appropriate decoders.\nOr the file is corrupt.)");
    ASSERT_EQ(job_.videos.size(), 2u);
    EXPECT_EQ(job_.videos[0].FileName, file("second.avi"));
    EXPECT_EQ(job_.videos[1].FileName, file("clip.avi"));
    ASSERT_EQ(job_.audios.size(), 2u);
    EXPECT_EQ(job_.audios[0].StartTime, 0);
    EXPECT_EQ(job_.audios[1].FileName, file("clip.avi"));
    EXPECT_EQ(job_.audios[1].StartTime, job_.videos[0].Duration);
    EXPECT_EQ(text(lastPhotoFolder()), text(folderPath()));
}

TEST_F(MediaAdderTest, AFileForTheOtherListIsAddedOnlyWhenTheUserSaysYes) {
    struct Case {
        const char* name;
        int (MediaAdder::*add)();
        base::PromptAnswer answer;
        const char* questionStart;
        std::size_t videos;
        std::size_t audios;
    };
    const Case cases[] = {
        {"tone.wav", &MediaAdder::addVideo, base::PromptAnswer::No, " holds sound only", 0, 0},
        {"tone.wav", &MediaAdder::addVideo, base::PromptAnswer::Yes, " holds sound only", 1, 1},
        {"silent.avi", &MediaAdder::addAudio, base::PromptAnswer::No, " holds no sound", 0, 0},
        {"silent.avi", &MediaAdder::addAudio, base::PromptAnswer::Yes, " holds no sound", 0, 1},
    };
    for (const Case& added : cases) {
        SCOPED_TRACE(std::string(added.name) +
                     (added.answer == base::PromptAnswer::Yes ? " kept" : " refused"));
        lists_.deleteAll();
        prompt_.clear();
        picker_.queueOpenAnswer({path(added.name)});
        prompt_.queueAnswer(added.answer);
        EXPECT_EQ(((*adder_).*added.add)(), added.add == &MediaAdder::addVideo
                                                ? static_cast<int>(added.videos)
                                                : static_cast<int>(added.audios));
        ASSERT_EQ(prompt_.requests().size(), 1);
        EXPECT_EQ(prompt_.requests()[0].buttons, base::PromptButtons::YesNo);
        EXPECT_TRUE(
            text(prompt_.requests()[0].text).starts_with(file(added.name) + added.questionStart));
        EXPECT_EQ(job_.videos.size(), added.videos);
        EXPECT_EQ(job_.audios.size(), added.audios);
    }
    // A clip with picture and sound asks nothing.
    lists_.deleteAll();
    prompt_.clear();
    picker_.queueOpenAnswer({path("clip.avi")});
    EXPECT_EQ(adder_->addAudio(), 1);
    EXPECT_TRUE(prompt_.requests().isEmpty());
}

TEST_F(MediaAdderTest, AVideoWhoseLengthIsUnknownIsToldOnce) {
    picker_.queueOpenAnswer({path("bare.m4v")});
    EXPECT_EQ(adder_->addVideo(), 0);
    EXPECT_EQ(prompt_.texts(), QStringList{"Can not get the duration of the clip!"});
    EXPECT_TRUE(job_.videos.empty());
    EXPECT_TRUE(lastPhotoFolder().isEmpty());
}

TEST_F(MediaAdderTest, SeveralSoundsFromOneFolderAreAddedInOrder) {
    picker_.queueOpenAnswer({path("tone.wav"), path("clip.avi")});
    EXPECT_EQ(adder_->addAudio(), 2);
    EXPECT_TRUE(prompt_.requests().isEmpty()) << text(prompt_.texts().join(" | "));
    ASSERT_EQ(job_.audios.size(), 2u);
    EXPECT_EQ(job_.audios[0].FileName, file("tone.wav"));
    EXPECT_EQ(job_.audios[0].Duration, 15 * kSecond / 10) << "a WAV's length is exact";
    EXPECT_EQ(job_.audios[1].FileName, file("clip.avi"));
    for (const AudioEntry& entry : job_.audios) {
        EXPECT_EQ(entry.StartTime, 0);
        EXPECT_EQ(entry.Volume, 1.0);
        EXPECT_EQ(entry.Speed, 1.0);
        EXPECT_EQ(entry.Repeat, 0);
    }
    EXPECT_TRUE(job_.videos.empty());
    EXPECT_EQ(text(lastAudioFolder()), text(folderPath()));
}

TEST_F(MediaAdderTest, OneSoundRemembersItsFolderJustLikeSeveral) {
    picker_.queueOpenAnswer({path("other folder/low.wav")});
    EXPECT_EQ(adder_->addAudio(), 1);
    ASSERT_EQ(job_.audios.size(), 1u);
    EXPECT_EQ(job_.audios[0].Duration, 5 * kSecond / 10);
    EXPECT_EQ(text(lastAudioFolder()), text(folderPath()) + "other folder/");
    EXPECT_TRUE(lastPhotoFolder().isEmpty());
}

TEST_F(MediaAdderTest, SoundsWhoseLengthCannotBeLearnedAreLeftOutAndNamedInOneMessage) {
    picker_.queueOpenAnswer(
        {path("corrupt.avi"), path("tone.wav"), path("notes.avi"), path("bare.m4v")});
    EXPECT_EQ(adder_->addAudio(), 1);
    ASSERT_EQ(job_.audios.size(), 1u);
    EXPECT_EQ(job_.audios[0].FileName, file("tone.wav"));
    EXPECT_GT(job_.audios[0].Duration, 0);
    ASSERT_EQ(prompt_.requests().size(), 1);
    const std::string message = text(prompt_.requests()[0].text);
    for (const char* name : {"corrupt.avi", "notes.avi", "bare.m4v"}) {
        EXPECT_NE(message.find(file(name)), std::string::npos) << name << " in: " << message;
    }
    EXPECT_EQ(message.find(file("tone.wav")), std::string::npos);
    EXPECT_LT(message.find(file("corrupt.avi")), message.find(file("notes.avi")));
    EXPECT_EQ(text(prompt_.requests()[0].caption), "Warning");
    EXPECT_EQ(text(lastAudioFolder()), text(folderPath()));
}

TEST_F(MediaAdderTest, WhenNoSoundCanBeAddedNothingIsRemembered) {
    settings_->write(settings::kLastAudioFolder, "/previous/");
    picker_.queueOpenAnswer({path("corrupt.avi")});
    EXPECT_EQ(adder_->addAudio(), 0);
    EXPECT_TRUE(job_.audios.empty());
    EXPECT_EQ(prompt_.requests().size(), 1);
    EXPECT_EQ(text(lastAudioFolder()), "/previous/");
}

TEST_F(MediaAdderTest, APathLongerThanTheSystemAllowsIsRefusedNeverCut) {
    const QString tooLong = "/" + QString(kMaxPathBytes, QLatin1Char('a')) + ".wav";
    picker_.queueOpenAnswer({tooLong});
    EXPECT_EQ(adder_->addVideo(), 0);
    ASSERT_EQ(prompt_.requests().size(), 1);
    EXPECT_NE(text(prompt_.requests()[0].text).find("longer than the system allows"),
              std::string::npos);
    EXPECT_TRUE(job_.videos.empty());

    prompt_.clear();
    picker_.queueOpenAnswer({tooLong, path("tone.wav")});
    EXPECT_EQ(adder_->addAudio(), 1);
    ASSERT_EQ(job_.audios.size(), 1u);
    EXPECT_EQ(job_.audios[0].FileName, file("tone.wav"));
    ASSERT_EQ(prompt_.requests().size(), 1);
    EXPECT_NE(text(prompt_.requests()[0].text).find("longer than the system allows"),
              std::string::npos);

    // Multi-byte characters count in bytes: 2,000 two-byte letters do not fit.
    EXPECT_FALSE(pathFitsTheSystem("/" + QString(2048, QChar(0x00E9))));
    EXPECT_TRUE(pathFitsTheSystem("/" + QString(kMaxPathBytes - 2, QLatin1Char('a'))));
    EXPECT_FALSE(pathFitsTheSystem("/" + QString(kMaxPathBytes - 1, QLatin1Char('a'))));
}

TEST_F(MediaAdderTest, FullListsRefuseAddsAndNothingIsWrittenPastThem) {
    job_.audios.assign(kMaxListEntries - 1, AudioEntry{"/s/old.wav", kSecond, 0, 1.0, 1.0, 0});
    picker_.queueOpenAnswer({path("tone.wav"), path("other folder/low.wav"), path("clip.avi")});
    EXPECT_EQ(adder_->addAudio(), 1);
    EXPECT_EQ(job_.audios.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(job_.audios.back().FileName, file("tone.wav"));
    ASSERT_EQ(prompt_.requests().size(), 1);
    const std::string message = text(prompt_.requests()[0].text);
    EXPECT_NE(message.find(file("other folder/low.wav")), std::string::npos) << message;
    EXPECT_NE(message.find(file("clip.avi")), std::string::npos) << message;
    EXPECT_NE(message.find("1000"), std::string::npos) << message;
    EXPECT_EQ(text(lastAudioFolder()), text(folderPath()));

    // At the limit: refused before any dialog, and a video has no room for its sound either.
    prompt_.clear();
    const auto dialogsBefore = picker_.openRequests().size();
    EXPECT_EQ(adder_->addAudio(), 0);
    EXPECT_EQ(adder_->addVideo(), 0);
    EXPECT_EQ(picker_.openRequests().size(), dialogsBefore);
    EXPECT_EQ(prompt_.texts(), (QStringList{appendRefusalMessage(AppendOutcome::AudioListFull),
                                            appendRefusalMessage(AppendOutcome::AudioListFull)}));
    EXPECT_EQ(job_.audios.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_TRUE(job_.videos.empty());

    prompt_.clear();
    job_.audios.clear();
    job_.videos.assign(kMaxListEntries, VideoEntry{"/v/old.avi", kSecond, 0, 0});
    EXPECT_EQ(adder_->addVideo(), 0);
    EXPECT_EQ(prompt_.texts(), QStringList{appendRefusalMessage(AppendOutcome::VideoListFull)});
    EXPECT_EQ(job_.videos.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_TRUE(job_.audios.empty());
}

TEST(MediaFolderTest, TheFolderIsThePathCutAfterItsLastSlash) {
    struct Case {
        const char* path;
        const char* folder;
    };
    for (const Case& check :
         {Case{"/home/ann/clips/a.avi", "/home/ann/clips/"}, Case{"/a.mp3", "/"}, Case{"a.mp3", ""},
          Case{"", ""}, Case{"/music/", "/music/"}, Case{"/Musik/Grüße/Lied.mp3", "/Musik/Grüße/"},
          Case{"/x/with\\backslash.wav", "/x/"}}) {
        EXPECT_EQ(folderOfPath(QString::fromUtf8(check.path)).toStdString(), check.folder)
            << check.path;
    }
}

}  // namespace
}  // namespace mixer
