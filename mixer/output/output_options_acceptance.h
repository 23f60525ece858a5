#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/output/compressor_choice.h"
#include "mixer/output/container_compressors.h"
#include "mixer/output/profile_writer.h"
#include "mixer/project/mix_job.h"

#include <QString>

#include <array>
#include <optional>

namespace mixer {

// What the output options dialog's controls hold when the user presses OK. Selections are list
// indices, kNoListSelection (-1) when a list has none.
struct OutputOptionsEntries {
    QString outputName;                // 1022
    QString widthText;                 // 1027 (a preset's size reaches it through the hidden field)
    QString heightText;                // 1028
    int frameRateSelection = 0;        // 1055
    QString frameRateText;             // 1056
    int resizeModeSelection = 0;       // 1057
    int videoCompressorSelection = 0;  // 1001 when it shows the AVI list (as last shown for AVI)
    int audioCompressorSelection = 0;  // 1002 likewise
    // The selections of every container that remembers encoder names (MP4, Matroska, WebM ...),
    // indexed by container, as its lists were last shown (the stored choices when the user
    // never saw them); the AVI place is not read.
    std::array<CompressorSelections, editing::kOutputContainers.size()> namedSelections{};
    int resolutionSelection = 0;  // 1025; only its first clip entry changes what OK stores
};

// The outcome of an accepted OK: the edited copy of the settings and the compressors the render
// is to use (each `compressor` set exactly when its flag in `settings` is true).
struct AcceptedOutputOptions {
    OutputSettings settings;
    CompressorBinding video;
    CompressorBinding audio;
};

// Either the accepted options or the text of the box that keeps the dialog open.
struct OutputOptionsVerdict {
    std::optional<AcceptedOutputOptions> accepted;
    QString refusal;  // set when `accepted` is empty
};

inline constexpr const char* kFrameRateTooSmallText = "The frame rate is too small!";
inline constexpr const char* kOutputNameTooLongText =
    "The output file name is too long. Please choose a shorter name.";

// The OK step of the output options dialog over `current` (the dialog's copy). Refused input
// (a frame rate below 0.001, a name too long for the platform, a file name holding a
// wildcard, a frame size or rate the chosen video compressor cannot take) writes nothing; the
// size and rate of the first clip are judged when a mix starts. Accepted input is written to
// `profile` in this order: "OutputFrameRateIndex" (the raw selection, -1 included),
// "OutputFrameRate" ("%f"), "OutputName", "OutputWidth", "OutputHigh" (multiples of 8, at least
// 16), the video and then the audio
// "CompressorNumber" (selection - 1, or -2 without a selection), then each named-choice
// container's encoder names in table order (video, audio; empty without a selection),
// "OutputSizeFromFirstClip" (1 or 0). The render is handed the compressors of the output name's
// container; a list without selection hands it the default compressor, or none when there is no
// default.
OutputOptionsVerdict acceptOutputOptions(const OutputOptionsEntries& entries,
                                         const OutputSettings& current,
                                         const editing::CompressorRegistry& registry,
                                         ProfileWriter& profile);

}  // namespace mixer
