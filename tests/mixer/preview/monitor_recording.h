#pragma once

// A recording of the private daemon's null sink monitor that knows, for every recorded
// sample, when it was played on this process's steady clock.

#include <pulse/pulseaudio.h>

#include "capture/pulse/pulse_handles.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace preview_test {

class MonitorRecording {
  public:
    // Starts recording `sourceName` (mono, 16-bit, at `sampleRate`) with 5 ms fragments.
    MonitorRecording(const std::string& sourceName, int sampleRate);
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    bool isRecording() const { return recording_; }
    const std::string& error() const { return error_; }

    // The steady-clock times at which loud stretches (beeps) began, each after at least
    // `quietSeconds` of quiet.
    std::vector<std::chrono::steady_clock::time_point> beepOnsets(double quietSeconds) const;

  private:
    static void onRead(pa_stream* stream, std::size_t bytes, void* self);
    static void onState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);

    capture::pulse::ThreadedMainloopHandle mainloop_;
    capture::pulse::ContextHandle context_;
    capture::pulse::StreamHandle stream_;
    int sampleRate_ = 44100;
    bool recording_ = false;
    std::string error_;
    mutable std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    // For each read: steady clock (microseconds) minus the stream's time (microseconds of
    // recording heard at that moment), so a sample's play time is its position plus this.
    std::vector<std::int64_t> clockOffsetsMicroseconds_;
};

}  // namespace preview_test
