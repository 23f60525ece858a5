#pragma once

#include "editing/core/ref_time.h"

#include <QImage>
#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace mixer {

// Decodes the pictures of one clip for the trim dialog on a thread of its own: show() asks for
// the frame at a media time and returns at once; the picture, fitted into width x height and
// turned as the render turns it, reaches `ready` on the window thread. Requests made while a
// picture is decoding replace each other, so only the latest position is decoded after it (a
// held arrow key does not queue a backlog). The destructor waits for the picture in progress
// (at most one key-frame interval of decoding). Created, used and destroyed on the window
// thread.
class TrimFrameLoader : public QObject {
    Q_OBJECT
  public:
    using ReadyHandler = std::function<void(editing::RefTime mediaTime, QImage picture)>;

    TrimFrameLoader(std::string fileName, int width, int height, ReadyHandler ready,
                    QObject* parent = nullptr);
    ~TrimFrameLoader() override;

    void show(editing::RefTime mediaTime);

  private:
    void run();

    const std::string fileName_;
    const int width_;
    const int height_;
    ReadyHandler ready_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<editing::RefTime> wanted_;  // guarded by mutex_
    bool stopping_ = false;                   // guarded by mutex_
    std::thread worker_;
};

}  // namespace mixer
