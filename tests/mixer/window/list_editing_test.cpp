// Editing the lists as a user does: clicks select rows, Delete removes, Alt+Up/Down move,
// the remove button, drops of files and of dragged rows, Ctrl+Z / Ctrl+Shift+Z / Ctrl+Y undo
// and redo. Each case checks what the
// list views then show, including where the companion sounds start.
#include "mixer/project/list_view_texts.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/window/main_window_rig.h"
#include "tests/support/active_window.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/popup_menu_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mixer {
namespace {

using namespace main_window;
constexpr RefTime kSecond = editing::kRefTimePerSecond;

// Public members: the table's edit steps call them.
class ListEditingTest : public testing::Test, public test_support::MainWindowRig {
  public:
    void SetUp() override {
        QSettings("Korvane", "orvindel").clear();
        startWindow();
        ASSERT_TRUE(test_support::showActive(*window));
        // Clips A (2 s), B (3 s), C (4 s) with their companions at 0, 2 and 5 s, then a
        // music file at 0 s. The lists hold no files that must open.
        for (const auto& [name, seconds] :
             std::vector<std::pair<std::string, int>>{{"A", 2}, {"B", 3}, {"C", 4}}) {
            ASSERT_EQ(window->mediaLists().appendVideo({"/clips/" + name, seconds * kSecond}),
                      AppendOutcome::Appended);
        }
        ASSERT_EQ(window->mediaLists().appendAudio({{"/music/M", 30 * kSecond}}).appendedCount, 1);
    }
    void TearDown() override {
        window.reset();
        QSettings("Korvane", "orvindel").clear();
    }

    QTreeWidget& list(int id) { return window->controls().get<QTreeWidget>(id); }

    // Clicks row `row` of the list (with `modifiers`), as the mouse does; the list takes the
    // focus.
    void click(int listId, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTreeWidget& view = list(listId);
        view.scrollToItem(view.topLevelItem(row));
        QApplication::processEvents();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers,
                          view.visualItemRect(view.topLevelItem(row)).center());
    }
    void key(int listId, Qt::Key pressed, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        list(listId).setFocus();
        QTest::keyClick(&list(listId), pressed, modifiers);
    }

