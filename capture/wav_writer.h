#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "capture/audio_format.h"
#include "capture/capture_result.h"
#include "capture/sample_file_writer.h"

namespace capture {

struct WavWriterOptions {
    // The header is rewritten (and the file synced) whenever this much time has passed since
    // the last rewrite and new samples arrive, so a writer that dies leaves a file that plays
    // with at most this much (plus one delivery) missing at its end.
    std::chrono::milliseconds headerRefreshPeriod{500};
    // Past this many bytes of RIFF content the file becomes RF64 (the 32-bit sizes of RIFF cannot
    // count further). Only tests lower it.
    std::uint64_t riffLimitBytes = 0xFFFFFFFFull;
    // Called before every sync of the file. Only tests set it, to stand in for a slow disk.
    std::function<void()> beforeSync;
};

// Writes a RIFF/WAVE file that stays playable while it grows. The file starts with a JUNK chunk
// the size of a ds64 chunk, so that a recording that outgrows 4 GiB is turned into RF64 in
// place. Not thread-safe: one thread at a time (the recording stream serialises its calls).
class WavWriter final : public SampleFileWriter {
  public:
    // Creates (or truncates) `path`. Returns null and sets `result` (FileNotCreated, or the
    // failed header write) when the file cannot be made.
    [[nodiscard]] static std::unique_ptr<WavWriter> create(const std::string& path,
                                                           const AudioFormat& format,
                                                           CaptureResult& result,
                                                           WavWriterOptions options = {});
    ~WavWriter() override;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Appends whole or partial frames; once a write has failed every call answers that first
    // failure (DiskFull for ENOSPC/EDQUOT, else WriteFailed) and nothing more is written. Bytes
    // a failed write stored in part are counted up to the last whole frame, and the file is cut
    // there, so that the header, once finished, matches the file's length exactly.
    CaptureResult append(const void* data, std::size_t byteCount) override;
    // Brings the header up to date with every byte appended so far and syncs the file.
    CaptureResult refreshHeader() override;
    // Pads to an even length, writes the final header and closes the file. Idempotent. After
    // a failed write the header still counts every byte that was stored, so that part plays.
    CaptureResult finish() override;

    std::uint64_t dataBytes() const { return dataBytes_; }
    std::uint64_t frameCount() const;
    bool isRf64() const { return rf64_; }
    // The first failure of this writer; success while none happened.
    const CaptureResult& failure() const { return failure_; }
    const AudioFormat& format() const override { return format_; }

  private:
    WavWriter(int fileDescriptor, std::string path, const AudioFormat& format,
              WavWriterOptions options);
    CaptureResult writeHeader();
    CaptureResult fail(const std::string& what);
    // After a failed append: forgets the bytes of a frame that was stored only in part and
    // truncates the file to the last whole frame.
    void dropPartialFrame();

    int fileDescriptor_ = -1;
    std::string path_;
    AudioFormat format_;
    WavWriterOptions options_;
    std::uint64_t headerBytes_ = 0;
    std::uint64_t dataBytes_ = 0;
    bool rf64_ = false;
    CaptureResult failure_;
    std::chrono::steady_clock::time_point lastRefresh_;
};

}  // namespace capture
