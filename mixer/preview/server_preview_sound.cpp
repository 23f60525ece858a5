#include "mixer/preview/server_preview_sound.h"

namespace mixer {

namespace {
constexpr int kChannels = 2;
}

std::unique_ptr<ServerPreviewSound> ServerPreviewSound::connect(std::string& error,
                                                                std::chrono::milliseconds latency) {
    std::unique_ptr<capture::SoundPlayback> playback =
        capture::SoundPlayback::connect("Orvindel", latency, error);
    if (!playback) {
        return nullptr;
    }
    return std::unique_ptr<ServerPreviewSound>(new ServerPreviewSound(std::move(playback)));
}

ServerPreviewSound::ServerPreviewSound(std::unique_ptr<capture::SoundPlayback> playback)
    : playback_(std::move(playback)) {}

bool ServerPreviewSound::start(int sampleRate, std::string& error) {
    return playback_->start(sampleRate, kChannels, error);
}

bool ServerPreviewSound::write(const std::int16_t* samples, int frames) {
    return playback_->write(samples, frames);
}

void ServerPreviewSound::finish() {
    playback_->finish();
}

editing::RefTime ServerPreviewSound::heardRefTime() {
    return playback_->heardMicroseconds() * 10;
}

void ServerPreviewSound::stop() {
    playback_->stop();
}

}  // namespace mixer
