#pragma once

#include <QString>

#include "recorder/logic/capture_values.h"

namespace recorder {

// What Ambrevo's window starts with: the profile's values as the application's start-up read
// them before the window exists (recorder/app/recorder_start_up.h). Owned by the application
// and lent to the window for the run.
struct RecorderStartValues {
    CaptureValues capture;  // changes as devices and lines are chosen
    QString outputFile;     // the output name shown at start
    bool hintOff = false;   // the input hint stays off once start-up is over
};

}  // namespace recorder
