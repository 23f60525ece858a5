#include "mixer/dialogs/audio_settings_rules.h"

#include <gtest/gtest.h>

namespace mixer {
namespace {

AudioSettingsEntries typed(const char* startTime, const char* volume, const char* speed,
                           int repeatSelection = 0) {
    return {QString::fromUtf8(startTime), QString::fromUtf8(volume), QString::fromUtf8(speed),
            repeatSelection};
}

TEST(AudioSettingsOk, RefusesInReadOrderWithTheBoxToFocus) {
    const struct {
        AudioSettingsEntries entries;
        AudioSettingsBox box;
        const char* text;
        const char* caption;
    } cases[] = {
        {typed("x", "y", "z"), AudioSettingsBox::StartTime, "Please enter a number.", ""},
        {typed("1", "y", "z"), AudioSettingsBox::Volume, "Please enter a number.", ""},
        {typed("1", "100.5", "z"), AudioSettingsBox::Volume,
         "Please enter a number between 0 and 100.", ""},
        {typed("1", "-0.1", "1"), AudioSettingsBox::Volume,
         "Please enter a number between 0 and 100.", ""},
        {typed("-1", "1", "z"), AudioSettingsBox::Speed, "Please enter a number.", ""},
        {typed("-1", "1", "1"), AudioSettingsBox::StartTime, "Start time should be greater than 0",
         "Error"},
        {typed("1e300", "1", "1"), AudioSettingsBox::StartTime, "Start time is too large.",
         "Error"},
        {typed("1", "1", "0"), AudioSettingsBox::Speed, "Speed should be greater than 0", "Error"},
        {typed("1", "1", "-2"), AudioSettingsBox::Speed, "Speed should be greater than 0", "Error"},
        {typed("2.5s", "1", "1"), AudioSettingsBox::StartTime, "Please enter a number.", ""},
    };
    for (const auto& example : cases) {
        const AudioSettingsVerdict verdict = readAudioSettings(example.entries, {});
        ASSERT_FALSE(verdict.accepted) << example.text;
        EXPECT_EQ(verdict.refusal.box, example.box) << example.text;
        EXPECT_EQ(verdict.refusal.text, QString::fromUtf8(example.text));
        EXPECT_EQ(verdict.refusal.caption, QString::fromUtf8(example.caption));
    }
}

TEST(AudioSettingsOk, AcceptsTheLimits) {
    const AudioSettingsVerdict verdict = readAudioSettings(typed("0", "100", "0.01", 1), {});
    ASSERT_TRUE(verdict.accepted);
    EXPECT_DOUBLE_EQ(verdict.accepted->startTimeSeconds, 0.0);
    EXPECT_DOUBLE_EQ(verdict.accepted->volume, 100.0);
    EXPECT_DOUBLE_EQ(verdict.accepted->speed, 0.01);
    EXPECT_EQ(verdict.accepted->repeat, 1);
    EXPECT_TRUE(readAudioSettings(typed("1", "0", "1"), {}).accepted);
}

TEST(AudioSettingsOk, RepeatWithoutSelectionKeepsThePreviousValue) {
    AudioSettingsValues previous;
    previous.repeat = 1;
    EXPECT_EQ(readAudioSettings(typed("1", "1", "1", -1), previous).accepted->repeat, 1);
    EXPECT_EQ(readAudioSettings(typed("1", "1", "1", 0), previous).accepted->repeat, 0);
}

TEST(AudioSettingsWriteBack, TruncatesTheStartTimeTowardZero) {
    const struct {
        double seconds;
        RefTime expected;
    } cases[] = {
        {2.5, 25'000'000}, {0.00000005, 0}, {0.00000019, 1}, {1.23456789, 12'345'678}, {0.0, 0},
    };
    for (const auto& example : cases) {
        AudioEntry entry;
        applyAudioSettings({2.0, example.seconds, 1.5, 1}, entry);
        EXPECT_EQ(entry.StartTime, example.expected) << example.seconds;
        EXPECT_DOUBLE_EQ(entry.Volume, 2.0);
        EXPECT_DOUBLE_EQ(entry.Speed, 1.5);
        EXPECT_EQ(entry.Repeat, 1);
    }
}

TEST(AudioSettingsOpen, ShowsTheStartTimeInSeconds) {
    AudioEntry entry;
    entry.StartTime = 123'456'789;
    entry.Volume = 0.5;
    entry.Speed = 2.0;
    entry.Repeat = 1;
    const AudioSettingsValues values = audioSettingsOf(entry);
    EXPECT_DOUBLE_EQ(values.startTimeSeconds, 12.3456789);
    EXPECT_DOUBLE_EQ(values.volume, 0.5);
    EXPECT_DOUBLE_EQ(values.speed, 2.0);
    EXPECT_EQ(values.repeat, 1);
}

}  // namespace
}  // namespace mixer
