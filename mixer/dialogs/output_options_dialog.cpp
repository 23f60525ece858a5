#include "mixer/dialogs/output_options_dialog.h"

#include "mixer/dialogs/compressor_choice.h"
#include "mixer/dialogs/encoder_settings_fields.h"
#include "mixer/dialogs/number_text.h"
#include "mixer/dialogs/output_options_rules.h"
#include "mixer/project/frame_rates.h"
#include "widgets/chosen_file_names.h"
#include "widgets/dialog_builder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace mixer {

using namespace output_options;
using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::kNoControlId;
using widgets::Notification;

widgets::DialogTemplate outputOptionsTemplate() {
    const auto label = [](const char* text, int y) {
        return widgets::ControlTemplate{
            kNoControlId, ControlKind::Label, QString::fromUtf8(text), 7, y, 68, 8};
    };
    return {
        QStringLiteral("Select output options"),
        249,
        178,
        {QStringLiteral("Microsoft Sans Serif"), 8},
        {
            label("Output file:", 9),
            {kOutputNameBox, ControlKind::LineEdit, {}, 78, 7, 112, 12},
            {kBrowseButton, ControlKind::PushButton, QStringLiteral("Browse"), 196, 6, 46, 14},
            label("Resolution:", 29),
            {kResolutionList, ControlKind::DropDownList, {}, 78, 27, 80, 120},
            {kCustomWidthBox,
             ControlKind::LineEdit,
             {},
             164,
             27,
             36,
             12,
             ControlStyleFlag::AlignCentre},
            {kCustomHeightBox,
             ControlKind::LineEdit,
             {},
             206,
             27,
             36,
             12,
             ControlStyleFlag::AlignCentre},
            label("Frame rate:", 49),
            {kFrameRateList, ControlKind::DropDownList, {}, 78, 47, 80, 100},
            {kCustomFrameRateBox, ControlKind::LineEdit, {}, 164, 47, 36, 12},
            label("Resize mode:", 69),
            {kResizeModeList, ControlKind::DropDownList, {}, 78, 67, 114, 50},
            {kTransitionsButton, ControlKind::PushButton, QStringLiteral("Transitions..."), 196, 66,
             46, 14},
            label("Video compressor:", 89),
            {kVideoCompressorList, ControlKind::DropDownList, {}, 78, 87, 112, 120},
            {kHiddenScratchList,
             ControlKind::DropDownList,
             {},
             78,
             87,
             112,
             120,
             ControlStyleFlag::Hidden},
            {kCompressorSettingsButton, ControlKind::PushButton, QStringLiteral("Settings"), 196,
             86, 46, 14},
            label("Audio compressor:", 109),
            {kAudioCompressorList, ControlKind::DropDownList, {}, 78, 107, 112, 120},
            {kNoControlId, ControlKind::Label,
             QStringLiteral("Note: some video and audio compressors may not work properly. For "
                            "more detail, please read help."),
             7, 127, 235, 18},
            {kOkButton, ControlKind::PushButton, QStringLiteral("OK"), 26, 155, 50, 14,
             ControlStyleFlag::DefaultButton},
            {kDefaultCompressorsButton, ControlKind::PushButton, QStringLiteral("Defaul"), 99, 155,
             50, 14},
            {kCancelButton, ControlKind::PushButton, QStringLiteral("Cancel"), 172, 155, 50, 14},
        },
    };
}

OutputOptionsDialog::OutputOptionsDialog(const OutputSettings& settings,
                                         OutputOptionsServices services, QWidget* parent)
    : QDialog(parent), copy_(settings), services_(std::move(services)) {
    controls_ = widgets::buildDialog(outputOptionsTemplate(), *this);
    controls_.get<QLineEdit>(kCustomWidthBox).setAlignment(Qt::AlignCenter);
    controls_.get<QLineEdit>(kCustomHeightBox).setAlignment(Qt::AlignCenter);
    fillLists();
    showInitialValues();
    commands_ = {
        {kBrowseButton, Notification::Clicked, [this] { onBrowse(); }},
        {kResolutionList, Notification::SelectionChanged, [this] { onResolutionChosen(); }},
        {kFrameRateList, Notification::SelectionChanged, [this] { onFrameRateChosen(); }},
        {kDefaultCompressorsButton, Notification::Clicked, [this] { onDefaultCompressors(); }},
        {kCompressorSettingsButton, Notification::Clicked, [this] { onCompressorSettings(); }},
        {kTransitionsButton, Notification::Clicked, [this] { onTransitions(); }},
        {kOkButton, Notification::Clicked, [this] { onOk(); }},
        {kCancelButton, Notification::Clicked, [this] { reject(); }},
    };
    controls_.get<QPushButton>(kTransitionsButton)
        .setEnabled(static_cast<bool>(services_.editTransitionDefaults));
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "OutputOptionsDialog", qPrintable(unwired.join('\n')));
}

