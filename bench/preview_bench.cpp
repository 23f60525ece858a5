// The real-time player without display or sound: how fast it can hand out frames, how long it
// takes from play to the first frame, and how long an exact seek takes while paused.
//   - W1's time line at 1280 x 720 (MPEG-4 clips of 640 x 480 with transitions and sound);
//   - five 10 s 1080p H.264 clips at 30 fps (MP4, as phones write them) with 1 s transitions,
//     once with a key frame every second and once with one every 250 frames.
// The sustained rate is frames handed out per second of wall time, as a multiple of the output
// rate. Last line: "preview: <multiple> x real time" for the 1080p clips with a key frame
// every second. The render of the same mix is timed too, so the figures can be read against
// the load of the moment.

#include "bench/render_workload.h"
#include "editing/preview/preview_player.h"

#include <condition_variable>
#include <mutex>

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

// Watches the frames a player hands out.
struct FrameWatch {
    std::mutex mutex;
    std::condition_variable changed;
    std::int64_t frames = 0;
    std::int64_t exactFrames = 0;
    Clock::time_point firstFrameAt;
    Clock::time_point lastExactAt;

    void attach(editing::PreviewPlayer& player) {
        player.setFrameSink([this](const editing::PreviewFrame& frame, const editing::Picture&) {
            std::lock_guard lock(mutex);
            if (frames++ == 0) {
                firstFrameAt = Clock::now();
            }
            if (frame.kind == editing::PreviewFrameKind::Exact) {
                ++exactFrames;
                lastExactAt = Clock::now();
            }
            changed.notify_all();
        });
        player.setNotifier([this] {
            std::lock_guard lock(mutex);
            changed.notify_all();
        });
    }
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Figures {
    double framesPerSecond = 0.0;
    double realTimeMultiple = 0.0;
    double firstFrameMilliseconds = 0.0;
    double worstSeekMilliseconds = 0.0;
    double meanSeekMilliseconds = 0.0;
};

Figures measure(const editing::TimelineModel& timeline) {
    Figures figures;
    {
        editing::PreviewPlayer player(timeline, nullptr, editing::PreviewPacing::AsFastAsPossible);
        FrameWatch watch;
        watch.attach(player);
        const Clock::time_point started = Clock::now();
        player.play();
        std::unique_lock lock(watch.mutex);
        watch.changed.wait(lock, [&] { return !player.isPlaying(); });
        const Clock::time_point ended = Clock::now();
        figures.firstFrameMilliseconds = millisecondsBetween(started, watch.firstFrameAt);
        figures.framesPerSecond =
            static_cast<double>(watch.frames) / (millisecondsBetween(started, ended) / 1000.0);
        figures.realTimeMultiple = figures.framesPerSecond / player.framesPerSecond();
        for (const std::string& message : player.takeMessages()) {
            std::fprintf(stderr, "preview: %s\n", message.c_str());
        }
    }
    // Exact seeks while paused, to times between key frames, each in a fresh player region.
    editing::PreviewPlayer player(timeline, nullptr);
    FrameWatch watch;
    watch.attach(player);
    const double seekSeconds[] = {3.7, 17.3, 28.9, 41.5, 7.9};
    double total = 0.0;
    for (double seconds : seekSeconds) {
        std::unique_lock lock(watch.mutex);
        const std::int64_t before = watch.exactFrames;
        const Clock::time_point started = Clock::now();
        lock.unlock();
        player.seek(static_cast<RefTime>(seconds * kSecond));
        lock.lock();
        watch.changed.wait(lock, [&] { return watch.exactFrames > before; });
        const double milliseconds = millisecondsBetween(started, watch.lastExactAt);
        total += milliseconds;
        figures.worstSeekMilliseconds = std::max(figures.worstSeekMilliseconds, milliseconds);
    }
    figures.meanSeekMilliseconds = total / std::size(seekSeconds);
    return figures;
}

void print(const char* label, const Figures& figures) {
    std::printf(
        "%-34s %7.1f frames/s = %5.2f x real time; first frame %6.0f ms; exact seek mean %6.0f "
        "ms, worst %6.0f ms\n",
        label, figures.framesPerSecond, figures.realTimeMultiple, figures.firstFrameMilliseconds,
        figures.meanSeekMilliseconds, figures.worstSeekMilliseconds);
}

// Five 10 s 1080p H.264 clips at 30 fps with AAC sound, a key frame every `keyFrameInterval`
// frames, laid out as W1 lays its clips (1 s transitions) with their own sound.
Workload makePhoneClips(const std::filesystem::path& folder, int keyFrameInterval) {
    Workload work;
    for (int index = 0; index < 5; ++index) {
        const std::string file = (folder / ("phone_g" + std::to_string(keyFrameInterval) + "_" +
                                            std::to_string(index) + ".mp4"))
                                     .string();
        if (!std::filesystem::exists(file)) {
            const std::string partial = file + ".part.mp4";
            const std::string arguments =
                "-f lavfi -i " +
                quote("testsrc2=s=1920x1080:r=30:d=10,hue=h=" + std::to_string(index * 47)) +
                " -f lavfi -i " +
                quote("sine=f=" + std::to_string(300 + 70 * index) + ":sample_rate=48000:d=10") +
                " -c:v libx264 -preset veryfast -pix_fmt yuv420p -g " +
                std::to_string(keyFrameInterval) + " -keyint_min " +
                std::to_string(keyFrameInterval) + " -sc_threshold 0 -c:a aac -b:a 128k " +
                quote(partial);
            if (!runTool(arguments)) {
                std::fprintf(stderr, "could not make %s\n", file.c_str());
                std::exit(1);
            }
            std::filesystem::rename(partial, file);
        }
        work.videos.push_back({file, 10 * kSecond, kSecond, editing::TransitionKind::Fade, 0});
        work.audios.push_back({file, 10 * kSecond, 10 * kSecond * index, 1.0, 1.0, false});
    }
    layOut(work);
    editing::GroupModel& video = work.timeline.groups[0];
    video.mediaType.width = 1920;
    video.mediaType.height = 1080;
    video.outputFramesPerSecond = 30.0;
    return work;
}

}  // namespace

int main() {
    const std::filesystem::path folder = mediaFolder();
    Workload w1 = makeW1(folder);
    w1.timeline.groups[0].mediaType.width = 1280;
    w1.timeline.groups[0].mediaType.height = 720;
    const Workload everySecond = makePhoneClips(folder, 30);
    const Workload every250 = makePhoneClips(folder, 250);
    double load[1] = {-1.0};
    getloadavg(load, 1);
    std::printf("preview: no display, no sound; %u cores, load average %.1f\n",
                std::thread::hardware_concurrency(), load[0]);
    print("W1 at 1280x720, 23.976 fps", measure(w1.timeline));
    print("1080p H.264, key frame every 250", measure(every250.timeline));
    const Figures phone = measure(everySecond.timeline);
    print("1080p H.264, key frame every 1 s", phone);
    // For comparison under the same load: the render writing the same mix (MPEG-4 Part 2).
    const std::string rendered = (folder / "phone_g30_render.avi").string();
    const Measurement render =
        inChild([&] { return renderWithEngine(everySecond.timeline, rendered); });
    const double renderedSeconds = static_cast<double>(everySecond.timeline.duration()) / kSecond;
    std::printf("%-34s %7.2f s for %.1f s of output = %5.2f x real time (render, for comparison)\n",
                "1080p H.264, key frame every 1 s", render.seconds, renderedSeconds,
                renderedSeconds / render.seconds);
    std::printf("preview: %.2f x real time\n", phone.realTimeMultiple);
    return 0;
}
