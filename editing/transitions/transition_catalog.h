#pragma once

#include "editing/transitions/transition.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace editing {

// One selectable transition effect. An entry's transition effect number is its row's number.
struct TransitionEffectEntry {
    int number;             // the row's place in the catalogue, 0 .. kTransitionEffectCount - 1
    std::string_view name;  // the display name, exactly as the program shows it everywhere
    TransitionKind kind;    // what the time line's transition node carries; meaningless for 0
    int maskNumber;         // SMPTE pattern ("MaskNum") for the SMPTE wipe rows; 0 elsewhere

    // Row 0 ("None") carries no transition; every other row does.
    constexpr bool carriesTransition() const { return number != 0; }
};

// The effect catalogue: the one table of the selectable effects, from which the program's
// effect lists, their count and the rule for numbers outside the table all come. Row 0
// ("None") carries no transition; 1 .. 16 are the named effects; the rest are the SMPTE wipe
// with the row's pattern. The table is data only (names, kinds, patterns), so what lists or
// stores effects does not pull their implementations; createTransition() (create_transition.cpp)
// maps each kind to its implementation. Adding an effect is one row here, its kind, its case
// there and its implementation file.
inline constexpr auto TransitionEffectTable = std::to_array<TransitionEffectEntry>({
    {0, "None", TransitionKind::Fade, 0},
    {1, "Iris", TransitionKind::Iris, 0},
    {2, "RadialWipe", TransitionKind::RadialWipe, 0},
    {3, "Fade", TransitionKind::Fade, 0},
    {4, "ZigZag", TransitionKind::ZigZag, 0},
    {5, "RandomBars", TransitionKind::RandomBars, 0},
    {6, "Spiral", TransitionKind::Spiral, 0},
    {7, "Pixelate", TransitionKind::Pixelate, 0},
    {8, "Wheel", TransitionKind::Wheel, 0},
    {9, "Strips", TransitionKind::Strips, 0},
    {10, "Inset", TransitionKind::Inset, 0},
    {11, "Blinds", TransitionKind::Blinds, 0},
    {12, "Wipe", TransitionKind::Wipe, 0},
    {13, "CheckerBoard", TransitionKind::CheckerBoard, 0},
    {14, "Slide", TransitionKind::Slide, 0},
    {15, "Stretch", TransitionKind::Stretch, 0},
    {16, "RandomDissolve", TransitionKind::RandomDissolve, 0},
    {17, "Horizontal", TransitionKind::SmpteWipe, 1},
    {18, "Vertical", TransitionKind::SmpteWipe, 2},
    {19, "Four corners", TransitionKind::SmpteWipe, 7},
    {20, "Barn doors, horizontal", TransitionKind::SmpteWipe, 22},
    {21, "Diagonal, NW to SE", TransitionKind::SmpteWipe, 41},
    {22, "Triangles, top/bottom", TransitionKind::SmpteWipe, 43},
    {23, "left/right", TransitionKind::SmpteWipe, 44},
    {24, "stripe, SW to NE", TransitionKind::SmpteWipe, 45},
    {25, "Cross", TransitionKind::SmpteWipe, 47},
    {26, "Diamond Box", TransitionKind::SmpteWipe, 48},
    {27, "Wedge, top", TransitionKind::SmpteWipe, 61},
    {28, "Wedge, left", TransitionKind::SmpteWipe, 64},
    {29, "Sawtooth, left", TransitionKind::SmpteWipe, 71},
    {30, "Sawtooth, top", TransitionKind::SmpteWipe, 72},
    {31, "Sawtooth, vertical", TransitionKind::SmpteWipe, 73},
    {32, "Sawtooth, horizontal", TransitionKind::SmpteWipe, 74},
    {33, "Box", TransitionKind::SmpteWipe, 101},
    {34, "Diamond", TransitionKind::SmpteWipe, 102},
    {35, "Hexagon", TransitionKind::SmpteWipe, 113},
    {36, "Circle", TransitionKind::SmpteWipe, 119},
    {37, "Oval, horizontal", TransitionKind::SmpteWipe, 120},
    {38, "Rounded rectangle, horizontal", TransitionKind::SmpteWipe, 124},
    {39, "4-point star", TransitionKind::SmpteWipe, 127},
    {40, "5-point star", TransitionKind::SmpteWipe, 128},
    {41, "Heart", TransitionKind::SmpteWipe, 130},
    {42, "Radial, left", TransitionKind::SmpteWipe, 224},
    {43, "Radial, top split", TransitionKind::SmpteWipe, 231},
    {44, "Radial, top-right corner", TransitionKind::SmpteWipe, 244},
    {45, "Center radial, top", TransitionKind::SmpteWipe, 251},
    {46, "Matrix, horizontal", TransitionKind::SmpteWipe, 301},
});

inline constexpr int kTransitionEffectCount = static_cast<int>(TransitionEffectTable.size());

// The row of effect `effectNumber`, or nullptr outside 0 .. kTransitionEffectCount - 1.
const TransitionEffectEntry* findTransitionEffect(int effectNumber);

// The display name of effect `effectNumber`; empty outside the catalogue.
std::string_view transitionEffectName(int effectNumber);

// What a transition node carries for effect `effectNumber`: its kind and, for the SMPTE wipe
// rows, the pattern. Numbers outside the catalogue (only a hand-edited profile gives one)
// carry the SMPTE wipe without a pattern, which draws pattern 1.
struct TransitionNodeEffect {
    TransitionKind kind = TransitionKind::SmpteWipe;
    std::optional<int> maskNumber;
};
TransitionNodeEffect transitionNodeEffect(int effectNumber);

// What to create for effect `effectNumber` on frames of width x height: nothing for 0 (or a
// negative number); otherwise the node's effect as transitionNodeEffect() gives it, so a
// preview made from it is exactly what the render draws.
std::optional<TransitionSetup> transitionSetupForEffect(int effectNumber, int width, int height,
                                                        std::uint32_t seed);

// Whether some row of the catalogue carries `kind` (what a transition node may hold).
bool isCatalogueTransitionKind(TransitionKind kind);

}  // namespace editing
