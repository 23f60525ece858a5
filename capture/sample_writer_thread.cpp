#include "capture/sample_writer_thread.h"

#include <string>
#include <utility>

namespace capture {

SampleWriterThread::SampleWriterThread(std::unique_ptr<SampleFileWriter> writer,
                                       SampleWriterOptions options)
    : format_(writer->format()),
      capacityBytes_(static_cast<std::uint64_t>(writer->format().bytesPerSecond()) *
                     static_cast<std::uint64_t>(options.bufferDuration.count()) / 1000),
      writer_(std::move(writer)),
      thread_([this] { run(); }) {}

SampleWriterThread::~SampleWriterThread() {
    static_cast<void>(finish());  // whoever cared about the outcome asked finish() before
}

CaptureResult SampleWriterThread::append(const void* data, std::size_t byteCount) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    {
        MutexLock lock(mutex_);
        if (failure_.failed()) {
            return failure_;
        }
        if (finishing_) {
            return CaptureResult::failure(CaptureError::WriteFailed,
                                          "the recording file is already complete");
        }
        if (pendingBytes_ + byteCount > capacityBytes_) {
            failure_ = CaptureResult::failure(CaptureError::WriteFailed,
                                              "the disk does not keep up with the recording (" +
                                                  std::to_string(pendingBytes_ / 1024) +
                                                  " KiB wait to be written)");
            return failure_;
        }
        pending_.emplace_back(bytes, bytes + byteCount);
        pendingBytes_ += byteCount;
        acceptedBytes_ += byteCount;
    }
    wake_.notify_one();
    return CaptureResult::success();
}

void SampleWriterThread::requestHeaderRefresh() {
    {
        MutexLock lock(mutex_);
        refreshWanted_ = true;
    }
    wake_.notify_one();
}

CaptureResult SampleWriterThread::finish() {
    {
        MutexLock lock(mutex_);
        finishing_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
    return failure();
}

std::uint64_t SampleWriterThread::framesAccepted() const {
    MutexLock lock(mutex_);
    return acceptedBytes_ / static_cast<std::uint64_t>(format_.bytesPerFrame());
}

CaptureResult SampleWriterThread::failure() const {
    MutexLock lock(mutex_);
    return failure_;
}

void SampleWriterThread::keepFirstFailure(const CaptureResult& result) {
    if (result.succeeded()) {
        return;
    }
    MutexLock lock(mutex_);
    if (failure_.succeeded()) {
        failure_ = result;
    }
}

void SampleWriterThread::run() {
    for (;;) {
        std::vector<unsigned char> chunk;
        bool refresh = false;
        {
            MutexLock lock(mutex_);
            while (pending_.empty() && !refreshWanted_ && !finishing_) {
                lock.wait(wake_);
            }
            if (!pending_.empty()) {
                chunk = std::move(pending_.front());
                pending_.pop_front();
            } else if (refreshWanted_) {
                refresh = true;
                refreshWanted_ = false;
            } else {
                break;  // finishing and nothing left
            }
        }
        if (!chunk.empty()) {
            keepFirstFailure(writer_->append(chunk.data(), chunk.size()));
            MutexLock lock(mutex_);
            pendingBytes_ -= chunk.size();  // room again only once it is on the disk
        } else if (refresh) {
            keepFirstFailure(writer_->refreshHeader());
        }
    }
    keepFirstFailure(writer_->finish());
}

}  // namespace capture
