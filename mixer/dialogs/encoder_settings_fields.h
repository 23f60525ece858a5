#pragma once

#include "editing/compressors/compressor_registry.h"

#include <QString>
#include <QStringList>

namespace mixer {

// What the "Settings" dialog offers for one encoder, derived from the registry's description
// of it. A value of 0 (or an empty preset) always means "the encoder's own default".
struct QualityScale {
    int best = 1;       // the smallest number: best picture, largest file
    int smallest = 31;  // the largest number: smallest file
    QString name;       // how the encoder calls the scale
};

// x264 takes a constant rate factor 1 - 51; the other quality-driven encoders a quantiser
// scale 1 - 31.
QualityScale qualityScaleFor(const editing::Compressor& compressor);

// The speed presets of encoders that have them, fastest first.
QStringList speedPresetsFor(const editing::Compressor& compressor);

// True when the encoder offers anything to set.
bool hasEncoderSettings(const editing::Compressor& compressor);

inline constexpr int kLargestBitRateKbps = 200'000;
inline constexpr int kLargestKeyFrameInterval = 3'000;

// `settings` with every value brought into what the dialog offers for `compressor`: values
// of fields the encoder does not take are cleared, numbers are clamped to their ranges.
editing::CompressorSettings clampedEncoderSettings(const editing::Compressor& compressor,
                                                   editing::CompressorSettings settings);

}  // namespace mixer
