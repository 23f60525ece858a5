#include "mixer/output/compressor_choice.h"

namespace mixer {

int compressorListIndexForStored(int storedNumber, std::optional<int> defaultPosition,
                                 int compressorCount) {
    if (storedNumber == kCompressorNeverChosen) {
        return defaultCompressorListIndex(defaultPosition);
    }
    const int listIndex = storedNumber + 1;
    if (listIndex < 0 || listIndex > compressorCount) {
        return kNoListSelection;
    }
    return listIndex;
}

int defaultCompressorListIndex(std::optional<int> defaultPosition) {
    return defaultPosition ? *defaultPosition + 1 : 0;
}

int storedNumberForListIndex(int listIndex) {
    if (listIndex < 0) {
        return kCompressorNeverChosen;
    }
    return listIndex - 1;
}

namespace {

CompressorBinding bindFrom(int storedNumber, std::optional<editing::Compressor> atPosition,
                           std::optional<editing::Compressor> byDefault) {
    if (storedNumber == kCompressorNone) {
        return {};
    }
    std::optional<editing::Compressor> chosen =
        storedNumber >= 0 && atPosition ? std::move(atPosition) : std::move(byDefault);
    if (!chosen) {
        return {};
    }
    return CompressorBinding{true, std::move(chosen)};
}

std::optional<editing::Compressor> videoDefault(const editing::CompressorRegistry& registry) {
    const std::optional<int> position = registry.defaultVideoPosition();
    return position ? registry.videoAt(*position) : std::nullopt;
}

std::optional<editing::Compressor> audioDefault(const editing::CompressorRegistry& registry) {
    const std::optional<int> position = registry.defaultAudioPosition();
    return position ? registry.audioAt(*position) : std::nullopt;
}

}  // namespace

CompressorBinding bindVideoCompressor(const editing::CompressorRegistry& registry,
                                      int storedNumber) {
    return bindFrom(storedNumber, registry.videoAt(storedNumber), videoDefault(registry));
}

CompressorBinding bindAudioCompressor(const editing::CompressorRegistry& registry,
                                      int storedNumber) {
    return bindFrom(storedNumber, registry.audioAt(storedNumber), audioDefault(registry));
}

}  // namespace mixer
