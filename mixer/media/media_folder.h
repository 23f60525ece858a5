#pragma once

#include <QString>

namespace mixer {

// The longest path the system accepts, in bytes of UTF-8, terminating zero included. A path
// this long or longer is refused, never cut.
inline constexpr int kMaxPathBytes = 4096;

bool pathFitsTheSystem(const QString& path);

}  // namespace mixer
