#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>

#include "recorder/logic/input_line_rules.h"
#include "recorder/logic/recorder_settings.h"
#include "recorder/logic/recording_texts.h"

namespace {

using recorder::CaptureValues;

struct SearchCase {
    const char* label;
    QStringList lines;
    CaptureValues before;
    int expectedPinIndex;
};

class MicrophoneSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(MicrophoneSearch, ChoosesTheFirstMicrophoneLineOnlyOnFirstUse) {
    CaptureValues values = GetParam().before;
    recorder::searchMicrophoneLine(GetParam().lines, values);
    EXPECT_EQ(values.nCapturePinIndex, GetParam().expectedPinIndex);
    EXPECT_EQ(values.nSearchFlag, 1);
}

const QStringList kSoundCardLines = {"CD Audio", "Line In", "Microphone", "Stereo Mix"};

INSTANTIATE_TEST_SUITE_P(
    Lines, MicrophoneSearch,
    testing::Values(
        SearchCase{"first_run", kSoundCardLines, {0, 0, 0, 0}, 2},
        SearchCase{"next_run_keeps_remembered_line", kSoundCardLines, {0, 1, 1, 0}, 1},
        SearchCase{"upper_case", {"Line In", "MICROPHONE"}, {0, 0, 0, 0}, 1},
        SearchCase{
            "front_microphone", {"Line In", "Front Microphone", "Microphone"}, {0, 0, 0, 0}, 1},
        SearchCase{"no_microphone_keeps_remembered", {"Line In", "Aux"}, {0, 1, 0, 0}, 1},
        SearchCase{"no_lines", {}, {0, 0, 0, 0}, 0}),
    [](const testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.label); });

TEST(InputLineChoice, ARememberedLineBeyondTheDevicesLinesSearchesAgain) {
    const SearchCase cases[] = {
        {"kept", kSoundCardLines, {0, 1, 1, 0}, 1},
        {"beyond_finds_the_microphone", kSoundCardLines, {0, 7, 1, 0}, 2},
        {"minus_one_of_an_older_run", kSoundCardLines, {0, -1, 1, 0}, 2},
        {"beyond_without_microphone_takes_the_first", {"Line In", "Aux"}, {0, 5, 1, 0}, 0},
        {"first_run", kSoundCardLines, {0, 0, 0, 0}, 2},
    };
    for (const SearchCase& choice : cases) {
        CaptureValues values = choice.before;
        recorder::chooseInputLine(choice.lines, values);
        EXPECT_EQ(values.nCapturePinIndex, choice.expectedPinIndex) << choice.label;
        EXPECT_EQ(values.nSearchFlag, 1) << choice.label;
    }
}

TEST(VolumeScale, SliderAndLevelConvertBothWays) {
    EXPECT_DOUBLE_EQ(recorder::levelFromSliderPosition(200), 1.0);
    EXPECT_DOUBLE_EQ(recorder::levelFromSliderPosition(1), 0.005);
    EXPECT_DOUBLE_EQ(recorder::levelFromSliderPosition(0), 0.0);
    EXPECT_EQ(recorder::sliderPositionFromLevel(0.7777), 155);
    EXPECT_EQ(recorder::sliderPositionFromLevel(1.0), 200);
    EXPECT_EQ(recorder::sliderPositionFromLevel(0.0049), 0);
}

TEST(StatusTexts, ElapsedTimeHasTwoDigitFieldsAndGrowingHours) {
    EXPECT_EQ(recorder::readyStatusText(), "Status : Ready");
    EXPECT_EQ(recorder::recordingStatusText(0), "Status : Recording audio - Used Time: 00:00:00");
    EXPECT_EQ(recorder::recordingStatusText(3661),
              "Status : Recording audio - Used Time: 01:01:01");
    EXPECT_EQ(recorder::recordingStatusText(360000),
              "Status : Recording audio - Used Time: 100:00:00");
    EXPECT_EQ(recorder::pausedStatusText(8),
              "Status : Paused audio recording - Used Time: 00:00:08");
    EXPECT_EQ(recorder::timeLeftText(2 * 3600 + 13 * 60 + 59), "2 h 13 min left");
    EXPECT_EQ(recorder::timeLeftNotice(3599), "59 min left");
    EXPECT_EQ(recorder::timeLeftNotice(-5), "0 min left");
    EXPECT_EQ(recorder::timeLeftNotice(3600), QString());
}

