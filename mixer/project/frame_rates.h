#pragma once

#include <array>
#include <optional>

namespace mixer {

// The frame-rate list shared by the output options dialog and the start-up load. The stored
// "OutputFrameRateIndex" is the list index, so entries are only ever appended: 0 - 4 fixed
// rates, 5 the custom rate typed by the user (or stored as text), 6 - 7 the rates of today's
// cameras and phones, 8 the first clip's own rate (learned when a mix starts).
struct FrameRatePreset {
    const char* text;
    double framesPerSecond;
};

inline constexpr std::array<FrameRatePreset, 5> kFrameRatePresets{{
    {"23.976", 23.976},
    {"24", 24.0},
    {"25", 25.0},
    {"29.97", 29.97},
    {"30", 30.0},
}};

inline constexpr int kCustomFrameRateIndex = 5;
inline constexpr const char* kCustomFrameRateText = "Custom frame rate";

inline constexpr int kFirstLaterFrameRateIndex = 6;
inline constexpr std::array<FrameRatePreset, 2> kLaterFrameRatePresets{{
    {"50", 50.0},
    {"60", 60.0},
}};

inline constexpr int kFirstClipFrameRateIndex = 8;
inline constexpr const char* kSameAsFirstClipText = "Same as the first clip";
inline constexpr int kFrameRateEntryCount = 9;

inline constexpr double kDefaultFrameRate = 23.976;
// Below this a custom rate is not a usable frame rate (the options dialog refuses it too).
inline constexpr double kSmallestFrameRate = 0.001;

// The fixed rate of list entry `index`; nothing for the custom entry, the first clip's entry
// or an index outside the list.
constexpr std::optional<double> fixedFrameRateAt(int index) {
    if (index >= 0 && index < static_cast<int>(kFrameRatePresets.size())) {
        return kFrameRatePresets[static_cast<std::size_t>(index)].framesPerSecond;
    }
    const int later = index - kFirstLaterFrameRateIndex;
    if (later >= 0 && later < static_cast<int>(kLaterFrameRatePresets.size())) {
        return kLaterFrameRatePresets[static_cast<std::size_t>(later)].framesPerSecond;
    }
    return std::nullopt;
}

// The text of list entry `index` (0 - 8).
constexpr const char* frameRateEntryText(int index) {
    if (index >= 0 && index < static_cast<int>(kFrameRatePresets.size())) {
        return kFrameRatePresets[static_cast<std::size_t>(index)].text;
    }
    if (index == kCustomFrameRateIndex) {
        return kCustomFrameRateText;
    }
    if (index == kFirstClipFrameRateIndex) {
        return kSameAsFirstClipText;
    }
    return kLaterFrameRatePresets[static_cast<std::size_t>(index - kFirstLaterFrameRateIndex)].text;
}

}  // namespace mixer
