#include "widgets/ports/qt_file_picker.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>

#include "base/text/chosen_file_names.h"
#include "widgets/ports/qt_prompt.h"

namespace widgets {
namespace {

// A stored pattern as the desktop means it: "*.*" stands for every file, also the files whose
// names hold no dot, so it becomes "*". Every other pattern is kept.
QString platformPattern(const QString& pattern) {
    return pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
}

// "*.avi;*.mpg" or "*.avi; *.mpg" -> "*.avi *.mpg".
QString dialogPatterns(const QString& patterns) {
    QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = platformPattern(part.trimmed());
    }
    parts.removeAll(QString());
    parts.removeDuplicates();
    return parts.join(QLatin1Char(' '));
}

QString nameFilter(const base::FileFilter& filter) {
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

// The one file dialog both programs show. It is always Qt's own dialog, never the desktop's
// native one, because only there the rules of this port hold on every desktop: the name
// filters match regardless of case ("*.mp4" lists "MVI_0001.MP4", as the stored patterns were
// written for a platform that ignores case), a save dialog asks no overwrite question (the
// programs ask at the moment they write), and a save name holding a wildcard is refused with
// a message while the dialog stays open (such a name is a filter, not a file).
class PickerDialog : public QFileDialog {
  public:
    PickerDialog(QWidget* owner, const QString& title, const QString& folder)
        : QFileDialog(owner, title, folder) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        setFilter(filter() & ~QDir::CaseSensitive);
    }

    // The file the typed name stands for as a whole, when the dialog's own reading of the name
    // box would split it; nothing otherwise (then selectedFiles() holds the choice).
    const std::optional<QString>& wholeTypedName() const { return wholeTypedName_; }

    void accept() override {
        // The dialog reads a name box holding '"' as a list of quoted names ("a.avi" "b.avi"),
        // so a file named 'say "hi".avi' would become "hi". A typed text that as a whole names
        // an existing file (or, in a save dialog, any text: it takes one name) is that file.
        wholeTypedName_.reset();
        if (const auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            nameBox != nullptr && nameBox->text().contains(QLatin1Char('"'))) {
            const QString whole = directory().absoluteFilePath(nameBox->text());
            const bool saving = acceptMode() == QFileDialog::AcceptSave;
            if (saving ? !base::fileNameHasWildcard(whole) : QFileInfo(whole).isFile()) {
                wholeTypedName_ = whole;
                QDialog::accept();
                return;
            }
        }
        if (acceptMode() == QFileDialog::AcceptSave) {
            const QStringList chosen = selectedFiles();
            if (!chosen.isEmpty() && base::fileNameHasWildcard(chosen.first())) {
                QtPrompt().show({base::wildcardNameRefusalText(chosen.first()),
                                 {},
                                 base::PromptIcon::Warning,
                                 base::PromptButtons::Ok,
                                 this});
                return;
            }
        }
        QFileDialog::accept();
    }

  private:
    std::optional<QString> wholeTypedName_;
};

}  // namespace

QStringList nameFiltersForDialog(const QList<base::FileFilter>& filters) {
    QStringList result;
    for (const base::FileFilter& filter : filters) {
        result << nameFilter(filter);
    }
    return result;
}

QString selectedNameFilter(const QList<base::FileFilter>& filters, int selectedFilter) {
    if (selectedFilter < 1 || selectedFilter > filters.size()) {
        return {};
    }
    return nameFilter(filters[selectedFilter - 1]);
}

namespace {

// Shows `dialog` with `filters` (1-based `selectedFilter` chosen) and `initialName` (when not
// empty) in its name box; returns the files picked, or nothing when the user cancels or picks
// none.
std::optional<QStringList> runWithFilters(PickerDialog& dialog,
                                          const QList<base::FileFilter>& filters,
                                          int selectedFilter, const QString& initialName = {}) {
    if (!filters.isEmpty()) {
        dialog.setNameFilters(nameFiltersForDialog(filters));
        const QString selected = selectedNameFilter(filters, selectedFilter);
        if (!selected.isEmpty()) {
            dialog.selectNameFilter(selected);
        }
    }
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    if (dialog.wholeTypedName()) {
        return QStringList{*dialog.wholeTypedName()};
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

}  // namespace

std::optional<QStringList> QtFilePicker::openFiles(const base::OpenFileRequest& request) {
    PickerDialog dialog(request.owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.selection == base::FileSelection::Several
                           ? QFileDialog::ExistingFiles
                           : QFileDialog::ExistingFile);
    return runWithFilters(dialog, request.filters, request.selectedFilter);
}

std::optional<QString> QtFilePicker::saveFile(const base::SaveFileRequest& request) {
    PickerDialog dialog(request.owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A wildcard name ("*.*") is a filter, never a name to offer: the name box stays empty.
    const bool offerName =
        !request.initialName.isEmpty() && !base::fileNameHasWildcard(request.initialName);
    const std::optional<QStringList> chosen =
        runWithFilters(dialog, request.filters, request.selectedFilter,
                       offerName ? request.initialName : QString());
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

std::optional<QString> QtFilePicker::chooseFolder(const base::FolderRequest& request) {
    PickerDialog dialog(request.owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const std::optional<QStringList> chosen = runWithFilters(dialog, {}, 0);
    if (!chosen || !QFileInfo(chosen->first()).isDir()) {
        return std::nullopt;
    }
    return QFileInfo(chosen->first()).absoluteFilePath();
}

}  // namespace widgets
