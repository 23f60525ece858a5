#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/timeline/timeline_model.h"

namespace editing {

// A quick stand-in for the picture of a video group at output time `time`, for seeking: the
// key frame at or before the matching media time of the topmost source that covers `time`,
// fitted as the render fits it (transitions are left out). Black where no source covers the
// time or its file cannot be read. Decodes at most two frames, so it costs about the same
// however far the time lies from a key frame.
void renderNearestKeyFrame(const GroupModel& group, RefTime time, Picture& out);

}  // namespace editing
