#include "recorder/graph/recording_graph.h"

namespace recorder {

RecordingGraph::~RecordingGraph() {
    removeWriter();
}

void RecordingGraph::addCaptureDevice(const capture::CaptureDevice& device) {
    captureDevice_ = device;
    levelMeter_ = server_.openLevelMeter(device.name);
}

bool RecordingGraph::addWriter(const std::string& path, std::string& error) {
    if (!captureDevice_) {
        error = "no capture device is open";
        return false;
    }
    writer_ = server_.openRecording(captureDevice_->name, path, error);
    return writer_ != nullptr;
}

bool RecordingGraph::run(std::string& error) {
    if (!writer_) {
        error = "nothing to record into";
        return false;
    }
    return writer_->run(error);
}

void RecordingGraph::pause() {
    if (writer_) {
        writer_->pause();
    }
}

std::string RecordingGraph::stopWhenReady() {
    if (writer_ && !writer_->stop()) {
        return writer_->writeError();
    }
    return {};
}

void RecordingGraph::removeWriter() {
    if (writer_) {
        writer_->stop();
        writer_.reset();
    }
}

double RecordingGraph::takePeakLevel() {
    return levelMeter_ ? levelMeter_->takePeakLevel() : 0.0;
}

}  // namespace recorder
