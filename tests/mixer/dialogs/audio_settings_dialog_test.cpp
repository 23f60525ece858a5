#include "mixer/dialogs/audio_settings_dialog.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace mixer {
namespace {

using namespace audio_settings;

class AudioSettingsDialogTest : public testing::Test {
  protected:
    static void type(AudioSettingsDialog& dialog, int id, const char* text) {
        dialog.controls().get<QLineEdit>(id).setText(QString::fromUtf8(text));
    }
    static void pressOk(AudioSettingsDialog& dialog) {
        dialog.controls().get<QPushButton>(kOkButton).click();
    }

    widgets::testing::ScriptedPrompt prompt;
};

TEST_F(AudioSettingsDialogTest, ShowsTheEntryWithThreeDecimals) {
    AudioSettingsDialog dialog({0.5, 12.3456789, 2.0, 1}, prompt);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Audio Settings"));
    EXPECT_EQ(dialog.controls().get<QLineEdit>(kVolumeBox).text(), QStringLiteral("0.500"));
    EXPECT_EQ(dialog.controls().get<QLineEdit>(kStartTimeBox).text(), QStringLiteral("12.346"));
    EXPECT_EQ(dialog.controls().get<QLineEdit>(kSpeedBox).text(), QStringLiteral("2.000"));
    const auto& repeat = dialog.controls().get<QComboBox>(kRepeatList);
    ASSERT_EQ(repeat.count(), 2);
    EXPECT_EQ(repeat.itemText(0), QStringLiteral("No"));
    EXPECT_EQ(repeat.currentText(), QStringLiteral("Yes"));
}

TEST_F(AudioSettingsDialogTest, RefusedValuesKeepTheDialogOpenWithTheBoxFocused) {
    const struct {
        const char* startTime;
        const char* volume;
        const char* speed;
        int focusedBox;
        const char* message;
    } cases[] = {
        {"abc", "1", "1", kStartTimeBox, "Please enter a number."},
        {"1", "100.5", "1", kVolumeBox, "Please enter a number between 0 and 100."},
        {"1", "1", "x", kSpeedBox, "Please enter a number."},
        {"-0.5", "1", "1", kStartTimeBox, "Start time should be greater than 0"},
        {"1", "1", "0", kSpeedBox, "Speed should be greater than 0"},
    };
    for (const auto& example : cases) {
        AudioSettingsDialog dialog({}, prompt);
        prompt.clear();
        type(dialog, kStartTimeBox, example.startTime);
        type(dialog, kVolumeBox, example.volume);
        type(dialog, kSpeedBox, example.speed);
        pressOk(dialog);
        EXPECT_FALSE(dialog.accepted()) << example.message;
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(prompt.texts(), QStringList{QString::fromUtf8(example.message)});
        EXPECT_EQ(dialog.focusWidget(), &dialog.controls().get(example.focusedBox))
            << example.message;
    }
}

TEST_F(AudioSettingsDialogTest, AcceptedValuesReachTheEntry) {
    AudioSettingsDialog dialog({}, prompt);
    type(dialog, kStartTimeBox, "2.5");
    type(dialog, kVolumeBox, "100");
    type(dialog, kSpeedBox, "0.5");
    dialog.controls().get<QComboBox>(kRepeatList).setCurrentIndex(1);
    pressOk(dialog);
    ASSERT_TRUE(dialog.accepted());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(prompt.requests().isEmpty());
    AudioEntry entry;
    applyAudioSettings(*dialog.accepted(), entry);
    EXPECT_EQ(entry.StartTime, 25'000'000);
    EXPECT_DOUBLE_EQ(entry.Volume, 100.0);
    EXPECT_DOUBLE_EQ(entry.Speed, 0.5);
    EXPECT_EQ(entry.Repeat, 1);
}

TEST_F(AudioSettingsDialogTest, CancelAfterChangingEveryBoxChangesNothing) {
    AudioSettingsDialog dialog({1.0, 3.0, 1.0, 0}, prompt);
    type(dialog, kStartTimeBox, "9");
    type(dialog, kVolumeBox, "50");
    type(dialog, kSpeedBox, "2");
    dialog.controls().get<QPushButton>(kCancelButton).click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.accepted());
}

std::vector<AudioEntry> fiveEntries() {
    std::vector<AudioEntry> audios;
    for (int index = 0; index < 5; ++index) {
        AudioEntry entry;
        entry.FileName = "/music/" + std::to_string(index) + ".wav";
        entry.StartTime = index * 10'000'000LL;
        audios.push_back(entry);
    }
    return audios;
}

TEST_F(AudioSettingsDialogTest, OnlyTheFirstSelectedRowIsEdited) {
    const std::vector<AudioEntry> audios = fiveEntries();
    std::vector<AudioSettingsValues> shown;
    const AudioSettingsRunner runner = [&shown](const AudioSettingsValues& values, QWidget*) {
        shown.push_back(values);
        return std::optional<AudioSettingsValues>({0.25, 2.5, 1.5, 1});
    };
    const auto edited = editSelectedAudioEntry(audios, {4, 3}, prompt, nullptr, runner);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->row, 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_DOUBLE_EQ(shown[0].startTimeSeconds, 3.0);
    EXPECT_EQ(edited->entry.FileName, "/music/3.wav");
    EXPECT_EQ(edited->entry.StartTime, 25'000'000);
    EXPECT_DOUBLE_EQ(edited->entry.Volume, 0.25);
    EXPECT_EQ(edited->entry.Repeat, 1);
}

TEST_F(AudioSettingsDialogTest, NoSelectionNoListAndCancelEditNothing) {
    int runs = 0;
    const AudioSettingsRunner cancels = [&runs](const AudioSettingsValues&, QWidget*) {
        ++runs;
        return std::optional<AudioSettingsValues>();
    };
    EXPECT_FALSE(editSelectedAudioEntry({}, {0}, prompt, nullptr, cancels));
    EXPECT_TRUE(prompt.requests().isEmpty());

    const std::vector<AudioEntry> audios = fiveEntries();
    EXPECT_FALSE(editSelectedAudioEntry(audios, {}, prompt, nullptr, cancels));
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("Please select an item!")});
    EXPECT_EQ(runs, 0);

    EXPECT_FALSE(editSelectedAudioEntry(audios, {1}, prompt, nullptr, cancels));
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace mixer
