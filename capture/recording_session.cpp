#include "capture/recording_session.h"

#include "capture/pulse/recording_stream.h"

namespace capture {

RecordingSession::RecordingSession(std::unique_ptr<pulse::RecordingStream> stream)
    : stream_(std::move(stream)) {}

RecordingSession::~RecordingSession() {
    if (stream_) {
        stream_->stop();
    }
}

bool RecordingSession::run(std::string& error) {
    return stream_->setFlow(pulse::SampleFlow::Delivering, error);
}

void RecordingSession::pause() {
    std::string ignored;  // a device that is gone is paused already
    stream_->setFlow(pulse::SampleFlow::Held, ignored);
}

bool RecordingSession::stop() {
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
std::string RecordingSession::writeError() const {
    return stream_->writeError();
}
const std::string& RecordingSession::path() const {
    return stream_->path();
}

}  // namespace capture
