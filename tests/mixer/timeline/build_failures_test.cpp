#include "mixer/timeline/timeline_build.h"

#include "tests/support/fault_injecting_timeline.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;
using base::PromptIcon;
using editing::NodeKind;
using test_support::TimelineCall;
using test_support::TimelineFault;

// Three clips (10 s, 8 s, 6 s, each with a 2 s transition: the output lasts 24 s) with effects
// 17 (a wipe with a pattern), 3 (a fade) and 46, and two sounds, the first at volume 0.5.
MixJob threeClipsAndTwoSounds() {
    MixJob job;
    const auto clip = [](const char* name, RefTime seconds, int effect) {
        VideoEntry entry;
        entry.FileName = name;
        entry.Duration = seconds * kSecond;
        entry.TransitionDuration = 2 * kSecond;
        entry.TransitionEffect = effect;
        return entry;
    };
    job.videos = {clip("/v/a.avi", 10, 17), clip("/v/b.avi", 8, 3), clip("/v/c.avi", 6, 46)};
    const auto sound = [](const char* name, RefTime startSeconds, double volume) {
        AudioEntry entry;
        entry.FileName = name;
        entry.Duration = 5 * kSecond;
        entry.StartTime = startSeconds * kSecond;
        entry.Volume = volume;
        return entry;
    };
    job.audios = {sound("/s/one.wav", 0, 0.5), sound("/s/two.wav", 5, 1.0)};
    return job;
}

// The time line in a few letters: per group "V" or "A", per track the source's file stem ("-"
// for an empty track), "+T" for a transition, "M" when it carries "MaskNum", "+E" for an
// effect, "v" when it carries "Vol".
std::string shapeOf(const editing::TimelineModel& model) {
    std::string shape;
    for (const editing::GroupModel& group : model.groups) {
        if (!shape.empty()) {
            shape += " | ";
        }
        shape += group.mediaType.kind == editing::MediaKind::Video ? "V" : "A";
        for (const editing::TrackModel& track : group.tracks) {
            shape += " ";
            shape += track.sources.empty()
                         ? std::string("-")
                         : std::filesystem::path(track.sources[0].mediaName).stem().string();
            for (const editing::TransitionModel& transition : track.transitions) {
                shape += transition.properties.find("MaskNum") ? "+TM" : "+T";
            }
            for (const editing::EffectModel& effect : track.effects) {
                shape += effect.properties.find("Vol") ? "+Ev" : "+E";
            }
        }
    }
    return shape;
}

struct Box {
    QString text;
    QString caption;
    PromptIcon icon = PromptIcon::None;
};

Box plain(const char* text) {
    return Box{text, {}, PromptIcon::None};
}
Box mediaError(const QString& text, const char* caption) {
    return Box{text, caption, PromptIcon::Error};
}

struct FaultCase {
    const char* name;
    std::vector<TimelineFault> faults;
    std::vector<Box> boxes;
    std::string shape;
};

TimelineFault fault(TimelineCall call, int occurrence, std::optional<NodeKind> kind = std::nullopt,
                    editing::Result result = editing::kErrorFail) {
    return TimelineFault{call, occurrence, result, kind};
}

constexpr editing::Result kUndescribed = static_cast<editing::Result>(0x80040399);

