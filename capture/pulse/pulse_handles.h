#pragma once

// Private to capture/: RAII owners of the libpulse objects. Never include from a public header.

#include <pulse/pulseaudio.h>

#include <memory>

namespace capture::pulse {

struct ThreadedMainloopDeleter {
    void operator()(pa_threaded_mainloop* mainloop) const {
        pa_threaded_mainloop_stop(mainloop);
        pa_threaded_mainloop_free(mainloop);
    }
};
using ThreadedMainloopHandle = std::unique_ptr<pa_threaded_mainloop, ThreadedMainloopDeleter>;

// Disconnects before the last reference goes, so no callback of ours runs afterwards.
struct ContextDeleter {
    void operator()(pa_context* context) const {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_set_subscribe_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
};
using ContextHandle = std::unique_ptr<pa_context, ContextDeleter>;

// Clears every callback and disconnects before unreferencing, so a stream that is dropped
// never calls back into an object that is gone.
struct StreamDeleter {
    void operator()(pa_stream* stream) const {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_suspended_callback(stream, nullptr, nullptr);
        pa_stream_set_moved_callback(stream, nullptr, nullptr);
        if (pa_stream_get_state(stream) == PA_STREAM_READY ||
            pa_stream_get_state(stream) == PA_STREAM_CREATING) {
            pa_stream_disconnect(stream);
        }
        pa_stream_unref(stream);
    }
};
using StreamHandle = std::unique_ptr<pa_stream, StreamDeleter>;

struct OperationDeleter {
    void operator()(pa_operation* operation) const { pa_operation_unref(operation); }
};
using OperationHandle = std::unique_ptr<pa_operation, OperationDeleter>;

struct ProplistDeleter {
    void operator()(pa_proplist* proplist) const { pa_proplist_free(proplist); }
};
using ProplistHandle = std::unique_ptr<pa_proplist, ProplistDeleter>;

// A timer event of the mainloop; freed (and so never fired afterwards) when dropped.
class TimeEventHandle {
  public:
    TimeEventHandle(pa_mainloop_api* api, pa_time_event* event) : api_(api), event_(event) {}
    ~TimeEventHandle() {
        if (event_ != nullptr) {
            api_->time_free(event_);
        }
    }
    TimeEventHandle(const TimeEventHandle&) = delete;
    TimeEventHandle& operator=(const TimeEventHandle&) = delete;

  private:
    pa_mainloop_api* api_;
    pa_time_event* event_;
};

}  // namespace capture::pulse
