#pragma once

// Reads back the WAV and RF64 files the recorder writes, independently of the writer's code,
// and measures the tone in them. Header-only so that the recorder's tests share it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

struct WavContents {
    bool rf64 = false;
    int formatTag = 0;  // 1 PCM, 3 float, 0xFFFE extensible
    int subFormatTag = 0;
    int channelCount = 0;
    int sampleRateHz = 0;
    int bitsPerSample = 0;
    std::uint64_t declaredDataBytes = 0;  // what the header says
    std::uint64_t storedDataBytes = 0;    // what the file really holds after the header
    std::vector<double> firstChannel;     // samples of channel 0, -1.0 .. 1.0, declared part only
    double durationSeconds() const {
        return sampleRateHz > 0 ? static_cast<double>(firstChannel.size()) / sampleRateHz : 0.0;
    }
};

inline std::uint32_t littleEndian32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t littleEndian64(const unsigned char* p) {
    return littleEndian32(p) | (static_cast<std::uint64_t>(littleEndian32(p + 4)) << 32);
}

inline std::optional<WavContents> readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 12) {
        return std::nullopt;
    }
    WavContents wav;
    wav.rf64 = std::memcmp(bytes.data(), "RF64", 4) == 0;
    if ((!wav.rf64 && std::memcmp(bytes.data(), "RIFF", 4) != 0) ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    std::uint64_t ds64DataBytes = 0;
    std::size_t position = 12;
    std::size_t dataStart = 0;
    while (position + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + position;
        const std::uint32_t size = littleEndian32(chunk + 4);
        if (std::memcmp(chunk, "ds64", 4) == 0) {
            ds64DataBytes = littleEndian64(chunk + 16);
        } else if (std::memcmp(chunk, "fmt ", 4) == 0) {
            wav.formatTag = chunk[8] | (chunk[9] << 8);
            wav.channelCount = chunk[10] | (chunk[11] << 8);
            wav.sampleRateHz = static_cast<int>(littleEndian32(chunk + 12));
            wav.bitsPerSample = chunk[22] | (chunk[23] << 8);
            wav.subFormatTag = wav.formatTag == 0xFFFE ? (chunk[32] | (chunk[33] << 8)) : 0;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            wav.declaredDataBytes = (wav.rf64 && size == 0xFFFFFFFFu) ? ds64DataBytes : size;
            dataStart = position + 8;
            break;
        }
        position += 8 + size + (size & 1);
    }
    if (dataStart == 0 || wav.channelCount == 0) {
        return std::nullopt;
    }
    wav.storedDataBytes = bytes.size() - dataStart;
    const int tag = wav.formatTag == 0xFFFE ? wav.subFormatTag : wav.formatTag;
    const std::size_t sampleBytes = static_cast<std::size_t>(wav.bitsPerSample / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(wav.channelCount);
    const std::uint64_t usable = std::min(wav.declaredDataBytes, wav.storedDataBytes);
    for (std::uint64_t offset = 0; offset + frameBytes <= usable; offset += frameBytes) {
        const unsigned char* sample = bytes.data() + dataStart + offset;
        double value = 0.0;
        if (tag == 3 && sampleBytes == 4) {
            float f;
            std::memcpy(&f, sample, 4);
            value = f;
        } else if (tag == 1 && sampleBytes == 2) {
            value = static_cast<std::int16_t>(sample[0] | (sample[1] << 8)) / 32768.0;
        } else if (tag == 1 && sampleBytes == 4) {
            value = static_cast<std::int32_t>(littleEndian32(sample)) / 2147483648.0;
        } else if (tag == 1 && sampleBytes == 1) {
            value = (sample[0] - 128) / 128.0;
        } else {
            return std::nullopt;
        }
        wav.firstChannel.push_back(value);
    }
    return wav;
}

// Frequency of a steady tone from its upward zero crossings.
inline double toneFrequencyHz(const std::vector<double>& samples, int sampleRateHz,
                              std::size_t first = 0, std::size_t count = SIZE_MAX) {
    const std::size_t end =
        std::min(samples.size(), count == SIZE_MAX ? samples.size() : first + count);
    std::size_t firstCrossing = 0;
    std::size_t lastCrossing = 0;
    int crossings = 0;
    for (std::size_t i = first + 1; i < end; ++i) {
        if (samples[i - 1] < 0.0 && samples[i] >= 0.0) {
            if (crossings == 0) {
                firstCrossing = i;
            }
            lastCrossing = i;
            ++crossings;
        }
    }
    if (crossings < 2) {
        return 0.0;
    }
    return (crossings - 1) * static_cast<double>(sampleRateHz) /
           static_cast<double>(lastCrossing - firstCrossing);
}

// Longest run of samples quieter than `threshold`, in samples.
inline std::size_t longestSilentRun(const std::vector<double>& samples, double threshold = 1e-4) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (double sample : samples) {
        run = std::fabs(sample) < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace test_support
