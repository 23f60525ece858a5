#include "mixer/output/output_options_rules.h"

#include "base/text/chosen_file_names.h"
#include "mixer/output/number_text.h"

namespace mixer {

std::optional<ResolutionPreset> resolutionPresetAt(int index) {
    if (index >= 0 && index < static_cast<int>(kResolutionPresets.size())) {
        return kResolutionPresets[static_cast<std::size_t>(index)];
    }
    const int later = index - kFirstLaterResolutionIndex;
    if (later >= 0 && later < static_cast<int>(kLaterResolutionPresets.size())) {
        return kLaterResolutionPresets[static_cast<std::size_t>(later)];
    }
    return std::nullopt;
}

int resolutionIndexFor(int width, int height) {
    for (int index = 0; index < kFirstClipResolutionIndex; ++index) {
        const std::optional<ResolutionPreset> preset = resolutionPresetAt(index);
        if (preset && preset->width == width && preset->height == height) {
            return index;
        }
    }
    return kCustomResolutionIndex;
}

int resizeModeIndexFor(int resizeMode) {
    return resizeMode == kResizeModePreserveAspectRatio ? 0 : 1;
}

int resizeModeForIndex(int index) {
    return index == 0 ? kResizeModePreserveAspectRatio : kResizeModeStretch;
}

int normalisedFrameSide(const QString& typed) {
    const int side = leadingInteger(typed) / 8 * 8;
    return side < kSmallestFrameSide ? kSmallestFrameSide : side;
}

QString aviNameFromChosenPath(const QString& chosenPath) {
    return outputNameFromChosenPath(chosenPath, editing::OutputContainer::Avi);
}

QString outputNameFromChosenPath(const QString& chosenPath, editing::OutputContainer container) {
    const std::string_view extension = editing::containerExtension(container);
    return base::withFileExtension(
        chosenPath,
        QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size())));
}

QString browseStartFolder(const QString& outputName) {
    return base::saveDialogStartFolder(outputName);
}

}  // namespace mixer
