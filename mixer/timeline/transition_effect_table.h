#pragma once

#include "editing/transitions/transition.h"

#include <array>
#include <optional>

namespace mixer {

// One row of the transition effect list: a VideoEntry's TransitionEffect is its index.
struct TransitionEffectRow {
    int index = 0;
    const char* name = "";  // the display name, as the user knows it
    // The effect the transition node carries; nothing for row 0 ("None": no transition).
    std::optional<editing::TransitionKind> kind;
    // The SMPTE wipe's pattern, given as the property "MaskNum"; nothing for rows 0 - 16.
    std::optional<int> maskNumber;
};

inline constexpr int kTransitionEffectRows = 47;

// Rows 0 - 46 in index order: "None", the 16 named effects (1 "Iris" ... 16
// "RandomDissolve"), then 30 SMPTE wipe patterns (17 "Horizontal" MaskNum 1 ... 46
// "Matrix, horizontal" MaskNum 301).
extern const std::array<TransitionEffectRow, kTransitionEffectRows> TransitionEffectTable;

// The row of `transitionEffect`, or nothing for an index outside 0 - 46. Such an index (only a
// hand-edited profile can give one) is rendered as the SMPTE wipe without a "MaskNum".
const TransitionEffectRow* findTransitionEffect(int transitionEffect);

}  // namespace mixer
