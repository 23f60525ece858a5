#pragma once

// Private to the editing layer: owning handles for FFmpeg objects. Each handle frees its
// object with the matching FFmpeg call, so no path can leak or double-free one.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace editing::ffmpeg {

struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using CodecContextHandle = std::unique_ptr<AVCodecContext, CodecContextDeleter>;

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FrameHandle = std::unique_ptr<AVFrame, FrameDeleter>;

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using PacketHandle = std::unique_ptr<AVPacket, PacketDeleter>;

// An input opened with avformat_open_input.
struct InputFormatDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using InputFormatHandle = std::unique_ptr<AVFormatContext, InputFormatDeleter>;

// An output made with avformat_alloc_output_context2. Its file, when still open, is closed
// as it stands (no trailer): finishing a file is the owner's job.
struct OutputFormatDeleter {
    void operator()(AVFormatContext* context) const {
        if (context->pb != nullptr && (context->oformat->flags & AVFMT_NOFILE) == 0) {
            avio_closep(&context->pb);
        }
        avformat_free_context(context);
    }
};
using OutputFormatHandle = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;

struct ScaleContextDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
using ScaleContextHandle = std::unique_ptr<SwsContext, ScaleContextDeleter>;

struct ResampleContextDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using ResampleContextHandle = std::unique_ptr<SwrContext, ResampleContextDeleter>;

struct AudioFifoDeleter {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
using AudioFifoHandle = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;

inline FrameHandle makeFrame() {
    return FrameHandle(av_frame_alloc());
}
inline PacketHandle makePacket() {
    return PacketHandle(av_packet_alloc());
}

}  // namespace editing::ffmpeg
