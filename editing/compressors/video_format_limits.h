#pragma once

#include "editing/compressors/compressor_registry.h"
#include "editing/core/result.h"

#include <optional>
#include <string>

namespace editing {

// The largest side, in pixels, of any frame the render writes, compressed or not. It keeps a
// full frame (3 bytes a pixel) near 200 MB, and 8K UHD (7680 x 4320) fits.
inline constexpr int kLargestFrameSide = 8192;
inline constexpr int kSmallestFrameSide = 16;
// Frame rates, in frames per second, any output takes.
inline constexpr double kSmallestFrameRate = 0.001;
inline constexpr double kLargestFrameRate = 1000.0;

// The frame format asked of the render's video stream.
struct VideoFrameFormat {
    int width = 0;   // pixels
    int height = 0;  // pixels
    double framesPerSecond = 0;
};

// Whether `compressor` (nothing: full uncompressed frames) can write frames of `format`, judged
// from the encoders' known limits (sides below 1 are the encoder's to refuse): every side at most
// kLargestFrameSide (the mpeg4 encoder: 8191, its header's 13-bit fields), a rate from
// kSmallestFrameRate to kLargestFrameRate, and for the mpeg4 encoder a rate whose time base (as the
// render forms it, to a millionth) has at most 65535 ticks a second. Cheap and safe before anything
// of the frame's size exists: it opens no encoder and allocates nothing. kOk, or
// kErrorInvalidArgument with `description` naming the limit in the words the user reads.
[[nodiscard]] Result checkVideoFrameFormat(const std::optional<Compressor>& compressor,
                                           const VideoFrameFormat& format,
                                           std::string& description);

}  // namespace editing