TEST(StatusTexts, TimeLeftCountsTheRateOfTheOutputFormat) {
    const capture::AudioFormat stereo{capture::SampleEncoding::SignedInt16, 48000, 2, 0};
    const std::uint64_t freeBytes = 192'000ull * 600;  // ten minutes of this PCM
    struct Case {
        QString path;
        std::int64_t seconds;
        QString notice;
    };
    for (const Case& c : {Case{"/d/a.wav", 600, "10 min left"},
                          Case{"/d/a.flac", 1000, "16 min left"},  // 60 % of the PCM rate
                          Case{"/d/a.opus", 7200, ""},             // 16 000 bytes a second
                          Case{"/d/a.OGG", 7200, ""}}) {
        const std::int64_t seconds = recorder::recordingSecondsLeft(freeBytes, c.path, stereo);
        EXPECT_EQ(seconds, c.seconds) << c.path.toStdString();
        EXPECT_EQ(recorder::timeLeftNotice(seconds), c.notice) << c.path.toStdString();
    }
    EXPECT_EQ(recorder::recordingSecondsLeft(0, "/d/a.flac", stereo), 0);
}

TEST(BrowseRule, CompressedFormatsKeepTheirExtensionEveryOtherNameEndsInWav) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"/d/take.mp3", "/d/take.wav"},
        {"/d/take.flac", "/d/take.flac"},
        {"/d/take.Opus", "/d/take.Opus"},
        {"/d/take.ogg", "/d/take.ogg"},
        {"/d/rel.flac/take", "/d/rel.flac/take.wav"},
        {"/d/take", "/d/take.wav"},
        {"/d/rel.2/take", "/d/rel.2/take.wav"},
        {"/d/take.wav", "/d/take.wav"},
        {"/d/my take.final.WAV", "/d/my take.final.wav"},
    };
    for (const auto& [chosen, stored] : cases) {
        EXPECT_EQ(recorder::outputNameForChosenFile(chosen), stored) << chosen.toStdString();
    }
    for (const auto& [name, filter] : std::vector<std::pair<QString, int>>{
             {"/d/a.wav", 1}, {"/d/a.FLAC", 2}, {"/d/a.opus", 3}, {"/d/a.ogg", 3}, {"/d/a", 1}}) {
        EXPECT_EQ(recorder::outputFileFilterFor(name), filter) << name.toStdString();
    }
    EXPECT_EQ(recorder::browseInitialFolder("/home/u/rec/a.wav"), "/home/u/rec");
    EXPECT_EQ(recorder::browseInitialFolder("a.wav"), ".");
    EXPECT_EQ(recorder::browseInitialFolder("/a.wav"), "/");
}

TEST(RecordingTarget, EmptyEditBoxRecordsToRecordWavInHome) {
    EXPECT_EQ(recorder::recordingTargetPath(""), QDir::home().absoluteFilePath("record.wav"));
    EXPECT_EQ(recorder::recordingTargetPath("/x/y.wav"), "/x/y.wav");
}

TEST(RecorderSettings, DefaultsAndRoundTrip) {
    QSettings("Korvane", "ambrevo").clear();
    const CaptureValues defaults = recorder::RecorderSettings::readCaptureValues();
    EXPECT_EQ(defaults.nSoundCaptureIndex, 0);
    EXPECT_EQ(defaults.nCapturePinIndex, 0);
    EXPECT_EQ(defaults.nSearchFlag, 0);
    EXPECT_EQ(recorder::RecorderSettings::readOutputFile(),
              QDir::home().absoluteFilePath("recorder.wav"));
    EXPECT_TRUE(QDir::isAbsolutePath(recorder::RecorderSettings::readOutputFile()));
    EXPECT_EQ(recorder::RecorderSettings::readHintOnlyOnce(0), 0);
    EXPECT_EQ(recorder::RecorderSettings::readHintOnlyOnce(1), 1);

    recorder::RecorderSettings::writeCaptureValues({3, 2, 1, 9});
    recorder::RecorderSettings::writeOutputFile("/tmp/out.wav");
    const CaptureValues read = recorder::RecorderSettings::readCaptureValues();
    EXPECT_EQ(read.nSoundCaptureIndex, 3);
    EXPECT_EQ(read.nCapturePinIndex, 2);
    EXPECT_EQ(read.nSearchFlag, 1);
    QSettings raw("Korvane", "ambrevo");
    EXPECT_EQ(raw.value("Option/output_wav_file").toString(), "/tmp/out.wav");
    EXPECT_FALSE(raw.contains("Option/nDeviceCount"));  // not a setting
    raw.clear();
}

}  // namespace
