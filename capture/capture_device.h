#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

// One input line of a capture device: a port of the source (Microphone, Line In, ...).
struct InputLine {
    std::string name;         // the server's port name, used to activate it
    std::string description;  // what the user sees
};

// A capture device: a sound-server source that is not the monitor of an output.
struct CaptureDevice {
    std::string name;         // the server's source name; stable across unplug and replug
    std::string description;  // the friendly name shown in the device list
    // Input lines in the server's port order. A source without ports has exactly one line,
    // the source itself (name empty, description the source's description).
    std::vector<InputLine> lines;
    int activeLineIndex = 0;  // position in `lines` of the active port; 0 without ports
    bool hasPorts = false;
    double level = 0.0;  // the source's volume, 0.0 - 1.0 (full scale is 1.0; louder is clamped)
    bool muted = false;
};

}  // namespace capture
