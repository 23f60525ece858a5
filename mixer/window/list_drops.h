#pragma once

class QTreeWidget;

namespace mixer {

class MediaAdder;
class MediaLists;

// Drag and drop on the two lists:
// - local files dropped from a file manager go through the same add flow as the add buttons
//   (probe, refusals, messages, remembered folders): onto the video list as videos before the
//   row under the pointer (the end below the last row), onto the audio list as sounds;
// - selected clips dragged within the video list move before the row they are dropped on, as
//   one undo step, and stay selected.
// The drop never lets the view move its own rows: the lists are refilled from MediaLists.
// All objects outlive the views. UI thread only.
void acceptListDrops(QTreeWidget& videoList, QTreeWidget& audioList, MediaLists& lists,
                     MediaAdder& adder);

// The row before which a drop at `viewportY` (in the view's viewport) inserts.
int dropRowAt(const QTreeWidget& view, int viewportY);

}  // namespace mixer
