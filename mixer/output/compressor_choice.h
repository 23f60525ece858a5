#pragma once

#include "editing/compressors/compressor_registry.h"

#include <optional>

namespace mixer {

// How a remembered compressor number ("CompressorNumber" of "DexVideoCompress" /
// "DexAudioCompress") becomes a list selection, and a list selection a number and a compressor.
// The lists hold "Full frames (uncompressed)" / "Uncompressed Audio" at index 0 followed by the
// registry's compressors in order, so list index = position + 1.

inline constexpr int kCompressorNeverChosen = -2;  // use the default compressor
inline constexpr int kCompressorNone = -1;         // uncompressed
inline constexpr int kNoListSelection = -1;

inline constexpr const char* kUncompressedVideoText = "Full frames (uncompressed)";
inline constexpr const char* kUncompressedAudioText = "Uncompressed Audio";

// The entry a list selects when the dialog opens: for kCompressorNeverChosen the default's
// position + 1 (entry 0 without a default), otherwise storedNumber + 1; a stored position that
// no longer exists (or any other out-of-range number) selects nothing.
int compressorListIndexForStored(int storedNumber, std::optional<int> defaultPosition,
                                 int compressorCount);

// The entry "Defaul" selects: the default's position + 1, or entry 0 without a default.
int defaultCompressorListIndex(std::optional<int> defaultPosition);

// The number OK stores for a list selection: selection - 1 (so entry 0 stores -1); no
// selection stores kCompressorNeverChosen, which means "the default" at the next start.
int storedNumberForListIndex(int listIndex);

// What the render is handed for one stream. `compressor` is set exactly when `use` is true:
// the render never sees a compressor flag without a compressor.
struct CompressorBinding {
    bool use = false;
    std::optional<editing::Compressor> compressor;
};

// The compressor a stored number stands for: -1 none; a position of the registry that
// compressor; kCompressorNeverChosen, or a position that no longer exists, the default
// compressor when there is one, else none.
CompressorBinding bindVideoCompressor(const editing::CompressorRegistry& registry,
                                      int storedNumber);
CompressorBinding bindAudioCompressor(const editing::CompressorRegistry& registry,
                                      int storedNumber);

}  // namespace mixer
