#pragma once

#include "editing/core/ref_time.h"

#include <QString>

#include <cstdint>

namespace mixer {

// How long a running mix still needs and how fast it goes, shown beside its progress bar:
// "1:05 left, 3.2x real time" (minutes:seconds, hours:minutes:seconds from an hour on; the
// speed is output time written per second of wall time). The time left is estimated from the
// rate so far, so nothing is shown before kEstimateAfterMs of the mix have passed or while
// nothing has been written yet.
inline constexpr std::int64_t kEstimateAfterMs = 3000;

QString mixEstimateText(editing::RefTime writtenRefTime, editing::RefTime durationRefTime,
                        std::int64_t elapsedMs);

}  // namespace mixer
