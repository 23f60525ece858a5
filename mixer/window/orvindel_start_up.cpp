#include "mixer/window/orvindel_start_up.h"

#include "editing/compressors/output_container.h"

namespace mixer {

MainWindowStart readMainWindowStart(const editing::CompressorRegistry& compressors,
                                    const SettingsStore& store) {
    // AVI: -2 (never chosen) looks for the default compressor, -1 means none, a position binds
    // the compressor there; a position that no longer exists falls back to the default. MP4 and
    // Matroska: the stored encoder names, else H.264 and AAC.
    MainWindowStart start;
    start.compressorChoices = loadCompressorChoices(store);
    start.compressors = bindStoredCompressors(
        compressors, store,
        editing::containerForFileName(store.read(settings::kOutputName).toStdString()));
    start.outputSettings.UseVideoCompressor = start.compressors.video.use;
    start.outputSettings.UseAudioCompressor = start.compressors.audio.use;
    start.transitionDefaults = loadTransitionDefaults(store);
    loadOutputNameAndSize(store, start.outputSettings);
    loadFrameRate(store, start.outputSettings);
    return start;
}

std::unique_ptr<MainWindow> startMainWindow(SettingsStore& store, MainWindowPorts ports,
                                            const editing::CompressorRegistry& compressors) {
    return std::make_unique<MainWindow>(readMainWindowStart(compressors, store), store, ports,
                                        compressors);
}

}  // namespace mixer
