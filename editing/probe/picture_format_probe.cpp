#include "editing/probe/picture_format_probe.h"

#include "editing/core/ffmpeg_handles.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <cmath>

namespace editing {

namespace {

// True when the stream's display matrix turns the picture by a quarter or three quarters.
bool turnsAQuarter(const AVStream& stream) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (data == nullptr || size < 9 * sizeof(std::int32_t)) {
        return false;
    }
    const double degrees = av_display_rotation_get(reinterpret_cast<const std::int32_t*>(data));
    if (std::isnan(degrees)) {
        return false;
    }
    const long quarters = std::lround(degrees / 90.0);
    return std::abs(degrees - 90.0 * static_cast<double>(quarters)) < 1.0 && quarters % 2 != 0;
}

}  // namespace

Result probeShownPictureFormat(const std::string& path, ShownPictureFormat& format,
                               std::string& description) {
    AVFormatContext* opened = nullptr;
    if (const int code = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); code < 0) {
        description = "Could not open \"" + path + "\": " + describeResult(code);
        return code;
    }
    ffmpeg::InputFormatHandle input(opened);
    if (const int code = avformat_find_stream_info(input.get(), nullptr); code < 0) {
        description = "Could not read \"" + path + "\": " + describeResult(code);
        return code;
    }
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        description = "\"" + path + "\" has no picture.";
        return kErrorNoDecodableStream;
    }
    AVStream& stream = *input->streams[index];
    const AVCodecParameters& parameters = *stream.codecpar;
    AVRational rate = stream.avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) {
        rate = av_guess_frame_rate(input.get(), &stream, nullptr);
    }
    if (parameters.width <= 0 || parameters.height <= 0 || rate.num <= 0 || rate.den <= 0) {
        description = "The picture size or frame rate of \"" + path + "\" is unknown.";
        return kErrorFail;
    }
    const bool turned = turnsAQuarter(stream);
    format.width = turned ? parameters.height : parameters.width;
    format.height = turned ? parameters.width : parameters.height;
    format.framesPerSecond = av_q2d(rate);
    format.frameRateFrames = rate.num;
    format.frameRateSeconds = rate.den;
    return kOk;
}

}  // namespace editing
