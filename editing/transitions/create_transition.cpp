#include "editing/transitions/transition.h"
#include "editing/transitions/transition_catalog.h"

namespace editing {

std::unique_ptr<Transition> createTransition(const TransitionSetup& setup) {
    // The first row of the kind makes it: the SMPTE rows share one factory that reads the
    // setup's pattern number, so any of them would do.
    for (const TransitionEffectEntry& row : TransitionEffectTable) {
        if (row.create != nullptr && row.kind == setup.kind) {
            return row.create(setup);
        }
    }
    // A kind this build does not know: the SMPTE wipe, whose unknown pattern draws pattern 1.
    return transitions::smpteWipeEffect(setup);
}

}  // namespace editing
