#include "recorder/app/recorder_start_up.h"

#include "recorder/logic/recorder_settings.h"

namespace recorder {

RecorderStartValues readRecorderStartValues() {
    RecorderStartValues start;
    start.capture = RecorderSettings::readCaptureValues();
    start.capture.nDeviceCount = 0;  // counted by the window's own enumeration
    start.outputFile = RecorderSettings::readOutputFile();
    start.hintOff = RecorderSettings::readHintOnlyOnce(0) != 0;
    return start;
}

void saveWhatTheWindowReports(RecorderWindow& window) {
    QObject::connect(&window, &RecorderWindow::outputFileChosen, &window,
                     [](const QString& path) { RecorderSettings::writeOutputFile(path); });
    QObject::connect(&window, &RecorderWindow::closeRequested, &window,
                     [](const CaptureValues& values, const QString& outputFile) {
                         RecorderSettings::writeCaptureValues(values);
                         RecorderSettings::writeOutputFile(outputFile);
                     });
}

std::unique_ptr<RecorderWindow> startRecorderWindow(RecorderStartValues& start,
                                                    RecorderPorts ports) {
    start = readRecorderStartValues();
    auto window = std::make_unique<RecorderWindow>(start, ports);
    saveWhatTheWindowReports(*window);
    return window;
}

}  // namespace recorder
