#pragma once

#include "base/threads/annotated_mutex.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <optional>
#include <thread>

namespace mixer {

struct MixJob;

// Writes the lists of the running window to its recovery file a few seconds after a change,
// off the window thread: the text is made on the window thread (cheap) and written whole on a
// worker thread of this object's own. discard() (a normal exit) waits for a write in progress
// and removes the file. The MixJob belongs to the window and outlives this object.
class RecoveryWriter : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDelayMs = 3000;

    explicit RecoveryWriter(const MixJob& job, QString fileName, QObject* parent = nullptr);
    ~RecoveryWriter() override;

    // A change: the file is written kDelayMs after the last of a burst of changes.
    void scheduleWrite();
    void discard();
    const QString& fileName() const { return fileName_; }

  private:
    void writeNow();
    void work();

    const MixJob& job_;
    QString fileName_;
    QTimer delay_;
    base::Mutex mutex_;
    std::condition_variable wake_;
    std::optional<QByteArray> pending_ GUARDED_BY(mutex_);
    bool writing_ GUARDED_BY(mutex_) = false;
    bool discarded_ GUARDED_BY(mutex_) = false;
    bool stopping_ GUARDED_BY(mutex_) = false;  // the object is being destroyed
    std::jthread worker_;
};

}  // namespace mixer
