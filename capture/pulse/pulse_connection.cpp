#include "capture/pulse/pulse_connection.h"

#include <algorithm>
#include <cassert>

namespace capture::pulse {
namespace {

struct SourceListRequest {
    PulseConnection* connection = nullptr;
    std::vector<SourceDetails> sources;
    std::string onlyName;  // empty: all sources
};

void collectSource(pa_context*, const pa_source_info* info, int endOfList, void* request) {
    auto* state = static_cast<SourceListRequest*>(request);
    if (endOfList != 0 || info == nullptr) {
        state->connection->signal();
        return;
    }
    state->sources.push_back(detailsFrom(*info));
}

void signalTick(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* connection) {
    static_cast<PulseConnection*>(connection)->signal();
}

void signalSuccess(pa_context*, int, void* connection) {
    static_cast<PulseConnection*>(connection)->signal();
}

}  // namespace

ServerLock::ServerLock(const PulseConnection& connection) : connection_(connection) {
    pa_threaded_mainloop_lock(connection_.mainloop_.get());
    previousHolder_ = connection_.lockHolder_.load();
    connection_.lockHolder_.store(std::this_thread::get_id());
}

ServerLock::~ServerLock() {
    connection_.lockHolder_.store(previousHolder_);
    pa_threaded_mainloop_unlock(connection_.mainloop_.get());
}

bool PulseConnection::onServerThread() const {
    return serverThreadStarted_ && pa_threaded_mainloop_in_thread(mainloop_.get()) != 0;
}

bool PulseConnection::lockHeldHere() const {
    return onServerThread() || lockHolder_.load() == std::this_thread::get_id();
}

SourceDetails detailsFrom(const pa_source_info& info) {
    SourceDetails details;
    details.index = info.index;
    details.sampleSpec = info.sample_spec;
    details.channelMap = info.channel_map;
    details.volume = info.volume;
    details.isMonitor = info.monitor_of_sink != PA_INVALID_INDEX;
    CaptureDevice& device = details.device;
    device.name = info.name != nullptr ? info.name : "";
    device.description = info.description != nullptr ? info.description : device.name;
    device.muted = info.mute != 0;
    const double level =
        static_cast<double>(pa_cvolume_avg(&info.volume)) / static_cast<double>(PA_VOLUME_NORM);
    device.level = std::clamp(level, 0.0, 1.0);
    device.hasPorts = info.n_ports > 0;
    if (info.n_ports == 0) {
        device.lines.push_back(InputLine{"", device.description});
        device.activeLineIndex = 0;
    }
    for (std::uint32_t i = 0; i < info.n_ports; ++i) {
        const pa_source_port_info* port = info.ports[i];
        device.lines.push_back(
            InputLine{port->name, port->description != nullptr ? port->description : port->name});
        if (port == info.active_port) {
            device.activeLineIndex = static_cast<int>(i);
        }
    }
    return details;
}

std::shared_ptr<PulseConnection> PulseConnection::open(const std::string& applicationName,
                                                       std::chrono::milliseconds answerLimit,
                                                       std::string& error) {
    std::shared_ptr<PulseConnection> connection(new PulseConnection());
    connection->answerLimit_ = answerLimit;
    connection->ownerThread_ = std::this_thread::get_id();
    connection->mainloop_.reset(pa_threaded_mainloop_new());
    if (!connection->mainloop_) {
        error = "cannot create the sound-server mainloop";
        return nullptr;
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(connection->mainloop_.get());
    connection->context_.reset(pa_context_new(api, applicationName.c_str()));
    if (!connection->context_) {
        error = "cannot create a sound-server context";
        return nullptr;
    }
    pa_context* context = connection->context_.get();
    pa_context_set_state_callback(context, &PulseConnection::onContextState, connection.get());
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = std::string("cannot connect to the sound server: ") +
                pa_strerror(pa_context_errno(context));
        return nullptr;
    }
    {
        // The thread starts with the lock held here: libpulse records the new thread's handle
        // only when pa_threaded_mainloop_start returns, and a callback the thread ran before
        // that would not count as on the server thread (pa_threaded_mainloop_in_thread is
        // false there). Holding the lock, the thread runs nothing until the handle is set.
        const ServerLock guard(*connection);
        // Written before the server thread exists (its start orders this write before every
        // read there); from here on callbacks come on the server thread only.
        connection->serverThreadStarted_ = true;
        if (pa_threaded_mainloop_start(connection->mainloop_.get()) < 0) {
            error = "cannot start the sound-server thread";
            return nullptr;
        }
        // The state below tells whether it worked, also when the wait gave up.
        static_cast<void>(connection->waitUntil([context] {
            return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) ||
                   pa_context_get_state(context) == PA_CONTEXT_READY;
        }));
        if (pa_context_get_state(context) != PA_CONTEXT_READY) {
            error = PA_CONTEXT_IS_GOOD(pa_context_get_state(context))
                        ? std::string("the sound server does not answer")
                        : std::string("cannot connect to the sound server: ") +
                              pa_strerror(pa_context_errno(context));
            return nullptr;
        }
        pa_context_set_subscribe_callback(context, &PulseConnection::onSubscription,
                                          connection.get());
        if (!connection->waitFor(pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SOURCE,
                                                      &signalSuccess, connection.get()))) {
            error = "cannot subscribe to device events";
            return nullptr;
        }
        for (const SourceDetails& source : connection->listSources()) {
            connection->knownSources_[source.index] = {source.device.name, source.isMonitor};
        }
    }
    return connection;
}

