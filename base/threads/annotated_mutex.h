#pragma once

// Thread contracts the compiler checks: Clang's thread-safety analysis
// (scripts/check-thread-safety, run by CI) proves that every member marked GUARDED_BY is touched
// only with its mutex held. GCC builds compile the same code with the annotations switched off.
// Every layer (editing, capture and both programs) annotates its mutexes with these types.

#include <condition_variable>
#include <mutex>

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

namespace base {

// A std::mutex the analysis knows as a capability.
class CAPABILITY("mutex") Mutex {
  public:
    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }

  private:
    friend class MutexLock;
    std::mutex mutex_;
};

// Holds a Mutex for its scope; wait() releases it while blocked on a condition variable and
// holds it again when it returns, so guarded members may be read around the wait.
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

}  // namespace base
