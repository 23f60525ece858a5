#pragma once

// W1 for both of its benchmarks (w1, w1-mp4): five 10 s 640 x 480 MPEG-4 clips with MP3 sound,
// 1 s transitions, their own sound as audio entries, and a 30 s MP3 at volume 0.5 repeated under
// them; output 352 x 240 at 23.976 fps. The time line comes from makeW1 (render_workload.h);
// this is the same work for the ffmpeg tool.

#include "bench/render_workload.h"

#include <sstream>

namespace bench {

// The same work for the ffmpeg tool: every clip fitted (scale + pad) and held 0.5 / 1 s past
// its end like our sources, chained with xfade at the clips' overlaps, padded black to the
// length of the sound; each clip's sound delayed to its start and two copies of the music at
// half volume, mixed without normalisation. Inputs and filter graph, ending with the outputs [vout]
// and [aout] mapped and cut to 60 s; the caller adds the codecs and the output file.
inline std::string w1ToolArguments(const Workload& work, const std::string& music) {
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
    arguments << " -map [vout] -map [aout] -t 60";
    return arguments.str();
}

}  // namespace bench
