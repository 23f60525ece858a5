#pragma once

#include "editing/compressors/compressor_registry.h"
#include "editing/core/ref_time.h"
#include "editing/core/result.h"
#include "editing/timeline/timeline_model.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace editing {

struct RenderOutputSettings {
    // An existing file is overwritten. Its extension chooses the container (see
    // containerForFileName): ".mp4" MP4, ".mkv" Matroska ... (the table's extensions), any
    // other AVI.
    std::string outputFileName;
    // None: uncompressed 24-bit RGB frames (bottom-up DIBs). The frame size comes from the
    // video group's media type, the rate from its output frames per second.
    std::optional<Compressor> videoCompressor;
    // None: 16-bit PCM, 44,100 Hz stereo (the audio group's format).
    std::optional<Compressor> audioCompressor;
};

enum class RenderEventKind {
    Complete,  // the whole time line has been written and the file is closed
    Error,     // something failed; `endsRender` says whether the render stopped because of it
    // The file was finished and plays, but not in every way asked for (an MP4 whose index
    // could not be moved to the front); `description` says so for the user.
    Notice,
};

struct RenderEvent {
    RenderEventKind kind = RenderEventKind::Complete;
    Result result = kOk;
    std::string description;  // readable text for the user
    bool endsRender = false;  // Error only: the workers stopped; call stop() to finish up
    // Error that lets the render go on: the source file that could not be read (its span is
    // black or silent). Empty for a failure to write the output.
    std::string sourceFileName;
};

// Renders a TimelineModel into one AVI, MP4 or Matroska file on worker threads: one producer per
// group (decode, fit, composite, transitions; or decode, resample, mix) and one encode / mux stage,
// joined by bounded queues. Streams are written in group order; an audio group without
// tracks writes no stream.
//
// Threading: start(), stop(), takeEvents() and the progress reads are called from one
// thread (the window's). The notifier is called on a worker thread each time an event is
// queued; it must only post a message (e.g. a queued Qt signal) and return.
//
// Ending: completion and stop() end the same way: encoders are flushed and the trailer and
// index are written, so the file plays up to the point reached. stop() waits for that; a
// second stop() is harmless; destruction stops.
class Picture;

// What the render hands to its encoders, seen just before encoding (for checks and
// diagnostics). Each is called on the producer thread of its stream, must not keep the data
// past the call, and slows the render by what it costs.
struct RenderTaps {
    // Each composed frame of a video group: its output frame index and picture.
    std::function<void(std::int64_t frameIndex, const Picture& picture)> picture;
    // Each mixed block of a sound group: its first sample frame and `frames` interleaved
    // 16-bit stereo sample frames.
    std::function<void(std::int64_t firstSample, const std::int16_t* samples, int frames)> sound;
};

class RenderEngine {
  public:
    RenderEngine();
    ~RenderEngine();
    RenderEngine(const RenderEngine&) = delete;
    RenderEngine& operator=(const RenderEngine&) = delete;

    // Called on a worker thread whenever an event has been queued. Set before start().
    void setEventNotifier(std::function<void()> notifier);

    // Set before start(); kept for later renders.
    void setTaps(RenderTaps taps);

    // Opens the output (overwriting it), sets up the encoders, writes the header and starts the
    // workers; returns at once. A failure is returned (with nothing left running and the
    // partly written file removed); describeResult() explains it, lastErrorDescription()
    // adds details. kErrorRenderBusy while a render runs.
    Result start(TimelineModel timeline, RenderOutputSettings settings);

    // Ends the render early (or cleans up after completion): waits for the workers, flushes
    // the encoders and closes the file. Does nothing when no render has been started.
    void stop();

    // True from a successful start() until stop() (completion alone does not clear it).
    bool isRunning() const;

    // Drains the queued events, oldest first (also those queued before a stop()).
    std::vector<RenderEvent> takeEvents();

    // The output time written so far and the total length (100-ns units). Cheap (atomic
    // reads), for the window's progress display; after stop() they keep the last values.
    RefTime progressRefTime() const;
    RefTime durationRefTime() const;

    // Details of the last failure of start() (empty when none).
    std::string lastErrorDescription() const;

  private:
    // Every member below belongs to the thread that made the engine (the window's), which
    // alone calls start(), stop() and takeEvents() (asserted in debug builds); the workers see
    // only `Running`, whose members say which thread or lock they belong to.
    void assertOwnerThread() const;
    std::thread::id ownerThread_ = std::this_thread::get_id();
    struct Running;
    std::function<void()> notifier_;
    RenderTaps taps_;
    std::unique_ptr<Running> running_;
    std::string lastErrorDescription_;
    // What a stopped render leaves for the window to read.
    std::vector<RenderEvent> pendingEvents_;
    RefTime lastProgressRefTime_ = 0;
    RefTime lastDurationRefTime_ = 0;
};

// The output length of `timeline`: the end of its latest source, transition or effect.
RefTime timelineLengthRefTime(const TimelineModel& timeline);

}  // namespace editing
