#pragma once

// Private to capture/: the record stream behind a RecordingSession and the peak stream behind
// a LevelMeter.

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "capture/pulse/pulse_connection.h"
#include "capture/wav_writer.h"

namespace capture::pulse {

// Every member below the connection is guarded by the mainloop lock: the read callback runs on
// the mainloop thread, every public method takes the lock.
// Whether the server delivers samples to a recording stream (uncorked) or holds them (corked).
enum class SampleFlow { Delivering, Held };

class RecordingStream {
  public:
    // Connects a corked record stream to `source`; null with `error` on failure.
    static std::unique_ptr<RecordingStream> open(std::shared_ptr<PulseConnection> connection,
                                                 const SourceDetails& source,
                                                 std::unique_ptr<WavWriter> writer,
                                                 const std::string& path, std::string& error);
    ~RecordingStream();

    // Held also writes out what had arrived and brings the WAV header up to date. False with
    // `error` when the stream is stopped or gone, or the server refuses.
    bool setFlow(SampleFlow flow, std::string& error);
    bool stop();
    bool isStopped() const;
    AudioFormat format() const;
    std::uint64_t framesWritten() const;
    std::uint64_t lostFrames() const;
    bool deviceLost() const;
    std::string writeError() const;
    const std::string& path() const { return path_; }

  private:
    RecordingStream() = default;
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    static void onState(pa_stream* stream, void* self);
    void drain();

    std::shared_ptr<PulseConnection> connection_;
    StreamHandle stream_;
    std::unique_ptr<WavWriter> writer_;
    std::string path_;
    AudioFormat format_;
    std::uint64_t lostBytes_ = 0;
    bool deviceLost_ = false;
    bool stopped_ = false;
    bool finishedCleanly_ = true;
    std::string writeError_;
};

class PeakStream {
  public:
    static std::unique_ptr<PeakStream> open(std::shared_ptr<PulseConnection> connection,
                                            const SourceDetails& source);
    ~PeakStream();
    double takePeak();

  private:
    PeakStream() = default;
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);

    std::shared_ptr<PulseConnection> connection_;
    StreamHandle stream_;
    std::atomic<float> peak_{0.0f};
};

}  // namespace capture::pulse
