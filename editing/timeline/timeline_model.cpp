#include "editing/timeline/timeline_model.h"

#include <algorithm>

namespace editing {

RefTime TimelineModel::duration() const {
    RefTime end = 0;
    for (const GroupModel& group : groups) {
        for (const TrackModel& track : group.tracks) {
            for (const SourceModel& source : track.sources) {
                end = std::max(end, source.stop);
            }
            for (const TransitionModel& transition : track.transitions) {
                end = std::max(end, transition.stop);
            }
            for (const EffectModel& effect : track.effects) {
                end = std::max(end, effect.stop);
            }
        }
    }
    return end;
}

}  // namespace editing
