#pragma once

#include "base/sound/sound_defaults.h"

#include <cstdint>
#include <string>

namespace capture {

// How one sample of one channel is stored, in little-endian byte order as a WAV file holds it.
enum class SampleEncoding {
    UnsignedInt8,
    SignedInt16,
    SignedInt24,      // three bytes per sample
    SignedInt24In32,  // 24 significant bits in the high bytes of a 32-bit container
    SignedInt32,
    Float32,
    ALaw,
    MuLaw,
};

// The stream format of a recording: the capture source's own, never chosen by the program.
struct AudioFormat {
    SampleEncoding encoding = SampleEncoding::SignedInt16;
    int sampleRateHz = base::kDefaultSampleRateHz;
    int channelCount = 2;
    // WAVE speaker bits, one per channel in channel order (0: let readers assume the default).
    std::uint32_t channelMask = 0;

    int containerBytesPerSample() const;
    int validBitsPerSample() const;
    int bytesPerFrame() const { return containerBytesPerSample() * channelCount; }
    std::uint64_t bytesPerSecond() const {
        return static_cast<std::uint64_t>(bytesPerFrame()) *
               static_cast<std::uint64_t>(sampleRateHz);
    }
};

std::string describe(const AudioFormat& format);

}  // namespace capture
