// Adding many clips through the real "Add video" button and the real file dialog, or a drop
// from the file manager: the files are probed off the window thread behind a progress dialog,
// the window keeps answering, the entries keep the order the user gave, Cancel adds nothing,
// and each row shows its clip's first picture, upright.
#include "mixer/media/adding_progress.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "mixer/window/video_thumbnails.h"
#include "tests/support/active_window.h"
#include "tests/support/event_pump.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/ports/qt_file_picker.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace mixer {
namespace {

using namespace main_window;

constexpr int kClipCount = 24;

// A slow network share cannot be mounted here: the probe of the files named `heldName` waits
// until `released` holds, then probes the real file as every other file is probed.
ProbeBatch::Probe holdingProbe(const QString& heldName,
                               std::shared_ptr<std::atomic<bool>> released) {
    return [heldName, released](const QString& path) {
        while (path.endsWith(heldName) && !*released) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return probeForAdding(path);
    };
}

QProgressDialog* addingProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QString::fromUtf8(kAddingProgressObjectName) &&
            widget->isVisible()) {
            return qobject_cast<QProgressDialog*>(widget);
        }
    }
    return nullptr;
}

class ListAddingTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test_support::TemporaryFolder>();
        test_support::ClipRecipe red;
        red.colour = {220, 20, 20};
        red.seconds = 0.5;
        red.width = 64;
        red.height = 48;
        red.toneHz = 440.0;
        ASSERT_TRUE(test_support::makeClip(folder_->file("clip-00.avi"), red));
        for (int index = 1; index < kClipCount; ++index) {
            std::filesystem::copy_file(folder_->file("clip-00.avi"), folder_->file(name(index)));
        }
        for (const char* held : {"slow.avi", "stuck.avi"}) {
            std::filesystem::copy_file(folder_->file("clip-00.avi"), folder_->file(held));
        }
        // Coded 160x120 with its white half on top; the display matrix turns it a quarter, so
        // it shows 120x160 with the white half on the left.
        const std::string upright = folder_->file("upright.mp4");
        ASSERT_TRUE(test_support::runFfmpeg(
            "-f lavfi -i color=c=red:s=160x120:r=25:d=1 "
            "-vf drawbox=x=0:y=0:w=160:h=60:color=white:t=fill -c:v libx264 -pix_fmt yuv420p " +
            test_support::shellQuote(upright)));
        ASSERT_TRUE(test_support::runFfmpeg("-i " + test_support::shellQuote(upright) +
                                            " -c copy -metadata:s:v:0 rotate=90 " +
                                            test_support::shellQuote(folder_->file("phone.mp4"))));
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static std::string name(int index) {
        return QStringLiteral("clip-%1.avi").arg(index, 2, 10, QLatin1Char('0')).toStdString();
    }

    void SetUp() override {
        QSettings("Korvane", "orvindel").clear();
        store.write(settings::kLastPhotoFolder,
                    QString::fromStdString(folder_->path().string()) + "/");
        window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, compressors);
        ASSERT_TRUE(test_support::showActive(*window));
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    // Presses "Add video" and types `names` (quoted, as the dialog takes several) into the
    // real file dialog; returns once the add has ended.
    void addThroughTheDialog(const QStringList& names) {
        QString typed;
        for (const QString& file : names) {
            typed += QStringLiteral("\"%1\" ").arg(file);
        }
        const int steps = test_support::runWithModalScript(
            [&] {
                QTest::mouseClick(&window->controls().get<widgets::ImageButton>(kAddVideoButton),
                                  Qt::LeftButton);
            },
            {{test_support::fileDialogListing(QStringLiteral("clip-00.avi")),
              [typed](QWidget& modal) { test_support::typeNameAndPressEnter(modal, typed); }}});
        EXPECT_EQ(steps, 1);
    }

    // Drops `names` from the file manager below the video list's rows, through the window as
    // the window system delivers a drag; returns once the add has ended.
    void dropOnTheVideoList(const QStringList& names) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : names) {
            urls << QUrl::fromLocalFile(QString::fromStdString(folder_->file(file.toStdString())));
        }
        data.setUrls(urls);
        const QPointF point(videoList().viewport()->mapTo(window.get(), QPoint(10, 5)));
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &dropped);
    }

    QTreeWidget& videoList() { return window->controls().get<QTreeWidget>(kVideoList); }
    QImage rowPicture(int row) {
        return videoList().topLevelItem(row)->icon(0).pixmap(VideoThumbnails::kSize).toImage();
    }

    static std::unique_ptr<test_support::TemporaryFolder> folder_;
    SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::QtFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    editing::CompressorRegistry compressors{{}, {}};
    std::unique_ptr<MainWindow> window;
};

std::unique_ptr<test_support::TemporaryFolder> ListAddingTest::folder_;

bool near(QRgb pixel, int red, int green, int blue) {
    constexpr int kTolerance = 60;
    return std::abs(qRed(pixel) - red) < kTolerance &&
           std::abs(qGreen(pixel) - green) < kTolerance &&
           std::abs(qBlue(pixel) - blue) < kTolerance;
}

