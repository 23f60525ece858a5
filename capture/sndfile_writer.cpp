#include "capture/sndfile_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include <sndfile.h>

namespace capture {

// Owns the libsndfile handle; closing it completes the file.
struct SndfileWriter::File {
    SNDFILE* handle = nullptr;
    ~File() {
        if (handle != nullptr) {
            sf_close(handle);
        }
    }
};

namespace {

int subtypeFor(RecordingFileFormat fileFormat, const AudioFormat& format) {
    if (fileFormat == RecordingFileFormat::OggOpus) {
        return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    }
    return SF_FORMAT_FLAC |
           (format.encoding == SampleEncoding::SignedInt16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
}

bool encodingAccepted(SampleEncoding encoding) {
    return encoding == SampleEncoding::SignedInt16 || encoding == SampleEncoding::SignedInt32 ||
           encoding == SampleEncoding::Float32;
}

}  // namespace

std::unique_ptr<SndfileWriter> SndfileWriter::create(const std::string& path,
                                                     RecordingFileFormat fileFormat,
                                                     const AudioFormat& format,
                                                     CaptureResult& result,
                                                     std::chrono::milliseconds refreshPeriod) {
    SF_INFO info{};
    info.samplerate = format.sampleRateHz;
    info.channels = format.channelCount;
    info.format = subtypeFor(fileFormat, format);
    const int rateHz = format.sampleRateHz;
    const bool opusRate =
        rateHz == 8000 || rateHz == 12000 || rateHz == 16000 || rateHz == 24000 || rateHz == 48000;
    if (fileFormat == RecordingFileFormat::OggOpus && !opusRate) {
        // The encoder takes only these rates; the device's own rate is recorded unresampled.
        result = CaptureResult::failure(
            CaptureError::UnsupportedFormat,
            "Opus records only at 8000, 12000, 16000, 24000 or 48000 Hz, the device delivers " +
                std::to_string(rateHz) + " Hz; record to a .flac or .wav file instead");
        return nullptr;
    }
    if (!encodingAccepted(format.encoding) || sf_format_check(&info) == 0) {
        result = CaptureResult::failure(CaptureError::UnsupportedFormat,
                                        "cannot store " + describe(format) + " in " + path);
        return nullptr;
    }
    auto file = std::make_unique<File>();
    file->handle = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file->handle == nullptr) {
        result = CaptureResult::failure(CaptureError::FileNotCreated,
                                        path + ": " + sf_strerror(nullptr));
        std::remove(path.c_str());  // a refused recording leaves no file behind
        return nullptr;
    }
    if (fileFormat == RecordingFileFormat::OggOpus) {
        // Short pages: a page is what a killed recorder leaves playable, and by default one
        // holds about a second of sound.
        double pageLatencyMs = 200.0;
        sf_command(file->handle, SFC_SET_OGG_PAGE_LATENCY_MS, &pageLatencyMs, sizeof pageLatencyMs);
    }
    result = CaptureResult::success();
    return std::unique_ptr<SndfileWriter>(
        new SndfileWriter(std::move(file), path, format, refreshPeriod));
}

SndfileWriter::SndfileWriter(std::unique_ptr<File> file, std::string path,
                             const AudioFormat& format, std::chrono::milliseconds refreshPeriod)
    : file_(std::move(file)),
      path_(std::move(path)),
      format_(format),
      refreshPeriod_(refreshPeriod),
      lastRefresh_(std::chrono::steady_clock::now()) {}

SndfileWriter::~SndfileWriter() {
    static_cast<void>(finish());  // whoever cared about the outcome called finish() before
}

CaptureResult SndfileWriter::fail(const std::string& what) {
    if (failure_.succeeded()) {
        const int error = errno;
        const bool full = error == ENOSPC || error == EDQUOT;
        failure_ = CaptureResult::failure(
            full ? CaptureError::DiskFull : CaptureError::WriteFailed,
            path_ + ": " + what + ": " + sf_strerror(file_ ? file_->handle : nullptr));
    }
    return failure_;
}

CaptureResult SndfileWriter::append(const void* data, std::size_t byteCount) {
    if (failure_.failed()) {
        return failure_;
    }
    if (!file_) {
        return CaptureResult::failure(CaptureError::WriteFailed, path_ + ": already closed");
    }
    partialFrame_.append(static_cast<const char*>(data), byteCount);
    const auto bytesPerFrame = static_cast<std::size_t>(format_.bytesPerFrame());
    const auto frames = static_cast<sf_count_t>(partialFrame_.size() / bytesPerFrame);
    sf_count_t written = 0;
    switch (format_.encoding) {
        case SampleEncoding::SignedInt16:
            written = sf_writef_short(file_->handle,
                                      reinterpret_cast<const short*>(partialFrame_.data()), frames);
            break;
        case SampleEncoding::SignedInt32:
            written = sf_writef_int(file_->handle,
                                    reinterpret_cast<const int*>(partialFrame_.data()), frames);
            break;
        default:
            written = sf_writef_float(file_->handle,
                                      reinterpret_cast<const float*>(partialFrame_.data()), frames);
            break;
    }
    partialFrame_.erase(0, static_cast<std::size_t>(frames) * bytesPerFrame);
    if (written != frames) {
        return fail("write failed");
    }
    if (std::chrono::steady_clock::now() - lastRefresh_ >= refreshPeriod_) {
        return refreshHeader();
    }
    return CaptureResult::success();
}

CaptureResult SndfileWriter::refreshHeader() {
    if (failure_.failed() || !file_) {
        return failure_;
    }
    // Writes out the encoder's finished frames and pages and syncs the file.
    sf_write_sync(file_->handle);
    if (sf_error(file_->handle) != SF_ERR_NO_ERROR) {
        return fail("sync failed");
    }
    lastRefresh_ = std::chrono::steady_clock::now();
    return CaptureResult::success();
}

CaptureResult SndfileWriter::finish() {
    if (!file_) {
        return failure_;
    }
    file_.reset();  // closing completes the file (last frames, last page, final header)
    return failure_;
}

}  // namespace capture
