#include "mixer/output/output_options_rules.h"

#include "mixer/output/number_text.h"
#include "widgets/chosen_file_names.h"

namespace mixer {

int resolutionIndexFor(int width, int height) {
    for (std::size_t index = 0; index < kResolutionPresets.size(); ++index) {
        if (kResolutionPresets[index].width == width &&
            kResolutionPresets[index].height == height) {
            return static_cast<int>(index);
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
    return widgets::withFileExtension(
        chosenPath,
        QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size())));
}

QString browseStartFolder(const QString& outputName) {
    return widgets::saveDialogStartFolder(outputName);
}

}  // namespace mixer
