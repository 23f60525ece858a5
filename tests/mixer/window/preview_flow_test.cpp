// The Preview command on the real main window, with a private sound server: Space in the video
// list opens the preview at the selected clip, the controls play, pause, step and seek, none
// of which leaves a thread of the player running, and a Mix started while previewing closes
// the preview and writes the whole file.

#include "editing/probe/duration_probe.h"
#include "mixer/preview/preview_picture_view.h"
#include "mixer/preview/preview_window.h"
#include "mixer/timeline/placement.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/private_pulse_daemon.h"
#include "tests/support/small_mix_profile.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace mixer {
namespace {

using namespace main_window;
using test_support::TemporaryFolder;

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr double kClipSeconds = 3.0;

// Processes events until `condition` holds; false when it did not within `timeoutMs`.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 60'000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

// The number of threads once it has stayed the same for 200 ms (a thread that has shown its
// last picture may still be on its way out).
int settledThreadCount() {
    int count = threadCount();
    for (int attempt = 0; attempt < 50; ++attempt) {
        QTest::qWait(200);
        const int now = threadCount();
        if (now == count) {
            break;
        }
        count = now;
    }
    return count;
}

// The threads of this process settle at `expected` (a joined thread may linger a moment).
bool threadsSettleAt(int expected) {
    return waitUntil([&] { return threadCount() == expected; }, 5'000);
}

QRgb centreOf(const QImage& image) {
    return image.pixel(image.width() / 2, image.height() / 2);
}

// The point on `slider`'s groove that a user clicks to put the handle's middle at `value`, from
// the style's own geometry.
QPoint grooveClickPoint(const QSlider& slider, int value) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    const QRect groove = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderGroove, &slider);
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, &slider);
    const int span = groove.width() - handle.width();
    const int handleLeft = groove.x() + QStyle::sliderPositionFromValue(
                                            slider.minimum(), slider.maximum(), value, span);
    return {handleLeft + (handle.center() - handle.topLeft()).x(), groove.center().y()};
}

// Points this process's sound clients at `address` for its life.
class ServerAddressOverride {
  public:
    explicit ServerAddressOverride(const std::string& address) : saved_(qgetenv("PULSE_SERVER")) {
        qputenv("PULSE_SERVER", QByteArray::fromStdString(address));
    }
    ~ServerAddressOverride() {
        if (saved_.isNull()) {
            qunsetenv("PULSE_SERVER");
        } else {
            qputenv("PULSE_SERVER", saved_);
        }
    }

  private:
    QByteArray saved_;
};

// The real main window over a profile whose output is a small AVI in a private folder, with a
// red and a blue clip (3 s each, with a tone) added through "Add video" in that order.
class PreviewFlow : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::makeRedAndBlueClips(
            folder.file("red.avi"), folder.file("blue.avi"), kClipSeconds, kWidth, kHeight));

        outputPath = folder.file("mix out.avi");
        test_support::storeSmallMixProfile(outputPath, kWidth, kHeight);
        window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, compressors);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        for (const char* name : {"red.avi", "blue.avi"}) {
            addVideo(name);
        }
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    // Adds the clip `name` at the end of the video list: a click on "Add video", the clip
    // chosen in the open dialog.
    void addVideo(const char* name) {
        const std::size_t listed = window->job().videos.size();
        picker.queueOpenAnswer({QString::fromStdString(folder.file(name))});
        QTest::mouseClick(&window->controls().get<widgets::ImageButton>(kAddVideoButton),
                          Qt::LeftButton);
        ASSERT_EQ(window->job().videos.size(), listed + 1)
            << prompt.texts().join(" | ").toStdString();
    }

    TemporaryFolder folder;
    std::string outputPath;
    const editing::CompressorRegistry compressors = editing::CompressorRegistry::discover();
    SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    std::unique_ptr<MainWindow> window;
};

