#pragma once

#include <cstdio>
#include <string>

namespace mixer {

// The progress line of a command-line render on stderr: percent, speed (x real time) and time
// left. On a terminal it is redrawn in place several times a second; otherwise (a log file, a
// job scheduler) a line is written every few seconds.
class RenderProgressLine {
  public:
    explicit RenderProgressLine(std::FILE* stream);

    // `doneSeconds` of `totalSeconds` of output written after `wallSeconds` of work.
    void show(double doneSeconds, double totalSeconds, double wallSeconds);
    // Ends the line on a terminal, so the next message starts on a fresh one.
    void finish();

    // The text of one progress report, e.g. "42% 3.1x real time, 0:15 left".
    static std::string text(double doneSeconds, double totalSeconds, double wallSeconds);

  private:
    std::FILE* stream_;
    bool terminal_ = false;
    double lastShownWallSeconds_ = -1e9;
    bool drawn_ = false;
};

}  // namespace mixer
