#pragma once

// Private to the editing layer: how a Compressor becomes an opened libavcodec encoder. The
// registry's probe and the render share it, so what the registry lists is what the render can
// open.

#include "editing/compressors/compressor_registry.h"
#include "editing/compressors/ffmpeg_handles.h"
#include "editing/core/result.h"

#include <string>

namespace editing {

struct VideoEncoderFormat {
    int width = 0;
    int height = 0;
    AVRational framesPerSecond{25, 1};
};

struct AudioEncoderFormat {
    int sampleRate = 44100;
    int channels = 2;
};

// The pixel format the encoder is fed: yuv420p when it takes it, else its first format.
AVPixelFormat chooseEncoderPixelFormat(const AVCodec& codec);
// The sample format the encoder is fed: s16 when it takes it, else its first format.
AVSampleFormat chooseEncoderSampleFormat(const AVCodec& codec);

// Finds, configures (format + settings) and opens the encoder of `compressor`.
// `globalHeader` asks for extradata in the stream header (set when the muxer wants it).
// On failure `context` is empty and `description` says why.
Result openVideoEncoder(const Compressor& compressor, const VideoEncoderFormat& format,
                        bool globalHeader, ffmpeg::CodecContextHandle& context,
                        std::string& description);
Result openAudioEncoder(const Compressor& compressor, const AudioEncoderFormat& format,
                        bool globalHeader, ffmpeg::CodecContextHandle& context,
                        std::string& description);

}  // namespace editing
