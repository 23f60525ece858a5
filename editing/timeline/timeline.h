#pragma once

#include "editing/timeline/timeline_interface.h"

#include <vector>

namespace editing {

// The editing time line: the real implementation of TimelineInterface, and the input of the
// render engine through snapshot().
//
// What it refuses (each with its own Result, so a caller can tell the user why):
// - an unknown node id (kErrorUnknownNode) or no node at all (kErrorPointer);
// - a call on a node of the wrong kind, e.g. media times on a track (kErrorWrongNodeKind),
//   and an effect or transition that does not fit the group's media (an audio mixer on a
//   video track, a picture transition on an audio track);
// - a node attached twice, or a group added twice (kErrorNodeAlreadyAttached);
// - a stop before its start (kErrorStopBeforeStart), a negative start, a priority that is
//   neither -1 nor a position in the list (kErrorInvalidArgument);
// - media times whose length is zero or less (kErrorEmptyMediaSpan);
// - an unknown stretch mode (kErrorUnknownStretchMode);
// - a media name that is empty (kErrorInvalidArgument) or longer than a path may be on this
//   system (kErrorNameTooLong), and a source without a media name added to a track;
// - a group without a media type added to the time line (kErrorNoMediaType), an invalid media
//   type or frame rate (kErrorInvalidArgument);
// - a source or transition that overlaps another of its kind on the same track.
// A zero-length span is accepted (a transition of no length blends nothing).
//
// Defaults of a fresh node: a source whose media times were never set plays its file from the
// beginning at normal speed; its stretch mode is PreserveAspectRatio. A transition without a
// sub-object is the SMPTE wipe; an effect is the audio mixer. A group's frame rate is 15.
//
// Ownership: nodes live as long as the time line; ids are never reused. Threading: one thread.
class Timeline final : public TimelineInterface {
  public:
    Timeline() = default;

    Result createEmptyNode(NodeKind kind, NodeId& node) override;

    Result setMediaType(NodeId group, const GroupMediaType& mediaType) override;
    Result setOutputFramesPerSecond(NodeId group, double framesPerSecond) override;
    Result addGroup(NodeId group) override;
    Result groupCount(int& count) const override;

    Result insertTrack(NodeId group, NodeId track, int priority) override;

    Result setStartStop(NodeId node, RefTime start, RefTime stop) override;

    Result setMediaTimes(NodeId source, RefTime mediaStart, RefTime mediaStop) override;
    Result setMediaName(NodeId source, const std::string& fileName) override;
    Result setStretchMode(NodeId source, int stretchMode) override;
    Result addSource(NodeId track, NodeId source) override;

    Result setSubObject(NodeId node, const SubObject& subObject) override;
    Result setPropertySet(NodeId node, const PropertySet& properties) override;
    Result addTransition(NodeId track, NodeId transition) override;
    Result insertEffect(NodeId track, NodeId effect, int priority) override;

    // Sources are checked in time-line order; a missing name is asked for once, and the file
    // located replaces that name in every source that carries it.
    Result validateSourceNames(const MissingFileLocator& locator) override;

    TimelineModel snapshot() const override;

  private:
    struct Node {
        NodeKind kind = NodeKind::Group;
        NodeId parent = kNoNode;  // the group of a track, the track of anything else
        bool attached = false;    // a group: added to the time line; others: has a parent
        // Group.
        bool hasMediaType = false;
        GroupMediaType mediaType;
        double framesPerSecond = 15.0;
        std::vector<NodeId> children;  // group: tracks bottom to top; track: sources
        // Track.
        std::vector<NodeId> transitions;
        std::vector<NodeId> effects;  // in priority order
        // Source, transition, effect.
        RefTime start = 0;
        RefTime stop = 0;
        // Source.
        bool hasMediaTimes = false;
        RefTime mediaStart = 0;
        RefTime mediaStop = 0;
        std::string mediaName;
        StretchMode stretchMode = StretchMode::PreserveAspectRatio;
        // Transition, effect.
        SubObject subObject;
        PropertySet properties;
    };

    // kErrorPointer for kNoNode, kErrorUnknownNode for an id of no node, else kOk.
    Result checkId(NodeId id) const;
    // Looks `id` up (see checkId); `node` is set only on success.
    Result find(NodeId id, Node*& node);
    Result find(NodeId id, const Node*& node) const;
    Result findKind(NodeId id, NodeKind kind, Node*& node);
    // The checks every insertion starts with: the parent and the child exist and are of their
    // kinds (first failure wins, parent first), and the child is not attached yet
    // (kErrorNodeAlreadyAttached). Both pointers are set as far as the lookups succeeded.
    Result findParentAndDetachedChild(NodeId parentId, NodeKind parentKind, Node*& parent,
                                      NodeId childId, NodeKind childKind, Node*& child);
    // The media kind of the group a track belongs to, when it belongs to one.
    const GroupMediaType* mediaTypeOfTrack(const Node& track) const;
    // Whether [start, stop) of `candidate` overlaps a sibling in `siblings` other than itself.
    bool overlapsSibling(const std::vector<NodeId>& siblings, NodeId candidate, RefTime start,
                         RefTime stop) const;
    static Result insertAt(std::vector<NodeId>& list, NodeId id, int priority);

    std::vector<Node> nodes_;  // node id n is nodes_[n - 1]
    std::vector<NodeId> groups_;
};

}  // namespace editing
