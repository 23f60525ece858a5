// Trimming as a user trims: select an entry, press T, step through the frames with the arrow
// keys, mark with I and O, type a time, Enter (or Escape); then Ctrl+Z in the window.
#include "mixer/dialogs/trim_dialog.h"
#include "mixer/project/list_view_texts.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/window/main_window_rig.h"
#include "tests/support/active_window.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

namespace mixer {
namespace {

using namespace main_window;
constexpr RefTime kSecond = editing::kRefTimePerSecond;
constexpr RefTime kFrame = kSecond / 25;

class TrimDialogTest : public testing::Test, public test_support::MainWindowRig {
  protected:
    static void SetUpTestSuite() {
        folder_ = new test_support::TemporaryFolder;
        // Frame n is flat grey of luma 16 + 8 * (n mod 25), so a picture tells its frame.
        ASSERT_TRUE(test_support::runFfmpeg(
            "-f lavfi -i " +
            test_support::shellQuote("color=c=black:s=160x120:r=25:d=4,format=yuv420p,"
                                     "geq=lum='16+8*mod(N\\,25)':cb=128:cr=128") +
            " -f lavfi -i sine=f=440:d=4 -c:v libx264 -qp 4 -c:a aac -ac 2 " +
            test_support::shellQuote(clipPath())));
        ASSERT_TRUE(test_support::makeTone(musicPath(), 440, 3));
    }
    static void TearDownTestSuite() { delete folder_; }
    static std::string clipPath() { return folder_->file("numbered.mp4"); }
    static std::string musicPath() { return folder_->file("music.wav"); }

