#include "mixer/dialogs/output_options_dialog.h"

#include "base/text/chosen_file_names.h"
#include "mixer/dialogs/encoder_settings_fields.h"
#include "mixer/dialogs/labelled_list_accessible.h"
#include "mixer/output/compressor_choice.h"
#include "mixer/output/container_compressors.h"
#include "mixer/output/number_text.h"
#include "mixer/output/output_options_rules.h"
#include "mixer/project/frame_rates.h"
#include "widgets/dialog_builder.h"

#include <QComboBox>
#include <QLabel>
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
            {kResolutionList, ControlKind::DropDownList, {}, 78, 27, 84, 120},
            {kCustomWidthBox,
             ControlKind::LineEdit,
             {},
             166,
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
            {kFrameRateList, ControlKind::DropDownList, {}, 78, 47, 84, 100},
            {kCustomFrameRateBox, ControlKind::LineEdit, {}, 166, 47, 36, 12},
            label("Resize mode:", 69),
            {kResizeModeList, ControlKind::DropDownList, {}, 78, 67, 114, 50},
            {kTransitionsButton, ControlKind::PushButton, QStringLiteral("Transitions..."), 196, 66,
             46, 14},
            label("Video compressor:", 89),
            {kVideoCompressorList, ControlKind::DropDownList, {}, 78, 87, 116, 120},
            {kHiddenScratchList,
             ControlKind::DropDownList,
             {},
             78,
             87,
             116,
             120,
             ControlStyleFlag::Hidden},
            {kCompressorSettingsButton, ControlKind::PushButton, QStringLiteral("Settings"), 196,
             86, 46, 14},
            label("Audio compressor:", 109),
            {kAudioCompressorList, ControlKind::DropDownList, {}, 78, 107, 116, 120},
            {kAudioCompressorSettingsButton, ControlKind::PushButton, QStringLiteral("Settings"),
             196, 106, 46, 14, ControlStyleFlag::Hidden},
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
    for (editing::OutputContainer container : editing::kOutputContainers) {
        selections_[static_cast<std::size_t>(container)] =
            storedSelections(services_.registry, services_.store, container);
    }
    shownContainer_ = editing::containerForFileName(copy_.OutputName);
    controls_ = widgets::buildDialog(outputOptionsTemplate(), *this);
    controls_.get<QLineEdit>(kCustomWidthBox).setAlignment(Qt::AlignCenter);
    controls_.get<QLineEdit>(kCustomHeightBox).setAlignment(Qt::AlignCenter);
    fillLists();
    nameControls();
    showInitialValues();
    commands_ = {
        {kBrowseButton, Notification::Clicked, [this] { onBrowse(); }},
        {kResolutionList, Notification::SelectionChanged, [this] { onResolutionChosen(); }},
        {kFrameRateList, Notification::SelectionChanged, [this] { onFrameRateChosen(); }},
        {kDefaultCompressorsButton, Notification::Clicked, [this] { onDefaultCompressors(); }},
        {kCompressorSettingsButton, Notification::Clicked, [this] { onCompressorSettings(); }},
        {kAudioCompressorSettingsButton, Notification::Clicked,
         [this] { onAudioCompressorSettings(); }},
        {kTransitionsButton, Notification::Clicked, [this] { onTransitions(); }},
        {kOkButton, Notification::Clicked, [this] { onOk(); }},
        {kCancelButton, Notification::Clicked, [this] { reject(); }},
    };
    // Typed or set by Browse: either may change the container.
    connect(&controls_.get<QLineEdit>(kOutputNameBox), &QLineEdit::textChanged, this,
            &OutputOptionsDialog::onOutputNameEdited);
    controls_.get<QPushButton>(kTransitionsButton)
        .setEnabled(static_cast<bool>(services_.editTransitionDefaults));
    const QStringList unwired = commands_.wire(controls_);
    Q_ASSERT_X(unwired.isEmpty(), "OutputOptionsDialog", qPrintable(unwired.join('\n')));
}

