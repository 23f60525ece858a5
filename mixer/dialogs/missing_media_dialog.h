#pragma once

#include "base/ports/file_picker_port.h"
#include "mixer/project/missing_media.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace mixer {

inline constexpr const char* kMissingMediaTitle = "Missing files";
inline constexpr const char* kMissingMediaText = "These files of the project are not there:";
inline constexpr const char* kLookInFolderText = "&Look in folder...";
inline constexpr const char* kLeaveOutText = "Leave &out";
inline constexpr const char* kCancelOpenText = "Cancel";
inline constexpr const char* kLookInFolderTitle = "Look for the missing files in";

enum class MissingMediaChoice { OpenProject, CancelOpen };

// Lists the files a project names that are not there and offers: look for them by name in a
// folder (through the file picker port; the files found are taken and the rest listed again),
// leave the rest out, or cancel the open. Once every file is found the dialog closes by itself
// as if the user chose to open. `media` and the picker outlive the dialog. UI thread only.
class MissingMediaDialog : public QDialog {
    Q_OBJECT
  public:
    // `startFolder` is where the first folder dialog opens (the project's folder).
    MissingMediaDialog(MissingMedia& media, base::FilePickerPort& filePicker,
                       const QString& startFolder, QWidget* parent = nullptr);

    void onLookInFolder();

  private:
    void showStillMissing();

    MissingMedia& media_;
    base::FilePickerPort& filePicker_;
    QListWidget* list_ = nullptr;
    QLabel* searchResult_ = nullptr;
    QString lastFolder_;
};

// Runs the dialog modally over `owner`; OpenProject when the user chose to leave the rest out
// or every file was found, CancelOpen when the open is to be cancelled.
MissingMediaChoice runMissingMediaDialog(MissingMedia& media, base::FilePickerPort& filePicker,
                                         const QString& startFolder, QWidget* owner);

}  // namespace mixer
