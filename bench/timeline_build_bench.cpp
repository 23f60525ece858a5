// Builds the largest time line a mix can ask for and prints how long it takes: 1,000 video
// clips filling one hour, each with a 1 s transition (effects cycling through the table), and
// one 1 s sound repeated under the whole hour (3,601 placements, the copy at the very end
// included). The build includes the source-name check; the snapshot is what the render reads.
// Last line: "timeline-build: <median ms> ms".
#include "mixer/timeline/timeline_build.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Counts boxes instead of showing them; a build of good input shows none.
class CountingPrompt final : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override {
        if (shown_++ == 0) {
            std::fprintf(stderr, "unexpected message: %s\n", request.text.toUtf8().constData());
        }
        return base::PromptAnswer::Ok;
    }
    int shown() const { return shown_; }

  private:
    int shown_ = 0;
};

mixer::MixJob largestJob() {
    constexpr editing::RefTime kSecond = editing::kRefTimePerSecond;
    mixer::MixJob job;
    for (int index = 0; index < mixer::kMaxListEntries; ++index) {
        mixer::VideoEntry entry;
        entry.FileName = "/bench/clips/clip-" + std::to_string(index) + ".avi";
        entry.Duration = 36 * kSecond / 10;  // 1,000 x 3.6 s = one hour
        entry.TransitionDuration = kSecond;
        entry.TransitionEffect = index % 47;
        job.videos.push_back(entry);
    }
    mixer::AudioEntry loop;
    loop.FileName = "/bench/sound/beat.wav";
    loop.Duration = kSecond;
    loop.Repeat = 1;
    loop.Volume = 0.8;
    job.audios.push_back(loop);
    return job;
}

}  // namespace

int main() {
    const mixer::MixJob job = largestJob();
    constexpr int kRuns = 15;
    std::vector<double> buildMs;
    std::vector<double> snapshotMs;
    std::size_t videoTracks = 0;
    std::size_t audioTracks = 0;
    int locatorQuestions = 0;
    int messages = 0;
    for (int run = 0; run < kRuns; ++run) {
        CountingPrompt prompt;
        int questions = 0;
        const auto locator = [&questions](const std::string&) -> std::optional<std::string> {
            ++questions;  // the bench's files do not exist; nobody locates them
            return std::nullopt;
        };
        const auto started = std::chrono::steady_clock::now();
        const mixer::BuiltTimeline built =
            mixer::BuildTimeline(job, mixer::realTimelineFactory(), prompt, locator);
        const auto built_at = std::chrono::steady_clock::now();
        const editing::TimelineModel model = built.CurrentTimeline->snapshot();
        const auto done = std::chrono::steady_clock::now();
        buildMs.push_back(std::chrono::duration<double, std::milli>(built_at - started).count());
        snapshotMs.push_back(std::chrono::duration<double, std::milli>(done - built_at).count());
        videoTracks = model.groups.at(0).tracks.size();
        audioTracks = model.groups.at(1).tracks.size();
        locatorQuestions = questions;
        messages = prompt.shown();
    }
    std::sort(buildMs.begin(), buildMs.end());
    std::sort(snapshotMs.begin(), snapshotMs.end());
    std::printf("video tracks: %zu, audio tracks: %zu, files asked for: %d, messages: %d\n",
                videoTracks, audioTracks, locatorQuestions, messages);
    std::printf("build (%d runs): best %.2f ms, median %.2f ms, worst %.2f ms\n", kRuns,
                buildMs.front(), buildMs[buildMs.size() / 2], buildMs.back());
    std::printf("snapshot: median %.2f ms\n", snapshotMs[snapshotMs.size() / 2]);
    std::printf("timeline-build: %.2f ms\n", buildMs[buildMs.size() / 2]);
    return messages == 0 ? 0 : 1;
}
