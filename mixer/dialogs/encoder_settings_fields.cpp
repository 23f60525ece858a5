#include "mixer/dialogs/encoder_settings_fields.h"

namespace mixer {

bool hasEncoderSettings(const editing::Compressor& compressor) {
    return compressor.settable.takesAnything();
}

QStringList speedPresetsFor(const editing::Compressor& compressor) {
    QStringList presets;
    for (const std::string& preset : compressor.settable.speedPresets) {
        presets.append(QString::fromStdString(preset));
    }
    return presets;
}

editing::CompressorSettings clampedEncoderSettings(const editing::Compressor& compressor,
                                                   const editing::CompressorSettings& settings) {
    return editing::clampedSettings(compressor.settable, settings);
}

}  // namespace mixer
