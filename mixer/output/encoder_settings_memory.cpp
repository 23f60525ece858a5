#include "mixer/output/encoder_settings_memory.h"

#include <utility>

namespace mixer {

editing::CompressorSettings EncoderSettingsMemory::settingsFor(
    const editing::Compressor& compressor) const {
    const auto found = byEncoderName_.find(compressor.encoderName);
    return found != byEncoderName_.end() ? found->second : compressor.settings;
}

void EncoderSettingsMemory::remember(const editing::Compressor& compressor,
                                     editing::CompressorSettings settings) {
    byEncoderName_[compressor.encoderName] = std::move(settings);
}

bool EncoderSettingsMemory::holds(const std::string& encoderName) const {
    return byEncoderName_.contains(encoderName);
}

editing::Compressor EncoderSettingsMemory::applyTo(editing::Compressor compressor) const {
    compressor.settings = settingsFor(compressor);
    return compressor;
}

std::optional<editing::Compressor> EncoderSettingsMemory::applyTo(
    std::optional<editing::Compressor> compressor) const {
    if (!compressor) {
        return std::nullopt;
    }
    return applyTo(std::move(*compressor));
}

}  // namespace mixer
