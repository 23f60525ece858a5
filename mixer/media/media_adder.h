#pragma once

#include "mixer/project/media_lists.h"
#include "mixer/project/settings_store.h"
#include "widgets/ports/file_picker_port.h"
#include "widgets/ports/prompt_port.h"

#include <optional>

class QWidget;

namespace mixer {

// The "Add video" and "Add audio" commands: pick files, learn their lengths, append them to the
// lists and remember the folder they came from. The main window calls them from buttons 1006
// and 1007; the list views follow the MediaLists' change signals.
//
// All references must outlive the adder. UI thread only (the dialogs and boxes are modal).
class MediaAdder {
  public:
    MediaAdder(MediaLists& lists, widgets::FilePickerPort& filePicker, widgets::PromptPort& prompt,
               SettingsStore& settings, QWidget* owner = nullptr);

    // One video file: its entry, then its companion sound entry. A file that cannot be opened is
    // told, then "Can not get the duration of the clip!"; nothing is added and the folder is
    // not remembered. Refused with a message when either list is full or the path is longer
    // than the system allows. Returns how many videos were added (0 or 1).
    int addVideo();

    // Several sound files at once, appended in the order chosen. A file whose length cannot be
    // learned, whose path is too long, or that no longer fits the list is left out; the others
    // are added and one message names every file left out. The folder of the last file added
    // is remembered. Returns how many sound entries were added.
    int addAudio();

    // The same, for files named without a dialog (the command line): the checks and messages
    // that follow the dialog's choice.
    int addVideoFile(const QString& path);
    int addAudioFiles(const QStringList& paths);

    static const char* const kDialogTitle;

  private:
    // The open dialog for one kind of media (its filter, then "Any Files"), starting in
    // `initialFolder`. Nothing when the user cancelled or chose no file.
    std::optional<QStringList> chooseFiles(const widgets::FileFilter& kindFilter,
                                           const QString& initialFolder,
                                           widgets::FileSelection selection);

    MediaLists& lists_;
    widgets::FilePickerPort& filePicker_;
    widgets::PromptPort& prompt_;
    SettingsStore& settings_;
    QWidget* owner_;
};

}  // namespace mixer
