#include "capture/sound_playback.h"

#include "capture/pulse/playback_stream.h"
#include "capture/pulse/pulse_connection.h"

namespace capture {

std::unique_ptr<SoundPlayback> SoundPlayback::connect(const std::string& applicationName,
                                                      std::chrono::milliseconds latency,
                                                      std::string& error,
                                                      std::chrono::milliseconds answerLimit) {
    auto connection = pulse::PulseConnection::open(applicationName, answerLimit, error);
    if (!connection) {
        return nullptr;
    }
    return std::unique_ptr<SoundPlayback>(new SoundPlayback(std::move(connection), latency));
}

SoundPlayback::SoundPlayback(std::shared_ptr<pulse::PulseConnection> connection,
                             std::chrono::milliseconds latency)
    : connection_(std::move(connection)), latency_(latency) {}

SoundPlayback::~SoundPlayback() {
    const MutexLock lock(streamMutex_);
    stream_.reset();
}

std::shared_ptr<pulse::PlaybackStream> SoundPlayback::current() {
    const MutexLock lock(streamMutex_);
    return stream_;
}

bool SoundPlayback::start(int sampleRate, int channels, std::string& error) {
    {
        const MutexLock lock(streamMutex_);
        stream_.reset();
    }
    std::shared_ptr<pulse::PlaybackStream> stream =
        pulse::PlaybackStream::open(connection_, sampleRate, channels, latency_, error);
    if (!stream) {
        return false;
    }
    const MutexLock lock(streamMutex_);
    stream_ = std::move(stream);
    return true;
}

bool SoundPlayback::write(const std::int16_t* samples, int frames) {
    const auto stream = current();
    return stream && stream->write(samples, frames);
}

void SoundPlayback::finish() {
    if (const auto stream = current()) {
        stream->trigger();
    }
}

std::int64_t SoundPlayback::heardMicroseconds() {
    const auto stream = current();
    return stream ? stream->heardMicroseconds() : 0;
}

void SoundPlayback::stop() {
    if (const auto stream = current()) {
        stream->stop();
    }
}

}  // namespace capture