void OutputOptionsDialog::nameControls() {
    // Screen readers announce a list by its label's text, and tie the two through the buddy.
    const struct {
        const char* label;
        int id;
    } labelled[] = {
        {"Output file:", kOutputNameBox},
        {"Resolution:", kResolutionList},
        {"Frame rate:", kFrameRateList},
        {"Resize mode:", kResizeModeList},
        {"Video compressor:", kVideoCompressorList},
        {"Audio compressor:", kAudioCompressorList},
    };
    const QList<QLabel*> labels = findChildren<QLabel*>();
    for (const auto& [text, id] : labelled) {
        for (QLabel* label : labels) {
            if (label->text() == QString::fromUtf8(text)) {
                label->setBuddy(&controls_.get(id));
                QString name = label->text();
                name.remove(QLatin1Char('&'));
                name.remove(QLatin1Char(':'));
                if (auto* list = qobject_cast<QComboBox*>(&controls_.get(id))) {
                    announceListByItsName(*list);
                }
                controls_.get(id).setAccessibleName(name.trimmed());
            }
        }
    }
    controls_.get(kCustomWidthBox).setAccessibleName(QStringLiteral("Custom width"));
    controls_.get(kCustomHeightBox).setAccessibleName(QStringLiteral("Custom height"));
    controls_.get(kCustomFrameRateBox).setAccessibleName(QStringLiteral("Custom frame rate"));
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
    for (const ResolutionPreset& preset : kLaterResolutionPresets) {
        resolutions.addItem(QString::fromUtf8(preset.text));
    }
    resolutions.addItem(QString::fromUtf8(kSameAsFirstClipSizeText));

    auto& frameRates = controls_.get<QComboBox>(kFrameRateList);
    for (int index = 0; index < kFrameRateEntryCount; ++index) {
        frameRates.addItem(QString::fromUtf8(frameRateEntryText(index)));
    }

    controls_.get<QComboBox>(kResizeModeList)
        .addItems({QString::fromUtf8(kPreserveAspectRatioText), QString::fromUtf8(kStretchText)});
}

void OutputOptionsDialog::showCompressorLists(editing::OutputContainer container) {
    shownContainer_ = container;
    const bool avi = container == editing::OutputContainer::Avi;
    auto& video = controls_.get<QComboBox>(kVideoCompressorList);
    auto& audio = controls_.get<QComboBox>(kAudioCompressorList);
    video.clear();
    audio.clear();
    // AVI lists start with "no compressor"; MP4 and Matroska always compress.
    if (avi) {
        video.addItem(QString::fromUtf8(kUncompressedVideoText));
        audio.addItem(QString::fromUtf8(kUncompressedAudioText));
    }
    for (const std::string& name : services_.registry.videoNames(container)) {
        video.addItem(QString::fromStdString(name));
    }
    for (const std::string& name : services_.registry.audioNames(container)) {
        audio.addItem(QString::fromStdString(name));
    }
    const CompressorSelections& selections = selections_[static_cast<std::size_t>(container)];
    video.setCurrentIndex(selections.video);
    audio.setCurrentIndex(selections.audio);
    controls_.get<QPushButton>(kAudioCompressorSettingsButton).setVisible(!avi);
}

CompressorSelections OutputOptionsDialog::selectionsOf(editing::OutputContainer container) const {
    if (container == shownContainer_) {
        return {controls_.get<QComboBox>(kVideoCompressorList).currentIndex(),
                controls_.get<QComboBox>(kAudioCompressorList).currentIndex()};
    }
    return selections_[static_cast<std::size_t>(container)];
}

void OutputOptionsDialog::onOutputNameEdited() {
    const editing::OutputContainer container = editing::containerForFileName(
        controls_.get<QLineEdit>(kOutputNameBox).text().toStdString());
    if (container == shownContainer_) {
        return;
    }
    selections_[static_cast<std::size_t>(shownContainer_)] = selectionsOf(shownContainer_);
    showCompressorLists(container);
}

