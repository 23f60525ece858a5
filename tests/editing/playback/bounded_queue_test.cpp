#include "editing/playback/bounded_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace editing {
namespace {

// The contract of the queue's two ends, with real threads: push() waits while the queue is full;
// finish() lets pop() drain what is queued, in order, and then return nothing; close() makes
// push() and pop() fail at once, waking threads that wait in either.
TEST(BoundedQueue, FinishDrainsInOrderAndCloseEndsAtOnceWakingWaiters) {
    BoundedQueue<int> queue(2);
    std::atomic<int> pushed{0};
    std::thread producer([&] {
        for (int item = 0; item < 5; ++item) {
            ASSERT_TRUE(queue.push(item));
            ++pushed;
        }
        queue.finish();
    });
    // The producer stops at the capacity until the consumer takes an item.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pushed < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(pushed, 2);
    std::vector<int> taken;
    while (std::optional<int> item = queue.pop()) {
        taken.push_back(*item);
    }
    producer.join();
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(queue.push(5));
    EXPECT_EQ(queue.tryPop(), std::nullopt);

    BoundedQueue<int> closing(1);
    ASSERT_TRUE(closing.push(7));
    std::atomic<bool> pushReturned{false};
    bool blockedPush = true;
    std::thread blockedProducer([&] {
        blockedPush = closing.push(8);  // waits: the queue is full
        pushReturned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(pushReturned);
    closing.close();
    blockedProducer.join();
    EXPECT_FALSE(blockedPush);
    EXPECT_EQ(closing.pop(), std::nullopt);  // the queued 7 is not handed out after close()
    EXPECT_EQ(closing.tryPop(), std::nullopt);

    BoundedQueue<int> empty(1);
    std::optional<int> waited{0};
    std::thread blockedConsumer([&] { waited = empty.pop(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    empty.close();
    blockedConsumer.join();
    EXPECT_EQ(waited, std::nullopt);
}

}  // namespace
}  // namespace editing
