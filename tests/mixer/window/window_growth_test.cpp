// The main window grown by the user: the lists take the room (the video list more), the
// buttons keep their places beside and below the lists, the name columns take the width, and
// the next start opens at the size the user left.
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/window/main_window_rig.h"
#include "widgets/image_button.h"
#include "widgets/multi_line_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace mixer {
namespace {

using namespace main_window;

class WindowGrowthTest : public testing::Test, public test_support::MainWindowRig {
  protected:
    void SetUp() override { QSettings("Korvane", "orvindel").clear(); }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }
    MainWindow& open() {
        window.reset();
        startWindow();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }
    QWidget& control(int id) { return window->controls().get(id); }
};

TEST_F(WindowGrowthTest, ListsTakeTheNewRoomAndControlsKeepTheirPlacesAroundThem) {
    MainWindow& shown = open();
    const QSize base = shown.size();
    ASSERT_EQ(shown.minimumSize(), base);
    const QRect video = control(kVideoList).geometry();
    const QRect audio = control(kAudioList).geometry();
    const QRect deleteAll = control(kDeleteAllButton).geometry();
    const QRect audioDelete = control(kDeleteSelectedAudioButton).geometry();
    const QRect about = control(kAboutButton).geometry();
    const QRect addVideo = control(kAddVideoButton).geometry();
    const int nameColumn = window->controls().get<QTreeWidget>(kVideoList).columnWidth(0);

    shown.resize(base + QSize(200, 150));
    QApplication::processEvents();

    const QRect grownVideo = control(kVideoList).geometry();
    const QRect grownAudio = control(kAudioList).geometry();
    EXPECT_EQ(grownVideo.width(), video.width() + 200);
    EXPECT_EQ(grownAudio.width(), audio.width() + 200);
    EXPECT_EQ(grownVideo.height() + grownAudio.height(), video.height() + audio.height() + 150);
    EXPECT_GT(grownVideo.height() - video.height(), grownAudio.height() - audio.height());
    EXPECT_EQ(grownAudio.top() - grownVideo.bottom(), audio.top() - video.bottom());
    // Beside the lists: same distance to the list's right edge and top.
    EXPECT_EQ(control(kDeleteAllButton).geometry(), deleteAll.translated(200, 0));
    EXPECT_EQ(control(kDeleteSelectedAudioButton).geometry().topLeft() - grownAudio.topRight(),
              audioDelete.topLeft() - audio.topRight());
    // Below the lists: same distance to the bottom; the tool row does not move.
    EXPECT_EQ(control(kAboutButton).geometry(), about.translated(0, 150));
    EXPECT_EQ(control(kAddVideoButton).geometry(), addVideo);
    EXPECT_EQ(window->controls().get<QTreeWidget>(kVideoList).columnWidth(0), nameColumn + 200);

    // Smaller than the template is refused; the next window opens at the size left.
    shown.resize(base - QSize(50, 50));
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), base);
    shown.resize(base + QSize(120, 80));
    QApplication::processEvents();
    MainWindow& reopened = open();
    EXPECT_EQ(reopened.size(), base + QSize(120, 80));
    EXPECT_EQ(control(kVideoList).geometry().width(), video.width() + 120);
}

}  // namespace
}  // namespace mixer
