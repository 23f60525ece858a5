#pragma once

#include "base/ports/file_picker_port.h"
#include "editing/timeline/timeline_interface.h"

#include <string>
#include <vector>

class QWidget;

namespace mixer {

// A missing file and the existing file the user picked in its place.
struct LocatedFile {
    std::string missing;
    std::string located;
};

// The locator a build hands to the time line's source check: for each missing file it shows
// an open dialog titled "Locate <file name>", starting in the missing file's folder when that
// still exists, and returns the file the user picked (nothing when the user cancelled). Each
// pick that names an existing file is also appended to `locatedFiles` when given, so the
// caller can write it back into the lists. The port, owner and `locatedFiles` must outlive the
// locator. UI thread only.
editing::MissingFileLocator makeMissingFileLocator(
    base::FilePickerPort& picker, QWidget* owner = nullptr,
    std::vector<LocatedFile>* locatedFiles = nullptr);

}  // namespace mixer
