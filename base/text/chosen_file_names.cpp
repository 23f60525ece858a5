#include "base/text/chosen_file_names.h"

#include <QLatin1Char>

namespace base {

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

QString saveDialogInitialName(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool fileNameHasWildcard(const QString& path) {
    const QString name = saveDialogInitialName(path);
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

QString wildcardNameRefusalText(const QString& path) {
    return QStringLiteral(
               "\"%1\" is a pattern, not a file name: * and ? cannot be part of "
               "the name of the file to write. Please type a name without them.")
        .arg(saveDialogInitialName(path));
}

}  // namespace base
