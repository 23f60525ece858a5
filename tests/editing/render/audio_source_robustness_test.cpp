#include "editing/render/render_engine.h"

#include "tests/editing/render/decoded_avi.h"
#include "tests/editing/render/render_fixture.h"
#include "tests/editing/render/render_media.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace render_test {
namespace {

using namespace editing;

// A placement whose speed the resampler cannot serve (it refuses rates near the top of its
// range, and past the range there is no rate to ask for) falls silent with one error event
// each; the render goes on and the other sound is untouched.
TEST(AudioSourceRobustness, ASpeedTheResamplerRefusesIsReportedAndTheRenderGoesOn) {
    const RenderMedia& media = renderMedia();
    test_support::TemporaryFolder folder;
    TimelineModel timeline;
    GroupModel audio = audioGroup();
    const RefTime span = kSecond / 100;
    // Just over 48,000 x 44,100 Hz: within an int, but a filter longer than the resampler
    // will set up (an exact multiple would let it shorten the filter, so 7 units are added).
    addAudioTrack(audio, media.tone440, 0, span, 1.0, 48'000 * span + 7);
    // 60,000 x 44,100 Hz: no rate the resampler can even be asked for.
    addAudioTrack(audio, media.tone440, span, 2 * span, 1.0, 60'000 * span);
    addAudioTrack(audio, media.tone440, kSecond / 2, kSecond, 1.0);
    timeline.groups = {audio};
    const std::string output = folder.file("refused.avi");
    const RenderOutcome outcome = renderToEnd(timeline, {output, std::nullopt, std::nullopt});
    expectRecoverableErrorsNaming(outcome, "tone440.wav", 2);

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.sampleRate, 44100);
    EXPECT_EQ(decoded.samples.size(), 2u * 44100u);
    EXPECT_LT(rmsLevel(decoded, 0.0, 0.45), 0.001) << "the refused placements are silent";
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.55, 0.95), 440.0, 6.0);
    EXPECT_GT(rmsLevel(decoded, 0.55, 0.95), 0.1);
}

// Joined MP3 streams may change rate and channels between frames: 0.5 s of 440 Hz stereo at
// 44,100 Hz followed by 0.5 s of 880 Hz mono at 22,050 Hz, stream-copied into one file. Both
// parts keep their pitch and length (read with the first part's set-up, the second would play
// an octave high in half the time).
TEST(AudioSourceRobustness, SoundThatChangesRateAndChannelsMidStreamKeepsPitchAndLength) {
    test_support::TemporaryFolder folder;
    const std::string first = folder.file("first.mp3");
    const std::string second = folder.file("second.mp3");
    ASSERT_TRUE(test_support::makeTone(first, 440.0, 0.5, 0.5, 44100, 2));
    ASSERT_TRUE(test_support::makeTone(second, 880.0, 0.5, 0.5, 22050, 1));
    const std::string list = folder.file("parts.txt");
    std::ofstream(list) << "file '" << first << "'\nfile '" << second << "'\n";
    const std::string joined = folder.file("joined.mp3");
    ASSERT_TRUE(test_support::runFfmpeg("-f concat -safe 0 -i " + test_support::shellQuote(list) +
                                        " -c copy " + test_support::shellQuote(joined)));

    TimelineModel timeline;
    GroupModel audio = audioGroup();
    addAudioTrack(audio, joined, 0, seconds(1.4), 1.0);
    timeline.groups = {audio};
    const std::string output = folder.file("joined.avi");
    const RenderOutcome outcome = renderToEnd(timeline, {output, std::nullopt, std::nullopt});
    ASSERT_EQ(outcome.startResult, kOk);
    EXPECT_EQ(outcome.completeEvents, 1);
    for (const RenderEvent& event : outcome.events) {
        EXPECT_NE(event.kind, RenderEventKind::Error) << event.description;
    }

    const DecodedAvi decoded = decodeFile(output);
    ASSERT_EQ(decoded.sampleRate, 44100);
    // Each MP3 part carries its encoder's delay and padding, so the join lies near 0.55 s
    // and the sound ends near 1.1 s.
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.1, 0.45), 440.0, 6.0);
    EXPECT_GT(rmsLevel(decoded, 0.1, 0.45), 0.1);
    EXPECT_NEAR(toneFrequencyHz(decoded, 0.65, 1.0), 880.0, 10.0);
    EXPECT_GT(rmsLevel(decoded, 0.65, 1.0), 0.1) << "the second part lasts its 0.5 s";
    EXPECT_LT(rmsLevel(decoded, 1.2, 1.35), 0.01) << "and no longer";
}

}  // namespace
}  // namespace render_test
