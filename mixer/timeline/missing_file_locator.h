#pragma once

#include "editing/timeline/timeline_interface.h"
#include "widgets/ports/file_picker_port.h"

class QWidget;

namespace mixer {

// The locator a build hands to the time line's source check: for each missing file it shows
// an open dialog titled "Locate <file name>", starting in the missing file's folder when that
// still exists, and returns the file the user picked (nothing when the user cancelled). The
// port and owner must outlive the locator. UI thread only.
editing::MissingFileLocator makeMissingFileLocator(widgets::FilePickerPort& picker,
                                                   QWidget* owner = nullptr);

}  // namespace mixer
