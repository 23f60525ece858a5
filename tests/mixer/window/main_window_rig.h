#pragma once

#include "editing/compressors/compressor_registry.h"
#include "mixer/project/settings_store.h"
#include "mixer/window/main_window.h"
#include "mixer/window/orvindel_start_up.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <memory>

namespace test_support {

// What a main window under test runs over: the profile, the scripted ports and no compressors
// (every stream is written uncompressed). The window is declared last, so it goes first.
struct MainWindowRig {
    // Opens a new window the way the program starts its own: over the stored profile.
    void startWindow() {
        window = mixer::startMainWindow(store, mixer::MainWindowPorts{prompt, picker, launcher},
                                        compressors);
    }

    mixer::SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    editing::CompressorRegistry compressors{{}, {}};
    std::unique_ptr<mixer::MainWindow> window;
};

}  // namespace test_support
