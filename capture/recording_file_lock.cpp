#include "capture/recording_file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace capture {

RecordingFileLock RecordingFileLock::acquire(const std::string& path, CaptureResult& result) {
    RecordingFileLock lock;
    lock.descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (lock.descriptor_ < 0 && errno == ENOENT) {
        lock.descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        lock.createdFile_ = lock.descriptor_ >= 0;
    }
    if (lock.descriptor_ < 0) {
        result = CaptureResult::failure(CaptureError::FileNotCreated,
                                        path + ": " + std::strerror(errno));
        return {};
    }
    if (::flock(lock.descriptor_, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        result = CaptureResult::failure(
            CaptureError::FileNotCreated,
            busy ? path +
                       " is being recorded right now by another Ambrevo. Choose another file "
                       "name, or stop that recording first."
                 : path + ": " + std::strerror(errno));
        return {};
    }
    result = CaptureResult::success();
    return lock;
}

RecordingFileLock::RecordingFileLock(RecordingFileLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      createdFile_(std::exchange(other.createdFile_, false)) {}

RecordingFileLock& RecordingFileLock::operator=(RecordingFileLock&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = std::exchange(other.descriptor_, -1);
        createdFile_ = std::exchange(other.createdFile_, false);
    }
    return *this;
}

RecordingFileLock::~RecordingFileLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);  // releases the flock
    }
}

bool isFileBeingRecorded(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool locked = ::flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(descriptor);
    return locked;
}

}  // namespace capture
