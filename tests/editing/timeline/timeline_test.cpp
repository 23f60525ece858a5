#include "editing/timeline/timeline.h"

#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace editing {
namespace {

constexpr RefTime kSecond = kRefTimePerSecond;

GroupMediaType videoType() {
    GroupMediaType type;
    type.kind = MediaKind::Video;
    type.width = 352;
    type.height = 240;
    return type;
}

GroupMediaType audioType() {
    GroupMediaType type;
    type.kind = MediaKind::Audio;
    return type;
}

NodeId create(Timeline& timeline, NodeKind kind) {
    NodeId node = kNoNode;
    EXPECT_EQ(timeline.createEmptyNode(kind, node), kOk);
    EXPECT_NE(node, kNoNode);
    return node;
}

// A time line with one added group of `type` and one track in it.
struct Built {
    Timeline timeline;
    NodeId group = kNoNode;
    NodeId track = kNoNode;
};

void build(Built& built, const GroupMediaType& type) {
    built.group = create(built.timeline, NodeKind::Group);
    ASSERT_EQ(built.timeline.setMediaType(built.group, type), kOk);
    ASSERT_EQ(built.timeline.addGroup(built.group), kOk);
    built.track = create(built.timeline, NodeKind::Track);
    ASSERT_EQ(built.timeline.insertTrack(built.group, built.track, -1), kOk);
}

NodeId addSource(Timeline& timeline, NodeId track, const std::string& name, RefTime start,
                 RefTime stop) {
    const NodeId source = create(timeline, NodeKind::Source);
    EXPECT_EQ(timeline.setStartStop(source, start, stop), kOk);
    EXPECT_EQ(timeline.setMediaName(source, name), kOk);
    EXPECT_EQ(timeline.addSource(track, source), kOk);
    return source;
}

// Each refusal the platform made, with the code that tells why.
TEST(TimelineTest, RefusesWhatCannotBeRendered) {
    struct Case {
        const char* what;
        std::function<Result(Built&)> call;
        Result expected;
    };
    const std::vector<Case> cases = {
        {"stop before start",
         [](Built& b) {
             return b.timeline.setStartStop(create(b.timeline, NodeKind::Source), 10, 9);
         },
         kErrorStopBeforeStart},
        {"negative start",
         [](Built& b) {
             return b.timeline.setStartStop(create(b.timeline, NodeKind::Source), -1, 9);
         },
         kErrorInvalidArgument},
        {"zero media span",
         [](Built& b) {
             return b.timeline.setMediaTimes(create(b.timeline, NodeKind::Source), 5, 5);
         },
         kErrorEmptyMediaSpan},
        {"negative media span",
         [](Built& b) {
             return b.timeline.setMediaTimes(create(b.timeline, NodeKind::Source), 0, -20);
         },
         kErrorEmptyMediaSpan},
        {"unknown stretch mode",
         [](Built& b) {
             return b.timeline.setStretchMode(create(b.timeline, NodeKind::Source), 4);
         },
         kErrorUnknownStretchMode},
        {"negative stretch mode",
         [](Built& b) {
             return b.timeline.setStretchMode(create(b.timeline, NodeKind::Source), -1);
         },
         kErrorUnknownStretchMode},
        {"track added twice", [](Built& b) { return b.timeline.insertTrack(b.group, b.track, -1); },
         kErrorNodeAlreadyAttached},
        {"group added twice", [](Built& b) { return b.timeline.addGroup(b.group); },
         kErrorNodeAlreadyAttached},
        {"source added twice",
         [](Built& b) {
             const NodeId source = addSource(b.timeline, b.track, "/a.avi", 0, 10);
             const NodeId other = create(b.timeline, NodeKind::Track);
             return b.timeline.addSource(other, source);
         },
         kErrorNodeAlreadyAttached},
        {"group without media type",
         [](Built& b) { return b.timeline.addGroup(create(b.timeline, NodeKind::Group)); },
         kErrorNoMediaType},
        {"media times on a track",
         [](Built& b) { return b.timeline.setMediaTimes(b.track, 0, 10); }, kErrorWrongNodeKind},
        {"span on a group", [](Built& b) { return b.timeline.setStartStop(b.group, 0, 10); },
         kErrorWrongNodeKind},
        {"source added to a group",
         [](Built& b) {
             const NodeId source = create(b.timeline, NodeKind::Source);
             EXPECT_TRUE(succeeded(b.timeline.setMediaName(source, "/a.avi")));
             return b.timeline.addSource(b.group, source);
         },
         kErrorWrongNodeKind},
        {"track inserted as a source",
         [](Built& b) {
             return b.timeline.addSource(b.track, create(b.timeline, NodeKind::Track));
         },
         kErrorWrongNodeKind},
        {"audio mixer on a transition",
         [](Built& b) {
             return b.timeline.setSubObject(create(b.timeline, NodeKind::Transition),
                                            SubObject{SubObject::Kind::AudioMixer, {}});
         },
         kErrorWrongNodeKind},
        {"transition on an effect",
         [](Built& b) {
             return b.timeline.setSubObject(
                 create(b.timeline, NodeKind::Effect),
                 SubObject{SubObject::Kind::Transition, TransitionKind::Fade});
         },
         kErrorWrongNodeKind},
        {"audio mixer effect on a video track",
         [](Built& b) {
             return b.timeline.insertEffect(b.track, create(b.timeline, NodeKind::Effect), -1);
         },
         kErrorWrongNodeKind},
        {"unknown node id", [](Built& b) { return b.timeline.setMediaName(9999, "/a.avi"); },
         kErrorUnknownNode},
        {"negative node id", [](Built& b) { return b.timeline.addGroup(-3); }, kErrorUnknownNode},
        {"no node", [](Built& b) { return b.timeline.insertTrack(b.group, kNoNode, -1); },
         kErrorPointer},
        {"priority past the end",
         [](Built& b) {
             return b.timeline.insertTrack(b.group, create(b.timeline, NodeKind::Track), 5);
         },
         kErrorInvalidArgument},
        {"empty media name",
         [](Built& b) { return b.timeline.setMediaName(create(b.timeline, NodeKind::Source), ""); },
         kErrorInvalidArgument},
        {"media name longer than a path",
         [](Built& b) {
             return b.timeline.setMediaName(create(b.timeline, NodeKind::Source),
                                            "/" + std::string(4095, 'a'));
         },
         kErrorNameTooLong},
        {"source without a name",
         [](Built& b) {
             return b.timeline.addSource(b.track, create(b.timeline, NodeKind::Source));
         },
         kErrorInvalidArgument},
        {"overlapping sources",
         [](Built& b) {
             addSource(b.timeline, b.track, "/a.avi", 0, 10 * kSecond);
             const NodeId second = create(b.timeline, NodeKind::Source);
             EXPECT_TRUE(succeeded(b.timeline.setStartStop(second, 9 * kSecond, 12 * kSecond)));
             EXPECT_TRUE(succeeded(b.timeline.setMediaName(second, "/b.avi")));
             return b.timeline.addSource(b.track, second);
         },
         kErrorInvalidArgument},
        {"video group of no size",
         [](Built& b) {
             GroupMediaType type = videoType();
             type.width = 0;
             return b.timeline.setMediaType(create(b.timeline, NodeKind::Group), type);
         },
         kErrorInvalidArgument},
        {"zero frame rate",
         [](Built& b) { return b.timeline.setOutputFramesPerSecond(b.group, 0.0); },
         kErrorInvalidArgument},
    };
    for (const Case& check : cases) {
        Built built;
        build(built, videoType());
        EXPECT_EQ(check.call(built), check.expected) << check.what;
        EXPECT_FALSE(describeResult(check.expected).empty()) << check.what;
    }
}

TEST(TimelineTest, RefusedCallsLeaveTheNodeAsItWas) {
    Built built;
    build(built, videoType());
    const NodeId source = create(built.timeline, NodeKind::Source);
    ASSERT_EQ(built.timeline.setStartStop(source, 2 * kSecond, 5 * kSecond), kOk);
    ASSERT_EQ(built.timeline.setMediaTimes(source, kSecond, 4 * kSecond), kOk);
    ASSERT_EQ(built.timeline.setMediaName(source, "/clip.avi"), kOk);
    ASSERT_EQ(built.timeline.setStretchMode(source, 0), kOk);
    EXPECT_LT(built.timeline.setStartStop(source, 9, 1), 0);
    EXPECT_LT(built.timeline.setMediaTimes(source, 9, 9), 0);
    EXPECT_LT(built.timeline.setMediaName(source, ""), 0);
    EXPECT_LT(built.timeline.setStretchMode(source, 7), 0);
    ASSERT_EQ(built.timeline.addSource(built.track, source), kOk);

    const TimelineModel model = built.timeline.snapshot();
    ASSERT_EQ(model.groups.size(), 1u);
    ASSERT_EQ(model.groups[0].tracks.size(), 1u);
    ASSERT_EQ(model.groups[0].tracks[0].sources.size(), 1u);
    const SourceModel& kept = model.groups[0].tracks[0].sources[0];
    EXPECT_EQ(kept.start, 2 * kSecond);
    EXPECT_EQ(kept.stop, 5 * kSecond);
    EXPECT_EQ(kept.mediaStart, kSecond);
    EXPECT_EQ(kept.mediaStop, 4 * kSecond);
    EXPECT_EQ(kept.mediaName, "/clip.avi");
    EXPECT_EQ(kept.stretchMode, StretchMode::Stretch);
}

TEST(TimelineTest, AcceptsAZeroLengthTransitionSpan) {
    Built built;
    build(built, videoType());
    const NodeId transition = create(built.timeline, NodeKind::Transition);
    EXPECT_EQ(built.timeline.setStartStop(transition, 3 * kSecond, 3 * kSecond), kOk);
    EXPECT_EQ(built.timeline.addTransition(built.track, transition), kOk);
    const TimelineModel model = built.timeline.snapshot();
    const auto& transitions = model.groups[0].tracks[0].transitions;
    ASSERT_EQ(transitions.size(), 1u);
    EXPECT_EQ(transitions[0].start, transitions[0].stop);
    EXPECT_EQ(transitions[0].kind, TransitionKind::SmpteWipe) << "default sub-object";
}

TEST(TimelineTest, SnapshotHoldsGroupsTracksAndTheirContentsInOrder) {
    Timeline timeline;
    const NodeId video = create(timeline, NodeKind::Group);
    ASSERT_EQ(timeline.setMediaType(video, videoType()), kOk);
    ASSERT_EQ(timeline.setOutputFramesPerSecond(video, 25.0), kOk);
    const NodeId audio = create(timeline, NodeKind::Group);
    ASSERT_EQ(timeline.setMediaType(audio, audioType()), kOk);
    ASSERT_EQ(timeline.addGroup(video), kOk);
    ASSERT_EQ(timeline.addGroup(audio), kOk);
    int groups = 0;
    ASSERT_EQ(timeline.groupCount(groups), kOk);
    EXPECT_EQ(groups, 2);

    // Three tracks: appended, appended, then one put at the bottom with priority 0.
    const NodeId first = create(timeline, NodeKind::Track);
    const NodeId second = create(timeline, NodeKind::Track);
    const NodeId bottom = create(timeline, NodeKind::Track);
    ASSERT_EQ(timeline.insertTrack(video, first, -1), kOk);
    ASSERT_EQ(timeline.insertTrack(video, second, -1), kOk);
    ASSERT_EQ(timeline.insertTrack(video, bottom, 0), kOk);
    addSource(timeline, first, "/first.avi", 0, 10 * kSecond);
    addSource(timeline, second, "/second.avi", 9 * kSecond, 18 * kSecond);
    addSource(timeline, bottom, "/bottom.avi", 0, kSecond);

    const NodeId transition = create(timeline, NodeKind::Transition);
    ASSERT_EQ(timeline.setSubObject(
                  transition, SubObject{SubObject::Kind::Transition, TransitionKind::SmpteWipe}),
              kOk);
    ASSERT_EQ(timeline.setStartStop(transition, 9 * kSecond, 11 * kSecond), kOk);
    PropertySet mask;
    ASSERT_EQ(mask.addProperty("MaskNum", {PropertyPoint{0, std::int32_t{301}}}), kOk);
    ASSERT_EQ(timeline.setPropertySet(transition, mask), kOk);
    ASSERT_EQ(timeline.addTransition(second, transition), kOk);

    const NodeId audioTrack = create(timeline, NodeKind::Track);
    ASSERT_EQ(timeline.insertTrack(audio, audioTrack, -1), kOk);
    addSource(timeline, audioTrack, "/tone.wav", 80 * kSecond, 120 * kSecond);
    const NodeId effect = create(timeline, NodeKind::Effect);
    ASSERT_EQ(timeline.setStartStop(effect, 80 * kSecond, 120 * kSecond), kOk);
    PropertySet volume;
    ASSERT_EQ(volume.addProperty("Vol", {PropertyPoint{0, 0.5}}), kOk);
    ASSERT_EQ(timeline.setPropertySet(effect, volume), kOk);
    ASSERT_EQ(timeline.insertEffect(audioTrack, effect, -1), kOk);

    // Nodes never attached stay out of the model.
    create(timeline, NodeKind::Track);
    create(timeline, NodeKind::Source);

    const TimelineModel model = timeline.snapshot();
    ASSERT_EQ(model.groups.size(), 2u);
    const GroupModel& videoGroup = model.groups[0];
    EXPECT_EQ(videoGroup.mediaType.kind, MediaKind::Video);
    EXPECT_EQ(videoGroup.mediaType.width, 352);
    EXPECT_EQ(videoGroup.outputFramesPerSecond, 25.0);
    ASSERT_EQ(videoGroup.tracks.size(), 3u);
    EXPECT_EQ(videoGroup.tracks[0].sources[0].mediaName, "/bottom.avi");
    EXPECT_EQ(videoGroup.tracks[1].sources[0].mediaName, "/first.avi");
    EXPECT_EQ(videoGroup.tracks[2].sources[0].mediaName, "/second.avi");
    // Media times never set: the file plays from its beginning at normal speed.
    EXPECT_EQ(videoGroup.tracks[2].sources[0].mediaStart, 0);
    EXPECT_EQ(videoGroup.tracks[2].sources[0].mediaStop, 9 * kSecond);
    ASSERT_EQ(videoGroup.tracks[2].transitions.size(), 1u);
    const TransitionModel& wipe = videoGroup.tracks[2].transitions[0];
    EXPECT_EQ(wipe.kind, TransitionKind::SmpteWipe);
    EXPECT_EQ(wipe.start, 9 * kSecond);
    EXPECT_EQ(wipe.stop, 11 * kSecond);
    EXPECT_EQ(*wipe.properties.numberAt("MaskNum", 0), 301.0);

    const GroupModel& audioGroup = model.groups[1];
    EXPECT_EQ(audioGroup.mediaType.kind, MediaKind::Audio);
    ASSERT_EQ(audioGroup.tracks.size(), 1u);
    ASSERT_EQ(audioGroup.tracks[0].effects.size(), 1u);
    EXPECT_EQ(audioGroup.tracks[0].effects[0].kind, EffectKind::AudioMixer);
    EXPECT_EQ(*audioGroup.tracks[0].effects[0].properties.numberAt("Vol", 0), 0.5);
    EXPECT_EQ(model.duration(), 120 * kSecond);
}

TEST(TimelineTest, DurationIsTheLatestEndOfAnyObject) {
    TimelineModel empty;
    EXPECT_EQ(empty.duration(), 0);
    TimelineModel model;
    model.groups.resize(2);
    model.groups[0].tracks.resize(1);
    model.groups[0].tracks[0].sources.push_back(
        SourceModel{"/a.avi", 0, 10, 0, 10, StretchMode::Stretch});
    model.groups[0].tracks[0].transitions.push_back(
        TransitionModel{TransitionKind::Fade, 0, 12, {}});
    model.groups[1].tracks.resize(1);
    model.groups[1].tracks[0].effects.push_back(EffectModel{EffectKind::AudioMixer, 5, 11, {}});
    EXPECT_EQ(model.duration(), 12);
    model.groups[1].tracks[0].sources.push_back(
        SourceModel{"/b.wav", 100, 130, 0, 30, StretchMode::Stretch});
    EXPECT_EQ(model.duration(), 130);
}

TEST(TimelineTest, ValidateSourceNamesAsksOncePerMissingFileAndWritesTheFoundOneBack) {
    test_support::TemporaryFolder folder;
    const std::string present = folder.file("present.avi");
    const std::string replacement = folder.file("found.avi");
    std::ofstream(present) << "x";
    std::ofstream(replacement) << "x";
    const std::string missing = folder.file("moved.avi");
    const std::string lost = folder.file("lost.wav");

    Built built;
    build(built, videoType());
    addSource(built.timeline, built.track, present, 0, kSecond);
    addSource(built.timeline, built.track, missing, kSecond, 2 * kSecond);
    const NodeId secondTrack = create(built.timeline, NodeKind::Track);
    ASSERT_EQ(built.timeline.insertTrack(built.group, secondTrack, -1), kOk);
    addSource(built.timeline, secondTrack, missing, 0, kSecond);
    addSource(built.timeline, secondTrack, lost, kSecond, 2 * kSecond);

    std::vector<std::string> asked;
    const Result result = built.timeline.validateSourceNames([&](const std::string& name) {
        asked.push_back(name);
        return name == missing ? std::optional<std::string>(replacement) : std::nullopt;
    });
    EXPECT_EQ(result, kFalse) << "lost.wav is still missing";
    EXPECT_EQ(asked, (std::vector<std::string>{missing, lost}));
    const TimelineModel model = built.timeline.snapshot();
    EXPECT_EQ(model.groups[0].tracks[0].sources[0].mediaName, present);
    EXPECT_EQ(model.groups[0].tracks[0].sources[1].mediaName, replacement);
    EXPECT_EQ(model.groups[0].tracks[1].sources[0].mediaName, replacement);
    EXPECT_EQ(model.groups[0].tracks[1].sources[1].mediaName, lost);

    // A locator that names a file that does not exist either changes nothing.
    Built other;
    build(other, audioType());
    addSource(other.timeline, other.track, lost, 0, kSecond);
    EXPECT_EQ(other.timeline.validateSourceNames(
                  [&](const std::string&) { return std::optional<std::string>(missing); }),
              kFalse);
    EXPECT_EQ(other.timeline.snapshot().groups[0].tracks[0].sources[0].mediaName, lost);

    Built complete;
    build(complete, videoType());
    addSource(complete.timeline, complete.track, present, 0, kSecond);
    EXPECT_EQ(complete.timeline.validateSourceNames(nullptr), kOk);
}

TEST(TimelineTest, EffectsKeepTheirPriorityOrder) {
    Built built;
    build(built, audioType());
    std::vector<NodeId> effects;
    for (double level : {0.1, 0.2, 0.3}) {
        const NodeId effect = create(built.timeline, NodeKind::Effect);
        PropertySet set;
        ASSERT_TRUE(succeeded(set.addProperty("Vol", {PropertyPoint{0, level}})));
        ASSERT_TRUE(succeeded(built.timeline.setPropertySet(effect, set)));
        effects.push_back(effect);
    }
    ASSERT_EQ(built.timeline.insertEffect(built.track, effects[0], -1), kOk);
    ASSERT_EQ(built.timeline.insertEffect(built.track, effects[1], 0), kOk);
    ASSERT_EQ(built.timeline.insertEffect(built.track, effects[2], 1), kOk);
    EXPECT_EQ(built.timeline.insertEffect(built.track, effects[2], -1), kErrorNodeAlreadyAttached);
    const TimelineModel model = built.timeline.snapshot();
    const auto& kept = model.groups[0].tracks[0].effects;
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(*kept[0].properties.numberAt("Vol", 0), 0.2);
    EXPECT_EQ(*kept[1].properties.numberAt("Vol", 0), 0.3);
    EXPECT_EQ(*kept[2].properties.numberAt("Vol", 0), 0.1);
    // A picture transition has no place on a sound track.
    EXPECT_EQ(
        built.timeline.addTransition(built.track, create(built.timeline, NodeKind::Transition)),
        kErrorWrongNodeKind);
}

}  // namespace
}  // namespace editing
