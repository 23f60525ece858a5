#include "capture/capture_result.h"

namespace capture {

std::string_view describeCaptureError(CaptureError code) {
    switch (code) {
        case CaptureError::None:
            return "success";
        case CaptureError::NoServer:
            return "no sound server answers";
        case CaptureError::ServerNotAnswering:
            return "the sound server stopped answering";
        case CaptureError::ServerRefused:
            return "the sound server refused the request";
        case CaptureError::DeviceGone:
            return "the capture device is not available";
        case CaptureError::UnsupportedFormat:
            return "a WAV file cannot hold the device's sample format";
        case CaptureError::FileNotCreated:
            return "the output file cannot be created";
        case CaptureError::DiskFull:
            return "the disk is full";
        case CaptureError::WriteFailed:
            return "the output file could not be written";
    }
    return "unknown capture error";
}

}  // namespace capture
