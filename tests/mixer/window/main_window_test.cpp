#include "mixer/window/main_window.h"
#include "mixer/window/codec_feedback_switch.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/window/main_window_rig.h"
#include "tests/support/popup_menu_script.h"
#include "widgets/image_button.h"
#include "widgets/multi_line_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mixer {
namespace {

using namespace main_window;
constexpr RefTime kSecond = editing::kRefTimePerSecond;

// A main window over an empty (or test-filled) profile, with scripted ports.
class MainWindowTest : public testing::Test, public test_support::MainWindowRig {
  protected:
    void SetUp() override {
        QSettings("Korvane", "orvindel").clear();
        QSettings("DivXNetworks", "DivX4Windows").clear();
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
        QSettings("DivXNetworks", "DivX4Windows").clear();
    }

    MainWindow& open() {
        startWindow();
        window->show();
        return *window;
    }

    void press(int key) {
        QKeyEvent pressEvent(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(
            QApplication::focusWidget() ? QApplication::focusWidget() : window.get(), &pressEvent);
        QKeyEvent releaseEvent(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(
            QApplication::focusWidget() ? QApplication::focusWidget() : window.get(),
            &releaseEvent);
    }

    QTreeWidget& list(int id) { return window->controls().get<QTreeWidget>(id); }

    // A left click of the mouse on the window's button `id`.
    void clickButton(int id) {
        QTest::mouseClick(&window->controls().get<widgets::ImageButton>(id), Qt::LeftButton);
    }
    // A left click on row `row` of list `id`, scrolled into sight first, with `modifiers` held
    // (Ctrl adds to a selection).
    void clickRow(int id, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTreeWidget& view = list(id);
        view.scrollToItem(view.topLevelItem(row));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers,
                          view.visualItemRect(view.topLevelItem(row)).center());
    }
};

TEST_F(MainWindowTest, EmptyProfileShowsTheDefaultOutputInTheStatusLine) {
    MainWindow& shown = open();
    EXPECT_EQ(shown.statusText(),
              "Output File: " + QDir::homePath() + "/video_new.avi     Resolution: 352*240");
    EXPECT_EQ(shown.windowTitle(), "Orvindel");
    EXPECT_EQ(shown.job().outputSettings.OutputFrameRateIndex, 0);
    EXPECT_DOUBLE_EQ(shown.job().outputSettings.OutputFrameRate, 23.976);
    EXPECT_EQ(shown.job().outputSettings.ResizeMode, 2);
    EXPECT_EQ(shown.storedCompressorChoices().videoCompressorNumber, -2);
    EXPECT_TRUE(shown.job().videos.empty());
    EXPECT_TRUE(prompt.requests().isEmpty());
    // Start-up reads; it writes nothing into the profile.
    EXPECT_TRUE(QSettings("Korvane", "orvindel").allKeys().isEmpty());
}

TEST_F(MainWindowTest, StartUpReadsTheStoredProfile) {
    {
        QSettings profile("Korvane", "orvindel");
        profile.setValue("Settings/OutputName", "/films/out.avi");
        profile.setValue("Settings/OutputWidth", 640);
        profile.setValue("Settings/OutputHigh", 480);
        profile.setValue("Settings/OutputFrameRateIndex", 5);
        profile.setValue("Settings/OutputFrameRate", "12.5");
        profile.setValue("DexVideoCompress/CompressorNumber", 4);
        profile.setValue("DexAudioCompress/CompressorNumber", -1);
        profile.setValue("TransitionSettings/TransitionType", 2);
        profile.setValue("TransitionSettings/TransitionName", 9);
        profile.setValue("TransitionSettings/TransitionDuration", 3);
    }
    MainWindow& shown = open();
    EXPECT_EQ(shown.statusText(), "Output File: /films/out.avi     Resolution: 640*480");
    EXPECT_EQ(shown.job().outputSettings.OutputFrameRateIndex, 5);
    EXPECT_DOUBLE_EQ(shown.job().outputSettings.OutputFrameRate, 12.5);
    EXPECT_EQ(shown.storedCompressorChoices().videoCompressorNumber, 4);
    EXPECT_EQ(shown.storedCompressorChoices().audioCompressorNumber, -1);

    shown.mediaLists().appendVideo({"/clips/a.avi", 10 * kSecond});
    ASSERT_EQ(shown.job().videos.size(), 1u);
    EXPECT_EQ(shown.job().videos[0].TransitionEffect, 9);
    EXPECT_EQ(shown.job().videos[0].TransitionDuration, 30'000'000);
}

TEST_F(MainWindowTest, EveryControlHasItsCaptionTooltipIconAndCursor) {
    struct Expected {
        int id;
        const char* caption;
        const char* tooltip;
        bool hasIcon;
    };
    const Expected buttons[] = {
        {kAddVideoButton, "Add video", "Add video files to list", true},
        {kAddAudioButton, "Add audio", "Add audio files to list", true},
        {kOptionsButton, "Options", "Customize output options", true},
        {kMixButton, "Mix", "Mix audio to video", true},
        {kHelpButton, "&Help", "Help", true},
        {kExitButton, "Exit", "Exit", true},
        {kDeleteAllButton, "", "Delete all video and audio items", true},
        {kRemoveVideosButton, "", "Remove selected video items", true},
        {kDeleteSelectedAudioButton, "", "Delete selected items", true},
        {kDeleteAllAudioButton, "", "Delete all audio items", true},
        {kAudioPropertiesButton, "", "Change selected audio's properties", true},
        {kMicrophoneButton, "Microphone", "Ambrevo", false},
        {kHomepageButton, "Homepage", "Homepage", false},
        {kAboutButton, "About", "About", false},
    };
    MainWindow& shown = open();
    for (const Expected& expected : buttons) {
        SCOPED_TRACE(expected.id);
        auto* button = shown.controls().find<widgets::ImageButton>(expected.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), expected.caption);
        EXPECT_EQ(button->tooltipText(), expected.tooltip);
        EXPECT_EQ(button->hasIcon(), expected.hasIcon);
        EXPECT_TRUE(button->hasHoverCursor());
    }
    EXPECT_EQ(shown.controls().get<QLabel>(kVideoListLabel).text(), "Video List:");
    EXPECT_EQ(shown.controls().get<QLabel>(kAudioListLabel).text(), "Audio List:");
    EXPECT_TRUE(shown.controls().contains(kStatusLine));

