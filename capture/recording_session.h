#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "capture/audio_format.h"
#include "capture/capture_result.h"

namespace capture {

namespace pulse {
class RecordingStream;
}

// One recording from one capture device into one WAV file: a record stream of the sound server
// in the source's own format, rate and channels, feeding a WavWriter. Created corked (nothing
// recorded) by AudioServer::openRecording. Pause corks the stream and resume uncorks it, so the
// file continues sample for sample: nothing is dropped or inserted at the seam.
//
// Threading: call from one thread (the window's). Samples are written on the sound server's
// thread; the file is playable at any moment with at most the last second missing. A failed
// write is announced at once as a DeviceEventKind::RecordingFailed event of the server.
class RecordingSession {
  public:
    explicit RecordingSession(std::unique_ptr<pulse::RecordingStream> stream);
    ~RecordingSession();  // stops and completes the file
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // Starts or resumes capture; DeviceGone when the device went, ServerRefused when the
    // server refuses.
    CaptureResult run();
    // Stops capture without ending the file; the header is brought up to date. A device that
    // is gone is paused already, so this cannot fail in a way that matters.
    void pause();
    // Takes what the server has already delivered, completes the file and ends the stream.
    // Idempotent. The take's outcome: success, or the first failed write (DiskFull,
    // WriteFailed); the file then still plays up to that point.
    CaptureResult stop();

    bool isStopped() const;
    AudioFormat format() const;
    std::uint64_t framesWritten() const;
    // Frames the server reports lost before they reached us (overflows); never inserted.
    std::uint64_t lostFrames() const;
    // The device went away during the recording; what arrived before is in the file.
    bool deviceLost() const;
    // The first failed write of this take (success while none happened).
    CaptureResult writeFailure() const;
    const std::string& path() const;

  private:
    std::unique_ptr<pulse::RecordingStream> stream_;
};

}  // namespace capture
