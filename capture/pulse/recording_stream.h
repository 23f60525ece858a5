#pragma once

// Private to capture/: the record stream behind a RecordingSession and the peak stream behind
// a LevelMeter.

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "capture/pulse/pulse_connection.h"
#include "capture/sample_writer_thread.h"
#include "capture/wav_writer.h"

namespace capture::pulse {

// Whether the server delivers samples to a recording stream (uncorked) or holds them (corked).
enum class SampleFlow { Delivering, Held };

// Threads: the public methods run on the connection's owner thread and take the mainloop lock;
// the callbacks (onRead, onState) run on the server thread, which holds it. Every member below
// the connection is guarded by that lock, except format_, path_ and deviceName_ (set by open(),
// read-only afterwards).

class RecordingStream {
  public:
    // Connects a corked record stream to `source`; null with `error` on failure.
    [[nodiscard]] static std::unique_ptr<RecordingStream> open(
        std::shared_ptr<PulseConnection> connection, const SourceDetails& source,
        std::unique_ptr<SampleFileWriter> writer, const std::string& path, CaptureResult& result);
    ~RecordingStream();

    // Held also writes out what had arrived and brings the WAV header up to date. Fails
    // (DeviceGone) when the stream is stopped or gone, or when the server refuses.
    CaptureResult setFlow(SampleFlow flow);
    // Writes out what arrived, completes the file and ends the stream; idempotent. The take's
    // outcome: success, or the first failed write (the file still plays up to it).
    CaptureResult stop();
    bool isStopped() const;
    AudioFormat format() const;
    std::uint64_t framesWritten() const;
    std::uint64_t lostFrames() const;
    bool deviceLost() const;
    CaptureResult writeFailure() const;
    const std::string& path() const { return path_; }

  private:
    RecordingStream() = default;
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    static void onState(pa_stream* stream, void* self);
    void drain();

    std::shared_ptr<PulseConnection> connection_;
    StreamHandle stream_;
    // Owns the file; takes the samples without waiting for the disk. Thread-safe itself; set by
    // open() and released only by the destructor.
    std::unique_ptr<SampleWriterThread> writer_;
    std::string path_;
    std::string deviceName_;
    AudioFormat format_;
    std::uint64_t lostBytes_ = 0;
    bool deviceLost_ = false;
    bool stopped_ = false;
    CaptureResult writeFailure_;  // the first failed write; the take ends with it
};

class PeakStream {
  public:
    [[nodiscard]] static std::unique_ptr<PeakStream> open(
        std::shared_ptr<PulseConnection> connection, const SourceDetails& source);
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