PulseConnection::~PulseConnection() {
    // The context goes first (its deleter clears our callbacks), while the mainloop still runs;
    // then the mainloop thread stops.
    assert(!onServerThread());
    if (context_) {
        const ServerLock guard(*this);
        context_.reset();
    }
}

bool PulseConnection::isReady() const {
    return context_ && pa_context_get_state(context_.get()) == PA_CONTEXT_READY;
}

bool PulseConnection::waitFor(pa_operation* operation) {
    assert(!onServerThread() && lockHeldHere());
    if (operation == nullptr) {
        return false;
    }
    OperationHandle owned(operation);
    const bool answered = waitUntil(
        [operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
    if (!answered && pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        pa_operation_cancel(operation);
    }
    return pa_operation_get_state(operation) == PA_OPERATION_DONE;
}

bool PulseConnection::waitUntil(const std::function<bool()>& finished) {
    assert(!onServerThread() && lockHeldHere());
    const auto deadline = std::chrono::steady_clock::now() + answerLimit_;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(mainloop_.get());
    while (!finished()) {
        const pa_context_state_t state = pa_context_get_state(context_.get());
        if (!PA_CONTEXT_IS_GOOD(state) || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // Wakes this wait at least every 100 ms, so the deadline is noticed even when the
        // server never answers.
        const TimeEventHandle tick(
            api, pa_context_rttime_new(context_.get(), pa_rtclock_now() + 100 * PA_USEC_PER_MSEC,
                                       &signalTick, this));
        pa_threaded_mainloop_wait(mainloop_.get());
    }
    return true;
}

std::vector<SourceDetails> PulseConnection::listSources() {
    assert(onOwnerThread() && lockHeldHere());
    SourceListRequest request;
    request.connection = this;
    // Unanswered, the list stays empty: callers see no device, and the next call asks again.
    static_cast<void>(
        waitFor(pa_context_get_source_info_list(context_.get(), &collectSource, &request)));
    return std::move(request.sources);
}

std::optional<SourceDetails> PulseConnection::findSource(const std::string& name) {
    assert(onOwnerThread() && lockHeldHere());
    SourceListRequest request;
    request.connection = this;
    // Unanswered, nothing is found: the caller treats the device as gone.
    static_cast<void>(waitFor(pa_context_get_source_info_by_name(context_.get(), name.c_str(),
                                                                 &collectSource, &request)));
    if (request.sources.empty()) {
        return std::nullopt;
    }
    return request.sources.front();
}

void PulseConnection::watch(const std::string& name) {
    assert(onOwnerThread() && lockHeldHere());
    watchedName_ = name;
    watchedPresent_ = false;
    for (const auto& [index, source] : knownSources_) {
        if (source.name == name) {
            watchedPresent_ = true;
        }
    }
}

void PulseConnection::setEventNotifier(std::function<void()> notifier) {
    assert(lockHeldHere());
    const MutexLock guard(eventMutex_);
    notifier_ = std::move(notifier);
}

std::optional<DeviceEvent> PulseConnection::takeEvent() {
    const MutexLock guard(eventMutex_);
    if (events_.empty()) {
        return std::nullopt;
    }
    DeviceEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
}

void PulseConnection::announce(DeviceEventKind kind, const std::string& name) {
    assert(lockHeldHere());
    push(kind, name);
}

void PulseConnection::push(DeviceEventKind kind, const std::string& name) {
    std::function<void()> notifier;
    {
        const MutexLock guard(eventMutex_);
        // Many changes in a row (a slider drag) need one refresh only.
        if (kind == DeviceEventKind::Changed && !events_.empty() &&
            events_.back().kind == DeviceEventKind::Changed && events_.back().deviceName == name) {
            return;
        }
        events_.push_back(DeviceEvent{kind, name});
        notifier = notifier_;
    }
    if (notifier) {
        notifier();
    }
}

void PulseConnection::pushServerLost(const std::string& watchedName) {
    std::function<void()> notifier;
    {
        const MutexLock guard(eventMutex_);
        if (serverLostQueued_) {
            return;
        }
        serverLostQueued_ = true;
        events_.push_back(DeviceEvent{DeviceEventKind::ServerLost, watchedName});
        notifier = notifier_;
    }
    if (notifier) {
        notifier();
    }
}

void PulseConnection::onContextState(pa_context* context, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    // See the thread contract: the opening thread alone before the server thread starts, else
    // a thread holding the mainloop lock.
    assert(!connection->serverThreadStarted_ || connection->lockHeldHere());
    const pa_context_state_t state = pa_context_get_state(context);
    if (!PA_CONTEXT_IS_GOOD(state) && connection->serverThreadStarted_) {
        // The server went away: every device with it, and this connection for good.
        connection->watchedPresent_ = false;
        connection->knownSources_.clear();
        connection->pushServerLost(connection->watchedName_);
    }
    connection->signal();
}

void PulseConnection::onSubscription(pa_context* context, pa_subscription_event_type_t type,
                                     std::uint32_t index, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    assert(connection->onServerThread());
    if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) != PA_SUBSCRIPTION_EVENT_SOURCE) {
        return;
    }
    const auto kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    if (kind == PA_SUBSCRIPTION_EVENT_REMOVE) {
        const auto found = connection->knownSources_.find(index);
        if (found == connection->knownSources_.end()) {
            return;
        }
        const KnownSource source = found->second;
        connection->knownSources_.erase(found);
        if (!connection->watchedName_.empty() && source.name == connection->watchedName_ &&
            connection->watchedPresent_) {
            connection->watchedPresent_ = false;
            connection->push(DeviceEventKind::Removed, source.name);
        }
        if (!source.isMonitor) {
            connection->push(DeviceEventKind::ListChanged, source.name);
        }
        return;
    }
    if (kind == PA_SUBSCRIPTION_EVENT_CHANGE) {
        const auto found = connection->knownSources_.find(index);
        if (found != connection->knownSources_.end() &&
            found->second.name == connection->watchedName_) {
            connection->push(DeviceEventKind::Changed, found->second.name);
        }
        return;
    }
    // A new source: its name comes with its info. The operation runs on without us waiting.
    OperationHandle ignored(pa_context_get_source_info_by_index(
        context, index, &PulseConnection::onNewSourceInfo, connection));
}

void PulseConnection::onNewSourceInfo(pa_context*, const pa_source_info* info, int endOfList,
                                      void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    assert(connection->onServerThread());
    if (endOfList != 0 || info == nullptr || info->name == nullptr) {
        return;
    }
    const bool isMonitor = info->monitor_of_sink != PA_INVALID_INDEX;
    connection->knownSources_[info->index] = {info->name, isMonitor};
    if (!isMonitor) {
        connection->push(DeviceEventKind::ListChanged, info->name);
    }
    if (!connection->watchedName_.empty() && connection->watchedName_ == info->name &&
        !connection->watchedPresent_) {
        connection->watchedPresent_ = true;
        connection->push(DeviceEventKind::Returned, info->name);
    }
}

}  // namespace capture::pulse
