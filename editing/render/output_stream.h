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
// them, and no B-frames in AVI (a player shows AVI packet k at k / fps).
inline EncoderOptions encoderOptionsFor(const AVFormatContext& format, OutputContainer container) {
    return {
        (format.oformat->flags & AVFMT_GLOBALHEADER) != 0 ? StreamHeaders::Global
                                                          : StreamHeaders::InBand,
        EncoderUse::Render,
        container == OutputContainer::Avi ? FrameReordering::Forbidden : FrameReordering::Allowed};
}

// How a container learns that an audio encoder's first samples (its priming, the encoder
// delay) are not sound, so that the sound starts with the picture.
enum class PrimingSignal {
    // AVI: no field for it; the priming samples are written as sound from 0 (under 26 ms late).
    AsSound,
    // Matroska: Opus keeps its first packet at 0 and the codec parameters' initial padding,
    // which the muxer writes as CodecDelay; other encoders stamp their first packet before 0
    // (-priming) and the muxer starts every stream later by the priming, so picture and sound
    // stay in step (the first frame then lies at the priming's length, under 24 ms).
    NegativeStart,
    // MP4: the fragmented file holds the priming from 0; the rewrite at the end stamps it
    // before 0, which the muxer writes as the audio track's edit list (media time = priming).
    EditList,
};

inline PrimingSignal primingSignalFor(OutputContainer container) {
    switch (container) {
        case OutputContainer::Mp4:
            return PrimingSignal::EditList;
        case OutputContainer::Matroska:
            return PrimingSignal::NegativeStart;
        case OutputContainer::Avi:
            break;
    }
    return PrimingSignal::AsSound;
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
    // samples, so that its first packet lies at 0 as the first video frame does; in MP4 also
    // the B-frames' reordering delay (see writeHeader).
    std::int64_t startShift = 0;
    // Audio: the encoder's priming samples (initial_padding), in its time base.
    std::int64_t primingSamples = 0;
    AVRational packetTimeBase{1, 1};  // of the pts we give uncompressed packets
};

}  // namespace editing
