#include "mixer/dialogs/audio_settings_rules.h"

#include "mixer/output/number_text.h"

#include <cmath>
#include <limits>

namespace mixer {

namespace {

constexpr double kRefTimeUnitsPerSecond = 10'000'000.0;
// Largest start time, in seconds, whose 100-ns count fits a signed 64-bit integer.
constexpr double kLargestStartTimeSeconds =
    static_cast<double>(std::numeric_limits<RefTime>::max() / 10'000'000);

AudioSettingsVerdict refuse(AudioSettingsBox box, const char* text, const char* caption = "") {
    return {std::nullopt, {box, QString::fromUtf8(text), QString::fromUtf8(caption)}};
}

}  // namespace

AudioSettingsValues audioSettingsOf(const AudioEntry& entry) {
    return {entry.Volume, static_cast<double>(entry.StartTime) / kRefTimeUnitsPerSecond,
            entry.Speed, entry.Repeat};
}

void applyAudioSettings(const AudioSettingsValues& values, AudioEntry& entry) {
    entry.Volume = values.volume;
    entry.StartTime =
        static_cast<RefTime>(std::trunc(values.startTimeSeconds * kRefTimeUnitsPerSecond));
    entry.Speed = values.speed;
    entry.Repeat = values.repeat;
}

AudioSettingsVerdict readAudioSettings(const AudioSettingsEntries& entries,
                                       const AudioSettingsValues& previous) {
    const std::optional<double> startTime = wholeDecimal(entries.startTimeText);
    if (!startTime) {
        return refuse(AudioSettingsBox::StartTime, kNotANumberText);
    }
    const std::optional<double> volume = wholeDecimal(entries.volumeText);
    if (!volume) {
        return refuse(AudioSettingsBox::Volume, kNotANumberText);
    }
    if (*volume < 0.0 || *volume > kLargestVolume) {
        return refuse(AudioSettingsBox::Volume, kVolumeRangeText);
    }
    const std::optional<double> speed = wholeDecimal(entries.speedText);
    if (!speed) {
        return refuse(AudioSettingsBox::Speed, kNotANumberText);
    }
    if (*startTime < 0.0) {
        return refuse(AudioSettingsBox::StartTime, kNegativeStartTimeText, kErrorCaption);
    }
    if (*startTime >= kLargestStartTimeSeconds) {
        return refuse(AudioSettingsBox::StartTime, kStartTimeTooLargeText, kErrorCaption);
    }
    if (*speed <= 0.0) {
        return refuse(AudioSettingsBox::Speed, kSpeedNotPositiveText, kErrorCaption);
    }

    AudioSettingsValues accepted{*volume, *startTime, *speed, previous.repeat};
    if (entries.repeatSelection == 0 || entries.repeatSelection == 1) {
        accepted.repeat = entries.repeatSelection;
    }
    return {accepted, {}};
}

}  // namespace mixer
