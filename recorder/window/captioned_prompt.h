#pragma once

#include "base/ports/prompt_port.h"
#include "recorder/recording/recording_controller.h"

namespace recorder {

// The prompt port Ambrevo's window hands to everything it shows boxes through (the controller,
// the device lists, the About dialog's links): a box without a caption of its own gets the
// program's caption, "Ambrevo", instead of the process name. `inner` must outlive this object.
class CaptionedPrompt : public base::PromptPort {
  public:
    explicit CaptionedPrompt(base::PromptPort& inner) : inner_(inner) {}

    base::PromptAnswer show(const base::PromptRequest& request) override {
        base::PromptRequest captioned = request;
        if (captioned.caption.isEmpty()) {
            captioned.caption = QString::fromLatin1(kRecorderCaption);
        }
        return inner_.show(captioned);
    }

  private:
    base::PromptPort& inner_;
};

}  // namespace recorder
