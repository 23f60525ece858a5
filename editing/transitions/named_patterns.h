#pragma once

#include "editing/transitions/luma_map.h"

#include <cstdint>

namespace editing::transitions {

// Luma maps of the named effects that are hard-edged wipes, for a frame of width x height.

LumaMap makeIrisMap(int width, int height);          // plus sign growing from the centre
LumaMap makeRadialWipeMap(int width, int height);    // clock hand from 12 o'clock
LumaMap makeZigZagMap(int width, int height);        // 16 square cells across, snake order
LumaMap makeSpiralMap(int width, int height);        // the same cells, clockwise spiral
LumaMap makeWheelMap(int width, int height);         // four spokes fanning clockwise
LumaMap makeStripsMap(int width, int height);        // stepped diagonal from the top-left
LumaMap makeInsetMap(int width, int height);         // rectangle from the top-left corner
LumaMap makeBlindsMap(int width, int height);        // ten bands, each filling downward
LumaMap makeCheckerBoardMap(int width, int height);  // 12 x 10 squares wiped to the right

// Random effects: the same seed gives the same map.
LumaMap makeRandomBarsMap(int width, int height, std::uint32_t seed);      // whole rows
LumaMap makeRandomDissolveMap(int width, int height, std::uint32_t seed);  // single pixels

}  // namespace editing::transitions