void OutputOptionsDialog::onTransitions() {
    if (services_.editTransitionDefaults) {
        services_.editTransitionDefaults(this);
    }
}

void OutputOptionsDialog::fillLists() {
    auto& resolutions = controls_.get<QComboBox>(kResolutionList);
    for (const ResolutionPreset& preset : kResolutionPresets) {
        resolutions.addItem(QString::fromUtf8(preset.text));
    }
    resolutions.addItem(QString::fromUtf8(kCustomResolutionText));

    auto& frameRates = controls_.get<QComboBox>(kFrameRateList);
    for (const FrameRatePreset& preset : kFrameRatePresets) {
        frameRates.addItem(QString::fromUtf8(preset.text));
    }
    frameRates.addItem(QString::fromUtf8(kCustomFrameRateText));

    controls_.get<QComboBox>(kResizeModeList)
        .addItems({QString::fromUtf8(kPreserveAspectRatioText), QString::fromUtf8(kStretchText)});

    auto& video = controls_.get<QComboBox>(kVideoCompressorList);
    video.addItem(QString::fromUtf8(kUncompressedVideoText));
    for (const std::string& name : services_.registry.videoNames()) {
        video.addItem(QString::fromStdString(name));
    }
    auto& audio = controls_.get<QComboBox>(kAudioCompressorList);
    audio.addItem(QString::fromUtf8(kUncompressedAudioText));
    for (const std::string& name : services_.registry.audioNames()) {
        audio.addItem(QString::fromStdString(name));
    }
}

void OutputOptionsDialog::showInitialValues() {
    controls_.get<QLineEdit>(kOutputNameBox).setText(QString::fromStdString(copy_.OutputName));

    auto& width = controls_.get<QLineEdit>(kCustomWidthBox);
    auto& height = controls_.get<QLineEdit>(kCustomHeightBox);
    width.setText(QString::number(copy_.OutputWidth));
    height.setText(QString::number(copy_.OutputHigh));
    const int resolution = resolutionIndexFor(copy_.OutputWidth, copy_.OutputHigh);
    controls_.get<QComboBox>(kResolutionList).setCurrentIndex(resolution);
    width.setVisible(resolution == kCustomResolutionIndex);
    height.setVisible(resolution == kCustomResolutionIndex);

    auto& customRate = controls_.get<QLineEdit>(kCustomFrameRateBox);
    customRate.setText(formatThreeDecimals(copy_.OutputFrameRate));
    controls_.get<QComboBox>(kFrameRateList).setCurrentIndex(copy_.OutputFrameRateIndex);
    customRate.setVisible(copy_.OutputFrameRateIndex > 4);

    const editing::CompressorRegistry& registry = services_.registry;
    controls_.get<QComboBox>(kVideoCompressorList)
        .setCurrentIndex(compressorListIndexForStored(
            services_.store.read(settings::kVideoCompressorNumber), registry.defaultVideoPosition(),
            static_cast<int>(registry.videoCompressors().size())));
    controls_.get<QComboBox>(kAudioCompressorList)
        .setCurrentIndex(compressorListIndexForStored(
            services_.store.read(settings::kAudioCompressorNumber), registry.defaultAudioPosition(),
            static_cast<int>(registry.audioCompressors().size())));

    controls_.get<QComboBox>(kResizeModeList).setCurrentIndex(resizeModeIndexFor(copy_.ResizeMode));
}

void OutputOptionsDialog::onBrowse() {
    const QString currentName = QString::fromStdString(copy_.OutputName);
    widgets::SaveFileRequest request;
    request.title = QString::fromUtf8(kBrowseTitle);
    request.filters = {{QStringLiteral("AVI file"), QStringLiteral("*.avi")}};
    request.selectedFilter = 1;
    request.initialFolder = browseStartFolder(currentName);
    // The dialog offers the current output's own name; "*.*" there would only be a filter.
    request.initialName = widgets::saveDialogInitialName(currentName);
    request.owner = this;
    const std::optional<QString> chosen = services_.filePicker.saveFile(request);
    if (!chosen) {
        return;
    }
    controls_.get<QLineEdit>(kOutputNameBox).setText(aviNameFromChosenPath(*chosen));
}

