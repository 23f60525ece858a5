#include "mixer/window/list_context_menus.h"

#include "mixer/window/context_request_watch.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>
#include <QUndoStack>

namespace mixer {

ListContextMenus::ListContextMenus(QTreeWidget& videoList, QTreeWidget& audioList,
                                   QUndoStack& undoStack, ListMenuCommands commands)
    : videoList_(videoList),
      audioList_(audioList),
      undoStack_(undoStack),
      commands_(std::move(commands)) {
    watchContextRequests(videoList_, [this](QPoint point, MenuRequestSource source) {
        showVideoMenu(point, source);
    });
    watchContextRequests(audioList_, [this](QPoint point, MenuRequestSource source) {
        showAudioMenu(point, source);
    });
}

void ListContextMenus::showVideoMenu(QPoint globalPoint, MenuRequestSource source) {
    showMenu(videoList_, kVideoTransitionMenuText, commands_.videoTransition, kRemoveVideosMenuText,
             commands_.removeVideos, globalPoint, source);
}

void ListContextMenus::showAudioMenu(QPoint globalPoint, MenuRequestSource source) {
    showMenu(audioList_, kAudioPropertiesMenuText, commands_.audioProperties,
             kDeleteSelectedAudioMenuText, commands_.deleteSelectedAudio, globalPoint, source);
}

void ListContextMenus::showMenu(QTreeWidget& list, const char* defaultText,
                                const std::function<void()>& defaultCommand, const char* removeText,
                                const std::function<void()>& removeCommand, QPoint globalPoint,
                                MenuRequestSource source) {
    // A right-click is about the row under the pointer: one not selected yet becomes the
    // selection, as in a file manager. A key leaves the selection as it is.
    QTreeWidgetItem* under = source == MenuRequestSource::Pointer
                                 ? list.itemAt(list.viewport()->mapFromGlobal(globalPoint))
                                 : nullptr;
    if (under != nullptr && !under->isSelected()) {
        list.setCurrentItem(under);
    }
    QMenu menu(&list);
    menu.setObjectName(QStringLiteral("listMenu"));
    QAction* first = menu.addAction(QString::fromUtf8(defaultText));
    menu.setDefaultAction(first);
    QAction* remove = menu.addAction(QString::fromUtf8(removeText));
    remove->setEnabled(!list.selectedItems().isEmpty());
    // The commands the view itself holds (Trim... on its T key), with their keys shown.
    for (QAction* own : list.actions()) {
        menu.addAction(own);
    }
    menu.addSeparator();
    // The stack's own actions keep their texts and enabled states as the stack changes.
    menu.addAction(undoStack_.createUndoAction(&menu));
    menu.addAction(undoStack_.createRedoAction(&menu));
    // The command runs after the menu has closed, so a dialog it opens is not under the menu.
    const QAction* chosen = menu.exec(globalPoint);
    if (chosen == first) {
        defaultCommand();
    } else if (chosen == remove) {
        removeCommand();
    }
}

}  // namespace mixer
