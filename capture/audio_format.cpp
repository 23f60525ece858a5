#include "capture/audio_format.h"

namespace capture {

int AudioFormat::containerBytesPerSample() const {
    switch (encoding) {
        case SampleEncoding::UnsignedInt8:
        case SampleEncoding::ALaw:
        case SampleEncoding::MuLaw:
            return 1;
        case SampleEncoding::SignedInt16:
            return 2;
        case SampleEncoding::SignedInt24:
            return 3;
        case SampleEncoding::SignedInt24In32:
        case SampleEncoding::SignedInt32:
        case SampleEncoding::Float32:
            return 4;
    }
    return 2;
}

int AudioFormat::validBitsPerSample() const {
    return encoding == SampleEncoding::SignedInt24In32 ? 24 : containerBytesPerSample() * 8;
}

std::string describe(const AudioFormat& format) {
    const char* name = "s16le";
    switch (format.encoding) {
        case SampleEncoding::UnsignedInt8:
            name = "u8";
            break;
        case SampleEncoding::SignedInt16:
            name = "s16le";
            break;
        case SampleEncoding::SignedInt24:
            name = "s24le";
            break;
        case SampleEncoding::SignedInt24In32:
            name = "s24-32le";
            break;
        case SampleEncoding::SignedInt32:
            name = "s32le";
            break;
        case SampleEncoding::Float32:
            name = "float32le";
            break;
        case SampleEncoding::ALaw:
            name = "aLaw";
            break;
        case SampleEncoding::MuLaw:
            name = "uLaw";
            break;
    }
    return std::string(name) + " " + std::to_string(format.channelCount) + "ch " +
           std::to_string(format.sampleRateHz) + "Hz";
}

}  // namespace capture
