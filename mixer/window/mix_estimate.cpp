#include "mixer/window/mix_estimate.h"

#include <algorithm>
#include <cmath>

namespace mixer {

namespace {

QString clockText(std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = (seconds % 3600) / 60;
    const std::int64_t rest = seconds % 60;
    if (hours > 0) {
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(rest, 2, 10, QLatin1Char('0'));
    }
    return QStringLiteral("%1:%2").arg(minutes).arg(rest, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString mixEstimateText(editing::RefTime writtenRefTime, editing::RefTime durationRefTime,
                        std::int64_t elapsedMs) {
    if (elapsedMs < kEstimateAfterMs || writtenRefTime <= 0 || durationRefTime <= 0) {
        return {};
    }
    const double writtenSeconds = static_cast<double>(writtenRefTime) / editing::kRefTimePerSecond;
    const double elapsedSeconds = static_cast<double>(elapsedMs) / 1000.0;
    const double speed = writtenSeconds / elapsedSeconds;
    const double remainingSeconds =
        static_cast<double>(std::max<editing::RefTime>(durationRefTime - writtenRefTime, 0)) /
        editing::kRefTimePerSecond;
    const auto secondsLeft = static_cast<std::int64_t>(std::ceil(remainingSeconds / speed));
    return QStringLiteral("%1 left, %2x real time")
        .arg(clockText(secondsLeft))
        .arg(speed, 0, 'f', 1);
}

}  // namespace mixer
