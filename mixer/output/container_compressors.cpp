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

bool numbered(OutputContainer container) {
    return container.format().choiceMemory == editing::ChoiceMemory::NumberedPositions;
}

struct EncoderSettings {
    TextSetting video;
    TextSetting audio;
};

// The keys of every container, from its settings group (empty for numbered choices).
const EncoderSettings& encoderSettings(OutputContainer container) {
    static const auto kEncoderSettings = [] {
        std::array<EncoderSettings, editing::kOutputContainers.size()> keys{};
        for (OutputContainer each : editing::kOutputContainers) {
            const char* group = each.format().settingsGroup;
            keys[static_cast<std::size_t>(each)] = {TextSetting{group, "VideoEncoder", ""},
                                                    TextSetting{group, "AudioEncoder", ""}};
        }
        return keys;
    }();
    return kEncoderSettings[static_cast<std::size_t>(container)];
}

QString encoderNameOf(const std::optional<editing::Compressor>& compressor) {
    return compressor ? QString::fromStdString(compressor->encoderName) : QString();
}

}  // namespace

const TextSetting& videoEncoderSetting(OutputContainer container) {
    return encoderSettings(container).video;
}

const TextSetting& audioEncoderSetting(OutputContainer container) {
    return encoderSettings(container).audio;
}

CompressorSelections storedSelections(const editing::CompressorRegistry& registry,
                                      const SettingsStore& store, OutputContainer container) {
    if (numbered(container)) {
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
    if (numbered(container)) {
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
    if (numbered(container)) {
        const StoredCompressorChoices stored = loadCompressorChoices(store);
        return {bindVideoCompressor(registry, stored.videoCompressorNumber),
                bindAudioCompressor(registry, stored.audioCompressorNumber)};
    }
    return bindSelections(registry, container, storedSelections(registry, store, container));
}

BoundCompressors bindOutputCompressors(const editing::CompressorRegistry& registry,
                                       const SettingsStore& store, OutputSettings& output) {
    const OutputContainer container = editing::containerForFileName(output.OutputName);
    BoundCompressors bound = bindStoredCompressors(registry, store, container);
    if (container == OutputContainer::Avi) {
        bound.video.use = output.UseVideoCompressor;
        bound.audio.use = output.UseAudioCompressor;
    } else {
        output.UseVideoCompressor = bound.video.use;
        output.UseAudioCompressor = bound.audio.use;
    }
    return bound;
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
