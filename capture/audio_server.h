#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_device.h"
#include "capture/capture_result.h"
#include "capture/device_event.h"
#include "capture/level_meter.h"
#include "capture/recording_session.h"
#include "capture/wav_writer.h"

namespace capture {

namespace pulse {
class PulseConnection;
}

// One connection to the sound server (PulseAudio, or PipeWire through its PulseAudio service).
// Methods block briefly for the server's answer and belong to one thread, the one that called
// connect() (the window's; asserted in debug builds); device events are produced on the server
// thread, queued, and announced through the notifier.
class AudioServer {
  public:
    // Connects as `applicationName`; null with `result` NoServer when no server answers. No
    // call waits for the server longer than `answerLimit`: a server that stops answering makes
    // the call fail instead of freezing the caller.
    [[nodiscard]] static std::unique_ptr<AudioServer> connect(
        const std::string& applicationName, CaptureResult& result,
        std::chrono::milliseconds answerLimit = std::chrono::seconds(5));
    ~AudioServer();
    AudioServer(const AudioServer&) = delete;
    AudioServer& operator=(const AudioServer&) = delete;

    bool isConnected() const;

    // Capture devices in the server's order (monitors of outputs are left out).
    std::vector<CaptureDevice> listDevices();
    std::optional<CaptureDevice> device(const std::string& deviceName);
    // Makes the port `lineName` the device's active port. A device without ports has one line,
    // itself, which is always active: that succeeds without asking the server.
    CaptureResult setActiveLine(const std::string& deviceName, const std::string& lineName);
    // Sets every channel of the device's volume to `level` (0.0 - 1.0, clamped), rounded up to
    // the server's next volume step, so that reading it back never gives less than `level`.
    CaptureResult setLevel(const std::string& deviceName, double level);

    // Device events concern this device from now on (removal, return, changes); "" for none.
    void watchDevice(const std::string& deviceName);
    // Called on the server thread each time an event is queued. It must only hand the news to
    // the owner's thread (for a window: a queued signal) and never call back into this object.
    // When this returns, the previous notifier is neither running nor called again; the
    // destructor clears it the same way.
    void setEventNotifier(std::function<void()> notifier);
    // Takes the oldest queued event; nullopt when the queue is empty.
    std::optional<DeviceEvent> takeEvent();

    // Prepares a recording of `deviceName` into `path`, corked. Null with `result` on failure
    // (DeviceGone, UnsupportedFormat, FileNotCreated, ServerRefused); no file is left then.
    [[nodiscard]] std::unique_ptr<RecordingSession> openRecording(const std::string& deviceName,
                                                                  const std::string& path,
                                                                  CaptureResult& result,
                                                                  WavWriterOptions options = {});
    // A live level meter on `deviceName`; null when the device cannot be opened.
    [[nodiscard]] std::unique_ptr<LevelMeter> openLevelMeter(const std::string& deviceName);

  private:
    explicit AudioServer(std::shared_ptr<pulse::PulseConnection> connection);
    std::shared_ptr<pulse::PulseConnection> connection_;
};

}  // namespace capture
