#pragma once

#include <QDialog>

#include <optional>

#include "widgets/dialog_controls.h"

namespace base {
class LauncherPort;
class PromptPort;
}  // namespace base

namespace recorder {

// "How to select an input device" (template 144). Opens with its check box showing the
// profile's "b_only_once" (default 1, so ticked unless the user cleared it before); OK writes
// the check box to "b_only_once" and closes with Accepted; any other way out writes nothing.
class InputHintDialog : public QDialog {
    Q_OBJECT
  public:
    explicit InputHintDialog(QWidget* parent = nullptr);
    bool isChecked() const;
    const widgets::DialogControls& controls() const { return controls_; }

  private:
    void onOk();
    widgets::DialogControls controls_;
};

// Shows the hint and answers the check box value when it was closed with OK. The program shows
// InputHintDialog modally; tests answer from a script.
class HintPresenter {
  public:
    virtual ~HintPresenter() = default;
    virtual std::optional<bool> showHint(QWidget* owner) = 0;
};

class ModalHintPresenter : public HintPresenter {
  public:
    std::optional<bool> showHint(QWidget* owner) override;
};

// "About Ambrevo" (template 100): the program icon, the version and maker lines, and two links
// (the home page, and "Support Email: Click here" for the contact page), always underlined.
class RecorderAboutDialog : public QDialog {
    Q_OBJECT
  public:
    RecorderAboutDialog(base::LauncherPort& launcher, base::PromptPort& prompt,
                        QWidget* parent = nullptr);
    const widgets::DialogControls& controls() const { return controls_; }

  private:
    widgets::DialogControls controls_;
};

}  // namespace recorder
