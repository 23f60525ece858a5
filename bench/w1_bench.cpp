// W1: five 10 s 640 x 480 MPEG-4 clips with MP3 sound, 1 s transitions, their own sound as
// audio entries, and a 30 s MP3 at volume 0.5 repeated under them; output 352 x 240 at
// 23.976 fps, MPEG-4 Part 2 + PCM. Renders with our engine and with the ffmpeg tool doing the
// same work (scale + pad, xfade, adelay + amix + volume) on the same inputs, each in a child
// process, and prints time, frames per second and peak memory of both. Last line:
// "w1: <our seconds / ffmpeg seconds> x ffmpeg".

#include "bench/render_workload.h"

#include <sstream>

namespace {

using namespace bench;

// The same work for the ffmpeg tool: every clip fitted (scale + pad) and held 0.5 / 1 s past
// its end like our sources, chained with xfade at the clips' overlaps, padded black to the
// length of the sound; each clip's sound delayed to its start and two copies of the music at
// half volume, mixed without normalisation.
std::string ffmpegArguments(const Workload& work, const std::string& music,
                            const std::string& output) {
    std::ostringstream arguments;
    for (const VideoEntry& video : work.videos) {
        arguments << "-i " << quote(video.file) << " ";
    }
    arguments << "-i " << quote(music) << " -filter_complex \"";
    const double holds[] = {0.5, 1.0, 1.0, 1.0, 0.5};
    for (int index = 0; index < 5; ++index) {
        arguments << "[" << index << ":v]scale=352:240:force_original_aspect_ratio=decrease,"
                  << "pad=352:240:(ow-iw)/2:(oh-ih)/2,setsar=1,fps=23.976,format=yuv420p,"
                  << "tpad=stop_mode=clone:stop_duration=" << holds[index]
                  << (index == 0 ? ",fade=t=in:d=1" : "") << ",settb=AVTB[v" << index << "];";
    }
    const char* transitions[] = {"", "fade", "circleopen", "slideleft", "fade"};
    std::string previous = "v0";
    double length = 10.5;
    for (int index = 1; index < 5; ++index) {
        const std::string next = "x" + std::to_string(index);
        arguments << "[" << previous << "][v" << index << "]xfade=transition=" << transitions[index]
                  << ":duration=1:offset=" << (length - 1.0) << "[" << next << "];";
        length += (index == 4 ? 10.5 : 11.0) - 1.0;
        previous = next;
    }
    arguments << "[" << previous << "]tpad=stop_duration=10:color=black[vout];";
    for (int index = 0; index < 5; ++index) {
        arguments << "[" << index << ":a]adelay=" << index * 10000 << "|" << index * 10000 << "[a"
                  << index << "];";
    }
    arguments << "[5:a]volume=0.5,asplit=2[m0][m1];[m1]adelay=30000|30000[m1d];";
    arguments << "[a0][a1][a2][a3][a4][m0][m1d]amix=inputs=7:normalize=0:duration=longest[aout]\"";
    arguments << " -map [vout] -map [aout] -t 60 -c:v mpeg4 -q:v 3 -g 250 -c:a pcm_s16le -ar 44100"
              << " -ac 2 -f avi " << quote(output);
    return arguments.str();
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
