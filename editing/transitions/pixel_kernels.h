#pragma once

#include <cstdint>

namespace editing::transitions {

// Per-row pixel kernels of the transitions. Each writes `count` bytes of `out` from the same
// positions of `from` (A) and `to` (B). `out` may be exactly `from` (blend in place) but must
// not overlap `to` or partly overlap `from`.
//
// The loops run in fixed blocks of lanes so that the compiler vectorises them at the default
// optimisation level; a scalar tail finishes the row.

// out = B where map <= threshold, else A. A threshold of 0 keeps A everywhere (map values are
// at least 1); 65535 takes B everywhere.
void selectRow(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to,
               const std::uint16_t* map, int count, std::uint16_t threshold);

// out = (A * (256 - weight) + B * weight + 128) / 256 with weight in 0 .. 256: 0 gives A and
// 256 gives B exactly.
void mixRow(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to, int count,
            int weight);

// As mixRow with one weight (0 .. 256) per pixel.
void mixRowWeighted(std::uint8_t* out, const std::uint8_t* from, const std::uint8_t* to,
                    const std::uint16_t* weights, int count);

// The progress limited to 0 .. 1; a progress that is not a number counts as 0 (A).
inline double clampedProgress(double progress) {
    return progress > 0.0 ? (progress < 1.0 ? progress : 1.0) : 0.0;
}

// Copies a row unless source and target are the same bytes.
void copyRow(std::uint8_t* out, const std::uint8_t* source, int count);

}  // namespace editing::transitions
