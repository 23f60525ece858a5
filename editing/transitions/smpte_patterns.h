#pragma once

#include "editing/transitions/luma_map.h"

#include <array>

namespace editing::transitions {

// The SMPTE wipe patterns this system draws, by their standard numbers ("MaskNum").
inline constexpr std::array<int, 30> kSmptePatternNumbers = {
    1,  2,   7,   22,  41,  43,  44,  45,  47,  48,  61,  64,  71,  72,  73,
    74, 101, 102, 113, 119, 120, 124, 127, 128, 130, 224, 231, 244, 251, 301};

bool isKnownSmptePattern(int maskNumber);

// The luma map of SMPTE wipe `maskNumber` (no border, offset 0, scale 1, no replication) for
// a frame of width x height pixels. An unknown number gives pattern 1 (left to right).
LumaMap makeSmpteWipeMap(int maskNumber, int width, int height);

}  // namespace editing::transitions
