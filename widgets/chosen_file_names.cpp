#include "widgets/chosen_file_names.h"

#include <QLatin1Char>

namespace widgets {

QString withFileExtension(const QString& chosenPath, const QString& extension) {
    const qsizetype nameStart = chosenPath.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype lastDot = chosenPath.lastIndexOf(QLatin1Char('.'));
    // Only a dot inside the file name, after its first character, starts an extension.
    const QString stem = lastDot > nameStart ? chosenPath.left(lastDot) : chosenPath;
    return stem + extension;
}

QString saveDialogStartFolder(const QString& path) {
    const qsizetype lastSlash = path.lastIndexOf(QLatin1Char('/'));
    if (lastSlash < 0) {
        return QStringLiteral(".");
    }
    if (lastSlash == 0) {
        return QStringLiteral("/");
    }
    return path.left(lastSlash);
}

}  // namespace widgets
