#pragma once

#include <QString>

#include "recorder/logic/capture_values.h"

namespace recorder {

// The recorder's profile: QSettings of organisation "Korvane", application "ambrevo", group
// "Option" (~/.config/Korvane/ambrevo.conf). A missing value reads as its default.
class RecorderSettings {
  public:
    // "nSoundCaptureIndex", "nCapturePinIndex", "nSearchFlag" (default 0 each).
    static CaptureValues readCaptureValues();
    static void writeCaptureValues(const CaptureValues& values);

    // "output_wav_file"; default ~/recorder.wav (absolute).
    static QString readOutputFile();
    static void writeOutputFile(const QString& path);
    static QString defaultOutputFile();

    // "b_only_once": the main window reads it with default 0, the hint's check box with 1.
    static int readHintOnlyOnce(int defaultValue);
    static void writeHintOnlyOnce(int value);
};

}  // namespace recorder
