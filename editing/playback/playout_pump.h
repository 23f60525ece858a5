#pragma once

#include "editing/core/picture.h"
#include "editing/playback/playback_timing.h"
#include "editing/playback/source_failure.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace editing {

class AudioGroupMixer;
class VideoGroupRenderer;

// A run of units of one stream: one frame of a picture stream, or a block of sample frames of a
// sound stream. Chunks are made once (makePlayoutChunk) and passed round between the pump and
// whoever takes its output, so a running pump allocates nothing.
struct PlayoutChunk {
    std::unique_ptr<Picture> picture;   // picture streams: the stream's frame size
    std::vector<std::int16_t> samples;  // sound streams: interleaved 16-bit stereo sample frames
    std::int64_t firstUnit = 0;         // the frame index, or the first sample frame
    int unitCount = 0;                  // 1 for a frame; the sample frames in `samples`
};

// An empty chunk for `stream`: a picture of its group's frame size, or room for `blockUnits`
// sample frames.
PlayoutChunk makePlayoutChunk(const PlayoutStream& stream, int blockUnits);

// How a pump run ended.
enum class PumpEnd {
    Finished,     // every unit from the first on was handed on
    Interrupted,  // the stop flag was set, no chunk could be taken, or one was refused
};

// The one loop that turns a stream of a time-line snapshot into timed output, so that the
// render (which hands the chunks to the encoders) and the preview (to the screen and the sound
// server) make the same frames and samples at the same times: each frame of a picture stream
// through the group renderer (the fixed transition seed), each block of a sound stream through
// the group mixer, in unit order, under the playout rule of playback_timing.h.
//
// Threading: one thread runs a pump; the take / give / skip functions are called on it. The
// stream's group (and its time line) must outlive the pump; source failures are reported
// through `reporter` on the running thread, and the pump goes on with black or silence.
class PlayoutPump {
  public:
    // An empty chunk to fill; nothing ends the run.
    using TakeChunk = std::function<std::optional<PlayoutChunk>()>;
    // Hands a filled chunk on; false ends the run.
    using GiveChunk = std::function<bool(PlayoutChunk&& chunk)>;
    // Whether a unit need not be made at all (a preview frame that would be shown late); a
    // skipped unit is neither taken, made nor given.
    using SkipUnit = std::function<bool(std::int64_t unit)>;

    PlayoutPump(const PlayoutStream& stream, SourceFailureReporter reporter);
    ~PlayoutPump();
    PlayoutPump(const PlayoutPump&) = delete;
    PlayoutPump& operator=(const PlayoutPump&) = delete;

    // Makes the units from `firstUnit` to the end of the stream, a frame or at most `blockUnits`
    // sample frames a chunk, and gives each chunk on as soon as it is made. Checks `stop` before
    // each chunk. Later runs must start at or after the units made already.
    PumpEnd run(std::int64_t firstUnit, int blockUnits, const TakeChunk& take,
                const GiveChunk& give, const std::atomic<bool>& stop,
                const SkipUnit& skip = nullptr);

  private:
    void make(std::int64_t firstUnit, int units, PlayoutChunk& chunk);

    PlayoutStream stream_;
    std::unique_ptr<VideoGroupRenderer> renderer_;  // picture streams
    std::unique_ptr<AudioGroupMixer> mixer_;        // sound streams with a group
};

}  // namespace editing
