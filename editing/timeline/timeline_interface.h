#pragma once

#include "editing/core/ref_time.h"
#include "editing/core/result.h"
#include "editing/timeline/property_set.h"
#include "editing/timeline/timeline_model.h"
#include "editing/transitions/transition.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace editing {

// The editing time line's calls, node by node: create an unattached node, set it up, attach
// it. Every call returns a Result (negative = failure, see describeResult()). The build code
// of the mixer talks only to this interface, so a test double can make any one call fail.
//
// Threading: a time line is built and read on one thread; it is not shared while built.

enum class NodeKind { Group = 128, Track = 2, Source = 4, Transition = 8, Effect = 16 };

// A node of one time line; 0 is "no node".
using NodeId = std::int32_t;
inline constexpr NodeId kNoNode = 0;

// What a transition or effect node renders: one of the transition effects, or the audio
// mixer (volume) effect.
struct SubObject {
    enum class Kind { Transition, AudioMixer } kind = Kind::Transition;
    TransitionKind transition = TransitionKind::Fade;
};

// Asked by validateSourceNames() for each source whose file is missing: returns the file the
// user located, or nothing to leave the name as it is.
using MissingFileLocator = std::function<std::optional<std::string>(const std::string& missing)>;

class TimelineInterface {
  public:
    virtual ~TimelineInterface() = default;

    virtual Result createEmptyNode(NodeKind kind, NodeId& node) = 0;

    // Groups.
    virtual Result setMediaType(NodeId group, const GroupMediaType& mediaType) = 0;
    virtual Result setOutputFramesPerSecond(NodeId group, double framesPerSecond) = 0;
    virtual Result addGroup(NodeId group) = 0;
    virtual Result groupCount(int& count) const = 0;

    // Tracks: `priority` -1 appends the track above every earlier track of the group.
    virtual Result insertTrack(NodeId group, NodeId track, int priority) = 0;

    // Sources, transitions and effects: span on the output time line.
    virtual Result setStartStop(NodeId node, RefTime start, RefTime stop) = 0;

    // Sources.
    virtual Result setMediaTimes(NodeId source, RefTime mediaStart, RefTime mediaStop) = 0;
    virtual Result setMediaName(NodeId source, const std::string& fileName) = 0;
    virtual Result setStretchMode(NodeId source, int stretchMode) = 0;
    virtual Result addSource(NodeId track, NodeId source) = 0;

    // Transitions and effects.
    virtual Result setSubObject(NodeId node, const SubObject& subObject) = 0;
    virtual Result setPropertySet(NodeId node, const PropertySet& properties) = 0;
    virtual Result addTransition(NodeId track, NodeId transition) = 0;
    virtual Result insertEffect(NodeId track, NodeId effect, int priority) = 0;

    // Checks that every source's file exists; for each missing one asks `locator` and writes a
    // located replacement back into the source. Returns kOk when all files exist afterwards,
    // kFalse when some are still missing.
    virtual Result validateSourceNames(const MissingFileLocator& locator) = 0;

    // The time line as built so far (attached nodes only).
    virtual TimelineModel snapshot() const = 0;
};

}  // namespace editing
