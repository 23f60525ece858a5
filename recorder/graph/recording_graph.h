#pragma once

#include <memory>
#include <optional>
#include <string>

#include "capture/audio_server.h"

namespace recorder {

// The recorder's capture graph: what lives from opening a device to releasing the graph, and
// ends together: the opened capture device (the "Audio Capture" filter) with its level meter
// and, from Record to Stop, the writer of the current recording (the WAV Dest and File Writer
// pair). Dropping the graph completes a take still being written. The sound-server connection
// it uses belongs to the RecordingController and outlives the graph, so that a device's return
// is still noticed after its removal released the graph.
// Window thread only.
class RecordingGraph {
  public:
    explicit RecordingGraph(capture::AudioServer& server) : server_(server) {}
    ~RecordingGraph();  // a writer still present completes its file
    RecordingGraph(const RecordingGraph&) = delete;
    RecordingGraph& operator=(const RecordingGraph&) = delete;

    // Adds the device as the graph's capture source (one at a time).
    void addCaptureDevice(const capture::CaptureDevice& device);
    const std::optional<capture::CaptureDevice>& captureDevice() const { return captureDevice_; }

    // Prepares a recording of the capture device into `path` (created or truncated), not yet
    // running. Fails (DeviceGone without a capture device, else AudioServer::openRecording's
    // codes) when the file or the stream cannot be made; nothing is left behind then.
    capture::CaptureResult addWriter(const std::string& path);
    bool hasWriter() const { return writer_ != nullptr; }
    capture::RecordingSession* writer() const { return writer_.get(); }

    // Run starts or resumes the recording; pause holds it; stopWhenReady takes what has been
    // captured and completes the file. Each is a no-op without a writer (run then fails).
    capture::CaptureResult run();
    void pause();
    // Success when the file was written completely, else the first failed write (the file
    // still plays up to it).
    capture::CaptureResult stopWhenReady();
    // Drops the writer (completing its file if it was not stopped).
    void removeWriter();

    // The live input level of the capture device, 0.0 - 1.0; 0 without one.
    double takePeakLevel();

  private:
    capture::AudioServer& server_;
    std::optional<capture::CaptureDevice> captureDevice_;
    std::unique_ptr<capture::RecordingSession> writer_;
    std::unique_ptr<capture::LevelMeter> levelMeter_;
};

}  // namespace recorder
