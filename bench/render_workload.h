#pragma once

// Shared by the render benchmarks (w1_bench, w2_bench): input generation with the ffmpeg tool,
// time lines laid out by the mixer's placement rules, and timed child processes that render
// either with our engine or with the ffmpeg tool, so each peak memory is measured on its own.

#include "editing/compressors/compressor_registry.h"
#include "editing/render/render_engine.h"
#include "editing/timeline/timeline_model.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace bench {

using editing::RefTime;
inline constexpr RefTime kSecond = editing::kRefTimePerSecond;

inline constexpr int kOutputWidth = 352;
inline constexpr int kOutputHeight = 240;
inline constexpr double kOutputFramesPerSecond = 23.976;

struct VideoEntry {
    std::string file;
    RefTime duration = 0;
    RefTime transitionDuration = 0;
    editing::TransitionKind transition = editing::TransitionKind::Fade;
    int maskNumber = 0;
};

struct AudioEntry {
    std::string file;
    RefTime duration = 0;
    RefTime startTime = 0;
    double volume = 1.0;
    double speed = 1.0;
    bool repeat = false;
};

// The cache folder for generated inputs and outputs: bench-media in the build folder of this
// executable (build/<preset>/bench/NAME -> build/<preset>/bench-media).
inline std::filesystem::path mediaFolder() {
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    std::filesystem::path folder = executable.parent_path().parent_path() / "bench-media";
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string quote(const std::string& text) {
    std::string quoted = "'";
    for (char character : text) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
}

// Runs the ffmpeg tool to make `path` unless it exists already.
inline void makeOnce(const std::string& path, const std::string& arguments) {
    if (std::filesystem::exists(path)) {
        return;
    }
    const std::string partial = path + ".part.avi";
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments +
                                " -f " +
                                (path.ends_with(".mp3")   ? "mp3"
                                 : path.ends_with(".wav") ? "wav"
                                                          : "avi") +
                                " " + quote(partial);
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not make %s\n", path.c_str());
        std::exit(1);
    }
    std::filesystem::rename(partial, path);
}

// A clip with moving picture (test pattern, hue turned per clip) and a tone, MPEG-4 + MP3.
inline std::string makeClip(const std::filesystem::path& folder, const std::string& name,
                            double seconds, int width, int height, int index) {
    const std::string path = (folder / name).string();
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    makeOnce(path, "-f lavfi -i " +
                       quote("testsrc2=s=" + size + ":r=25:d=" + std::to_string(seconds) +
                             ",hue=h=" + std::to_string(index * 47)) +
                       " -f lavfi -i " +
                       quote("sine=f=" + std::to_string(300 + 70 * index) +
                             ":sample_rate=44100:d=" + std::to_string(seconds)) +
                       " -ac 2 -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k -shortest");
    return path;
}

// The video placement rules of the mixer: clip i overlaps the previous one by the previous
// clip's transition length; every stop is cut at the total length; each clip's transition
// lies at its head.
inline editing::GroupModel placeVideo(const std::vector<VideoEntry>& entries, RefTime total) {
    editing::GroupModel group;
    group.mediaType.kind = editing::MediaKind::Video;
    group.mediaType.width = kOutputWidth;
    group.mediaType.height = kOutputHeight;
    group.outputFramesPerSecond = kOutputFramesPerSecond;
    if (entries.empty()) {
        return group;
    }
    RefTime cursor = -(entries[0].transitionDuration / 2);
    for (const VideoEntry& entry : entries) {
        const RefTime end = cursor + entry.duration + entry.transitionDuration;
        const RefTime start = std::max<RefTime>(cursor, 0);
        const RefTime stop = std::min(end, total);
        editing::TrackModel track;
        track.sources.push_back(editing::SourceModel{entry.file, start, stop, 0, stop - start,
                                                     editing::StretchMode::PreserveAspectRatio});
        if ((stop - start) - entry.transitionDuration >= 0) {
            editing::TransitionModel transition;
            transition.kind = entry.transition;
            transition.start = start;
            transition.stop = std::min(start + entry.transitionDuration, total);
            if (entry.maskNumber > 0) {
                // A fixed, valid property: it cannot be refused.
                static_cast<void>(transition.properties.addProperty(
                    "MaskNum", {editing::PropertyPoint{0, std::int32_t{entry.maskNumber},
                                                       editing::Interpolation::Jump}}));
            }
            track.transitions.push_back(transition);
        }
        group.tracks.push_back(std::move(track));
        cursor = stop - entry.transitionDuration;
    }
    return group;
}

// The audio placement rules: one placement at the start, then with Repeat a copy every
// Duration of output time while a copy begins at or before the total length.
inline editing::GroupModel placeAudio(const std::vector<AudioEntry>& entries, RefTime total) {
    editing::GroupModel group;
    group.mediaType.kind = editing::MediaKind::Audio;
    auto place = [&](const AudioEntry& entry, RefTime start, RefTime end) {
        const RefTime mediaLength = end - start;
        const RefTime stop =
            start + static_cast<RefTime>(static_cast<double>(mediaLength) / entry.speed);
        editing::TrackModel track;
        track.sources.push_back(editing::SourceModel{entry.file, start, stop, 0, mediaLength,
                                                     editing::StretchMode::Stretch});
        editing::EffectModel volume;
        volume.start = start;
        volume.stop = stop;
        // A fixed, valid property: it cannot be refused.
        static_cast<void>(volume.properties.addProperty(
            "Vol", {editing::PropertyPoint{0, entry.volume, editing::Interpolation::Jump}}));
        track.effects.push_back(volume);
        group.tracks.push_back(std::move(track));
    };
    for (const AudioEntry& entry : entries) {
        const RefTime start = entry.startTime;
        const RefTime end = std::min(start + entry.duration, total);
        place(entry, start, end);
        if (entry.repeat) {
            for (RefTime copy = start + entry.duration, copyEnd = end + entry.duration;
                 copy <= total; copy += entry.duration, copyEnd += entry.duration) {
                place(entry, copy, copyEnd);
            }
        }
    }
    return group;
}

