#pragma once

// Test helper: the clips and tones the render tests use, made once per test executable.

#include <string>

namespace render_test {

struct RenderMedia {
    std::string red;           // 160x120, 25 fps, 1 s, 440 Hz tone
    std::string green;         // 160x120, 25 fps, 1 s, 880 Hz tone
    std::string blue;          // 160x120, 25 fps, 1 s, no sound
    std::string wide;          // 160x60 yellow, 1 s
    std::string whiteOverRed;  // top half white, bottom half red, 1 s
    std::string redThenBlue;   // 0.2 s red then 0.2 s blue
    std::string tone440;       // 1 s WAV, amplitude 0.5
    std::string tone1000;      // 2 s WAV, amplitude 0.5
    // A phone-like H.264 (with B-frames) + AAC MP4, 160x120, 25 fps, 2 s: black and silent but
    // for a white flash and a 1 kHz beep that both start at 0.92 s and last 0.2 s.
    std::string flashAndBeep;
    // H.264 MP4 coded 160x120 (top half white, bottom half red) with the display matrix the
    // ffmpeg tool writes for "rotate=90": players show it 120x160 with the white half on the
    // left (turned a quarter counter-clockwise).
    std::string rotatedQuarterTurn;
    std::string folder;
};

// Made on first use in a temporary folder that lives as long as the test executable.
const RenderMedia& renderMedia();

}  // namespace render_test