void OutputOptionsDialog::showInitialValues() {
    controls_.get<QLineEdit>(kOutputNameBox).setText(QString::fromStdString(copy_.OutputName));

    auto& width = controls_.get<QLineEdit>(kCustomWidthBox);
    auto& height = controls_.get<QLineEdit>(kCustomHeightBox);
    width.setText(QString::number(copy_.OutputWidth));
    height.setText(QString::number(copy_.OutputHigh));
    const int resolution = copy_.SizeSource == OutputSizeSource::FirstClip
                               ? kFirstClipResolutionIndex
                               : resolutionIndexFor(copy_.OutputWidth, copy_.OutputHigh);
    controls_.get<QComboBox>(kResolutionList).setCurrentIndex(resolution);
    width.setVisible(resolution == kCustomResolutionIndex);
    height.setVisible(resolution == kCustomResolutionIndex);

    auto& customRate = controls_.get<QLineEdit>(kCustomFrameRateBox);
    customRate.setText(formatThreeDecimals(copy_.OutputFrameRate));
    controls_.get<QComboBox>(kFrameRateList).setCurrentIndex(copy_.OutputFrameRateIndex);
    customRate.setVisible(copy_.OutputFrameRateIndex == kCustomFrameRateIndex);

    showCompressorLists(shownContainer_);

    controls_.get<QComboBox>(kResizeModeList).setCurrentIndex(resizeModeIndexFor(copy_.ResizeMode));
}

void OutputOptionsDialog::onBrowse() {
    const QString currentName = QString::fromStdString(copy_.OutputName);
    base::SaveFileRequest request;
    request.title = QString::fromUtf8(kBrowseTitle);
    for (editing::OutputContainer container : editing::kOutputContainers) {
        const std::string_view extension = editing::containerExtension(container);
        const QString pattern =
            QStringLiteral("*") +
            QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
        request.filters.append(
            {QStringLiteral("%1 (%2)").arg(
                 QString::fromUtf8(kOutputFileFilterNames[static_cast<std::size_t>(container)]),
                 pattern),
             pattern});
    }
    request.selectedFilter = static_cast<int>(shownContainer_) + 1;
    int chosenFilter = request.selectedFilter;
    request.chosenFilter = &chosenFilter;
    request.initialFolder = browseStartFolder(currentName);
    // The dialog offers the current output's own name; "*.*" there would only be a filter.
    request.initialName = base::saveDialogInitialName(currentName);
    request.owner = this;
    const std::optional<QString> chosen = services_.filePicker.saveFile(request);
    if (!chosen) {
        return;
    }
    const int filterIndex = chosenFilter >= 1 && chosenFilter <= request.filters.size()
                                ? chosenFilter - 1
                                : static_cast<int>(shownContainer_);
    controls_.get<QLineEdit>(kOutputNameBox)
        .setText(outputNameFromChosenPath(
            *chosen, editing::kOutputContainers[static_cast<std::size_t>(filterIndex)]));
}

void OutputOptionsDialog::onResolutionChosen() {
    const int index = controls_.get<QComboBox>(kResolutionList).currentIndex();
    auto& width = controls_.get<QLineEdit>(kCustomWidthBox);
    auto& height = controls_.get<QLineEdit>(kCustomHeightBox);
    const std::optional<ResolutionPreset> preset = resolutionPresetAt(index);
    width.setText(QString::number(preset ? preset->width : copy_.OutputWidth));
    height.setText(QString::number(preset ? preset->height : copy_.OutputHigh));
    const bool custom = !preset && index != kFirstClipResolutionIndex;
    width.setVisible(custom);
    height.setVisible(custom);
}

