#include "mixer/timeline/timeline_build.h"

#include "editing/timeline/timeline.h"
#include "mixer/timeline/missing_file_locator.h"
#include "tests/support/temporary_folder.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <set>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;
using editing::TimelineModel;

VideoEntry video(const std::string& name, RefTime duration, RefTime transition, int effect) {
    VideoEntry entry;
    entry.FileName = name;
    entry.Duration = duration;
    entry.TransitionDuration = transition;
    entry.TransitionEffect = effect;
    return entry;
}

AudioEntry audio(const std::string& name, RefTime duration, RefTime startTime, double volume = 1.0,
                 double speed = 1.0, int repeat = 0) {
    AudioEntry entry;
    entry.FileName = name;
    entry.Duration = duration;
    entry.StartTime = startTime;
    entry.Volume = volume;
    entry.Speed = speed;
    entry.Repeat = repeat;
    return entry;
}

struct Build {
    widgets::testing::ScriptedPrompt prompt;
    BuiltTimeline built;
    TimelineModel model;
};

void run(Build& build, const MixJob& job, const editing::MissingFileLocator& locator = nullptr) {
    build.built = BuildTimeline(job, realTimelineFactory(), build.prompt, locator);
    ASSERT_EQ(build.built.status, editing::kOk);
    ASSERT_TRUE(build.built.CurrentTimeline);
    build.model = build.built.CurrentTimeline->snapshot();
}

TEST(BuildTimelineTest, TwoClipsWithTransitionsAndTheirCompanionSound) {
    MixJob job;
    job.outputSettings.OutputWidth = 640;
    job.outputSettings.OutputHigh = 480;
    job.outputSettings.OutputFrameRate = 25.0;
    job.outputSettings.ResizeMode = 0;
    job.videos = {video("/v/a.avi", 10 * kSecond, 2 * kSecond, 3),
                  video("/v/b.avi", 8 * kSecond, 2 * kSecond, 17)};
    job.audios = {audio("/v/a.avi", 10 * kSecond, 0), audio("/v/b.avi", 8 * kSecond, 10 * kSecond)};
    Build build;
    run(build, job);
    EXPECT_TRUE(build.prompt.requests().isEmpty())
        << build.prompt.texts().join(" | ").toStdString();
    EXPECT_EQ(build.built.TotalVideoLength, 18 * kSecond);

    ASSERT_EQ(build.model.groups.size(), 2u);
    const editing::GroupModel& videoGroup = build.model.groups[0];
    EXPECT_EQ(videoGroup.mediaType.kind, editing::MediaKind::Video);
    EXPECT_EQ(videoGroup.mediaType.width, 640);
    EXPECT_EQ(videoGroup.mediaType.height, 480);
    EXPECT_EQ(videoGroup.mediaType.bitsPerPixel, 24);
    EXPECT_EQ(videoGroup.outputFramesPerSecond, 25.0);
    ASSERT_EQ(videoGroup.tracks.size(), 2u);

    const editing::TrackModel& first = videoGroup.tracks[0];
    ASSERT_EQ(first.sources.size(), 1u);
    EXPECT_EQ(first.sources[0].mediaName, "/v/a.avi");
    EXPECT_EQ(first.sources[0].start, 0);
    EXPECT_EQ(first.sources[0].stop, 11 * kSecond);
    EXPECT_EQ(first.sources[0].mediaStart, 0);
    EXPECT_EQ(first.sources[0].mediaStop, 11 * kSecond);
    EXPECT_EQ(first.sources[0].stretchMode, editing::StretchMode::Stretch);
    ASSERT_EQ(first.transitions.size(), 1u);
    EXPECT_EQ(first.transitions[0].kind, editing::TransitionKind::Fade);
    EXPECT_EQ(first.transitions[0].start, 0);
    EXPECT_EQ(first.transitions[0].stop, 2 * kSecond);
    EXPECT_TRUE(first.transitions[0].properties.empty()) << "named effects carry no pattern";

    const editing::TrackModel& second = videoGroup.tracks[1];
    EXPECT_EQ(second.sources[0].start, 9 * kSecond);
    EXPECT_EQ(second.sources[0].stop, 18 * kSecond);
    EXPECT_EQ(second.sources[0].mediaStop, 9 * kSecond);
    ASSERT_EQ(second.transitions.size(), 1u);
    EXPECT_EQ(second.transitions[0].kind, editing::TransitionKind::SmpteWipe);
    EXPECT_EQ(second.transitions[0].start, 9 * kSecond);
    EXPECT_EQ(second.transitions[0].stop, 11 * kSecond);

    const editing::GroupModel& audioGroup = build.model.groups[1];
    EXPECT_EQ(audioGroup.mediaType.kind, editing::MediaKind::Audio);
    EXPECT_EQ(audioGroup.mediaType.sampleRate, 44100);
    EXPECT_EQ(audioGroup.mediaType.channels, 2);
    ASSERT_EQ(audioGroup.tracks.size(), 2u);
    EXPECT_EQ(audioGroup.tracks[1].sources[0].start, 10 * kSecond);
    EXPECT_EQ(audioGroup.tracks[1].sources[0].stop, 18 * kSecond);
    EXPECT_EQ(build.model.duration(), 18 * kSecond);

    // "Clips' own sound in step": the second clip's picture starts with its sound, at 10 s.
    job.transitionDefaults.ClipSoundInStep = true;
    Build inStep;
    run(inStep, job);
    const editing::TrackModel& shifted = inStep.model.groups[0].tracks[1];
    EXPECT_EQ(shifted.sources[0].start, 10 * kSecond);
    EXPECT_EQ(shifted.transitions[0].start, 10 * kSecond);
    EXPECT_EQ(inStep.model.groups[1].tracks[1].sources[0].start, 10 * kSecond);
}

