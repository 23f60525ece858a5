#include "mixer/media/media_folder.h"

namespace mixer {

QString folderOfPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool pathFitsTheSystem(const QString& path) {
    return path.toUtf8().size() < kMaxPathBytes;
}

}  // namespace mixer
