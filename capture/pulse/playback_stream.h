#pragma once

// Private to capture/: the playback stream behind a SoundPlayback.

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "capture/pulse/pulse_connection.h"

namespace capture::pulse {

// One playback stream of interleaved signed 16-bit samples on the default output, with
// timing kept up to date by the server (interpolated in between), so the time of the sound
// being heard can be read at any moment.
//
// Every member is guarded by the mainloop lock: the callbacks run on the mainloop thread and
// every public method takes the lock. stop() may be called while another thread waits in
// write(): that write returns false.
class PlaybackStream {
  public:
    // Connects a stream of `sampleRate` x `channels`; the server holds about `latency` of
    // sound ahead of what is heard. Null with `error` on failure.
    static std::unique_ptr<PlaybackStream> open(std::shared_ptr<PulseConnection> connection,
                                                int sampleRate, int channels,
                                                std::chrono::milliseconds latency,
                                                std::string& error);
    ~PlaybackStream();
    PlaybackStream(const PlaybackStream&) = delete;
    PlaybackStream& operator=(const PlaybackStream&) = delete;

    // Queues `frames` frames, waiting while the server's buffer is full. False once stopped,
    // or when the stream broke or the server stopped answering.
    [[nodiscard]] bool write(const std::int16_t* samples, int frames);
    // Starts playing what is queued even when it is less than the server waits for.
    void trigger();
    // Microseconds of sound heard since the first sample (0 before the first timing answer).
    std::int64_t heardMicroseconds();
    // Drops what is queued and refuses further writes.
    void stop();

  private:
    PlaybackStream() = default;
    static void onState(pa_stream* stream, void* self);
    static void onWritable(pa_stream* stream, std::size_t bytes, void* self);

    std::shared_ptr<PulseConnection> connection_;
    StreamHandle stream_;
    std::size_t frameBytes_ = 4;
    bool stopped_ = false;
    std::int64_t lastHeardMicroseconds_ = 0;
};

}  // namespace capture::pulse
