// W1: five 10 s 640 x 480 MPEG-4 clips with MP3 sound, 1 s transitions, their own sound as
// audio entries, and a 30 s MP3 at volume 0.5 repeated under them; output 352 x 240 at
// 23.976 fps, MPEG-4 Part 2 + PCM. Renders with our engine and with the ffmpeg tool doing the
// same work (scale + pad, xfade, adelay + amix + volume) on the same inputs, each in a child
// process, and prints time, frames per second and peak memory of both. Last line:
// "w1: <our seconds / ffmpeg seconds> x ffmpeg".

#include "bench/w1_workload.h"

namespace {

using namespace bench;

std::string ffmpegArguments(const Workload& work, const std::string& music,
                            const std::string& output) {
    return w1ToolArguments(work, music) +
           " -c:v mpeg4 -q:v 3 -g 250 -c:a pcm_s16le -ar 44100 -ac 2 -f avi " + quote(output);
}
}  // namespace

int main() {
    const std::filesystem::path mediaPath = mediaFolder();
    const Workload work = makeW1(mediaPath);
    const std::string music = makeW1Music(mediaPath);
    const RefTime length = work.timeline.duration();
    const std::int64_t frames = frameCount(length);
    const std::string folder = mediaPath.string();
    std::printf(
        "w1: 5 clips of 10 s 640x480, 1 s transitions, 30 s music repeated; output %.1f s, "
        "%lld frames of %dx%d at %.3f fps\n",
        static_cast<double>(length) / kSecond, static_cast<long long>(frames), kOutputWidth,
        kOutputHeight, kOutputFramesPerSecond);
    const std::string ours = folder + "/w1_ours.avi";
    const std::string theirs = folder + "/w1_ffmpeg.avi";
    const Measurement engine = inChild([&] { return renderWithEngine(work.timeline, ours); });
    const Measurement tool = inChild([&] { return runTool(ffmpegArguments(work, music, theirs)); });
    printMeasurement("w1 ours", engine, frames);
    printMeasurement("w1 ffmpeg", tool, frames);
    std::printf("w1: %.2f x ffmpeg\n", engine.seconds / tool.seconds);
    return engine.ok && tool.ok ? 0 : 1;
}
