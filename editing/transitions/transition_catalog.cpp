#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <cstddef>

namespace editing {

namespace {

constexpr bool numbersFollowRows() {
    for (int index = 0; index < kTransitionEffectCount; ++index) {
        if (TransitionEffectTable[static_cast<std::size_t>(index)].number != index) {
            return false;
        }
    }
    return true;
}
static_assert(numbersFollowRows(), "each catalogue row's number is its place in the table");

}  // namespace

const TransitionEffectEntry* findTransitionEffect(int effectNumber) {
    if (effectNumber < 0 || effectNumber >= kTransitionEffectCount) {
        return nullptr;
    }
    return &TransitionEffectTable[static_cast<std::size_t>(effectNumber)];
}

std::string_view transitionEffectName(int effectNumber) {
    const TransitionEffectEntry* row = findTransitionEffect(effectNumber);
    return row != nullptr ? row->name : std::string_view{};
}

TransitionNodeEffect transitionNodeEffect(int effectNumber) {
    TransitionNodeEffect effect;
    const TransitionEffectEntry* row = findTransitionEffect(effectNumber);
    if (row == nullptr || !row->carriesTransition()) {
        return effect;
    }
    effect.kind = row->kind;
    if (row->kind == TransitionKind::SmpteWipe) {
        effect.maskNumber = row->maskNumber;
    }
    return effect;
}

std::optional<TransitionSetup> transitionSetupForEffect(int effectNumber, int width, int height,
                                                        std::uint32_t seed) {
    if (effectNumber <= 0) {
        return std::nullopt;
    }
    const TransitionNodeEffect effect = transitionNodeEffect(effectNumber);
    TransitionSetup setup;
    setup.kind = effect.kind;
    setup.maskNumber = effect.maskNumber.value_or(1);
    setup.width = width;
    setup.height = height;
    setup.seed = seed;
    return setup;
}

bool isCatalogueTransitionKind(TransitionKind kind) {
    return std::any_of(TransitionEffectTable.begin(), TransitionEffectTable.end(),
                       [kind](const TransitionEffectEntry& row) {
                           return row.carriesTransition() && row.kind == kind;
                       });
}

}  // namespace editing
