#pragma once

#include "editing/compressors/compressor_registry.h"

#include <QStringList>

namespace mixer {

// What the "Settings" dialog offers for one encoder comes from the registry's description
// of it (Compressor::settable): which fields, their ranges and the preset names. A value of 0
// (or an empty preset) always means "the encoder's own default".

// True when the encoder offers anything to set.
bool hasEncoderSettings(const editing::Compressor& compressor);

// The speed presets of the encoder, fastest first; empty when it has none.
QStringList speedPresetsFor(const editing::Compressor& compressor);

// `settings` with every value brought into what the encoder offers: values of fields the
// encoder does not take are cleared, numbers are clamped to their ranges.
editing::CompressorSettings clampedEncoderSettings(const editing::Compressor& compressor,
                                                   const editing::CompressorSettings& settings);

}  // namespace mixer
