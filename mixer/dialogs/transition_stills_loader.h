#pragma once

#include "editing/preview/clip_stills.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

namespace mixer {

// Decodes a clip's transition stills (editing::loadTransitionStills) on a thread of its own
// and hands each delivery (the key frame before the previous clip's end first, then the exact
// last frame) to `ready` on the window thread, unless the loader is destroyed first.
// The destructor cancels the decoding and waits for it to notice (one decoded picture), so
// the thread never outlives the request it reads and a closing dialog never waits long. Created and
// destroyed on the window thread.
class TransitionStillsLoader : public QObject {
    Q_OBJECT
  public:
    using ReadyHandler =
        std::function<void(editing::TransitionStills stills, editing::StillsAccuracy accuracy)>;

    TransitionStillsLoader(editing::TransitionStillsRequest request, ReadyHandler ready,
                           QObject* parent = nullptr);
    ~TransitionStillsLoader() override;

  private:
    editing::TransitionStillsRequest request_;
    ReadyHandler ready_;
    std::atomic<bool> cancelled_{false};
    std::thread worker_;
};

}  // namespace mixer
