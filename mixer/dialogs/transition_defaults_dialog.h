#pragma once

#include "base/ports/prompt_port.h"
#include "mixer/dialogs/transition_preview_view.h"
#include "mixer/project/mix_job.h"
#include "mixer/project/settings_store.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

#include <functional>
#include <optional>

namespace mixer {

namespace transition_defaults {
inline constexpr int kTypeList = 1101;
inline constexpr int kEffectList = 1102;
inline constexpr int kPreview = 1103;
inline constexpr int kDurationBox = 1104;
inline constexpr int kClipSoundInStepBox = 1105;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
}  // namespace transition_defaults

inline constexpr const char* kTransitionDefaultsTitle = "Transition defaults";
inline constexpr const char* kTransitionsMenuText = "&Transition defaults...";

// "Transition defaults", 300 x 180 dialog units.
widgets::DialogTemplate transitionDefaultsTemplate();

// How new video entries get their transition: the type (random / sequence / same), the effect
// "same" uses (with its preview on two built-in pictures), the length in whole seconds, and
// the "clips' own sound in step" option. OK checks the length (transition_settings_rules.h),
// writes the "TransitionSettings" keys and offers the result in accepted(); a refused value
// shows its message through the prompt port and the dialog stays open. Cancel writes
// nothing. The store and the prompt port outlive the dialog. UI thread only.
class TransitionDefaultsDialog : public QDialog {
    Q_OBJECT
  public:
    TransitionDefaultsDialog(const TransitionDefaults& defaults, SettingsStore& store,
                             base::PromptPort& prompt, QWidget* parent = nullptr);

    const widgets::DialogControls& controls() const { return controls_; }
    TransitionPreviewView& preview() const;
    const std::optional<TransitionDefaults>& accepted() const { return accepted_; }

    void onOk();

  private:
    TransitionDefaults initial_;
    SettingsStore& store_;
    base::PromptPort& prompt_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    std::optional<TransitionDefaults> accepted_;
};

// Runs the dialog modally; the accepted (and already stored) defaults, or nothing on Cancel.
std::optional<TransitionDefaults> runTransitionDefaultsDialog(const TransitionDefaults& defaults,
                                                              SettingsStore& store,
                                                              base::PromptPort& prompt,
                                                              QWidget* owner);

}  // namespace mixer
