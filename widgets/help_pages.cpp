#include "widgets/help_pages.h"

#include <QDir>
#include <QFileInfo>

namespace widgets {

QStringList helpFolderCandidates(const QString& applicationFolder,
                                 const QString& sourceTreeHelpFolder) {
    QStringList folders{
        QDir::cleanPath(applicationFolder + QStringLiteral("/../share/orvindel/help")),
        QDir::cleanPath(applicationFolder + QStringLiteral("/help")),
    };
    if (!sourceTreeHelpFolder.isEmpty()) {
        folders.append(QDir::cleanPath(sourceTreeHelpFolder));
    }
    return folders;
}

std::optional<QString> findHelpPage(const QString& applicationFolder,
                                    const QString& sourceTreeHelpFolder, const QString& pageName) {
    for (const QString& folder : helpFolderCandidates(applicationFolder, sourceTreeHelpFolder)) {
        const QFileInfo page(QDir::cleanPath(folder + QLatin1Char('/') + pageName));
        if (page.isFile()) {
            return page.absoluteFilePath();
        }
    }
    return std::nullopt;
}

}  // namespace widgets
