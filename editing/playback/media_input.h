#pragma once

// Private to the render: one decoded stream of a media file, read from the start (or from a
// seek point) to its end.

#include "editing/core/ffmpeg_handles.h"
#include "editing/core/ref_time.h"
#include "editing/core/result.h"

#include <cstdint>
#include <string>

namespace editing {

class MediaInput {
  public:
    // Opens the best stream of `type` in `fileName` with its decoder. `decoderThreads` > 1
    // turns on the decoder's own threads. Fails with kErrorNoDecodableStream when the file has
    // no such stream that can be decoded; `description` says why.
    Result open(const std::string& fileName, AVMediaType type, int decoderThreads,
                std::string& description);

    // Positions the input so that the next frames start at or before `mediaTime`.
    void seekBefore(RefTime mediaTime);

    // The next decoded frame into `frame` (unreferenced first). Returns false at the end of
    // the stream or on a read error from which the file cannot go on.
    bool nextFrame(AVFrame& frame);

    // Presentation time of `frame` relative to the stream's start (100-ns units).
    RefTime frameTime(const AVFrame& frame) const;

    // The stream's display matrix (nine values), or null when it has none.
    const std::int32_t* displayMatrix() const;

    const AVCodecContext& decoder() const { return *decoder_; }
    const AVStream& stream() const { return *format_->streams[streamIndex_]; }

  private:
    ffmpeg::InputFormatHandle format_;
    ffmpeg::CodecContextHandle decoder_;
    ffmpeg::PacketHandle packet_;
    int streamIndex_ = -1;
    bool inputEnded_ = false;
    bool decoderDrained_ = false;
};

}  // namespace editing
