#pragma once

namespace recorder {

// The recorder's remembered capture choices, one instance per program run, owned by
// RecorderApp and lent to the window. Loaded from and saved to the profile keys of the same
// names; they change as devices and lines are chosen and reach the profile only at a close
// request.
struct CaptureValues {
    int nSoundCaptureIndex = 0;  // position of the chosen device in the device list
    int nCapturePinIndex = 0;    // position of the chosen line in the input-line list
    int nSearchFlag = 0;         // 0 until the microphone search has run once, then 1
    int nDeviceCount = 0;        // devices found by the last enumeration (not saved)
};

}  // namespace recorder
