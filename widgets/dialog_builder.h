#pragma once

#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"
#include "widgets/dialog_units.h"

class QWidget;

namespace base {
class LauncherPort;
class PromptPort;
}  // namespace base

namespace widgets {

// Services some control kinds need; both must outlive the controls. Only templates with
// hyperlink labels need them.
struct DialogServices {
    base::LauncherPort* launcher = nullptr;
    base::PromptPort* prompt = nullptr;
};

// Builds the controls of `dialogTemplate` as children of `window` (a QDialog or any QWidget):
// sets the window's title, dialog font and fixed client size, creates every control at its
// converted rectangle in template order (which is also the tab order), names each control with
// an id "control_<id>" and returns them by id. A control without a caption (a list, an edit,
// a slider) takes its accessible name from the label just before it in the template; a
// caption-less image button is named by its tooltip (ImageButton::setTooltipText). A hyperlink
// label without both services, or a Custom control without a factory, aborts with a message:
// templates are fixed data.
DialogControls buildDialog(const DialogTemplate& dialogTemplate, QWidget& window,
                           const DialogServices& services = {});

// The converter for a template's font.
DialogUnitConverter converterFor(const DialogTemplate& dialogTemplate);

}  // namespace widgets
