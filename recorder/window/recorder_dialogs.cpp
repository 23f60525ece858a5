#include "recorder/window/recorder_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "recorder/ambrevo_art.h"
#include "recorder/logic/recorder_settings.h"
#include "recorder/window/recorder_templates.h"
#include "widgets/dialog_builder.h"
#include "widgets/hyperlink_label.h"
#include "widgets/image_loading.h"

namespace recorder {

InputHintDialog::InputHintDialog(QWidget* parent) : QDialog(parent) {
    controls_ = widgets::buildDialog(inputHintTemplate(), *this);
    for (const int id : {control::kHintFirstText, control::kHintSecondText}) {
        controls_.get<QLabel>(id).setWordWrap(true);
    }
    controls_.get<QCheckBox>(control::kHintCheckBox)
        .setChecked(RecorderSettings::readHintOnlyOnce(1) != 0);
    connect(&controls_.get<QPushButton>(control::kOk), &QPushButton::clicked, this,
            &InputHintDialog::onOk);
}

bool InputHintDialog::isChecked() const {
    return controls_.get<QCheckBox>(control::kHintCheckBox).isChecked();
}

void InputHintDialog::onOk() {
    RecorderSettings::writeHintOnlyOnce(isChecked() ? 1 : 0);
    accept();
}

std::optional<bool> ModalHintPresenter::showHint(QWidget* owner) {
    InputHintDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.isChecked();
}

RecorderAboutDialog::RecorderAboutDialog(base::LauncherPort& launcher, base::PromptPort& prompt,
                                         QWidget* parent)
    : QDialog(parent) {
    controls_ = widgets::buildDialog(recorderAboutTemplate(), *this, {&launcher, &prompt});
    if (const auto icon = widgets::loadIconFile(recorder::art::kProgramIcon)) {
        controls_.get<QLabel>(control::kAboutIcon).setPixmap(icon->icon.pixmap(icon->size));
        setWindowIcon(icon->icon);
    }
    auto& homePage = controls_.get<widgets::HyperlinkLabel>(control::kHomePageLink);
    homePage.setAddress(QString::fromLatin1(kMakerHomePageAddress));
    homePage.setUnderlineMode(widgets::UnderlineMode::Always);
    auto& support = controls_.get<widgets::HyperlinkLabel>(control::kSupportLink);
    support.setAddress(QString::fromLatin1(kMakerContactPageAddress));
    support.setUnderlineMode(widgets::UnderlineMode::Always);
    connect(&controls_.get<QPushButton>(control::kOk), &QPushButton::clicked, this,
            &QDialog::accept);
    // The links take the focus only from Tab: the box opens with OK focused, so Enter closes it.
    controls_.get<QPushButton>(control::kOk).setFocus();
}

}  // namespace recorder
