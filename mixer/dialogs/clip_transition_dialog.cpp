#include "mixer/dialogs/clip_transition_dialog.h"

#include "mixer/dialogs/audio_settings_dialog.h"
#include "mixer/dialogs/transition_dialog_parts.h"
#include "mixer/output/number_text.h"
#include "widgets/dialog_builder.h"

#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

namespace mixer {

using namespace clip_transition;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::kNoControlId;

widgets::DialogTemplate clipTransitionTemplate() {
    return {
        QString::fromUtf8(kClipTransitionTitle),
        300,
        156,
        {QStringLiteral("MS Sans Serif"), 8},
        {
            {kNoControlId, ControlKind::Label, QStringLiteral("Effect:"), 7, 7, 60, 8},
            transition_dialogs::effectListControl(kEffectList, 7, 17, 120, 100),
            transition_dialogs::previewControl(kPreview, 134, 17, 159, 100),
            {kNoControlId, ControlKind::Label, QStringLiteral("Duration:"), 7, 124, 40, 8},
            {kDurationBox, ControlKind::LineEdit, {}, 50, 122, 40, 12},
            {kNoControlId, ControlKind::Label, QStringLiteral("seconds (0 - 60)"), 94, 124, 60, 8},
            {kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 80, 138, 50, 14,
             ControlStyleFlag::DefaultButton},
            {kCancelButton, ControlKind::PushButton, QStringLiteral("Cancel"), 170, 138, 50, 14},
        },
    };
}

ClipTransitionDialog::ClipTransitionDialog(const ClipTransitionValues& values,
                                           editing::TransitionStillsRequest stillsRequest,
                                           base::PromptPort& prompt, QWidget* parent)
    : QDialog(parent), initial_(values), prompt_(prompt) {
    controls_ = widgets::buildDialog(clipTransitionTemplate(), *this);
    transition_dialogs::connectEffectListToPreview(controls_.get<QListWidget>(kEffectList),
                                                   preview(), values.effect);
    shownDurationText_ = formatThreeDecimals(static_cast<double>(values.duration) /
                                             static_cast<double>(editing::kRefTimePerSecond));
    controls_.get<QLineEdit>(kDurationBox).setText(shownDurationText_);
    stillsRequest.width = editing::TransitionPreview::kWidth;
    stillsRequest.height = editing::TransitionPreview::kHeight;
    stillsLoader_ = std::make_unique<TransitionStillsLoader>(
        std::move(stillsRequest),
        [this](editing::TransitionStills stills, editing::StillsAccuracy accuracy) {
            preview().setPictures(std::move(stills.from), std::move(stills.to));
            stillsExact_ = accuracy == editing::StillsAccuracy::Exact;
        });

    commands_ = {
        {kOkButton, widgets::Notification::Clicked, [this] { onOk(); }},
        {kCancelButton, widgets::Notification::Clicked, [this] { reject(); }},
    };
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "ClipTransitionDialog", qPrintable(unwired.join('\n')));
}

ClipTransitionDialog::~ClipTransitionDialog() = default;

TransitionPreviewView& ClipTransitionDialog::preview() const {
    return controls_.get<TransitionPreviewView>(kPreview);
}

void ClipTransitionDialog::onOk() {
    const int effectRow = controls_.get<QListWidget>(kEffectList).currentRow();
    if (controls_.get<QLineEdit>(kDurationBox).text() == shownDurationText_) {
        // The length as shown is rounded to milliseconds: left as it is, it keeps the entry's
        // own length exactly (finer than shown, or longer than the box takes from a hand-edited
        // profile) instead of rounding or refusing a value the user did not touch.
        ClipTransitionValues values = initial_;
        if (effectRow >= 0) {
            values.effect = effectRow;
        }
        accepted_ = values;
        accept();
        return;
    }
    const ClipTransitionVerdict verdict =
        readClipTransition(effectRow, controls_.get<QLineEdit>(kDurationBox).text(), initial_);
    if (!verdict.accepted) {
        prompt_.tell(verdict.refusal.text, verdict.refusal.caption, base::PromptIcon::Warning,
                     this);
        transition_dialogs::focusRefusedBox(controls_.get<QLineEdit>(kDurationBox));
        return;
    }
    accepted_ = verdict.accepted;
    accept();
}

editing::TransitionStillsRequest transitionStillsRequestFor(const std::vector<VideoEntry>& videos,
                                                            int row, int resizeMode) {
    editing::TransitionStillsRequest request;
    if (row < 0 || row >= static_cast<int>(videos.size())) {
        return request;
    }
    const VideoEntry& entry = videos[static_cast<std::size_t>(row)];
    request.fileName = entry.FileName;
    request.clipStart = entry.InPoint;
    if (row > 0) {
        const VideoEntry& previous = videos[static_cast<std::size_t>(row - 1)];
        request.previousFileName = previous.FileName;
        request.previousDuration = playedEndRefTime(previous);
    }
    // The resize mode's numbers are the stretch modes' own (2 preserve aspect, 0 stretch).
    request.stretchMode = static_cast<editing::StretchMode>(std::clamp(resizeMode, 0, 3));
    return request;
}

std::optional<EditedVideoTransitions> editSelectedVideoTransitions(
    const std::vector<VideoEntry>& videos, std::vector<int> selectedRows, int resizeMode,
    base::PromptPort& prompt, QWidget* owner) {
    if (videos.empty()) {
        return std::nullopt;
    }
    const int count = static_cast<int>(videos.size());
    std::erase_if(selectedRows, [count](int row) { return row < 0 || row >= count; });
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    if (selectedRows.empty()) {
        prompt.tell(QString::fromUtf8(kSelectAnItemText), {}, base::PromptIcon::None, owner);
        return std::nullopt;
    }
    const int firstRow = selectedRows.front();
    const VideoEntry& first = videos[static_cast<std::size_t>(firstRow)];
    ClipTransitionDialog dialog({first.TransitionEffect, first.TransitionDuration},
                                transitionStillsRequestFor(videos, firstRow, resizeMode), prompt,
                                owner);
    if (dialog.exec() != QDialog::Accepted || !dialog.accepted()) {
        return std::nullopt;
    }
    return EditedVideoTransitions{std::move(selectedRows), *dialog.accepted()};
}

}  // namespace mixer
