#include "mixer/dialogs/encoder_settings_dialog.h"

#include "mixer/dialogs/encoder_settings_fields.h"
#include "widgets/dialog_builder.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

namespace mixer {

using namespace encoder_settings;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::ControlTemplate;
using widgets::kNoControlId;

namespace {

constexpr int kRowHeight = 18;
constexpr int kDialogWidth = 230;
const QString kEncoderDefaultText = QStringLiteral("Encoder default");

// A number box over `range`, with "Encoder default" (0) below it. Numbers between 0 and the
// range's least are clamped when the settings are taken.
ControlTemplate spinBox(int id, int y, editing::SettingRange range) {
    ControlTemplate control{id, ControlKind::Custom, {}, 130, y, 90, 12};
    control.create = [range](const ControlTemplate&, QWidget* parent) -> QWidget* {
        auto* box = new QSpinBox(parent);
        box->setRange(0, range.most);
        box->setSpecialValueText(kEncoderDefaultText);
        return box;
    };
    return control;
}

ControlTemplate rowLabel(const QString& text, int y) {
    return {kNoControlId, ControlKind::Label, text, 7, y + 2, 120, 8};
}

}  // namespace

widgets::DialogTemplate encoderSettingsTemplate(const editing::Compressor& compressor) {
    widgets::DialogTemplate dialog{QStringLiteral("Compressor Settings"),
                                   kDialogWidth,
                                   0,
                                   {QStringLiteral("MS Sans Serif"), 8},
                                   {}};
    auto& controls = dialog.controls;
    controls.push_back({kCompressorName, ControlKind::Label,
                        QString::fromStdString(compressor.friendlyName), 7, 7, kDialogWidth - 14,
                        8});
    const editing::SettableSettings& settable = compressor.settable;
    int y = 22;
    if (settable.quality) {
        controls.push_back(rowLabel(QStringLiteral("Quality (%1 = best, %2 = smallest file):")
                                        .arg(settable.quality->least)
                                        .arg(settable.quality->most),
                                    y));
        controls.push_back(spinBox(kQualityBox, y, *settable.quality));
        y += kRowHeight;
    }
    if (settable.bitRateKbps) {
        controls.push_back(rowLabel(QStringLiteral("Bit rate (kbit/s):"), y));
        controls.push_back(spinBox(kBitRateBox, y, *settable.bitRateKbps));
        y += kRowHeight;
        if (settable.quality) {
            controls.push_back({kNoControlId, ControlKind::Label,
                                QStringLiteral("The bit rate applies while the quality is left "
                                               "at the encoder default."),
                                7, y - 4, kDialogWidth - 14, 16});
            y += 14;
        }
    }
    if (settable.keyFrameInterval) {
        controls.push_back(rowLabel(QStringLiteral("Key frame every (frames):"), y));
        controls.push_back(spinBox(kKeyFrameIntervalBox, y, *settable.keyFrameInterval));
        y += kRowHeight;
    }
    if (!settable.speedPresets.empty()) {
        controls.push_back(rowLabel(QStringLiteral("Speed preset:"), y));
        controls.push_back({kSpeedPresetList, ControlKind::DropDownList, {}, 130, y, 90, 120});
        y += kRowHeight;
    }
    y += 4;
    controls.push_back({kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 20, y, 55, 14,
                        ControlStyleFlag::DefaultButton});
    controls.push_back(
        {kDefaultsButton, ControlKind::PushButton, QStringLiteral("Defaults"), 88, y, 55, 14});
    controls.push_back(
        {kCancelButton, ControlKind::PushButton, QStringLiteral("Cancel"), 156, y, 55, 14});
    dialog.height = y + 21;
    return dialog;
}

EncoderSettingsDialog::EncoderSettingsDialog(const editing::Compressor& compressor,
                                             const editing::CompressorSettings& current,
                                             QWidget* parent)
    : QDialog(parent), compressor_(compressor) {
    controls_ = widgets::buildDialog(encoderSettingsTemplate(compressor), *this);
    if (auto* presets = controls_.find<QComboBox>(kSpeedPresetList)) {
        presets->addItem(kEncoderDefaultText);
        presets->addItems(speedPresetsFor(compressor));
    }
    showSettings(current);
    commands_ = {
        {kOkButton, widgets::Notification::Clicked, [this] { accept(); }},
        {kCancelButton, widgets::Notification::Clicked, [this] { reject(); }},
        {kDefaultsButton, widgets::Notification::Clicked,
         [this] { showSettings(compressor_.settings); }},
    };
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "EncoderSettingsDialog", qPrintable(unwired.join('\n')));
}

void EncoderSettingsDialog::showSettings(const editing::CompressorSettings& settings) {
    const editing::CompressorSettings shown = clampedEncoderSettings(compressor_, settings);
    if (auto* quality = controls_.find<QSpinBox>(kQualityBox)) {
        quality->setValue(shown.quality);
    }
    if (auto* bitRate = controls_.find<QSpinBox>(kBitRateBox)) {
        bitRate->setValue(shown.bitRateKbps);
    }
    if (auto* keyFrames = controls_.find<QSpinBox>(kKeyFrameIntervalBox)) {
        keyFrames->setValue(shown.keyFrameInterval);
    }
    if (auto* presets = controls_.find<QComboBox>(kSpeedPresetList)) {
        const QString preset = QString::fromStdString(shown.speedPreset);
        int index = preset.isEmpty() ? 0 : presets->findText(preset);
        if (index < 0) {
            // A preset the list does not know (set elsewhere) stays choosable.
            presets->addItem(preset);
            index = presets->count() - 1;
        }
        presets->setCurrentIndex(index);
    }
}

editing::CompressorSettings EncoderSettingsDialog::chosenSettings() const {
    editing::CompressorSettings chosen;
    if (const auto* quality = controls_.find<QSpinBox>(kQualityBox)) {
        chosen.quality = quality->value();
    }
    if (const auto* bitRate = controls_.find<QSpinBox>(kBitRateBox)) {
        chosen.bitRateKbps = bitRate->value();
    }
    if (const auto* keyFrames = controls_.find<QSpinBox>(kKeyFrameIntervalBox)) {
        chosen.keyFrameInterval = keyFrames->value();
    }
    if (const auto* presets = controls_.find<QComboBox>(kSpeedPresetList)) {
        if (presets->currentIndex() > 0) {
            chosen.speedPreset = presets->currentText().toStdString();
        }
    }
    return clampedEncoderSettings(compressor_, chosen);
}

std::optional<editing::CompressorSettings> runEncoderSettingsDialog(
    const editing::Compressor& compressor, const editing::CompressorSettings& current,
    QWidget* owner) {
    EncoderSettingsDialog dialog(compressor, current, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenSettings();
}

}  // namespace mixer