TEST(BuildTimelineTest, TransitionRowsGiveTheirEffectAndPattern) {
    struct Case {
        int effect;
        std::optional<editing::TransitionKind> kind;  // nothing: no transition at all
        std::optional<std::int32_t> maskNumber;
    };
    using editing::TransitionKind;
    const std::vector<Case> cases = {
        {0, std::nullopt, std::nullopt},
        {1, TransitionKind::Iris, std::nullopt},
        {16, TransitionKind::RandomDissolve, std::nullopt},
        {17, TransitionKind::SmpteWipe, 1},
        {36, TransitionKind::SmpteWipe, 119},
        {46, TransitionKind::SmpteWipe, 301},
        {47, TransitionKind::SmpteWipe, std::nullopt},
        {-4, TransitionKind::SmpteWipe, std::nullopt},
    };
    for (const Case& check : cases) {
        SCOPED_TRACE("effect " + std::to_string(check.effect));
        MixJob job;
        job.videos = {video("/v/a.avi", 10 * kSecond, 2 * kSecond, check.effect)};
        Build build;
        run(build, job);
        EXPECT_TRUE(build.prompt.requests().isEmpty());
        const auto& transitions = build.model.groups.at(0).tracks.at(0).transitions;
        if (!check.kind) {
            EXPECT_TRUE(transitions.empty());
            continue;
        }
        ASSERT_EQ(transitions.size(), 1u);
        EXPECT_EQ(transitions[0].kind, *check.kind);
        const editing::Property* mask = transitions[0].properties.find("MaskNum");
        ASSERT_EQ(mask != nullptr, check.maskNumber.has_value());
        if (mask != nullptr) {
            ASSERT_EQ(mask->points.size(), 1u);
            EXPECT_EQ(mask->points[0].time, 0);
            EXPECT_EQ(mask->points[0].interpolation, editing::Interpolation::Jump);
            ASSERT_TRUE(std::holds_alternative<std::int32_t>(mask->points[0].value))
                << "a 32-bit integer, not a floating-point value";
            EXPECT_EQ(std::get<std::int32_t>(mask->points[0].value), *check.maskNumber);
            EXPECT_EQ(transitions[0].properties.properties().size(), 1u);
        }
    }
}

