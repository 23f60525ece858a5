#pragma once

// Private to the render: the AVI file, its streams and their encoders.

#include "editing/compressors/compressor_registry.h"
#include "editing/core/ffmpeg_handles.h"
#include "editing/core/picture.h"
#include "editing/core/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace editing {

// Writes one AVI file through libavformat's AVI muxer (OpenDML RIFF-AVIX extension past
// 1 GiB, done by the muxer). Streams are added in the order they appear in the file. A video
// stream without a compressor holds 24-bit BGR bottom-up DIBs (rows padded to 4 bytes, the
// header's height positive), an audio stream without one 16-bit PCM. Packets go through
// av_interleaved_write_frame, so the file is interleaved by time.
//
// Threading: one thread at a time.
class AviWriter {
  public:
    AviWriter();
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    Result create(const std::string& fileName, std::string& description);
    // Each returns the new stream's index through `stream`.
    Result addVideoStream(int width, int height, double framesPerSecond,
                          const std::optional<Compressor>& compressor, int& stream,
                          std::string& description);
    Result addAudioStream(int sampleRate, int channels, const std::optional<Compressor>& compressor,
                          int& stream, std::string& description);
    Result writeHeader(std::string& description);

    // Frame `frameIndex` of a video stream (pictures of the stream's size).
    Result writeVideo(int stream, const ConstPictureView& picture, std::int64_t frameIndex);
    // `frames` interleaved 16-bit frames of an audio stream, following the previous ones.
    Result writeAudio(int stream, const std::int16_t* samples, int frames);

    // Flushes the encoders, writes the trailer and index and closes the file.
    Result finish(std::string& description);
    // Closes the file without finishing it and removes it (a start that failed).
    void abandon();

  private:
    struct Stream;
    Result drainEncoder(Stream& stream);
    // Whether the samples left in the queue that do not fill a whole encoder frame are encoded
    // too (padded with silence where the encoder takes only whole frames).
    enum class AudioTail { Keep, Flush };
    Result encodeAudioFrames(Stream& stream, AudioTail tail);

    std::string fileName_;
    ffmpeg::OutputFormatHandle format_;  // its pb is the open file, null once closed
    bool headerWritten_ = false;
    std::vector<std::unique_ptr<Stream>> streams_;
    ffmpeg::PacketHandle packet_;
};

}  // namespace editing
