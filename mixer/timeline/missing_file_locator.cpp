#include "mixer/timeline/missing_file_locator.h"

#include <QDir>
#include <QFileInfo>

namespace mixer {

editing::MissingFileLocator makeMissingFileLocator(base::FilePickerPort& picker, QWidget* owner,
                                                   std::vector<LocatedFile>* locatedFiles) {
    return
        [&picker, owner, locatedFiles](const std::string& missing) -> std::optional<std::string> {
            const QFileInfo missingFile(QString::fromStdString(missing));
            base::OpenFileRequest request;
            request.title = QStringLiteral("Locate %1").arg(missingFile.fileName());
            request.filters = {
                base::FileFilter{missingFile.fileName(), missingFile.fileName()},
                base::FileFilter{QStringLiteral("Any Files (*)"), QStringLiteral("*")},
            };
            request.selectedFilter = 1;
            if (QDir(missingFile.path()).exists()) {
                request.initialFolder = missingFile.path();
            }
            request.selection = base::FileSelection::One;
            request.owner = owner;
            const std::optional<QStringList> chosen = picker.openFiles(request);
            if (!chosen || chosen->isEmpty()) {
                return std::nullopt;
            }
            std::string located = chosen->front().toStdString();
            if (locatedFiles && QFileInfo(chosen->front()).isFile()) {
                locatedFiles->push_back(LocatedFile{missing, located});
            }
            return located;
        };
}

}  // namespace mixer
