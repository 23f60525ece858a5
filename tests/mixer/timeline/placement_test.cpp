#include "mixer/timeline/placement.h"

#include <gtest/gtest.h>

#include <limits>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;

VideoEntry video(RefTime duration, RefTime transition) {
    VideoEntry entry;
    entry.FileName = "/clips/clip.avi";
    entry.Duration = duration;
    entry.TransitionDuration = transition;
    return entry;
}

struct ExpectedClip {
    RefTime start;
    RefTime stop;
    std::optional<Span> transition;  // nothing: the clip is too short for its transition
};

struct VideoCase {
    const char* name;
    std::vector<VideoEntry> videos;
    RefTime total;
    std::vector<ExpectedClip> clips;
    VideoCursorStart cursorStart = VideoCursorStart::HalfFirstTransitionEarly;
};

TEST(VideoPlacementTest, PlacesEachClipRunningOnUnderTheNextClipsTransition) {
    const std::vector<VideoCase> cases = {
        {"10 s with a 2 s transition: 11 s cut to the end",
         {video(10 * kSecond, 2 * kSecond)},
         10 * kSecond,
         {{0, 10 * kSecond, Span{0, 2 * kSecond}}}},
        {"10 s and 8 s, both 2 s: the second transition is exactly the overlap",
         {video(10 * kSecond, 2 * kSecond), video(8 * kSecond, 2 * kSecond)},
         18 * kSecond,
         {{0, 11 * kSecond, Span{0, 2 * kSecond}},
          {9 * kSecond, 18 * kSecond, Span{9 * kSecond, 11 * kSecond}}}},
        {"no transitions: end to end, empty transition spans",
         {video(4 * kSecond, 0), video(5 * kSecond, 0), video(6 * kSecond, 0)},
         15 * kSecond,
         {{0, 4 * kSecond, Span{0, 0}},
          {4 * kSecond, 9 * kSecond, Span{4 * kSecond, 4 * kSecond}},
          {9 * kSecond, 15 * kSecond, Span{9 * kSecond, 9 * kSecond}}}},
        {"an odd first transition: the cursor starts at -1, not -2",
         {video(100, 3), video(100, 0)},
         200,
         {{0, 99, Span{0, 3}}, {99, 199, Span{99, 99}}}},
        {"different transition lengths: the overlap is the later clip's, starts stay",
         {video(10 * kSecond, 2 * kSecond), video(10 * kSecond, 4 * kSecond),
          video(10 * kSecond, 1 * kSecond)},
         30 * kSecond,
         {{0, 13 * kSecond, Span{0, 2 * kSecond}},
          {9 * kSecond, 20 * kSecond, Span{9 * kSecond, 13 * kSecond}},
          {19 * kSecond, 30 * kSecond, Span{19 * kSecond, 20 * kSecond}}}},
        {"2 s with a 6 s transition: no transition",
         {video(2 * kSecond, 6 * kSecond)},
         2 * kSecond,
         {{0, 2 * kSecond, std::nullopt}}},
        {"10 s (2 s) and 1 s (4 s): the second clip is too short for its transition",
         {video(10 * kSecond, 2 * kSecond), video(1 * kSecond, 4 * kSecond)},
         11 * kSecond,
         {{0, 11 * kSecond, Span{0, 2 * kSecond}}, {9 * kSecond, 11 * kSecond, std::nullopt}}},
        {"a clip without transition runs on under the next clip's whole transition",
         {video(10 * kSecond, 0), video(3 * kSecond, 3 * kSecond)},
         13 * kSecond,
         {{0, 13 * kSecond, Span{0, 0}},
          {10 * kSecond, 13 * kSecond, Span{10 * kSecond, 13 * kSecond}}}},
        {"a transition longer than its clip before a cut: no transition",
         {video(10 * kSecond, 0), video(3 * kSecond, 4 * kSecond), video(5 * kSecond, 0)},
         18 * kSecond,
         {{0, 14 * kSecond, Span{0, 0}},
          {10 * kSecond, 13 * kSecond, std::nullopt},
          {13 * kSecond, 18 * kSecond, Span{13 * kSecond, 13 * kSecond}}}},
        {"a first clip the next one covers from its start keeps its own run-on",
         {video(1 * kSecond, 6 * kSecond), video(5 * kSecond, 0)},
         6 * kSecond,
         {{0, 4 * kSecond, std::nullopt}, {0, 3 * kSecond, Span{0, 0}}}},
        {"clips' own sound in step: the cursor starts at 0, each picture with its own sound",
         {video(10 * kSecond, 2 * kSecond), video(8 * kSecond, 2 * kSecond)},
         18 * kSecond,
         {{0, 12 * kSecond, Span{0, 2 * kSecond}},
          {10 * kSecond, 18 * kSecond, Span{10 * kSecond, 12 * kSecond}}},
         VideoCursorStart::AtZero},
    };
    for (const VideoCase& check : cases) {
        SCOPED_TRACE(check.name);
        const RefTime total = totalVideoLength(check.videos);
        EXPECT_EQ(total, check.total);
        const std::vector<VideoPlacement> placed =
            placeVideoClips(check.videos, total, check.cursorStart);
        ASSERT_EQ(placed.size(), check.clips.size());
        for (std::size_t index = 0; index < placed.size(); ++index) {
            SCOPED_TRACE("clip " + std::to_string(index));
            EXPECT_EQ(placed[index].index, static_cast<int>(index));
            EXPECT_EQ(placed[index].start, check.clips[index].start);
            EXPECT_EQ(placed[index].stop, check.clips[index].stop);
            EXPECT_EQ(placed[index].mediaLength(),
                      check.clips[index].stop - check.clips[index].start);
            EXPECT_EQ(placed[index].transitionDuration, check.videos[index].TransitionDuration);
            const std::optional<Span> span = transitionSpan(placed[index], total);
            ASSERT_EQ(span.has_value(), check.clips[index].transition.has_value());
            if (span) {
                EXPECT_EQ(span->start, check.clips[index].transition->start);
                EXPECT_EQ(span->stop, check.clips[index].transition->stop);
            }
        }
    }
}

