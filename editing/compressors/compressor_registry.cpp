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

std::vector<Compressor> candidateCompressors(CompressorKind kind) {
    if (kind == CompressorKind::Video) {
        // Order is part of the contract: positions are remembered between runs.
        return {
            videoCandidate("DivX-compatible MPEG-4 Part 2", "mpeg4", {3, 0, 250, {}},
                           quantised(kQuantiserScale, kMpegKeyFrameInterval)),
            videoCandidate("Microsoft MPEG-4 Video Codec V3", "msmpeg4", {3, 0, 250, {}},
                           quantised(kUnclippedQuantiserScale, kMpegKeyFrameInterval)),
            videoCandidate("Microsoft MPEG-4 Video Codec V2", "msmpeg4v2", {3, 0, 250, {}},
                           quantised(kUnclippedQuantiserScale, kMpegKeyFrameInterval)),
            videoCandidate("H.264 / AVC (x264)", "libx264", {23, 0, 250, "veryfast"},
                           x264Settable()),
            // Every JPEG frame is a key frame.
            videoCandidate("Motion JPEG", "mjpeg", {3, 0, 0, {}},
                           quantised(kQuantiserScale, std::nullopt)),
            videoCandidate("Huffyuv lossless", "huffyuv", {}, {}),
            videoCandidate("FFmpeg Huffyuv lossless", "ffvhuff", {}, {}),
            videoCandidate("FFV1 lossless", "ffv1", {0, 0, 250, {}}, keyFramesOnly()),
            videoCandidate("PNG frames lossless", "png", {}, {}),
            videoCandidate("Zip Motion Blocks Video", "zmbv", {0, 0, 250, {}}, keyFramesOnly()),
        };
    }
    return {
        audioCandidate("Microsoft ADPCM", "adpcm_ms", 0),
        audioCandidate("IMA ADPCM", "adpcm_ima_wav", 0),
        audioCandidate("MPEG Layer-3 (MP3)", "libmp3lame", 192, {8, 320}),
        audioCandidate("MPEG Layer-2 (MP2)", "mp2", 192, {32, 384}),
        audioCandidate("Dolby Digital AC-3", "ac3", 192, {32, 640}),
        audioCandidate("CCITT A-Law", "pcm_alaw", 0),
        audioCandidate("CCITT u-Law", "pcm_mulaw", 0),
        audioCandidate("PCM 8-bit unsigned", "pcm_u8", 0),
    };
}

bool encoderOpens(const Compressor& compressor) {
    ffmpeg::CodecContextHandle context;
    std::string description;
    const EncoderOptions probe{StreamHeaders::InBand, EncoderUse::Probe};
    if (compressor.kind == CompressorKind::Video) {
        return succeeded(openVideoEncoder(compressor, VideoEncoderFormat{64, 48, {25, 1}}, probe,
                                          context, description));
    }
    return succeeded(
        openAudioEncoder(compressor, AudioEncoderFormat{44100, 2}, probe, context, description));
}

CompressorRegistry CompressorRegistry::discover() {
    std::vector<Compressor> lists[2];
    for (CompressorKind kind : {CompressorKind::Video, CompressorKind::Audio}) {
        for (Compressor& candidate : candidateCompressors(kind)) {
            if (encoderOpens(candidate)) {
                lists[kind == CompressorKind::Video ? 0 : 1].push_back(std::move(candidate));
            }
        }
    }
    return CompressorRegistry(std::move(lists[0]), std::move(lists[1]));
}

CompressorRegistry::CompressorRegistry(std::vector<Compressor> video, std::vector<Compressor> audio)
    : video_(std::move(video)), audio_(std::move(audio)) {}

std::vector<std::string> CompressorRegistry::videoNames() const {
    return namesOf(video_);
}
std::vector<std::string> CompressorRegistry::audioNames() const {
    return namesOf(audio_);
}

std::optional<Compressor> CompressorRegistry::videoAt(int position) const {
    return at(video_, position);
}
std::optional<Compressor> CompressorRegistry::audioAt(int position) const {
    return at(audio_, position);
}

std::optional<int> CompressorRegistry::findVideo(std::string_view lowerCaseFragment) const {
    return findIn(video_, lowerCaseFragment);
}
std::optional<int> CompressorRegistry::findAudio(std::string_view lowerCaseFragment) const {
    return findIn(audio_, lowerCaseFragment);
}

}  // namespace editing
