#pragma once

#include "base/ports/prompt_port.h"

namespace widgets {

// Message boxes with QMessageBox: the request's icon and buttons, the caption or else the
// application's display name, modal to the owner window (application-modal without one).
class QtPrompt : public base::PromptPort {
  public:
    base::PromptAnswer show(const base::PromptRequest& request) override;
};

// The caption a box shows: the request's, or the application's display name when empty.
QString promptCaption(const base::PromptRequest& request);

}  // namespace widgets
