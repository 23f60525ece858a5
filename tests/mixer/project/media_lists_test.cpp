#include "mixer/project/media_lists.h"
#include "mixer/project/list_view_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mixer {
namespace {

constexpr RefTime kSecond = editing::kRefTimePerSecond;

// Counts the emissions of a signal (Qt Test is not linked into these tests).
struct EmissionCounter {
    int count = 0;
    std::vector<int> rows;
};

ProbedFile clip(const std::string& name, RefTime duration = 10 * kSecond) {
    return {"/clips/" + name, duration};
}

TEST(TransitionChoice, SequenceRunsThroughEveryEffectThenCyclesWithoutNone) {
    const std::pair<int, int> positionToEffect[] = {
        {0, 0}, {1, 1}, {45, 45}, {46, 46}, {47, 1}, {48, 2}, {92, 46}, {93, 1}, {94, 2},
    };
    TransitionDefaults sequence;
    sequence.TransitionType = 1;
    for (const auto& [position, effect] : positionToEffect) {
        EXPECT_EQ(chooseTransitionEffect(sequence, position, standardRandomNumbers()), effect)
            << "position " << position;
    }
}

TEST(TransitionChoice, RandomSameAndUnknownTypes) {
    TransitionDefaults defaults;
    defaults.TransitionType = 0;
    EXPECT_EQ(chooseTransitionEffect(defaults, 5, [] { return 100; }), 100 % 47);
    EXPECT_EQ(chooseTransitionEffect(defaults, 5, [] { return 46; }), 46);

    defaults.TransitionType = 2;
    defaults.TransitionName = 12;
    EXPECT_EQ(chooseTransitionEffect(defaults, 30, [] { return 1; }), 12);
    defaults.TransitionName = 47;  // no such effect
    EXPECT_EQ(chooseTransitionEffect(defaults, 30, [] { return 1; }), 0);

    for (const int unknownType : {-1, 3, 99}) {
        defaults.TransitionType = unknownType;
        EXPECT_EQ(chooseTransitionEffect(defaults, 30, [] { return 5; }), 0) << unknownType;
    }
}

TEST(MediaLists, VideosGetTransitionsAndCompanionSoundStartingAfterEarlierVideos) {
    MixJob job;
    job.transitionDefaults.TransitionType = 1;
    job.transitionDefaults.TransitionDuration = 2;
    MediaLists lists(job);
    EmissionCounter videoChanges;
    EmissionCounter audioChanges;
    QObject::connect(&lists, &MediaLists::videoListChanged, [&] { ++videoChanges.count; });
    QObject::connect(&lists, &MediaLists::audioListChanged, [&] { ++audioChanges.count; });

    ASSERT_EQ(lists.appendVideo(clip("first.avi", 10 * kSecond)), AppendOutcome::Appended);
    ASSERT_EQ(lists.appendVideo(clip("second.avi", 125 * kSecond / 10)), AppendOutcome::Appended);
    ASSERT_EQ(lists.appendVideo(clip("third.avi", 3 * kSecond)), AppendOutcome::Appended);

    ASSERT_EQ(job.videos.size(), 3u);
    EXPECT_EQ(job.videos[1].FileName, "/clips/second.avi");
    EXPECT_EQ(job.videos[1].Duration, 125'000'000);
    EXPECT_EQ(job.videos[1].TransitionEffect, 1);
    EXPECT_EQ(job.videos[2].TransitionEffect, 2);
    EXPECT_EQ(job.videos[2].TransitionDuration, 20'000'000);

    ASSERT_EQ(job.audios.size(), 3u);
    const RefTime expectedStarts[] = {0, 10 * kSecond, 225'000'000};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(job.audios[i].FileName, job.videos[i].FileName);
        EXPECT_EQ(job.audios[i].Duration, job.videos[i].Duration);
        EXPECT_EQ(job.audios[i].StartTime, expectedStarts[i]);
        EXPECT_EQ(job.audios[i].Volume, 1.0);
        EXPECT_EQ(job.audios[i].Speed, 1.0);
        EXPECT_EQ(job.audios[i].Repeat, 0);
    }
    EXPECT_EQ(audioRowTexts(job.audios[1])[3], "10.000");
    EXPECT_EQ(videoChanges.count, 3);
    EXPECT_EQ(audioChanges.count, 3);
}

TEST(MediaLists, DeletingSelectedRowsKeepsTheOthersInOrder) {
    MixJob job;
    MediaLists lists(job);
    lists.appendAudio(
        {clip("a0.mp3"), clip("a1.mp3"), clip("a2.mp3"), clip("a3.mp3"), clip("a4.mp3")});
    EmissionCounter audioChanges;
    QObject::connect(&lists, &MediaLists::audioListChanged, [&] { ++audioChanges.count; });

    EXPECT_EQ(lists.deleteSelectedAudio({4, 1, 2}), DeleteSelectionOutcome::Deleted);
    ASSERT_EQ(job.audios.size(), 2u);
    EXPECT_EQ(job.audios[0].FileName, "/clips/a0.mp3");
    EXPECT_EQ(job.audios[1].FileName, "/clips/a3.mp3");
    EXPECT_EQ(audioChanges.count, 1);  // refilled once

    EXPECT_EQ(lists.deleteSelectedAudio({}), DeleteSelectionOutcome::NoSelection);
    EXPECT_EQ(lists.deleteSelectedAudio({7}), DeleteSelectionOutcome::NoSelection);
    EXPECT_EQ(job.audios.size(), 2u);

    lists.deleteAllAudio();
    EXPECT_EQ(lists.deleteSelectedAudio({0}), DeleteSelectionOutcome::ListEmpty);
}