TEST_F(ListAddingTest, ClipsChosenInTheDialogAreAddedInOrderAndShowTheirFirstPictures) {
    // Typed in the order the dialog lists them (it hands over the names it selects in its
    // list in the list's order).
    QStringList names;
    for (int index = 0; index < kClipCount; ++index) {
        names << QString::fromStdString(name(index));
    }
    names << "phone.mp4";
    addThroughTheDialog(names);

    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
    EXPECT_EQ(addingProgress(), nullptr);
    ASSERT_EQ(videoList().topLevelItemCount(), names.size());
    for (int row = 0; row < names.size(); ++row) {
        EXPECT_EQ(videoList().topLevelItem(row)->text(0), names[row]) << row;
    }
    EXPECT_EQ(window->mediaLists().undoStack().count(), 1) << "one step for the whole add";

    // Each row shows its clip's first picture: red clips, and the phone clip upright (white
    // on the left, red on the right, black bars beside it).
    auto* thumbnails = videoList().findChild<VideoThumbnails*>();
    ASSERT_NE(thumbnails, nullptr);
    ASSERT_TRUE(test_support::pumpUntil(
        [&] {
            return thumbnails->picture(folder_->file("phone.mp4"), 0).has_value() &&
                   thumbnails->picture(folder_->file(name(0)), 0).has_value();
        },
        30'000));
    ASSERT_TRUE(test_support::pumpUntil(
        [&] { return thumbnails->picture(folder_->file(name(kClipCount - 1)), 0).has_value(); },
        30'000));
    for (int row : {0, kClipCount - 1}) {
        const QImage picture = rowPicture(row);
        ASSERT_EQ(picture.size(), VideoThumbnails::kSize);
        EXPECT_TRUE(near(picture.pixel(16, 9), 220, 20, 20)) << row;
    }
    const QImage phone = rowPicture(kClipCount);
    EXPECT_TRUE(near(phone.pixel(12, 9), 255, 255, 255));
    EXPECT_TRUE(near(phone.pixel(19, 9), 255, 0, 0));
    EXPECT_TRUE(near(phone.pixel(2, 9), 0, 0, 0));
    EXPECT_TRUE(near(phone.pixel(29, 9), 0, 0, 0));
}

TEST_F(ListAddingTest, TheWindowAnswersWhileASlowFileIsProbedAndTheOrderStays) {
    auto released = std::make_shared<std::atomic<bool>>(false);
    window->mediaAdder().setProbe(holdingProbe("slow.avi", released));
    QStringList names{"slow.avi"};
    for (int index = 0; index < kClipCount; ++index) {
        names << QString::fromStdString(name(index));
    }

    // The window's own timer keeps firing while the slow file holds the add up; the file is
    // released once the others are probed and the timer has fired often meanwhile.
    int ticks = 0;
    int ticksWhileProgressShown = 0;
    int highestProgress = -1;
    int progressMaximum = 0;
    bool progressModal = true;
    QTimer heartbeat(window.get());
    heartbeat.setInterval(10);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        ++ticks;
        if (QProgressDialog* progress = addingProgress()) {
            ++ticksWhileProgressShown;
            highestProgress = std::max(highestProgress, progress->value());
            progressMaximum = progress->maximum();
            progressModal = progress->isModal();
            if (progress->value() == names.size() - 1 && ticksWhileProgressShown >= 20) {
                *released = true;
            }
        }
        if (ticks > 3000) {
            *released = true;  // the progress never showed as expected: fail, not hang
        }
    });
    heartbeat.start();
    dropOnTheVideoList(names);
    heartbeat.stop();

    EXPECT_GE(ticksWhileProgressShown, 20);
    EXPECT_EQ(progressMaximum, names.size());
    EXPECT_EQ(highestProgress, names.size() - 1) << "every file but the slow one was probed";
    EXPECT_FALSE(progressModal);
    EXPECT_EQ(addingProgress(), nullptr);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
    // The slow file, probed last, is still the first entry.
    ASSERT_EQ(videoList().topLevelItemCount(), names.size());
    for (int row = 0; row < names.size(); ++row) {
        EXPECT_EQ(videoList().topLevelItem(row)->text(0), names[row]) << row;
    }
}

TEST_F(ListAddingTest, CancelWhileProbingAddsNoneOfTheFiles) {
    auto released = std::make_shared<std::atomic<bool>>(false);
    window->mediaAdder().setProbe(holdingProbe("stuck.avi", released));
    QStringList names;
    for (int index = 0; index < 6; ++index) {
        names << QString::fromStdString(name(index));
    }
    names << "stuck.avi";
    bool cancelPressed = false;
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QProgressDialog* progress = addingProgress();
        if (progress == nullptr || cancelPressed || progress->value() < 6) {
            return;
        }
        auto* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "Cancel");
        cancelPressed = true;
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    user.start();
    dropOnTheVideoList(names);
    user.stop();
    *released = true;

    EXPECT_TRUE(cancelPressed);
    EXPECT_EQ(addingProgress(), nullptr);
    EXPECT_TRUE(window->job().videos.empty());
    EXPECT_TRUE(window->job().audios.empty());
    EXPECT_EQ(window->mediaLists().undoStack().count(), 0);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();

    // The window adds again afterwards.
    addThroughTheDialog({QString::fromStdString(name(0))});
    EXPECT_EQ(window->job().videos.size(), 1u);
}

}  // namespace
}  // namespace mixer
