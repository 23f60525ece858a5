#include "capture/wav_writer.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace capture {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatALaw = 6;
constexpr std::uint16_t kFormatMuLaw = 7;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kDs64BodyBytes = 28;
constexpr std::uint32_t kUnknownSize32 = 0xFFFFFFFFu;

class ByteBuffer {
  public:
    void text(const char* fourCharacters) {
        bytes_.insert(bytes_.end(), fourCharacters, fourCharacters + 4);
    }
    void u16(std::uint16_t value) {
        for (int i = 0; i < 2; ++i) {
            bytes_.push_back(static_cast<unsigned char>(value >> (8 * i)));
        }
    }
    void u32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<unsigned char>(value >> (8 * i)));
        }
    }
    void u64(std::uint64_t value) {
        u32(static_cast<std::uint32_t>(value));
        u32(static_cast<std::uint32_t>(value >> 32));
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void raw(const unsigned char* data, std::size_t count) {
        bytes_.insert(bytes_.end(), data, data + count);
    }
    const std::vector<unsigned char>& bytes() const { return bytes_; }

  private:
    std::vector<unsigned char> bytes_;
};

bool needsExtensible(const AudioFormat& format) {
    if (format.encoding == SampleEncoding::ALaw || format.encoding == SampleEncoding::MuLaw) {
        return false;
    }
    return format.channelCount > 2 || format.containerBytesPerSample() > 2 ||
           format.validBitsPerSample() != format.containerBytesPerSample() * 8;
}

std::uint16_t plainFormatTag(const AudioFormat& format) {
    switch (format.encoding) {
        case SampleEncoding::Float32:
            return kFormatFloat;
        case SampleEncoding::ALaw:
            return kFormatALaw;
        case SampleEncoding::MuLaw:
            return kFormatMuLaw;
        default:
            return kFormatPcm;
    }
}

// The "fmt " chunk body: WAVEFORMATEX, or WAVEFORMATEXTENSIBLE where the plain form is
// ambiguous (more than two channels, more than 16 bits, or padded containers).
ByteBuffer formatChunkBody(const AudioFormat& format) {
    ByteBuffer body;
    const bool extensible = needsExtensible(format);
    const std::uint16_t tag = plainFormatTag(format);
    body.u16(extensible ? kFormatExtensible : tag);
    body.u16(static_cast<std::uint16_t>(format.channelCount));
    body.u32(static_cast<std::uint32_t>(format.sampleRateHz));
    body.u32(static_cast<std::uint32_t>(format.bytesPerSecond()));
    body.u16(static_cast<std::uint16_t>(format.bytesPerFrame()));
    body.u16(static_cast<std::uint16_t>(format.containerBytesPerSample() * 8));
    if (extensible) {
        body.u16(22);
        body.u16(static_cast<std::uint16_t>(format.validBitsPerSample()));
        body.u32(format.channelMask);
        // The sub-format GUID: the plain format tag followed by the fixed WAVE tail.
        static const unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        body.u16(tag);
        body.raw(kGuidTail, sizeof kGuidTail);
    } else if (tag != kFormatPcm) {
        body.u16(0);
    }
    return body;
}