TEST(MediaLists, DeleteAllAudioKeepsVideosAndDeleteAllEmptiesBoth) {
    MixJob job;
    MediaLists lists(job);
    lists.appendVideo(clip("v.avi"));
    lists.appendAudio({clip("a.mp3")});
    lists.deleteAllAudio();
    EXPECT_TRUE(job.audios.empty());
    ASSERT_EQ(job.videos.size(), 1u);
    EXPECT_EQ(job.videos[0].FileName, "/clips/v.avi");

    lists.appendAudio({clip("a.mp3")});
    lists.deleteAll();
    EXPECT_TRUE(job.videos.empty());
    EXPECT_TRUE(job.audios.empty());
}

TEST(MediaLists, AListHoldsAtMostOneThousandEntries) {
    MixJob job;
    MediaLists lists(job, [] { return 0; });
    std::vector<ProbedFile> many(kMaxListEntries - 1, clip("a.mp3"));
    ASSERT_EQ(lists.appendAudio(many).appendedCount, kMaxListEntries - 1);

    // Two files when one slot is left: the first is appended, the second refused.
    const AudioAppendResult last = lists.appendAudio({clip("last.mp3"), clip("refused.mp3")});
    EXPECT_EQ(last.appendedCount, 1);
    EXPECT_EQ(last.outcome, AppendOutcome::AudioListFull);
    EXPECT_EQ(job.audios.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_EQ(job.audios.back().FileName, "/clips/last.mp3");

    // A video needs a slot for its own sound too: refused, nothing written.
    EXPECT_EQ(lists.appendVideo(clip("v.avi")), AppendOutcome::AudioListFull);
    EXPECT_TRUE(job.videos.empty());
    EXPECT_FALSE(appendRefusalMessage(AppendOutcome::AudioListFull).isEmpty());

    lists.deleteAllAudio();
    for (int i = 0; i < kMaxListEntries; ++i) {
        ASSERT_EQ(lists.appendVideo(clip("v.avi", kSecond)), AppendOutcome::Appended);
        lists.deleteAllAudio();
    }
    EXPECT_EQ(lists.appendVideo(clip("one-too-many.avi")), AppendOutcome::VideoListFull);
    EXPECT_EQ(job.videos.size(), static_cast<std::size_t>(kMaxListEntries));
    EXPECT_TRUE(job.audios.empty());
    EXPECT_TRUE(appendRefusalMessage(AppendOutcome::VideoListFull).contains("1000"));
}

TEST(MediaLists, ReplacingAnAudioEntryAnnouncesItsRow) {
    MixJob job;
    MediaLists lists(job);
    lists.appendAudio({clip("a.mp3"), clip("b.mp3")});
    EmissionCounter rowChanges;
    QObject::connect(&lists, &MediaLists::audioRowChanged, [&](int row) {
        ++rowChanges.count;
        rowChanges.rows.push_back(row);
    });
    AudioEntry edited = job.audios[1];
    edited.Volume = 2.5;
    EXPECT_TRUE(lists.replaceAudioEntry(1, edited));
    EXPECT_FALSE(lists.replaceAudioEntry(2, edited));
    EXPECT_EQ(job.audios[1].Volume, 2.5);
    ASSERT_EQ(rowChanges.count, 1);
    EXPECT_EQ(rowChanges.rows.at(0), 1);
}

TEST(ListViewTexts, CellTexts) {
    EXPECT_EQ(secondsText(123'456'789), "12.346");
    EXPECT_EQ(secondsText(0), "0.000");
    AudioEntry audio{"/music/Summer Song.mp3", 25'000'000, 125'000'000, 0.5, 2.0, 1};
    EXPECT_EQ(audioRowTexts(audio),
              QStringList({"Summer Song.mp3", "2.500", "0.500", "12.500", "2.000", "Yes"}));
    audio.Repeat = 0;
    EXPECT_EQ(audioRowTexts(audio).back(), "No");
    VideoEntry video{"/clips/holiday.part1.avi", 123'456'789, 3, 0};
    EXPECT_EQ(videoRowTexts(video), QStringList({"holiday.part1.avi", "12.346", "Fade, 0.000 s"}));
    // The Transition column: name and length, "None" for effect 0, the number outside the
    // catalogue.
    struct Transition {
        int effect;
        RefTime duration;
        const char* text;
    };
    for (const Transition& check :
         {Transition{1, 20'000'000, "Iris, 2.000 s"}, Transition{0, 20'000'000, "None"},
          Transition{46, 1'234'567, "Matrix, horizontal, 0.123 s"},
          Transition{47, 10'000'000, "Effect 47, 1.000 s"}}) {
        video.TransitionEffect = check.effect;
        video.TransitionDuration = check.duration;
        EXPECT_EQ(videoRowTexts(video).back(), check.text);
    }
}

}  // namespace
}  // namespace mixer
