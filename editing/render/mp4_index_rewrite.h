#pragma once

// Private to the render: the last step of an MP4 output.

#include "editing/core/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace editing {

// Rewrites the fragmented MP4 `fileName` as ordinary (non-fragmented) MP4 with its index in
// front of the media data (faststart), so that every player, and a player reading over a
// network, starts at once. Packets are copied unchanged. The new file is written beside the old
// one and then takes its name; on failure the fragmented file is left as it was (it plays) and
// `description` says why. `primingMicroseconds` holds, per stream, the encoder's priming at the
// stream's start (0 for video): the copy stamps it before 0, which the index records as the
// track's edit list, so players skip it and the sound starts with the picture.
Result rewriteWithIndexAtFront(const std::string& fileName,
                               const std::vector<std::int64_t>& primingMicroseconds,
                               std::string& description);

}  // namespace editing
