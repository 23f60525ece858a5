#include "capture/recording_file_factory.h"

#include "capture/sndfile_writer.h"

namespace capture {

std::unique_ptr<SampleFileWriter> createRecordingFile(const std::string& path,
                                                      const AudioFormat& format,
                                                      CaptureResult& result,
                                                      WavWriterOptions wavOptions) {
    const RecordingFileFormat fileFormat = recordingFileFormatFor(path);
    if (fileFormat == RecordingFileFormat::Wav) {
        return WavWriter::create(path, format, result, std::move(wavOptions));
    }
    return SndfileWriter::create(path, fileFormat, format, result, wavOptions.headerRefreshPeriod);
}

}  // namespace capture
