#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/timeline/timeline_model.h"

#include <atomic>
#include <functional>
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
    RefTime previousDuration = 0;  // where the previous clip's played span ends in its file
    std::string fileName;
    RefTime clipStart = 0;  // where the clip's played span starts in its file (its in point)
    int width = 0;
    int height = 0;
    StretchMode stretchMode = StretchMode::PreserveAspectRatio;
    // When set, read between decoded pictures: once true, decoding ends early and nothing more
    // is delivered (a dialog that closes does not wait for a long key-frame interval). Owned by
    // the caller; it outlives the call.
    const std::atomic<bool>* cancelled = nullptr;
};

// How close TransitionStills::from is to the previous clip's last frame.
enum class StillsAccuracy {
    // A is the key frame before the previous clip's last frame (at most one key-frame interval
    // earlier): the first real frames, ready after decoding one picture of each file.
    KeyFrameBeforeTheEnd,
    // A is the previous clip's last frame itself (and for the first clip, black).
    Exact,
};

using TransitionStillsDelivery =
    std::function<void(const TransitionStills& stills, StillsAccuracy accuracy)>;

// Decodes both pictures and hands them to `deliver` as they get better: first with the key
// frame before the previous clip's end (skipped for the first clip, whose A is black), then
// with the exact last frame, found by decoding forward from that key frame, so the cost does
// not grow with the clip's length. The two files are read at the same time on two threads; a
// file that cannot be read gives a black picture. `deliver` runs on the calling thread. Blocks
// for the decoding (at most a key-frame interval of the previous clip, less when cancelled):
// call it off the window thread.
void loadTransitionStills(const TransitionStillsRequest& request,
                          const TransitionStillsDelivery& deliver);

// The same, returning the exact stills only.
TransitionStills loadTransitionStills(const TransitionStillsRequest& request);

}  // namespace editing
