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
    worker_ = std::jthread([this] { work(); });
}

RecoveryWriter::~RecoveryWriter() {
    {
        const base::MutexLock lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
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
        const base::MutexLock lock(mutex_);
        if (discarded_) {
            return;
        }
        pending_ = std::move(text);
    }
    wake_.notify_all();
}

void RecoveryWriter::work() {
    for (;;) {
        QByteArray text;
        {
            base::MutexLock lock(mutex_);
            while (!stopping_ && !pending_) {
                lock.wait(wake_);
            }
            if (stopping_) {
                return;  // a write not yet started is dropped, as a kill would drop it
            }
            text = std::move(*pending_);
            pending_.reset();
            writing_ = true;
        }
        saveFileWhole(fileName_, text);  // a failed write leaves the previous one
        {
            const base::MutexLock lock(mutex_);
            writing_ = false;
        }
        wake_.notify_all();
    }
}

void RecoveryWriter::discard() {
    delay_.stop();
    {
        base::MutexLock lock(mutex_);
        discarded_ = true;
        pending_.reset();
        while (writing_) {
            lock.wait(wake_);
        }
    }
    if (!fileName_.isEmpty()) {
        QFile::remove(fileName_);
    }
}

}  // namespace mixer
