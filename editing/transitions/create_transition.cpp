#include "editing/transitions/geometric_transitions.h"
#include "editing/transitions/masked_transition.h"
#include "editing/transitions/mixing_transitions.h"
#include "editing/transitions/named_patterns.h"
#include "editing/transitions/smpte_patterns.h"
#include "editing/transitions/transition.h"

#include <algorithm>

namespace editing {

using namespace transitions;

std::unique_ptr<Transition> createTransition(const TransitionSetup& setup) {
    const int width = std::max(setup.width, 0);
    const int height = std::max(setup.height, 0);
    auto masked = [](LumaMap map) { return std::make_unique<MaskedTransition>(std::move(map)); };
    switch (setup.kind) {
        case TransitionKind::Iris:
            return masked(makeIrisMap(width, height));
        case TransitionKind::RadialWipe:
            return masked(makeRadialWipeMap(width, height));
        case TransitionKind::Fade:
            return std::make_unique<FadeTransition>();
        case TransitionKind::ZigZag:
            return masked(makeZigZagMap(width, height));
        case TransitionKind::RandomBars:
            return masked(makeRandomBarsMap(width, height, setup.seed));
        case TransitionKind::Spiral:
            return masked(makeSpiralMap(width, height));
        case TransitionKind::Pixelate:
            return std::make_unique<PixelateTransition>(width);
        case TransitionKind::Wheel:
            return masked(makeWheelMap(width, height));
        case TransitionKind::Strips:
            return masked(makeStripsMap(width, height));
        case TransitionKind::Inset:
            return masked(makeInsetMap(width, height));
        case TransitionKind::Blinds:
            return masked(makeBlindsMap(width, height));
        case TransitionKind::Wipe:
            return std::make_unique<SoftWipeTransition>(width, height);
        case TransitionKind::CheckerBoard:
            return masked(makeCheckerBoardMap(width, height));
        case TransitionKind::Slide:
            return std::make_unique<SlideTransition>();
        case TransitionKind::Stretch:
            return std::make_unique<StretchTransition>(width);
        case TransitionKind::RandomDissolve:
            return masked(makeRandomDissolveMap(width, height, setup.seed));
        case TransitionKind::SmpteWipe:
            break;
    }
    // The SMPTE wipe, and any kind this build does not know: an unknown pattern number draws
    // pattern 1.
    return masked(makeSmpteWipeMap(setup.maskNumber, width, height));
}

}  // namespace editing
