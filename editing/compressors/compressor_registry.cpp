#include "editing/compressors/compressor_registry.h"

#include "editing/compressors/encoder_setup.h"

#include <algorithm>
#include <cctype>

namespace editing {

namespace {

// Bounds the encoders honour: the MPEG video encoders cut a longer key-frame distance to 600
// frames; the quantiser scale runs 1 - 31, but the Microsoft MPEG-4 encoders clip coefficients
// of detailed pictures at quantisers 1 and 2 (their tables hold no larger levels), so they start
// at 3; x264's constant rate factor runs 1 - 51 (0, lossless, would read as "default").
constexpr SettingRange kQuantiserScale{1, 31};
constexpr SettingRange kUnclippedQuantiserScale{3, 31};
constexpr SettingRange kConstantRateFactor{1, 51};
constexpr SettingRange kVpxConstantRateFactor{1, 63};
constexpr SettingRange kVideoBitRateKbps{1, 200'000};
constexpr SettingRange kMpegKeyFrameInterval{1, 600};
constexpr SettingRange kKeyFrameInterval{1, 3'000};

SettableSettings quantised(SettingRange quality, std::optional<SettingRange> keyFrameInterval) {
    return {QualityScale::QuantiserScale, quality, kVideoBitRateKbps, keyFrameInterval, {}};
}

SettableSettings keyFramesOnly() {
    return {QualityScale::None, std::nullopt, std::nullopt, kKeyFrameInterval, {}};
}

SettableSettings x264Settable() {
    return {QualityScale::ConstantRateFactor,
            kConstantRateFactor,
            kVideoBitRateKbps,
            kKeyFrameInterval,
            {"ultrafast", "superfast", "veryfast", "faster", "fast", "medium", "slow", "slower",
             "veryslow"}};
}

Compressor videoCandidate(std::string friendlyName, std::string encoderName,
                          CompressorSettings settings, SettableSettings settable) {
    return Compressor{CompressorKind::Video, std::move(friendlyName), std::move(encoderName),
                      std::move(settings), std::move(settable)};
}

// `bitRateKbps` of 0: the encoder's rate follows from the format; nothing to set.
Compressor audioCandidate(std::string friendlyName, std::string encoderName, int bitRateKbps,
                          SettingRange bitRateRangeKbps = {}) {
    CompressorSettings settings;
    settings.bitRateKbps = bitRateKbps;
    SettableSettings settable;
    if (bitRateKbps > 0) {
        settable.bitRateKbps = bitRateRangeKbps;
    }
    return Compressor{CompressorKind::Audio, std::move(friendlyName), std::move(encoderName),
                      settings, std::move(settable)};
}

int clampedInto(const std::optional<SettingRange>& range, int value) {
    if (!range || value <= 0) {
        return 0;
    }
    return std::clamp(value, range->least, range->most);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char character) {
        return static_cast<char>(std::tolower(character));
    });
    return text;
}

std::optional<int> findIn(const std::vector<Compressor>& list, std::string_view fragment) {
    for (std::size_t index = 0; index < list.size(); ++index) {
        if (lowerCase(list[index].friendlyName).find(fragment) != std::string::npos) {
            return static_cast<int>(index);
        }
    }
    return std::nullopt;
}

std::optional<int> findEncoderIn(const std::vector<Compressor>& list,
                                 std::string_view encoderName) {
    for (std::size_t index = 0; index < list.size(); ++index) {
        if (list[index].encoderName == encoderName) {
            return static_cast<int>(index);
        }
    }
    return std::nullopt;
}

std::optional<int> findDefaultIn(const std::vector<Compressor>& list,
                                 const DefaultCompressor& wanted) {
    return wanted.by == DefaultCompressor::By::NameFragment ? findIn(list, wanted.text)
                                                            : findEncoderIn(list, wanted.text);
}

std::optional<Compressor> at(const std::vector<Compressor>& list, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= list.size()) {
        return std::nullopt;
    }
    return list[static_cast<std::size_t>(position)];
}

std::vector<std::string> namesOf(const std::vector<Compressor>& list) {
    std::vector<std::string> names;
    names.reserve(list.size());
    for (const Compressor& compressor : list) {
        names.push_back(compressor.friendlyName);
    }
    return names;
}

}  // namespace

