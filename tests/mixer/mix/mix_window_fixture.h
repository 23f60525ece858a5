#pragma once

// The main window over a private profile that mixes into a small AVI, with two generated clips
// (red with a 440 Hz tone, then blue with 660 Hz) ready to be listed: the fixture of the tests
// that run whole mixes through the window.

#include "editing/compressors/compressor_registry.h"
#include "editing/probe/duration_probe.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/small_mix_profile.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QSettings>
#include <QStringList>
#include <QTest>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mixer::mix_window_testing {

inline constexpr int kWidth = 160;
inline constexpr int kHeight = 120;

// How long a test waits for a mix of the small clips to end.
inline constexpr int kMixTimeoutMs = 60'000;

// The RGB24 bytes (kWidth x kHeight) of the one frame of `path` that the ffmpeg tool picks with
// `inputOptions` before the input and `outputOptions` after it; nothing when it cannot.
inline std::vector<unsigned char> decodedFrame(const std::string& path,
                                               const std::string& inputOptions,
                                               const std::string& outputOptions,
                                               const test_support::TemporaryFolder& folder) {
    const std::string frame = folder.file("frame.rgb");
    const bool decoded = test_support::runFfmpeg(
        "-y " + inputOptions + " -i " + test_support::shellQuote(path) + " " + outputOptions +
        " -frames:v 1 -f rawvideo -pix_fmt rgb24 " + test_support::shellQuote(frame));
    if (!decoded) {
        return {};
    }
    std::ifstream in(frame, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() != static_cast<std::size_t>(kWidth * kHeight * 3)) {
        return {};
    }
    return bytes;
}

// The fixture; `ClipSeconds` is the length of both clips. A test suite adds its own profile
// values in extraProfileValues().
template <int ClipSeconds>
class TwoClipWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        clips_ = std::make_unique<test_support::TemporaryFolder>();
        ASSERT_TRUE(test_support::makeRedAndBlueClips(
            clips_->file("red.avi"), clips_->file("blue.avi"), ClipSeconds, kWidth, kHeight));
        compressors_ =
            std::make_unique<editing::CompressorRegistry>(editing::CompressorRegistry::discover());
    }
    static void TearDownTestSuite() {
        clips_.reset();
        compressors_.reset();
    }

    virtual void extraProfileValues(QSettings&) {}

    void SetUp() override {
        outputPath = folder.file("mix out.avi");
        test_support::storeSmallMixProfile(outputPath, kWidth, kHeight);
        QSettings profile("Korvane", "orvindel");
        extraProfileValues(profile);
        profile.sync();
        window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, *compressors_);
        window->show();
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    // One of the two generated clips ("red.avi", "blue.avi") by its full path.
    static QString clipPath(const char* name) { return QString::fromStdString(clips_->file(name)); }

    // A left click of the mouse on the window's button `id`, as the user presses it.
    void clickWindowButton(int id) {
        QTest::mouseClick(&window->controls().get<widgets::ImageButton>(id), Qt::LeftButton);
    }

    // Clicks "Add video" (or "Add audio": `button`) and chooses `paths` in the open dialog;
    // returns once the add has ended, as the click does for the user.
    void addThroughTheButton(int button, const QStringList& paths) {
        picker.queueOpenAnswer(paths);
        clickWindowButton(button);
    }

    // Lists the red clip, then the blue one, through "Add video".
    void listBothClips() {
        const std::size_t listed = window->job().videos.size();
        addThroughTheButton(main_window::kAddVideoButton,
                            {clipPath("red.avi"), clipPath("blue.avi")});
        ASSERT_EQ(window->job().videos.size(), listed + 2)
            << prompt.texts().join(" | ").toStdString();
    }

    // The output is as long as the listed videos (their probed lengths, sound included).
    void expectOutputAsLongAsTheListedVideos() {
        const editing::DurationProbe written = editing::probeDuration(outputPath);
        ASSERT_TRUE(written.succeeded());
        RefTime listed = 0;
        for (const auto& video : window->job().videos) {
            listed += video.Duration;
        }
        EXPECT_NEAR(static_cast<double>(written.durationRefTime), static_cast<double>(listed),
                    0.1 * editing::kRefTimePerSecond);
    }

    static inline std::unique_ptr<test_support::TemporaryFolder> clips_;
    static inline std::unique_ptr<editing::CompressorRegistry> compressors_;

    test_support::TemporaryFolder folder;
    std::string outputPath;
    SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    std::unique_ptr<MainWindow> window;
};

}  // namespace mixer::mix_window_testing
