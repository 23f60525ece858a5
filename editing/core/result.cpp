#include "editing/core/result.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cstdint>

namespace editing {

bool isEditingResult(Result result) {
    return (static_cast<std::uint32_t>(result) & 0xF0000000u) == 0x80000000u;
}

std::string describeResult(Result result) {
    switch (result) {
        case kOk:
            return "The operation completed successfully.";
        case kFalse:
            return "The operation completed; there was nothing to do.";
        case kErrorFail:
            return "Unspecified error.";
        case kErrorInvalidArgument:
            return "An argument is not valid.";
        case kErrorOutOfMemory:
            return "Not enough memory is available to complete the operation.";
        case kErrorNoInterface:
            return "The object does not support this operation.";
        case kErrorPointer:
            return "A required object is missing.";
        case kErrorNotImplemented:
            return "Not implemented.";
        case kErrorUnexpected:
            return "Catastrophic failure.";
        case kErrorStopBeforeStart:
            return "The stop time lies before the start time.";
        case kErrorEmptyMediaSpan:
            return "The media times give a length of zero or less.";
        case kErrorUnknownStretchMode:
            return "The stretch mode is not known.";
        case kErrorNodeAlreadyAttached:
            return "The object has already been added to the time line.";
        case kErrorWrongNodeKind:
            return "The object is of the wrong kind for this operation.";
        case kErrorUnknownNode:
            return "The object does not belong to this time line.";
        case kErrorNoMediaType:
            return "The group has no media type.";
        case kErrorEmptyTimeline:
            return "The time line has no groups.";
        case kErrorFileNotFound:
            return "The file was not found.";
        case kErrorNameTooLong:
            return "The file name is longer than the system allows.";
        case kErrorNoDecodableStream:
            return "The file has no stream that can be decoded.";
        case kErrorNoCompressor:
            return "The compressor is not available on this system.";
        case kErrorRenderBusy:
            return "A render is already running.";
        default:
            break;
    }
    if (isEditingResult(result) || result >= 0) {
        return {};
    }
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(result, text, sizeof text) < 0) {
        return {};
    }
    return text;
}

}  // namespace editing
