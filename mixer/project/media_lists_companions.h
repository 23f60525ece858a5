#pragma once

#include "mixer/project/mix_job.h"

#include <vector>

namespace mixer {

// Where video `row` begins on the output time line: the sum of the played lengths of the
// videos before it.
RefTime clipStartRefTime(const std::vector<VideoEntry>& videos, int row);

// For every video row, the audio row of the companion sound that still follows it, or -1: an
// audio entry of the same file and played length that still starts where the clip begins. A
// companion the user moved (another start) or gave another span no longer follows its clip.
// Each audio entry follows at most one clip.
std::vector<int> followingCompanions(const std::vector<VideoEntry>& videos,
                                     const std::vector<AudioEntry>& audios);

// Gives every following companion (from `companions`, indexed by the new video order) the
// start of its clip in `videos`.
void placeCompanions(const std::vector<VideoEntry>& videos, const std::vector<int>& companions,
                     std::vector<AudioEntry>& audios);

}  // namespace mixer
