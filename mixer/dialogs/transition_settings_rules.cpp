#include "mixer/dialogs/transition_settings_rules.h"

#include "mixer/dialogs/audio_settings_rules.h"
#include "mixer/output/number_text.h"

#include <cmath>

namespace mixer {

namespace {

TransitionDurationRefusal refusal(const char* text, const char* caption = "") {
    return {QString::fromUtf8(text), QString::fromUtf8(caption)};
}

// The seconds in `text` when they are a number within 0 .. kLargestTransitionSeconds.
std::optional<double> transitionSeconds(const QString& text, TransitionDurationRefusal& refused) {
    const std::optional<double> seconds = wholeDecimal(text);
    if (!seconds) {
        refused = refusal(kNotANumberText);
        return std::nullopt;
    }
    if (*seconds < 0.0) {
        refused = refusal(kNegativeTransitionText, kErrorCaption);
        return std::nullopt;
    }
    if (*seconds > kLargestTransitionSeconds) {
        refused = refusal(kTransitionTooLongText, kErrorCaption);
        return std::nullopt;
    }
    return seconds;
}

}  // namespace

TransitionDefaultsVerdict readTransitionDefaults(const TransitionDefaultsEntries& entries,
                                                 const TransitionDefaults& previous) {
    TransitionDefaultsVerdict verdict;
    const std::optional<double> seconds = transitionSeconds(entries.durationText, verdict.refusal);
    if (!seconds) {
        return verdict;
    }
    if (*seconds != std::floor(*seconds)) {
        verdict.refusal = refusal(kWholeSecondsText);
        return verdict;
    }
    TransitionDefaults accepted = previous;
    accepted.TransitionDuration = static_cast<int>(*seconds);
    if (entries.typeSelection >= 0 && entries.typeSelection <= 2) {
        accepted.TransitionType = entries.typeSelection;
    }
    if (entries.effectSelection >= 0) {
        accepted.TransitionName = entries.effectSelection;
    }
    accepted.ClipSoundInStep = entries.clipSoundInStep;
    verdict.accepted = accepted;
    return verdict;
}

ClipTransitionVerdict readClipTransition(int effectSelection, const QString& durationText,
                                         const ClipTransitionValues& previous) {
    ClipTransitionVerdict verdict;
    const std::optional<double> seconds = transitionSeconds(durationText, verdict.refusal);
    if (!seconds) {
        return verdict;
    }
    ClipTransitionValues accepted = previous;
    if (effectSelection >= 0) {
        accepted.effect = effectSelection;
    }
    // A tenth of a 100-ns unit absorbs the binary rounding of decimal input ("0.3" is stored
    // a hair below 0.3), so truncation keeps every unit the user typed.
    accepted.duration = static_cast<RefTime>(
        std::trunc(*seconds * static_cast<double>(editing::kRefTimePerSecond) + 0.1));
    verdict.accepted = accepted;
    return verdict;
}

}  // namespace mixer
