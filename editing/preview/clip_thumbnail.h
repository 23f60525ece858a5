#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"

#include <optional>
#include <string>

namespace editing {

// The picture a clip shows at media time `mediaTimeRefTime` (its in point, say) as the render
// shows it: turned upright as the stream's display matrix says, then fitted into width x height
// with its aspect ratio kept (black bars). Nothing when the file cannot be opened. Decodes from
// the key frame at or before the time, so it blocks for up to one key-frame interval: call it
// off the window thread. Any thread; keeps nothing between calls.
std::optional<Picture> clipPictureAt(const std::string& fileName, RefTime mediaTimeRefTime,
                                     int width, int height);

}  // namespace editing
