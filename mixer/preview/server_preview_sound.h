#pragma once

#include "capture/sound_playback.h"
#include "editing/preview/preview_sound_output.h"

#include <chrono>
#include <memory>
#include <string>

namespace mixer {

// The preview's sound through the sound server: the editing layer's sound output on the
// capture layer's playback stream. Threading as PreviewSoundOutput says.
class ServerPreviewSound : public editing::PreviewSoundOutput {
  public:
    // About this much sound is held by the server ahead of what is heard: small enough that
    // pause and seek answer at once, large enough to ride out a busy machine.
    static constexpr std::chrono::milliseconds kDefaultLatency{60};

    // Null with `error` when no sound server answers.
    static std::unique_ptr<ServerPreviewSound> connect(
        std::string& error, std::chrono::milliseconds latency = kDefaultLatency);

    [[nodiscard]] bool start(int sampleRate, std::string& error) override;
    [[nodiscard]] bool write(const std::int16_t* samples, int frames) override;
    void finish() override;
    editing::RefTime heardRefTime() override;
    void stop() override;

  private:
    explicit ServerPreviewSound(std::unique_ptr<capture::SoundPlayback> playback);
    std::unique_ptr<capture::SoundPlayback> playback_;
};

}  // namespace mixer
