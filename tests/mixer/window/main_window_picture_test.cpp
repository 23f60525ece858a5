#include "mixer/window/main_window.h"
#include "mixer/window/orvindel_start_up.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSettings>

#include <cstdlib>
#include <set>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;

// Draws the main window with a few listed clips, as a user sees it after adding media. When
// ORVINDEL_SCREENSHOT names a file, the picture is also saved there (scripts/screenshot uses
// this for the README).
TEST(MainWindowPicture, TheFilledWindowIsDrawnOnItsTiledBackground) {
    QSettings("Korvane", "orvindel").clear();
    QSettings("Korvane", "orvindel")
        .setValue("Settings/OutputName", "/home/maria/Videos/holiday.avi");
    SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    const editing::CompressorRegistry compressors({}, {});
    MainWindow window(readMainWindowStart(compressors, store), store,
                      MainWindowPorts{prompt, picker, launcher}, compressors);
    window.mediaLists().appendVideo({"/home/maria/Videos/beach.avi", 124'800'000});
    window.mediaLists().appendVideo({"/home/maria/Videos/harbour.mp4", 83'400'000});
    window.mediaLists().appendVideo({"/home/maria/Videos/sunset.mov", 210'000'000});
    window.mediaLists().appendAudio({{"/home/maria/Music/guitar theme.mp3", 95 * kSecond}});
    window.show();
    QApplication::processEvents();

    const QImage picture = window.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), window.size() * picture.devicePixelRatio());
    // The background tile and the controls give the picture many colours, not a flat fill.
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            colours.insert(picture.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 20u);

    if (const char* target = std::getenv("ORVINDEL_SCREENSHOT")) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(target), "PNG"));
    }
    QSettings("Korvane", "orvindel").clear();
}

}  // namespace
}  // namespace mixer
