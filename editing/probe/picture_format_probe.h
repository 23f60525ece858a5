#pragma once

#include "editing/core/result.h"

#include <string>

namespace editing {

// The picture of a clip as a player shows it.
struct ShownPictureFormat {
    int width = 0;               // pixels, after the stream's quarter turns
    int height = 0;              // pixels
    double framesPerSecond = 0;  // the stream's average rate
    // framesPerSecond as the exact fraction it was read as: frames per this many seconds.
    int frameRateFrames = 0;
    int frameRateSeconds = 0;
};

// Reads the best video stream of `path`: its coded size turned by the display matrix (a quarter
// or three-quarter turn exchanges width and height, as players show upright phone video) and its
// average frame rate (the guessed rate when the container names none). Decodes nothing. On
// failure `description` says why in the words the user reads.
//
// Threading: any thread; each call opens and closes its own demuxer.
[[nodiscard]] Result probeShownPictureFormat(const std::string& path, ShownPictureFormat& format,
                                             std::string& description);

}  // namespace editing
