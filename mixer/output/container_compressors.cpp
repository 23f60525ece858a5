#include "mixer/output/container_compressors.h"

#include "mixer/project/profile_loading.h"

namespace mixer {

using editing::OutputContainer;

namespace {

int positionOrDefault(std::optional<int> stored, std::optional<int> byDefault) {
    if (stored) {
        return *stored;
    }
    return byDefault ? *byDefault : kNoListSelection;
}

CompressorBinding bound(std::optional<editing::Compressor> chosen,
                        std::optional<editing::Compressor> byDefault) {
    if (!chosen) {
        chosen = std::move(byDefault);
    }
    if (!chosen) {
        return {};
    }
    return CompressorBinding{true, std::move(chosen)};
}

QString encoderNameOf(const std::optional<editing::Compressor>& compressor) {
    return compressor ? QString::fromStdString(compressor->encoderName) : QString();
}

}  // namespace

const TextSetting& videoEncoderSetting(OutputContainer container) {
    return container == OutputContainer::Matroska ? settings::kMatroskaVideoEncoder
                                                  : settings::kMp4VideoEncoder;
}

const TextSetting& audioEncoderSetting(OutputContainer container) {
    return container == OutputContainer::Matroska ? settings::kMatroskaAudioEncoder
                                                  : settings::kMp4AudioEncoder;
}

CompressorSelections storedSelections(const editing::CompressorRegistry& registry,
                                      const SettingsStore& store, OutputContainer container) {
    if (container == OutputContainer::Avi) {
        const StoredCompressorChoices stored = loadCompressorChoices(store);
        return {compressorListIndexForStored(stored.videoCompressorNumber,
                                             registry.defaultVideoPosition(),
                                             static_cast<int>(registry.videoCompressors().size())),
                compressorListIndexForStored(stored.audioCompressorNumber,
                                             registry.defaultAudioPosition(),
                                             static_cast<int>(registry.audioCompressors().size()))};
    }
    const std::string video = store.read(videoEncoderSetting(container)).toStdString();
    const std::string audio = store.read(audioEncoderSetting(container)).toStdString();
    return {positionOrDefault(registry.findVideoEncoder(container, video),
                              registry.defaultVideoPosition(container)),
            positionOrDefault(registry.findAudioEncoder(container, audio),
                              registry.defaultAudioPosition(container))};
}

CompressorSelections defaultSelections(const editing::CompressorRegistry& registry,
                                       OutputContainer container) {
    if (container == OutputContainer::Avi) {
        return {defaultCompressorListIndex(registry.defaultVideoPosition()),
                defaultCompressorListIndex(registry.defaultAudioPosition())};
    }
    return {positionOrDefault(std::nullopt, registry.defaultVideoPosition(container)),
            positionOrDefault(std::nullopt, registry.defaultAudioPosition(container))};
}

BoundCompressors bindSelections(const editing::CompressorRegistry& registry,
                                OutputContainer container, CompressorSelections selections) {
    const auto videoDefault = registry.defaultVideoPosition(container);
    const auto audioDefault = registry.defaultAudioPosition(container);
    return {bound(registry.videoAt(container, selections.video),
                  videoDefault ? registry.videoAt(container, *videoDefault) : std::nullopt),
            bound(registry.audioAt(container, selections.audio),
                  audioDefault ? registry.audioAt(container, *audioDefault) : std::nullopt)};
}

BoundCompressors bindStoredCompressors(const editing::CompressorRegistry& registry,
                                       const SettingsStore& store, OutputContainer container) {
    if (container == OutputContainer::Avi) {
        const StoredCompressorChoices stored = loadCompressorChoices(store);
        return {bindVideoCompressor(registry, stored.videoCompressorNumber),
                bindAudioCompressor(registry, stored.audioCompressorNumber)};
    }
    return bindSelections(registry, container, storedSelections(registry, store, container));
}

QString videoEncoderNameAt(const editing::CompressorRegistry& registry, OutputContainer container,
                           int selection) {
    return encoderNameOf(registry.videoAt(container, selection));
}

QString audioEncoderNameAt(const editing::CompressorRegistry& registry, OutputContainer container,
                           int selection) {
    return encoderNameOf(registry.audioAt(container, selection));
}

}  // namespace mixer
