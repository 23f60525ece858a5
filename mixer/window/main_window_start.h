#pragma once

#include "mixer/output/container_compressors.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/profile_loading.h"

namespace mixer {

// What the main window starts with: the profile's values as the application's start-up read
// and bound them before the window exists (mixer/window/orvindel_start_up.h). Plain values;
// the window copies them into its MixJob and its compressor bindings.
struct MainWindowStart {
    // Output name and size, frame rate, and the compressor use flags the binding gives.
    OutputSettings outputSettings;
    TransitionDefaults transitionDefaults;
    // The stored compressor positions, kept as stored.
    StoredCompressorChoices compressorChoices;
    // What the stored choices stand for in the registry, for the output name's container.
    BoundCompressors compressors;
};

}  // namespace mixer
