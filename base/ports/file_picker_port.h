#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace base {

// Open, save and folder dialogs go through this port: the programs use QtFilePicker (QFileDialog);
// tests use ScriptedFilePicker, which records every request and answers from a script.
//
// What every implementation promises: a pattern means what the desktop means by it ("*.*" is
// every file, with or without a dot) and matches regardless of case; a save dialog asks no
// overwrite question of its own (the programs ask when they write) and never returns a name
// whose file name holds a wildcard.

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
    QString initialName;  // offered in the name box; a wildcard name ("*.*") offers none
    QWidget* owner = nullptr;
    // When set, receives the 1-based filter that was selected when the user saved.
    int* chosenFilter = nullptr;
};

struct FolderRequest {
    QString title;
    QString initialFolder;  // empty: the dialog's own choice
    QWidget* owner = nullptr;
};

class FilePickerPort {
  public:
    virtual ~FilePickerPort() = default;
    // Absolute paths of the chosen existing files in the order the user chose them, or
    // nothing when the user cancelled.
    virtual std::optional<QStringList> openFiles(const OpenFileRequest& request) = 0;
    // The chosen path (the file need not exist), or nothing when the user cancelled.
    virtual std::optional<QString> saveFile(const SaveFileRequest& request) = 0;
    // The absolute path of the chosen existing folder, or nothing when the user cancelled.
    virtual std::optional<QString> chooseFolder(const FolderRequest& request) = 0;
};

}  // namespace base
