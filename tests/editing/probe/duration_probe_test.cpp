#include "editing/probe/duration_probe.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <random>

namespace editing {
namespace {

constexpr RefTime kSecond = kRefTimePerSecond;

class DurationProbeTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test_support::TemporaryFolder>();
        test_support::ClipRecipe clip;
        clip.seconds = 1.5;
        clip.width = 64;
        clip.height = 48;
        clip.toneHz = 440.0;
        ASSERT_TRUE(test_support::makeClip(file("clip.avi"), clip));
        ASSERT_TRUE(test_support::makeTone(file("tone.wav"), 440.0, 2.0));
        ASSERT_TRUE(test_support::makeTone(file("tone.mp3"), 440.0, 3.0));

        // A bare MPEG-4 elementary stream names no length anywhere.
        ASSERT_TRUE(
            test_support::runFfmpeg("-f lavfi -i color=c=red:s=64x48:d=1 -c:v mpeg4 -f m4v " +
                                    test_support::shellQuote(file("bare.m4v"))));

        // Random bytes behind an AVI name: no demuxer recognises them.
        std::mt19937 generator(7);
        std::ofstream corrupt(file("corrupt.avi"), std::ios::binary);
        for (int index = 0; index < 64 * 1024; ++index) {
            corrupt.put(static_cast<char>(generator() & 0xFF));
        }
        std::ofstream(file("notes.avi")) << "These are the notes of the shoot.\nNothing else.\n";
        // Subtitles only: the file opens, but holds no picture or sound.
        std::ofstream(file("captions.srt")) << "1\n00:00:00,000 --> 00:00:02,000\nHello\n\n";
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static std::string file(const std::string& name) { return folder_->file(name); }

    static std::unique_ptr<test_support::TemporaryFolder> folder_;
};

std::unique_ptr<test_support::TemporaryFolder> DurationProbeTest::folder_;

TEST_F(DurationProbeTest, LearnsTheLengthOfPlayableFilesIn100NanosecondUnits) {
    struct Case {
        const char* name;
        RefTime expected;
        RefTime tolerance;
    };
    for (const Case& check :
         {Case{"clip.avi", 15 * kSecond / 10, kSecond / 10}, Case{"tone.wav", 2 * kSecond, 0},
          Case{"tone.mp3", 3 * kSecond, kSecond / 10}}) {
        const DurationProbe probe = probeDuration(file(check.name));
        ASSERT_TRUE(probe.succeeded()) << check.name << ": " << describeResult(probe.result);
        EXPECT_EQ(probe.stage, ProbeStage::Done);
        EXPECT_NEAR(static_cast<double>(probe.durationRefTime), static_cast<double>(check.expected),
                    static_cast<double>(check.tolerance))
            << check.name;
    }
}

TEST_F(DurationProbeTest, FilesThatCannotBeOpenedAsMediaFailAtTheOpenStage) {
    struct Case {
        std::string path;
        std::optional<Result> expected;  // nothing: any failure code
    };
    const std::vector<Case> cases = {
        {file("corrupt.avi"), std::nullopt},
        {file("notes.avi"), std::nullopt},
        {file("captions.srt"), kErrorNoDecodableStream},
        {file("missing.avi"), kErrorFileNotFound},
        {folder_->path().string(), kErrorFileNotFound},
        {"", kErrorFileNotFound},
        {"/" + std::string(5000, 'x') + ".avi", kErrorNameTooLong},
    };
    for (const Case& check : cases) {
        const DurationProbe probe = probeDuration(check.path);
        const std::string shown = check.path.substr(0, 80);
        EXPECT_FALSE(probe.succeeded()) << shown;
        EXPECT_EQ(probe.stage, ProbeStage::Open) << shown;
        EXPECT_EQ(probe.durationRefTime, 0) << shown;
        if (check.expected) {
            EXPECT_EQ(probe.result, *check.expected) << shown;
        }
        EXPECT_FALSE(describeResult(probe.result).empty()) << shown;
    }
}

TEST_F(DurationProbeTest, AStreamWithoutAKnownLengthFailsAtTheDurationStage) {
    const DurationProbe probe = probeDuration(file("bare.m4v"));
    EXPECT_FALSE(probe.succeeded());
    EXPECT_EQ(probe.stage, ProbeStage::Duration);
    EXPECT_EQ(probe.durationRefTime, 0);
}

}  // namespace
}  // namespace editing
