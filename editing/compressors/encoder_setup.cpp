#include "editing/compressors/encoder_setup.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <array>
#include <cstring>

namespace editing {

namespace {

std::string averrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool takesQscale(const std::string& encoderName) {
    return encoderName == "mpeg4" || encoderName == "msmpeg4" || encoderName == "msmpeg4v2" ||
           encoderName == "mjpeg";
}

void applyVideoSettings(const Compressor& compressor, AVCodecContext& context) {
    const CompressorSettings& settings = compressor.settings;
    if (compressor.hasQuality && settings.quality > 0) {
        if (takesQscale(compressor.encoderName)) {
            context.flags |= AV_CODEC_FLAG_QSCALE;
            context.global_quality = FF_QP2LAMBDA * settings.quality;
        } else {
            av_opt_set_int(context.priv_data, "crf", settings.quality, 0);
        }
    } else if (compressor.hasBitRate && settings.bitRateKbps > 0) {
        context.bit_rate = static_cast<int64_t>(settings.bitRateKbps) * 1000;
    }
    if (compressor.hasKeyFrameInterval && settings.keyFrameInterval > 0) {
        context.gop_size = settings.keyFrameInterval;
    }
    if (compressor.hasSpeedPreset && !settings.speedPreset.empty()) {
        av_opt_set(context.priv_data, "preset", settings.speedPreset.c_str(), 0);
    }
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

AVSampleFormat chooseEncoderSampleFormat(const AVCodec& codec) {
    static constexpr std::array preferred{AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_FLTP,
                                          AV_SAMPLE_FMT_FLT};
    return firstPreferred(codec.sample_fmts, AV_SAMPLE_FMT_NONE, preferred);
}

Result openVideoEncoder(const Compressor& compressor, const VideoEncoderFormat& format,
                        bool globalHeader, ffmpeg::CodecContextHandle& context,
                        std::string& description) {
    context.reset();
    const AVCodec* codec = avcodec_find_encoder_by_name(compressor.encoderName.c_str());
    if (codec == nullptr || codec->type != AVMEDIA_TYPE_VIDEO) {
        description = "The encoder \"" + compressor.encoderName + "\" is not available.";
        return kErrorNoCompressor;
    }
    ffmpeg::CodecContextHandle opened(avcodec_alloc_context3(codec));
    if (!opened) {
        return kErrorOutOfMemory;
    }
    opened->width = format.width;
    opened->height = format.height;
    opened->time_base = av_inv_q(format.framesPerSecond);
    opened->framerate = format.framesPerSecond;
    opened->sample_aspect_ratio = AVRational{1, 1};
    opened->pix_fmt = chooseEncoderPixelFormat(*codec);
    opened->thread_count = 2;
    if (compressor.encoderName == "mjpeg") {
        // Limited-range 4:2:0 JPEG is what AVI MJPEG players read.
        opened->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
    }
    if (globalHeader) {
        opened->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    applyVideoSettings(compressor, *opened);
    const int status = avcodec_open2(opened.get(), codec, nullptr);
    if (status < 0) {
        description =
            "Could not open the encoder \"" + compressor.encoderName + "\": " + averrorText(status);
        return status;
    }
    context = std::move(opened);
    return kOk;
}

Result openAudioEncoder(const Compressor& compressor, const AudioEncoderFormat& format,
                        bool globalHeader, ffmpeg::CodecContextHandle& context,
                        std::string& description) {
    context.reset();
    const AVCodec* codec = avcodec_find_encoder_by_name(compressor.encoderName.c_str());
    if (codec == nullptr || codec->type != AVMEDIA_TYPE_AUDIO) {
        description = "The encoder \"" + compressor.encoderName + "\" is not available.";
        return kErrorNoCompressor;
    }
    ffmpeg::CodecContextHandle opened(avcodec_alloc_context3(codec));
    if (!opened) {
        return kErrorOutOfMemory;
    }
    opened->sample_rate = format.sampleRate;
    av_channel_layout_default(&opened->ch_layout, format.channels);
    opened->sample_fmt = chooseEncoderSampleFormat(*codec);
    opened->time_base = AVRational{1, format.sampleRate};
    if (globalHeader) {
        opened->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (compressor.hasBitRate && compressor.settings.bitRateKbps > 0) {
        opened->bit_rate = static_cast<int64_t>(compressor.settings.bitRateKbps) * 1000;
    }
    const int status = avcodec_open2(opened.get(), codec, nullptr);
    if (status < 0) {
        description =
            "Could not open the encoder \"" + compressor.encoderName + "\": " + averrorText(status);
        return status;
    }
    context = std::move(opened);
    return kOk;
}

}  // namespace editing