TEST(VideoPlacementTest, NoVideoPlacesNothingAndLastsNothing) {
    EXPECT_EQ(totalVideoLength({}), 0);
    EXPECT_TRUE(placeVideoClips({}, 0).empty());
}

AudioEntry audio(RefTime duration, RefTime startTime, int repeat, double speed = 1.0) {
    AudioEntry entry;
    entry.FileName = "/sound/tone.wav";
    entry.Duration = duration;
    entry.StartTime = startTime;
    entry.Repeat = repeat;
    entry.Speed = speed;
    return entry;
}

struct ExpectedPlacement {
    RefTime start;
    RefTime end;
    RefTime stop;
};

struct AudioCase {
    const char* name;
    AudioEntry entry;
    RefTime total;
    std::vector<ExpectedPlacement> placements;
};

TEST(AudioPlacementTest, PlacesAnEntryAndItsRepeatsAsTheRulesSay) {
    const RefTime s = kSecond;
    const std::vector<AudioCase> cases = {
        {"30 s repeated under 100 s: the last copy ends at 120 s",
         audio(30 * s, 0, 1),
         100 * s,
         {{0, 30 * s, 30 * s},
          {30 * s, 60 * s, 60 * s},
          {60 * s, 90 * s, 90 * s},
          {90 * s, 120 * s, 120 * s}}},
        {"speed 2: same starts, each lasting 15 s",
         audio(30 * s, 0, 1, 2.0),
         100 * s,
         {{0, 30 * s, 15 * s},
          {30 * s, 60 * s, 45 * s},
          {60 * s, 90 * s, 75 * s},
          {90 * s, 120 * s, 105 * s}}},
        {"speed 0.5: each copy lasts 60 s and neighbours overlap",
         audio(30 * s, 0, 1, 0.5),
         100 * s,
         {{0, 30 * s, 60 * s},
          {30 * s, 60 * s, 90 * s},
          {60 * s, 90 * s, 120 * s},
          {90 * s, 120 * s, 150 * s}}},
        {"starting at 80 s: cut at the end, no copies even when repeated",
         audio(30 * s, 80 * s, 1),
         100 * s,
         {{80 * s, 100 * s, 100 * s}}},
        {"40 s under 120 s: the copy at exactly 120 s is placed",
         audio(40 * s, 0, 1),
         120 * s,
         {{0, 40 * s, 40 * s},
          {40 * s, 80 * s, 80 * s},
          {80 * s, 120 * s, 120 * s},
          {120 * s, 160 * s, 160 * s}}},
        {"speed 1.5 on 10 s: output span truncated to 66,666,666",
         audio(10 * s, 0, 0, 1.5),
         100 * s,
         {{0, 10 * s, 66'666'666}}},
        {"not repeated: placed once",
         audio(30 * s, 10 * s, 0),
         100 * s,
         {{10 * s, 40 * s, 40 * s}}},
        {"speed 0 plays at normal speed", audio(10 * s, 0, 0, 0.0), 100 * s, {{0, 10 * s, 10 * s}}},
        {"negative speed plays at normal speed",
         audio(10 * s, 0, 0, -2.0),
         100 * s,
         {{0, 10 * s, 10 * s}}},
        {"starting after the end: media length below zero, handed on as it is",
         audio(10 * s, 150 * s, 1),
         100 * s,
         {{150 * s, 100 * s, 100 * s}}},
        {"a zero duration is never repeated", audio(0, 0, 1), 100 * s, {{0, 0, 0}}},
        {"no video: a repeated entry is cut to nothing once", audio(10 * s, 0, 1), 0, {{0, 0, 0}}},
    };
    for (const AudioCase& check : cases) {
        SCOPED_TRACE(check.name);
        const std::vector<AudioPlacement> placed = placeAudioEntry(check.entry, 3, check.total);
        ASSERT_EQ(placed.size(), check.placements.size());
        for (std::size_t index = 0; index < placed.size(); ++index) {
            SCOPED_TRACE("placement " + std::to_string(index));
            EXPECT_EQ(placed[index].index, 3);
            EXPECT_EQ(placed[index].start, check.placements[index].start);
            EXPECT_EQ(placed[index].end, check.placements[index].end);
            EXPECT_EQ(placed[index].stop, check.placements[index].stop);
        }
    }
}

