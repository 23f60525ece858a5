#pragma once

#include "capture/annotated_mutex.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace capture {

namespace pulse {
class PulseConnection;
class PlaybackStream;
}  // namespace pulse

// Plays interleaved 16-bit sound through the sound server (PulseAudio, or PipeWire through its
// PulseAudio service) on the default output, one stream at a time, and tells the time of the
// sound being heard: the stream's own clock, the server's and the device's latency taken off.
//
// Threading: start() and the destructor are called from the owner's thread while no other
// call runs; write(), finish() and heardMicroseconds() may come from other threads; stop()
// from any thread, and a write() waiting meanwhile returns false.
class SoundPlayback {
  public:
    // Connects as `applicationName`; null with `error` when no server answers. `latency` is
    // about how much sound the server holds ahead of what is heard.
    static std::unique_ptr<SoundPlayback> connect(
        const std::string& applicationName, std::chrono::milliseconds latency, std::string& error,
        std::chrono::milliseconds answerLimit = std::chrono::seconds(5));
    ~SoundPlayback();
    SoundPlayback(const SoundPlayback&) = delete;
    SoundPlayback& operator=(const SoundPlayback&) = delete;

    // Ends the previous stream (if any) and begins a new one; its clock starts at 0 with its
    // first sample. False with `error` when the server refuses.
    [[nodiscard]] bool start(int sampleRate, int channels, std::string& error);
    // Queues `frames` frames, waiting while the server's buffer is full. False when no stream
    // runs, after stop(), or when the server broke off.
    [[nodiscard]] bool write(const std::int16_t* samples, int frames);
    // No more sound follows: what is queued plays out.
    void finish();
    // Microseconds of the current stream heard so far; never decreases within a stream.
    std::int64_t heardMicroseconds();
    // Silences the current stream at once; it plays nothing more.
    void stop();

  private:
    SoundPlayback(std::shared_ptr<pulse::PulseConnection> connection,
                  std::chrono::milliseconds latency);
    std::shared_ptr<pulse::PulseConnection> connection_;
    std::chrono::milliseconds latency_;
    // Guards the pointer only (start() replaces the stream while no other call runs, but
    // stop() may arrive from anywhere); the stream guards itself.
    Mutex streamMutex_;
    std::shared_ptr<pulse::PlaybackStream> stream_ GUARDED_BY(streamMutex_);

    std::shared_ptr<pulse::PlaybackStream> current();
};

}  // namespace capture