TEST_F(PreviewFlow, PlaysPausesSeeksAndGivesWayToMix) {
    test_support::PrivatePulseDaemon daemon({});
    ASSERT_TRUE(daemon.isRunning()) << daemon.error();
    MainWindow& window = *this->window;
    const int threadsWithoutPreview = settledThreadCount();
    const auto settingsBefore = QSettings("Korvane", "orvindel").allKeys();

    // Space on the selected blue clip: the preview opens on its first frame, paused.
    auto& videoList = window.controls().get<QTreeWidget>(kVideoList);
    videoList.setCurrentItem(videoList.topLevelItem(1));
    videoList.setFocus();
    QTest::keyClick(&videoList, Qt::Key_Space);
    PreviewController& preview = window.previewController();
    ASSERT_TRUE(preview.isOpen());
    PreviewWindow& previewWindow = *preview.window();
    const RefTime total = totalVideoLength(window.job().videos);
    const RefTime blueStart = placeVideoClips(window.job().videos, total)[1].start;
    const std::int64_t blueFirstFrame =
        (blueStart * 25 + editing::kRefTimePerSecond - 1) / editing::kRefTimePerSecond;
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Exact;
    }));
    EXPECT_EQ(previewWindow.shownFrame()->frameIndex, blueFirstFrame);
    EXPECT_GT(qBlue(centreOf(previewWindow.pictureView().image())), 150);
    EXPECT_LT(qRed(centreOf(previewWindow.pictureView().image())), 100);
    EXPECT_EQ(previewWindow.timeLabel().text(), QStringLiteral("00:00:03 / 00:00:06"));
    EXPECT_EQ(previewWindow.noticeLabel().text(), QString());  // the sound server answered
    const int threadsPaused = settledThreadCount();  // the sound server's connection included

    // Play: frames follow one another; Pause ends every playing thread.
    QTest::mouseClick(&previewWindow.playButton(), Qt::LeftButton);
    EXPECT_EQ(previewWindow.playButton().text(), QStringLiteral("Pause"));
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Playing &&
               shown->frameIndex >= blueFirstFrame + 10;
    }));
    EXPECT_GT(threadCount(), threadsPaused);
    QTest::mouseClick(&previewWindow.playButton(), Qt::LeftButton);
    EXPECT_EQ(previewWindow.playButton().text(), QStringLiteral("Play"));
    EXPECT_TRUE(threadsSettleAt(threadsPaused));

    // One frame forward, exactly.
    QApplication::processEvents();
    const std::int64_t pausedAt = preview.player()->position() * 25 / editing::kRefTimePerSecond;
    QTest::mouseClick(&previewWindow.stepForwardButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Exact &&
               shown->frameIndex == pausedAt + 1;
    }));
    EXPECT_TRUE(threadsSettleAt(threadsPaused));

    // Dragging the slider back into the red clip: the exact frame follows the key frame.
    QSlider& slider = previewWindow.positionSlider();
    slider.setSliderDown(true);
    slider.setSliderPosition(20);
    slider.setSliderDown(false);
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Exact && shown->frameIndex == 20;
    }));
    EXPECT_GT(qRed(centreOf(previewWindow.pictureView().image())), 150);
    EXPECT_TRUE(threadsSettleAt(threadsPaused));

    // Mix while playing: the preview closes first, then the whole file is written.
    QTest::mouseClick(&previewWindow.playButton(), Qt::LeftButton);
    ASSERT_TRUE(preview.player()->isPlaying());
    QTest::mouseClick(&window.controls().get<widgets::ImageButton>(kMixButton), Qt::LeftButton);
    EXPECT_FALSE(preview.isOpen());
    ASSERT_TRUE(waitUntil([&] { return !window.job().Converting; }));
    EXPECT_TRUE(threadsSettleAt(threadsWithoutPreview));
    const editing::DurationProbe written = editing::probeDuration(outputPath);
    ASSERT_TRUE(written.succeeded());
    EXPECT_NEAR(static_cast<double>(written.durationRefTime) / editing::kRefTimePerSecond,
                static_cast<double>(total) / editing::kRefTimePerSecond, 0.05);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
    // The preview wrote nothing: the profile holds the same keys, the folder only the mix.
    EXPECT_EQ(QSettings("Korvane", "orvindel").allKeys(), settingsBefore);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    EXPECT_EQ(files, 3);  // red.avi, blue.avi, the mix
}