TEST(AudioPlacementTest, OneSecondRepeatedUnderAnHourGivesACopyEverySecondUpToTheEnd) {
    const std::vector<AudioPlacement> placed =
        placeAudioEntry(audio(kSecond, 0, 1), 0, 3600 * kSecond);
    ASSERT_EQ(placed.size(), 3601u) << "0, 1, ... 3600 s: the copy at exactly the end counts";
    EXPECT_EQ(placed.back().start, 3600 * kSecond);
    EXPECT_EQ(placed.back().stop, 3601 * kSecond);
}

TEST(AudioPlacementTest, ExtremeValuesNeitherOverflowNorLoopForever) {
    const RefTime latest = std::numeric_limits<RefTime>::max();
    EXPECT_EQ(audioOutputStop(0, 10 * kSecond, 1e-300), latest);
    EXPECT_EQ(audioOutputStop(0, 10 * kSecond, std::numeric_limits<double>::quiet_NaN()),
              10 * kSecond);
    EXPECT_EQ(effectivePlaybackSpeed(std::numeric_limits<double>::infinity()), 1.0);
    const std::vector<AudioPlacement> placed =
        placeAudioEntry(audio(latest / 2, latest / 2, 1), 0, latest);
    EXPECT_LE(placed.size(), 3u);
    EXPECT_TRUE(placeAudioEntry(audio(-kSecond, 0, 1), 0, 10 * kSecond).size() == 1u);
}

}  // namespace
}  // namespace mixer
