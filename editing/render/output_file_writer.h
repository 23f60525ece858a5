#pragma once

// Private to the render: the output file, its streams and their encoders.

#include "editing/compressors/compressor_registry.h"
#include "editing/compressors/output_container.h"
#include "editing/core/ffmpeg_handles.h"
#include "editing/core/picture.h"
#include "editing/core/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace editing {

class GrowingFileIndex;

// Writes one file of an output container (its row in kContainerFormats says how) through
// libavformat. Streams are added in the order they
// appear in the file. Packets go through av_interleaved_write_frame, so the file is interleaved
// by time. Every stream starts at time 0: video frame k is stamped k / fps, and audio packets
// are stamped from the first sample the encoder gives out (its priming samples included).
// - AVI: the AVI muxer (OpenDML RIFF-AVIX extension past 1 GiB, done by the muxer). Video
//   frames are never reordered (no B-frames), since AVI players show packet k at k / fps. A
//   video stream without a compressor holds 24-bit BGR bottom-up DIBs (rows padded to 4 bytes,
//   the header's height positive), an audio stream without one 16-bit PCM. Its index is
//   written as the file grows too (avi_progressive_index.h), so a killed render's file seeks.
// - MP4 (FinishingStep::IndexToFront): written as fragmented MP4 (a fragment a second), so a
//   render that is killed leaves a
//   file that plays, in step, up to its last fragment (every stream starting later by the
//   B-frames' reordering delay), its durations kept current (fragment_duration_patch.h);
//   finish() rewrites it as ordinary MP4 with the index at the
//   front (faststart) and every stream starting at 0.
// - Matroska: the Matroska muxer (a cluster a second); its clusters play up to the last one
//   written, and its Duration is kept current (matroska_duration_patch.h).
//
// Threading: one thread at a time.
class OutputFileWriter {
  public:
    OutputFileWriter();
    ~OutputFileWriter();
    OutputFileWriter(const OutputFileWriter&) = delete;
    OutputFileWriter& operator=(const OutputFileWriter&) = delete;

    Result create(const std::string& fileName, OutputContainer container, std::string& description);
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

    // Flushes the encoders, writes the trailer and index and closes the file (for MP4 then
    // rewrites it with the index at the front). On success `description` is empty, or says
    // what the user should know about the complete file (an MP4 rewrite that failed, for lack
    // of room for the second copy: the fragmented file is kept, complete and playable).
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
    // Converts `frames` 16-bit frames (none and null: what the converter holds back) into the
    // encoder's format and rate and queues them.
    Result convertIntoFifo(Stream& stream, const std::uint8_t* samples, int frames);
    // av_interleaved_write_frame of packet_, keeping the growing file's index current.
    Result writeInterleaved();
    // MP4: starts the audio streams as late as the muxer starts a video stream with B-frames.
    void delayAudioByVideoReordering();

    std::string fileName_;
    OutputContainer container_ = OutputContainer::Avi;
    ffmpeg::OutputFormatHandle format_;  // its pb is the open file, null once closed
    bool headerWritten_ = false;
    std::vector<std::unique_ptr<Stream>> streams_;
    ffmpeg::PacketHandle packet_;
    std::unique_ptr<GrowingFileIndex> growingIndex_;  // null once the file is closed
};

}  // namespace editing
