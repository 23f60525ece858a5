#include "capture/recording_file_factory.h"

#include "capture/recording_file_lock.h"
#include "capture/sndfile_writer.h"

#include <unistd.h>

#include <utility>

namespace capture {

namespace {

// A writer that holds its file's recording lock for as long as it lives.
class LockedRecordingFile : public SampleFileWriter {
  public:
    LockedRecordingFile(RecordingFileLock lock, std::unique_ptr<SampleFileWriter> writer)
        : lock_(std::move(lock)), writer_(std::move(writer)) {}

    CaptureResult append(const void* data, std::size_t byteCount) override {
        return writer_->append(data, byteCount);
    }
    CaptureResult refreshHeader() override { return writer_->refreshHeader(); }
    CaptureResult finish() override { return writer_->finish(); }
    const AudioFormat& format() const override { return writer_->format(); }

  private:
    RecordingFileLock lock_;  // released after the writer has closed the file
    std::unique_ptr<SampleFileWriter> writer_;
};

}  // namespace

std::unique_ptr<SampleFileWriter> createRecordingFile(const std::string& path,
                                                      const AudioFormat& format,
                                                      CaptureResult& result,
                                                      WavWriterOptions wavOptions) {
    // The lock comes first: a file another recorder is writing must not be truncated.
    RecordingFileLock lock = RecordingFileLock::acquire(path, result);
    if (!lock.held()) {
        return nullptr;
    }
    const bool createdFile = lock.createdFile();
    const RecordingFileFormat fileFormat = recordingFileFormatFor(path);
    std::unique_ptr<SampleFileWriter> writer;
    if (fileFormat == RecordingFileFormat::Wav) {
        writer = WavWriter::create(path, format, result, std::move(wavOptions));
    } else {
        writer =
            SndfileWriter::create(path, fileFormat, format, result, wavOptions.headerRefreshPeriod);
    }
    if (!writer) {
        if (createdFile) {
            ::unlink(path.c_str());  // leave no empty file behind a take that never started
        }
        return nullptr;
    }
    return std::make_unique<LockedRecordingFile>(std::move(lock), std::move(writer));
}

}  // namespace capture
