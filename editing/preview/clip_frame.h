#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/timeline/timeline_model.h"

#include <optional>
#include <string>

namespace editing {

// One picture of a clip as the render shows it at a media time: the last frame whose time is
// at or before the time, turned as the file's display matrix says and fitted into width x
// height by `stretchMode`. Black when the file has no picture or cannot be read.
struct ClipFrameRequest {
    std::string fileName;
    RefTime mediaTime = 0;
    int width = 0;
    int height = 0;
    StretchMode stretchMode = StretchMode::PreserveAspectRatio;
};

// Seeks to the key frame before the time and decodes forward to it, so the cost is at most one
// key-frame interval of decoding. Threading: any thread; each call opens its own reader.
Picture clipFrameAt(const ClipFrameRequest& request);

// As clipFrameAt, but nothing when the file cannot be opened, for a caller that shows a stand-in
// of its own (the lists' thumbnails).
std::optional<Picture> readableClipFrameAt(const ClipFrameRequest& request);

// The frame rate of the file's picture stream as a fraction, read by the same rule as the
// output's "same as the first clip" rate (probeShownPictureFormat). Both 0 when the file has no
// picture or no usable rate. Threading: any thread.
struct ClipFrameRate {
    int frames = 0;      // frames ...
    int perSeconds = 0;  // ... per this many seconds
};
ClipFrameRate clipFrameRate(const std::string& fileName);

}  // namespace editing
