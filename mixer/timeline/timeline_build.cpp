#include "mixer/timeline/timeline_build.h"
#include "mixer/timeline/build_steps.h"

#include "editing/timeline/timeline.h"
#include "mixer/timeline/placement.h"

namespace mixer {

using build_steps::tell;

using editing::failed;
using editing::NodeKind;

namespace {

// Whole seconds of a time, truncated, for the captions of the media error boxes.
int wholeSeconds(RefTime time) {
    return static_cast<int>(time / editing::kRefTimePerSecond);
}

}  // namespace

TimelineFactory realTimelineFactory() {
    return [](std::unique_ptr<editing::TimelineInterface>& timeline) {
        timeline = std::make_unique<editing::Timeline>();
        return editing::kOk;
    };
}

void showMediaError(TimelineBuild& build, Result code, const QString& caption) {
    if (!failed(code)) {
        return;
    }
    QString text = QString::fromStdString(editing::describeResult(code));
    if (text.isEmpty()) {
        text = QString::asprintf("Unknown Error: 0x%2x", static_cast<unsigned>(code));
    }
    build.prompt.tell(text, caption, base::PromptIcon::Error, build.owner);
}

BuiltTimeline BuildTimeline(const MixJob& job, const TimelineFactory& factory,
                            base::PromptPort& prompt, const editing::MissingFileLocator& locator,
                            QWidget* owner) {
    BuiltTimeline built;
    std::unique_ptr<editing::TimelineInterface> timeline;
    Result created = factory ? factory(timeline) : editing::kErrorPointer;
    if (!failed(created) && !timeline) {
        created = editing::kErrorPointer;  // a factory that made nothing failed
    }
    if (failed(created)) {
        prompt.tell(QStringLiteral("Could not create timeline"), QStringLiteral("Error"),
                    base::PromptIcon::None, owner);
        built.status = created;
        return built;
    }

    TimelineBuild build{*timeline, job, prompt, totalVideoLength(job.videos), owner};
    // Each step tells the user of its own failures; the build goes on with the next step.
    if (!job.videos.empty()) {
        static_cast<void>(AddVideoGroup(build));
    }
    if (!job.audios.empty()) {
        static_cast<void>(AddAudioGroup(build));
    }
    // Files still missing afterwards are found out by the render, which cannot open them.
    static_cast<void>(timeline->validateSourceNames(locator));

    built.status = editing::kOk;
    built.TotalVideoLength = build.TotalVideoLength;
    built.CurrentTimeline = std::move(timeline);
    return built;
}

Result AddVideoGroup(TimelineBuild& build) {
    editing::TimelineInterface& timeline = build.CurrentTimeline;
    const OutputSettings& output = build.job.outputSettings;

    NodeId videoGroup = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Group, videoGroup);
        failed(result)) {
        tell(build, "Could not create empty node");
        return result;
    }
    editing::GroupMediaType mediaType;
    mediaType.kind = editing::MediaKind::Video;
    mediaType.width = output.OutputWidth;
    mediaType.height = output.OutputHigh;
    mediaType.bitsPerPixel = 24;
    if (const Result result = timeline.setMediaType(videoGroup, mediaType); failed(result)) {
        tell(build, "Could not pVideoGroup->SetMediaType(&mtGroup)");
        return result;
    }
    if (const Result result = timeline.setOutputFramesPerSecond(videoGroup, output.OutputFrameRate);
        failed(result)) {
        tell(build, "Could not SetOutputFPS");
        return result;
    }
    if (const Result result = timeline.addGroup(videoGroup); failed(result)) {
        tell(build, "Could not add video group");
        return result;
    }

    for (const VideoPlacement& clip :
         placeVideoClips(build.job.videos, build.TotalVideoLength,
                         videoCursorStartOf(build.job.transitionDefaults))) {
        const VideoEntry& entry = build.job.videos[static_cast<std::size_t>(clip.index)];
        // A clip that fails has told the user; the build goes on with the next one.
        static_cast<void>(AddVideoClip(build, videoGroup, entry.FileName, clip.start, clip.stop,
                                       clip.transitionDuration, clip.index));
    }
    return editing::kOk;
}

Result AddVideoClip(TimelineBuild& build, NodeId videoGroup, const std::string& FileName,
                    RefTime start, RefTime stop, RefTime transitionDuration, int i) {
    editing::TimelineInterface& timeline = build.CurrentTimeline;

    NodeId track = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Track, track); failed(result)) {
        tell(build, "Could not create empty track");
        return result;
    }
    if (const Result result = timeline.insertTrack(videoGroup, track, -1); failed(result)) {
        tell(build, "Could not insert track");
        return result;
    }
    NodeId source = editing::kNoNode;
    if (const Result result = timeline.createEmptyNode(NodeKind::Source, source); failed(result)) {
        tell(build, "Could not create the timeline source");
        return result;
    }

    // The three settings below are reported and the clip goes on without them.
    if (const Result result = timeline.setStartStop(source, start, stop); failed(result)) {
        showMediaError(
            build, result,
            QString::asprintf("SetStartStop(%d,%d)", wholeSeconds(start), wholeSeconds(stop)));
    }
    const RefTime mediaStart = build.job.videos[static_cast<std::size_t>(i)].InPoint;
    const RefTime mediaStop = mediaStart + (stop - start);
    if (const Result result = timeline.setMediaTimes(source, mediaStart, mediaStop);
        failed(result)) {
        showMediaError(build, result,
                       QString::asprintf("SetMediaTimes(%d,%d)", wholeSeconds(mediaStart),
                                         wholeSeconds(mediaStop)));
    }
    if (const Result result = timeline.setMediaName(source, FileName); failed(result)) {
        showMediaError(build, result,
                       QStringLiteral("SetMediaName(%1)").arg(QString::fromStdString(FileName)));
    }
    const int resizeMode = build.job.outputSettings.ResizeMode;
    if (const Result result = timeline.setStretchMode(source, resizeMode); failed(result)) {
        showMediaError(build, result, QString::asprintf("SetStretchMode(%d)", resizeMode));
        return editing::kErrorFail;
    }
    if (const Result result = timeline.addSource(track, source); failed(result)) {
        tell(build, "Could not add source to track");
        return result;
    }

    VideoPlacement clip;
    clip.index = i;
    clip.start = start;
    clip.stop = stop;
    clip.transitionDuration = transitionDuration;
    if (const std::optional<Span> span = transitionSpan(clip, build.TotalVideoLength)) {
        // A transition that fails has told the user; the clip stays, without it.
        static_cast<void>(AddTransition(build, track, span->start, span->stop, i));
    } else {
        tell(build, "Transition time should be less than");
    }
    return editing::kOk;
}

}  // namespace mixer