CompressorSettings clampedSettings(const SettableSettings& settable, CompressorSettings settings) {
    settings.quality = clampedInto(settable.quality, settings.quality);
    settings.bitRateKbps = clampedInto(settable.bitRateKbps, settings.bitRateKbps);
    settings.keyFrameInterval = clampedInto(settable.keyFrameInterval, settings.keyFrameInterval);
    if (settable.speedPresets.empty()) {
        settings.speedPreset.clear();
    }
    return settings;
}

namespace {

// Every compressor any container lists; the table's rows choose and order them by encoder name.
std::vector<Compressor> knownCompressors() {
    return {
        videoCandidate("DivX-compatible MPEG-4 Part 2", "mpeg4", {3, 0, 250, {}},
                       quantised(kQuantiserScale, kMpegKeyFrameInterval)),
        videoCandidate("Microsoft MPEG-4 Video Codec V3", "msmpeg4", {3, 0, 250, {}},
                       quantised(kUnclippedQuantiserScale, kMpegKeyFrameInterval)),
        videoCandidate("Microsoft MPEG-4 Video Codec V2", "msmpeg4v2", {3, 0, 250, {}},
                       quantised(kUnclippedQuantiserScale, kMpegKeyFrameInterval)),
        videoCandidate("H.264 / AVC (x264)", "libx264", {23, 0, 250, "veryfast"}, x264Settable()),
        // Every JPEG frame is a key frame.
        videoCandidate("Motion JPEG", "mjpeg", {3, 0, 0, {}},
                       quantised(kQuantiserScale, std::nullopt)),
        videoCandidate("Huffyuv lossless", "huffyuv", {}, {}),
        videoCandidate("FFmpeg Huffyuv lossless", "ffvhuff", {}, {}),
        videoCandidate("FFV1 lossless", "ffv1", {0, 0, 250, {}}, keyFramesOnly()),
        videoCandidate("PNG frames lossless", "png", {}, {}),
        videoCandidate("Zip Motion Blocks Video", "zmbv", {0, 0, 250, {}}, keyFramesOnly()),
        videoCandidate("VP9 (libvpx)", "libvpx-vp9", {32, 0, 250, {}},
                       {QualityScale::ConstantRateFactor,
                        kVpxConstantRateFactor,
                        kVideoBitRateKbps,
                        kKeyFrameInterval,
                        {}}),
        audioCandidate("Microsoft ADPCM", "adpcm_ms", 0),
        audioCandidate("IMA ADPCM", "adpcm_ima_wav", 0),
        audioCandidate("MPEG Layer-3 (MP3)", "libmp3lame", 192, {8, 320}),
        audioCandidate("MPEG Layer-2 (MP2)", "mp2", 192, {32, 384}),
        audioCandidate("Dolby Digital AC-3", "ac3", 192, {32, 640}),
        audioCandidate("CCITT A-Law", "pcm_alaw", 0),
        audioCandidate("CCITT u-Law", "pcm_mulaw", 0),
        audioCandidate("PCM 8-bit unsigned", "pcm_u8", 0),
        audioCandidate("AAC", "aac", 192, {32, 512}),
        audioCandidate("Opus (libopus)", "libopus", 160, {6, 510}),
        audioCandidate("FLAC lossless", "flac", 0),
        audioCandidate("PCM 16-bit", "pcm_s16le", 0),
    };
}

}  // namespace

std::vector<Compressor> candidateCompressors(CompressorKind kind, OutputContainer container) {
    const std::vector<Compressor> known = knownCompressors();
    const ContainerFormat& format = container.format();
    std::vector<Compressor> candidates;
    for (std::string_view encoderName :
         kind == CompressorKind::Video ? format.videoEncoders : format.audioEncoders) {
        for (const Compressor& candidate : known) {
            if (!encoderName.empty() && candidate.kind == kind &&
                candidate.encoderName == encoderName) {
                candidates.push_back(candidate);
            }
        }
    }
    return candidates;
}

