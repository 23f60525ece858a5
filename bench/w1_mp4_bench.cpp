// W1 rendered to MP4: the W1 time line (see w1_workload.h) with H.264 (x264 preset veryfast,
// CRF 23), AAC at 192 kbit/s and the index in front (faststart), by our engine and by the
// ffmpeg tool with the same settings, each in a child process. Prints time, frames per second
// and peak memory of both. Last line: "w1-mp4: <our seconds / ffmpeg seconds> x ffmpeg".

#include "bench/w1_workload.h"

int main() {
    using namespace bench;
    const std::filesystem::path mediaPath = mediaFolder();
    const Workload work = makeW1(mediaPath);
    const std::string music = makeW1Music(mediaPath);
    const std::int64_t frames = frameCount(work.timeline.duration());
    const std::string ours = (mediaPath / "w1_ours.mp4").string();
    const std::string theirs = (mediaPath / "w1_ffmpeg.mp4").string();
    std::printf("w1-mp4: W1 to MP4, H.264 veryfast CRF 23 + AAC 192 kbit/s, faststart\n");
    const Measurement engine = inChild([&] { return renderWithEngine(work.timeline, ours); });
    const Measurement tool = inChild([&] {
        return runTool(w1ToolArguments(work, music) +
                       " -c:v libx264 -preset veryfast -crf 23 -g 250 -c:a aac -b:a 192k -ar 44100"
                       " -ac 2 -movflags +faststart -f mp4 " +
                       quote(theirs));
    });
    printMeasurement("w1-mp4 ours", engine, frames);
    printMeasurement("w1-mp4 ffmpeg", tool, frames);
    std::printf("w1-mp4: %.2f x ffmpeg\n", engine.seconds / tool.seconds);
    return engine.ok && tool.ok ? 0 : 1;
}
