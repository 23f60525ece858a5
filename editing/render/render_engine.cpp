#include "editing/render/render_engine.h"

#include "editing/core/annotated_mutex.h"
#include "editing/playback/audio_group_mixer.h"
#include "editing/playback/bounded_queue.h"
#include "editing/playback/playback_timing.h"
#include "editing/playback/playout_pump.h"
#include "editing/render/output_file_writer.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cmath>
#include <thread>

namespace editing {

namespace {

constexpr std::size_t kQueuedChunks = 8;
constexpr int kAudioChunkFrames = 4410;  // 0.1 s at 44.1 kHz

}  // namespace

RefTime timelineLengthRefTime(const TimelineModel& timeline) {
    return timeline.duration();
}

// Set up by start() on the window's thread before any worker runs, and read-only afterwards,
// except where a member says otherwise.
struct RenderEngine::Running {
    struct Pipeline {
        PlayoutStream playout;
        int stream = 0;                 // the writer's stream index
        std::int64_t unitsWritten = 0;  // the mux thread's alone
        bool finished = false;          // the mux thread's alone
        // Producer -> mux thread (filled) and back (spare); each queue locks for itself.
        BoundedQueue<PlayoutChunk> filled{kQueuedChunks};
        BoundedQueue<PlayoutChunk> spare{kQueuedChunks + 4};
        std::thread producer;  // started and joined by the window's thread

        RefTime writtenRefTime() const { return playout.unitTime(unitsWritten); }
    };

    TimelineModel timeline;
    OutputFileWriter writer;  // the window's thread until the workers start, then the mux thread's
    std::function<void()> notifier;
    RenderTaps taps;
    Mutex eventMutex;
    std::vector<RenderEvent> events GUARDED_BY(eventMutex);
    std::atomic<RefTime> progress{0};  // written by the mux thread, read by the window's
    RefTime duration = 0;
    std::atomic<bool> stopRequested{false};  // set by the window's thread
    std::vector<std::unique_ptr<Pipeline>> pipelines;
    std::thread muxer;  // started and joined by the window's thread

    void queueEvent(RenderEvent event) EXCLUDES(eventMutex) {
        {
            MutexLock lock(eventMutex);
            events.push_back(std::move(event));
        }
        if (notifier) {
            notifier();
        }
    }

    // A failure to write the output stops the render; a source's failure (below) leaves black
    // or silence in its place and the render goes on.
    void reportWriteFailure(Result result, const std::string& description) {
        RenderEvent event = errorEvent(result, description);
        event.endsRender = true;
        queueEvent(std::move(event));
    }

    void reportSourceFailure(const SourceFailure& failure) {
        RenderEvent event = errorEvent(failure.result, failure.description);
        event.sourceFileName = failure.fileName;
        queueEvent(std::move(event));
    }

    static RenderEvent errorEvent(Result result, const std::string& description) {
        RenderEvent event;
        event.kind = RenderEventKind::Error;
        event.result = result;
        event.description = description.empty() ? describeResult(result) : description;
        return event;
    }

    // Moves the queued events to the end of `taken`, oldest first.
    void takeEventsInto(std::vector<RenderEvent>& taken) EXCLUDES(eventMutex) {
        MutexLock lock(eventMutex);
        taken.insert(taken.end(), std::make_move_iterator(events.begin()),
                     std::make_move_iterator(events.end()));
        events.clear();
    }

    void closeQueues() {
        for (auto& pipeline : pipelines) {
            pipeline->filled.close();
            pipeline->spare.close();
        }
    }

    // A group's producer: the playout pump, from the group's first unit, into the queue the
    // mux stage takes from; the taps see each chunk on its way.
    void produce(Pipeline& pipeline) {
        PlayoutPump pump(pipeline.playout,
                         [this](const SourceFailure& failure) { reportSourceFailure(failure); });
        const bool pictures = pipeline.playout.kind == MediaKind::Video;
        pump.run(
            0, kAudioChunkFrames, [&pipeline] { return pipeline.spare.pop(); },
            [this, &pipeline, pictures](PlayoutChunk&& chunk) {
                if (pictures && taps.picture) {
                    taps.picture(chunk.firstUnit, *chunk.picture);
                } else if (!pictures && taps.sound) {
                    taps.sound(chunk.firstUnit, chunk.samples.data(), chunk.unitCount);
                }
                return pipeline.filled.push(std::move(chunk));
            },
            stopRequested);
        pipeline.filled.finish();
    }

    void updateProgress() {
        RefTime reached = duration;
        for (const auto& pipeline : pipelines) {
            if (!pipeline->finished) {
                reached = std::min(reached, pipeline->writtenRefTime());
            }
        }
        progress = std::min(reached, duration);
    }

