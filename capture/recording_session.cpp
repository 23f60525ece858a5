#include "capture/recording_session.h"

#include "capture/pulse/recording_stream.h"

namespace capture {

RecordingSession::RecordingSession(std::unique_ptr<pulse::RecordingStream> stream)
    : stream_(std::move(stream)) {}

RecordingSession::~RecordingSession() {
    if (stream_) {
        static_cast<void>(stream_->stop());  // whoever cared asked stop() before
    }
}

CaptureResult RecordingSession::run() {
    return stream_->setFlow(pulse::SampleFlow::Delivering);
}

void RecordingSession::pause() {
    static_cast<void>(stream_->setFlow(pulse::SampleFlow::Held));  // gone means paused
}

CaptureResult RecordingSession::stop() {
    return stream_->stop();
}
bool RecordingSession::isStopped() const {
    return stream_->isStopped();
}
AudioFormat RecordingSession::format() const {
    return stream_->format();
}
std::uint64_t RecordingSession::framesWritten() const {
    return stream_->framesWritten();
}
std::uint64_t RecordingSession::lostFrames() const {
    return stream_->lostFrames();
}
bool RecordingSession::deviceLost() const {
    return stream_->deviceLost();
}
CaptureResult RecordingSession::writeFailure() const {
    return stream_->writeFailure();
}
const std::string& RecordingSession::path() const {
    return stream_->path();
}

}  // namespace capture
