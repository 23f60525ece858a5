#pragma once

#include "mixer/project/mix_job.h"

#include <QString>

#include <optional>

namespace mixer {

// The values the audio settings dialog edits for one AudioEntry: start time in seconds, the
// rest as the entry holds them.
struct AudioSettingsValues {
    double volume = 1.0;
    double startTimeSeconds = 0.0;
    double speed = 1.0;
    int repeat = 0;  // 0 "No", 1 "Yes"
};

AudioSettingsValues audioSettingsOf(const AudioEntry& entry);

// Writes accepted values back: the start time becomes 100-ns units, truncated toward zero.
void applyAudioSettings(const AudioSettingsValues& values, AudioEntry& entry);

// What the dialog's boxes hold when the user presses OK.
struct AudioSettingsEntries {
    QString startTimeText;     // 1063
    QString volumeText;        // 1062
    QString speedText;         // 1064
    int repeatSelection = -1;  // 1065: 0 "No", 1 "Yes", -1 none
};

enum class AudioSettingsBox { StartTime, Volume, Speed };

// The box that keeps the dialog open: its text and caption (empty: the program's name), and
// the edit box that gets the focus.
struct AudioSettingsRefusal {
    AudioSettingsBox box = AudioSettingsBox::StartTime;
    QString text;
    QString caption;
};

struct AudioSettingsVerdict {
    std::optional<AudioSettingsValues> accepted;
    AudioSettingsRefusal refusal;  // meaningful when `accepted` is empty
};

inline constexpr double kLargestVolume = 100.0;
inline constexpr const char* kNotANumberText = "Please enter a number.";
inline constexpr const char* kVolumeRangeText = "Please enter a number between 0 and 100.";
inline constexpr const char* kNegativeStartTimeText = "Start time should be greater than 0";
inline constexpr const char* kStartTimeTooLargeText = "Start time is too large.";
inline constexpr const char* kSpeedNotPositiveText = "Speed should be greater than 0";
inline constexpr const char* kErrorCaption = "Error";

// The OK step: reads start time, volume (and checks its range 0 - 100), then speed; a box
// that is not a number as a whole is refused with "Please enter a number.". Then a start time
// below 0 is refused (0 is accepted), a start time beyond what 100-ns units can hold is
// refused, and a speed of 0 or below is refused. A repeat selection of 0 or 1 replaces
// `previous.repeat`; no selection keeps it.
AudioSettingsVerdict readAudioSettings(const AudioSettingsEntries& entries,
                                       const AudioSettingsValues& previous);

}  // namespace mixer
