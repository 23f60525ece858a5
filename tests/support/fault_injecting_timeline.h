#pragma once

#include "editing/timeline/timeline.h"

#include <map>
#include <optional>
#include <vector>

// A time line for tests that makes chosen calls fail: it wraps a real editing::Timeline,
// forwards every call to it, and answers a call that a Fault names with the fault's result
// instead (the real time line never sees that call). Header only, so any test executable that
// links editing_timeline can use it.
namespace test_support {

enum class TimelineCall {
    CreateEmptyNode,
    SetMediaType,
    SetOutputFramesPerSecond,
    AddGroup,
    InsertTrack,
    SetStartStop,
    SetMediaTimes,
    SetMediaName,
    SetStretchMode,
    AddSource,
    SetSubObject,
    SetPropertySet,
    AddTransition,
    InsertEffect,
    ValidateSourceNames,
};

struct TimelineFault {
    TimelineCall call = TimelineCall::CreateEmptyNode;
    // Which matching call fails, counted from 1; 0 makes every matching call fail.
    int occurrence = 1;
    editing::Result result = editing::kErrorFail;
    // Counts only calls about a node of this kind: the node created (CreateEmptyNode), the
    // node set up (SetStartStop, SetSubObject, SetPropertySet, ...) or the node attached
    // (InsertTrack, AddSource, AddTransition, InsertEffect, AddGroup).
    std::optional<editing::NodeKind> kind;
};

class FaultInjectingTimeline final : public editing::TimelineInterface {
  public:
    explicit FaultInjectingTimeline(std::vector<TimelineFault> faults = {})
        : faults_(std::move(faults)), seen_(faults_.size(), 0) {}

    editing::Timeline& real() { return real_; }
    // How many times `call` was made (failed ones included).
    int callCount(TimelineCall call) const {
        const auto found = calls_.find(call);
        return found == calls_.end() ? 0 : found->second;
    }
    // How many calls were answered by a fault.
    int injectedFailures() const { return injected_; }

    editing::Result createEmptyNode(editing::NodeKind kind, editing::NodeId& node) override {
        if (const auto fault = check(TimelineCall::CreateEmptyNode, kind)) {
            node = editing::kNoNode;
            return *fault;
        }
        const editing::Result result = real_.createEmptyNode(kind, node);
        if (editing::succeeded(result)) {
            kinds_[node] = kind;
        }
        return result;
    }
    editing::Result setMediaType(editing::NodeId group,
                                 const editing::GroupMediaType& mediaType) override {
        if (const auto fault = check(TimelineCall::SetMediaType, kindOf(group)))
            return *fault;
        return real_.setMediaType(group, mediaType);
    }
    editing::Result setOutputFramesPerSecond(editing::NodeId group, double fps) override {
        if (const auto fault = check(TimelineCall::SetOutputFramesPerSecond, kindOf(group)))
            return *fault;
        return real_.setOutputFramesPerSecond(group, fps);
    }
    editing::Result addGroup(editing::NodeId group) override {
        if (const auto fault = check(TimelineCall::AddGroup, kindOf(group)))
            return *fault;
        return real_.addGroup(group);
    }
    editing::Result groupCount(int& count) const override { return real_.groupCount(count); }
    editing::Result insertTrack(editing::NodeId group, editing::NodeId track,
                                int priority) override {
        if (const auto fault = check(TimelineCall::InsertTrack, kindOf(track)))
            return *fault;
        return real_.insertTrack(group, track, priority);
    }
    editing::Result setStartStop(editing::NodeId node, editing::RefTime start,
                                 editing::RefTime stop) override {
        if (const auto fault = check(TimelineCall::SetStartStop, kindOf(node)))
            return *fault;
        return real_.setStartStop(node, start, stop);
    }
    editing::Result setMediaTimes(editing::NodeId source, editing::RefTime mediaStart,
                                  editing::RefTime mediaStop) override {
        if (const auto fault = check(TimelineCall::SetMediaTimes, kindOf(source)))
            return *fault;
        return real_.setMediaTimes(source, mediaStart, mediaStop);
    }
    editing::Result setMediaName(editing::NodeId source, const std::string& fileName) override {
        if (const auto fault = check(TimelineCall::SetMediaName, kindOf(source)))
            return *fault;
        return real_.setMediaName(source, fileName);
    }
    editing::Result setStretchMode(editing::NodeId source, int stretchMode) override {
        if (const auto fault = check(TimelineCall::SetStretchMode, kindOf(source)))
            return *fault;
        return real_.setStretchMode(source, stretchMode);
    }
    editing::Result addSource(editing::NodeId track, editing::NodeId source) override {
        if (const auto fault = check(TimelineCall::AddSource, kindOf(source)))
            return *fault;
        return real_.addSource(track, source);
    }
    editing::Result setSubObject(editing::NodeId node,
                                 const editing::SubObject& subObject) override {
        if (const auto fault = check(TimelineCall::SetSubObject, kindOf(node)))
            return *fault;
        return real_.setSubObject(node, subObject);
    }
    editing::Result setPropertySet(editing::NodeId node,
                                   const editing::PropertySet& properties) override {
        if (const auto fault = check(TimelineCall::SetPropertySet, kindOf(node)))
            return *fault;
        return real_.setPropertySet(node, properties);
    }
    editing::Result addTransition(editing::NodeId track, editing::NodeId transition) override {
        if (const auto fault = check(TimelineCall::AddTransition, kindOf(transition)))
            return *fault;
        return real_.addTransition(track, transition);
    }
    editing::Result insertEffect(editing::NodeId track, editing::NodeId effect,
                                 int priority) override {
        if (const auto fault = check(TimelineCall::InsertEffect, kindOf(effect)))
            return *fault;
        return real_.insertEffect(track, effect, priority);
    }
    editing::Result validateSourceNames(const editing::MissingFileLocator& locator) override {
        if (const auto fault = check(TimelineCall::ValidateSourceNames, std::nullopt))
            return *fault;
        return real_.validateSourceNames(locator);
    }
    editing::TimelineModel snapshot() const override { return real_.snapshot(); }

  private:
    std::optional<editing::NodeKind> kindOf(editing::NodeId node) const {
        const auto found = kinds_.find(node);
        if (found == kinds_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    // The fault's result when this call is one a fault names, else nothing.
    std::optional<editing::Result> check(TimelineCall call, std::optional<editing::NodeKind> kind) {
        ++calls_[call];
        std::optional<editing::Result> answer;
        for (std::size_t index = 0; index < faults_.size(); ++index) {
            const TimelineFault& fault = faults_[index];
            if (fault.call != call || (fault.kind && fault.kind != kind)) {
                continue;
            }
            ++seen_[index];
            if (!answer && (fault.occurrence == 0 || fault.occurrence == seen_[index])) {
                answer = fault.result;
            }
        }
        if (answer) {
            ++injected_;
        }
        return answer;
    }

    editing::Timeline real_;
    std::vector<TimelineFault> faults_;
    std::vector<int> seen_;
    std::map<TimelineCall, int> calls_;
    std::map<editing::NodeId, editing::NodeKind> kinds_;
    int injected_ = 0;
};

}  // namespace test_support
