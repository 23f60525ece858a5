#include "mixer/output/project_compressors.h"

#include "mixer/output/compressor_choice.h"

#include <algorithm>

namespace mixer {

using editing::OutputContainer;

namespace {

const char* uncompressedText(CompressorStream stream) {
    return stream == CompressorStream::Video ? kUncompressedVideoText : kUncompressedAudioText;
}

// The position of `name` in the stream's list of `container`; nothing when it is not listed.
std::optional<int> positionOfName(const editing::CompressorRegistry& registry,
                                  CompressorStream stream, OutputContainer container,
                                  const QString& name) {
    const std::vector<std::string> names = stream == CompressorStream::Video
                                               ? registry.videoNames(container)
                                               : registry.audioNames(container);
    const auto found = std::find(names.begin(), names.end(), name.toStdString());
    if (found == names.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - names.begin());
}

QString shownName(const CompressorBinding& binding, CompressorStream stream,
                  OutputContainer container) {
    if (binding.use && binding.compressor) {
        return QString::fromStdString(binding.compressor->friendlyName);
    }
    return container == OutputContainer::Avi ? QString::fromUtf8(uncompressedText(stream))
                                             : QString();
}

void remember(const editing::CompressorRegistry& registry, SettingsStore& store,
              CompressorStream stream, OutputContainer container, const QString& name) {
    const std::optional<int> position = positionOfName(registry, stream, container, name);
    const bool video = stream == CompressorStream::Video;
    if (container == OutputContainer::Avi) {
        if (!position && name != QString::fromUtf8(uncompressedText(stream))) {
            return;
        }
        store.write(video ? settings::kVideoCompressorNumber : settings::kAudioCompressorNumber,
                    position.value_or(kCompressorNone));
        return;
    }
    if (!position) {
        return;
    }
    store.write(video ? videoEncoderSetting(container) : audioEncoderSetting(container),
                video ? videoEncoderNameAt(registry, container, *position)
                      : audioEncoderNameAt(registry, container, *position));
}

}  // namespace

CompressorNameMeaning compressorNameMeaning(const editing::CompressorRegistry& registry,
                                            CompressorStream stream, const std::string& outputName,
                                            const QString& name) {
    const OutputContainer container = editing::containerForFileName(outputName);
    if (positionOfName(registry, stream, container, name)) {
        return CompressorNameMeaning::Compressor;
    }
    if (container == OutputContainer::Avi && name == QString::fromUtf8(uncompressedText(stream))) {
        return CompressorNameMeaning::Uncompressed;
    }
    return CompressorNameMeaning::Unknown;
}

ProjectCompressorNames storedCompressorNames(const editing::CompressorRegistry& registry,
                                             const SettingsStore& store,
                                             const std::string& outputName) {
    const OutputContainer container = editing::containerForFileName(outputName);
    const BoundCompressors bound = bindStoredCompressors(registry, store, container);
    return {shownName(bound.video, CompressorStream::Video, container),
            shownName(bound.audio, CompressorStream::Audio, container)};
}

BoundCompressors bindCompressorNames(const editing::CompressorRegistry& registry,
                                     const SettingsStore& store, const std::string& outputName,
                                     const ProjectCompressorNames& names) {
    const OutputContainer container = editing::containerForFileName(outputName);
    BoundCompressors bound = bindStoredCompressors(registry, store, container);
    const auto bindNamed = [&](CompressorStream stream, const QString& name,
                               CompressorBinding& binding) {
        if (name.isEmpty()) {
            return;
        }
        if (const std::optional<int> position = positionOfName(registry, stream, container, name)) {
            std::optional<editing::Compressor> compressor =
                stream == CompressorStream::Video ? registry.videoAt(container, *position)
                                                  : registry.audioAt(container, *position);
            binding = {true, std::move(compressor)};
        } else if (compressorNameMeaning(registry, stream, outputName, name) ==
                   CompressorNameMeaning::Uncompressed) {
            binding = {};
        }
    };
    bindNamed(CompressorStream::Video, names.video, bound.video);
    bindNamed(CompressorStream::Audio, names.audio, bound.audio);
    return bound;
}

BoundCompressors rememberCompressorNames(const editing::CompressorRegistry& registry,
                                         SettingsStore& store, const std::string& outputName,
                                         const ProjectCompressorNames& names) {
    const OutputContainer container = editing::containerForFileName(outputName);
    if (!names.video.isEmpty()) {
        remember(registry, store, CompressorStream::Video, container, names.video);
    }
    if (!names.audio.isEmpty()) {
        remember(registry, store, CompressorStream::Audio, container, names.audio);
    }
    return bindStoredCompressors(registry, store, container);
}

}  // namespace mixer
