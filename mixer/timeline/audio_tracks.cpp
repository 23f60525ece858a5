#include "mixer/timeline/build_steps.h"
#include "mixer/timeline/placement.h"
#include "mixer/timeline/timeline_build.h"

namespace mixer {

using build_steps::tell;
using build_steps::trackRefused;

using editing::failed;
using editing::NodeKind;

Result AddAudioGroup(TimelineBuild& build) {
    editing::TimelineInterface& timeline = build.CurrentTimeline;

    NodeId audioGroup = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Group, audioGroup);
        failed(result)) {
        tell(build, "Could not create pAudioGroupObj");
        return result;
    }
    editing::GroupMediaType mediaType;  // the default audio format
    mediaType.kind = editing::MediaKind::Audio;
    if (const Result result = timeline.setMediaType(audioGroup, mediaType); failed(result)) {
        tell(build, "Could not set AudioGroupType");
        return result;
    }
    if (const Result result = timeline.addGroup(audioGroup); failed(result)) {
        tell(build, "Could not add audio group");
        return result;
    }

    const std::vector<AudioEntry>& audios = build.job.audios;
    for (std::size_t index = 0; index < audios.size(); ++index) {
        const int i = static_cast<int>(index);
        for (const AudioPlacement& placement :
             placeAudioEntry(audios[index], i, build.TotalVideoLength)) {
            // A clip that fails has told the user; the build goes on with the next one.
            static_cast<void>(AddAudioClip(build, audioGroup, audios[index].FileName,
                                           placement.start, placement.end, i));
        }
    }
    return editing::kOk;
}

Result AddAudioClip(TimelineBuild& build, NodeId audioGroup, const std::string& FileName,
                    RefTime start, RefTime end, int i) {
    editing::TimelineInterface& timeline = build.CurrentTimeline;

    NodeId track = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Track, track); failed(result)) {
        tell(build, "Could not create pTrack3Obj");
        return result;
    }
    if (const Result result = timeline.insertTrack(audioGroup, track, -1); failed(result)) {
        tell(build, "Could not insert pTrack3Obj");
        return result;
    }
    const RefTime mediaLength = end - start;
    NodeId source = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Source, source); failed(result)) {
        tell(build, "Could not create the pSource3Obj");
        return result;
    }
    const AudioEntry& entry = build.job.audios[static_cast<std::size_t>(i)];
    const RefTime stop = audioOutputStop(start, mediaLength, entry.Speed);
    // A span the time line refuses shows in the media times below, which share its length.
    static_cast<void>(timeline.setStartStop(source, start, stop));
    if (failed(timeline.setMediaTimes(source, entry.InPoint, entry.InPoint + mediaLength))) {
        tell(build, "Could not set audio start and eng time!");
        return editing::kErrorFail;
    }
    if (failed(timeline.setMediaName(source, FileName))) {
        tell(build, "Could not configure pSource3Src");
        return editing::kErrorFail;
    }
    if (const Result result = timeline.addSource(track, source); failed(result)) {
        tell(build, "Could not add pSource3Obj to track");
        return result;
    }
    // A volume effect that fails has told the user; the clip stays, at its own volume.
    static_cast<void>(AddVolumeEffect(build, track, start, stop, i));
    return editing::kOk;
}

Result AddVolumeEffect(TimelineBuild& build, NodeId track, RefTime start, RefTime stop, int i) {
    editing::TimelineInterface& timeline = build.CurrentTimeline;

    NodeId effect = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Effect, effect); failed(result)) {
        tell(build, "Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_EFFECT");
        return result;
    }
    const editing::SubObject audioMixer{editing::SubObject::Kind::AudioMixer, {}};
    if (const Result result = timeline.setSubObject(effect, audioMixer); failed(result)) {
        tell(build, "Could not pTrack3FxObj->SetSubObjectGUID of effect");
        return result;
    }
    if (const Result result = timeline.setStartStop(effect, start, stop); failed(result)) {
        tell(build, "Could not pTrack3FxObj->SetStartStop(TLTranStart, TLTranStop);");
        return result;
    }
    if (const Result result = timeline.insertEffect(track, effect, -1); failed(result)) {
        tell(build, trackRefused(result)
                        ? "Could not get *pTransable"
                        : "Could not pTrack3Fable->EffectInsBefore( pTrack3FxObj, -1 )");
        return result;
    }

    editing::PropertySet level;
    const double volume = build.job.audios[static_cast<std::size_t>(i)].Volume;
    Result result =
        level.addProperty("Vol", {editing::PropertyPoint{0, volume, editing::Interpolation::Jump}});
    if (!failed(result)) {
        result = timeline.setPropertySet(effect, level);
    }
    if (failed(result)) {
        tell(build, "Could not SetPropertySetter(pVolSetter)");
    }
    return editing::kOk;
}

}  // namespace mixer
