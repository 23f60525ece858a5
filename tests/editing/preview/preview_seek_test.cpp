// Seeking a paused preview: the key frame before the position shows first, then the exact
// frame; steps move one frame exactly. The clip's frames differ in brightness (frame N has luma
// 16 + 7N) and it has a key frame every 10 frames, so each picture tells which frame it is.

#include "editing/preview/preview_player.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace editing {
namespace {

constexpr double kFramesPerSecond = 25.0;
constexpr int kFrames = 30;

int frameNumberShown(const Picture& picture) {
    const ConstPictureView view = picture.view();
    const int luma = view.planes[kPlaneY].row(view.height() / 2)[view.width() / 2];
    return (luma - 16 + 3) / 7;
}

struct Shown {
    PreviewFrameKind kind;
    std::int64_t frameIndex;
    int frameNumberInPicture;
};

TEST(PreviewSeek, KeyFrameFirstThenExactAndSteps) {
    test_support::TemporaryFolder folder;
    const std::string clip = folder.file("numbered.avi");
    ASSERT_TRUE(test_support::runFfmpeg(
        "-f lavfi -i " +
        test_support::shellQuote(
            "color=c=black:s=160x120:r=25:d=1.2,geq=lum='16+7*N':cb=128:cr=128") +
        " -c:v mpeg4 -q:v 1 -g 10 -bf 0 " + test_support::shellQuote(clip)));
    GroupModel video;
    video.mediaType.width = 160;
    video.mediaType.height = 120;
    video.outputFramesPerSecond = kFramesPerSecond;
    const RefTime length = kFrames * kRefTimePerSecond / 25;
    video.tracks.push_back({{{clip, 0, length, 0, length}}, {}, {}});
    TimelineModel timeline;
    timeline.groups = {video};

    PreviewPlayer player(timeline, nullptr);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Shown> shown;
    player.setFrameSink([&](const PreviewFrame& frame, const Picture& picture) {
        std::lock_guard lock(mutex);
        shown.push_back({frame.kind, frame.frameIndex, frameNumberShown(picture)});
        changed.notify_all();
    });
    const auto waitForExact = [&](std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(30), [&] {
            return shown.size() >= count && shown.back().kind == PreviewFrameKind::Exact;
        });
    };

    player.seek(frameStartRefTime(17, kFramesPerSecond), PreviewPlayer::SeekMode::KeyFrameFirst);
    ASSERT_TRUE(waitForExact(2));
    player.stepFrames(-1);
    ASSERT_TRUE(waitForExact(3));
    player.stepFrames(+2);
    ASSERT_TRUE(waitForExact(4));
    player.seek(frameStartRefTime(kFrames + 50, kFramesPerSecond));  // past the end: the last
    ASSERT_TRUE(waitForExact(5));
    player.close();

    struct Expected {
        PreviewFrameKind kind;
        std::int64_t frameIndex;
        int frameNumberInPicture;
    };
    const Expected expected[] = {
        {PreviewFrameKind::KeyFrame, 17, 10},  // the key frame before 17, at once
        {PreviewFrameKind::Exact, 17, 17},    {PreviewFrameKind::Exact, 16, 16},
        {PreviewFrameKind::Exact, 18, 18},    {PreviewFrameKind::Exact, kFrames - 1, kFrames - 1},
    };
    ASSERT_EQ(shown.size(), std::size(expected));
    for (std::size_t index = 0; index < shown.size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(shown[index].kind, expected[index].kind);
        EXPECT_EQ(shown[index].frameIndex, expected[index].frameIndex);
        EXPECT_EQ(shown[index].frameNumberInPicture, expected[index].frameNumberInPicture);
    }
    EXPECT_EQ(player.position(), frameStartRefTime(kFrames - 1, kFramesPerSecond));
}

}  // namespace
}  // namespace editing
