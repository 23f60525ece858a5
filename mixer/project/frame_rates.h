#pragma once

#include <array>

namespace mixer {

// The frame-rate list shared by the output options dialog and the start-up load: entries
// 0 - 4 are fixed rates, entry 5 is the custom rate typed by the user (or stored as text).
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
inline constexpr double kDefaultFrameRate = 23.976;
// Below this a custom rate is not a usable frame rate (the options dialog refuses it too).
inline constexpr double kSmallestFrameRate = 0.001;

}  // namespace mixer