TEST(BuildTimelineTest, EffectZeroCreatesNothingWhateverItsLength) {
    MixJob job;
    job.videos = {video("/v/a.avi", 10 * kSecond, 0, 0),
                  video("/v/b.avi", 10 * kSecond, 9 * kSecond, 0)};
    Build build;
    run(build, job);
    for (const auto& track : build.model.groups.at(0).tracks) {
        EXPECT_TRUE(track.transitions.empty());
    }
}

TEST(BuildTimelineTest, ZeroLengthTransitionsAreStillAdded) {
    MixJob job;
    job.videos = {video("/v/a.avi", 4 * kSecond, 0, 5), video("/v/b.avi", 6 * kSecond, 0, 20)};
    Build build;
    run(build, job);
    EXPECT_TRUE(build.prompt.requests().isEmpty());
    const auto& tracks = build.model.groups.at(0).tracks;
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[1].sources[0].start, 4 * kSecond);
    ASSERT_EQ(tracks[1].transitions.size(), 1u);
    EXPECT_EQ(tracks[1].transitions[0].start, 4 * kSecond);
    EXPECT_EQ(tracks[1].transitions[0].stop, 4 * kSecond);
}

TEST(BuildTimelineTest, ATransitionLongerThanTheClipIsToldAndLeftOut) {
    MixJob job;
    job.videos = {video("/v/a.avi", 10 * kSecond, 2 * kSecond, 3),
                  video("/v/b.avi", 1 * kSecond, 4 * kSecond, 3)};
    Build build;
    run(build, job);
    EXPECT_EQ(build.prompt.texts(), QStringList{"Transition time should be less than"});
    EXPECT_EQ(build.prompt.requests().at(0).caption, QString());
    const auto& tracks = build.model.groups.at(0).tracks;
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].transitions.size(), 1u);
    ASSERT_EQ(tracks[1].sources.size(), 1u) << "the clip itself stays";
    EXPECT_EQ(tracks[1].sources[0].start, 9 * kSecond);
    EXPECT_EQ(tracks[1].sources[0].stop, 11 * kSecond);
    EXPECT_TRUE(tracks[1].transitions.empty());
}

TEST(BuildTimelineTest, VolumeIsOneJumpValueOnAnAudioMixerSpanningThePlacement) {
    MixJob job;
    job.videos = {video("/v/a.avi", 100 * kSecond, 0, 0)};
    job.audios = {audio("/s/tone.wav", 10 * kSecond, 0, 0.5, 1.5)};
    Build build;
    run(build, job);
    ASSERT_EQ(build.model.groups.size(), 2u);
    const auto& track = build.model.groups[1].tracks.at(0);
    ASSERT_EQ(track.sources.size(), 1u);
    EXPECT_EQ(track.sources[0].start, 0);
    EXPECT_EQ(track.sources[0].stop, 66'666'666);
    EXPECT_EQ(track.sources[0].mediaStart, 0);
    EXPECT_EQ(track.sources[0].mediaStop, 10 * kSecond);
    ASSERT_EQ(track.effects.size(), 1u);
    EXPECT_EQ(track.effects[0].kind, editing::EffectKind::AudioMixer);
    EXPECT_EQ(track.effects[0].start, 0);
    EXPECT_EQ(track.effects[0].stop, 66'666'666);
    const editing::Property* level = track.effects[0].properties.find("Vol");
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(level->points.size(), 1u);
    EXPECT_EQ(level->points[0].time, 0);
    EXPECT_EQ(level->points[0].interpolation, editing::Interpolation::Jump);
    ASSERT_TRUE(std::holds_alternative<double>(level->points[0].value));
    EXPECT_EQ(std::get<double>(level->points[0].value), 0.5);
}

