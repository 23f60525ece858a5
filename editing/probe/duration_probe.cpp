#include "editing/probe/duration_probe.h"

#include "editing/core/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <climits>
#include <filesystem>
#include <memory>

namespace editing {

namespace {

DurationProbe failure(ProbeStage stage, Result result) {
    DurationProbe probe;
    probe.stage = stage;
    probe.result = result;
    return probe;
}

// True when a decoder of this system opens the stream's codec.
bool canDecode(const AVStream& stream) {
    const AVCodecParameters* parameters = stream.codecpar;
    if (parameters->codec_type != AVMEDIA_TYPE_VIDEO &&
        parameters->codec_type != AVMEDIA_TYPE_AUDIO) {
        return false;
    }
    if (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) {
        return false;  // cover art is a picture, not a clip
    }
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (decoder == nullptr) {
        return false;
    }
    ffmpeg::CodecContextHandle context(avcodec_alloc_context3(decoder));
    if (!context || avcodec_parameters_to_context(context.get(), parameters) < 0) {
        return false;
    }
    return avcodec_open2(context.get(), decoder, nullptr) >= 0;
}

// The container's own length, else the latest end of its decodable streams; 0 when unknown.
RefTime lengthRefTime(const AVFormatContext& format) {
    const AVRational refTimeBase{1, static_cast<int>(kRefTimePerSecond)};
    if (format.duration != AV_NOPTS_VALUE && format.duration > 0) {
        return av_rescale_q(format.duration, AVRational{1, AV_TIME_BASE}, refTimeBase);
    }
    RefTime latest = 0;
    for (unsigned index = 0; index < format.nb_streams; ++index) {
        const AVStream& stream = *format.streams[index];
        if (stream.duration == AV_NOPTS_VALUE || stream.duration <= 0) {
            continue;
        }
        const std::int64_t startTicks = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
        latest = std::max(
            latest, av_rescale_q(startTicks + stream.duration, stream.time_base, refTimeBase));
    }
    return latest;
}

}  // namespace

DurationProbe probeDuration(const std::string& path) {
    if (path.size() >= static_cast<std::size_t>(PATH_MAX)) {
        return failure(ProbeStage::Open, kErrorNameTooLong);
    }
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return failure(ProbeStage::Open, kErrorFileNotFound);
    }

    AVFormatContext* opened = nullptr;
    if (const int code = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); code < 0) {
        return failure(ProbeStage::Open, code);
    }
    ffmpeg::InputFormatHandle format(opened);
    if (const int code = avformat_find_stream_info(format.get(), nullptr); code < 0) {
        return failure(ProbeStage::Open, code);
    }
    DurationProbe probe;
    for (unsigned index = 0; index < format->nb_streams; ++index) {
        const AVStream& stream = *format->streams[index];
        const bool video = stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        if ((video ? probe.hasDecodableVideo : probe.hasDecodableAudio) || !canDecode(stream)) {
            continue;
        }
        (video ? probe.hasDecodableVideo : probe.hasDecodableAudio) = true;
    }
    if (!probe.hasDecodableVideo && !probe.hasDecodableAudio) {
        return failure(ProbeStage::Open, kErrorNoDecodableStream);
    }

    const RefTime length = lengthRefTime(*format);
    if (length <= 0) {
        probe.stage = ProbeStage::Duration;
        probe.result = kErrorFail;
        return probe;
    }
    probe.durationRefTime = length;
    return probe;
}

}  // namespace editing
