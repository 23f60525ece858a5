#pragma once

namespace editing {

// The sample rate (Hz) of a sound group, a sound encoder or the preview's sound when nothing
// names another: the one place this default is written in the editing layer.
inline constexpr int kDefaultSampleRateHz = 44100;

}  // namespace editing