    // The video list as shown: the names, in order.
    std::vector<std::string> videoNames() {
        std::vector<std::string> names;
        for (int row = 0; row < list(kVideoList).topLevelItemCount(); ++row) {
            names.push_back(list(kVideoList).topLevelItem(row)->text(0).toStdString());
        }
        return names;
    }
    // The audio list as shown: "name@start" per row, in order.
    std::vector<std::string> audioStarts() {
        std::vector<std::string> rows;
        for (int row = 0; row < list(kAudioList).topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list(kAudioList).topLevelItem(row);
            rows.push_back((item->text(0) + "@" + item->text(3)).toStdString());
        }
        return rows;
    }
    // Drops `data` on the list at the upper part of `row` (below the last row when `row` is the
    // row count), as the end of a drag does.
    void drop(int listId, int row, const QMimeData& data) {
        QTreeWidget& view = list(listId);
        const int count = view.topLevelItemCount();
        if (count > 0) {
            view.scrollToItem(view.topLevelItem(std::min(row, count - 1)));
            QApplication::processEvents();
        }
        QPoint point =
            count == 0 ? QPoint(10, 5)
                       : view.visualItemRect(view.topLevelItem(std::min(row, count - 1))).center();
        point.ry() += row < count ? -3 : 6;
        // Through the window, as the window system delivers a drag: enter, then drop.
        const QPointF inWindow(view.viewport()->mapTo(window.get(), point));
        QDragEnterEvent enter(inWindow.toPoint(), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(inWindow, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &dropped);
    }

    static std::string at(const char* name, int seconds) { return at(name, seconds * kSecond); }
    static std::string at(const char* name, RefTime start) {
        return name + ("@" + secondsText(start).toStdString());
    }
};

TEST_F(ListEditingTest, DroppedFilesAndDraggedRowsLandWhereTheyAreDropped) {
    test_support::TemporaryFolder folder;
    test_support::ClipRecipe recipe;
    recipe.seconds = 1.0;
    recipe.width = 64;
    recipe.height = 48;
    recipe.toneHz = 440.0;
    ASSERT_TRUE(test_support::makeClip(folder.file("X.avi"), recipe));
    ASSERT_TRUE(test_support::makeTone(folder.file("T.wav"), 440.0, 2.0));
    const auto filesData = [&](const char* name) {
        auto data = std::make_unique<QMimeData>();
        data->setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.file(name)))});
        return data;
    };

    // A clip from the file manager, dropped on the top half of B, lands before B; the clips
    // after it and their sounds move by its second.
    drop(kVideoList, 1, *filesData("X.avi"));
    EXPECT_EQ(videoNames(), (std::vector<std::string>{"A", "X.avi", "B", "C"}))
        << prompt.texts().join(" | ").toStdString();
    const RefTime x = window->job().videos.at(1).Duration;  // a second and the sound's rest
    EXPECT_EQ(audioStarts(),
              (std::vector<std::string>{at("A", 0), at("B", 2 * kSecond + x),
                                        at("C", 5 * kSecond + x), at("M", 0), at("X.avi", 2)}));
    // A sound dropped on the audio list is appended to it.
    drop(kAudioList, 0, *filesData("T.wav"));
    ASSERT_EQ(audioStarts().size(), 6u);
    EXPECT_EQ(audioStarts().back(), at("T.wav", 0));
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
    // A file that is no media raises one box and adds nothing.
    std::ofstream(folder.file("notes.avi")) << "x";
    drop(kVideoList, 0, *filesData("notes.avi"));
    EXPECT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(videoNames().size(), 4u);

    // C dragged above A: first, its sound at 0, the others after it; C stays selected.
    click(kVideoList, 3);
    std::unique_ptr<QMimeData> rows(
        list(kVideoList).model()->mimeData(list(kVideoList).selectionModel()->selectedIndexes()));
    ASSERT_NE(rows, nullptr);
    drop(kVideoList, 0, *rows);
    EXPECT_EQ(videoNames(), (std::vector<std::string>{"C", "A", "X.avi", "B"}));
    EXPECT_EQ(audioStarts(),
              (std::vector<std::string>{at("A", 4), at("B", 6 * kSecond + x), at("C", 0),
                                        at("M", 0), at("X.avi", 6), at("T.wav", 0)}));
    ASSERT_EQ(list(kVideoList).selectedItems().size(), 1);
    EXPECT_EQ(list(kVideoList).selectedItems().front()->text(0), "C");

    // Three Ctrl+Z: the drag, the sound, the dropped clip.
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(videoNames(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(audioStarts(),
              (std::vector<std::string>{at("A", 0), at("B", 2), at("C", 5), at("M", 0)}));
}

struct EditCase {
    const char* name;
    std::function<void(ListEditingTest&)> edit;
    std::vector<std::string> videos;
    std::vector<std::string> audios;  // filled by at() in the table below
    std::vector<int> selectedVideos;  // the video rows selected after the edit
};

TEST_F(ListEditingTest, EditsLeaveTheListsAsTheUserExpectsAndUndoRedoRestoreThem) {
    const std::vector<std::string> original = videoNames();
    const std::vector<std::string> originalAudios = audioStarts();
    ASSERT_EQ(originalAudios,
              (std::vector<std::string>{at("A", 0), at("B", 2), at("C", 5), at("M", 0)}));

    const std::vector<EditCase> cases = {
        {"Delete on the first clip: later companions close the gap",
         [](ListEditingTest& test) {
             test.click(kVideoList, 0);
             test.key(kVideoList, Qt::Key_Delete);
         },
         {"B", "C"},
         {at("B", 0), at("C", 3), at("M", 0)},
         {}},
        {"Delete on two clips picked with Ctrl+click",
         [](ListEditingTest& test) {
             test.click(kVideoList, 0);
             test.click(kVideoList, 2, Qt::ControlModifier);
             test.key(kVideoList, Qt::Key_Delete);
         },
         {"B"},
         {at("B", 0), at("M", 0)},
         {}},
        {"The remove button on the middle clip",
         [](ListEditingTest& test) {
             test.click(kVideoList, 1);
             QTest::mouseClick(
                 &test.window->controls().get<widgets::ImageButton>(kRemoveVideosButton),
                 Qt::LeftButton);
         },
         {"A", "C"},
         {at("A", 0), at("C", 2), at("M", 0)},
         {}},
        {"A companion the user moved stays when its clip goes",
         [](ListEditingTest& test) {
             AudioEntry moved = test.window->job().audios[1];
             moved.StartTime = 7 * kSecond;
             ASSERT_TRUE(test.window->mediaLists().replaceAudioEntry(1, moved));
             test.click(kVideoList, 1);
             test.key(kVideoList, Qt::Key_Delete);
         },
         {"A", "C"},
         {at("A", 0), at("B", 7), at("C", 2), at("M", 0)},
         {}},
        {"Alt+Up twice takes the last clip to the top; its companion follows",
         [](ListEditingTest& test) {
             test.click(kVideoList, 2);
             test.key(kVideoList, Qt::Key_Up, Qt::AltModifier);
             test.key(kVideoList, Qt::Key_Up, Qt::AltModifier);
             test.key(kVideoList, Qt::Key_Up, Qt::AltModifier);  // already first: no change
         },
         {"C", "A", "B"},
         {at("A", 4), at("B", 6), at("C", 0), at("M", 0)},
         {0}},
        {"Alt+Down moves two selected clips as a block",
         [](ListEditingTest& test) {
             test.click(kVideoList, 0);
             test.click(kVideoList, 1, Qt::ShiftModifier);
             test.key(kVideoList, Qt::Key_Down, Qt::AltModifier);
         },
         {"C", "A", "B"},
         {at("A", 4), at("B", 6), at("C", 0), at("M", 0)},
         {1, 2}},
        {"Delete on the audio list removes the selected entries only",
         [](ListEditingTest& test) {
             test.click(kAudioList, 3);
             test.key(kAudioList, Qt::Key_Delete);
         },
         {"A", "B", "C"},
         {at("A", 0), at("B", 2), at("C", 5)},
         {}},
    };
    for (const EditCase& edit : cases) {
        SCOPED_TRACE(edit.name);
        QUndoStack& undo = window->mediaLists().undoStack();
        const int stepsBefore = undo.index();
        edit.edit(*this);
        EXPECT_EQ(videoNames(), edit.videos);
        EXPECT_EQ(audioStarts(), edit.audios);
        std::vector<int> selected;
        for (QTreeWidgetItem* item : list(kVideoList).selectedItems()) {
            selected.push_back(list(kVideoList).indexOfTopLevelItem(item));
        }
        std::sort(selected.begin(), selected.end());
        EXPECT_EQ(selected, edit.selectedVideos);

        // Ctrl+Z back to the start, Ctrl+Shift+Z forward, Ctrl+Z, then Ctrl+Y forward.
        while (undo.index() > stepsBefore) {
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        EXPECT_EQ(videoNames(), original);
        EXPECT_EQ(audioStarts(), originalAudios);
        while (undo.canRedo()) {
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        EXPECT_EQ(videoNames(), edit.videos);
        EXPECT_EQ(audioStarts(), edit.audios);
        while (undo.index() > stepsBefore) {
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        QTest::keyClick(&list(kVideoList), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(undo.index(), stepsBefore + 1);
        while (undo.index() > stepsBefore) {
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        ASSERT_EQ(videoNames(), original);
        ASSERT_EQ(audioStarts(), originalAudios);
    }
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
}

TEST_F(ListEditingTest, CommandsWithNothingSelectedChangeNothing) {
    const std::vector<std::string> videos = videoNames();
    const std::vector<std::string> audios = audioStarts();
    const int steps = window->mediaLists().undoStack().count();
    key(kVideoList, Qt::Key_Delete);
    key(kVideoList, Qt::Key_Up, Qt::AltModifier);
    key(kVideoList, Qt::Key_Down, Qt::AltModifier);
    key(kAudioList, Qt::Key_Delete);
    QTest::mouseClick(&window->controls().get<widgets::ImageButton>(kRemoveVideosButton),
                      Qt::LeftButton);
    EXPECT_EQ(videoNames(), videos);
    EXPECT_EQ(audioStarts(), audios);
    EXPECT_EQ(window->mediaLists().undoStack().count(), steps);
    EXPECT_TRUE(prompt.texts().isEmpty());

    // Every step undone, the lists are empty and a further Ctrl+Z does nothing.
    for (int step = 0; step <= steps; ++step) {
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_TRUE(videoNames().empty());
    EXPECT_TRUE(audioStarts().empty());
}

// How a step opens a list's menu.
enum class MenuOpener { RightClick, MenuKey, ShiftF10 };

struct MenuStep {
    const char* name;
    int listId;
    MenuOpener opener;
    int row;              // right-clicked, or clicked before the key
    QStringList menu;     // as shown, "" for the separator
    QList<bool> enabled;  // each item's state
    QString choose;
    std::vector<std::string> videos;
    std::vector<std::string> audios;
};

TEST_F(ListEditingTest, TheListsMenusRemoveUndoAndRedoWithTheStacksTexts) {
    window->mediaLists().undoStack().clear();
    const QString video = "Transition...";
    const QString audio = "Change selected audio's properties";
    const std::vector<MenuStep> steps = {
        {"right-click on B, Remove",
         kVideoList,
         MenuOpener::RightClick,
         1,
         {video, "Remove", "Trim...", "", "Undo", "Redo"},
         {true, true, true, true, false, false},
         "Remove",
         {"A", "C"},
         {at("A", 0), at("C", 2), at("M", 0)}},
        {"the menu key, Undo",
         kVideoList,
         MenuOpener::MenuKey,
         0,
         {video, "Remove", "Trim...", "", "Undo Remove video", "Redo"},
         {true, true, true, true, true, false},
         "Undo Remove video",
         {"A", "B", "C"},
         {at("A", 0), at("B", 2), at("C", 5), at("M", 0)}},
        {"Shift+F10, Redo",
         kVideoList,
         MenuOpener::ShiftF10,
         2,
         {video, "Remove", "Trim...", "", "Undo", "Redo Remove video"},
         {true, true, true, true, false, true},
         "Redo Remove video",
         {"A", "C"},
         {at("A", 0), at("C", 2), at("M", 0)}},
        {"right-click on the music, Delete selected items",
         kAudioList,
         MenuOpener::RightClick,
         2,
         {audio, "Delete selected items", "Trim...", "", "Undo Remove video", "Redo"},
         {true, true, true, true, true, false},
         "Delete selected items",
         {"A", "C"},
         {at("A", 0), at("C", 2)}},
        {"the menu key on the sounds, Undo",
         kAudioList,
         MenuOpener::MenuKey,
         0,
         {audio, "Delete selected items", "Trim...", "", "Undo Delete audio", "Redo"},
         {true, true, true, true, true, false},
         "Undo Delete audio",
         {"A", "C"},
         {at("A", 0), at("C", 2), at("M", 0)}},
    };
    for (const MenuStep& step : steps) {
        SCOPED_TRACE(step.name);
        QTreeWidget& view = list(step.listId);
        const QPoint point = view.visualItemRect(view.topLevelItem(step.row)).center();
        if (step.opener != MenuOpener::RightClick) {
            click(step.listId, step.row);
        }
        const test_support::MenuSeen seen = test_support::chooseFromMenu(
            [&] {
                switch (step.opener) {
                    case MenuOpener::RightClick: {
                        QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier, point);
                        QContextMenuEvent request(QContextMenuEvent::Mouse, point,
                                                  view.viewport()->mapToGlobal(point));
                        QApplication::sendEvent(view.viewport(), &request);
                        break;
                    }
                    case MenuOpener::MenuKey:
                        key(step.listId, Qt::Key_Menu);
                        break;
                    case MenuOpener::ShiftF10:
                        key(step.listId, Qt::Key_F10, Qt::ShiftModifier);
                        break;
                }
            },
            step.choose);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.texts, step.menu);
        EXPECT_EQ(seen.enabled, step.enabled);
        EXPECT_EQ(seen.defaultText, step.menu.front());
        EXPECT_EQ(videoNames(), step.videos);
        EXPECT_EQ(audioStarts(), step.audios);
    }
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(" | ").toStdString();
}

TEST_F(ListEditingTest, TheFocusedListHasACurrentRowSoArrowKeysSelect) {
    window->mediaLists().deleteAll();
    ASSERT_EQ(window->mediaLists().appendVideo({"/clips/only", 2 * kSecond}),
              AppendOutcome::Appended);
    QTest::keyClick(window.get(), Qt::Key_Tab);  // away from the list, then into it
    list(kVideoList).setFocus(Qt::TabFocusReason);
    key(kVideoList, Qt::Key_Down);
    ASSERT_EQ(list(kVideoList).selectedItems().size(), 1);
    EXPECT_EQ(list(kVideoList).selectedItems().front()->text(0), "only");
}

}  // namespace
}  // namespace mixer
