#include "mixer/dialogs/encoder_settings_fields.h"

#include <algorithm>

namespace mixer {

QualityScale qualityScaleFor(const editing::Compressor& compressor) {
    if (compressor.encoderName == "libx264") {
        return {1, 51, QStringLiteral("constant rate factor")};
    }
    return {1, 31, QStringLiteral("quantiser scale")};
}

QStringList speedPresetsFor(const editing::Compressor& compressor) {
    if (!compressor.hasSpeedPreset) {
        return {};
    }
    return {QStringLiteral("ultrafast"), QStringLiteral("superfast"), QStringLiteral("veryfast"),
            QStringLiteral("faster"),    QStringLiteral("fast"),      QStringLiteral("medium"),
            QStringLiteral("slow"),      QStringLiteral("slower"),    QStringLiteral("veryslow")};
}

bool hasEncoderSettings(const editing::Compressor& compressor) {
    return compressor.hasQuality || compressor.hasBitRate || compressor.hasKeyFrameInterval ||
           compressor.hasSpeedPreset;
}

editing::CompressorSettings clampedEncoderSettings(const editing::Compressor& compressor,
                                                   editing::CompressorSettings settings) {
    if (!compressor.hasQuality) {
        settings.quality = 0;
    } else if (settings.quality != 0) {
        const QualityScale scale = qualityScaleFor(compressor);
        settings.quality = std::clamp(settings.quality, scale.best, scale.smallest);
    }
    settings.bitRateKbps =
        compressor.hasBitRate ? std::clamp(settings.bitRateKbps, 0, kLargestBitRateKbps) : 0;
    settings.keyFrameInterval =
        compressor.hasKeyFrameInterval
            ? std::clamp(settings.keyFrameInterval, 0, kLargestKeyFrameInterval)
            : 0;
    if (!compressor.hasSpeedPreset) {
        settings.speedPreset.clear();
    }
    return settings;
}

}  // namespace mixer
