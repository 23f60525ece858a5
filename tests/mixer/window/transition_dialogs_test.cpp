// Transitions chosen in the window: the defaults dialog (context menu, output options) and the
// per-clip dialog (right-click, Shift+F10), driven with real mouse and key events, down to the
// shape the chosen effect leaves in the mixed file.

#include "editing/transitions/transition_catalog.h"
#include "mixer/dialogs/clip_transition_dialog.h"
#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/dialogs/transition_defaults_dialog.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/popup_menu_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

namespace mixer {
namespace {

using namespace main_window;
using test_support::TemporaryFolder;

using mix_window_testing::kHeight;
using mix_window_testing::kMixTimeoutMs;
using mix_window_testing::kWidth;

void click(QWidget& target) {
    QTest::mouseClick(&target, Qt::LeftButton);
}

// Replaces the text of `box` as a user does: select all, then type.
void retype(QLineEdit& box, const QString& text) {
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&box, text);
}

void clickEffect(QListWidget& list, int effect) {
    QListWidgetItem* item = list.item(effect);
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      list.visualItemRect(item).center());
}

// Runs `steps` on the modal dialog of type Dialog as soon as it is shown (the calling code is
// about to open it with exec()).
template <typename Dialog>
void whenShown(std::function<void(Dialog&)> steps) {
    QTimer::singleShot(10, [steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            whenShown<Dialog>(steps);
            return;
        }
        steps(*dialog);
    });
}

// The RGB pixels of frame `frameNumber` of `path`, or nothing.
std::vector<unsigned char> frameAt(const std::string& path, int frameNumber,
                                   const TemporaryFolder& folder) {
    return mix_window_testing::decodedFrame(
        path, "",
        "-vf " + test_support::shellQuote("select=eq(n\\," + std::to_string(frameNumber) + ")") +
            " -vsync 0",
        folder);
}

// Which pixels show B (blue) when `effect` is half way from flat red into flat blue, drawn by
// the editing layer's own effect at the output's size.
std::vector<bool> expectedShareOfB(int effect, double progress) {
    const auto setup = editing::transitionSetupForEffect(effect, kWidth, kHeight, 0);
    editing::Picture red(kWidth, kHeight);
    red.fillRgb(220, 20, 20);
    editing::Picture blue(kWidth, kHeight);
    blue.fillRgb(20, 20, 220);
    editing::Picture out(kWidth, kHeight);
    editing::createTransition(*setup)->blend(red.view(), blue.view(), progress, out.view());
    std::vector<bool> showsB;
    const editing::ConstPlaneView luma = out.view().planes[editing::kPlaneY];
    std::uint8_t redLuma = 0, blueLuma = 0, u = 0, v = 0;
    editing::rgbToYuv(220, 20, 20, redLuma, u, v);
    editing::rgbToYuv(20, 20, 220, blueLuma, u, v);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int sample = luma.row(y)[x];
            showsB.push_back(std::abs(sample - blueLuma) < std::abs(sample - redLuma));
        }
    }
    return showsB;
}

// Two three-second clips, and new entries get "None" with a 2 s transition.
class TransitionDialogsTest : public mix_window_testing::TwoClipWindowTest<3> {
  protected:
    void extraProfileValues(QSettings& profile) override {
        profile.setValue("TransitionSettings/TransitionDuration", 2);
    }
    QTreeWidget& videoList() { return window->controls().get<QTreeWidget>(kVideoList); }
    QString transitionCell(int row) { return videoList().topLevelItem(row)->text(2); }
};

