// W2: 1000 clips of 0.5 s (640 x 480 MPEG-4, 0.5 s of MP3 sound each; ten distinct files
// used in turn), their own sound as 1000 audio entries, and a 1 s tone repeated under the
// whole video (501 copies): about 2,500 tracks. Output as W1 (352 x 240, 23.976 fps,
// MPEG-4 Part 2 + PCM). Renders with our engine and with the ffmpeg tool (concat demuxer,
// scale + pad, looped tone, amix), each in a child process, and renders W1 with our engine in
// the same run. Last line: "w2: <W2 peak memory / W1 peak memory> x w1".

#include "bench/render_workload.h"

#include <fstream>
#include <sstream>

namespace {

using namespace bench;

constexpr int kClips = 1000;
constexpr int kDistinctFiles = 10;

struct W2 {
    Workload work;
    std::vector<std::string> files;
    std::string tone;
};

W2 makeW2(const std::filesystem::path& folder) {
    W2 w2;
    for (int index = 0; index < kDistinctFiles; ++index) {
        w2.files.push_back(
            makeClip(folder, "w2_clip" + std::to_string(index) + ".avi", 0.5, 640, 480, index));
    }
    for (int index = 0; index < kClips; ++index) {
        const std::string& file = w2.files[static_cast<std::size_t>(index % kDistinctFiles)];
        // No transition time: the clips follow each other (each still gets its zero-length
        // transition, as the mixer places them).
        w2.work.videos.push_back({file, kSecond / 2, 0, editing::TransitionKind::Fade, 0});
        w2.work.audios.push_back({file, kSecond / 2, index * (kSecond / 2), 1.0, 1.0, false});
    }
    w2.tone = (folder / "w2_tone.wav").string();
    makeOnce(w2.tone, "-f lavfi -i " + quote("sine=f=523:sample_rate=44100:d=1") + " -ac 2");
    w2.work.audios.push_back({w2.tone, kSecond, 0, 0.5, 1.0, true});
    layOut(w2.work);
    return w2;
}

std::string ffmpegArguments(const W2& w2, const std::filesystem::path& folder,
                            const std::string& output, double lengthSeconds) {
    const std::string list = (folder / "w2_concat.txt").string();
    std::ofstream file(list);
    for (const VideoEntry& video : w2.work.videos) {
        file << "file " << quote(video.file) << "\n";
    }
    std::ostringstream arguments;
    arguments << "-f concat -safe 0 -i " << quote(list) << " -stream_loop -1 -i " << quote(w2.tone)
              << " -filter_complex \"[0:v]scale=352:240:force_original_aspect_ratio=decrease,"
              << "pad=352:240:(ow-iw)/2:(oh-ih)/2,setsar=1,fps=23.976,format=yuv420p,"
              << "tpad=stop_duration=1:color=black[vout];[1:a]volume=0.5[tone];"
              << "[0:a][tone]amix=inputs=2:normalize=0:duration=longest[aout]\""
              << " -map [vout] -map [aout] -t " << lengthSeconds
              << " -c:v mpeg4 -q:v 3 -g 250 -c:a pcm_s16le -ar 44100 -ac 2 -f avi "
              << quote(output);
    return arguments.str();
}

std::size_t trackCount(const editing::TimelineModel& timeline) {
    std::size_t tracks = 0;
    for (const editing::GroupModel& group : timeline.groups) {
        tracks += group.tracks.size();
    }
    return tracks;
}

}  // namespace

int main() {
    const std::filesystem::path folder = mediaFolder();
    const Workload w1 = makeW1(folder);
    const W2 w2 = makeW2(folder);
    const RefTime length = w2.work.timeline.duration();
    const std::int64_t frames = frameCount(length);
    std::printf(
        "w2: %d clips of 0.5 s 640x480 with sound, 1 s tone repeated; %zu tracks; output "
        "%.1f s, %lld frames of %dx%d at %.3f fps\n",
        kClips, trackCount(w2.work.timeline), static_cast<double>(length) / kSecond,
        static_cast<long long>(frames), kOutputWidth, kOutputHeight, kOutputFramesPerSecond);
    const Measurement w1Engine =
        inChild([&] { return renderWithEngine(w1.timeline, (folder / "w1_ours.avi").string()); });
    const Measurement engine = inChild(
        [&] { return renderWithEngine(w2.work.timeline, (folder / "w2_ours.avi").string()); });
    const Measurement tool = inChild([&] {
        return runTool(ffmpegArguments(w2, folder, (folder / "w2_ffmpeg.avi").string(),
                                       static_cast<double>(length) / kSecond));
    });
    printMeasurement("w1 ours", w1Engine, frameCount(w1.timeline.duration()));
    printMeasurement("w2 ours", engine, frames);
    printMeasurement("w2 ffmpeg", tool, frames);
    std::printf("w2 time: %.2f x ffmpeg\n", engine.seconds / tool.seconds);
    std::printf("w2: %.2f x w1\n", engine.peakMegabytes / w1Engine.peakMegabytes);
    return engine.ok && tool.ok && w1Engine.ok ? 0 : 1;
}
