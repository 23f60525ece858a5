#pragma once

// Test helper: the output options dialog over a small registry, a private profile and scripted
// ports, with the editor of "Settings" recording what it was shown.

#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/project/settings_store.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QUuid>

#include <memory>
#include <string>
#include <vector>

namespace mixer {

using editing::Compressor;
using editing::CompressorKind;
using editing::CompressorRegistry;
using editing::CompressorSettings;

inline Compressor named(CompressorKind kind, const char* name, const char* encoder,
                        bool hasQuality = false) {
    Compressor compressor;
    compressor.kind = kind;
    compressor.friendlyName = name;
    compressor.encoderName = encoder;
    if (hasQuality) {
        compressor.settable.qualityScale = editing::QualityScale::QuantiserScale;
        compressor.settable.quality = editing::SettingRange{1, 31};
    }
    compressor.settings.quality = hasQuality ? 3 : 0;
    return compressor;
}

struct EditorCall {
    std::string encoderName;
    CompressorSettings shown;
};

class OutputOptionsDialogTest : public testing::Test {
  protected:
    OutputOptionsDialogTest()
        : registry({named(CompressorKind::Video, "Motion JPEG", "mjpeg", true),
                    named(CompressorKind::Video, "DivX-compatible MPEG-4 Part 2", "mpeg4", true),
                    named(CompressorKind::Video, "Huffyuv lossless", "huffyuv")},
                   {named(CompressorKind::Audio, "IMA ADPCM", "adpcm_ima_wav"),
                    named(CompressorKind::Audio, "Microsoft ADPCM", "adpcm_ms")}),
          store(QStringLiteral("KorvaneTest"),
                QStringLiteral("dialog-") + QUuid::createUuid().toString(QUuid::Id128)) {
        settings.OutputName = "/home/ana/videos/holiday.avi";
    }

    std::unique_ptr<OutputOptionsDialog> open() {
        OutputOptionsServices services{registry, store, memory, picker, prompt};
        services.editEncoderSettings = [this](const Compressor& compressor,
                                              const CompressorSettings& shown, QWidget*) {
            editorCalls.push_back({compressor.encoderName, shown});
            return editorAnswer;
        };
        return std::make_unique<OutputOptionsDialog>(settings, services);
    }

    static void choose(QComboBox& list, int index) {
        list.setCurrentIndex(index);
        emit list.activated(index);
    }

    static void type(OutputOptionsDialog& dialog, int id, const QString& text) {
        dialog.controls().get<QLineEdit>(id).setText(text);
    }

    static void press(OutputOptionsDialog& dialog, int id) {
        dialog.controls().get<QPushButton>(id).click();
    }

    static QComboBox& list(OutputOptionsDialog& dialog, int id) {
        return dialog.controls().get<QComboBox>(id);
    }

    bool storeHoldsAnyOptionKey() const {
        for (const auto* setting :
             {&settings::kOutputWidth, &settings::kOutputHigh, &settings::kOutputFrameRateIndex,
              &settings::kVideoCompressorNumber, &settings::kAudioCompressorNumber}) {
            if (store.contains(setting->section, setting->key)) {
                return true;
            }
        }
        return store.contains(settings::kOutputName.section, settings::kOutputName.key) ||
               store.contains(settings::kOutputFrameRate.section, settings::kOutputFrameRate.key);
    }

    CompressorRegistry registry;
    SettingsStore store;
    EncoderSettingsMemory memory;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::ScriptedPrompt prompt;
    OutputSettings settings;
    std::vector<EditorCall> editorCalls;
    std::optional<CompressorSettings> editorAnswer;
};

}  // namespace mixer
