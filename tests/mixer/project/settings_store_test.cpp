#include "mixer/project/settings_store.h"
#include "mixer/project/profile_loading.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QSettings>

namespace mixer {
namespace {

// Every test starts from an empty profile in the test's private configuration folder.
class SettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override { QSettings("Korvane", "orvindel").clear(); }
    void TearDown() override { QSettings("Korvane", "orvindel").clear(); }

    SettingsStore store;
};

TEST_F(SettingsStoreTest, EmptyProfileGivesEveryDefaultAndIsNotPrefilled) {
    OutputSettings output;
    loadOutputNameAndSize(store, output);
    loadFrameRate(store, output);
    const TransitionDefaults transitions = loadTransitionDefaults(store);
    const StoredCompressorChoices compressors = loadCompressorChoices(store);

    EXPECT_EQ(output.OutputName, (QDir::homePath() + "/video_new.avi").toStdString());
    EXPECT_TRUE(QDir::isAbsolutePath(QString::fromStdString(output.OutputName)));
    EXPECT_EQ(output.OutputWidth, 352);
    EXPECT_EQ(output.OutputHigh, 240);
    EXPECT_EQ(output.OutputFrameRateIndex, 0);
    EXPECT_DOUBLE_EQ(output.OutputFrameRate, 23.976);
    EXPECT_EQ(transitions.TransitionDuration, 0);
    EXPECT_EQ(transitions.TransitionType, 0);  // random
    EXPECT_EQ(transitions.TransitionName, 0);
    EXPECT_EQ(compressors.videoCompressorNumber, -2);
    EXPECT_EQ(compressors.audioCompressorNumber, -2);
    EXPECT_EQ(lastVideoFolder(store), "");
    EXPECT_EQ(lastAudioFolder(store), "");

    // Reading never writes anything.
    EXPECT_TRUE(QSettings("Korvane", "orvindel").allKeys().isEmpty());
}

TEST_F(SettingsStoreTest, ValuesLiveInOneGroupPerSectionWithTheirOwnTypes) {
    store.write(settings::kOutputWidth, 640);
    store.write(settings::kOutputName, "/clips/out.avi");
    store.write(settings::kVideoCompressorNumber, -1);
    store.write(settings::kAudioCompressorNumber, 3);

    QSettings profile("Korvane", "orvindel");
    EXPECT_EQ(profile.value("Settings/OutputWidth").toInt(), 640);
    EXPECT_EQ(profile.value("Settings/OutputName").toString(), "/clips/out.avi");
    EXPECT_EQ(profile.value("DexVideoCompress/CompressorNumber").toInt(), -1);
    EXPECT_EQ(profile.value("DexAudioCompress/CompressorNumber").toInt(), 3);

    const StoredCompressorChoices compressors = loadCompressorChoices(store);
    EXPECT_EQ(compressors.videoCompressorNumber, -1);
    EXPECT_EQ(compressors.audioCompressorNumber, 3);
}

TEST_F(SettingsStoreTest, ValuesWrittenByHandAreReadBack) {
    {
        QSettings profile("Korvane", "orvindel");
        profile.setValue("Settings/OutputName", "/home/someone/films/holiday, part 1.avi");
        profile.setValue("Settings/OutputWidth", 720);
        profile.setValue("Settings/OutputHigh", "576");
        profile.setValue("TransitionSettings/TransitionDuration", 2);
        profile.setValue("TransitionSettings/TransitionType", 2);
        profile.setValue("TransitionSettings/TransitionName", 17);
    }
    OutputSettings output;
    loadOutputNameAndSize(store, output);
    EXPECT_EQ(output.OutputName, "/home/someone/films/holiday, part 1.avi");
    EXPECT_EQ(output.OutputWidth, 720);
    EXPECT_EQ(output.OutputHigh, 576);
    const TransitionDefaults transitions = loadTransitionDefaults(store);
    EXPECT_EQ(transitions.TransitionDuration, 2);
    EXPECT_EQ(transitions.TransitionType, 2);
    EXPECT_EQ(transitions.TransitionName, 17);
}

TEST_F(SettingsStoreTest, AnIntegerThatIsNotANumberReadsAsItsDefault) {
    QSettings("Korvane", "orvindel").setValue("Settings/OutputWidth", "wide");
    EXPECT_EQ(store.read(settings::kOutputWidth), 352);
}

TEST_F(SettingsStoreTest, FrameRateFromTheStoredIndex) {
    struct Case {
        const char* name;
        QVariant storedIndex;  // invalid: not stored
        QVariant storedRate;   // invalid: not stored
        int expectedIndex;
        double expectedRate;
    };
    const Case cases[] = {
        {"nothing stored", {}, {}, 0, 23.976},
        {"preset 1", 1, {}, 1, 24.0},
        {"preset 3", 3, "12.5", 3, 29.97},
        {"preset 4", 4, {}, 4, 30.0},
        {"custom 12.5", 5, "12.5", 5, 12.5},
        {"custom as six decimals", 5, "59.940000", 5, 59.94},
        {"custom with trailing text", 5, "15fps", 5, 15.0},
        {"custom not stored reads 23.976", 5, {}, 5, 23.976},
        {"custom not a number", 5, "fast", 0, 23.976},
        {"custom zero", 5, "0", 0, 23.976},
        {"index 9", 9, "12.5", 0, 23.976},
        {"index -1", -1, {}, 0, 23.976},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QSettings("Korvane", "orvindel").clear();
        {
            QSettings profile("Korvane", "orvindel");
            if (c.storedIndex.isValid()) {
                profile.setValue("Settings/OutputFrameRateIndex", c.storedIndex);
            }
            if (c.storedRate.isValid()) {
                profile.setValue("Settings/OutputFrameRate", c.storedRate);
            }
        }
        OutputSettings output;
        loadFrameRate(store, output);
        EXPECT_EQ(output.OutputFrameRateIndex, c.expectedIndex);
        EXPECT_DOUBLE_EQ(output.OutputFrameRate, c.expectedRate);
    }
}

TEST_F(SettingsStoreTest, RememberedFoldersAreCutAfterTheLastSlash) {
    const std::pair<const char*, const char*> pathToFolder[] = {
        {"/clips/a.avi", "/clips/"},
        {"/a.avi", "/"},
        {"a.avi", ""},
        {"/home/user/Vidéos/été/clip.avi", "/home/user/Vidéos/été/"},
    };
    for (const auto& [path, folder] : pathToFolder) {
        rememberVideoFolder(store, QString::fromUtf8(path));
        EXPECT_EQ(lastVideoFolder(store), QString::fromUtf8(folder)) << path;
    }
}

TEST_F(SettingsStoreTest, AddedFoldersAreRememberedPerList) {
    rememberVideoFolder(store, "/clips/a.avi");
    rememberAudioFolder(store, "/music/rock/song.mp3");
    EXPECT_EQ(lastVideoFolder(store), "/clips/");
    EXPECT_EQ(lastAudioFolder(store), "/music/rock/");
    EXPECT_EQ(QSettings("Korvane", "orvindel").value("Option/LastPhotoFolder").toString(),
              "/clips/");
}

}  // namespace
}  // namespace mixer
