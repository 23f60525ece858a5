#include "base/text/elapsed_time.h"

namespace base {

QString formatElapsedTime(int seconds) {
    const int total = seconds < 0 ? 0 : seconds;
    return QString::asprintf("%02d:%02d:%02d", total / 3600, (total % 3600) / 60, total % 60);
}

}  // namespace base
