#include "editing/compressors/output_container.h"

#include <algorithm>
#include <cctype>

namespace editing {

namespace {

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
    for (OutputContainer container : kOutputContainers) {
        if (container != OutputContainer::Avi &&
            endsWithIgnoringCase(fileName, containerExtension(container))) {
            return container;
        }
    }
    return OutputContainer::Avi;
}

std::string_view containerExtension(OutputContainer container) {
    return container.format().extension;
}

const char* containerMuxerName(OutputContainer container) {
    return container.format().muxerName;
}

}  // namespace editing
