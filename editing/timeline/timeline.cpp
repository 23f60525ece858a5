#include "editing/timeline/timeline.h"

#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

namespace editing {

namespace {

// The longest path the system accepts, terminating zero included.
constexpr std::size_t kMaxPathBytes = PATH_MAX;

bool isSpanNode(NodeKind kind) {
    return kind == NodeKind::Source || kind == NodeKind::Transition || kind == NodeKind::Effect;
}

bool isKnownKind(NodeKind kind) {
    switch (kind) {
        case NodeKind::Group:
        case NodeKind::Track:
        case NodeKind::Source:
        case NodeKind::Transition:
        case NodeKind::Effect:
            return true;
    }
    return false;
}

bool fileExists(const std::string& name) {
    std::error_code error;
    return !name.empty() && std::filesystem::is_regular_file(name, error);
}

}  // namespace

Result Timeline::checkId(NodeId id) const {
    if (id == kNoNode) {
        return kErrorPointer;
    }
    if (id < 0 || static_cast<std::size_t>(id) > nodes_.size()) {
        return kErrorUnknownNode;
    }
    return kOk;
}

Result Timeline::find(NodeId id, Node*& node) {
    const Result result = checkId(id);
    if (succeeded(result)) {
        node = &nodes_[static_cast<std::size_t>(id) - 1];
    }
    return result;
}

Result Timeline::find(NodeId id, const Node*& node) const {
    const Result result = checkId(id);
    if (succeeded(result)) {
        node = &nodes_[static_cast<std::size_t>(id) - 1];
    }
    return result;
}

Result Timeline::findKind(NodeId id, NodeKind kind, Node*& node) {
    const Result result = find(id, node);
    if (failed(result)) {
        return result;
    }
    return node->kind == kind ? kOk : kErrorWrongNodeKind;
}

Result Timeline::findParentAndDetachedChild(NodeId parentId, NodeKind parentKind, Node*& parent,
                                            NodeId childId, NodeKind childKind, Node*& child) {
    if (const Result result = findKind(parentId, parentKind, parent); failed(result)) {
        return result;
    }
    if (const Result result = findKind(childId, childKind, child); failed(result)) {
        return result;
    }
    return child->attached ? kErrorNodeAlreadyAttached : kOk;
}

const GroupMediaType* Timeline::mediaTypeOfTrack(const Node& track) const {
    const Node* group = nullptr;
    if (track.parent == kNoNode || failed(find(track.parent, group)) || !group->hasMediaType) {
        return nullptr;
    }
    return &group->mediaType;
}

bool Timeline::overlapsSibling(const std::vector<NodeId>& siblings, NodeId candidate, RefTime start,
                               RefTime stop) const {
    if (start >= stop) {
        return false;  // an empty span covers no time
    }
    for (NodeId sibling : siblings) {
        if (sibling == candidate) {
            continue;
        }
        const Node& other = nodes_[static_cast<std::size_t>(sibling) - 1];
        if (other.start < other.stop && start < other.stop && other.start < stop) {
            return true;
        }
    }
    return false;
}

Result Timeline::insertAt(std::vector<NodeId>& list, NodeId id, int priority) {
    if (priority == -1) {
        list.push_back(id);
        return kOk;
    }
    if (priority < 0 || static_cast<std::size_t>(priority) > list.size()) {
        return kErrorInvalidArgument;
    }
    list.insert(list.begin() + priority, id);
    return kOk;
}

Result Timeline::createEmptyNode(NodeKind kind, NodeId& node) {
    node = kNoNode;
    if (!isKnownKind(kind)) {
        return kErrorInvalidArgument;
    }
    if (nodes_.size() >= static_cast<std::size_t>(INT32_MAX - 1)) {
        return kErrorOutOfMemory;
    }
    Node created;
    created.kind = kind;
    if (kind == NodeKind::Effect) {
        created.subObject.kind = SubObject::Kind::AudioMixer;
    } else if (kind == NodeKind::Transition) {
        created.subObject.transition = TransitionKind::SmpteWipe;
    }
    nodes_.push_back(std::move(created));
    node = static_cast<NodeId>(nodes_.size());
    return kOk;
}

Result Timeline::setMediaType(NodeId groupId, const GroupMediaType& mediaType) {
    Node* group = nullptr;
    if (const Result result = findKind(groupId, NodeKind::Group, group); failed(result)) {
        return result;
    }
    if (mediaType.kind == MediaKind::Video) {
        if (mediaType.width <= 0 || mediaType.height <= 0 || mediaType.bitsPerPixel <= 0) {
            return kErrorInvalidArgument;
        }
    } else if (mediaType.sampleRate <= 0 || mediaType.channels <= 0 ||
               mediaType.bitsPerSample <= 0) {
        return kErrorInvalidArgument;
    }
    // A group's tracks were made for its media; changing the kind under them is refused.
    if (group->hasMediaType && group->mediaType.kind != mediaType.kind &&
        !group->children.empty()) {
        return kErrorWrongNodeKind;
    }
    group->mediaType = mediaType;
    group->hasMediaType = true;
    return kOk;
}

Result Timeline::setOutputFramesPerSecond(NodeId groupId, double framesPerSecond) {
    Node* group = nullptr;
    if (const Result result = findKind(groupId, NodeKind::Group, group); failed(result)) {
        return result;
    }
    if (!std::isfinite(framesPerSecond) || framesPerSecond <= 0.0) {
        return kErrorInvalidArgument;
    }
    group->framesPerSecond = framesPerSecond;
    return kOk;
}

Result Timeline::addGroup(NodeId groupId) {
    Node* group = nullptr;
    if (const Result result = findKind(groupId, NodeKind::Group, group); failed(result)) {
        return result;
    }
    if (group->attached) {
        return kErrorNodeAlreadyAttached;
    }
    if (!group->hasMediaType) {
        return kErrorNoMediaType;
    }
    group->attached = true;
    groups_.push_back(groupId);
    return kOk;
}

Result Timeline::groupCount(int& count) const {
    count = static_cast<int>(groups_.size());
    return kOk;
}

Result Timeline::insertTrack(NodeId groupId, NodeId trackId, int priority) {
    Node* group = nullptr;
    Node* track = nullptr;
    if (const Result result = findParentAndDetachedChild(groupId, NodeKind::Group, group, trackId,
                                                         NodeKind::Track, track);
        failed(result)) {
        return result;
    }
    if (group->hasMediaType) {
        const bool video = group->mediaType.kind == MediaKind::Video;
        if ((video && !track->effects.empty()) || (!video && !track->transitions.empty())) {
            return kErrorWrongNodeKind;
        }
    }
    if (const Result result = insertAt(group->children, trackId, priority); failed(result)) {
        return result;
    }
    track->parent = groupId;
    track->attached = true;
    return kOk;
}

Result Timeline::setStartStop(NodeId nodeId, RefTime start, RefTime stop) {
    Node* node = nullptr;
    if (const Result result = find(nodeId, node); failed(result)) {
        return result;
    }
    if (!isSpanNode(node->kind)) {
        return kErrorWrongNodeKind;
    }
    if (start < 0) {
        return kErrorInvalidArgument;
    }
    if (stop < start) {
        return kErrorStopBeforeStart;
    }
    if (node->attached && node->kind != NodeKind::Effect) {
        const Node& track = nodes_[static_cast<std::size_t>(node->parent) - 1];
        const auto& siblings = node->kind == NodeKind::Source ? track.children : track.transitions;
        if (overlapsSibling(siblings, nodeId, start, stop)) {
            return kErrorInvalidArgument;
        }
    }
    node->start = start;
    node->stop = stop;
    return kOk;
}

Result Timeline::setMediaTimes(NodeId sourceId, RefTime mediaStart, RefTime mediaStop) {
    Node* source = nullptr;
    if (const Result result = findKind(sourceId, NodeKind::Source, source); failed(result)) {
        return result;
    }
    if (mediaStop <= mediaStart) {
        return kErrorEmptyMediaSpan;
    }
    if (mediaStart < 0) {
        return kErrorInvalidArgument;
    }
    source->mediaStart = mediaStart;
    source->mediaStop = mediaStop;
    source->hasMediaTimes = true;
    return kOk;
}

Result Timeline::setMediaName(NodeId sourceId, const std::string& fileName) {
    Node* source = nullptr;
    if (const Result result = findKind(sourceId, NodeKind::Source, source); failed(result)) {
        return result;
    }
    if (fileName.empty()) {
        return kErrorInvalidArgument;
    }
    if (fileName.size() >= kMaxPathBytes) {
        return kErrorNameTooLong;
    }
    source->mediaName = fileName;
    return kOk;
}

Result Timeline::setStretchMode(NodeId sourceId, int stretchMode) {
    Node* source = nullptr;
    if (const Result result = findKind(sourceId, NodeKind::Source, source); failed(result)) {
        return result;
    }
    switch (stretchMode) {
        case static_cast<int>(StretchMode::Stretch):
        case static_cast<int>(StretchMode::Crop):
        case static_cast<int>(StretchMode::PreserveAspectRatio):
        case static_cast<int>(StretchMode::PreserveAspectRatioNoLetterbox):
            source->stretchMode = static_cast<StretchMode>(stretchMode);
            return kOk;
        default:
            return kErrorUnknownStretchMode;
    }
}

Result Timeline::addSource(NodeId trackId, NodeId sourceId) {
    Node* track = nullptr;
    Node* source = nullptr;
    if (const Result result = findParentAndDetachedChild(trackId, NodeKind::Track, track, sourceId,
                                                         NodeKind::Source, source);
        failed(result)) {
        return result;
    }
    if (source->mediaName.empty()) {
        return kErrorInvalidArgument;  // nothing to play: the render could not open it
    }
    if (overlapsSibling(track->children, sourceId, source->start, source->stop)) {
        return kErrorInvalidArgument;
    }
    track->children.push_back(sourceId);
    source->parent = trackId;
    source->attached = true;
    return kOk;
}

Result Timeline::setSubObject(NodeId nodeId, const SubObject& subObject) {
    Node* node = nullptr;
    if (const Result result = find(nodeId, node); failed(result)) {
        return result;
    }
    const bool fits =
        (node->kind == NodeKind::Transition && subObject.kind == SubObject::Kind::Transition) ||
        (node->kind == NodeKind::Effect && subObject.kind == SubObject::Kind::AudioMixer);
    if (!fits) {
        return kErrorWrongNodeKind;
    }
    if (subObject.kind == SubObject::Kind::Transition) {
        if (!isCatalogueTransitionKind(subObject.transition)) {
            return kErrorInvalidArgument;
        }
    }
    node->subObject = subObject;
    return kOk;
}

Result Timeline::setPropertySet(NodeId nodeId, const PropertySet& properties) {
    Node* node = nullptr;
    if (const Result result = find(nodeId, node); failed(result)) {
        return result;
    }
    if (node->kind != NodeKind::Transition && node->kind != NodeKind::Effect) {
        return kErrorWrongNodeKind;
    }
    node->properties = properties;
    return kOk;
}

Result Timeline::addTransition(NodeId trackId, NodeId transitionId) {
    Node* track = nullptr;
    Node* transition = nullptr;
    if (const Result result = findParentAndDetachedChild(
            trackId, NodeKind::Track, track, transitionId, NodeKind::Transition, transition);
        failed(result)) {
        return result;
    }
    if (const GroupMediaType* media = mediaTypeOfTrack(*track);
        media != nullptr && media->kind != MediaKind::Video) {
        return kErrorWrongNodeKind;  // our transitions blend pictures
    }
    if (overlapsSibling(track->transitions, transitionId, transition->start, transition->stop)) {
        return kErrorInvalidArgument;
    }
    track->transitions.push_back(transitionId);
    transition->parent = trackId;
    transition->attached = true;
    return kOk;
}

Result Timeline::insertEffect(NodeId trackId, NodeId effectId, int priority) {
    Node* track = nullptr;
    Node* effect = nullptr;
    if (const Result result = findParentAndDetachedChild(trackId, NodeKind::Track, track, effectId,
                                                         NodeKind::Effect, effect);
        failed(result)) {
        return result;
    }
    if (const GroupMediaType* media = mediaTypeOfTrack(*track);
        media != nullptr && media->kind != MediaKind::Audio) {
        return kErrorWrongNodeKind;  // the audio mixer works on sound only
    }
    if (const Result result = insertAt(track->effects, effectId, priority); failed(result)) {
        return result;
    }
    effect->parent = trackId;
    effect->attached = true;
    return kOk;
}

Result Timeline::validateSourceNames(const MissingFileLocator& locator) {
    // Answers per name, so a file repeated on many tracks is asked for once.
    std::map<std::string, std::optional<std::string>> located;
    bool allFound = true;
    for (NodeId groupId : groups_) {
        for (NodeId trackId : nodes_[static_cast<std::size_t>(groupId) - 1].children) {
            for (NodeId sourceId : nodes_[static_cast<std::size_t>(trackId) - 1].children) {
                Node& source = nodes_[static_cast<std::size_t>(sourceId) - 1];
                auto known = located.find(source.mediaName);
                if (known == located.end()) {
                    std::optional<std::string> replacement;
                    if (!fileExists(source.mediaName)) {
                        replacement = locator ? locator(source.mediaName) : std::nullopt;
                        if (!replacement || !fileExists(*replacement) ||
                            replacement->size() >= kMaxPathBytes) {
                            replacement = std::string{};  // still missing
                        }
                    }
                    known = located.emplace(source.mediaName, std::move(replacement)).first;
                }
                if (!known->second) {
                    continue;  // the file exists
                }
                if (known->second->empty()) {
                    allFound = false;
                } else {
                    source.mediaName = *known->second;
                }
            }
        }
    }
    return allFound ? kOk : kFalse;
}

TimelineModel Timeline::snapshot() const {
    TimelineModel model;
    model.groups.reserve(groups_.size());
    const auto nodeAt = [this](NodeId id) -> const Node& {
        return nodes_[static_cast<std::size_t>(id) - 1];
    };
    const auto byStart = [](const auto& left, const auto& right) {
        return left.start < right.start || (left.start == right.start && left.stop < right.stop);
    };
    for (NodeId groupId : groups_) {
        const Node& group = nodeAt(groupId);
        GroupModel groupModel;
        groupModel.mediaType = group.mediaType;
        groupModel.outputFramesPerSecond = group.framesPerSecond;
        groupModel.tracks.reserve(group.children.size());
        for (NodeId trackId : group.children) {
            const Node& track = nodeAt(trackId);
            TrackModel trackModel;
            for (NodeId sourceId : track.children) {
                const Node& source = nodeAt(sourceId);
                SourceModel sourceModel;
                sourceModel.mediaName = source.mediaName;
                sourceModel.start = source.start;
                sourceModel.stop = source.stop;
                sourceModel.mediaStart = source.hasMediaTimes ? source.mediaStart : 0;
                sourceModel.mediaStop =
                    source.hasMediaTimes ? source.mediaStop : source.stop - source.start;
                sourceModel.stretchMode = source.stretchMode;
                trackModel.sources.push_back(std::move(sourceModel));
            }
            for (NodeId transitionId : track.transitions) {
                const Node& transition = nodeAt(transitionId);
                trackModel.transitions.push_back(TransitionModel{transition.subObject.transition,
                                                                 transition.start, transition.stop,
                                                                 transition.properties});
            }
            for (NodeId effectId : track.effects) {
                const Node& effect = nodeAt(effectId);
                trackModel.effects.push_back(EffectModel{EffectKind::AudioMixer, effect.start,
                                                         effect.stop, effect.properties});
            }
            std::stable_sort(trackModel.sources.begin(), trackModel.sources.end(), byStart);
            std::stable_sort(trackModel.transitions.begin(), trackModel.transitions.end(), byStart);
            groupModel.tracks.push_back(std::move(trackModel));
        }
        model.groups.push_back(std::move(groupModel));
    }
    return model;
}

}  // namespace editing
