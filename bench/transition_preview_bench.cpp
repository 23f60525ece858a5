// The transition dialogs' previews. First, per effect, the cost of one 320 x 180 preview frame
// (the effect's blend, and beside it the same with the conversion to screen pixels the dialogs
// add; medians of many frames over the loop; the effect's one-off making shown last). Then the time
// until the per-clip preview shows the user's own frames: both stills decoded from 1080p H.264
// clips with a key frame every second, as phones write them (made once with the ffmpeg tool),
// for a clip after another and for the first clip: when the first real frames arrive (the
// previous clip's key frame before its end) and when the exact last frame does. Prints the key
// figure last as "transition-preview: <worst ms to real frames> ms".

#include "editing/preview/clip_stills.h"
#include "editing/preview/transition_preview.h"
#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFrameRuns = 301;
constexpr int kStillsRuns = 5;

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

struct FrameCost {
    double blendMs = 0;      // the effect's frame (what the budget covers)
    double convertedMs = 0;  // the same plus its conversion to screen pixels
};

double median(std::vector<double>& times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

FrameCost medianFrameCost(editing::TransitionPreview& preview, std::vector<std::uint32_t>& pixels) {
    std::vector<double> blends;
    std::vector<double> converted;
    for (int run = 0; run < kFrameRuns; ++run) {
        const editing::RefTime loopTime =
            editing::TransitionPreview::kLoopRefTime * run / kFrameRuns;
        const auto start = std::chrono::steady_clock::now();
        const editing::Picture& frame = preview.frameAt(loopTime);
        blends.push_back(millisecondsSince(start));
        editing::convertToRgb32(frame.view(), pixels, editing::TransitionPreview::kWidth);
        converted.push_back(millisecondsSince(start));
    }
    return {median(blends), median(converted)};
}

// Six seconds of 1080p at 30 frames per second, H.264 with a key frame every 30 frames at a
// phone's bit rate: the last frame lies 29 frames after the last key frame (the worst case).
bool makePhoneClip(const std::string& path, const char* source) {
    const std::string command =
        std::string("ffmpeg -loglevel error -y -f lavfi -i '") + source +
        "=s=1920x1080:r=30:d=6' -c:v libx264 -preset veryfast -b:v 16M -g 30 "
        "-keyint_min 30 -sc_threshold 0 -pix_fmt yuv420p '" +
        path + "'";
    return std::system(command.c_str()) == 0;
}

}  // namespace

int main() {
    std::printf("Preview frame cost at %d x %d (blend and conversion, median of %d)\n",
                editing::TransitionPreview::kWidth, editing::TransitionPreview::kHeight,
                kFrameRuns);
    editing::TransitionPreview preview;
    preview.setPictures(editing::builtInPreviewPictureA(), editing::builtInPreviewPictureB());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(editing::TransitionPreview::kWidth) *
                                      editing::TransitionPreview::kHeight);
    FrameCost worst;
    std::printf("    effect                          frame ms  with conversion  (made in)\n");
    for (int effect = 1; effect < editing::kTransitionEffectCount; ++effect) {
        const auto makeStart = std::chrono::steady_clock::now();
        preview.setEffect(effect);
        const double makeMs = millisecondsSince(makeStart);
        const FrameCost cost = medianFrameCost(preview, pixels);
        worst.blendMs = std::max(worst.blendMs, cost.blendMs);
        worst.convertedMs = std::max(worst.convertedMs, cost.convertedMs);
        const std::string name(editing::transitionEffectName(effect));
        std::printf("%2d  %-30s %8.4f  %8.4f ms      (%6.2f ms)\n", effect, name.c_str(),
                    cost.blendMs, cost.convertedMs, makeMs);
    }
    std::printf("worst preview frame: %.4f ms, with conversion to screen pixels %.4f ms\n",
                worst.blendMs, worst.convertedMs);

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "orvindel-transition-preview-bench";
    std::filesystem::create_directories(folder);
    const std::string previous = (folder / "previous.mp4").string();
    const std::string clip = (folder / "clip.mp4").string();
    if (!makePhoneClip(previous, "testsrc2") || !makePhoneClip(clip, "smptehdbars")) {
        std::fprintf(stderr, "the ffmpeg tool could not make the 1080p H.264 clips\n");
        return 1;
    }
    editing::TransitionStillsRequest request;
    request.previousFileName = previous;
    request.previousDuration = 6 * editing::kRefTimePerSecond;
    request.fileName = clip;
    request.width = editing::TransitionPreview::kWidth;
    request.height = editing::TransitionPreview::kHeight;
    editing::TransitionStillsRequest first = request;
    first.previousFileName.clear();

    // Real frames: the first delivery (the clip's first frame and the key frame before the
    // previous clip's end; for the first clip, already exact). Exact: the previous clip's
    // last frame itself.
    double worstRealMs = 0;
    double worstExactMs = 0;
    std::printf("Time to real frames, 1080p H.264, key frame every second\n");
    for (const auto& [label, asked] :
         {std::pair{"after another clip", &request}, std::pair{"first clip", &first}}) {
        for (int run = 0; run < kStillsRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            double realMs = -1;
            double exactMs = -1;
            editing::loadTransitionStills(
                *asked, [&](const editing::TransitionStills&, editing::StillsAccuracy accuracy) {
                    const double ms = millisecondsSince(start);
                    realMs = realMs < 0 ? ms : realMs;
                    if (accuracy == editing::StillsAccuracy::Exact) {
                        exactMs = ms;
                    }
                });
            worstRealMs = std::max(worstRealMs, realMs);
            worstExactMs = std::max(worstExactMs, exactMs);
            std::printf("  %-20s run %d: real frames %6.1f ms, exact last frame %6.1f ms\n", label,
                        run + 1, realMs, exactMs);
        }
    }
    std::printf("worst time to the exact last frame: %.0f ms\n", worstExactMs);
    std::filesystem::remove_all(folder);
    std::printf("transition-preview: %.0f ms\n", worstRealMs);
    return 0;
}
