#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace editing {

// A first-in first-out queue of at most `capacity` items shared by threads. push() waits while
// the queue is full, pop() while it is empty. close() wakes everybody: afterwards push() fails
// and pop() returns what is left, then nothing. finish() marks the end of the data: pop()
// drains the rest and then returns nothing, push() fails.
template <typename Item>
class BoundedQueue {
  public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity) {}

    bool push(Item item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return closed_ || finished_ || items_.size() < capacity_; });
        if (closed_ || finished_) {
            return false;
        }
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    std::optional<Item> pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [&] { return closed_ || finished_ || !items_.empty(); });
        if (items_.empty() || closed_) {
            return std::nullopt;
        }
        Item item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    // Returns an item at once, or nothing when none is queued.
    std::optional<Item> tryPop() {
        std::lock_guard lock(mutex_);
        if (items_.empty()) {
            return std::nullopt;
        }
        Item item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    void finish() {
        std::lock_guard lock(mutex_);
        finished_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

    void close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

  private:
    std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable notEmpty_;
    std::condition_variable notFull_;
    std::deque<Item> items_;
    bool closed_ = false;
    bool finished_ = false;
};

}  // namespace editing
