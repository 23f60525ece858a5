#pragma once

#include "base/ports/prompt_port.h"
#include "mixer/dialogs/audio_settings_rules.h"
#include "mixer/project/mix_job.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

namespace mixer {

namespace audio_settings {
inline constexpr int kVolumeBox = 1062;
inline constexpr int kStartTimeBox = 1063;
inline constexpr int kSpeedBox = 1064;
inline constexpr int kRepeatList = 1065;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
}  // namespace audio_settings

inline constexpr const char* kSelectAnItemText = "Please select an item!";

// "Audio Settings", 162 x 102 dialog units.
widgets::DialogTemplate audioSettingsTemplate();

// Edits the volume, start time (seconds), speed and repeat of one audio entry. OK checks the
// boxes (audio_settings_rules.h); a refused value shows its message through the prompt port
// and puts the focus into the offending box, and the dialog stays open. Cancel changes
// nothing. The prompt port outlives the dialog. UI thread only.
class AudioSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    AudioSettingsDialog(const AudioSettingsValues& values, base::PromptPort& prompt,
                        QWidget* parent = nullptr);

    const widgets::DialogControls& controls() const { return controls_; }
    // The accepted values; nothing before an accepted OK.
    const std::optional<AudioSettingsValues>& accepted() const { return accepted_; }

    void onOk();

  private:
    AudioSettingsValues initial_;
    base::PromptPort& prompt_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    std::optional<AudioSettingsValues> accepted_;
};

// Runs the dialog modally over `values`; the accepted values, or nothing on Cancel.
using AudioSettingsRunner = std::function<std::optional<AudioSettingsValues>(
    const AudioSettingsValues& values, QWidget* owner)>;
std::optional<AudioSettingsValues> runAudioSettingsDialog(const AudioSettingsValues& values,
                                                          base::PromptPort& prompt, QWidget* owner);

struct EditedAudioEntry {
    int row = 0;
    AudioEntry entry;  // the entry with the accepted values written back
};

// "Change selected audio's properties": nothing for an empty list; "Please select an item!"
// (owned by `owner`) without a selection; otherwise the dialog for the first selected row (the
// lowest row number). The edited entry to store in that row, or nothing (Cancel, no dialog).
std::optional<EditedAudioEntry> editSelectedAudioEntry(const std::vector<AudioEntry>& audios,
                                                       const std::vector<int>& selectedRows,
                                                       base::PromptPort& prompt, QWidget* owner,
                                                       const AudioSettingsRunner& runDialog);
// The same with the real modal dialog.
std::optional<EditedAudioEntry> editSelectedAudioEntry(const std::vector<AudioEntry>& audios,
                                                       const std::vector<int>& selectedRows,
                                                       base::PromptPort& prompt, QWidget* owner);

}  // namespace mixer
