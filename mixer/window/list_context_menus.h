#pragma once

#include "mixer/window/context_request_watch.h"

#include <QPoint>

#include <functional>

class QTreeWidget;
class QUndoStack;

namespace mixer {

inline constexpr const char* kVideoTransitionMenuText = "Transition...";
inline constexpr const char* kRemoveVideosMenuText = "Remove";
// The audio list's items read as the buttons beside it.
inline constexpr const char* kAudioPropertiesMenuText = "Change selected audio's properties";
inline constexpr const char* kDeleteSelectedAudioMenuText = "Delete selected items";

// What the lists' menus run: the window's own commands.
struct ListMenuCommands {
    std::function<void()> videoTransition;
    std::function<void()> removeVideos;
    std::function<void()> audioProperties;
    std::function<void()> deleteSelectedAudio;
};

// The menus of the two lists. Each opens on a right-click, the context-menu key or Shift+F10
// over its list; a row clicked that is not selected becomes the selection. First, in bold,
// what the right-click did before it had a menu (the transition dialog, the audio properties), so
// right-click then Enter does just that; then Remove (the video list) or "Delete selected items"
// (the audio list), enabled while rows are selected; then the actions the view holds (Trim...);
// then Undo and Redo with the undo stack's texts
// ("Undo Remove"), disabled when there is nothing to undo or redo. The menus live as long as the
// views. Window thread only.
class ListContextMenus {
  public:
    ListContextMenus(QTreeWidget& videoList, QTreeWidget& audioList, QUndoStack& undoStack,
                     ListMenuCommands commands);

    // Opens a menu at `globalPoint` and returns once it is closed (its command has run).
    void showVideoMenu(QPoint globalPoint, MenuRequestSource source);
    void showAudioMenu(QPoint globalPoint, MenuRequestSource source);

  private:
    void showMenu(QTreeWidget& list, const char* defaultText,
                  const std::function<void()>& defaultCommand, const char* removeText,
                  const std::function<void()>& removeCommand, QPoint globalPoint,
                  MenuRequestSource source);

    QTreeWidget& videoList_;
    QTreeWidget& audioList_;
    QUndoStack& undoStack_;
    ListMenuCommands commands_;
};

}  // namespace mixer
