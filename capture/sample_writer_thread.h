#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "capture/annotated_mutex.h"
#include "capture/audio_format.h"
#include "capture/capture_result.h"
#include "capture/sample_file_writer.h"

namespace capture {

struct SampleWriterOptions {
    // How much sound waits in memory for a disk that does not keep up before the take fails.
    std::chrono::milliseconds bufferDuration{8000};
};

// Keeps the disk away from the sound server's thread: append() only copies the samples into a
// bounded buffer, and a thread of its own writes them with the file writer (which brings the
// file up to date and syncs it regularly, so a killed recorder still leaves a file that
// plays to within half a second or so of the kill).
//
// Threading: append(), requestHeaderRefresh() and the accessors may be called from any thread
// (the server thread appends); finish() from the owner's thread, never while holding a lock the
// server thread needs, since it waits for the disk. The writer is touched only by the writer
// thread once constructed; every other member is guarded by mutex_.
class SampleWriterThread {
  public:
    explicit SampleWriterThread(std::unique_ptr<SampleFileWriter> writer,
                                SampleWriterOptions options = {});
    ~SampleWriterThread();  // finishes the file
    SampleWriterThread(const SampleWriterThread&) = delete;
    SampleWriterThread& operator=(const SampleWriterThread&) = delete;

    // Copies `byteCount` bytes for the writer thread; never waits for the disk. Fails at once
    // (WriteFailed) when the buffer is full, and answers the writer thread's first failure
    // (DiskFull, WriteFailed) from the first call after it happened. Nothing is dropped
    // silently: after a failure nothing more is accepted and every call reports it.
    CaptureResult append(const void* data, std::size_t byteCount) EXCLUDES(mutex_);
    // Asks the writer thread to bring the header up to date and sync once it has written what
    // is buffered (a pause); returns at once.
    void requestHeaderRefresh() EXCLUDES(mutex_);
    // Writes out everything buffered, completes the file and ends the thread; idempotent. The
    // outcome: success or the first failure.
    CaptureResult finish() EXCLUDES(mutex_);

    const AudioFormat& format() const { return format_; }
    // Frames handed over by append() and accepted.
    std::uint64_t framesAccepted() const EXCLUDES(mutex_);
    // The first failure so far (success while none happened).
    CaptureResult failure() const EXCLUDES(mutex_);

  private:
    void run() EXCLUDES(mutex_);
    void keepFirstFailure(const CaptureResult& result) EXCLUDES(mutex_);

    const AudioFormat format_;
    const std::uint64_t capacityBytes_;
    std::unique_ptr<SampleFileWriter> writer_;  // writer thread only
    mutable Mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::vector<unsigned char>> pending_ GUARDED_BY(mutex_);
    std::uint64_t pendingBytes_ GUARDED_BY(mutex_) = 0;  // queued or being written
    std::uint64_t acceptedBytes_ GUARDED_BY(mutex_) = 0;
    bool refreshWanted_ GUARDED_BY(mutex_) = false;
    bool finishing_ GUARDED_BY(mutex_) = false;
    CaptureResult failure_ GUARDED_BY(mutex_);
    std::thread thread_;
};

}  // namespace capture
