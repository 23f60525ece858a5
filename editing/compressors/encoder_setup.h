#pragma once

// Private to the editing layer: how a Compressor becomes an opened libavcodec encoder. The
// registry's probe and the render share it, so what the registry lists is what the render can
// open.

#include "editing/compressors/compressor_registry.h"
#include "editing/core/ffmpeg_handles.h"
#include "editing/core/result.h"
#include "editing/core/sound_format.h"

#include <string>

namespace editing {

struct VideoEncoderFormat {
    int width = 0;
    int height = 0;
    AVRational framesPerSecond{25, 1};
};

struct AudioEncoderFormat {
    int sampleRate = kDefaultSampleRateHz;
    int channels = 2;
};

// Where the encoder's setup data (extradata) goes: in band, or once in the stream header
// when the muxer asks for a global header.
enum class StreamHeaders { InBand, Global };

// What the opened encoder is for. A probe encoder is thrown away at once: its informational
// lines are moved below FFmpeg's default log level (its log_level_offset), so probing prints
// only warnings and errors without touching the global log level.
enum class EncoderUse { Render, Probe };

struct EncoderOptions {
    StreamHeaders headers = StreamHeaders::InBand;
    EncoderUse use = EncoderUse::Render;
    FrameReordering reordering = FrameReordering::Allowed;
};

// The pixel format the encoder is fed: yuv420p when it takes it, else its first format.
AVPixelFormat chooseEncoderPixelFormat(const AVCodec& codec);
// The sample format the encoder is fed: s16 when it takes it, else its first format.
AVSampleFormat chooseEncoderSampleFormat(const AVCodec& codec);
// The sample rate the encoder runs at: `wanted` when it takes it, else the lowest rate it
// takes above `wanted` (libopus: 48,000 Hz for 44,100), else its highest.
int chooseEncoderSampleRate(const AVCodec& codec, int wanted);

// Finds, configures (format + settings) and opens the encoder of `compressor`. Only what
// `compressor.settable` offers of `compressor.settings` is applied, clamped into its range.
// On failure `context` is empty and `description` says why.
Result openVideoEncoder(const Compressor& compressor, const VideoEncoderFormat& format,
                        EncoderOptions options, ffmpeg::CodecContextHandle& context,
                        std::string& description);
Result openAudioEncoder(const Compressor& compressor, const AudioEncoderFormat& format,
                        EncoderOptions options, ffmpeg::CodecContextHandle& context,
                        std::string& description);

}  // namespace editing
