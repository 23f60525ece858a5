#pragma once

#include <string>

#include "capture/capture_result.h"

namespace capture {

// An advisory lock (flock) that a recorder holds on its output file for the whole take, so
// that a second recorder, or a mix told to write there, refuses the file instead of
// truncating a take in progress. The lock lives on a descriptor of its own, apart from the
// writer's, and ends when the object goes (or the process dies, so a killed recorder never
// leaves a stale lock). Move-only; any thread.
class RecordingFileLock {
  public:
    // Locks `path`, creating it empty when it does not exist (`createdFile()` then says so, so
    // a take that cannot start may remove it again). Fails with FileNotCreated when another
    // process records into the file or the file cannot be opened.
    static RecordingFileLock acquire(const std::string& path, CaptureResult& result);

    RecordingFileLock() = default;
    RecordingFileLock(RecordingFileLock&& other) noexcept;
    RecordingFileLock& operator=(RecordingFileLock&& other) noexcept;
    RecordingFileLock(const RecordingFileLock&) = delete;
    RecordingFileLock& operator=(const RecordingFileLock&) = delete;
    ~RecordingFileLock();

    bool held() const { return descriptor_ >= 0; }
    bool createdFile() const { return createdFile_; }

  private:
    int descriptor_ = -1;
    bool createdFile_ = false;
};

// True while a recorder holds the lock of `path` (any spelling or link of the same file).
bool isFileBeingRecorded(const std::string& path);

}  // namespace capture
