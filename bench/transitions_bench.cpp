// Blend time per 1280 x 720 frame of every transition effect, one thread: the median of many
// blends at progress values spread over the transition. The one-off cost of making the
// effect (its luma map) is shown beside it. The render blends in place (the
// output is the picture beneath), so the benchmark does too. Prints one line per effect and
// last "transitions: <worst ms> ms".

#include "editing/core/picture.h"
#include "editing/transitions/transition.h"
#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kRuns = 101;

// A picture with some detail, so no effect gets an unrealistically uniform input.
void paintGradient(editing::Picture& picture, int seed) {
    const editing::PictureView view = picture.view();
    for (int plane = 0; plane < 3; ++plane) {
        const editing::PlaneView& target = view.planes[plane];
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                target.row(y)[x] = static_cast<std::uint8_t>(16 + (x * 3 + y * 5 + seed) % 220);
            }
        }
    }
}

double medianBlendMs(editing::Transition& transition, const editing::Picture& incoming,
                     editing::Picture& working) {
    std::vector<double> times;
    times.reserve(kRuns);
    for (int run = 0; run < kRuns; ++run) {
        const double progress = (run + 0.5) / kRuns;
        const auto start = std::chrono::steady_clock::now();
        transition.blend(working.view(), incoming.view(), progress, working.view());
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main() {
    editing::Picture working(kWidth, kHeight);
    editing::Picture incoming(kWidth, kHeight);
    paintGradient(working, 0);
    paintGradient(incoming, 97);

    double worstMs = 0;
    std::printf("Blend time per %d x %d frame (median of %d, one thread)\n", kWidth, kHeight,
                kRuns);
    for (int index = 1; index < editing::kTransitionEffectCount; ++index) {
        const auto setup = editing::transitionSetupForEffect(index, kWidth, kHeight, 1234);
        const auto prepareStart = std::chrono::steady_clock::now();
        auto transition = editing::createTransition(*setup);
        const double prepareMs = std::chrono::duration<double, std::milli>(
                                     std::chrono::steady_clock::now() - prepareStart)
                                     .count();
        const double ms = medianBlendMs(*transition, incoming, working);
        worstMs = std::max(worstMs, ms);
        const std::string name(editing::transitionEffectName(index));
        std::printf("%2d  %-30s %7.3f ms   (made in %6.1f ms)\n", index, name.c_str(), ms,
                    prepareMs);
    }
    std::printf("transitions: %.3f ms\n", worstMs);
    return 0;
}