void OutputOptionsDialog::onFrameRateChosen() {
    const int index = controls_.get<QComboBox>(kFrameRateList).currentIndex();
    auto& customRate = controls_.get<QLineEdit>(kCustomFrameRateBox);
    const std::optional<double> fixed = fixedFrameRateAt(index);
    customRate.setText(fixed ? formatSixDecimals(*fixed)
                             : formatThreeDecimals(copy_.OutputFrameRate));
    customRate.setVisible(!fixed && index != kFirstClipFrameRateIndex);
}

void OutputOptionsDialog::onDefaultCompressors() {
    const CompressorSelections defaults = defaultSelections(services_.registry, shownContainer_);
    controls_.get<QComboBox>(kVideoCompressorList).setCurrentIndex(defaults.video);
    controls_.get<QComboBox>(kAudioCompressorList).setCurrentIndex(defaults.audio);
}

std::optional<editing::Compressor> OutputOptionsDialog::shownCompressor(
    editing::CompressorKind kind) const {
    const bool video = kind == editing::CompressorKind::Video;
    const int listIndex =
        controls_.get<QComboBox>(video ? kVideoCompressorList : kAudioCompressorList)
            .currentIndex();
    if (shownContainer_ == editing::OutputContainer::Avi) {
        // Entry 0, no compressor, has nothing to configure.
        return video ? services_.registry.videoAt(listIndex - 1)
                     : services_.registry.audioAt(listIndex - 1);
    }
    return video ? services_.registry.videoAt(shownContainer_, listIndex)
                 : services_.registry.audioAt(shownContainer_, listIndex);
}

void OutputOptionsDialog::onCompressorSettings() {
    if (const std::optional<editing::Compressor> compressor =
            shownCompressor(editing::CompressorKind::Video)) {
        editEncoderSettings(*compressor);
    }
}

void OutputOptionsDialog::onAudioCompressorSettings() {
    if (const std::optional<editing::Compressor> compressor =
            shownCompressor(editing::CompressorKind::Audio)) {
        editEncoderSettings(*compressor);
    }
}

void OutputOptionsDialog::editEncoderSettings(const editing::Compressor& compressor) {
    if (!hasEncoderSettings(compressor)) {
        services_.prompt.tell(QString::fromUtf8(kNoEncoderSettingsText)
                                  .arg(QString::fromStdString(compressor.friendlyName)),
                              {}, base::PromptIcon::Information, this);
        return;
    }
    const std::optional<editing::CompressorSettings> chosen = services_.editEncoderSettings(
        compressor, services_.encoderSettings.settingsFor(compressor), this);
    if (chosen) {
        services_.encoderSettings.remember(compressor, clampedEncoderSettings(compressor, *chosen));
    }
}

OutputOptionsEntries OutputOptionsDialog::entries() const {
    OutputOptionsEntries entries{
        controls_.get<QLineEdit>(kOutputNameBox).text(),
        controls_.get<QLineEdit>(kCustomWidthBox).text(),
        controls_.get<QLineEdit>(kCustomHeightBox).text(),
        controls_.get<QComboBox>(kFrameRateList).currentIndex(),
        controls_.get<QLineEdit>(kCustomFrameRateBox).text(),
        controls_.get<QComboBox>(kResizeModeList).currentIndex(),
        selectionsOf(editing::OutputContainer::Avi).video,
        selectionsOf(editing::OutputContainer::Avi).audio,
        {},
        controls_.get<QComboBox>(kResolutionList).currentIndex(),
    };
    for (const editing::OutputContainer container : editing::kOutputContainers) {
        entries.namedSelections[static_cast<std::size_t>(container)] = selectionsOf(container);
    }
    return entries;
}

void OutputOptionsDialog::onOk() {
    SettingsStoreWriter profile(services_.store);
    OutputOptionsVerdict verdict =
        acceptOutputOptions(entries(), copy_, services_.registry, profile);
    if (!verdict.accepted) {
        services_.prompt.tell(verdict.refusal, {}, base::PromptIcon::Warning, this);
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
