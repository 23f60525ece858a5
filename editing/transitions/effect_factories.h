#pragma once

#include "editing/transitions/geometric_transitions.h"
#include "editing/transitions/luma_map.h"
#include "editing/transitions/masked_transition.h"
#include "editing/transitions/mixing_transitions.h"
#include "editing/transitions/named_patterns.h"
#include "editing/transitions/smpte_patterns.h"
#include "editing/transitions/transition.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace editing::transitions {

// Adapters that turn an effect's implementation into the one factory shape the effect
// catalogue holds: the effect made for the setup's frame size (a negative size counts as 0).
using TransitionFactory = std::unique_ptr<Transition> (*)(const TransitionSetup& setup);

inline int setupWidth(const TransitionSetup& setup) {
    return std::max(setup.width, 0);
}
inline int setupHeight(const TransitionSetup& setup) {
    return std::max(setup.height, 0);
}

// A hard-edged wipe drawn from a luma map of the frame size.
template <LumaMap (*makeMap)(int width, int height)>
std::unique_ptr<Transition> maskedEffect(const TransitionSetup& setup) {
    return std::make_unique<MaskedTransition>(makeMap(setupWidth(setup), setupHeight(setup)));
}

// A hard-edged wipe whose map depends on the setup's seed (the random effects).
template <LumaMap (*makeMap)(int width, int height, std::uint32_t seed)>
std::unique_ptr<Transition> seededMaskedEffect(const TransitionSetup& setup) {
    return std::make_unique<MaskedTransition>(
        makeMap(setupWidth(setup), setupHeight(setup), setup.seed));
}

// The SMPTE wipe with the setup's pattern number (an unknown number draws pattern 1).
inline std::unique_ptr<Transition> smpteWipeEffect(const TransitionSetup& setup) {
    return std::make_unique<MaskedTransition>(
        makeSmpteWipeMap(setup.maskNumber, setupWidth(setup), setupHeight(setup)));
}

// An effect class made from the frame size, the frame width or nothing, as it asks.
template <class Effect>
std::unique_ptr<Transition> effectOfClass(const TransitionSetup& setup) {
    if constexpr (std::is_constructible_v<Effect, int, int>) {
        return std::make_unique<Effect>(setupWidth(setup), setupHeight(setup));
    } else if constexpr (std::is_constructible_v<Effect, int>) {
        return std::make_unique<Effect>(setupWidth(setup));
    } else {
        return std::make_unique<Effect>();
    }
}

}  // namespace editing::transitions
