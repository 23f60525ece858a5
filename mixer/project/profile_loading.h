#pragma once

#include "mixer/project/frame_rates.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/settings_store.h"

#include <QString>

#include <optional>

namespace mixer {

// Turns the remembered values of the profile into the project model at start-up, and keeps
// the folders of the last added files. Each function reads the profile when it is called.

struct FrameRateChoice {
    int index = 0;
    double framesPerSecond = kDefaultFrameRate;
};

// The rate that a stored frame-rate index selects: 0 - 4 and 6 - 7 the preset rates, 5 the
// stored custom text read as a decimal number (leading number, the rest ignored), 8 the first
// clip's rate (23.976 until a mix learns it). Any other index becomes index 0 at 23.976. A
// custom text that is not a usable rate (not a number, below 0.001 or above 1000 frames per
// second) also gives index 0 at 23.976, so a hand-edited profile never reaches the render
// with a rate of zero.
FrameRateChoice frameRateForStoredIndex(int storedIndex, const QString& storedCustomText);

// Reads "OutputFrameRateIndex" (and "OutputFrameRate" only for the custom entry) into
// OutputFrameRateIndex and OutputFrameRate.
void loadFrameRate(const SettingsStore& store, OutputSettings& output);

// Reads "OutputName", "OutputWidth", "OutputHigh" and "OutputSizeFromFirstClip". A side outside
// 16 - 8192 pixels (a damaged or hand-edited profile) reads as its default, 352 or 240.
void loadOutputNameAndSize(const SettingsStore& store, OutputSettings& output);

// Reads "TransitionSettings": "TransitionDuration", "TransitionType", "TransitionName" and
// "ClipSoundInStep"; storeTransitionDefaults writes the same four keys.
TransitionDefaults loadTransitionDefaults(const SettingsStore& store);
void storeTransitionDefaults(SettingsStore& store, const TransitionDefaults& defaults);

// The stored compressor positions, kept exactly as stored until the compressor registry
// binds them: -2 never chosen (use the default), -1 none, >= 0 position in the list.
struct StoredCompressorChoices {
    int videoCompressorNumber = -2;
    int audioCompressorNumber = -2;
};
StoredCompressorChoices loadCompressorChoices(const SettingsStore& store);

// The folder of `path` as the add dialogs remember it: the path cut after its last '/', the
// '/' kept ("/home/ann/clips/a.avi" -> "/home/ann/clips/", "/a.avi" -> "/"); a path without a
// '/' gives the empty text (the dialog then starts where it likes). Cut on characters, never
// on bytes.
QString folderOfPath(const QString& path);

// Stores folderOfPath(addedPath) as "Option"/"LastPhotoFolder" (videos) or
// "Option"/"LastAudioFolder" (sounds); the last... functions read them back.
void rememberVideoFolder(SettingsStore& store, const QString& addedPath);
void rememberAudioFolder(SettingsStore& store, const QString& addedPath);
QString lastVideoFolder(const SettingsStore& store);
QString lastAudioFolder(const SettingsStore& store);

// Reads the leading decimal number of `text` in the C locale (blanks before it allowed, the
// rest ignored); nothing when the text does not start with a number.
std::optional<double> leadingDecimalNumber(const QString& text);

}  // namespace mixer
