#pragma once

#include "recorder/recording/recording_controller.h"
#include "widgets/ports/prompt_port.h"

namespace recorder {

// The prompt port Ambrevo's window hands to everything it shows boxes through (the controller,
// the device lists, the About dialog's links): a box without a caption of its own gets the
// program's caption, "Ambrevo", instead of the process name. `inner` must outlive this object.
class CaptionedPrompt : public widgets::PromptPort {
  public:
    explicit CaptionedPrompt(widgets::PromptPort& inner) : inner_(inner) {}

    widgets::PromptAnswer show(const widgets::PromptRequest& request) override {
        widgets::PromptRequest captioned = request;
        if (captioned.caption.isEmpty()) {
            captioned.caption = QString::fromLatin1(kRecorderCaption);
        }
        return inner_.show(captioned);
    }

  private:
    widgets::PromptPort& inner_;
};

}  // namespace recorder
