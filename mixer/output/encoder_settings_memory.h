#pragma once

#include "editing/compressors/compressor_registry.h"

#include <map>
#include <optional>
#include <string>

namespace mixer {

// The encoder settings the user chose with the output options dialog's "Settings" button,
// one entry per encoder (keyed by its libavcodec name), kept for the run only: the main
// window owns one memory for the program's life and passes it to the dialog; nothing of it
// is written to the profile. Cancelling the options dialog keeps what "Settings" changed.
class EncoderSettingsMemory {
  public:
    // The settings to show for `compressor`: the remembered ones, else the registry's.
    editing::CompressorSettings settingsFor(const editing::Compressor& compressor) const;

    void remember(const editing::Compressor& compressor, editing::CompressorSettings settings);
    bool holds(const std::string& encoderName) const;

    // `compressor` with the remembered settings of its encoder applied (unchanged when none
    // are remembered): what the render is handed.
    editing::Compressor applyTo(editing::Compressor compressor) const;
    std::optional<editing::Compressor> applyTo(std::optional<editing::Compressor> compressor) const;

  private:
    std::map<std::string, editing::CompressorSettings> byEncoderName_;
};

}  // namespace mixer
