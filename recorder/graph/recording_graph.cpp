#include "recorder/graph/recording_graph.h"

namespace recorder {

RecordingGraph::~RecordingGraph() {
    removeWriter();
}

void RecordingGraph::addCaptureDevice(const capture::CaptureDevice& device) {
    captureDevice_ = device;
    levelMeter_ = server_.openLevelMeter(device.name);
}

capture::CaptureResult RecordingGraph::addWriter(const std::string& path) {
    if (!captureDevice_) {
        return capture::CaptureResult::failure(capture::CaptureError::DeviceGone,
                                               "no capture device is open");
    }
    capture::CaptureResult result;
    writer_ = server_.openRecording(captureDevice_->name, path, result);
    return result;
}

capture::CaptureResult RecordingGraph::run() {
    if (!writer_) {
        return capture::CaptureResult::failure(capture::CaptureError::WriteFailed,
                                               "nothing to record into");
    }
    return writer_->run();
}

void RecordingGraph::pause() {
    if (writer_) {
        writer_->pause();
    }
}

capture::CaptureResult RecordingGraph::stopWhenReady() {
    return writer_ ? writer_->stop() : capture::CaptureResult::success();
}

void RecordingGraph::removeWriter() {
    writer_.reset();  // the session completes its file when it goes
}

double RecordingGraph::takePeakLevel() {
    return levelMeter_ ? levelMeter_->takePeakLevel() : 0.0;
}

}  // namespace recorder
