// The main window as users meet it: where the focus goes after clicks and Tabs, what Enter
// and Space press, what a keyboard user sees and what assistive technology reads, list rows
// that show whole names, the progress of a mix and the offer to play its result.
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/main_window_template.h"
#include "mixer/window/mix_estimate.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/window/main_window_rig.h"
#include "tests/support/active_window.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace mixer {
namespace {

using namespace main_window;

class MainWindowUsabilityTest : public testing::Test, public test_support::MainWindowRig {
  protected:
    void SetUp() override {
        QSettings profile("Korvane", "orvindel");
        profile.clear();
        profile.setValue("Settings/OutputName", QString::fromStdString(folder.file("out.avi")));
        profile.setValue("Settings/OutputWidth", 64);
        profile.setValue("Settings/OutputHigh", 48);
        profile.sync();
        startWindow();
        ASSERT_TRUE(test_support::showActive(*window));
    }
    void TearDown() override {
        if (window->job().Converting) {
            window->mixController().StopRender();
        }
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    void listAClip() {
        test_support::ClipRecipe clip;
        clip.seconds = 2.0;
        clip.width = 64;
        clip.height = 48;
        const std::string path = folder.file("clip.avi");
        ASSERT_TRUE(test_support::makeClip(path, clip));
        picker.queueOpenAnswer({QString::fromStdString(path)});
        QTest::mouseClick(&button(kAddVideoButton), Qt::LeftButton);
        ASSERT_EQ(window->job().videos.size(), 1u) << prompt.texts().join(" | ").toStdString();
    }

    widgets::ImageButton& button(int id) {
        return window->controls().get<widgets::ImageButton>(id);
    }
    // Presses `key` where the keyboard focus is, as the user's keyboard does.
    void press(Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window.get(), key);
    }

    test_support::TemporaryFolder folder;
};

TEST_F(MainWindowUsabilityTest, EnterAfterClickingMixReachesTheCloseCheckNotStop) {
    listAClip();

    QTest::mouseClick(&button(kMixButton), Qt::LeftButton);
    ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
    EXPECT_NE(QApplication::focusWidget(), &button(kMixButton));

    // The render's completion arrives only through the event loop, which has not run since.
    press(Qt::Key_Return);
    EXPECT_EQ(prompt.texts(), QStringList{"Please first stop Convert"});
    EXPECT_TRUE(window->job().Converting);
    EXPECT_EQ(button(kMixButton).text(), "Stop");
    EXPECT_TRUE(window->isVisible());

    QTest::mouseClick(&button(kMixButton), Qt::LeftButton);  // "Stop" by mouse still works
    EXPECT_FALSE(window->job().Converting);
    EXPECT_FALSE(window->playMixButton().isVisible()) << "a stopped mix is no result to play";
}

TEST_F(MainWindowUsabilityTest, TabReachesEveryButtonWhichShowsItsFocusAndSpaceOrEnterPressIt) {
    // Start-up: the focus is on the default button, Exit, drawn with its focus rectangle.
    ASSERT_EQ(QApplication::focusWidget(), &button(kExitButton));
    for (const ButtonDecoration& decoration : buttonDecorations()) {
        EXPECT_EQ(button(decoration.controlId).focusPolicy(), Qt::TabFocus);
        EXPECT_TRUE(button(decoration.controlId).drawsFlatFocus()) << decoration.controlId;
    }
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &button(kPreviewButton));  // Exit's neighbour
    for (int tab = 0; tab < 9; ++tab) {
        press(Qt::Key_Tab);
    }
    ASSERT_EQ(QApplication::focusWidget(), &button(kHomepageButton));
    const QImage focused = button(kHomepageButton).grab().toImage();
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &button(kAboutButton));  // eleven Tabs
    EXPECT_NE(button(kHomepageButton).grab().toImage(), focused) << "focus was not drawn";
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &button(kAddVideoButton));  // twelve Tabs

    // Space and Enter press the tabbed-to button; a mouse click does not take the focus.
    press(Qt::Key_Space);
    press(Qt::Key_Return);
    EXPECT_EQ(picker.openRequests().size(), 2);
    QTest::mouseClick(&button(kAddAudioButton), Qt::LeftButton);
    EXPECT_EQ(picker.openRequests().size(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &button(kAddVideoButton));
}

TEST_F(MainWindowUsabilityTest, EveryControlHasAnAccessibleName) {
    const auto nameOf = [](QWidget& widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
        return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
    };
    for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->focusPolicy() != Qt::NoFocus && child->isVisible()) {
            EXPECT_FALSE(nameOf(*child).isEmpty()) << child->objectName().toStdString();
        }
    }
    EXPECT_EQ(nameOf(button(kAddVideoButton)), "Add video");
    EXPECT_EQ(nameOf(button(kHelpButton)), "Help");
    EXPECT_EQ(nameOf(button(kDeleteAllButton)), "Delete all video and audio items");
    EXPECT_EQ(nameOf(window->controls().get(kVideoList)), "Video List");
}