TEST(BuildTimelineTest, RepeatedSoundGetsOneTrackPerPlacement) {
    MixJob job;
    job.videos = {video("/v/a.avi", 100 * kSecond, 0, 0)};
    job.audios = {audio("/s/loop.wav", 30 * kSecond, 0, 1.0, 1.0, 1)};
    Build build;
    run(build, job);
    const auto& tracks = build.model.groups.at(1).tracks;
    ASSERT_EQ(tracks.size(), 4u);
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const RefTime start = static_cast<RefTime>(index) * 30 * kSecond;
        EXPECT_EQ(tracks[index].sources.at(0).start, start);
        EXPECT_EQ(tracks[index].sources.at(0).stop, start + 30 * kSecond);
        EXPECT_EQ(tracks[index].effects.at(0).stop, start + 30 * kSecond);
    }
    EXPECT_EQ(build.model.duration(), 120 * kSecond) << "the last copy runs past the video";
}

TEST(BuildTimelineTest, SoundStartingAtTheEndIsRefusedByTheTimeLineAndTold) {
    MixJob job;
    job.videos = {video("/v/a.avi", 10 * kSecond, 0, 0)};
    job.audios = {audio("/s/late.wav", 5 * kSecond, 10 * kSecond),
                  audio("/s/fine.wav", 5 * kSecond, 0)};
    Build build;
    run(build, job);
    EXPECT_EQ(build.prompt.texts(), QStringList{"Could not set audio start and eng time!"});
    const auto& tracks = build.model.groups.at(1).tracks;
    ASSERT_EQ(tracks.size(), 2u) << "the refused placement keeps its empty track";
    EXPECT_TRUE(tracks[0].sources.empty());
    ASSERT_EQ(tracks[1].sources.size(), 1u);
    EXPECT_EQ(tracks[1].sources[0].mediaName, "/s/fine.wav");
}

TEST(BuildTimelineTest, GroupsExistOnlyForListsThatHoldEntries) {
    {
        Build build;
        run(build, MixJob{});
        EXPECT_TRUE(build.model.groups.empty());
        EXPECT_EQ(build.built.TotalVideoLength, 0);
    }
    {
        MixJob job;
        job.audios = {audio("/s/a.wav", 5 * kSecond, 0)};
        Build build;
        run(build, job);
        ASSERT_EQ(build.model.groups.size(), 1u) << "the audio group is group 0 without video";
        EXPECT_EQ(build.model.groups[0].mediaType.kind, editing::MediaKind::Audio);
        // Without video the output has no length: the placement is cut to nothing and refused.
        EXPECT_EQ(build.prompt.texts(), QStringList{"Could not set audio start and eng time!"});
    }
}

TEST(BuildTimelineTest, ATimeLineThatCannotBeMadeStopsTheBuildWithItsCode) {
    MixJob job;
    job.videos = {video("/v/a.avi", 10 * kSecond, 0, 0)};
    widgets::testing::ScriptedPrompt prompt;
    const BuiltTimeline failed = BuildTimeline(
        job,
        [](std::unique_ptr<editing::TimelineInterface>&) { return editing::kErrorOutOfMemory; },
        prompt, nullptr);
    EXPECT_EQ(failed.status, editing::kErrorOutOfMemory);
    EXPECT_FALSE(failed.CurrentTimeline);
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests()[0].text, "Could not create timeline");
    EXPECT_EQ(prompt.requests()[0].caption, "Error");

    widgets::testing::ScriptedPrompt emptyPrompt;
    const BuiltTimeline empty = BuildTimeline(
        job, [](std::unique_ptr<editing::TimelineInterface>&) { return editing::kOk; }, emptyPrompt,
        nullptr);
    EXPECT_LT(empty.status, 0) << "a factory that made nothing has failed";
    EXPECT_FALSE(empty.CurrentTimeline);
    EXPECT_EQ(emptyPrompt.texts(), QStringList{"Could not create timeline"});
}

