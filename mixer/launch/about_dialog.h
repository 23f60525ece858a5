#pragma once

#include "base/ports/launcher_port.h"
#include "base/ports/prompt_port.h"
#include "widgets/command_table.h"
#include "widgets/dialog_controls.h"
#include "widgets/dialog_template.h"

#include <QDialog>

namespace mixer {

namespace about_box {
inline constexpr int kProgramIcon = 1000;
inline constexpr int kHomePageLink = 1049;
inline constexpr int kSupportLink = 1050;
inline constexpr int kOkButton = 1;
}  // namespace about_box

inline constexpr const char* kAboutVersionText = "Orvindel Version 3.0";
inline constexpr const char* kSupportLinkText = "Support Email: Click here";

// "About Orvindel", 212 x 102 dialog units.
widgets::DialogTemplate aboutTemplate();

// The About box: the program icon, its version, a link that shows and opens the maker's home
// page and "Support Email: Click here", which opens the maker's contact page; OK closes it.
// The links open through the launcher port. The ports outlive the box. UI thread only.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    AboutDialog(base::LauncherPort& launcher, base::PromptPort& prompt, QWidget* parent = nullptr);

    const widgets::DialogControls& controls() const { return controls_; }

  private:
    widgets::DialogControls controls_;
    widgets::CommandTable commands_;
};

}  // namespace mixer
