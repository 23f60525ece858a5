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
    for (OutputContainer container : {OutputContainer::Mp4, OutputContainer::Matroska}) {
        if (endsWithIgnoringCase(fileName, containerExtension(container))) {
            return container;
        }
    }
    return OutputContainer::Avi;
}

std::string_view containerExtension(OutputContainer container) {
    switch (container) {
        case OutputContainer::Mp4:
            return ".mp4";
        case OutputContainer::Matroska:
            return ".mkv";
        case OutputContainer::Avi:
            break;
    }
    return ".avi";
}

const char* containerMuxerName(OutputContainer container) {
    switch (container) {
        case OutputContainer::Mp4:
            return "mp4";
        case OutputContainer::Matroska:
            return "matroska";
        case OutputContainer::Avi:
            break;
    }
    return "avi";
}

}  // namespace editing
