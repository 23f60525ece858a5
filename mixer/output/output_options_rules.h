#pragma once

#include "editing/compressors/output_container.h"
#include "editing/compressors/video_format_limits.h"

#include <QString>

#include <array>
#include <optional>

namespace mixer {

// The resolution list of the output options dialog (control 1025). The texts are display
// strings only (their irregular blanks around '*' included); the sizes come from this table.
struct ResolutionPreset {
    const char* text;
    int width;
    int height;
};

inline constexpr std::array<ResolutionPreset, 8> kResolutionPresets{{
    {"800*600", 800, 600},
    {"640*480", 640, 480},
    {"720 * 576", 720, 576},
    {"720 * 480", 720, 480},
    {"480*576", 480, 576},
    {"480*480", 480, 480},
    {"352 * 288", 352, 288},
    {"352 * 240", 352, 240},
}};
inline constexpr int kCustomResolutionIndex = 8;
inline constexpr const char* kCustomResolutionText = "Custom Size";
// Appended after "Custom Size" so the older entries keep their places: today's HD, upright
// phone and UHD sizes, then the first clip's own size (learned when a mix starts).
inline constexpr int kFirstLaterResolutionIndex = 9;
inline constexpr std::array<ResolutionPreset, 4> kLaterResolutionPresets{{
    {"1280*720", 1280, 720},
    {"1920*1080", 1920, 1080},
    {"1080*1920", 1080, 1920},
    {"3840*2160", 3840, 2160},
}};
inline constexpr int kFirstClipResolutionIndex = 13;
inline constexpr const char* kSameAsFirstClipSizeText = "Same as the first clip";

// The fixed size of resolution entry `index`; nothing for "Custom Size", the first clip's entry
// or an index outside the list.
std::optional<ResolutionPreset> resolutionPresetAt(int index);

// The resize-mode list (control 1057): entry 0 keeps the aspect ratio (ResizeMode 2), entry 1
// stretches (ResizeMode 0).
inline constexpr const char* kPreserveAspectRatioText = "Preserve aspect ratio";
inline constexpr const char* kStretchText = "Stretch";
inline constexpr int kResizeModePreserveAspectRatio = 2;
inline constexpr int kResizeModeStretch = 0;

// Smallest frame side the output accepts, in pixels.
inline constexpr int kSmallestFrameSide = editing::kSmallestFrameSide;

// The resolution entry (0 - 7, 9 - 12) whose size equals width x height, searched in list
// order, or kCustomResolutionIndex when none does.
int resolutionIndexFor(int width, int height);

// The resize-mode entry shown for a ResizeMode, and the ResizeMode an entry stands for.
int resizeModeIndexFor(int resizeMode);
int resizeModeForIndex(int index);

// A frame side typed by the user: its leading integer (0 when there is none), rounded down
// toward zero to a multiple of 8, and at least 16. "1001" -> 1000, "7", "0", "-20", "abc" -> 16.
int normalisedFrameSide(const QString& typed);

// The output name made from a path chosen in the save dialog: the file name's extension (from
// its last '.') replaced by ".avi", or ".avi" added when it has none. Folders are never cut, so
// the file lands where the user chose it. "/clips/out.mpg" -> "/clips/out.avi";
// "/clips/out" -> "/clips/out.avi"; "/my.clips/out" -> "/my.clips/out.avi";
// "/clips/.hidden" -> "/clips/.hidden.avi".
QString aviNameFromChosenPath(const QString& chosenPath);
// The same rule with the extension of `container` (".avi", ".mp4", ".mkv" ...).
QString outputNameFromChosenPath(const QString& chosenPath, editing::OutputContainer container);

// The save dialog's filters, one per container in the order of editing::kOutputContainers:
// "AVI files (*.avi)", "MP4 files (*.mp4)", "Matroska files (*.mkv)" ...
inline constexpr auto kOutputFileFilterNames = [] {
    std::array<const char*, editing::kOutputContainers.size()> names{};
    for (editing::OutputContainer container : editing::kOutputContainers) {
        names[static_cast<std::size_t>(container)] = container.format().fileFilterName;
    }
    return names;
}();

// The folder the save dialog starts in: `outputName` cut before its last '/', "/" for a file
// in the root folder, "." when the name holds no '/'.
QString browseStartFolder(const QString& outputName);

}  // namespace mixer