TEST_F(TransitionDialogsTest, AnEffectChosenForOneClipIsTheShapeHalfWayThroughItsTransition) {
    listBothClips();
    ASSERT_EQ(videoList().columnCount(), 3);
    EXPECT_EQ(videoList().headerItem()->text(2), "Transition");
    EXPECT_EQ(transitionCell(0), "None");
    EXPECT_EQ(transitionCell(1), "None");

    // A right-click on the first row opens the list's menu, whose first item opens the dialog
    // on the row's values; Cancel changes nothing.
    const QRect firstRow = videoList().visualItemRect(videoList().topLevelItem(0));
    bool cancelled = false;
    whenShown<ClipTransitionDialog>([&](ClipTransitionDialog& dialog) {
        EXPECT_EQ(dialog.controls().get<QListWidget>(clip_transition::kEffectList).currentRow(), 0);
        clickEffect(dialog.controls().get<QListWidget>(clip_transition::kEffectList), 5);
        click(dialog.controls().get<QPushButton>(clip_transition::kCancelButton));
        cancelled = true;
    });
    const test_support::MenuSeen menu = test_support::chooseFromMenu(
        [&] { test_support::rightClick(videoList(), firstRow.center()); }, "Transition...");
    EXPECT_EQ(menu.defaultText, "Transition...");
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(window->job().videos[0].TransitionEffect, 0);
    EXPECT_EQ(transitionCell(0), "None");

    // Shift+F10 on the second row, then the menu's first item: Iris for 1.2 s. The preview shows
    // the clips' own frames once they are decoded, and follows the effect list at once.
    QTest::mouseClick(videoList().viewport(), Qt::LeftButton, Qt::NoModifier,
                      videoList().visualItemRect(videoList().topLevelItem(1)).center());
    bool chosen = false;
    whenShown<ClipTransitionDialog>([&](ClipTransitionDialog& dialog) {
        auto& effects = dialog.controls().get<QListWidget>(clip_transition::kEffectList);
        auto& duration = dialog.controls().get<QLineEdit>(clip_transition::kDurationBox);
        EXPECT_EQ(duration.text(), "2.000");
        EXPECT_GE(dialog.preview().width(), 160);
        EXPECT_GE(dialog.preview().height(), 90);
        EXPECT_TRUE(test_support::pumpUntil([&] { return dialog.showsExactStills(); }, 20'000));
        EXPECT_TRUE(dialog.preview().showsGivenPictures());
        clickEffect(effects, 1);
        EXPECT_EQ(dialog.preview().effect(), 1);
        retype(duration, "-1");
        click(dialog.controls().get<QPushButton>(clip_transition::kOkButton));
        EXPECT_EQ(prompt.texts(), QStringList{"Transition duration should not be less than 0"});
        retype(duration, "1.2");
        click(dialog.controls().get<QPushButton>(clip_transition::kOkButton));
        chosen = true;
    });
    test_support::chooseFromMenu(
        [&] { QTest::keyClick(&videoList(), Qt::Key_F10, Qt::ShiftModifier); }, "Transition...");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(window->job().videos[1].TransitionEffect, 1);
    EXPECT_EQ(window->job().videos[1].TransitionDuration, 12'000'000);
    EXPECT_EQ(transitionCell(1), "Iris, 1.200 s");
    EXPECT_EQ(window->job().videos[0].TransitionEffect, 0);

    // The mix: clip 0 (2 s transition) covers [0, 4 s], clip 1 starts at 2 s, so its
    // transition spans [2 s, 3.2 s] and frame 65 (2.6 s) is its midpoint.
    prompt.clear();
    clickWindowButton(kMixButton);
    ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
    ASSERT_TRUE(test_support::pumpUntil([&] { return !window->job().Converting; }, kMixTimeoutMs));
    const std::vector<unsigned char> frame = frameAt(outputPath, 65, folder);
    ASSERT_FALSE(frame.empty());
    const std::vector<bool> iris = expectedShareOfB(1, 0.5);
    const std::vector<bool> wipe = expectedShareOfB(12, 0.5);
    int agreeWithIris = 0, agreeWithWipe = 0, blue = 0;
    for (std::size_t pixel = 0; pixel < iris.size(); ++pixel) {
        const bool showsB = frame[pixel * 3 + 2] > frame[pixel * 3];
        blue += showsB ? 1 : 0;
        agreeWithIris += showsB == iris[pixel] ? 1 : 0;
        agreeWithWipe += showsB == wipe[pixel] ? 1 : 0;
    }
    const double pixels = static_cast<double>(iris.size());
    EXPECT_GT(agreeWithIris / pixels, 0.93);
    EXPECT_LT(agreeWithWipe / pixels, 0.8);
    EXPECT_GT(blue / pixels, 0.1);
    EXPECT_LT(blue / pixels, 0.9);
}

TEST_F(TransitionDialogsTest,
       DefaultsDialogWritesTheKeysAndNewEntriesFollowThemCancelWritesNothing) {
    // From the window's context menu: "Same", "Heart", 3 s, after refused lengths.
    bool accepted = false;
    whenShown<TransitionDefaultsDialog>([&](TransitionDefaultsDialog& dialog) {
        auto& type = dialog.controls().get<QComboBox>(transition_defaults::kTypeList);
        EXPECT_EQ(type.currentIndex(), 2);
        type.setFocus();
        QTest::keyClick(&type, Qt::Key_Up);    // "Sequence"
        QTest::keyClick(&type, Qt::Key_Down);  // "Same"
        EXPECT_EQ(type.currentText(), "Same");
        const QImage before = dialog.preview().frame();
        clickEffect(dialog.controls().get<QListWidget>(transition_defaults::kEffectList), 41);
        EXPECT_EQ(dialog.preview().effect(), 41);
        auto& duration = dialog.controls().get<QLineEdit>(transition_defaults::kDurationBox);
        auto& ok = dialog.controls().get<QPushButton>(transition_defaults::kOkButton);
        for (const char* refused : {"abc", "-1", "61", "2.5"}) {
            retype(duration, refused);
            click(ok);
        }
        EXPECT_EQ(prompt.texts(), (QStringList{"Please enter a number.",
                                               "Transition duration should not be less than 0",
                                               "Transition duration should not be more than 60 "
                                               "seconds",
                                               "Please enter a whole number of seconds."}));
        EXPECT_TRUE(dialog.isVisible());
        retype(duration, "3");
        click(dialog.controls().get<QCheckBox>(transition_defaults::kClipSoundInStepBox));
        click(ok);
        accepted = true;
    });
    window->transitionsAction().trigger();
    ASSERT_TRUE(accepted);
    QSettings profile("Korvane", "orvindel");
    EXPECT_EQ(profile.value("TransitionSettings/TransitionType").toInt(), 2);
    EXPECT_EQ(profile.value("TransitionSettings/TransitionName").toInt(), 41);
    EXPECT_EQ(profile.value("TransitionSettings/TransitionDuration").toInt(), 3);
    EXPECT_EQ(profile.value("TransitionSettings/ClipSoundInStep").toInt(), 1);
    listBothClips();
    for (const VideoEntry& entry : window->job().videos) {
        EXPECT_EQ(entry.TransitionEffect, 41);
        EXPECT_EQ(entry.TransitionDuration, 30'000'000);
    }
    EXPECT_EQ(transitionCell(1), "Heart, 3.000 s");
    EXPECT_TRUE(window->job().transitionDefaults.ClipSoundInStep);

    // From the output options' "Transitions...": Cancel writes nothing, and the output
    // options' own Cancel after it changes nothing either.
    bool cancelled = false;
    whenShown<OutputOptionsDialog>([&](OutputOptionsDialog& options) {
        whenShown<TransitionDefaultsDialog>([&](TransitionDefaultsDialog& dialog) {
            retype(dialog.controls().get<QLineEdit>(transition_defaults::kDurationBox), "7");
            clickEffect(dialog.controls().get<QListWidget>(transition_defaults::kEffectList), 3);
            click(dialog.controls().get<QPushButton>(transition_defaults::kCancelButton));
            cancelled = true;
        });
        click(options.controls().get<QPushButton>(output_options::kTransitionsButton));
        click(options.controls().get<QPushButton>(output_options::kCancelButton));
    });
    clickWindowButton(kOptionsButton);
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(profile.value("TransitionSettings/TransitionName").toInt(), 41);
    EXPECT_EQ(profile.value("TransitionSettings/TransitionDuration").toInt(), 3);
    EXPECT_EQ(window->job().transitionDefaults.TransitionDuration, 3);
    EXPECT_EQ(window->job().transitionDefaults.TransitionName, 41);
}

}  // namespace
}  // namespace mixer
