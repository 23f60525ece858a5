#include "editing/transitions/transition_catalog.h"
#include "mixer/timeline/build_steps.h"
#include "mixer/timeline/timeline_build.h"

namespace mixer {

using build_steps::tell;
using build_steps::trackRefused;

using editing::failed;
using editing::NodeKind;

Result AddTransition(TimelineBuild& build, NodeId track, RefTime start, RefTime stop, int i) {
    const int transitionEffect = build.job.videos[static_cast<std::size_t>(i)].TransitionEffect;
    if (transitionEffect == 0) {
        return editing::kOk;
    }
    editing::TimelineInterface& timeline = build.CurrentTimeline;

    NodeId transition = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Transition, transition);
        failed(result)) {
        tell(build, "Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_TRANSITION");
        return result;
    }
    const editing::TransitionNodeEffect effect = editing::transitionNodeEffect(transitionEffect);
    editing::SubObject subObject;
    subObject.kind = editing::SubObject::Kind::Transition;
    subObject.transition = effect.kind;
    if (const Result result = timeline.setSubObject(transition, subObject); failed(result)) {
        tell(build, "Could not SetSubObjectGUID");
        return result;
    }
    if (const Result result = timeline.setStartStop(transition, start, stop); failed(result)) {
        tell(build, "Could not SetStartStop(TLTranStart, TLTranStop);");
        return result;
    }
    if (const Result result = timeline.addTransition(track, transition); failed(result)) {
        tell(build,
             trackRefused(result) ? "Could not get *pTransable" : "Could not TransAdd(pTransObj)");
        return result;
    }

    if (effect.maskNumber) {
        editing::PropertySet pattern;
        Result result = pattern.addProperty(
            "MaskNum", {editing::PropertyPoint{0, std::int32_t{*effect.maskNumber},
                                               editing::Interpolation::Jump}});
        if (!failed(result)) {
            result = timeline.setPropertySet(transition, pattern);
        }
        if (failed(result)) {
            tell(build, "Could not SetPropertySetter");
            return result;
        }
    }
    return editing::kOk;
}

}  // namespace mixer