    // The template size is the default and the smallest size; the window may grow.
    EXPECT_EQ(shown.size(), shown.minimumSize());
    EXPECT_GT(shown.maximumSize().width(), shown.minimumSize().width());
    EXPECT_FALSE(shown.windowIcon().isNull());

    // The project commands, then the transition defaults and About.
    ASSERT_EQ(shown.actions().size(), 8);
    EXPECT_EQ(shown.actions().at(0)->text(), "&Open project...");
    EXPECT_EQ(shown.actions().at(0)->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(shown.actions().at(1)->text(), "&Save project");
    EXPECT_EQ(shown.actions().at(2)->text(), "Save project &as...");
    EXPECT_EQ(shown.actions().at(3)->text(), "&Recent projects");
    EXPECT_TRUE(shown.actions().at(4)->isSeparator());
    EXPECT_EQ(shown.actions().at(5)->text(), "&Transition defaults...");
    EXPECT_TRUE(shown.actions().at(6)->isSeparator());
    EXPECT_EQ(shown.actions().at(7)->text(), "&About Orvindel");
    EXPECT_EQ(shown.contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST_F(MainWindowTest, ListViewsHaveTheirColumnsCentredAndShowTheEntries) {
    MainWindow& shown = open();
    QTreeWidget& videos = list(kVideoList);
    QTreeWidget& audios = list(kAudioList);
    ASSERT_EQ(videos.columnCount(), 3);
    EXPECT_EQ(videos.headerItem()->text(0), "Video File Name");
    EXPECT_EQ(videos.columnWidth(0), 245);
    EXPECT_EQ(videos.columnWidth(1), 140);
    ASSERT_EQ(audios.columnCount(), 6);
    const char* audioTitles[] = {"Audio File Name", "Duration(s)", "volume",
                                 "Start time(s)",   "Speed",       "Repeat"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(audios.headerItem()->text(column), audioTitles[column]);
    }
    // The stored widths, widened where a heading needs more in the list's font.
    EXPECT_GE(audios.columnWidth(0), 105);
    EXPECT_EQ(audios.columnWidth(5), 70);
    EXPECT_EQ(audios.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_NE(audios.selectionMode(), QAbstractItemView::SingleSelection);

    shown.mediaLists().appendVideo({"/clips/first.avi", 10 * kSecond});
    shown.mediaLists().appendVideo({"/clips/second.avi", 125 * kSecond / 10});
    ASSERT_EQ(videos.topLevelItemCount(), 2);
    EXPECT_EQ(videos.topLevelItem(1)->text(0), "second.avi");
    EXPECT_EQ(videos.topLevelItem(1)->text(1), "12.500");
    EXPECT_EQ(videos.topLevelItem(1)->textAlignment(0) & Qt::AlignHCenter, Qt::AlignHCenter);
    ASSERT_EQ(audios.topLevelItemCount(), 2);
    const QStringList secondCompanion = {"second.avi", "12.500", "1.000", "10.000", "1.000", "No"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(audios.topLevelItem(1)->text(column), secondCompanion[column]);
    }
}

TEST_F(MainWindowTest, DeleteButtonsWorkOnTheSelectedRows) {
    MainWindow& shown = open();
    clickButton(kDeleteSelectedAudioButton);  // empty list: nothing at all
    EXPECT_TRUE(prompt.requests().isEmpty());

    shown.mediaLists().appendVideo({"/clips/v.avi", kSecond});
    shown.mediaLists().appendAudio({{"/m/a1.mp3", kSecond},
                                    {"/m/a2.mp3", kSecond},
                                    {"/m/a3.mp3", kSecond},
                                    {"/m/a4.mp3", kSecond}});
    QTreeWidget& audios = list(kAudioList);
    clickButton(kDeleteSelectedAudioButton);  // nothing selected
    EXPECT_EQ(prompt.texts(), QStringList{"Please select an audio item!"});
    EXPECT_EQ(audios.topLevelItemCount(), 5);

    clickRow(kAudioList, 1);
    clickRow(kAudioList, 2, Qt::ControlModifier);
    clickRow(kAudioList, 4, Qt::ControlModifier);
    clickButton(kDeleteSelectedAudioButton);
    ASSERT_EQ(audios.topLevelItemCount(), 2);
    EXPECT_EQ(audios.topLevelItem(0)->text(0), "v.avi");
    EXPECT_EQ(audios.topLevelItem(1)->text(0), "a3.mp3");
    EXPECT_EQ(shown.job().audios[1].FileName, "/m/a3.mp3");

    clickButton(kDeleteAllAudioButton);
    EXPECT_EQ(audios.topLevelItemCount(), 0);
    EXPECT_EQ(list(kVideoList).topLevelItemCount(), 1);

    shown.mediaLists().appendAudio({{"/m/a1.mp3", kSecond}});
    clickButton(kDeleteAllButton);
    EXPECT_EQ(audios.topLevelItemCount(), 0);
    EXPECT_EQ(list(kVideoList).topLevelItemCount(), 0);
    EXPECT_TRUE(shown.job().videos.empty());
}

TEST_F(MainWindowTest, LaunchButtonsAndDoubleClicksReachTheLauncher) {
    MainWindow& shown = open();
    clickButton(kMicrophoneButton);
    ASSERT_EQ(launcher.programStarts().size(), 1);
    EXPECT_TRUE(launcher.programStarts()[0].program.endsWith("ambrevo"));
    EXPECT_TRUE(launcher.programStarts()[0].arguments.isEmpty());

    clickButton(kHomepageButton);
    ASSERT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_TRUE(launcher.openedAddresses()[0].scheme().startsWith("http"));

    // Double clicks below the rows, with rows listed but none selected, remind the user, per
    // list.
    shown.mediaLists().appendVideo({"/clips/a.avi", kSecond});
    for (const int id : {kVideoList, kAudioList}) {
        QWidget& rows = *list(id).viewport();
        QTest::mouseDClick(&rows, Qt::LeftButton, Qt::NoModifier, QPoint(10, rows.height() - 4));
    }
    EXPECT_EQ(prompt.texts(),
              QStringList({"Please select items!", "Please click an item to preview!"}));
}

TEST_F(MainWindowTest, OutputOptionsAcceptedChangeTheStatusLineAndCancelChangesNothing) {
    MainWindow& shown = open();
    std::vector<OutputSettings> offered;
    std::optional<AcceptedOutputOptions> answer;
    shown.setOutputOptionsRunner(
        [&](const OutputSettings& settings, OutputOptionsServices, QWidget* owner) {
            EXPECT_EQ(owner, &shown);
            offered.push_back(settings);
            return answer;
        });
    const QString statusBefore = shown.statusText();
    clickButton(kOptionsButton);  // Cancel
    EXPECT_EQ(shown.statusText(), statusBefore);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].OutputName, shown.job().outputSettings.OutputName);

    AcceptedOutputOptions accepted;
    accepted.settings = shown.job().outputSettings;
    accepted.settings.OutputName = "/films/new.avi";
    accepted.settings.OutputWidth = 640;
    accepted.settings.OutputHigh = 480;
    accepted.settings.OutputFrameRate = 25.0;
    accepted.settings.OutputFrameRateIndex = 2;
    accepted.settings.ResizeMode = 0;
    accepted.settings.UseVideoCompressor = false;
    answer = accepted;
    clickButton(kOptionsButton);
    EXPECT_EQ(shown.statusText(), "Output File: /films/new.avi     Resolution: 640*480");
    EXPECT_EQ(shown.job().outputSettings.OutputFrameRateIndex, 2);
    EXPECT_EQ(shown.job().outputSettings.ResizeMode, 0);
    EXPECT_FALSE(shown.job().outputSettings.UseVideoCompressor);
    EXPECT_FALSE(shown.mixController().compressors().video.has_value());
}

TEST_F(MainWindowTest, AudioPropertiesEditTheFirstSelectedRow) {
    MainWindow& shown = open();
    std::vector<AudioSettingsValues> offered;
    shown.setAudioSettingsRunner([&](const AudioSettingsValues& values, QWidget*) {
        offered.push_back(values);
        AudioSettingsValues changed = values;
        changed.volume = 2.0;
        changed.startTimeSeconds = 2.5;
        changed.repeat = 1;
        return std::optional<AudioSettingsValues>(changed);
    });
    clickButton(kAudioPropertiesButton);  // empty list
    EXPECT_TRUE(prompt.requests().isEmpty());

    for (int i = 0; i < 6; ++i) {
        shown.mediaLists().appendAudio({{"/m/a" + std::to_string(i) + ".mp3", kSecond}});
    }
    clickButton(kAudioPropertiesButton);
    EXPECT_EQ(prompt.texts(), QStringList{"Please select an item!"});
    EXPECT_TRUE(offered.empty());

    clickRow(kAudioList, 5);
    clickRow(kAudioList, 3, Qt::ControlModifier);
    // A right-click on a selected row opens the list's menu; its first item, in bold, runs the
    // properties.
    QTreeWidget& audios = list(kAudioList);
    audios.scrollToItem(audios.topLevelItem(3));
    const QPoint onRow3 = audios.visualItemRect(audios.topLevelItem(3)).center();
    const test_support::MenuSeen menu = test_support::chooseFromMenu(
        [&] { test_support::rightClick(audios, onRow3); }, "Change selected audio's properties");
    EXPECT_EQ(menu.defaultText, "Change selected audio's properties");
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].volume, 1.0);
    EXPECT_EQ(shown.job().audios[3].StartTime, 25'000'000);
    EXPECT_EQ(shown.job().audios[3].Volume, 2.0);
    EXPECT_EQ(shown.job().audios[5].Volume, 1.0);
    const QStringList row = {"a3.mp3", "1.000", "2.000", "2.500", "1.000", "Yes"};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(list(kAudioList).topLevelItem(3)->text(column), row[column]);
    }
}