// Writes `count` bytes at `offset` (or at the file position when `offset` is negative). Adds
// every byte that reached the file to `bytesWritten`, also when a later part fails, so that a
// caller knows how far a short write on a full disk got.
bool writeAll(int fileDescriptor, const unsigned char* data, std::size_t count, off_t offset,
              std::uint64_t& bytesWritten) {
    while (count > 0) {
        const ssize_t written = offset >= 0 ? pwrite(fileDescriptor, data, count, offset)
                                            : write(fileDescriptor, data, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        count -= static_cast<std::size_t>(written);
        bytesWritten += static_cast<std::uint64_t>(written);
        if (offset >= 0) {
            offset += written;
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<WavWriter> WavWriter::create(const std::string& path, const AudioFormat& format,
                                             CaptureResult& result, WavWriterOptions options) {
    if (format.channelCount <= 0 || format.sampleRateHz <= 0) {
        result = CaptureResult::failure(CaptureError::UnsupportedFormat,
                                        "unsupported audio format " + describe(format));
        return nullptr;
    }
    const int fileDescriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fileDescriptor < 0) {
        result = CaptureResult::failure(CaptureError::FileNotCreated,
                                        path + ": " + std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<WavWriter> writer(new WavWriter(fileDescriptor, path, format, options));
    result = writer->writeHeader();
    if (result.failed()) {
        return nullptr;
    }
    return writer;
}

WavWriter::WavWriter(int fileDescriptor, std::string path, const AudioFormat& format,
                     WavWriterOptions options)
    : fileDescriptor_(fileDescriptor),
      path_(std::move(path)),
      format_(format),
      options_(options),
      lastRefresh_(std::chrono::steady_clock::now()) {}

WavWriter::~WavWriter() {
    // Whoever cared about the outcome called finish() before; here it only closes the file.
    static_cast<void>(finish());
}

std::uint64_t WavWriter::frameCount() const {
    return dataBytes_ / static_cast<std::uint64_t>(format_.bytesPerFrame());
}

CaptureResult WavWriter::fail(const std::string& what) {
    if (failure_.succeeded()) {
        const int error = errno;
        const bool full = error == ENOSPC || error == EDQUOT;
        failure_ = CaptureResult::failure(full ? CaptureError::DiskFull : CaptureError::WriteFailed,
                                          path_ + ": " + what + ": " + std::strerror(error));
    }
    return failure_;
}

CaptureResult WavWriter::append(const void* data, std::size_t byteCount) {
    if (failure_.failed()) {
        return failure_;
    }
    if (fileDescriptor_ < 0) {
        return CaptureResult::failure(CaptureError::WriteFailed, path_ + ": already closed");
    }
    if (!writeAll(fileDescriptor_, static_cast<const unsigned char*>(data), byteCount, -1,
                  dataBytes_)) {
        const CaptureResult failure = fail("write failed");
        dropPartialFrame();
        return failure;
    }
    if (std::chrono::steady_clock::now() - lastRefresh_ >= options_.headerRefreshPeriod) {
        return refreshHeader();
    }
    return CaptureResult::success();
}

void WavWriter::dropPartialFrame() {
    // A short write on a full disk can end inside a frame. Cutting the file back to the last
    // whole frame (shrinking needs no new block) keeps the header, the stored samples and the
    // file's length in agreement; a frame that reached the disk only in part is lost anyway.
    // An odd count loses one frame more: the pad byte that would keep the chunk even cannot
    // be written on a full disk, and the RIFF size counts it.
    const auto bytesPerFrame = static_cast<std::uint64_t>(format_.bytesPerFrame());
    dataBytes_ -= dataBytes_ % bytesPerFrame;
    if ((dataBytes_ & 1) != 0) {
        dataBytes_ -= bytesPerFrame;
    }
    const auto fileBytes = static_cast<off_t>(headerBytes_ + dataBytes_);
    // Should the cut fail, the first failure (the write) stays the writer's answer and the
    // header written by finish() still counts only whole frames that are stored.
    if (::ftruncate(fileDescriptor_, fileBytes) == 0) {
        static_cast<void>(::lseek(fileDescriptor_, fileBytes, SEEK_SET));  // nothing follows
    }
}

CaptureResult WavWriter::refreshHeader() {
    if (failure_.failed()) {
        return failure_;
    }
    if (fileDescriptor_ < 0) {
        return CaptureResult::failure(CaptureError::WriteFailed, path_ + ": already closed");
    }
    if (auto written = writeHeader(); written.failed()) {
        return written;
    }
    // The header must reach the disk together with the samples it counts, so that a crash or a
    // power loss leaves sizes that never point past the samples really stored.
    if (options_.beforeSync) {
        options_.beforeSync();
    }
    if (::fdatasync(fileDescriptor_) != 0) {
        return fail("sync failed");
    }
    lastRefresh_ = std::chrono::steady_clock::now();
    return CaptureResult::success();
}

CaptureResult WavWriter::writeHeader() {
    const ByteBuffer format = formatChunkBody(format_);
    const bool hasFact = plainFormatTag(format_) != kFormatPcm;
    const std::uint64_t headerBytes =
        12 + 8 + kDs64BodyBytes + 8 + format.bytes().size() + (hasFact ? 12 : 0) + 8;
    const std::uint64_t paddedData = dataBytes_ + (dataBytes_ & 1);
    const std::uint64_t riffBytes = headerBytes - 8 + paddedData;
    if (riffBytes > options_.riffLimitBytes) {
        rf64_ = true;
    }
    const std::uint64_t frames = frameCount();

    ByteBuffer header;
    header.text(rf64_ ? "RF64" : "RIFF");
    header.u32(rf64_ ? kUnknownSize32 : static_cast<std::uint32_t>(riffBytes));
    header.text("WAVE");
    header.text(rf64_ ? "ds64" : "JUNK");
    header.u32(kDs64BodyBytes);
    if (rf64_) {
        header.u64(riffBytes);
        header.u64(dataBytes_);
        header.u64(frames);
        header.u32(0);
    } else {
        header.zeros(kDs64BodyBytes);
    }
    header.text("fmt ");
    header.u32(static_cast<std::uint32_t>(format.bytes().size()));
    header.raw(format.bytes().data(), format.bytes().size());
    if (hasFact) {
        header.text("fact");
        header.u32(4);
        header.u32(rf64_ ? kUnknownSize32 : static_cast<std::uint32_t>(frames));
    }
    header.text("data");
    header.u32(rf64_ ? kUnknownSize32 : static_cast<std::uint32_t>(dataBytes_));
    headerBytes_ = headerBytes;
    std::uint64_t headerBytesWritten = 0;
    if (!writeAll(fileDescriptor_, header.bytes().data(), header.bytes().size(), 0,
                  headerBytesWritten)) {
        return fail("header write failed");
    }
    if (dataBytes_ == 0 &&
        ::lseek(fileDescriptor_, static_cast<off_t>(headerBytes), SEEK_SET) < 0) {
        return fail("seek failed");
    }
    return CaptureResult::success();
}

CaptureResult WavWriter::finish() {
    if (fileDescriptor_ < 0) {
        return failure_;
    }
    if (failure_.succeeded() && (dataBytes_ & 1) != 0) {
        const unsigned char pad = 0;
        std::uint64_t padBytesWritten = 0;
        if (!writeAll(fileDescriptor_, &pad, 1, -1, padBytesWritten)) {
            static_cast<void>(fail("write failed"));
        }
    }
    if (failure_.succeeded()) {
        static_cast<void>(refreshHeader());  // a failure is kept in failure_
    } else {
        // After a failed write (a full disk) the header still counts every byte that was
        // stored, so what was recorded up to then plays. Rewriting 80 bytes in place needs no
        // new block, so this works on a full disk too.
        static_cast<void>(writeHeader());  // the first failure stays the writer's answer
    }
    if (::close(fileDescriptor_) != 0) {
        static_cast<void>(fail("close failed"));
    }
    fileDescriptor_ = -1;
    return failure_;
}

}  // namespace capture