TEST(BuildTimelineTest, MissingFilesAreLocatedThroughTheFilePickerAndReplaced) {
    test_support::TemporaryFolder folder;
    const std::string found = folder.file("found.avi");
    std::ofstream(found) << "x";
    const std::string missing = folder.file("moved away.avi");

    MixJob job;
    job.videos = {video(missing, 10 * kSecond, 0, 0)};
    job.audios = {audio(missing, 10 * kSecond, 0)};
    widgets::testing::ScriptedFilePicker picker;
    picker.queueOpenAnswer({QString::fromStdString(found)});
    Build build;
    run(build, job, makeMissingFileLocator(picker));

    ASSERT_EQ(picker.openRequests().size(), 1) << "one question for a file used twice";
    const base::OpenFileRequest& request = picker.openRequests()[0];
    EXPECT_EQ(request.title, "Locate moved away.avi");
    EXPECT_EQ(request.initialFolder, QString::fromStdString(folder.path().string()));
    EXPECT_EQ(request.selection, base::FileSelection::One);
    EXPECT_EQ(build.model.groups.at(0).tracks.at(0).sources.at(0).mediaName, found);
    EXPECT_EQ(build.model.groups.at(1).tracks.at(0).sources.at(0).mediaName, found);
}

TEST(BuildTimelineTest, AMissingFileTheUserDoesNotLocateKeepsItsName) {
    MixJob job;
    job.videos = {video("/nowhere/clip.avi", 10 * kSecond, 0, 0)};
    widgets::testing::ScriptedFilePicker picker;  // cancels
    Build build;
    run(build, job, makeMissingFileLocator(picker));
    EXPECT_EQ(picker.openRequests().size(), 1);
    EXPECT_TRUE(picker.openRequests()[0].initialFolder.isEmpty()) << "the folder is gone too";
    EXPECT_EQ(build.model.groups.at(0).tracks.at(0).sources.at(0).mediaName, "/nowhere/clip.avi");
}

// Settings the time line itself refuses reach their messages without any fault injected.
TEST(BuildTimelineTest, OutputSettingsTheTimeLineRefusesAreTold) {
    struct Case {
        const char* name;
        std::function<void(OutputSettings&)> change;
        std::string text;
        std::string caption;
        std::size_t videoSources;  // sources in the video group; groups.size() tells the rest
        std::size_t groups;
    };
    const std::string unknownMode = editing::describeResult(editing::kErrorUnknownStretchMode);
    const std::vector<Case> cases = {
        {"no frame width", [](OutputSettings& o) { o.OutputWidth = 0; },
         "Could not pVideoGroup->SetMediaType(&mtGroup)", "", 0, 1},
        {"no frame rate", [](OutputSettings& o) { o.OutputFrameRate = 0.0; },
         "Could not SetOutputFPS", "", 0, 1},
        {"unknown resize mode", [](OutputSettings& o) { o.ResizeMode = 7; }, unknownMode,
         "SetStretchMode(7)", 0, 2},
    };
    for (const Case& check : cases) {
        SCOPED_TRACE(check.name);
        MixJob job;
        job.videos = {video("/v/a.avi", 10 * kSecond, 0, 0)};
        job.audios = {audio("/v/a.avi", 10 * kSecond, 0)};
        check.change(job.outputSettings);
        Build build;
        run(build, job);
        ASSERT_EQ(build.prompt.requests().size(), 1);
        EXPECT_EQ(build.prompt.requests()[0].text.toStdString(), check.text);
        EXPECT_EQ(build.prompt.requests()[0].caption.toStdString(), check.caption);
        ASSERT_EQ(build.model.groups.size(), check.groups);
        EXPECT_EQ(build.model.groups.back().mediaType.kind, editing::MediaKind::Audio)
            << "the sound is built whatever happened to the video";
        if (check.groups == 2) {
            std::size_t sources = 0;
            for (const auto& track : build.model.groups[0].tracks) {
                sources += track.sources.size();
            }
            EXPECT_EQ(sources, check.videoSources);
        }
    }
}

}  // namespace
}  // namespace mixer
