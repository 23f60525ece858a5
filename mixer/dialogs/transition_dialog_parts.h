#pragma once

#include "mixer/dialogs/transition_preview_view.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

namespace mixer::transition_dialogs {

// What the two transition dialogs share: the effect list beside the looping preview, with the
// preview following the list's current row at once.

// Template rows for the effect list and the preview (dialog units).
widgets::ControlTemplate effectListControl(int id, int x, int y, int width, int height);
widgets::ControlTemplate previewControl(int id, int x, int y, int width, int height);

// Fills the list with the catalogue's names, selects `effectNumber`, shows it in the preview
// and keeps the preview on the list's current row from then on.
void connectEffectListToPreview(QListWidget& list, TransitionPreviewView& preview,
                                int effectNumber);

// Puts the focus into `box` with its text selected, after a refused OK.
void focusRefusedBox(QLineEdit& box);

}  // namespace mixer::transition_dialogs