TEST_F(MainWindowUsabilityTest, ACompletedMixShowsItsProgressAndOffersToPlayTheResult) {
    listAClip();
    QTest::mouseClick(&button(kMixButton), Qt::LeftButton);
    ASSERT_TRUE(window->job().Converting);
    EXPECT_TRUE(window->mixEstimateLabel().isVisible());
    EXPECT_FALSE(window->playMixButton().isVisible());
    window->onProgressTick();
    // The elapsed-time text is unchanged and stays clear of the bar; the estimate fits its
    // label even for long mixes.
    EXPECT_EQ(window->statusText(), "Please wait... Used Time: 00:00:01");
    // Screen readers read the bar by its name and value, the status line as a status bar
    // whose name is the text shown.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&window->mixProgressBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "Mix progress");
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 1000);
    QAccessibleInterface* statusLine =
        QAccessible::queryAccessibleInterface(&window->controls().get(kStatusLine));
    ASSERT_NE(statusLine, nullptr);
    EXPECT_EQ(statusLine->role(), QAccessible::StatusBar);
    EXPECT_EQ(statusLine->text(QAccessible::Name), "Please wait... Used Time: 00:00:01");
    const auto& status = window->controls().get(kStatusLine);
    EXPECT_LT(status.x() + 2 + QFontMetrics(status.font()).horizontalAdvance(window->statusText()),
              window->mixProgressBar().x());
    const QLabel& estimate = window->mixEstimateLabel();
    EXPECT_LE(QFontMetrics(estimate.font()).horizontalAdvance("13:59:00 left, 12.5x real time"),
              estimate.contentsRect().width());

    QElapsedTimer clock;
    clock.start();
    while (window->job().Converting && clock.elapsed() < 60'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_FALSE(window->job().Converting);
    EXPECT_FALSE(window->mixEstimateLabel().isVisible());
    ASSERT_TRUE(window->playMixButton().isVisible());
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
    QTest::mouseClick(&window->playMixButton(), Qt::LeftButton);
    ASSERT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_EQ(launcher.openedAddresses().front(),
              QUrl::fromLocalFile(QString::fromStdString(folder.file("out.avi"))));
    EXPECT_TRUE(launcher.programStarts().isEmpty());  // the desktop's player, never a shell
}

TEST(MixEstimate, TimeLeftAndSpeedFollowTheRateSoFarAfterTheFirstSeconds) {
    constexpr editing::RefTime kSecond = editing::kRefTimePerSecond;
    struct Case {
        editing::RefTime written;
        editing::RefTime duration;
        std::int64_t elapsedMs;
        const char* expected;
    };
    const Case cases[] = {
        {10 * kSecond, 60 * kSecond, 2'000, ""},  // too early to tell
        {0, 60 * kSecond, 5'000, ""},             // nothing written yet
        {10 * kSecond, 60 * kSecond, 5'000, "0:25 left, 2.0x real time"},
        {30 * kSecond, 7200 * kSecond, 60'000, "3:59:00 left, 0.5x real time"},
        {60 * kSecond, 60 * kSecond, 4'000, "0:00 left, 15.0x real time"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mixEstimateText(c.written, c.duration, c.elapsedMs), QString(c.expected))
            << c.expected;
    }
}

TEST_F(MainWindowUsabilityTest, ListRowsShowTheUnderscoresOfNames) {
    // The audio list: its name cell holds the text alone (a video row's begins with the
    // clip's picture), and both lists draw their rows alike.
    window->mediaLists().appendAudio({{"/clips/A_h264.mp4", 10'000'000}});
    auto& list = window->controls().get<QTreeWidget>(kAudioList);
    const QRect row = list.visualItemRect(list.topLevelItem(0));
    const QFontMetrics metrics(list.font());
    EXPECT_GE(row.height(), metrics.lineSpacing() + 1);

    // The underscore is the only ink between "A" and "h": it must be drawn, not covered by
    // the row's grid line or cut by the row's edge.
    const QImage image = list.viewport()->grab(row).toImage();
    const int nameWidth = metrics.horizontalAdvance(QStringLiteral("A_h264.mp4"));
    const int cellWidth = list.columnWidth(0);
    const int nameLeft = (cellWidth - nameWidth) / 2;
    const int underscoreLeft = nameLeft + metrics.horizontalAdvance(QStringLiteral("A")) + 1;
    const int underscoreRight = nameLeft + metrics.horizontalAdvance(QStringLiteral("A_")) - 2;
    ASSERT_LT(underscoreLeft, underscoreRight);
    int darkPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = underscoreLeft; x <= underscoreRight; ++x) {
            darkPixels += qGray(image.pixel(x * image.width() / row.width(), y)) < 96 ? 1 : 0;
        }
    }
    EXPECT_GT(darkPixels, 0) << "the underscore of A_h264.mp4 is not drawn";
}

}  // namespace
}  // namespace mixer
