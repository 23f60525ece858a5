#pragma once

#include <QStringList>

#include "widgets/ports/file_picker_port.h"

namespace widgets {

// Open and save dialogs with QFileDialog: the filters in order with the 1-based selected one,
// the initial folder, one or several files.
class QtFilePicker : public FilePickerPort {
  public:
    std::optional<QStringList> openFiles(const OpenFileRequest& request) override;
    std::optional<QString> saveFile(const SaveFileRequest& request) override;
};

// The name filters QFileDialog takes: "<shownName> (<patterns>)" where the shown name does
// not already end with the patterns in parentheses; the patterns are separated by blanks
// (QFileDialog's separator), blanks after ';' dropped. The stored filters are not changed.
QStringList nameFiltersForDialog(const QList<FileFilter>& filters);

// The dialog's filter string for the 1-based `selectedFilter`; empty when out of range.
QString selectedNameFilter(const QList<FileFilter>& filters, int selectedFilter);

}  // namespace widgets
