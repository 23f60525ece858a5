#pragma once

namespace base {

// The sample rate (Hz) used when nothing names another: a sound group, a sound encoder, the
// preview's sound, and a recording format not yet told the capture source's own. The one place
// this default is written.
inline constexpr int kDefaultSampleRateHz = 44100;

}  // namespace base
