#include "tests/editing/render/decoded_avi.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdlib>
#include <memory>

namespace render_test {

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct ResamplerFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};

using CodecHandle = std::unique_ptr<AVCodecContext, CodecFreer>;

void keepVideoFrame(const AVFrame& frame, const AVStream& stream, DecodedAvi& decoded) {
    std::int64_t timestamp = frame.best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE) {
        timestamp = static_cast<std::int64_t>(decoded.frames.size()) *
                    av_rescale_q(1, av_inv_q(stream.avg_frame_rate), stream.time_base);
    }
    decoded.frameSeconds.push_back(static_cast<double>(timestamp) * av_q2d(stream.time_base));
    std::unique_ptr<SwsContext, ScalerFreer> scaler(sws_getContext(
        frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
        frame.height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr));
    RgbFrame rgb;
    rgb.width = frame.width;
    rgb.height = frame.height;
    rgb.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
    uint8_t* planes[4] = {rgb.pixels.data(), nullptr, nullptr, nullptr};
    int strides[4] = {frame.width * 3, 0, 0, 0};
    sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
    decoded.frames.push_back(std::move(rgb));
}

void keepAudioFrame(const AVFrame& frame, DecodedAvi& decoded) {
    SwrContext* raw = nullptr;
    AVChannelLayout stereo{};
    av_channel_layout_default(&stereo, 2);
    AVChannelLayout input{};
    av_channel_layout_copy(&input, &frame.ch_layout);
    swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_FLT, frame.sample_rate, &input,
                        static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    std::unique_ptr<SwrContext, ResamplerFreer> resampler(raw);
    swr_init(resampler.get());
    const std::size_t used = decoded.samples.size();
    decoded.samples.resize(used + static_cast<std::size_t>(frame.nb_samples) * 2);
    uint8_t* output = reinterpret_cast<uint8_t*>(decoded.samples.data() + used);
    const int converted =
        swr_convert(resampler.get(), &output, frame.nb_samples,
                    const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    decoded.samples.resize(used + static_cast<std::size_t>(std::max(converted, 0)) * 2);
    decoded.sampleRate = frame.sample_rate;
}

}  // namespace

Rgb RgbFrame::at(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * width + x) * 3;
    return Rgb{pixels[offset], pixels[offset + 1], pixels[offset + 2]};
}

DecodedAvi decodeFile(const std::string& path) {
    DecodedAvi decoded;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
        return decoded;
    }
    std::unique_ptr<AVFormatContext, FormatCloser> format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0) {
        return decoded;
    }
    decoded.opened = true;
    decoded.formatName = format->iformat->name;
    std::vector<CodecHandle> decoders(format->nb_streams);
    int videoStream = -1;
    int audioStream = -1;
    for (unsigned index = 0; index < format->nb_streams; ++index) {
        const AVCodecParameters& parameters = *format->streams[index]->codecpar;
        StreamSummary summary;
        summary.isVideo = parameters.codec_type == AVMEDIA_TYPE_VIDEO;
        summary.codecName = avcodec_get_name(parameters.codec_id);
        summary.width = parameters.width;
        summary.height = parameters.height;
        summary.sampleRate = parameters.sample_rate;
        summary.channels = parameters.ch_layout.nb_channels;
        const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
        if (codec != nullptr) {
            decoders[index].reset(avcodec_alloc_context3(codec));
            avcodec_parameters_to_context(decoders[index].get(), &parameters);
            // Frame times then follow what the decoder drops (an encoder's priming samples).
            decoders[index]->pkt_timebase = format->streams[index]->time_base;
            if (avcodec_open2(decoders[index].get(), codec, nullptr) < 0) {
                decoders[index].reset();
            }
        }
        if (summary.isVideo && videoStream < 0) {
            videoStream = static_cast<int>(index);
            decoded.declaredVideoFrames = format->streams[index]->nb_frames;
            decoded.videoFramesPerSecond = av_q2d(format->streams[index]->avg_frame_rate);
        }
        if (parameters.codec_type == AVMEDIA_TYPE_AUDIO && audioStream < 0) {
            audioStream = static_cast<int>(index);
        }
        if (summary.isVideo && decoders[index]) {
            summary.pixelFormat = av_get_pix_fmt_name(decoders[index]->pix_fmt)
                                      ? av_get_pix_fmt_name(decoders[index]->pix_fmt)
                                      : "";
        }
        decoded.streams.push_back(summary);
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    auto receiveAll = [&](int index) {
        while (avcodec_receive_frame(decoders[index].get(), frame.get()) >= 0) {
            if (index == videoStream) {
                keepVideoFrame(*frame, *format->streams[index], decoded);
            } else if (index == audioStream) {
                if (decoded.samples.empty() && frame->best_effort_timestamp != AV_NOPTS_VALUE) {
                    decoded.firstAudioFrameSeconds =
                        static_cast<double>(frame->best_effort_timestamp) *
                        av_q2d(format->streams[index]->time_base);
                }
                keepAudioFrame(*frame, decoded);
            }
            av_frame_unref(frame.get());
        }
    };
    bool audioPacketSeen = false;
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        const int index = packet->stream_index;
        if (index == videoStream) {
            const AVStream& stream = *format->streams[index];
            const std::int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            decoded.videoPacketSeconds.push_back(static_cast<double>(time) *
                                                 av_q2d(stream.time_base));
            ++decoded.videoPackets;
            decoded.videoKeyPackets += (packet->flags & AV_PKT_FLAG_KEY) != 0 ? 1 : 0;
        }
        if (index == audioStream && !audioPacketSeen && packet->pts != AV_NOPTS_VALUE) {
            audioPacketSeen = true;
            decoded.firstAudioPacketSeconds =
                static_cast<double>(packet->pts) * av_q2d(format->streams[index]->time_base);
        }
        if ((index == videoStream || index == audioStream) && decoders[index]) {
            if (avcodec_send_packet(decoders[index].get(), packet.get()) < 0) {
                ++decoded.decodeErrors;
            }
            receiveAll(index);
        }
        av_packet_unref(packet.get());
    }
    for (int index : {videoStream, audioStream}) {
        if (index >= 0 && decoders[index]) {
            avcodec_send_packet(decoders[index].get(), nullptr);
            receiveAll(index);
        }
    }
    return decoded;
}

