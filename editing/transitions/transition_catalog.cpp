#include "editing/transitions/transition_catalog.h"

namespace editing {

std::string_view transitionEffectName(int effectIndex) {
    if (effectIndex < 0 || effectIndex >= kTransitionEffectCount) {
        return {};
    }
    return kTransitionEffectCatalog[static_cast<std::size_t>(effectIndex)].name;
}

std::optional<TransitionSetup> transitionSetupForEffect(int effectIndex, int width, int height,
                                                        std::uint32_t seed) {
    if (effectIndex <= 0) {
        return std::nullopt;
    }
    TransitionSetup setup;
    setup.width = width;
    setup.height = height;
    setup.seed = seed;
    if (effectIndex >= kTransitionEffectCount) {
        setup.kind = TransitionKind::SmpteWipe;
        setup.maskNumber = 1;
        return setup;
    }
    const TransitionEffectEntry& row =
        kTransitionEffectCatalog[static_cast<std::size_t>(effectIndex)];
    setup.kind = row.kind;
    setup.maskNumber = row.kind == TransitionKind::SmpteWipe ? row.maskNumber : 1;
    return setup;
}

}  // namespace editing
