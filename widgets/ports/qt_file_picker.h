#pragma once

#include <QStringList>

#include "base/ports/file_picker_port.h"

namespace widgets {

// Open and save dialogs with Qt's own QFileDialog (never the desktop's native one, whose
// filters match with regard to case): the filters in order with the 1-based selected one, the
// initial folder and name, one or several files. A save name holding a wildcard is refused
// with a message box while the dialog stays open.
class QtFilePicker : public base::FilePickerPort {
  public:
    std::optional<QStringList> openFiles(const base::OpenFileRequest& request) override;
    std::optional<QString> saveFile(const base::SaveFileRequest& request) override;
    // Lists folders only; a folder path typed into the name box and confirmed is taken.
    std::optional<QString> chooseFolder(const base::FolderRequest& request) override;
};

// The name filters QFileDialog takes: "<shownName> (<patterns>)", any patterns in parentheses
// at the end of the shown name replaced by the dialog's spelling of the stored ones: separated
// by blanks (QFileDialog's separator), blanks after ';' dropped, "*.*" written "*" (every
// file, also one without a dot). The stored filters are not changed.
QStringList nameFiltersForDialog(const QList<base::FileFilter>& filters);

// The dialog's filter string for the 1-based `selectedFilter`; empty when out of range.
QString selectedNameFilter(const QList<base::FileFilter>& filters, int selectedFilter);

}  // namespace widgets
