#pragma once

#include "base/sound/sound_defaults.h"

namespace editing {

using base::kDefaultSampleRateHz;

}  // namespace editing
