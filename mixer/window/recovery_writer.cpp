#include "mixer/window/recovery_writer.h"

#include "mixer/project/atomic_file_save.h"
#include "mixer/project/project_file.h"

#include <QFile>

namespace mixer {

RecoveryWriter::RecoveryWriter(const MixJob& job, QString fileName, QObject* parent)
    : QObject(parent), job_(job), fileName_(std::move(fileName)) {
    delay_.setSingleShot(true);
    delay_.setInterval(kDelayMs);
    connect(&delay_, &QTimer::timeout, this, &RecoveryWriter::writeNow);
    worker_ = std::jthread([this](std::stop_token stop) { work(stop); });
}

RecoveryWriter::~RecoveryWriter() {
    worker_.request_stop();
    wake_.notify_all();
}

void RecoveryWriter::scheduleWrite() {
    if (!fileName_.isEmpty()) {
        delay_.start();
    }
}

void RecoveryWriter::writeNow() {
    // Paths are written absolute (no project folder), so the file reads back from anywhere.
    QByteArray text = projectFileText({job_.videos, job_.audios, job_.outputSettings}, {});
    {
        const std::lock_guard lock(mutex_);
        if (discarded_) {
            return;
        }
        pending_ = std::move(text);
    }
    wake_.notify_all();
}

void RecoveryWriter::work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return pending_.has_value(); })) {
        const QByteArray text = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        saveFileWhole(fileName_, text);  // a failed write leaves the previous one
        lock.lock();
        writing_ = false;
        wake_.notify_all();
    }
}

void RecoveryWriter::discard() {
    delay_.stop();
    {
        std::unique_lock lock(mutex_);
        discarded_ = true;
        pending_.reset();
        wake_.wait(lock, [this] { return !writing_; });
    }
    if (!fileName_.isEmpty()) {
        QFile::remove(fileName_);
    }
}

}  // namespace mixer
