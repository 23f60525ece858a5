#include "mixer/cli/render_progress_line.h"

#include <unistd.h>
#include <algorithm>
#include <cmath>

namespace mixer {

namespace {

constexpr double kTerminalIntervalSeconds = 0.25;
constexpr double kLogIntervalSeconds = 5.0;

std::string clockText(double seconds) {
    const long whole = std::lround(std::max(0.0, seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

RenderProgressLine::RenderProgressLine(std::FILE* stream)
    : stream_(stream), terminal_(::isatty(::fileno(stream)) == 1) {}

std::string RenderProgressLine::text(double doneSeconds, double totalSeconds, double wallSeconds) {
    const double fraction = totalSeconds > 0 ? std::clamp(doneSeconds / totalSeconds, 0.0, 1.0) : 0;
    char text[96];
    if (wallSeconds <= 0 || doneSeconds <= 0) {
        std::snprintf(text, sizeof text, "%3d%%", static_cast<int>(fraction * 100));
        return text;
    }
    const double speed = doneSeconds / wallSeconds;
    const double leftSeconds = (totalSeconds - doneSeconds) / speed;
    std::snprintf(text, sizeof text, "%3d%% %.1fx real time, %s left",
                  static_cast<int>(fraction * 100), speed, clockText(leftSeconds).c_str());
    return text;
}

void RenderProgressLine::show(double doneSeconds, double totalSeconds, double wallSeconds) {
    const double interval = terminal_ ? kTerminalIntervalSeconds : kLogIntervalSeconds;
    if (wallSeconds - lastShownWallSeconds_ < interval) {
        return;
    }
    lastShownWallSeconds_ = wallSeconds;
    const std::string line = text(doneSeconds, totalSeconds, wallSeconds);
    if (terminal_) {
        std::fprintf(stream_, "\r%s\033[K", line.c_str());
        drawn_ = true;
    } else {
        std::fprintf(stream_, "%s\n", line.c_str());
    }
    std::fflush(stream_);
}

void RenderProgressLine::finish() {
    if (terminal_ && drawn_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        drawn_ = false;
    }
}

}  // namespace mixer
