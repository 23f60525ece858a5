#include "mixer/dialogs/audio_settings_dialog.h"

#include "mixer/output/number_text.h"
#include "widgets/dialog_builder.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace mixer {

using namespace audio_settings;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::kNoControlId;

widgets::DialogTemplate audioSettingsTemplate() {
    return {
        QStringLiteral("Audio Settings"),
        162,
        102,
        {QStringLiteral("MS Sans Serif"), 8},
        {
            {kNoControlId, ControlKind::Label, QStringLiteral("Volume :"), 14, 9, 48, 8,
             ControlStyleFlag::AlignRight},
            {kVolumeBox, ControlKind::LineEdit, {}, 66, 7, 48, 12},
            {kNoControlId, ControlKind::Label, QStringLiteral("Start time :"), 14, 28, 48, 8,
             ControlStyleFlag::AlignRight},
            {kStartTimeBox, ControlKind::LineEdit, {}, 66, 26, 48, 12},
            {kNoControlId, ControlKind::Label, QStringLiteral("Seconds"), 118, 28, 36, 8},
            {kNoControlId, ControlKind::Label, QStringLiteral("Speed :"), 14, 47, 48, 8,
             ControlStyleFlag::AlignRight},
            {kSpeedBox, ControlKind::LineEdit, {}, 66, 45, 48, 12},
            {kNoControlId, ControlKind::Label, QStringLiteral("Repeat: "), 14, 64, 48, 8,
             ControlStyleFlag::AlignRight},
            {kRepeatList, ControlKind::DropDownList, {}, 66, 62, 48, 33},
            {kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 24, 81, 40, 14,
             ControlStyleFlag::DefaultButton},
            {kCancelButton, ControlKind::PushButton, QStringLiteral("Cancel"), 95, 81, 40, 14},
        },
    };
}

AudioSettingsDialog::AudioSettingsDialog(const AudioSettingsValues& values,
                                         base::PromptPort& prompt, QWidget* parent)
    : QDialog(parent), initial_(values), prompt_(prompt) {
    controls_ = widgets::buildDialog(audioSettingsTemplate(), *this);
    controls_.get<QLineEdit>(kVolumeBox).setText(formatThreeDecimals(values.volume));
    controls_.get<QLineEdit>(kStartTimeBox).setText(formatThreeDecimals(values.startTimeSeconds));
    controls_.get<QLineEdit>(kSpeedBox).setText(formatThreeDecimals(values.speed));
    auto& repeat = controls_.get<QComboBox>(kRepeatList);
    repeat.addItems({QStringLiteral("No"), QStringLiteral("Yes")});
    repeat.setCurrentIndex(values.repeat != 0 ? 1 : 0);

    commands_ = {
        {kOkButton, widgets::Notification::Clicked, [this] { onOk(); }},
        {kCancelButton, widgets::Notification::Clicked, [this] { reject(); }},
    };
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "AudioSettingsDialog", qPrintable(unwired.join('\n')));
}

void AudioSettingsDialog::onOk() {
    const AudioSettingsEntries entries{
        controls_.get<QLineEdit>(kStartTimeBox).text(),
        controls_.get<QLineEdit>(kVolumeBox).text(),
        controls_.get<QLineEdit>(kSpeedBox).text(),
        controls_.get<QComboBox>(kRepeatList).currentIndex(),
    };
    const AudioSettingsVerdict verdict = readAudioSettings(entries, initial_);
    if (!verdict.accepted) {
        const int boxId = verdict.refusal.box == AudioSettingsBox::StartTime ? kStartTimeBox
                          : verdict.refusal.box == AudioSettingsBox::Volume  ? kVolumeBox
                                                                             : kSpeedBox;
        prompt_.tell(verdict.refusal.text, verdict.refusal.caption, base::PromptIcon::Warning,
                     this);
        auto& box = controls_.get<QLineEdit>(boxId);
        box.setFocus(Qt::OtherFocusReason);
        box.selectAll();
        return;
    }
    accepted_ = verdict.accepted;
    accept();
}

std::optional<AudioSettingsValues> runAudioSettingsDialog(const AudioSettingsValues& values,
                                                          base::PromptPort& prompt,
                                                          QWidget* owner) {
    AudioSettingsDialog dialog(values, prompt, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.accepted();
}

std::optional<EditedAudioEntry> editSelectedAudioEntry(const std::vector<AudioEntry>& audios,
                                                       const std::vector<int>& selectedRows,
                                                       base::PromptPort& prompt, QWidget* owner,
                                                       const AudioSettingsRunner& runDialog) {
    if (audios.empty()) {
        return std::nullopt;
    }
    const int count = static_cast<int>(audios.size());
    std::optional<int> firstRow;
    for (int row : selectedRows) {
        if (row >= 0 && row < count && (!firstRow || row < *firstRow)) {
            firstRow = row;
        }
    }
    if (!firstRow) {
        prompt.tell(QString::fromUtf8(kSelectAnItemText), {}, base::PromptIcon::None, owner);
        return std::nullopt;
    }
    const AudioEntry& entry = audios[static_cast<std::size_t>(*firstRow)];
    const std::optional<AudioSettingsValues> values = runDialog(audioSettingsOf(entry), owner);
    if (!values) {
        return std::nullopt;
    }
    EditedAudioEntry edited{*firstRow, entry};
    applyAudioSettings(*values, edited.entry);
    return edited;
}

std::optional<EditedAudioEntry> editSelectedAudioEntry(const std::vector<AudioEntry>& audios,
                                                       const std::vector<int>& selectedRows,
                                                       base::PromptPort& prompt, QWidget* owner) {
    return editSelectedAudioEntry(
        audios, selectedRows, prompt, owner,
        [&prompt](const AudioSettingsValues& values, QWidget* dialogOwner) {
            return runAudioSettingsDialog(values, prompt, dialogOwner);
        });
}

}  // namespace mixer
