#pragma once

#include "mixer/project/mix_job.h"

#include <QString>

#include <optional>

namespace mixer {

// The checks of the two transition dialogs' OK: the defaults dialog (whole seconds, as the
// "TransitionDuration" key holds them) and the per-clip dialog (seconds with three decimals).
// Both refuse text that is not a number, a negative length, and a length above
// kLargestTransitionSeconds: a transition longer than a minute is no transition any more, and
// the bound keeps every length far inside what 100-ns counts and the key's integer can hold.

inline constexpr int kLargestTransitionSeconds = 60;
inline constexpr const char* kWholeSecondsText = "Please enter a whole number of seconds.";
inline constexpr const char* kNegativeTransitionText =
    "Transition duration should not be less than 0";
inline constexpr const char* kTransitionTooLongText =
    "Transition duration should not be more than 60 seconds";

// Why OK keeps a dialog open: the text and caption (empty: the program's name) of the message.
struct TransitionDurationRefusal {
    QString text;
    QString caption;
};

// What the defaults dialog's controls hold when the user presses OK.
struct TransitionDefaultsEntries {
    int typeSelection = -1;    // 0 random, 1 sequence, 2 same; -1 none
    int effectSelection = -1;  // catalogue row for "same"; -1 none
    QString durationText;      // whole seconds
    bool clipSoundInStep = false;
};

struct TransitionDefaultsVerdict {
    std::optional<TransitionDefaults> accepted;
    TransitionDurationRefusal refusal;  // meaningful when `accepted` is empty
};

// The new defaults: a selection of -1 keeps the previous type or effect; the duration must be
// a whole number from 0 to kLargestTransitionSeconds ("2", " 2 " and "2.0" are 2 seconds).
TransitionDefaultsVerdict readTransitionDefaults(const TransitionDefaultsEntries& entries,
                                                 const TransitionDefaults& previous);

// An entry's transition as the per-clip dialog edits it.
struct ClipTransitionValues {
    int effect = 0;
    RefTime duration = 0;  // 100-ns units
};

struct ClipTransitionVerdict {
    std::optional<ClipTransitionValues> accepted;
    TransitionDurationRefusal refusal;
};

// The per-clip values: an effect selection of -1 keeps the previous effect; the duration is
// seconds (any decimals) from 0 to kLargestTransitionSeconds, truncated to 100-ns units.
ClipTransitionVerdict readClipTransition(int effectSelection, const QString& durationText,
                                         const ClipTransitionValues& previous);

}  // namespace mixer
