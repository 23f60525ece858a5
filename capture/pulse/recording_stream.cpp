#include "capture/pulse/recording_stream.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "capture/pulse/sample_spec.h"

namespace capture::pulse {
namespace {

// Small fragments keep the server delivering about ten times a second, so the file (and its
// header) never lag far behind the sound.
constexpr pa_usec_t kFragmentUsec = 100'000;

// Waits until the stream is ready or has failed; true when ready.
bool waitUntilReady(PulseConnection& connection, pa_stream* stream) {
    // The stream's state below is the answer, also when the wait gave up.
    static_cast<void>(connection.waitUntil([stream] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    }));
    return pa_stream_get_state(stream) == PA_STREAM_READY;
}

void signalSuccess(pa_stream*, int, void* connection) {
    static_cast<PulseConnection*>(connection)->signal();
}

void signalConnection(pa_stream*, void* connection) {
    static_cast<PulseConnection*>(connection)->signal();
}

std::string serverError(const PulseConnection& connection) {
    return pa_strerror(pa_context_errno(connection.context()));
}

}  // namespace

std::unique_ptr<RecordingStream> RecordingStream::open(std::shared_ptr<PulseConnection> connection,
                                                       const SourceDetails& source,
                                                       std::unique_ptr<SampleFileWriter> writer,
                                                       const std::string& path,
                                                       CaptureResult& result) {
    const pa_sample_spec spec = recordingSpecFor(source.sampleSpec);
    std::unique_ptr<RecordingStream> recording(new RecordingStream());
    recording->connection_ = connection;
    recording->format_ = writer->format();
    recording->path_ = path;
    recording->deviceName_ = source.device.name;
    recording->writer_ = std::make_unique<SampleWriterThread>(std::move(writer));
    recording->stream_.reset(
        pa_stream_new(connection->context(), "Ambrevo recording", &spec, &source.channelMap));
    if (!recording->stream_) {
        result =
            CaptureResult::failure(CaptureError::ServerRefused,
                                   "cannot create a record stream: " + serverError(*connection));
        return nullptr;
    }
    pa_stream* stream = recording->stream_.get();
    pa_stream_set_state_callback(stream, &RecordingStream::onState, recording.get());
    pa_stream_set_read_callback(stream, &RecordingStream::onRead, recording.get());
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(-1);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentUsec, &spec));
    // DONT_MOVE: when the device goes, the recording ends rather than silently continuing on
    // another device.
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream, source.device.name.c_str(), &attributes, flags) < 0 ||
        !waitUntilReady(*connection, stream)) {
        result = CaptureResult::failure(
            CaptureError::DeviceGone,
            "cannot record from " + source.device.description + ": " + serverError(*connection));
        return nullptr;
    }
    return recording;
}

RecordingStream::~RecordingStream() {
    {
        const auto guard = connection_->lock();
        stream_.reset();
    }
    if (writer_) {
        // Outside the server lock: finishing waits for the disk. stop() told the outcome to
        // whoever asked.
        static_cast<void>(writer_->finish());
    }
}

void RecordingStream::onState(pa_stream* stream, void* self) {
    auto* recording = static_cast<RecordingStream*>(self);
    assert(recording->connection_->lockHeldHere());
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
        recording->deviceLost_ = !recording->stopped_;
    }
    recording->connection_->signal();
}

void RecordingStream::onRead(pa_stream*, std::size_t, void* self) {
    static_cast<RecordingStream*>(self)->drain();
}

void RecordingStream::drain() {
    assert(connection_->lockHeldHere());
    pa_stream* stream = stream_.get();
    if (stream == nullptr) {
        return;
    }
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) {
            return;
        }
        if (data == nullptr) {
            lostBytes_ += bytes;  // a hole: the server lost these samples
        } else if (writer_ && writeFailure_.succeeded()) {
            writeFailure_ = writer_->append(data, bytes);
            if (writeFailure_.failed() && !stopped_) {
                // The take cannot go on (a full disk ...): the owner ends it at once, and
                // what was stored before stays playable.
                connection_->announce(DeviceEventKind::RecordingFailed, deviceName_);
            }
        }
        pa_stream_drop(stream);
    }
}

