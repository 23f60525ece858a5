#pragma once

#include "base/ports/file_picker_port.h"
#include "base/ports/prompt_port.h"
#include "editing/compressors/compressor_registry.h"
#include "mixer/dialogs/encoder_settings_dialog.h"
#include "mixer/output/encoder_settings_memory.h"
#include "mixer/output/output_options_acceptance.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/settings_store.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

namespace mixer {

namespace output_options {
inline constexpr int kOutputNameBox = 1022;
inline constexpr int kBrowseButton = 1024;
inline constexpr int kResolutionList = 1025;
inline constexpr int kCustomWidthBox = 1027;
inline constexpr int kCustomHeightBox = 1028;
inline constexpr int kFrameRateList = 1055;
inline constexpr int kCustomFrameRateBox = 1056;
inline constexpr int kResizeModeList = 1057;
inline constexpr int kVideoCompressorList = 1001;
inline constexpr int kHiddenScratchList = 1052;  // never shown; kept where the template has it
inline constexpr int kCompressorSettingsButton = 1053;
inline constexpr int kAudioCompressorList = 1002;
// The audio encoder's "Settings", shown for MP4 and Matroska outputs only (AAC, Opus, MP3 and
// AC-3 take a bit rate there); the AVI dialog looks as it always did.
inline constexpr int kAudioCompressorSettingsButton = 1054;
inline constexpr int kOkButton = 1;
inline constexpr int kDefaultCompressorsButton = 1051;
inline constexpr int kCancelButton = 2;
inline constexpr int kTransitionsButton = 1058;
}  // namespace output_options

inline constexpr const char* kBrowseTitle = "Select Output File Name";
inline constexpr const char* kNoEncoderSettingsText = "%1 has no settings to change.";

// "Select output options", 249 x 178 dialog units.
widgets::DialogTemplate outputOptionsTemplate();

// What the dialog works with; everything outlives the dialog.
struct OutputOptionsServices {
    const editing::CompressorRegistry& registry;
    SettingsStore& store;  // the compressor choices are read from it; OK writes to it
    EncoderSettingsMemory& encoderSettings;  // what "Settings" changes, kept for the run
    base::FilePickerPort& filePicker;
    base::PromptPort& prompt;
    // Shows one encoder's settings; the real modal dialog unless a test gives another.
    EncoderSettingsEditor editEncoderSettings = runEncoderSettingsDialog;
    // "Transitions...": runs the transition defaults dialog over `owner`, which stores and
    // applies what its OK accepts (so the output options' Cancel does not undo it). The
    // button is disabled when this is empty.
    std::function<void(QWidget* owner)> editTransitionDefaults = {};
};

// The output options dialog over a copy of the caller's OutputSettings: output file (with
// Browse), resolution, frame rate, resize mode and the two compressors (with "Defaul" and the
// encoders' "Settings"). The compressor lists are those of the output name's container (AVI,
// MP4 or Matroska, by its extension): when the name changes container the lists are swapped,
// and each container keeps the selections the user made in it. OK checks and normalises the input,
// writes the profile and offers the result in accepted(); Cancel writes nothing (what "Settings"
// changed stays in the encoder settings memory, as the user set it). UI thread only.
class OutputOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    OutputOptionsDialog(const OutputSettings& settings, OutputOptionsServices services,
                        QWidget* parent = nullptr);

    const widgets::DialogControls& controls() const { return controls_; }
    const widgets::CommandTable& commands() const { return commands_; }
    // The accepted options; nothing before an accepted OK.
    const std::optional<AcceptedOutputOptions>& accepted() const { return accepted_; }

    void onBrowse();
    void onResolutionChosen();
    void onFrameRateChosen();
    void onDefaultCompressors();
    void onCompressorSettings();
    void onAudioCompressorSettings();
    void onOutputNameEdited();
    void onTransitions();
    void onOk();

    // The container whose compressor lists are shown.
    editing::OutputContainer shownContainer() const { return shownContainer_; }

  private:
    void fillLists();
    // Ties every list and the name box to its label and names the custom fields.
    void nameControls();
    void showInitialValues();
    // Fills the compressor lists with `container`'s compressors and selects its selections.
    void showCompressorLists(editing::OutputContainer container);
    CompressorSelections selectionsOf(editing::OutputContainer container) const;
    std::optional<editing::Compressor> shownCompressor(editing::CompressorKind kind) const;
    void editEncoderSettings(const editing::Compressor& compressor);
    OutputOptionsEntries entries() const;

    OutputSettings copy_;
    OutputOptionsServices services_;
    editing::OutputContainer shownContainer_ = editing::OutputContainer::Avi;
    // Each container's selections as last shown (the shown container's live in the lists).
    std::array<CompressorSelections, editing::kOutputContainers.size()> selections_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    std::optional<AcceptedOutputOptions> accepted_;
};

// Runs the dialog modally; the accepted options, or nothing on Cancel.
std::optional<AcceptedOutputOptions> runOutputOptionsDialog(const OutputSettings& settings,
                                                            OutputOptionsServices services,
                                                            QWidget* owner);

}  // namespace mixer
