#include "editing/compressors/output_container.h"

#include <algorithm>
#include <cctype>

namespace editing {

namespace {

struct ContainerFormat {
    std::string_view extension;
    const char* muxerName;
};

// In the order of OutputContainer.
constexpr std::array<ContainerFormat, kOutputContainers.size()> kFormats{{
    {".avi", "avi"},
    {".mp4", "mp4"},
    {".mkv", "matroska"},
}};

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<long>(ending.size()),
                      [](char wanted, char actual) {
                          return std::tolower(static_cast<unsigned char>(actual)) == wanted;
                      });
}

}  // namespace

OutputContainer containerForFileName(std::string_view fileName) {
    for (OutputContainer container : {OutputContainer::Mp4, OutputContainer::Matroska}) {
        if (endsWithIgnoringCase(fileName, containerExtension(container))) {
            return container;
        }
    }
    return OutputContainer::Avi;
}

std::string_view containerExtension(OutputContainer container) {
    return kFormats[static_cast<std::size_t>(container)].extension;
}

const char* containerMuxerName(OutputContainer container) {
    return kFormats[static_cast<std::size_t>(container)].muxerName;
}

}  // namespace editing
