#include "editing/preview/key_frame_picture.h"

#include "editing/playback/video_source_reader.h"

#include <limits>
#include <string>

namespace editing {

void renderNearestKeyFrame(const GroupModel& group, RefTime time, Picture& out) {
    const SourceModel* topmost = nullptr;
    for (const TrackModel& track : group.tracks) {  // bottom first: a later track covers
        for (const SourceModel& source : track.sources) {
            if (source.start <= time && time < source.stop) {
                topmost = &source;
            }
        }
    }
    if (topmost == nullptr) {
        out.fillBlack();
        return;
    }
    const long double rate = static_cast<long double>(topmost->mediaStop - topmost->mediaStart) /
                             static_cast<long double>(topmost->stop - topmost->start);
    const RefTime mediaTime =
        topmost->mediaStart +
        static_cast<RefTime>(static_cast<long double>(time - topmost->start) * rate);
    VideoSourceReader reader(out.width(), out.height(), topmost->stretchMode);
    std::string description;
    if (failed(reader.open(topmost->mediaName, mediaTime, description))) {
        out.fillBlack();
        return;
    }
    // Asked for a time before every frame, the reader shows the first frame it decodes after
    // the seek: the key frame the seek landed on.
    copyPicture(reader.pictureAt(std::numeric_limits<RefTime>::min() / 2).view(), out.view());
}

}  // namespace editing
