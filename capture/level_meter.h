#pragma once

#include <memory>

namespace capture {

namespace pulse {
class PeakStream;
}

// The live input level of a capture device: the server's peak detector at 25 readings a
// second, whether or not a recording runs. peakLevel() may be called from any thread.
class LevelMeter {
  public:
    explicit LevelMeter(std::unique_ptr<pulse::PeakStream> stream);
    ~LevelMeter();
    LevelMeter(const LevelMeter&) = delete;
    LevelMeter& operator=(const LevelMeter&) = delete;

    // The highest absolute sample, 0.0 - 1.0, since the previous call.
    double takePeakLevel();

  private:
    std::unique_ptr<pulse::PeakStream> stream_;
};

}  // namespace capture
