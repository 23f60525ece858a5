#include "mixer/dialogs/transition_defaults_dialog.h"

#include "mixer/dialogs/transition_dialog_parts.h"
#include "mixer/dialogs/transition_settings_rules.h"
#include "mixer/project/profile_loading.h"
#include "widgets/dialog_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace mixer {

using namespace transition_defaults;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::kNoControlId;

widgets::DialogTemplate transitionDefaultsTemplate() {
    return {
        QString::fromUtf8(kTransitionDefaultsTitle),
        300,
        180,
        {QStringLiteral("MS Sans Serif"), 8},
        {
            {kNoControlId, ControlKind::Label, QStringLiteral("New video entries get:"), 7, 9, 80,
             8},
            {kTypeList, ControlKind::DropDownList, {}, 90, 7, 90, 50},
            {kNoControlId, ControlKind::Label, QStringLiteral("Effect (used by \"Same\"):"), 7, 26,
             120, 8},
            transition_dialogs::effectListControl(kEffectList, 7, 36, 120, 100),
            transition_dialogs::previewControl(kPreview, 134, 36, 159, 100),
            // The row is packed so that "seconds (0 - 60)" gets room for one line before the
            // check box's column.
            {kNoControlId, ControlKind::Label, QStringLiteral("Duration:"), 7, 143, 34, 8},
            {kDurationBox, ControlKind::LineEdit, {}, 43, 141, 30, 12},
            {kNoControlId, ControlKind::Label, QStringLiteral("seconds (0 - 60)"), 76, 143, 57, 8},
            {kClipSoundInStepBox, ControlKind::CheckBox, QStringLiteral("Clips' own sound in step"),
             134, 140, 159, 10},
            {kNoControlId, ControlKind::Label,
             QStringLiteral("Each clip's picture starts with its own sound."), 134, 151, 159, 8},
            {kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 80, 162, 50, 14,
             ControlStyleFlag::DefaultButton},
            {kCancelButton, ControlKind::PushButton, QStringLiteral("Cancel"), 170, 162, 50, 14},
        },
    };
}

TransitionDefaultsDialog::TransitionDefaultsDialog(const TransitionDefaults& defaults,
                                                   SettingsStore& store, base::PromptPort& prompt,
                                                   QWidget* parent)
    : QDialog(parent), initial_(defaults), store_(store), prompt_(prompt) {
    controls_ = widgets::buildDialog(transitionDefaultsTemplate(), *this);
    auto& type = controls_.get<QComboBox>(kTypeList);
    type.addItems({QStringLiteral("Random"), QStringLiteral("Sequence"), QStringLiteral("Same")});
    type.setCurrentIndex(defaults.TransitionType >= 0 && defaults.TransitionType <= 2
                             ? defaults.TransitionType
                             : -1);
    preview().setPictures(editing::builtInPreviewPictureA(), editing::builtInPreviewPictureB());
    transition_dialogs::connectEffectListToPreview(controls_.get<QListWidget>(kEffectList),
                                                   preview(), defaults.TransitionName);
    controls_.get<QLineEdit>(kDurationBox).setText(QString::number(defaults.TransitionDuration));
    controls_.get<QCheckBox>(kClipSoundInStepBox).setChecked(defaults.ClipSoundInStep);

    commands_ = {
        {kOkButton, widgets::Notification::Clicked, [this] { onOk(); }},
        {kCancelButton, widgets::Notification::Clicked, [this] { reject(); }},
    };
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "TransitionDefaultsDialog", qPrintable(unwired.join('\n')));
}

TransitionPreviewView& TransitionDefaultsDialog::preview() const {
    return controls_.get<TransitionPreviewView>(kPreview);
}

void TransitionDefaultsDialog::onOk() {
    const TransitionDefaultsEntries entries{
        controls_.get<QComboBox>(kTypeList).currentIndex(),
        controls_.get<QListWidget>(kEffectList).currentRow(),
        controls_.get<QLineEdit>(kDurationBox).text(),
        controls_.get<QCheckBox>(kClipSoundInStepBox).isChecked(),
    };
    const TransitionDefaultsVerdict verdict = readTransitionDefaults(entries, initial_);
    if (!verdict.accepted) {
        prompt_.tell(verdict.refusal.text, verdict.refusal.caption, base::PromptIcon::Warning,
                     this);
        transition_dialogs::focusRefusedBox(controls_.get<QLineEdit>(kDurationBox));
        return;
    }
    storeTransitionDefaults(store_, *verdict.accepted);
    accepted_ = verdict.accepted;
    accept();
}

std::optional<TransitionDefaults> runTransitionDefaultsDialog(const TransitionDefaults& defaults,
                                                              SettingsStore& store,
                                                              base::PromptPort& prompt,
                                                              QWidget* owner) {
    TransitionDefaultsDialog dialog(defaults, store, prompt, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.accepted();
}

}  // namespace mixer