void OutputOptionsDialog::onResolutionChosen() {
    const int index = controls_.get<QComboBox>(kResolutionList).currentIndex();
    auto& width = controls_.get<QLineEdit>(kCustomWidthBox);
    auto& height = controls_.get<QLineEdit>(kCustomHeightBox);
    const bool custom = index < 0 || index >= static_cast<int>(kResolutionPresets.size());
    if (custom) {
        width.setText(QString::number(copy_.OutputWidth));
        height.setText(QString::number(copy_.OutputHigh));
    } else {
        const ResolutionPreset& preset = kResolutionPresets[static_cast<std::size_t>(index)];
        width.setText(QString::number(preset.width));
        height.setText(QString::number(preset.height));
    }
    width.setVisible(custom);
    height.setVisible(custom);
}

void OutputOptionsDialog::onFrameRateChosen() {
    const int index = controls_.get<QComboBox>(kFrameRateList).currentIndex();
    auto& customRate = controls_.get<QLineEdit>(kCustomFrameRateBox);
    const bool custom = index < 0 || index >= static_cast<int>(kFrameRatePresets.size());
    customRate.setText(
        custom ? formatThreeDecimals(copy_.OutputFrameRate)
               : formatSixDecimals(
                     kFrameRatePresets[static_cast<std::size_t>(index)].framesPerSecond));
    customRate.setVisible(custom);
}

void OutputOptionsDialog::onDefaultCompressors() {
    controls_.get<QComboBox>(kVideoCompressorList)
        .setCurrentIndex(defaultCompressorListIndex(services_.registry.defaultVideoPosition()));
    controls_.get<QComboBox>(kAudioCompressorList)
        .setCurrentIndex(defaultCompressorListIndex(services_.registry.defaultAudioPosition()));
}

void OutputOptionsDialog::onCompressorSettings() {
    const int listIndex = controls_.get<QComboBox>(kVideoCompressorList).currentIndex();
    // Entry 0, full frames, has nothing to configure.
    const std::optional<editing::Compressor> compressor = services_.registry.videoAt(listIndex - 1);
    if (listIndex <= 0 || !compressor) {
        return;
    }
    if (!hasEncoderSettings(*compressor)) {
        services_.prompt.tell(QString::fromUtf8(kNoEncoderSettingsText)
                                  .arg(QString::fromStdString(compressor->friendlyName)),
                              {}, widgets::PromptIcon::Information, this);
        return;
    }
    const std::optional<editing::CompressorSettings> chosen = services_.editEncoderSettings(
        *compressor, services_.encoderSettings.settingsFor(*compressor), this);
    if (chosen) {
        services_.encoderSettings.remember(*compressor,
                                           clampedEncoderSettings(*compressor, *chosen));
    }
}

OutputOptionsEntries OutputOptionsDialog::entries() const {
    return {
        controls_.get<QLineEdit>(kOutputNameBox).text(),
        controls_.get<QLineEdit>(kCustomWidthBox).text(),
        controls_.get<QLineEdit>(kCustomHeightBox).text(),
        controls_.get<QComboBox>(kFrameRateList).currentIndex(),
        controls_.get<QLineEdit>(kCustomFrameRateBox).text(),
        controls_.get<QComboBox>(kResizeModeList).currentIndex(),
        controls_.get<QComboBox>(kVideoCompressorList).currentIndex(),
        controls_.get<QComboBox>(kAudioCompressorList).currentIndex(),
    };
}

void OutputOptionsDialog::onOk() {
    SettingsStoreWriter profile(services_.store);
    OutputOptionsVerdict verdict =
        acceptOutputOptions(entries(), copy_, services_.registry, profile);
    if (!verdict.accepted) {
        services_.prompt.tell(verdict.refusal, {}, widgets::PromptIcon::Warning, this);
        return;
    }
    accepted_ = std::move(verdict.accepted);
    accept();
}

std::optional<AcceptedOutputOptions> runOutputOptionsDialog(const OutputSettings& settings,
                                                            OutputOptionsServices services,
                                                            QWidget* owner) {
    OutputOptionsDialog dialog(settings, std::move(services), owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.accepted();
}

}  // namespace mixer
