#include "editing/transitions/effect_factories.h"
#include "editing/transitions/transition.h"

namespace editing {

namespace {

// Each kind's implementation: the one place that names the effect implementations. The switch
// has no default, so a new kind without its implementation does not compile.
transitions::TransitionFactory factoryFor(TransitionKind kind) {
    using namespace transitions;
    switch (kind) {
        case TransitionKind::Iris:
            return maskedEffect<makeIrisMap>;
        case TransitionKind::RadialWipe:
            return maskedEffect<makeRadialWipeMap>;
        case TransitionKind::Fade:
            return effectOfClass<FadeTransition>;
        case TransitionKind::ZigZag:
            return maskedEffect<makeZigZagMap>;
        case TransitionKind::RandomBars:
            return seededMaskedEffect<makeRandomBarsMap>;
        case TransitionKind::Spiral:
            return maskedEffect<makeSpiralMap>;
        case TransitionKind::Pixelate:
            return effectOfClass<PixelateTransition>;
        case TransitionKind::Wheel:
            return maskedEffect<makeWheelMap>;
        case TransitionKind::Strips:
            return maskedEffect<makeStripsMap>;
        case TransitionKind::Inset:
            return maskedEffect<makeInsetMap>;
        case TransitionKind::Blinds:
            return maskedEffect<makeBlindsMap>;
        case TransitionKind::Wipe:
            return effectOfClass<SoftWipeTransition>;
        case TransitionKind::CheckerBoard:
            return maskedEffect<makeCheckerBoardMap>;
        case TransitionKind::Slide:
            return effectOfClass<SlideTransition>;
        case TransitionKind::Stretch:
            return effectOfClass<StretchTransition>;
        case TransitionKind::RandomDissolve:
            return seededMaskedEffect<makeRandomDissolveMap>;
        case TransitionKind::SmpteWipe:
            return smpteWipeEffect;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Transition> createTransition(const TransitionSetup& setup) {
    if (const transitions::TransitionFactory factory = factoryFor(setup.kind)) {
        return factory(setup);
    }
    // A kind this build does not know: the SMPTE wipe, whose unknown pattern draws pattern 1.
    return transitions::smpteWipeEffect(setup);
}

}  // namespace editing
