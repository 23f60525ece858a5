#include "mixer/dialogs/trim_rules.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace mixer {

namespace {

constexpr RefTime kTicksPerMillisecond = editing::kRefTimePerSecond / 1000;
constexpr int kFallbackFramesPerSecond = 25;

}  // namespace

QString trimTimeText(RefTime time) {
    const long long milliseconds =
        std::max<long long>(0, (time + kTicksPerMillisecond / 2) / kTicksPerMillisecond);
    return QString::asprintf("%lld:%02lld:%02lld.%03lld", milliseconds / 3'600'000,
                             milliseconds / 60'000 % 60, milliseconds / 1000 % 60,
                             milliseconds % 1000);
}

std::optional<RefTime> parseTrimTime(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:(?:(\d+):)?(\d+):)?(\d+(?:\.\d*)?|\.\d+)\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const double hours = match.captured(1).isEmpty() ? 0 : match.captured(1).toDouble();
    const double minutes = match.captured(2).isEmpty() ? 0 : match.captured(2).toDouble();
    const double seconds = match.captured(3).toDouble();
    const double total = (hours * 60 + minutes) * 60 + seconds;
    if (!std::isfinite(total) || total > 1e9) {
        return std::nullopt;
    }
    return static_cast<RefTime>(std::llround(total * editing::kRefTimePerSecond));
}

TrimEditor::TrimEditor(RefTime durationRefTime, editing::ClipFrameRate rate, RefTime in,
                       RefTime out)
    : duration_(std::max<RefTime>(durationRefTime, 1)),
      frames_(rate.frames > 0 && rate.perSeconds > 0 ? rate.frames : kFallbackFramesPerSecond),
      perSeconds_(rate.frames > 0 && rate.perSeconds > 0 ? rate.perSeconds : 1) {
    // The last frame is the one showing just before the end.
    frameCount_ = std::max(1, frameAt(duration_ - 1) + 1);
    const RefTime end = out > 0 ? out : duration_;
    if (in < 0 || end <= in || end > duration_) {
        in = 0;
        out = duration_;
    }
    in_ = in;
    out_ = end > in ? end : duration_;
    moveToFrame(frameAt(in_));
}

RefTime TrimEditor::frameTime(int frame) const {
    // ceil(frame * perSeconds * ticks / frames): the first tick at or after the frame's time.
    const long long numerator = static_cast<long long>(frame) * perSeconds_ *
                                static_cast<long long>(editing::kRefTimePerSecond);
    return (numerator + frames_ - 1) / frames_;
}

int TrimEditor::frameAt(RefTime time) const {
    if (time <= 0) {
        return 0;
    }
    const long long frame =
        time * frames_ / (perSeconds_ * static_cast<long long>(editing::kRefTimePerSecond));
    return static_cast<int>(std::min<long long>(frame, 1'000'000'000));
}

void TrimEditor::moveToFrame(int frame) {
    frame_ = std::clamp(frame, 0, frameCount_ - 1);
}

void TrimEditor::setInHere() {
    in_ = positionRefTime();
    if (out_ <= in_) {
        out_ = duration_;
    }
}

void TrimEditor::setOutHere() {
    out_ = std::min(frameTime(frame_ + 1), duration_);
    if (in_ >= out_) {
        in_ = 0;
    }
}

bool TrimEditor::setInTime(RefTime time) {
    if (time < 0 || time >= out_) {
        return false;
    }
    in_ = time;
    moveToFrame(frameAt(time));
    return true;
}

bool TrimEditor::setOutTime(RefTime time) {
    // The end as shown (rounded to the millisecond) still means the end.
    if (time > duration_ && time - duration_ < kTicksPerMillisecond) {
        time = duration_;
    }
    if (time <= in_ || time > duration_) {
        return false;
    }
    out_ = time;
    return true;
}

}  // namespace mixer
