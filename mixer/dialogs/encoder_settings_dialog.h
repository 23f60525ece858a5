#pragma once

#include "editing/compressors/compressor_registry.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

#include <functional>
#include <optional>

namespace mixer {

namespace encoder_settings {
inline constexpr int kCompressorName = 2000;
inline constexpr int kQualityBox = 2001;
inline constexpr int kBitRateBox = 2002;
inline constexpr int kKeyFrameIntervalBox = 2003;
inline constexpr int kSpeedPresetList = 2004;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
inline constexpr int kDefaultsButton = 3;
}  // namespace encoder_settings

// The dialog's template for `compressor`: one row per field the encoder takes, in the order
// quality, bit rate, key-frame interval, speed preset.
widgets::DialogTemplate encoderSettingsTemplate(const editing::Compressor& compressor);

// The settings of one video encoder, as the output options dialog's "Settings" button shows
// them: only what the encoder takes, each number with "Encoder default" below its range.
// "Defaults" puts back the registry's values. UI thread only.
class EncoderSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    EncoderSettingsDialog(const editing::Compressor& compressor,
                          const editing::CompressorSettings& current, QWidget* parent = nullptr);

    const widgets::DialogControls& controls() const { return controls_; }
    // What the fields hold now, clamped into the encoder's ranges (fields the encoder does not
    // take are 0 / empty).
    editing::CompressorSettings chosenSettings() const;
    void showSettings(const editing::CompressorSettings& settings);

  private:
    editing::Compressor compressor_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
};

// Shows the settings of `compressor` modally; the accepted settings, or nothing on Cancel.
using EncoderSettingsEditor = std::function<std::optional<editing::CompressorSettings>(
    const editing::Compressor& compressor, const editing::CompressorSettings& current,
    QWidget* owner)>;
std::optional<editing::CompressorSettings> runEncoderSettingsDialog(
    const editing::Compressor& compressor, const editing::CompressorSettings& current,
    QWidget* owner);

}  // namespace mixer
