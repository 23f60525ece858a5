#include "mixer/project/media_lists_companions.h"

#include <cstddef>

namespace mixer {

RefTime clipStartRefTime(const std::vector<VideoEntry>& videos, int row) {
    RefTime start = 0;
    for (int index = 0; index < row && index < static_cast<int>(videos.size()); ++index) {
        start += playedDurationRefTime(videos[static_cast<std::size_t>(index)]);
    }
    return start;
}

std::vector<int> followingCompanions(const std::vector<VideoEntry>& videos,
                                     const std::vector<AudioEntry>& audios) {
    std::vector<int> companions(videos.size(), -1);
    std::vector<bool> taken(audios.size(), false);
    RefTime start = 0;
    for (std::size_t row = 0; row < videos.size(); ++row) {
        const VideoEntry& video = videos[row];
        for (std::size_t audio = 0; audio < audios.size(); ++audio) {
            const AudioEntry& entry = audios[audio];
            if (!taken[audio] && entry.FileName == video.FileName && entry.StartTime == start &&
                entry.InPoint == video.InPoint &&
                playedDurationRefTime(entry) == playedDurationRefTime(video)) {
                taken[audio] = true;
                companions[row] = static_cast<int>(audio);
                break;
            }
        }
        start += playedDurationRefTime(video);
    }
    return companions;
}

void placeCompanions(const std::vector<VideoEntry>& videos, const std::vector<int>& companions,
                     std::vector<AudioEntry>& audios) {
    RefTime start = 0;
    for (std::size_t row = 0; row < videos.size() && row < companions.size(); ++row) {
        const int audio = companions[row];
        if (audio >= 0 && audio < static_cast<int>(audios.size())) {
            audios[static_cast<std::size_t>(audio)].StartTime = start;
        }
        start += playedDurationRefTime(videos[row]);
    }
}

}  // namespace mixer