    // The encode / mux stage: takes chunks from the group that lags furthest behind, so the
    // streams reach the muxer in time order and its interleaving buffer stays small.
    void mux() {
        bool aborted = false;
        while (!stopRequested) {
            Pipeline* next = nullptr;
            for (auto& pipeline : pipelines) {
                if (!pipeline->finished &&
                    (next == nullptr || pipeline->writtenRefTime() < next->writtenRefTime())) {
                    next = pipeline.get();
                }
            }
            if (next == nullptr) {
                break;
            }
            std::optional<PlayoutChunk> chunk = next->filled.pop();
            if (!chunk) {
                if (stopRequested) {
                    // The queues were closed by stop(), not emptied by a finished producer:
                    // progress stays at what every stream has written.
                    break;
                }
                next->finished = true;
                updateProgress();
                continue;
            }
            Result result = kOk;
            if (next->playout.kind == MediaKind::Video) {
                result = writer.writeVideo(next->stream, chunk->picture->view(), chunk->firstUnit);
            } else {
                result = writer.writeAudio(next->stream, chunk->samples.data(), chunk->unitCount);
            }
            if (failed(result)) {
                reportWriteFailure(result,
                                   "Could not write the output file: " + describeResult(result));
                aborted = true;
                break;
            }
            next->unitsWritten += chunk->unitCount;
            next->spare.push(std::move(*chunk));
            updateProgress();
        }
        const bool completed = !aborted && !stopRequested;
        closeQueues();
        std::string description;
        const Result finished = writer.finish(description);
        if (failed(finished)) {
            reportWriteFailure(finished, description);
            return;
        }
        if (!description.empty()) {
            RenderEvent notice;
            notice.kind = RenderEventKind::Notice;
            notice.description = description;
            queueEvent(std::move(notice));
        }
        if (completed) {
            progress = duration;
            RenderEvent complete;
            complete.description = "The render is complete.";
            queueEvent(std::move(complete));
        }
    }

    void join() {
        for (auto& pipeline : pipelines) {
            if (pipeline->producer.joinable()) {
                pipeline->producer.join();
            }
        }
        if (muxer.joinable()) {
            muxer.join();
        }
    }
};

RenderEngine::RenderEngine() = default;

void RenderEngine::assertOwnerThread() const {
    assert(std::this_thread::get_id() == ownerThread_ && "RenderEngine: window thread only");
}

RenderEngine::~RenderEngine() {
    stop();
}

void RenderEngine::setEventNotifier(std::function<void()> notifier) {
    notifier_ = std::move(notifier);
}

void RenderEngine::setTaps(RenderTaps taps) {
    taps_ = std::move(taps);
}

Result RenderEngine::start(TimelineModel timeline, RenderOutputSettings settings) {
    assertOwnerThread();
    lastErrorDescription_.clear();
    if (running_) {
        return kErrorRenderBusy;
    }
    if (settings.outputFileName.empty()) {
        lastErrorDescription_ = "No output file name was given.";
        return kErrorInvalidArgument;
    }
    auto running = std::make_unique<Running>();
    running->timeline = std::move(timeline);
    running->notifier = notifier_;
    running->taps = taps_;
    running->duration = timelineLengthRefTime(running->timeline);
    std::string& description = lastErrorDescription_;
    Result result = running->writer.create(
        settings.outputFileName, containerForFileName(settings.outputFileName), description);
    if (failed(result)) {
        return result;
    }
    for (const GroupModel& group : running->timeline.groups) {
        auto pipeline = std::make_unique<Running::Pipeline>();
        pipeline->playout = playoutStreamOf(group, running->duration);
        if (group.mediaType.kind == MediaKind::Video) {
            const double fps = group.outputFramesPerSecond;
            if (!(fps > 0.0) || !std::isfinite(fps) || group.mediaType.width <= 0 ||
                group.mediaType.height <= 0) {
                description = "The video group has no valid frame size or frame rate.";
                return kErrorInvalidArgument;
            }
            result = running->writer.addVideoStream(group.mediaType.width, group.mediaType.height,
                                                    fps, settings.videoCompressor, pipeline->stream,
                                                    description);
        } else {
            if (group.tracks.empty()) {
                continue;  // an audio group without tracks writes no stream
            }
            result = running->writer.addAudioStream(
                static_cast<int>(pipeline->playout.unitsPerSecond), AudioGroupMixer::kChannels,
                settings.audioCompressor, pipeline->stream, description);
        }
        if (failed(result)) {
            return result;
        }
        for (std::size_t index = 0; index < kQueuedChunks + 4; ++index) {
            pipeline->spare.push(makePlayoutChunk(pipeline->playout, kAudioChunkFrames));
        }
        running->pipelines.push_back(std::move(pipeline));
    }
    if (running->pipelines.empty()) {
        description = describeResult(kErrorEmptyTimeline);
        return kErrorEmptyTimeline;
    }
    result = running->writer.writeHeader(description);
    if (failed(result)) {
        running->writer.abandon();
        return result;
    }
    Running& state = *running;
    for (auto& pipeline : state.pipelines) {
        Running::Pipeline& owned = *pipeline;
        owned.producer = std::thread([&state, &owned] { state.produce(owned); });
    }
    state.muxer = std::thread([&state] { state.mux(); });
    running_ = std::move(running);
    return kOk;
}

void RenderEngine::stop() {
    assertOwnerThread();
    if (!running_) {
        return;
    }
    running_->stopRequested = true;
    running_->closeQueues();
    running_->join();
    // Events queued before the stop stay readable.
    running_->takeEventsInto(pendingEvents_);
    lastProgressRefTime_ = running_->progress.load();
    lastDurationRefTime_ = running_->duration;
    running_.reset();
}

bool RenderEngine::isRunning() const {
    return running_ != nullptr;
}

std::vector<RenderEvent> RenderEngine::takeEvents() {
    assertOwnerThread();
    std::vector<RenderEvent> taken = std::move(pendingEvents_);
    pendingEvents_.clear();
    if (running_) {
        running_->takeEventsInto(taken);
    }
    return taken;
}

RefTime RenderEngine::progressRefTime() const {
    return running_ ? running_->progress.load() : lastProgressRefTime_;
}

RefTime RenderEngine::durationRefTime() const {
    return running_ ? running_->duration : lastDurationRefTime_;
}

std::string RenderEngine::lastErrorDescription() const {
    return lastErrorDescription_;
}

}  // namespace editing
