#pragma once

// Private to capture/: one connection to the sound server on its own threaded mainloop.

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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

// Owns the mainloop thread and the context. Every method except takeEvent() and
// setEventNotifier() must be called with the mainloop lock held (see lock()); callbacks run on
// the mainloop thread, which holds the lock while it runs them.
class PulseConnection {
  public:
    // `answerLimit`: how long any wait for the server may take before it is given up.
    static std::shared_ptr<PulseConnection> open(const std::string& applicationName,
                                                 std::chrono::milliseconds answerLimit,
                                                 std::string& error);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    pa_threaded_mainloop* mainloop() const { return mainloop_.get(); }
    pa_context* context() const { return context_.get(); }
    MainloopLock lock() const { return MainloopLock(mainloop_.get()); }
    bool isReady() const;

    // Waits until `operation` completes; false when it could not even start, the connection
    // broke or the server did not answer in time. Takes ownership of the reference.
    bool waitFor(pa_operation* operation);
    // Waits (lock held) until `finished` holds; false when the connection broke or the server
    // did not answer within the answer limit. A server that stops answering never freezes the
    // caller for longer than that.
    bool waitUntil(const std::function<bool()>& finished);
    void signal() { pa_threaded_mainloop_signal(mainloop_.get(), 0); }

    std::vector<SourceDetails> listSources();
    std::optional<SourceDetails> findSource(const std::string& name);

    // Device events concern the one watched source name.
    void watch(const std::string& name);
    void setEventNotifier(std::function<void()> notifier);
    std::optional<DeviceEvent> takeEvent();

  private:
    PulseConnection() = default;
    static void onContextState(pa_context* context, void* self);
    static void onSubscription(pa_context* context, pa_subscription_event_type_t type,
                               std::uint32_t index, void* self);
    static void onNewSourceInfo(pa_context* context, const pa_source_info* info, int endOfList,
                                void* self);
    void push(DeviceEventKind kind, const std::string& name);

    std::chrono::milliseconds answerLimit_{5000};
    ThreadedMainloopHandle mainloop_;
    ContextHandle context_;
    // Source index -> name, kept current by the subscription (removal events carry the index
    // only). Guarded by the mainloop lock.
    std::map<std::uint32_t, std::string> sourceNames_;
    std::string watchedName_;
    bool watchedPresent_ = false;

    std::mutex eventMutex_;  // guards the two members below; never held while calling out
    std::deque<DeviceEvent> events_;
    std::function<void()> notifier_;
};

SourceDetails detailsFrom(const pa_source_info& info);

}  // namespace capture::pulse
