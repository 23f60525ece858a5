#pragma once

#include <memory>

#include "recorder/logic/recorder_start_values.h"
#include "recorder/window/recorder_window.h"

namespace recorder {

// Ambrevo's start-up and saving around its window. The window reads and writes no profile: the
// start-up reads it before the window exists, and what the window reports is written at the
// moments it reports it. Keys and defaults: recorder/logic/recorder_settings.h.

// The profile's values for a new window: "nSoundCaptureIndex", "nCapturePinIndex",
// "nSearchFlag", "output_wav_file", and "b_only_once" read with default 0.
RecorderStartValues readRecorderStartValues();

// Writes the output name the window reports after Browse at once, and at a close request its
// capture values and output name; Enter and Esc end the window without a report, so nothing is
// written then. The connections end with the window.
void saveWhatTheWindowReports(RecorderWindow& window);

// The program's start-up: fills `start` from the profile, builds the window over it (which
// connects to the sound server and opens the stored device, or fails as the window says) and has
// its reports saved. `start` and the ports outlive the window.
std::unique_ptr<RecorderWindow> startRecorderWindow(RecorderStartValues& start,
                                                    RecorderPorts ports);

}  // namespace recorder
