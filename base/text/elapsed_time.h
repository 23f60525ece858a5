#pragma once

#include <QString>

namespace base {

// "HH:MM:SS" with each field at least two digits ("%02d:%02d:%02d"); hours grow past two
// digits instead of wrapping (100 hours -> "100:00:00"). Negative input counts as 0.
QString formatElapsedTime(int seconds);

}  // namespace base