TEST_F(MainWindowTest, ProgressTextCountsElapsedSeconds) {
    MainWindow& shown = open();
    EXPECT_EQ(shown.progressTimer().interval(), 1000);
    shown.onProgressTick();
    EXPECT_EQ(shown.statusText(), "Please wait... Used Time: 00:00:01");
    for (int tick = 1; tick < 3725; ++tick) {
        shown.onProgressTick();
    }
    EXPECT_EQ(shown.job().ElapsedSeconds, 3725);
    EXPECT_EQ(shown.statusText(), "Please wait... Used Time: 01:02:05");
}

TEST_F(MainWindowTest, CloseRequestsAreRefusedWhileAMixRuns) {
    MainWindow& shown = open();
    shown.job().Converting = true;
    list(kVideoList).setFocus();

    press(Qt::Key_Escape);
    press(Qt::Key_Return);
    clickButton(kExitButton);
    EXPECT_FALSE(shown.close());  // the close box

    EXPECT_EQ(prompt.texts(), QStringList(4, "Please first stop Convert"));
    EXPECT_TRUE(shown.isVisible());

    shown.job().Converting = false;
    press(Qt::Key_Escape);
    EXPECT_FALSE(shown.isVisible());
    EXPECT_EQ(prompt.requests().size(), 4);
}

