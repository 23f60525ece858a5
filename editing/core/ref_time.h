#pragma once

#include <cstdint>

namespace editing {

// Media time everywhere in the editing layer: a signed 64-bit count of 100-ns units.
using RefTime = std::int64_t;

inline constexpr RefTime kRefTimePerSecond = 10'000'000;

// Start of output frame `frameIndex` at `framesPerSecond`, truncated toward zero.
inline RefTime frameStartRefTime(std::int64_t frameIndex, double framesPerSecond) {
    return static_cast<RefTime>(static_cast<double>(frameIndex) *
                                static_cast<double>(kRefTimePerSecond) / framesPerSecond);
}

}  // namespace editing