TEST(BuildFailuresTest, EachFailedStepIsToldAndTheBuildGoesOn) {
    const QString invalid =
        QString::fromStdString(editing::describeResult(editing::kErrorInvalidArgument));
    const QString unspecified =
        QString::fromStdString(editing::describeResult(editing::kErrorFail));
    const std::string sound = "A one+Ev two+Ev";
    const std::string pictures = "V a+TM b+T c+TM";
    const std::vector<FaultCase> cases = {
        {"nothing fails", {}, {}, pictures + " | " + sound},
        // The video group.
        {"group node",
         {fault(TimelineCall::CreateEmptyNode, 1, NodeKind::Group)},
         {plain("Could not create empty node")},
         sound},
        {"group media type",
         {fault(TimelineCall::SetMediaType, 1)},
         {plain("Could not pVideoGroup->SetMediaType(&mtGroup)")},
         sound},
        {"output frame rate",
         {fault(TimelineCall::SetOutputFramesPerSecond, 1)},
         {plain("Could not SetOutputFPS")},
         sound},
        {"add video group",
         {fault(TimelineCall::AddGroup, 1)},
         {plain("Could not add video group")},
         sound},
        // The clips: the second one fails.
        {"track node",
         {fault(TimelineCall::CreateEmptyNode, 2, NodeKind::Track)},
         {plain("Could not create empty track")},
         "V a+TM c+TM | " + sound},
        {"track insertion",
         {fault(TimelineCall::InsertTrack, 2, NodeKind::Track)},
         {plain("Could not insert track")},
         "V a+TM c+TM | " + sound},
        {"source node",
         {fault(TimelineCall::CreateEmptyNode, 2, NodeKind::Source)},
         {plain("Could not create the timeline source")},
         "V a+TM - c+TM | " + sound},
        {"source span: the clip goes on",
         {fault(TimelineCall::SetStartStop, 2, NodeKind::Source, editing::kErrorInvalidArgument)},
         {mediaError(invalid, "SetStartStop(9,19)")},
         pictures + " | " + sound},
        {"media times: an undescribed code, the clip goes on",
         {fault(TimelineCall::SetMediaTimes, 2, NodeKind::Source, kUndescribed)},
         {mediaError("Unknown Error: 0x80040399", "SetMediaTimes(0,10)")},
         pictures + " | " + sound},
        {"media name: the clip goes on, and the time line refuses a source without a file",
         {fault(TimelineCall::SetMediaName, 2, NodeKind::Source)},
         {mediaError(unspecified, "SetMediaName(/v/b.avi)"),
          plain("Could not add source to track")},
         "V a+TM - c+TM | " + sound},
        {"stretch mode: the clip is skipped",
         {fault(TimelineCall::SetStretchMode, 2)},
         {mediaError(unspecified, "SetStretchMode(2)")},
         "V a+TM - c+TM | " + sound},
        {"source to track",
         {fault(TimelineCall::AddSource, 2, NodeKind::Source)},
         {plain("Could not add source to track")},
         "V a+TM - c+TM | " + sound},
        {"every stretch mode fails",
         {fault(TimelineCall::SetStretchMode, 0)},
         {mediaError(unspecified, "SetStretchMode(2)"),
          mediaError(unspecified, "SetStretchMode(2)"),
          mediaError(unspecified, "SetStretchMode(2)")},
         "V - - - | " + sound},
        // The transition of the second clip.
        {"transition node",
         {fault(TimelineCall::CreateEmptyNode, 2, NodeKind::Transition)},
         {plain("Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_TRANSITION")},
         "V a+TM b c+TM | " + sound},
        {"transition class",
         {fault(TimelineCall::SetSubObject, 2, NodeKind::Transition)},
         {plain("Could not SetSubObjectGUID")},
         "V a+TM b c+TM | " + sound},
        {"transition span",
         {fault(TimelineCall::SetStartStop, 2, NodeKind::Transition)},
         {plain("Could not SetStartStop(TLTranStart, TLTranStop);")},
         "V a+TM b c+TM | " + sound},
        {"track refuses transitions",
         {fault(TimelineCall::AddTransition, 2, std::nullopt, editing::kErrorWrongNodeKind)},
         {plain("Could not get *pTransable")},
         "V a+TM b c+TM | " + sound},
        {"transition insertion",
         {fault(TimelineCall::AddTransition, 2)},
         {plain("Could not TransAdd(pTransObj)")},
         "V a+TM b c+TM | " + sound},
        {"wipe pattern: the transition stays without it",
         {fault(TimelineCall::SetPropertySet, 1, NodeKind::Transition)},
         {plain("Could not SetPropertySetter")},
         "V a+T b+T c+TM | " + sound},
        // The audio group.
        {"audio group node",
         {fault(TimelineCall::CreateEmptyNode, 2, NodeKind::Group)},
         {plain("Could not create pAudioGroupObj")},
         pictures},
        {"audio group media type",
         {fault(TimelineCall::SetMediaType, 2)},
         {plain("Could not set AudioGroupType")},
         pictures},
        {"add audio group",
         {fault(TimelineCall::AddGroup, 2)},
         {plain("Could not add audio group")},
         pictures},
        // The first sound's placement (tracks 1 - 3 are the clips').
        {"sound track node",
         {fault(TimelineCall::CreateEmptyNode, 4, NodeKind::Track)},
         {plain("Could not create pTrack3Obj")},
         pictures + " | A two+Ev"},
        {"sound track insertion",
         {fault(TimelineCall::InsertTrack, 4)},
         {plain("Could not insert pTrack3Obj")},
         pictures + " | A two+Ev"},
        {"sound source node",
         {fault(TimelineCall::CreateEmptyNode, 4, NodeKind::Source)},
         {plain("Could not create the pSource3Obj")},
         pictures + " | A - two+Ev"},
        {"sound span: ignored",
         {fault(TimelineCall::SetStartStop, 4, NodeKind::Source)},
         {},
         pictures + " | " + sound},
        {"sound media times",
         {fault(TimelineCall::SetMediaTimes, 4)},
         {plain("Could not set audio start and eng time!")},
         pictures + " | A - two+Ev"},
        {"sound media name",
         {fault(TimelineCall::SetMediaName, 4)},
         {plain("Could not configure pSource3Src")},
         pictures + " | A - two+Ev"},
        {"sound source to track",
         {fault(TimelineCall::AddSource, 4)},
         {plain("Could not add pSource3Obj to track")},
         pictures + " | A - two+Ev"},
        // The first sound's volume effect.
        {"effect node",
         {fault(TimelineCall::CreateEmptyNode, 1, NodeKind::Effect)},
         {plain("Could not CreateEmptyNode TIMELINE_MAJOR_TYPE_EFFECT")},
         pictures + " | A one two+Ev"},
        {"effect class",
         {fault(TimelineCall::SetSubObject, 1, NodeKind::Effect)},
         {plain("Could not pTrack3FxObj->SetSubObjectGUID of effect")},
         pictures + " | A one two+Ev"},
        {"effect span",
         {fault(TimelineCall::SetStartStop, 1, NodeKind::Effect)},
         {plain("Could not pTrack3FxObj->SetStartStop(TLTranStart, TLTranStop);")},
         pictures + " | A one two+Ev"},
        {"track refuses effects",
         {fault(TimelineCall::InsertEffect, 1, std::nullopt, editing::kErrorWrongNodeKind)},
         {plain("Could not get *pTransable")},
         pictures + " | A one two+Ev"},
        {"effect insertion",
         {fault(TimelineCall::InsertEffect, 1)},
         {plain("Could not pTrack3Fable->EffectInsBefore( pTrack3FxObj, -1 )")},
         pictures + " | A one two+Ev"},
        {"level: the effect stays without it",
         {fault(TimelineCall::SetPropertySet, 1, NodeKind::Effect)},
         {plain("Could not SetPropertySetter(pVolSetter)")},
         pictures + " | A one+E two+Ev"},
        {"source check: its result is ignored",
         {fault(TimelineCall::ValidateSourceNames, 1)},
         {},
         pictures + " | " + sound},
    };

    for (const FaultCase& check : cases) {
        SCOPED_TRACE(check.name);
        test_support::FaultInjectingTimeline* injected = nullptr;
        const auto factory = [&](std::unique_ptr<editing::TimelineInterface>& timeline) {
            auto made = std::make_unique<test_support::FaultInjectingTimeline>(check.faults);
            injected = made.get();
            timeline = std::move(made);
            return editing::kOk;
        };
        widgets::testing::ScriptedPrompt prompt;
        const BuiltTimeline built =
            BuildTimeline(threeClipsAndTwoSounds(), factory, prompt, nullptr);
        EXPECT_EQ(built.status, editing::kOk)
            << "failures inside the build do not change its result";
        ASSERT_TRUE(built.CurrentTimeline);
        if (!check.faults.empty()) {
            EXPECT_GE(injected->injectedFailures(), 1) << "the fault was reached";
        }
        EXPECT_EQ(injected->callCount(TimelineCall::ValidateSourceNames), 1);

        ASSERT_EQ(prompt.requests().size(), static_cast<qsizetype>(check.boxes.size()))
            << prompt.texts().join(" | ").toStdString();
        for (std::size_t index = 0; index < check.boxes.size(); ++index) {
            const base::PromptRequest& shown = prompt.requests()[static_cast<qsizetype>(index)];
            EXPECT_EQ(shown.text.toStdString(), check.boxes[index].text.toStdString());
            EXPECT_EQ(shown.caption.toStdString(), check.boxes[index].caption.toStdString());
            EXPECT_EQ(shown.icon, check.boxes[index].icon);
            EXPECT_EQ(shown.buttons, base::PromptButtons::Ok);
        }
        EXPECT_EQ(shapeOf(built.CurrentTimeline->snapshot()), check.shape);
    }
}