// The 30 s music of W1 (MP3), made once in `folder`; returns its path.
inline std::string makeW1Music(const std::filesystem::path& folder) {
    const std::string music = (folder / "w1_music.mp3").string();
    makeOnce(
        music,
        "-f lavfi -i " +
            quote("aevalsrc=0.4*sin(2*PI*220*t)+0.2*sin(2*PI*331*t)*sin(2*PI*0.5*t):s=44100:d=30") +
            " -ac 2 -c:a libmp3lame -b:a 160k");
    return music;
}

struct Workload {
    std::vector<VideoEntry> videos;
    std::vector<AudioEntry> audios;
    RefTime total = 0;
    editing::TimelineModel timeline;
};

// Sums the clip lengths into `total` and lays the time line out by the mixer's rules.
inline void layOut(Workload& work) {
    for (const VideoEntry& video : work.videos) {
        work.total += video.duration;
    }
    work.timeline.groups = {placeVideo(work.videos, work.total),
                            placeAudio(work.audios, work.total)};
}

// W1: five 10 s 640 x 480 clips with sound and 1 s transitions, their own sound as audio
// entries, and the 30 s music at volume 0.5 repeated under them (the last audio entry).
inline Workload makeW1(const std::filesystem::path& folder) {
    Workload work;
    const editing::TransitionKind kinds[] = {
        editing::TransitionKind::SmpteWipe, editing::TransitionKind::Fade,
        editing::TransitionKind::Iris, editing::TransitionKind::Slide,
        editing::TransitionKind::Fade};
    for (int index = 0; index < 5; ++index) {
        const std::string file =
            makeClip(folder, "w1_clip" + std::to_string(index) + ".avi", 10.0, 640, 480, index);
        work.videos.push_back({file, 10 * kSecond, kSecond, kinds[index], index == 0 ? 1 : 0});
        work.audios.push_back({file, 10 * kSecond, 10 * kSecond * index, 1.0, 1.0, false});
    }
    const std::string music = makeW1Music(folder);
    work.audios.push_back({music, 30 * kSecond, 0, 0.5, 1.0, true});
    layOut(work);
    return work;
}

struct Measurement {
    double seconds = 0.0;
    double peakMegabytes = 0.0;
    bool ok = false;
};

// Runs `work` in a child process; wall time and the child's peak resident memory.
template <typename Work>
Measurement inChild(Work work) {
    std::fflush(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Measurement measurement;
    measurement.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    measurement.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    measurement.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return measurement;
}

// Our render: MPEG-4 Part 2 with the registry's default settings, PCM sound.
inline bool renderWithEngine(const editing::TimelineModel& timeline, const std::string& output) {
    const editing::CompressorRegistry registry = editing::CompressorRegistry::discover();
    const auto position = registry.defaultVideoPosition();
    if (!position) {
        std::fprintf(stderr, "no MPEG-4 Part 2 encoder\n");
        return false;
    }
    std::mutex mutex;
    std::condition_variable signalled;
    editing::RenderEngine engine;
    engine.setEventNotifier([&] {
        std::lock_guard lock(mutex);
        signalled.notify_all();
    });
    const editing::Result started =
        engine.start(timeline, {output, registry.videoAt(*position), std::nullopt});
    if (editing::failed(started)) {
        std::fprintf(stderr, "render did not start: %s %s\n",
                     editing::describeResult(started).c_str(),
                     engine.lastErrorDescription().c_str());
        return false;
    }
    bool ok = false;
    for (bool ended = false; !ended;) {
        {
            std::unique_lock lock(mutex);
            signalled.wait_for(lock, std::chrono::milliseconds(200));
        }
        for (const editing::RenderEvent& event : engine.takeEvents()) {
            if (event.kind == editing::RenderEventKind::Complete) {
                ended = ok = true;
            } else {
                std::fprintf(stderr, "render: %s\n", event.description.c_str());
                ended = ended || event.endsRender;
            }
        }
    }
    engine.stop();
    return ok;
}

inline bool runTool(const std::string& arguments) {
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments;
    return std::system(command.c_str()) == 0;
}

inline std::int64_t frameCount(RefTime length) {
    std::int64_t frames = 0;
    while (editing::frameStartRefTime(frames, kOutputFramesPerSecond) < length) {
        ++frames;
    }
    return frames;
}

inline void printMeasurement(const char* label, const Measurement& measurement,
                             std::int64_t frames) {
    std::printf("%-16s %8.2f s  %8.1f frames/s  peak %7.1f MB%s\n", label, measurement.seconds,
                static_cast<double>(frames) / measurement.seconds, measurement.peakMegabytes,
                measurement.ok ? "" : "  (FAILED)");
}

}  // namespace bench