double toneFrequencyHz(const DecodedAvi& decoded, double fromSeconds, double toSeconds) {
    const auto first = static_cast<std::size_t>(fromSeconds * decoded.sampleRate);
    const auto last = static_cast<std::size_t>(toSeconds * decoded.sampleRate);
    int crossings = 0;
    double firstCrossing = -1.0;
    double lastCrossing = -1.0;
    for (std::size_t index = first + 1; index < last && index * 2 < decoded.samples.size();
         ++index) {
        const float previous = decoded.samples[(index - 1) * 2];
        const float current = decoded.samples[index * 2];
        if (previous < 0.0f && current >= 0.0f) {
            const double position =
                static_cast<double>(index - 1) + previous / (previous - current);
            if (firstCrossing < 0.0) {
                firstCrossing = position;
            } else {
                ++crossings;
            }
            lastCrossing = position;
        }
    }
    if (crossings == 0) {
        return 0.0;
    }
    return crossings * decoded.sampleRate / (lastCrossing - firstCrossing);
}

double rmsLevel(const DecodedAvi& decoded, double fromSeconds, double toSeconds) {
    const auto first = static_cast<std::size_t>(fromSeconds * decoded.sampleRate);
    const auto last = static_cast<std::size_t>(toSeconds * decoded.sampleRate);
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t index = first; index < last && index * 2 < decoded.samples.size(); ++index) {
        sum += static_cast<double>(decoded.samples[index * 2]) * decoded.samples[index * 2];
        ++count;
    }
    return count == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(count));
}

double firstBrightFrameSeconds(const DecodedAvi& decoded, int minimumLuma) {
    for (std::size_t index = 0; index < decoded.frames.size(); ++index) {
        const Rgb centre = decoded.frames[index].centre();
        if ((centre.red * 299 + centre.green * 587 + centre.blue * 114) / 1000 > minimumLuma) {
            return decoded.frameSeconds[index];
        }
    }
    return -1.0;
}

double firstLoudSampleSeconds(const DecodedAvi& decoded, float minimumLevel) {
    for (std::size_t index = 0; index * 2 < decoded.samples.size(); ++index) {
        if (std::abs(decoded.samples[index * 2]) > minimumLevel) {
            return static_cast<double>(index) / decoded.sampleRate;
        }
    }
    return -1.0;
}

std::string codecNameOfEncoder(const std::string& encoderName) {
    const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.c_str());
    return codec == nullptr ? std::string() : avcodec_get_name(codec->id);
}

bool near(const Rgb& colour, const Rgb& expected, int tolerance) {
    return std::abs(colour.red - expected.red) <= tolerance &&
           std::abs(colour.green - expected.green) <= tolerance &&
           std::abs(colour.blue - expected.blue) <= tolerance;
}

std::string describe(const Rgb& colour) {
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

}  // namespace render_test
