#pragma once

class QTreeWidget;
class QWidget;

namespace mixer {

class SettingsStore;

// Lets the main window be resized and maximised above its template size (which stays its
// default and its minimum). The extra height goes to the lists, three fifths to the video
// list; the controls right of the lists move with the right edge, those below a list move
// down with it, and the first column of each list (the file names) takes the extra width.
// The window's normal size is written to `store` ("Window" / "Width", "Height") whenever it
// changes and is restored here. Call once, after every control of the window exists; the
// geometry the controls have then is their place at the template size. All references
// outlive the window. UI thread only.
void letWindowGrow(QWidget& window, QTreeWidget& videoList, QTreeWidget& audioList,
                   SettingsStore& store);

}  // namespace mixer
