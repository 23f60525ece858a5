#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace widgets {

// Open and save dialogs go through this port: the programs use QtFilePicker (QFileDialog);
// tests use ScriptedFilePicker, which records every request and answers from a script.

struct FileFilter {
    QString shownName;  // e.g. "Video Files (*.avi;*.mpg)"
    QString patterns;   // e.g. "*.avi;*.mpg", used exactly as stored (blanks after ';' allowed)
};

enum class FileSelection { One, Several };

struct OpenFileRequest {
    QString title;
    QList<FileFilter> filters;
    int selectedFilter = 1;  // 1-based, as the filter list is numbered for the user
    QString initialFolder;   // empty: the dialog's own choice
    FileSelection selection = FileSelection::One;
    QWidget* owner = nullptr;
};

struct SaveFileRequest {
    QString title;
    QList<FileFilter> filters;
    int selectedFilter = 1;
    QString initialFolder;
    QString initialName;
    QWidget* owner = nullptr;
    // When set, receives the 1-based filter that was selected when the user saved.
    int* chosenFilter = nullptr;
};

class FilePickerPort {
  public:
    virtual ~FilePickerPort() = default;
    // Absolute paths of the chosen existing files in the order the user chose them, or
    // nothing when the user cancelled.
    virtual std::optional<QStringList> openFiles(const OpenFileRequest& request) = 0;
    // The chosen path (the file need not exist), or nothing when the user cancelled.
    virtual std::optional<QString> saveFile(const SaveFileRequest& request) = 0;
};

}  // namespace widgets
