#include "mixer/media/probe_batch.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <string>
#include <thread>

namespace mixer {

namespace {

// Probing is mostly waiting for the disk or the network plus a little decoding; a few probes
// at once hide the waits without crowding out the window thread on a small machine.
constexpr unsigned kMostWorkers = 4;
constexpr unsigned kFewestWorkers = 2;

}  // namespace

// Written by the workers slot by slot; each slot is written by the worker that took its index
// and read by the owner only after `probedCount` says every slot is written.
struct ProbeBatch::Shared {
    std::vector<std::string> paths;  // UTF-8, so no implicitly shared text crosses threads
    Probe probe;
    std::vector<ProbeForAdding> results;
    std::atomic<int> nextIndex{0};
    std::atomic<int> probedCount{0};
    std::atomic<bool> cancelled{false};
};

ProbeBatch::ProbeBatch(const QStringList& paths, Probe probe)
    : shared_(std::make_shared<Shared>()) {
    for (const QString& path : paths) {
        shared_->paths.push_back(path.toStdString());
    }
    shared_->probe = std::move(probe);
    shared_->results.resize(shared_->paths.size());
    const unsigned workerCount = std::min<unsigned>(
        static_cast<unsigned>(shared_->paths.size()),
        std::clamp(std::thread::hardware_concurrency(), kFewestWorkers, kMostWorkers));
    for (unsigned worker = 0; worker < workerCount; ++worker) {
        std::thread([shared = shared_] {
            const int count = static_cast<int>(shared->paths.size());
            for (int index = shared->nextIndex.fetch_add(1); index < count && !shared->cancelled;
                 index = shared->nextIndex.fetch_add(1)) {
                const std::size_t slot = static_cast<std::size_t>(index);
                shared->results[slot] = shared->probe(QString::fromStdString(shared->paths[slot]));
                shared->probedCount.fetch_add(1, std::memory_order_acq_rel);
            }
        }).detach();
    }
}

ProbeBatch::~ProbeBatch() {
    cancel();
}

int ProbeBatch::fileCount() const {
    return static_cast<int>(shared_->paths.size());
}

int ProbeBatch::probedCount() const {
    return shared_->probedCount.load(std::memory_order_acquire);
}

void ProbeBatch::cancel() {
    shared_->cancelled = true;
}

std::vector<ProbeForAdding> ProbeBatch::takeResults() {
    assert(finished());
    return std::move(shared_->results);
}

}  // namespace mixer
