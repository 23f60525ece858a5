#pragma once

#include "editing/core/annotated_mutex.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <optional>

namespace editing {

// A first-in first-out queue of at most `capacity` items shared by threads. push() waits while
// the queue is full, pop() while it is empty.
//
// Two ways to end, each waking every waiting thread:
// - finish(): the producer's end of data. push() fails from then on; pop() still hands out the
//   items queued before, then returns nothing.
// - close(): the consumer's or owner's "stop now". push(), pop() and tryPop() fail at once from
//   then on; items still queued are not handed out (they are destroyed with the queue).
// Every member is guarded by one mutex; any thread may call any member.
template <typename Item>
class BoundedQueue {
  public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity) {}

    // False (and `item` dropped) once the queue is finished or closed.
    bool push(Item item) EXCLUDES(mutex_) {
        MutexLock lock(mutex_);
        while (!closed_ && !finished_ && items_.size() >= capacity_) {
            lock.wait(notFull_);
        }
        if (closed_ || finished_) {
            return false;
        }
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // The oldest item; nothing once the queue is closed, or finished and drained.
    std::optional<Item> pop() EXCLUDES(mutex_) {
        MutexLock lock(mutex_);
        while (!closed_ && !finished_ && items_.empty()) {
            lock.wait(notEmpty_);
        }
        return takeFront();
    }

    // As pop(), but returns nothing at once when no item is queued.
    std::optional<Item> tryPop() EXCLUDES(mutex_) {
        MutexLock lock(mutex_);
        return takeFront();
    }

    void finish() EXCLUDES(mutex_) {
        MutexLock lock(mutex_);
        finished_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

    void close() EXCLUDES(mutex_) {
        MutexLock lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

  private:
    std::optional<Item> takeFront() REQUIRES(mutex_) {
        if (closed_ || items_.empty()) {
            return std::nullopt;
        }
        Item item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    const std::size_t capacity_;
    Mutex mutex_;
    std::condition_variable notEmpty_;
    std::condition_variable notFull_;
    std::deque<Item> items_ GUARDED_BY(mutex_);
    bool closed_ GUARDED_BY(mutex_) = false;
    bool finished_ GUARDED_BY(mutex_) = false;
};

}  // namespace editing
