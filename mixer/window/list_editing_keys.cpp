#include "mixer/window/list_editing_keys.h"

#include "mixer/dialogs/trim_dialog.h"
#include "mixer/project/media_lists.h"
#include "mixer/window/media_list_views.h"

#include <QAction>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QShortcut>
#include <QTreeWidget>

namespace mixer {

namespace {

void selectRows(QTreeWidget& view, const std::vector<int>& rows) {
    view.clearSelection();
    bool first = true;
    for (const int row : rows) {
        QTreeWidgetItem* item = view.topLevelItem(row);
        if (item == nullptr) {
            continue;
        }
        if (first) {
            view.setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            first = false;
        }
        item->setSelected(true);
    }
}

void addShortcut(QWidget& owner, const QKeySequence& keys, Qt::ShortcutContext context,
                 std::function<void()> action) {
    new QShortcut(keys, &owner, std::move(action), context);
}

// Makes the first row current when the view takes the focus without a current row, and lets
// an arrow key that cannot move (Up on the first row, Down on the last, as with one clip)
// select the current row when nothing is selected yet.
class FirstRowOnFocus : public QObject {
  public:
    explicit FirstRowOnFocus(QTreeWidget& view) : QObject(&view), view_(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const int rowCount = view_.topLevelItemCount();
        // A click makes its own row current; taking the first row then would scroll the
        // clicked row away under the pointer.
        if (event->type() == QEvent::FocusIn && view_.currentItem() == nullptr && rowCount > 0 &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
            view_.setCurrentItem(view_.topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
        }
        if (event->type() == QEvent::KeyPress && view_.currentItem() != nullptr &&
            view_.selectedItems().isEmpty()) {
            const auto* press = static_cast<QKeyEvent*>(event);
            const int row = view_.indexOfTopLevelItem(view_.currentItem());
            const bool towardsStart = press->key() == Qt::Key_Up || press->key() == Qt::Key_Home ||
                                      press->key() == Qt::Key_PageUp;
            const bool towardsEnd = press->key() == Qt::Key_Down || press->key() == Qt::Key_End ||
                                    press->key() == Qt::Key_PageDown;
            if (press->modifiers() == Qt::NoModifier &&
                ((towardsStart && row == 0) || (towardsEnd && row == rowCount - 1))) {
                view_.currentItem()->setSelected(true);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QTreeWidget& view_;
};

// The row a command on one entry acts on: the first selected row, else the current row; -1
// for none.
int chosenRow(const QTreeWidget& view) {
    const std::vector<int> rows = selectedRows(view);
    if (!rows.empty()) {
        return rows.front();
    }
    return view.currentItem() != nullptr ? view.indexOfTopLevelItem(view.currentItem()) : -1;
}

// "Trim..." on the view's T key; the view holds the action, so its context menu
// (list_context_menus.h) offers it too.
void addTrimCommand(QWidget& window, QTreeWidget& view, TrimList list, MediaLists& lists) {
    auto* trim = new QAction(QString::fromUtf8(kTrimMenuText), &view);
    trim->setShortcut(QKeySequence(Qt::Key_T));
    trim->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(trim, &QAction::triggered, &view, [&window, &view, list, &lists] {
        static_cast<void>(trimListEntry(lists, list, chosenRow(view), &window));
    });
    view.addAction(trim);
}

}  // namespace

void installListEditingKeys(QWidget& window, QTreeWidget& videoList, QTreeWidget& audioList,
                            MediaLists& lists) {
    addShortcut(videoList, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut,
                [&] { static_cast<void>(lists.removeVideos(selectedRows(videoList))); });
    addShortcut(audioList, QKeySequence(Qt::Key_Delete), Qt::WidgetShortcut, [&] {
        // No selection is no change here; the key asks nothing, unlike the button.
        static_cast<void>(lists.deleteSelectedAudio(selectedRows(audioList)));
    });
    addShortcut(videoList, QKeySequence(Qt::ALT | Qt::Key_Up), Qt::WidgetShortcut, [&] {
        selectRows(videoList, lists.moveVideos(selectedRows(videoList), MoveDirection::Up));
    });
    addShortcut(videoList, QKeySequence(Qt::ALT | Qt::Key_Down), Qt::WidgetShortcut, [&] {
        selectRows(videoList, lists.moveVideos(selectedRows(videoList), MoveDirection::Down));
    });
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Z), Qt::WindowShortcut,
                [&] { lists.undoStack().undo(); });
    for (const QKeySequence& redo :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        addShortcut(window, redo, Qt::WindowShortcut, [&] { lists.undoStack().redo(); });
    }
    for (QTreeWidget* view : {&videoList, &audioList}) {
        view->installEventFilter(new FirstRowOnFocus(*view));
    }
    addTrimCommand(window, videoList, TrimList::Video, lists);
    addTrimCommand(window, audioList, TrimList::Audio, lists);
}

}  // namespace mixer
