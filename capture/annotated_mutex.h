#pragma once

// Thread contracts the compiler checks in the capture layer: Clang's thread-safety analysis
// (-Wthread-safety, the "clang" build preset) proves that every member marked GUARDED_BY is
// touched only with its mutex held. The capture layer may not use the editing layer, so this is
// its own small copy of the editing layer's annotated mutex; the macros are shared and defined
// once.

#include <condition_variable>
#include <mutex>

#ifndef THREAD_ANNOTATION
#if defined(__clang__)
#define THREAD_ANNOTATION(x) __attribute__((x))
#else
#define THREAD_ANNOTATION(x)
#endif
#define CAPABILITY(name) THREAD_ANNOTATION(capability(name))
#define SCOPED_CAPABILITY THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(mutex) THREAD_ANNOTATION(guarded_by(mutex))
#define REQUIRES(...) THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define EXCLUDES(...) THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#endif

namespace capture {

// A std::mutex the analysis knows as a capability.
class CAPABILITY("mutex") Mutex {
  public:
    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }

  private:
    friend class MutexLock;
    std::mutex mutex_;
};

// Holds a Mutex for its scope; wait() releases it while blocked on a condition variable.
class SCOPED_CAPABILITY MutexLock {
  public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : lock_(mutex.mutex_) {}
    ~MutexLock() RELEASE() {}
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    void wait(std::condition_variable& condition) { condition.wait(lock_); }

  private:
    std::unique_lock<std::mutex> lock_;
};

}  // namespace capture
