#include "editing/compressors/encoder_setup.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <array>
#include <cstring>

namespace editing {

namespace {

void applyVideoSettings(const Compressor& compressor, AVCodecContext& context) {
    const SettableSettings& settable = compressor.settable;
    const CompressorSettings settings = clampedSettings(settable, compressor.settings);
    if (settings.quality > 0) {
        if (settable.qualityScale == QualityScale::ConstantRateFactor) {
            av_opt_set_int(context.priv_data, "crf", settings.quality, 0);
        } else {
            context.flags |= AV_CODEC_FLAG_QSCALE;
            context.global_quality = FF_QP2LAMBDA * settings.quality;
        }
    } else if (settings.bitRateKbps > 0) {
        context.bit_rate = static_cast<int64_t>(settings.bitRateKbps) * 1000;
    }
    if (settings.keyFrameInterval > 0) {
        // zmbv reads its key-frame distance from keyint_min and ignores gop_size.
        if (compressor.encoderName == "zmbv") {
            context.keyint_min = settings.keyFrameInterval;
        } else {
            context.gop_size = settings.keyFrameInterval;
        }
    }
    if (!settings.speedPreset.empty()) {
        av_opt_set(context.priv_data, "preset", settings.speedPreset.c_str(), 0);
    }
    if (compressor.encoderName == "libvpx-vp9") {
        // libvpx's own default (best quality, one thread) runs far below real time.
        av_opt_set(context.priv_data, "deadline", "good", 0);
        av_opt_set_int(context.priv_data, "cpu-used", 5, 0);
        av_opt_set_int(context.priv_data, "row-mt", 1, 0);
    }
}

void applyAudioSettings(const Compressor& compressor, AVCodecContext& context) {
    const CompressorSettings settings = clampedSettings(compressor.settable, compressor.settings);
    if (settings.bitRateKbps > 0) {
        context.bit_rate = static_cast<int64_t>(settings.bitRateKbps) * 1000;
    }
}

// The encoder of `compressor`, allocated, when it exists and is of `type`.
Result allocateEncoder(const Compressor& compressor, AVMediaType type,
                       ffmpeg::CodecContextHandle& allocated, std::string& description) {
    const AVCodec* codec = avcodec_find_encoder_by_name(compressor.encoderName.c_str());
    if (codec == nullptr || codec->type != type) {
        description = "The encoder \"" + compressor.encoderName + "\" is not available.";
        return kErrorNoCompressor;
    }
    allocated.reset(avcodec_alloc_context3(codec));
    return allocated ? kOk : kErrorOutOfMemory;
}

// Opens the configured `configured` into `context` with the header and logging `options`.
Result openConfigured(const Compressor& compressor, EncoderOptions options,
                      ffmpeg::CodecContextHandle configured, ffmpeg::CodecContextHandle& context,
                      std::string& description) {
    if (options.headers == StreamHeaders::Global) {
        configured->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (options.use == EncoderUse::Probe) {
        // AV_LOG_INFO + 8 lies below the default level; warnings stay visible.
        configured->log_level_offset = AV_LOG_VERBOSE - AV_LOG_INFO;
    }
    const int status = avcodec_open2(configured.get(), configured->codec, nullptr);
    if (status < 0) {
        description = "Could not open the encoder \"" + compressor.encoderName +
                      "\": " + describeResult(status);
        return status;
    }
    context = std::move(configured);
    return kOk;
}

template <typename Format, std::size_t Count>
Format firstPreferred(const Format* offered, Format end,
                      const std::array<Format, Count>& preferred) {
    if (offered == nullptr) {
        return preferred[0];
    }
    for (Format wanted : preferred) {
        for (const Format* format = offered; *format != end; ++format) {
            if (*format == wanted) {
                return wanted;
            }
        }
    }
    return offered[0];
}

}  // namespace

AVPixelFormat chooseEncoderPixelFormat(const AVCodec& codec) {
    // Formats that swscale can write from our YUV 4:2:0 composite, cheapest first.
    static constexpr std::array preferred{AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUVJ420P,
                                          AV_PIX_FMT_YUV422P, AV_PIX_FMT_BGR24,
                                          AV_PIX_FMT_RGB24,   AV_PIX_FMT_BGR0};
    return firstPreferred(codec.pix_fmts, AV_PIX_FMT_NONE, preferred);
}

int chooseEncoderSampleRate(const AVCodec& codec, int wanted) {
    if (codec.supported_samplerates == nullptr) {
        return wanted;
    }
    int above = 0;
    int highest = 0;
    for (const int* rate = codec.supported_samplerates; *rate != 0; ++rate) {
        if (*rate == wanted) {
            return wanted;
        }
        if (*rate > wanted && (above == 0 || *rate < above)) {
            above = *rate;
        }
        highest = std::max(highest, *rate);
    }
    return above != 0 ? above : highest;
}

AVSampleFormat chooseEncoderSampleFormat(const AVCodec& codec) {
    static constexpr std::array preferred{AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_FLTP,
                                          AV_SAMPLE_FMT_FLT};
    return firstPreferred(codec.sample_fmts, AV_SAMPLE_FMT_NONE, preferred);
}

Result openVideoEncoder(const Compressor& compressor, const VideoEncoderFormat& format,
                        EncoderOptions options, ffmpeg::CodecContextHandle& context,
                        std::string& description) {
    context.reset();
    ffmpeg::CodecContextHandle configured;
    const Result allocated =
        allocateEncoder(compressor, AVMEDIA_TYPE_VIDEO, configured, description);
    if (failed(allocated)) {
        return allocated;
    }
    configured->width = format.width;
    configured->height = format.height;
    configured->time_base = av_inv_q(format.framesPerSecond);
    configured->framerate = format.framesPerSecond;
    configured->sample_aspect_ratio = AVRational{1, 1};
    configured->pix_fmt = chooseEncoderPixelFormat(*configured->codec);
    configured->thread_count = 2;
    if (options.reordering == FrameReordering::Forbidden) {
        configured->max_b_frames = 0;
    }
    if (compressor.encoderName == "mjpeg") {
        // Limited-range 4:2:0 JPEG is what AVI MJPEG players read.
        configured->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
    }
    applyVideoSettings(compressor, *configured);
    return openConfigured(compressor, options, std::move(configured), context, description);
}

Result openAudioEncoder(const Compressor& compressor, const AudioEncoderFormat& format,
                        EncoderOptions options, ffmpeg::CodecContextHandle& context,
                        std::string& description) {
    context.reset();
    ffmpeg::CodecContextHandle configured;
    const Result allocated =
        allocateEncoder(compressor, AVMEDIA_TYPE_AUDIO, configured, description);
    if (failed(allocated)) {
        return allocated;
    }
    configured->sample_rate = chooseEncoderSampleRate(*configured->codec, format.sampleRate);
    av_channel_layout_default(&configured->ch_layout, format.channels);
    configured->sample_fmt = chooseEncoderSampleFormat(*configured->codec);
    configured->time_base = AVRational{1, configured->sample_rate};
    applyAudioSettings(compressor, *configured);
    return openConfigured(compressor, options, std::move(configured), context, description);
}

}  // namespace editing
