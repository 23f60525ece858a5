#include "capture/audio_server.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "capture/pulse/pulse_connection.h"
#include "capture/pulse/recording_stream.h"
#include "capture/pulse/sample_spec.h"
#include "capture/recording_file_factory.h"

namespace capture {
namespace {

void signalOperation(pa_context*, int, void* connection) {
    static_cast<pulse::PulseConnection*>(connection)->signal();
}

}  // namespace

std::unique_ptr<AudioServer> AudioServer::connect(const std::string& applicationName,
                                                  CaptureResult& result,
                                                  std::chrono::milliseconds answerLimit) {
    std::string error;
    auto connection = pulse::PulseConnection::open(applicationName, answerLimit, error);
    if (!connection) {
        result = CaptureResult::failure(CaptureError::NoServer, error);
        return nullptr;
    }
    result = CaptureResult::success();
    return std::unique_ptr<AudioServer>(new AudioServer(std::move(connection)));
}

AudioServer::AudioServer(std::shared_ptr<pulse::PulseConnection> connection)
    : connection_(std::move(connection)) {}

AudioServer::~AudioServer() {
    setEventNotifier(nullptr);
}

bool AudioServer::isConnected() const {
    const auto guard = connection_->lock();
    return connection_->isReady();
}

std::vector<CaptureDevice> AudioServer::listDevices() {
    const auto guard = connection_->lock();
    std::vector<CaptureDevice> devices;
    for (const pulse::SourceDetails& source : connection_->listSources()) {
        if (source.isMonitor) {
            continue;
        }
        devices.push_back(source.device);
    }
    return devices;
}

std::optional<CaptureDevice> AudioServer::device(const std::string& deviceName) {
    const auto guard = connection_->lock();
    const auto source = connection_->findSource(deviceName);
    if (!source || source->isMonitor) {
        return std::nullopt;
    }
    return source->device;
}

namespace {

CaptureResult deviceGone(const std::string& deviceName) {
    return CaptureResult::failure(CaptureError::DeviceGone,
                                  "the capture device " + deviceName + " is not available");
}

CaptureResult answered(bool done, const std::string& what) {
    if (done) {
        return CaptureResult::success();
    }
    return CaptureResult::failure(CaptureError::ServerRefused, what);
}

}  // namespace

CaptureResult AudioServer::setActiveLine(const std::string& deviceName,
                                         const std::string& lineName) {
    const auto guard = connection_->lock();
    const auto source = connection_->findSource(deviceName);
    if (!source) {
        return deviceGone(deviceName);
    }
    if (!source->device.hasPorts) {
        return CaptureResult::success();
    }
    return answered(connection_->waitFor(pa_context_set_source_port_by_name(
                        connection_->context(), deviceName.c_str(), lineName.c_str(),
                        &signalOperation, connection_.get())),
                    "cannot choose the line " + lineName + " of " + deviceName);
}

CaptureResult AudioServer::setLevel(const std::string& deviceName, double level) {
    const auto guard = connection_->lock();
    const auto source = connection_->findSource(deviceName);
    if (!source) {
        return deviceGone(deviceName);
    }
    // Rounded up: a level read back (volume / norm) is then never below the level written, so
    // a slider position that truncates the level read back finds itself again.
    pa_cvolume volume;
    const double clamped = std::clamp(level, 0.0, 1.0);
    pa_cvolume_set(
        &volume, source->volume.channels,
        static_cast<pa_volume_t>(std::ceil(clamped * static_cast<double>(PA_VOLUME_NORM))));
    return answered(connection_->waitFor(pa_context_set_source_volume_by_name(
                        connection_->context(), deviceName.c_str(), &volume, &signalOperation,
                        connection_.get())),
                    "cannot set the volume of " + deviceName);
}

void AudioServer::watchDevice(const std::string& deviceName) {
    const auto guard = connection_->lock();
    connection_->watch(deviceName);
}

void AudioServer::setEventNotifier(std::function<void()> notifier) {
    // Events are pushed, and the notifier called, only from callbacks on the mainloop thread,
    // which hold this lock: once it is ours, no call of the old notifier is under way, and
    // none follows. The owner (a window about to go) relies on that.
    const auto guard = connection_->lock();
    connection_->setEventNotifier(std::move(notifier));
}

std::optional<DeviceEvent> AudioServer::takeEvent() {
    return connection_->takeEvent();
}

std::unique_ptr<RecordingSession> AudioServer::openRecording(const std::string& deviceName,
                                                             const std::string& path,
                                                             CaptureResult& result,
                                                             WavWriterOptions options) {
    const auto guard = connection_->lock();
    const auto source = connection_->findSource(deviceName);
    if (!source) {
        result = deviceGone(deviceName);
        return nullptr;
    }
    const pa_sample_spec spec = pulse::recordingSpecFor(source->sampleSpec);
    const auto format = pulse::audioFormatFor(spec, source->channelMap);
    if (!format) {
        result = CaptureResult::failure(
            CaptureError::UnsupportedFormat,
            std::string("a WAV file cannot hold the device's sample format ") +
                pa_sample_format_to_string(spec.format));
        return nullptr;
    }
    auto writer = createRecordingFile(path, *format, result, options);
    if (!writer) {
        return nullptr;
    }
    auto stream =
        pulse::RecordingStream::open(connection_, *source, std::move(writer), path, result);
    if (!stream) {
        std::remove(path.c_str());  // nothing recorded: leave no empty file behind
        return nullptr;
    }
    result = CaptureResult::success();
    return std::make_unique<RecordingSession>(std::move(stream));
}

std::unique_ptr<LevelMeter> AudioServer::openLevelMeter(const std::string& deviceName) {
    const auto guard = connection_->lock();
    const auto source = connection_->findSource(deviceName);
    if (!source) {
        return nullptr;
    }
    auto stream = pulse::PeakStream::open(connection_, *source);
    if (!stream) {
        return nullptr;
    }
    return std::make_unique<LevelMeter>(std::move(stream));
}

}  // namespace capture
