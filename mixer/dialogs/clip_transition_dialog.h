#pragma once

#include "base/ports/prompt_port.h"
#include "mixer/dialogs/transition_preview_view.h"
#include "mixer/dialogs/transition_settings_rules.h"
#include "mixer/dialogs/transition_stills_loader.h"
#include "mixer/project/mix_job.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

namespace mixer {

namespace clip_transition {
inline constexpr int kEffectList = 1111;
inline constexpr int kPreview = 1112;
inline constexpr int kDurationBox = 1113;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
}  // namespace clip_transition

inline constexpr const char* kClipTransitionTitle = "Transition";

// "Transition", 300 x 156 dialog units.
widgets::DialogTemplate clipTransitionTemplate();

// The transition of the selected video entries: the effect (with its preview blending the
// previous clip's last frame into this clip's first frame) and the length in seconds with
// three decimals. The dialog opens at once on neutral pictures; the clips' frames are decoded
// on another thread and replace them when ready (first with the key frame before the previous
// clip's end, then with its exact last frame). OK checks the length
// (transition_settings_rules.h) and offers the values in accepted(); a refused value shows its
// message through the prompt port and the dialog stays open; Cancel changes nothing. The
// prompt port outlives the dialog. UI thread only.
class ClipTransitionDialog : public QDialog {
    Q_OBJECT
  public:
    ClipTransitionDialog(const ClipTransitionValues& values,
                         editing::TransitionStillsRequest stillsRequest, base::PromptPort& prompt,
                         QWidget* parent = nullptr);
    ~ClipTransitionDialog() override;

    const widgets::DialogControls& controls() const { return controls_; }
    TransitionPreviewView& preview() const;
    const std::optional<ClipTransitionValues>& accepted() const { return accepted_; }
    // True once the preview blends the previous clip's exact last frame (not only the key
    // frame before it).
    bool showsExactStills() const { return stillsExact_; }

    void onOk();

  private:
    ClipTransitionValues initial_;
    QString shownDurationText_;  // the length as the box first showed it
    base::PromptPort& prompt_;
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
    std::optional<ClipTransitionValues> accepted_;
    bool stillsExact_ = false;
    std::unique_ptr<TransitionStillsLoader> stillsLoader_;
};

// What the stills of video entry `row` are: the previous entry's last frame (none for row 0)
// and the entry's first frame, fitted as the output's resize mode fits them.
editing::TransitionStillsRequest transitionStillsRequestFor(const std::vector<VideoEntry>& videos,
                                                            int row, int resizeMode);

struct EditedVideoTransitions {
    std::vector<int> rows;  // the selected rows that exist, in ascending order
    ClipTransitionValues values;
};

// Right-click on the video list (and the context-menu key, Shift+F10): nothing for an empty
// list; "Please select an item!" (owned by `owner`) without a selection; otherwise the dialog
// on the first selected row's values. The rows to change and their new values, or nothing.
std::optional<EditedVideoTransitions> editSelectedVideoTransitions(
    const std::vector<VideoEntry>& videos, std::vector<int> selectedRows, int resizeMode,
    base::PromptPort& prompt, QWidget* owner);

}  // namespace mixer
