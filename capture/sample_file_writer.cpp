#include "capture/sample_file_writer.h"

#include <algorithm>
#include <cctype>

namespace capture {
namespace {

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

RecordingFileFormat recordingFileFormatFor(const std::string& path) {
    if (endsWithNoCase(path, ".flac")) {
        return RecordingFileFormat::Flac;
    }
    if (endsWithNoCase(path, ".opus") || endsWithNoCase(path, ".ogg")) {
        return RecordingFileFormat::OggOpus;
    }
    return RecordingFileFormat::Wav;
}

double fileBytesPerSecond(RecordingFileFormat format, const AudioFormat& capture) {
    switch (format) {
        case RecordingFileFormat::Flac:
            // Lossless: about 60 % of 16-bit (or 24-bit) PCM for music, less for speech.
            return 0.6 * capture.sampleRateHz * capture.channelCount *
                   (capture.encoding == SampleEncoding::SignedInt16 ? 2 : 3);
        case RecordingFileFormat::OggOpus:
            return 16000.0;  // 128 kbit/s, above the encoder's usual rate
        case RecordingFileFormat::Wav:
            break;
    }
    return capture.bytesPerSecond();
}

}  // namespace capture
