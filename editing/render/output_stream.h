#pragma once

// Private to OutputFileWriter: one stream of the output with its encoder and buffers, shared by
// the writer's video and container half (output_file_writer.cpp) and its audio half
// (output_file_writer_audio.cpp).

#include "editing/compressors/encoder_setup.h"
#include "editing/render/output_file_writer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace editing {

struct BufferPoolDeleter {
    void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};
using BufferPoolHandle = std::unique_ptr<AVBufferPool, BufferPoolDeleter>;

// How the render's encoders are opened for `container`: global headers where the muxer wants
// them, frames reordered where the container allows it.
inline EncoderOptions encoderOptionsFor(const AVFormatContext& format, OutputContainer container) {
    return {(format.oformat->flags & AVFMT_GLOBALHEADER) != 0 ? StreamHeaders::Global
                                                              : StreamHeaders::InBand,
            EncoderUse::Render, container.format().reordering};
}

inline PrimingSignal primingSignalFor(OutputContainer container) {
    return container.format().primingSignal;
}

struct OutputFileWriter::Stream {
    AVMediaType type = AVMEDIA_TYPE_VIDEO;
    AVStream* stream = nullptr;          // owned by the format context
    ffmpeg::CodecContextHandle encoder;  // empty for uncompressed streams
    ffmpeg::FrameHandle frame;
    // Uncompressed video: BGR24 rows converted here, then written bottom-up into the packet.
    ffmpeg::ScaleContextHandle scaler;
    std::vector<std::uint8_t> bgrRows;
    int bgrStride = 0;
    int dibStride = 0;  // a DIB row is padded to a multiple of 4 bytes
    BufferPoolHandle packetPool;
    int packetSize = 0;
    // Compressed audio: 16-bit input converted to the encoder's format, queued in `fifo`.
    ffmpeg::ResampleContextHandle converter;
    ffmpeg::AudioFifoHandle fifo;
    std::vector<std::uint8_t*> convertedPlanes;
    std::vector<std::uint8_t> convertedBuffer;
    int convertedCapacity = 0;
    int audioFrameSize = 0;
    int channels = 2;
    std::int64_t nextPts = 0;
    // Added to the encoder's packet times (in its time base): an audio encoder's priming
    // samples, so that its first packet lies at 0 as the first video frame does; in a file
    // finished by IndexToFront also the B-frames' reordering delay (see writeHeader).
    std::int64_t startShift = 0;
    // Audio: the encoder's priming samples (initial_padding), in its time base.
    std::int64_t primingSamples = 0;
    AVRational packetTimeBase{1, 1};  // of the pts we give uncompressed packets
};

}  // namespace editing