TEST_F(MainWindowTest, EnterAndExitCloseTheIdleWindow) {
    MainWindow& shown = open();
    list(kAudioList).setFocus();
    press(Qt::Key_Return);
    EXPECT_FALSE(shown.isVisible());

    MainWindow& again = open();
    clickButton(kExitButton);
    EXPECT_FALSE(again.isVisible());
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(MainWindowTest, CodecFeedbackIsSwitchedOffOnlyWhenTheValueExists) {
    open();
    EXPECT_TRUE(QSettings("DivXNetworks", "DivX4Windows").allKeys().isEmpty());
    EXPECT_FALSE(QFile::exists(QSettings("DivXNetworks", "DivX4Windows").fileName()));
    window.reset();

    QSettings("DivXNetworks", "DivX4Windows").setValue("Disable feedback", 0);
    open();
    EXPECT_EQ(QSettings("DivXNetworks", "DivX4Windows").value("Disable feedback").toInt(), 1);
}

TEST(CodecFeedbackSwitch, FirstByteOfEachKindOfValue) {
    struct Case {
        const char* name;
        QVariant stored;
        QVariant expected;
    };
    const Case cases[] = {
        {"integer 0", 0, 1},
        {"integer 1", 1, 1},
        {"integer with higher bytes", 0x0200, 0x0201},
        {"text", QString("yes"),
         QString("\x01"
                 "es")},
        {"bytes", QByteArray("\x00\x05", 2), QByteArray("\x01\x05", 2)},
        {"empty text", QString(""), QString("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QSettings("Test", "codec").clear();
        QSettings("Test", "codec").setValue("Disable feedback", c.stored);
        EXPECT_EQ(switchOffCodecFeedback("Test", "codec"), CodecFeedbackOutcome::Switched);
        const QVariant now = QSettings("Test", "codec").value("Disable feedback");
        if (c.expected.typeId() == QMetaType::Int) {
            EXPECT_EQ(now.toInt(), c.expected.toInt());
        } else if (c.expected.typeId() == QMetaType::QByteArray) {
            EXPECT_EQ(now.toByteArray(), c.expected.toByteArray());
        } else {
            EXPECT_EQ(now.toString(), c.expected.toString());
        }
    }
    QSettings("Test", "codec").clear();
    EXPECT_EQ(switchOffCodecFeedback("Test", "codec"), CodecFeedbackOutcome::ValueMissing);
    EXPECT_TRUE(QSettings("Test", "codec").allKeys().isEmpty());
}

}  // namespace
}  // namespace mixer
