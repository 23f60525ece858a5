#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/project/mix_job.h"

#include <QString>

#include <optional>
#include <vector>

namespace mixer {

// The frame format a mix is about to write, settled before anything of that size exists.
// Where `output` takes its size or rate from the first clip (SizeSource, or the frame-rate
// entry kFirstClipFrameRateIndex), the first listed clip is probed and OutputWidth / OutputHigh
// (rounded down to multiples of 8, at least 16, as typed sizes are) and OutputFrameRate (to a
// thousandth) are set from its upright picture; the choices themselves stay, so the next mix
// looks again. Then the size and rate are judged against `videoCompressor` (nothing: full
// frames). Empty when the render may start; else the text the user reads, naming the limit.
[[nodiscard]] QString settleOutputFrameFormat(
    OutputSettings& output, const std::vector<VideoEntry>& videos,
    const std::optional<editing::Compressor>& videoCompressor);

}  // namespace mixer
