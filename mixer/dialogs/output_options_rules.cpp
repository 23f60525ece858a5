#include "mixer/dialogs/output_options_rules.h"

#include "mixer/dialogs/number_text.h"

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
    const qsizetype nameStart = chosenPath.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype lastDot = chosenPath.lastIndexOf(QLatin1Char('.'));
    // Only a dot inside the file name, after its first character, starts an extension.
    const QString stem = lastDot > nameStart ? chosenPath.left(lastDot) : chosenPath;
    return stem + QStringLiteral(".avi");
}

QString browseStartFolder(const QString& outputName) {
    const qsizetype lastSlash = outputName.lastIndexOf(QLatin1Char('/'));
    if (lastSlash < 0) {
        return QStringLiteral(".");
    }
    if (lastSlash == 0) {
        return QStringLiteral("/");
    }
    return outputName.left(lastSlash);
}

}  // namespace mixer