// A click on the slider's groove at a quarter, half and three quarters shows exactly the frame
// there; during play the click moves the playing position and play goes on.
TEST_F(PreviewFlow, AClickOnTheSliderGrooveSeeksExactlyThere) {
    const ServerAddressOverride noServer("unix:" + folder.file("none"));
    QTest::mouseClick(&window->controls().get<widgets::ImageButton>(kPreviewButton),
                      Qt::LeftButton);
    PreviewController& preview = window->previewController();
    ASSERT_TRUE(preview.isOpen());
    PreviewWindow& previewWindow = *preview.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&previewWindow));
    QSlider& slider = previewWindow.positionSlider();
    ASSERT_GT(slider.maximum(), 140);  // about 6 s at 25 frames per second
    const auto shownExactly = [&](std::int64_t frame) {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Exact &&
               shown->frameIndex == frame;
    };
    ASSERT_TRUE(waitUntil([&] { return shownExactly(0); }));

    for (const int percent : {25, 50, 75}) {
        SCOPED_TRACE(percent);
        const int frame = slider.maximum() * percent / 100;
        QTest::mouseClick(&slider, Qt::LeftButton, {}, grooveClickPoint(slider, frame));
        EXPECT_EQ(slider.value(), frame);
        EXPECT_TRUE(waitUntil([&] { return shownExactly(frame); }, 10'000));
    }
    EXPECT_GT(qBlue(centreOf(previewWindow.pictureView().image())), 150);  // the blue clip

    QTest::mouseClick(&previewWindow.playButton(), Qt::LeftButton);
    ASSERT_TRUE(preview.player()->isPlaying());
    const int quarter = slider.maximum() / 4;
    QTest::mouseClick(&slider, Qt::LeftButton, {}, grooveClickPoint(slider, quarter));
    EXPECT_TRUE(preview.player()->isPlaying());
    EXPECT_EQ(previewWindow.playButton().text(), QStringLiteral("Pause"));
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Playing &&
               shown->frameIndex >= quarter && shown->frameIndex < quarter + 25;
    }));
    EXPECT_GT(qRed(centreOf(previewWindow.pictureView().image())), 150);  // the red clip again
    previewWindow.close();
    EXPECT_TRUE(waitUntil([&] { return !preview.isOpen(); }));
}

// Without a sound server the picture plays alone, paced by the system clock, with a notice; a
// clip added while the preview is open is in the time line from the next Play on.
TEST_F(PreviewFlow, PlaysPictureOnlyWithoutServerAndRebuildsOnPlay) {
    const ServerAddressOverride noServer("unix:" + folder.file("none"));
    QTest::mouseClick(&window->controls().get<widgets::ImageButton>(kPreviewButton),
                      Qt::LeftButton);
    PreviewController& preview = window->previewController();
    ASSERT_TRUE(preview.isOpen());
    PreviewWindow& previewWindow = *preview.window();
    EXPECT_EQ(previewWindow.noticeLabel().text(), QString::fromUtf8(kNoSoundServerNotice));
    EXPECT_EQ(previewWindow.timeLabel().text(), QStringLiteral("00:00:00 / 00:00:06"));

    addVideo("red.avi");
    QTest::mouseClick(&previewWindow.playButton(), Qt::LeftButton);
    EXPECT_EQ(previewWindow.timeLabel().text(), QStringLiteral("00:00:00 / 00:00:09"));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil([&] {
        const auto shown = previewWindow.shownFrame();
        return shown && shown->kind == editing::PreviewFrameKind::Playing &&
               shown->frameIndex >= 25;
    }));
    // 25 frames are one second of the system clock: not sooner.
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(950));
    EXPECT_EQ(previewWindow.noticeLabel().text(), QString::fromUtf8(kNoSoundServerNotice));
    previewWindow.close();
    EXPECT_TRUE(waitUntil([&] { return !preview.isOpen(); }));
}

}  // namespace
}  // namespace mixer
