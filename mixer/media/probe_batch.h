#pragma once

#include "mixer/media/media_probe.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace mixer {

// Probes a list of files for adding on worker threads, several at once, and keeps each result
// in the place of its file, so the caller reads them in the order it gave whatever order the
// probes end in.
//
// Threading: created, read and destroyed on one thread (the window thread); the workers share
// only the batch's own state with it. The workers are not joined: a batch that is cancelled or
// destroyed returns at once, and a probe still running (a slow network file, a pipe nobody
// writes) ends on its own later and its result is dropped.
class ProbeBatch {
  public:
    using Probe = std::function<ProbeForAdding(const QString& path)>;

    explicit ProbeBatch(const QStringList& paths, Probe probe = probeForAdding);
    ~ProbeBatch();
    ProbeBatch(const ProbeBatch&) = delete;
    ProbeBatch& operator=(const ProbeBatch&) = delete;

    int fileCount() const;
    // How many files have been probed so far (0 .. fileCount()).
    int probedCount() const;
    bool finished() const { return probedCount() == fileCount(); }
    // No file is started after this; files being probed finish in the background.
    void cancel();
    // The results in the order of the paths given. Only once finished().
    std::vector<ProbeForAdding> takeResults();

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace mixer
