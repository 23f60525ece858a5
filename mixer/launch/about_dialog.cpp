#include "mixer/launch/about_dialog.h"

#include "mixer/launch/maker_pages.h"
#include "mixer/orvindel_art.h"
#include "widgets/dialog_builder.h"
#include "widgets/hyperlink_label.h"
#include "widgets/image_loading.h"

#include <QLabel>
#include <QPushButton>

namespace mixer {

using namespace about_box;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::kNoControlId;

widgets::DialogTemplate aboutTemplate() {
    return {
        QStringLiteral("About Orvindel"),
        212,
        102,
        {QStringLiteral("MS Sans Serif"), 8},
        {
            {kProgramIcon, ControlKind::IconPicture, {}, 11, 17, 32, 32},
            {kNoControlId, ControlKind::Label, QString::fromUtf8(kAboutVersionText), 58, 10, 140,
             8},
            {kHomePageLink, ControlKind::HyperlinkLabel, QString::fromUtf8(kMakerHomePageAddress),
             58, 42, 140, 10},
            {kSupportLink, ControlKind::HyperlinkLabel, QString::fromUtf8(kSupportLinkText), 58, 57,
             140, 10},
            {kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 81, 81, 50, 14,
             ControlStyleFlag::DefaultButton},
        },
    };
}

AboutDialog::AboutDialog(base::LauncherPort& launcher, base::PromptPort& prompt, QWidget* parent)
    : QDialog(parent) {
    controls_ = widgets::buildDialog(aboutTemplate(), *this, {&launcher, &prompt});
    if (const auto icon = widgets::loadIconFile(mixer::art::kProgramIcon)) {
        auto& picture = controls_.get<QLabel>(kProgramIcon);
        picture.setPixmap(icon->icon.pixmap(icon->size));
        setWindowIcon(icon->icon);
    }
    auto& home = controls_.get<widgets::HyperlinkLabel>(kHomePageLink);
    home.setAddress(QString::fromUtf8(kMakerHomePageAddress));
    home.setUnderlineMode(widgets::UnderlineMode::Always);
    auto& support = controls_.get<widgets::HyperlinkLabel>(kSupportLink);
    support.setAddress(QString::fromUtf8(kMakerContactPageAddress));
    support.setUnderlineMode(widgets::UnderlineMode::Always);

    // The links take the focus only from Tab: the box opens with OK focused, so Enter closes it.
    controls_.get<QPushButton>(kOkButton).setFocus();

    commands_ = {{kOkButton, widgets::Notification::Clicked, [this] { accept(); }}};
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "AboutDialog", qPrintable(unwired.join('\n')));
}

}  // namespace mixer
