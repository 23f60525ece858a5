#include "editing/compressors/video_format_limits.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <cstdio>
#include <string_view>

namespace editing {

namespace {

// What one encoder refuses beyond the common ceiling.
struct EncoderLimits {
    std::string_view encoderName;
    int largestSide = kLargestFrameSide;
    int largestTimeBaseTicks = 0;  // 0: any time base the rate forms
};

// libavcodec's mpeg4 encoder writes the frame size in 13 bits and the time base's
// ticks per second in 16.
constexpr EncoderLimits kEncoderLimits[] = {
    {"mpeg4", 8191, 65535},
};

EncoderLimits limitsOf(const std::optional<Compressor>& compressor) {
    if (compressor) {
        for (const EncoderLimits& limits : kEncoderLimits) {
            if (limits.encoderName == compressor->encoderName) {
                return limits;
            }
        }
    }
    return {};
}

std::string formatted(const char* pattern, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

}  // namespace

Result checkVideoFrameFormat(const std::optional<Compressor>& compressor,
                             const VideoFrameFormat& format, std::string& description) {
    const std::string name = compressor
                                 ? "The video compressor \"" + compressor->friendlyName + "\""
                                 : std::string("Uncompressed video");
    const EncoderLimits limits = limitsOf(compressor);
    // A side below 1 is left to the encoder's set-up, which names the size it could not take.
    if (format.width > limits.largestSide || format.height > limits.largestSide) {
        description =
            formatted("%s takes frames of at most %d x %d pixels, not %d x %d.", name.c_str(),
                      limits.largestSide, limits.largestSide, format.width, format.height);
        return kErrorInvalidArgument;
    }
    if (!(format.framesPerSecond >= kSmallestFrameRate &&
          format.framesPerSecond <= kLargestFrameRate)) {
        description = formatted("The frame rate must be from %g to %g frames per second, not %.9g.",
                                kSmallestFrameRate, kLargestFrameRate, format.framesPerSecond);
        return kErrorInvalidArgument;
    }
    if (limits.largestTimeBaseTicks > 0) {
        // The same fraction the output writer forms for the stream's rate.
        const AVRational rate = av_d2q(format.framesPerSecond, 1'000'000);
        if (rate.num > limits.largestTimeBaseTicks) {
            description = formatted(
                "%s cannot take %.9g frames per second: it counts frame times "
                "in at most %d steps a second. Choose a rate such as 25 or 29.97.",
                name.c_str(), format.framesPerSecond, limits.largestTimeBaseTicks);
            return kErrorInvalidArgument;
        }
    }
    return kOk;
}

}  // namespace editing