TEST(BuildFailuresTest, AFailedSourceSpanLeavesTheClipWhereTheTimeLineKeptIt) {
    // The span refused, the clip still plays: the time line holds what was set, nothing more.
    test_support::FaultInjectingTimeline timeline(
        {fault(TimelineCall::SetStartStop, 1, NodeKind::Source)});
    widgets::testing::ScriptedPrompt prompt;
    const MixJob job = threeClipsAndTwoSounds();
    TimelineBuild build{timeline, job, prompt, 24 * kSecond, nullptr};
    NodeId group = editing::kNoNode;
    ASSERT_EQ(timeline.createEmptyNode(NodeKind::Group, group), editing::kOk);
    editing::GroupMediaType type;
    type.width = 16;
    type.height = 16;
    ASSERT_EQ(timeline.setMediaType(group, type), editing::kOk);
    ASSERT_EQ(timeline.addGroup(group), editing::kOk);
    EXPECT_EQ(AddVideoClip(build, group, "/v/a.avi", 3 * kSecond, 7 * kSecond, 0, 1), editing::kOk);
    EXPECT_EQ(prompt.requests().at(0).caption, "SetStartStop(3,7)");
    const auto model = timeline.snapshot();
    const auto& source = model.groups.at(0).tracks.at(0).sources.at(0);
    EXPECT_EQ(source.start, 0);
    EXPECT_EQ(source.stop, 0);
    EXPECT_EQ(source.mediaStop, 4 * kSecond);
}

TEST(BuildFailuresTest, ATransitionOnANodeThatIsNoTrackIsRefusedByTheRealTimeLine) {
    editing::Timeline timeline;
    widgets::testing::ScriptedPrompt prompt;
    const MixJob job = threeClipsAndTwoSounds();
    TimelineBuild build{timeline, job, prompt, 24 * kSecond, nullptr};
    NodeId source = editing::kNoNode;
    ASSERT_EQ(timeline.createEmptyNode(NodeKind::Source, source), editing::kOk);
    EXPECT_EQ(AddTransition(build, source, 0, kSecond, 0), editing::kErrorWrongNodeKind);
    EXPECT_EQ(AddVolumeEffect(build, source, 0, kSecond, 0), editing::kErrorWrongNodeKind);
    EXPECT_EQ(prompt.texts(),
              (QStringList{"Could not get *pTransable", "Could not get *pTransable"}));
}

}  // namespace
}  // namespace mixer