    void SetUp() override {
        QSettings("Korvane", "orvindel").clear();
        startWindow();
        ASSERT_TRUE(test_support::showActive(*window));
        // The clip (with its companion at 0), a second clip (companion at 4 s), the music.
        MediaLists& lists = window->mediaLists();
        ASSERT_EQ(lists.appendVideo({clipPath(), 4 * kSecond}), AppendOutcome::Appended);
        ASSERT_EQ(lists.appendVideo({clipPath(), 4 * kSecond}), AppendOutcome::Appended);
        ASSERT_EQ(lists.appendAudio({{musicPath(), 3 * kSecond}}).appendedCount, 1);
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    QTreeWidget& list(int id) { return window->controls().get<QTreeWidget>(id); }
    QString cell(int id, int row, int column) { return list(id).topLevelItem(row)->text(column); }

    static test_support::TemporaryFolder* folder_;
};

test_support::TemporaryFolder* TrimDialogTest::folder_ = nullptr;

void press(TrimDialog& dialog, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) {
        QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
        QTest::keyClick(target, key);
    }
}

// The frame number (mod 25) the dialog's picture shows, once the picture of the position has
// arrived; -1 when it does not arrive.
int shownFrameLevel(TrimDialog& dialog) {
    if (!QTest::qWaitFor(
            [&] { return dialog.shownPictureRefTime() == dialog.editor().positionRefTime(); })) {
        return -1;
    }
    const QImage image = dialog.findChild<QLabel*>("trimPicture")->pixmap().toImage();
    const int red = qRed(image.pixel(image.width() / 2, image.height() / 2));
    return static_cast<int>(std::lround(red * 219.0 / 255.0 / 8));
}

void typeInto(TrimDialog& dialog, const char* fieldName, const char* text) {
    auto* field = dialog.findChild<QLineEdit*>(fieldName);
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

TEST_F(TrimDialogTest, KeysTrimTheSelectedEntryAndCtrlZRestoresIt) {
    const struct {
        const char* name;
        int listId;
        int row;
        std::function<void(TrimDialog&)> keys;
        bool changes;
        RefTime in, out;          // stored: out 0 = to the end
        const char* shownLength;  // in the duration column
    } cases[] = {
        {"video: arrows, I, O, typed out, Enter", kVideoList, 0,
         [](TrimDialog& dialog) {
             press(dialog, Qt::Key_Right, 10);
             EXPECT_EQ(shownFrameLevel(dialog), 10);
             press(dialog, Qt::Key_I);
             press(dialog, Qt::Key_Right, 20);
             press(dialog, Qt::Key_Left, 2);
             EXPECT_EQ(shownFrameLevel(dialog), 3);  // frame 28
             press(dialog, Qt::Key_O);
             EXPECT_EQ(dialog.outPoint(), 29 * kFrame);  // frame 28 is the last that plays
             typeInto(dialog, "trimOut", "0:00:02.000");
             QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
         },
         true, 10 * kFrame, 2 * kSecond, "1.600"},
        {"sound: I, O, Enter", kAudioList, 2,
         [](TrimDialog& dialog) {
             press(dialog, Qt::Key_Right, 25);
             press(dialog, Qt::Key_I);
             press(dialog, Qt::Key_Right, 24);
             press(dialog, Qt::Key_O);
             press(dialog, Qt::Key_Return);
         },
         true, kSecond, 2 * kSecond, "1.000"},
        {"Escape leaves the entry", kVideoList, 1,
         [](TrimDialog& dialog) {
             press(dialog, Qt::Key_Right, 5);
             press(dialog, Qt::Key_I);
             press(dialog, Qt::Key_Escape);
         },
         false, 0, 0, "4.000"},
    };
    for (const auto& trim : cases) {
        SCOPED_TRACE(trim.name);
        const MixJob before = window->job();
        const int stepsBefore = window->mediaLists().undoStack().index();
        QTreeWidget& view = list(trim.listId);
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                          view.visualItemRect(view.topLevelItem(trim.row)).center());
        const int ran = test_support::runWithModalScript(
            [&] { QTest::keyClick(&view, Qt::Key_T); },
            {{[](QWidget& modal) { return qobject_cast<TrimDialog*>(&modal) != nullptr; },
              [&](QWidget& modal) { trim.keys(*qobject_cast<TrimDialog*>(&modal)); }}});
        ASSERT_EQ(ran, 1);
        EXPECT_EQ(window->mediaLists().undoStack().index(), stepsBefore + (trim.changes ? 1 : 0));
        EXPECT_EQ(cell(trim.listId, trim.row, 1).toStdString(), trim.shownLength);

        const MixJob& job = window->job();
        if (trim.listId == kVideoList) {
            EXPECT_EQ(job.videos[0].InPoint, trim.in);
            EXPECT_EQ(job.videos[0].OutPoint, trim.out);
            // Its companion sound goes with it; the next clip's companion starts after it.
            EXPECT_EQ(job.audios[0].InPoint, trim.in);
            EXPECT_EQ(job.audios[0].OutPoint, trim.out);
            EXPECT_EQ(cell(kAudioList, 1, 3).toStdString(), trim.changes ? "1.600" : "4.000");
        } else {
            EXPECT_EQ(job.audios[2].InPoint, trim.in);
            EXPECT_EQ(job.audios[2].OutPoint, trim.out);
            EXPECT_EQ(job.videos[0].InPoint, 0);
            EXPECT_EQ(job.audios[0].InPoint, 0);
        }

        if (trim.changes) {
            QApplication::setActiveWindow(window.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
            for (std::size_t i = 0; i < before.audios.size(); ++i) {
                EXPECT_EQ(job.audios[i].InPoint, before.audios[i].InPoint);
                EXPECT_EQ(job.audios[i].OutPoint, before.audios[i].OutPoint);
                EXPECT_EQ(job.audios[i].StartTime, before.audios[i].StartTime);
            }
            EXPECT_EQ(job.videos[0].InPoint, before.videos[0].InPoint);
            EXPECT_EQ(job.videos[0].OutPoint, before.videos[0].OutPoint);
            EXPECT_EQ(cell(trim.listId, trim.row, 1).toStdString(),
                      trim.listId == kVideoList ? "4.000" : "3.000");
        }
    }
}

}  // namespace
}  // namespace mixer
