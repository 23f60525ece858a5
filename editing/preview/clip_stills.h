#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/timeline/timeline_model.h"

#include <string>

namespace editing {

// The two pictures a clip's transition blends, as the render would show them: the previous
// clip's last frame (A) and the clip's own first frame (B), fitted into width x height with
// `stretchMode`.
struct TransitionStills {
    Picture from;
    Picture to;
};

struct TransitionStillsRequest {
    std::string previousFileName;  // empty for the first clip: A is black
    RefTime previousDuration = 0;  // the previous clip's probed length
    std::string fileName;
    int width = 0;
    int height = 0;
    StretchMode stretchMode = StretchMode::PreserveAspectRatio;
};

// Decodes both pictures; the previous clip's last frame is found by seeking to the key frame
// before it and decoding forward from there, so the cost does not grow with the clip's length.
// The two files are read at the same time on two threads. A file that cannot be read gives a
// black picture. Blocks for the decoding: call it off the window thread.
TransitionStills loadTransitionStills(const TransitionStillsRequest& request);

}  // namespace editing
