#pragma once

#include <array>
#include <string_view>

namespace editing {

// The file formats a render writes. AVI is the default and stays exactly as it always was;
// MP4 and Matroska are chosen by the output file's extension.
enum class OutputContainer { Avi, Mp4, Matroska };

inline constexpr std::array kOutputContainers{OutputContainer::Avi, OutputContainer::Mp4,
                                              OutputContainer::Matroska};

// MP4 for a name ending in ".mp4", Matroska for ".mkv" (either in any case); AVI for every other.
OutputContainer containerForFileName(std::string_view fileName);

// The extension the container's files end in, with its dot: ".avi", ".mp4", ".mkv".
std::string_view containerExtension(OutputContainer container);

// The libavformat muxer that writes the container: "avi", "mp4", "matroska".
const char* containerMuxerName(OutputContainer container);

}  // namespace editing
