#include "capture/level_meter.h"

#include "capture/pulse/recording_stream.h"

namespace capture {

LevelMeter::LevelMeter(std::unique_ptr<pulse::PeakStream> stream) : stream_(std::move(stream)) {}
LevelMeter::~LevelMeter() = default;
double LevelMeter::takePeakLevel() {
    return stream_->takePeak();
}

}  // namespace capture