CaptureResult RecordingStream::setFlow(SampleFlow flow) {
    const bool corked = flow == SampleFlow::Held;
    const auto guard = connection_->lock();
    if (stopped_ || !stream_ || pa_stream_get_state(stream_.get()) != PA_STREAM_READY) {
        return CaptureResult::failure(CaptureError::DeviceGone, "the recording device is gone");
    }
    if (!connection_->waitFor(
            pa_stream_cork(stream_.get(), corked ? 1 : 0, &signalSuccess, connection_.get()))) {
        return CaptureResult::failure(CaptureError::ServerRefused, serverError(*connection_));
    }
    if (corked) {
        drain();
        if (writer_) {
            writer_->requestHeaderRefresh();  // the writer thread syncs; the server goes on
        }
    }
    return CaptureResult::success();
}

CaptureResult RecordingStream::stop() {
    {
        const auto guard = connection_->lock();
        if (stopped_) {
            return writeFailure_;
        }
        stopped_ = true;
        drain();
        stream_.reset();
    }
    // Outside the server lock: writing out the buffer waits for the disk, and the server thread
    // (the meter, the other streams) must not wait with it.
    const CaptureResult finished = writer_ ? writer_->finish() : CaptureResult::success();
    const auto guard = connection_->lock();
    if (writeFailure_.succeeded()) {
        writeFailure_ = finished;
    }
    return writeFailure_;
}

bool RecordingStream::isStopped() const {
    const auto guard = connection_->lock();
    return stopped_;
}

AudioFormat RecordingStream::format() const {
    return format_;
}

std::uint64_t RecordingStream::framesWritten() const {
    const auto guard = connection_->lock();
    return writer_ ? writer_->framesAccepted() : 0;
}

std::uint64_t RecordingStream::lostFrames() const {
    const auto guard = connection_->lock();
    return lostBytes_ / static_cast<std::uint64_t>(format_.bytesPerFrame());
}

bool RecordingStream::deviceLost() const {
    const auto guard = connection_->lock();
    return deviceLost_;
}

CaptureResult RecordingStream::writeFailure() const {
    const auto guard = connection_->lock();
    return writeFailure_;
}

std::unique_ptr<PeakStream> PeakStream::open(std::shared_ptr<PulseConnection> connection,
                                             const SourceDetails& source) {
    // The server's peak detector: one float per reading, 25 readings a second.
    pa_sample_spec spec;
    spec.format = PA_SAMPLE_FLOAT32LE;
    spec.rate = 25;
    spec.channels = 1;
    std::unique_ptr<PeakStream> meter(new PeakStream());
    meter->connection_ = connection;
    meter->stream_.reset(pa_stream_new(connection->context(), "Ambrevo level", &spec, nullptr));
    if (!meter->stream_) {
        return nullptr;
    }
    pa_stream* stream = meter->stream_.get();
    pa_stream_set_state_callback(stream, &signalConnection, connection.get());
    pa_stream_set_read_callback(stream, &PeakStream::onRead, meter.get());
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(-1);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = sizeof(float);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_PEAK_DETECT | PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream, source.device.name.c_str(), &attributes, flags) < 0 ||
        !waitUntilReady(*connection, stream)) {
        return nullptr;
    }
    return meter;
}

PeakStream::~PeakStream() {
    const auto guard = connection_->lock();
    stream_.reset();
}

void PeakStream::onRead(pa_stream* stream, std::size_t, void* self) {
    auto* meter = static_cast<PeakStream*>(self);
    assert(meter->connection_->onServerThread());
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) {
            return;
        }
        if (data != nullptr) {
            const auto* readings = static_cast<const float*>(data);
            float highest = meter->peak_.load();
            for (std::size_t i = 0; i < bytes / sizeof(float); ++i) {
                highest = std::max(highest, std::fabs(readings[i]));
            }
            meter->peak_.store(std::min(highest, 1.0f));
        }
        pa_stream_drop(stream);
    }
}

double PeakStream::takePeak() {
    return static_cast<double>(peak_.exchange(0.0f));
}

}  // namespace capture::pulse
