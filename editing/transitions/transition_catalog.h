#pragma once

#include "editing/transitions/transition.h"

#include <array>
#include <optional>
#include <string_view>

namespace editing {

// The 47 selectable transition effects, indexed by an entry's transition effect number.
// Index 0 ("None") carries no transition; 1 .. 16 are the named effects; 17 .. 46 are the
// SMPTE wipe with the row's pattern number.
struct TransitionEffectEntry {
    std::string_view name;  // the display name, exactly as the program shows it
    TransitionKind kind;    // meaningless for index 0
    int maskNumber;         // SMPTE pattern for the SMPTE wipe rows; 0 elsewhere
};

inline constexpr int kTransitionEffectCount = 47;

inline constexpr std::array<TransitionEffectEntry, kTransitionEffectCount>
    kTransitionEffectCatalog = {{
        {"None", TransitionKind::Fade, 0},
        {"Iris", TransitionKind::Iris, 0},
        {"RadialWipe", TransitionKind::RadialWipe, 0},
        {"Fade", TransitionKind::Fade, 0},
        {"ZigZag", TransitionKind::ZigZag, 0},
        {"RandomBars", TransitionKind::RandomBars, 0},
        {"Spiral", TransitionKind::Spiral, 0},
        {"Pixelate", TransitionKind::Pixelate, 0},
        {"Wheel", TransitionKind::Wheel, 0},
        {"Strips", TransitionKind::Strips, 0},
        {"Inset", TransitionKind::Inset, 0},
        {"Blinds", TransitionKind::Blinds, 0},
        {"Wipe", TransitionKind::Wipe, 0},
        {"CheckerBoard", TransitionKind::CheckerBoard, 0},
        {"Slide", TransitionKind::Slide, 0},
        {"Stretch", TransitionKind::Stretch, 0},
        {"RandomDissolve", TransitionKind::RandomDissolve, 0},
        {"Horizontal", TransitionKind::SmpteWipe, 1},
        {"Vertical", TransitionKind::SmpteWipe, 2},
        {"Four corners", TransitionKind::SmpteWipe, 7},
        {"Barn doors, horizontal", TransitionKind::SmpteWipe, 22},
        {"Diagonal, NW to SE", TransitionKind::SmpteWipe, 41},
        {"Triangles, top/bottom", TransitionKind::SmpteWipe, 43},
        {"left/right", TransitionKind::SmpteWipe, 44},
        {"stripe, SW to NE", TransitionKind::SmpteWipe, 45},
        {"Cross", TransitionKind::SmpteWipe, 47},
        {"Diamond Box", TransitionKind::SmpteWipe, 48},
        {"Wedge, top", TransitionKind::SmpteWipe, 61},
        {"Wedge, left", TransitionKind::SmpteWipe, 64},
        {"Sawtooth, left", TransitionKind::SmpteWipe, 71},
        {"Sawtooth, top", TransitionKind::SmpteWipe, 72},
        {"Sawtooth, vertical", TransitionKind::SmpteWipe, 73},
        {"Sawtooth, horizontal", TransitionKind::SmpteWipe, 74},
        {"Box", TransitionKind::SmpteWipe, 101},
        {"Diamond", TransitionKind::SmpteWipe, 102},
        {"Hexagon", TransitionKind::SmpteWipe, 113},
        {"Circle", TransitionKind::SmpteWipe, 119},
        {"Oval, horizontal", TransitionKind::SmpteWipe, 120},
        {"Rounded rectangle, horizontal", TransitionKind::SmpteWipe, 124},
        {"4-point star", TransitionKind::SmpteWipe, 127},
        {"5-point star", TransitionKind::SmpteWipe, 128},
        {"Heart", TransitionKind::SmpteWipe, 130},
        {"Radial, left", TransitionKind::SmpteWipe, 224},
        {"Radial, top split", TransitionKind::SmpteWipe, 231},
        {"Radial, top-right corner", TransitionKind::SmpteWipe, 244},
        {"Center radial, top", TransitionKind::SmpteWipe, 251},
        {"Matrix, horizontal", TransitionKind::SmpteWipe, 301},
    }};

// The display name of effect `effectIndex`; empty outside 0 .. 46.
std::string_view transitionEffectName(int effectIndex);

// What to create for effect `effectIndex` on frames of width x height: nothing for 0 (or a
// negative index); the SMPTE wipe with pattern 1 for an index above 46.
std::optional<TransitionSetup> transitionSetupForEffect(int effectIndex, int width, int height,
                                                        std::uint32_t seed);

}  // namespace editing
