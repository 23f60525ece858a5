#pragma once

#include "editing/compressors/container_table.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace editing {

// One of the file formats a render writes: a row of kContainerFormats. AVI (row 0) is the
// default and stays exactly as it always was; every other container is chosen by the output
// file's extension. The named rows are those the program treats apart (AVI's numbered
// choices); every other row is reached through kOutputContainers or containerForFileName.
class OutputContainer {
  public:
    static const OutputContainer Avi;
    static const OutputContainer Mp4;
    static const OutputContainer Matroska;

    constexpr OutputContainer() = default;
    constexpr explicit OutputContainer(std::size_t row) : row_(row) {}

    // The row in kContainerFormats; also the index of per-container arrays.
    constexpr explicit operator std::size_t() const { return row_; }
    constexpr explicit operator int() const { return static_cast<int>(row_); }
    constexpr const ContainerFormat& format() const { return kContainerFormats[row_]; }

    constexpr bool operator==(const OutputContainer&) const = default;

  private:
    std::size_t row_ = 0;
};

inline constexpr OutputContainer OutputContainer::Avi{0};
inline constexpr OutputContainer OutputContainer::Mp4{1};
inline constexpr OutputContainer OutputContainer::Matroska{2};

namespace detail {
constexpr std::array<OutputContainer, kContainerFormats.size()> everyOutputContainer() {
    std::array<OutputContainer, kContainerFormats.size()> containers;
    for (std::size_t row = 0; row < containers.size(); ++row) {
        containers[row] = OutputContainer(row);
    }
    return containers;
}
}  // namespace detail

// Every container, in the order of the table.
inline constexpr std::array kOutputContainers = detail::everyOutputContainer();

// The container whose extension the name ends in (in any case); AVI for every other name.
OutputContainer containerForFileName(std::string_view fileName);

// The extension the container's files end in, with its dot: ".avi", ".mp4", ".mkv" ...
std::string_view containerExtension(OutputContainer container);

// The libavformat muxer that writes the container: "avi", "mp4", "matroska" ...
const char* containerMuxerName(OutputContainer container);

}  // namespace editing
