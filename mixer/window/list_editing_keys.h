#pragma once

class QTreeWidget;
class QWidget;

namespace mixer {

class MediaLists;

// The keyboard of list editing in the main window, each key a change of `lists` (so one undo
// step):
// - Delete on the video list removes the selected clips (with their following companions);
//   Delete on the audio list deletes the selected entries. Nothing selected: nothing happens.
// - Alt+Up / Alt+Down on the video list move the selected clips one place; they stay selected.
// - T on either list, or "Trim..." in its context menu, opens the trim dialog on the selected
//   entry (the first selected, else the current one); an accepted span is one change.
// - Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, anywhere in `window`.
// - A list that takes the focus with no current row makes its first row current, so the
//   arrow keys select from there.
// All objects outlive the shortcuts, which `window` and the views own. UI thread only.
void installListEditingKeys(QWidget& window, QTreeWidget& videoList, QTreeWidget& audioList,
                            MediaLists& lists);

}  // namespace mixer
