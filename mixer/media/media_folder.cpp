#include "mixer/media/media_folder.h"

namespace mixer {

bool pathFitsTheSystem(const QString& path) {
    return path.toUtf8().size() < kMaxPathBytes;
}

}  // namespace mixer
