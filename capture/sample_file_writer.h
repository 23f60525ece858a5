#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "capture/audio_format.h"
#include "capture/capture_result.h"

namespace capture {

// One recording file in one format, fed with interleaved frames in the capture format. The
// writer thread drives it (one thread at a time); every format keeps the file playable while it
// grows, up to the last refresh.
class SampleFileWriter {
  public:
    virtual ~SampleFileWriter() = default;
    // Appends whole or partial frames; once a write has failed every call answers that first
    // failure (DiskFull for ENOSPC/EDQUOT, else WriteFailed).
    virtual CaptureResult append(const void* data, std::size_t byteCount) = 0;
    // Makes everything appended so far playable from the disk (header, frames, pages) and syncs.
    virtual CaptureResult refreshHeader() = 0;
    // Completes and closes the file. Idempotent.
    virtual CaptureResult finish() = 0;
    virtual const AudioFormat& format() const = 0;
};

// The file format an output name asks for: ".flac" lossless FLAC, ".opus" or ".ogg" Ogg Opus,
// anything else WAV (the default).
enum class RecordingFileFormat { Wav, Flac, OggOpus };
RecordingFileFormat recordingFileFormatFor(const std::string& path);

// Bytes a second of the file `format` makes from `capture`, for the free-space estimate: exact
// for WAV, a generous estimate for the compressed formats (FLAC about 60 % of the PCM, Opus at
// its fixed bit rate).
double fileBytesPerSecond(RecordingFileFormat format, const AudioFormat& capture);

}  // namespace capture
