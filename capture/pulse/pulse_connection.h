#pragma once

// Private to capture/: one connection to the sound server on its own threaded mainloop.

#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture/annotated_mutex.h"
#include "capture/capture_device.h"
#include "capture/device_event.h"
#include "capture/pulse/pulse_handles.h"

namespace capture::pulse {

// What the server says about one source, beyond what the user sees.
struct SourceDetails {
    CaptureDevice device;
    std::uint32_t index = PA_INVALID_INDEX;
    pa_sample_spec sampleSpec{};
    pa_channel_map channelMap{};
    pa_cvolume volume{};
    bool isMonitor = false;  // the monitor of an output, not a capture device
};

class PulseConnection;

// Holds the mainloop lock for a scope (recursively, as the mainloop's lock is) and records the
// holding thread, so that PulseConnection can assert "lock held" in the methods that need it.
class ServerLock {
  public:
    explicit ServerLock(const PulseConnection& connection);
    ~ServerLock();
    ServerLock(const ServerLock&) = delete;
    ServerLock& operator=(const ServerLock&) = delete;

  private:
    const PulseConnection& connection_;
    std::thread::id previousHolder_;
};

// One connection to the sound server: owns the mainloop thread and the context.
//
// Thread contract (checked by assert in debug builds):
// - The owner thread is the one that called open() (the window's thread). listSources,
//   findSource and watch are owner-thread only, with the lock held (lock()).
// - waitFor and waitUntil wait for the server, which the server thread could never do: any
//   other thread may call them with the lock held (the preview's sound thread writes through a
//   playback stream that waits for room).
// - The server thread is the mainloop's own; it runs every callback (onSubscription,
//   onNewSourceInfo, the streams' callbacks and announce()) with the lock held.
// - onContextState also runs on the opening thread, inside pa_context_connect, before the
//   server thread exists (so alone); every later call holds the mainloop lock. libpulse tells
//   its own thread only once pa_threaded_mainloop_start has returned, which is why open()
//   starts that thread with the lock held: a state change arriving right away waits for it.
// - mainloop_, context_, answerLimit_ and ownerThread_ are written by open() before the server
//   thread starts and only read afterwards: any thread, no lock.
// - knownSources_, watchedName_ and watchedPresent_: guarded by the mainloop lock.
// - events_, notifier_ and serverLostQueued_: guarded by eventMutex_ (any thread; checked by
//   Clang's thread-safety analysis). setEventNotifier must also hold the mainloop lock, which
//   is what makes "the old notifier is no longer running" true.
class PulseConnection {
  public:
    // `answerLimit`: how long any wait for the server may take before it is given up.
    [[nodiscard]] static std::shared_ptr<PulseConnection> open(
        const std::string& applicationName, std::chrono::milliseconds answerLimit,
        std::string& error);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    pa_threaded_mainloop* mainloop() const { return mainloop_.get(); }
    pa_context* context() const { return context_.get(); }
    [[nodiscard]] ServerLock lock() const { return ServerLock(*this); }
    bool isReady() const;

    // True on the mainloop's own thread.
    bool onServerThread() const;
    // True on the server thread or while the calling thread holds lock().
    bool lockHeldHere() const;
    bool onOwnerThread() const { return std::this_thread::get_id() == ownerThread_; }

    // Waits until `operation` completes; false when it could not even start, the connection
    // broke or the server did not answer in time. Takes ownership of the reference.
    [[nodiscard]] bool waitFor(pa_operation* operation);
    // Waits (lock held) until `finished` holds; false when the connection broke or the server
    // did not answer within the answer limit. A server that stops answering never freezes the
    // caller for longer than that.
    [[nodiscard]] bool waitUntil(const std::function<bool()>& finished);
    void signal() { pa_threaded_mainloop_signal(mainloop_.get(), 0); }

    std::vector<SourceDetails> listSources();
    std::optional<SourceDetails> findSource(const std::string& name);

    // Device events concern the one watched source name.
    void watch(const std::string& name);
    void setEventNotifier(std::function<void()> notifier) EXCLUDES(eventMutex_);
    std::optional<DeviceEvent> takeEvent() EXCLUDES(eventMutex_);
    // Queues an event of a stream of this connection (server thread only).
    void announce(DeviceEventKind kind, const std::string& name);

  private:
    friend class ServerLock;
    struct KnownSource {
        std::string name;
        bool isMonitor = false;
    };

    PulseConnection() = default;
    static void onContextState(pa_context* context, void* self);
    static void onSubscription(pa_context* context, pa_subscription_event_type_t type,
                               std::uint32_t index, void* self);
    static void onNewSourceInfo(pa_context* context, const pa_source_info* info, int endOfList,
                                void* self);
    void push(DeviceEventKind kind, const std::string& name) EXCLUDES(eventMutex_);
    // Queues ServerLost the first time only (the state may be reported more than once).
    void pushServerLost(const std::string& watchedName) EXCLUDES(eventMutex_);

    std::chrono::milliseconds answerLimit_{5000};
    ThreadedMainloopHandle mainloop_;
    ContextHandle context_;
    std::thread::id ownerThread_;
    bool serverThreadStarted_ = false;  // written by open() before the server thread starts
    // The thread inside lock() (the owner thread while it talks to the server); written only
    // by that thread while it holds the mainloop lock.
    mutable std::atomic<std::thread::id> lockHolder_{};

    // Source index -> name and kind, kept current by the subscription (removal events carry
    // the index only). Guarded by the mainloop lock.
    std::map<std::uint32_t, KnownSource> knownSources_;
    std::string watchedName_;      // mainloop lock
    bool watchedPresent_ = false;  // mainloop lock

    Mutex eventMutex_;  // guards the members below; never held while calling out
    std::deque<DeviceEvent> events_ GUARDED_BY(eventMutex_);
    std::function<void()> notifier_ GUARDED_BY(eventMutex_);
    bool serverLostQueued_ GUARDED_BY(eventMutex_) = false;
};

SourceDetails detailsFrom(const pa_source_info& info);

}  // namespace capture::pulse
