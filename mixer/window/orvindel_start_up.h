#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/project/settings_store.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_start.h"

#include <memory>

namespace mixer {

// Orvindel's start-up before its window exists. It only reads the profile: what the program
// stores is written at the moments the program defines (output options OK, after an add, the
// transition defaults' OK, a window size the user chose), by the logic those moments call.

// The profile's values for a new main window, read in the program's start-up order: the stored
// compressor choices bound from `compressors` for the stored output name's container (through
// bindStoredCompressors, whose use flags the output settings take), the transition defaults,
// the output name and size, the frame rate.
MainWindowStart readMainWindowStart(const editing::CompressorRegistry& compressors,
                                    const SettingsStore& store);

// The program's start-up: the main window over readMainWindowStart(). `store`, the ports and
// `compressors` outlive the window.
std::unique_ptr<MainWindow> startMainWindow(SettingsStore& store, MainWindowPorts ports,
                                            const editing::CompressorRegistry& compressors);

}  // namespace mixer
