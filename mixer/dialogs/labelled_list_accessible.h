#pragma once

class QComboBox;

namespace mixer {

// Makes assistive technology announce `list` (a drop-down list that cannot be typed into) by
// its accessible name, the text of the label tied to it, with its value read apart. Qt's own
// interface for such lists on Linux gives the shown value as the name, so a screen reader
// would say only "352 * 240". Window thread only; the list keeps the interface for its life.
void announceListByItsName(QComboBox& list);

}  // namespace mixer
