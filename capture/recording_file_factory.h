#pragma once

#include <memory>
#include <string>

#include "capture/audio_format.h"
#include "capture/capture_result.h"
#include "capture/sample_file_writer.h"
#include "capture/wav_writer.h"

namespace capture {

// Creates the recording file in the format its name asks for (recordingFileFormatFor): WAV with
// `wavOptions`, FLAC or Ogg Opus. Null with `result` set when the file cannot be made.
[[nodiscard]] std::unique_ptr<SampleFileWriter> createRecordingFile(const std::string& path,
                                                                    const AudioFormat& format,
                                                                    CaptureResult& result,
                                                                    WavWriterOptions wavOptions);

}  // namespace capture
