#include "tests/mixer/preview/monitor_recording.h"

#include <algorithm>
#include <cstdlib>

namespace preview_test {

namespace {

// Holds the test mainloop's lock for a scope: every pa_* call from outside its thread is made
// under it.
class MainloopGuard {
  public:
    explicit MainloopGuard(pa_threaded_mainloop* mainloop) : mainloop_(mainloop) {
        pa_threaded_mainloop_lock(mainloop_);
    }
    ~MainloopGuard() { pa_threaded_mainloop_unlock(mainloop_); }
    MainloopGuard(const MainloopGuard&) = delete;
    MainloopGuard& operator=(const MainloopGuard&) = delete;

  private:
    pa_threaded_mainloop* mainloop_;
};

std::int64_t steadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

MonitorRecording::MonitorRecording(const std::string& sourceName, int sampleRate)
    : sampleRate_(sampleRate) {
    mainloop_.reset(pa_threaded_mainloop_new());
    pa_threaded_mainloop* mainloop = mainloop_.get();
    context_.reset(pa_context_new(pa_threaded_mainloop_get_api(mainloop), "preview test monitor"));
    pa_context* context = context_.get();
    pa_context_set_state_callback(context, &MonitorRecording::onState, this);
    pa_threaded_mainloop_start(mainloop);
    const MainloopGuard guard(mainloop);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
        error_ = "cannot connect";
        return;
    }
    while (pa_context_get_state(context) != PA_CONTEXT_READY &&
           PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) {
        pa_threaded_mainloop_wait(mainloop);
    }
    if (pa_context_get_state(context) != PA_CONTEXT_READY) {
        error_ = "the server refused the connection";
        return;
    }
    pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate), 1};
    stream_.reset(pa_stream_new(context, "monitor", &spec, nullptr));
    pa_stream* stream = stream_.get();
    pa_stream_set_read_callback(stream, &MonitorRecording::onRead, this);
    pa_stream_set_state_callback(stream, &MonitorRecording::onStreamState, this);
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(-1);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(5000, &spec));
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_record(stream, sourceName.c_str(), &attributes, flags) < 0) {
        error_ = "cannot record the monitor";
        return;
    }
    while (pa_stream_get_state(stream) == PA_STREAM_CREATING) {
        pa_threaded_mainloop_wait(mainloop);
    }
    recording_ = pa_stream_get_state(stream) == PA_STREAM_READY;
    if (!recording_) {
        error_ = pa_strerror(pa_context_errno(context));
    }
}

MonitorRecording::~MonitorRecording() {
    // The stream and the context go while the mainloop still runs; then the mainloop stops.
    const MainloopGuard guard(mainloop_.get());
    stream_.reset();
    context_.reset();
}

void MonitorRecording::onState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<MonitorRecording*>(self)->mainloop_.get(), 0);
}

void MonitorRecording::onStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<MonitorRecording*>(self)->mainloop_.get(), 0);
}

void MonitorRecording::onRead(pa_stream* stream, std::size_t, void* self) {
    auto* recording = static_cast<MonitorRecording*>(self);
    std::lock_guard lock(recording->mutex_);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) {
            break;
        }
        const std::size_t count = bytes / sizeof(std::int16_t);
        if (data == nullptr) {
            recording->samples_.insert(recording->samples_.end(), count, 0);
        } else {
            const auto* samples = static_cast<const std::int16_t*>(data);
            recording->samples_.insert(recording->samples_.end(), samples, samples + count);
        }
        pa_stream_drop(stream);
    }
    pa_usec_t streamTime = 0;
    if (pa_stream_get_time(stream, &streamTime) == 0 && streamTime > 0) {
        recording->clockOffsetsMicroseconds_.push_back(steadyMicroseconds() -
                                                       static_cast<std::int64_t>(streamTime));
    }
}

std::vector<std::chrono::steady_clock::time_point> MonitorRecording::beepOnsets(
    double quietSeconds) const {
    std::lock_guard lock(mutex_);
    std::vector<std::chrono::steady_clock::time_point> onsets;
    if (clockOffsetsMicroseconds_.empty()) {
        return onsets;
    }
    std::vector<std::int64_t> offsets = clockOffsetsMicroseconds_;
    std::nth_element(offsets.begin(), offsets.begin() + offsets.size() / 2, offsets.end());
    const std::int64_t offset = offsets[offsets.size() / 2];
    const auto quietSamples = static_cast<std::int64_t>(quietSeconds * sampleRate_);
    std::int64_t lastLoud = -quietSamples - 1;
    for (std::size_t index = 0; index < samples_.size(); ++index) {
        if (std::abs(static_cast<int>(samples_[index])) < 3000) {
            continue;
        }
        const auto position = static_cast<std::int64_t>(index);
        if (position - lastLoud > quietSamples) {
            const std::int64_t microseconds = position * 1'000'000 / sampleRate_ + offset;
            onsets.emplace_back(std::chrono::microseconds(microseconds));
        }
        lastLoud = position;
    }
    return onsets;
}

}  // namespace preview_test
