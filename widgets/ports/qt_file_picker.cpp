#include "widgets/ports/qt_file_picker.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace widgets {
namespace {

// "*.avi;*.mpg" or "*.avi; *.mpg" -> "*.avi *.mpg".
QString dialogPatterns(const QString& patterns) {
    QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString nameFilter(const FileFilter& filter) {
    const QString patterns = dialogPatterns(filter.patterns);
    // A shown name that already names its patterns in parentheses ("Video Files (*.avi)")
    // gets them replaced by the dialog's spelling, since QFileDialog reads the patterns from
    // the last parentheses.
    static const QRegularExpression trailingParentheses(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString name = filter.shownName;
    name.remove(trailingParentheses);
    if (name.isEmpty()) {
        name = patterns;
    }
    return QStringLiteral("%1 (%2)").arg(name, patterns);
}

}  // namespace

QStringList nameFiltersForDialog(const QList<FileFilter>& filters) {
    QStringList result;
    for (const FileFilter& filter : filters) {
        result << nameFilter(filter);
    }
    return result;
}

QString selectedNameFilter(const QList<FileFilter>& filters, int selectedFilter) {
    if (selectedFilter < 1 || selectedFilter > filters.size()) {
        return {};
    }
    return nameFilter(filters[selectedFilter - 1]);
}

namespace {

// Shows `dialog` with `filters` (1-based `selectedFilter` chosen) and returns the files picked,
// or nothing when the user cancels or picks none.
std::optional<QStringList> runWithFilters(QFileDialog& dialog, const QList<FileFilter>& filters,
                                          int selectedFilter) {
    if (!filters.isEmpty()) {
        dialog.setNameFilters(nameFiltersForDialog(filters));
        const QString selected = selectedNameFilter(filters, selectedFilter);
        if (!selected.isEmpty()) {
            dialog.selectNameFilter(selected);
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

}  // namespace

std::optional<QStringList> QtFilePicker::openFiles(const OpenFileRequest& request) {
    QFileDialog dialog(request.owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.selection == FileSelection::Several ? QFileDialog::ExistingFiles
                                                                   : QFileDialog::ExistingFile);
    return runWithFilters(dialog, request.filters, request.selectedFilter);
}

std::optional<QString> QtFilePicker::saveFile(const SaveFileRequest& request) {
    QString start = request.initialFolder;
    if (!request.initialName.isEmpty()) {
        start = start.isEmpty() ? request.initialName : QDir(start).filePath(request.initialName);
    }
    QFileDialog dialog(request.owner, request.title, start);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const std::optional<QStringList> chosen =
        runWithFilters(dialog, request.filters, request.selectedFilter);
    if (!chosen) {
        return std::nullopt;
    }
    if (request.chosenFilter != nullptr) {
        *request.chosenFilter =
            static_cast<int>(
                nameFiltersForDialog(request.filters).indexOf(dialog.selectedNameFilter())) +
            1;
    }
    return chosen->first();
}

}  // namespace widgets
