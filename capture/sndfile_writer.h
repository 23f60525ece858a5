#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "capture/sample_file_writer.h"

namespace capture {

// Writes FLAC or Ogg Opus through libsndfile. Accepts 16-bit, 32-bit and float captures.
// Every `refreshPeriod` the encoder's frames and pages are written out and the file synced, so
// a killed recorder leaves a file that plays to within about a second of the kill.
class SndfileWriter final : public SampleFileWriter {
  public:
    // Null with `result` set (UnsupportedFormat, FileNotCreated) when the file cannot be made.
    [[nodiscard]] static std::unique_ptr<SndfileWriter> create(
        const std::string& path, RecordingFileFormat fileFormat, const AudioFormat& format,
        CaptureResult& result,
        std::chrono::milliseconds refreshPeriod = std::chrono::milliseconds(500));
    ~SndfileWriter() override;

    CaptureResult append(const void* data, std::size_t byteCount) override;
    CaptureResult refreshHeader() override;
    CaptureResult finish() override;
    const AudioFormat& format() const override { return format_; }

  private:
    struct File;
    SndfileWriter(std::unique_ptr<File> file, std::string path, const AudioFormat& format,
                  std::chrono::milliseconds refreshPeriod);
    CaptureResult fail(const std::string& what);

    std::unique_ptr<File> file_;
    std::string path_;
    AudioFormat format_;
    std::chrono::milliseconds refreshPeriod_;
    std::chrono::steady_clock::time_point lastRefresh_;
    std::string partialFrame_;  // bytes of a frame not yet complete
    CaptureResult failure_;
};

}  // namespace capture