bool encoderOpens(const Compressor& compressor) {
    ffmpeg::CodecContextHandle context;
    std::string description;
    const EncoderOptions probe{StreamHeaders::InBand, EncoderUse::Probe};
    if (compressor.kind == CompressorKind::Video) {
        return succeeded(openVideoEncoder(compressor, VideoEncoderFormat{64, 48, {25, 1}}, probe,
                                          context, description));
    }
    return succeeded(openAudioEncoder(compressor, AudioEncoderFormat{kDefaultSampleRateHz, 2},
                                      probe, context, description));
}

CompressorRegistry CompressorRegistry::discover() {
    std::array<CompressorLists, kOutputContainers.size()> lists;
    // Each encoder is probed once, whichever containers list it.
    std::vector<std::pair<std::string, bool>> probed;
    const auto opens = [&probed](const Compressor& candidate) {
        for (const auto& [encoderName, opened] : probed) {
            if (encoderName == candidate.encoderName) {
                return opened;
            }
        }
        probed.emplace_back(candidate.encoderName, encoderOpens(candidate));
        return probed.back().second;
    };
    for (OutputContainer container : kOutputContainers) {
        CompressorLists& target = lists[static_cast<std::size_t>(container)];
        for (CompressorKind kind : {CompressorKind::Video, CompressorKind::Audio}) {
            for (Compressor& candidate : candidateCompressors(kind, container)) {
                if (opens(candidate)) {
                    (kind == CompressorKind::Video ? target.video : target.audio)
                        .push_back(std::move(candidate));
                }
            }
        }
    }
    return CompressorRegistry(std::move(lists));
}

CompressorRegistry::CompressorRegistry(std::vector<Compressor> video, std::vector<Compressor> audio)
    : lists_{CompressorLists{std::move(video), std::move(audio)}} {}

std::vector<std::string> CompressorRegistry::videoNames(OutputContainer container) const {
    return namesOf(videoCompressors(container));
}
std::vector<std::string> CompressorRegistry::audioNames(OutputContainer container) const {
    return namesOf(audioCompressors(container));
}

std::optional<Compressor> CompressorRegistry::videoAt(int position) const {
    return at(videoCompressors(), position);
}
std::optional<Compressor> CompressorRegistry::audioAt(int position) const {
    return at(audioCompressors(), position);
}
std::optional<Compressor> CompressorRegistry::videoAt(OutputContainer container,
                                                      int position) const {
    return at(videoCompressors(container), position);
}
std::optional<Compressor> CompressorRegistry::audioAt(OutputContainer container,
                                                      int position) const {
    return at(audioCompressors(container), position);
}

std::optional<int> CompressorRegistry::findVideo(std::string_view lowerCaseFragment) const {
    return findIn(videoCompressors(), lowerCaseFragment);
}
std::optional<int> CompressorRegistry::findAudio(std::string_view lowerCaseFragment) const {
    return findIn(audioCompressors(), lowerCaseFragment);
}

std::optional<int> CompressorRegistry::findVideoEncoder(OutputContainer container,
                                                        std::string_view encoderName) const {
    return findEncoderIn(videoCompressors(container), encoderName);
}
std::optional<int> CompressorRegistry::findAudioEncoder(OutputContainer container,
                                                        std::string_view encoderName) const {
    return findEncoderIn(audioCompressors(container), encoderName);
}

std::optional<int> CompressorRegistry::defaultVideoPosition(OutputContainer container) const {
    return findDefaultIn(videoCompressors(container), container.format().defaultVideo);
}
std::optional<int> CompressorRegistry::defaultAudioPosition(OutputContainer container) const {
    return findDefaultIn(audioCompressors(container), container.format().defaultAudio);
}

}  // namespace editing
