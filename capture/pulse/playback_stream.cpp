#include "capture/pulse/playback_stream.h"

#include <algorithm>

namespace capture::pulse {
namespace {

bool isUsable(pa_stream* stream) {
    return pa_stream_get_state(stream) == PA_STREAM_READY;
}

}  // namespace

std::unique_ptr<PlaybackStream> PlaybackStream::open(std::shared_ptr<PulseConnection> connection,
                                                     int sampleRate, int channels,
                                                     std::chrono::milliseconds latency,
                                                     std::string& error) {
    const auto guard = connection->lock();
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = static_cast<std::uint32_t>(sampleRate);
    spec.channels = static_cast<std::uint8_t>(channels);
    if (!pa_sample_spec_valid(&spec)) {
        error = "the sound format is not supported";
        return nullptr;
    }
    std::unique_ptr<PlaybackStream> playback(new PlaybackStream());
    playback->connection_ = connection;
    playback->frameBytes_ = pa_frame_size(&spec);
    playback->stream_.reset(
        pa_stream_new(connection->context(), "Orvindel preview", &spec, nullptr));
    if (!playback->stream_) {
        error = std::string("cannot create a playback stream: ") +
                pa_strerror(pa_context_errno(connection->context()));
        return nullptr;
    }
    pa_stream* stream = playback->stream_.get();
    pa_stream_set_state_callback(stream, &PlaybackStream::onState, playback.get());
    pa_stream_set_write_callback(stream, &PlaybackStream::onWritable, playback.get());
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(
        pa_usec_to_bytes(static_cast<pa_usec_t>(latency.count()) * PA_USEC_PER_MSEC, &spec));
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    // ADJUST_LATENCY: the whole way to the ear (our buffer and the device's) stays near the
    // latency asked for; the timing flags keep heardMicroseconds() current between answers.
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        error = std::string("cannot play sound: ") +
                pa_strerror(pa_context_errno(connection->context()));
        return nullptr;
    }
    const bool settled = connection->waitUntil([stream] {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    });
    if (!settled || !isUsable(stream)) {
        error = std::string("cannot play sound: ") +
                pa_strerror(pa_context_errno(connection->context()));
        return nullptr;
    }
    return playback;
}

PlaybackStream::~PlaybackStream() {
    const auto guard = connection_->lock();
    if (stream_) {
        pa_stream_set_write_callback(stream_.get(), nullptr, nullptr);
    }
    stream_.reset();
}

void PlaybackStream::onState(pa_stream*, void* self) {
    static_cast<PlaybackStream*>(self)->connection_->signal();
}

void PlaybackStream::onWritable(pa_stream*, std::size_t, void* self) {
    static_cast<PlaybackStream*>(self)->connection_->signal();
}

bool PlaybackStream::write(const std::int16_t* samples, int frames) {
    const auto guard = connection_->lock();
    pa_stream* stream = stream_.get();
    const auto* data = reinterpret_cast<const std::uint8_t*>(samples);
    std::size_t remaining = static_cast<std::size_t>(frames) * frameBytes_;
    while (remaining > 0) {
        const bool ready = connection_->waitUntil([this, stream] {
            return stopped_ || !isUsable(stream) || pa_stream_writable_size(stream) > 0;
        });
        if (!ready || stopped_ || !isUsable(stream)) {
            return false;
        }
        std::size_t bytes = std::min(remaining, pa_stream_writable_size(stream));
        bytes -= bytes % frameBytes_;
        if (bytes == 0) {
            bytes = std::min(remaining, frameBytes_);
        }
        if (pa_stream_write(stream, data, bytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            return false;
        }
        data += bytes;
        remaining -= bytes;
    }
    return true;
}

void PlaybackStream::trigger() {
    const auto guard = connection_->lock();
    if (!stopped_ && isUsable(stream_.get())) {
        // No need to wait for the answer: playback starts when it can.
        const OperationHandle triggered(pa_stream_trigger(stream_.get(), nullptr, nullptr));
    }
}

std::int64_t PlaybackStream::heardMicroseconds() {
    const auto guard = connection_->lock();
    pa_usec_t heard = 0;
    if (isUsable(stream_.get()) && pa_stream_get_time(stream_.get(), &heard) == 0) {
        lastHeardMicroseconds_ = std::max(lastHeardMicroseconds_, static_cast<std::int64_t>(heard));
    }
    return lastHeardMicroseconds_;
}

void PlaybackStream::stop() {
    const auto guard = connection_->lock();
    if (stopped_) {
        return;
    }
    stopped_ = true;
    if (isUsable(stream_.get())) {
        const OperationHandle corked(pa_stream_cork(stream_.get(), 1, nullptr, nullptr));
        const OperationHandle flushed(pa_stream_flush(stream_.get(), nullptr, nullptr));
    }
    connection_->signal();
}

}  // namespace capture::pulse
