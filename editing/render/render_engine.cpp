#include "editing/render/render_engine.h"

#include "editing/render/audio_group_mixer.h"
#include "editing/render/avi_writer.h"
#include "editing/render/bounded_queue.h"
#include "editing/render/video_group_renderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace editing {

namespace {

constexpr std::size_t kQueuedChunks = 8;
constexpr int kAudioChunkFrames = 4410;  // 0.1 s at 44.1 kHz

struct Chunk {
    std::unique_ptr<Picture> picture;   // video
    std::vector<std::int16_t> samples;  // audio, interleaved stereo
    std::int64_t position = 0;          // first frame or sample
    int units = 0;                      // frames or sample frames in this chunk
};

// What an error means for the render: a source's failure leaves black or silence in its place
// and the render goes on; a failure to write the output stops it.
enum class ErrorEffect { RenderGoesOn, RenderStops };

}  // namespace

RefTime timelineLengthRefTime(const TimelineModel& timeline) {
    return timeline.duration();
}

struct RenderEngine::Running {
    struct Pipeline {
        MediaKind kind = MediaKind::Video;
        const GroupModel* group = nullptr;
        int stream = 0;
        double unitsPerSecond = 0.0;
        std::int64_t totalUnits = 0;
        std::int64_t unitsWritten = 0;  // touched by the mux thread only
        bool finished = false;          // mux thread only
        BoundedQueue<Chunk> filled{kQueuedChunks};
        BoundedQueue<Chunk> spare{kQueuedChunks + 4};
        std::thread producer;

        RefTime writtenRefTime() const {
            if (kind == MediaKind::Video) {
                return frameStartRefTime(unitsWritten, unitsPerSecond);
            }
            return static_cast<RefTime>(static_cast<long double>(unitsWritten) * kRefTimePerSecond /
                                        unitsPerSecond);
        }
    };

    TimelineModel timeline;
    AviWriter writer;
    std::function<void()> notifier;
    std::mutex eventMutex;
    std::vector<RenderEvent> events;
    std::atomic<RefTime> progress{0};
    RefTime duration = 0;
    std::atomic<bool> stopRequested{false};
    std::vector<std::unique_ptr<Pipeline>> pipelines;
    std::thread muxer;

    void queueEvent(RenderEvent event) {
        {
            std::lock_guard lock(eventMutex);
            events.push_back(std::move(event));
        }
        if (notifier) {
            notifier();
        }
    }

    void reportError(Result result, const std::string& description, ErrorEffect effect) {
        RenderEvent event;
        event.kind = RenderEventKind::Error;
        event.result = result;
        event.description = description.empty() ? describeResult(result) : description;
        event.endsRender = effect == ErrorEffect::RenderStops;
        queueEvent(std::move(event));
    }

    void closeQueues() {
        for (auto& pipeline : pipelines) {
            pipeline->filled.close();
            pipeline->spare.close();
        }
    }

    void produceVideo(Pipeline& pipeline) {
        VideoGroupRenderer renderer(*pipeline.group, kRenderTransitionSeed,
                                    [this](Result result, const std::string& description) {
                                        reportError(result, description, ErrorEffect::RenderGoesOn);
                                    });
        for (std::int64_t frame = 0; frame < pipeline.totalUnits && !stopRequested; ++frame) {
            std::optional<Chunk> chunk = pipeline.spare.pop();
            if (!chunk) {
                break;
            }
            renderer.render(frameStartRefTime(frame, pipeline.unitsPerSecond), *chunk->picture);
            chunk->position = frame;
            chunk->units = 1;
            if (!pipeline.filled.push(std::move(*chunk))) {
                break;
            }
        }
        pipeline.filled.finish();
    }

    void produceAudio(Pipeline& pipeline) {
        AudioGroupMixer mixer(*pipeline.group, static_cast<int>(pipeline.unitsPerSecond),
                              [this](Result result, const std::string& description) {
                                  reportError(result, description, ErrorEffect::RenderGoesOn);
                              });
        for (std::int64_t sample = 0; sample < pipeline.totalUnits && !stopRequested;) {
            std::optional<Chunk> chunk = pipeline.spare.pop();
            if (!chunk) {
                break;
            }
            const int frames = static_cast<int>(
                std::min<std::int64_t>(kAudioChunkFrames, pipeline.totalUnits - sample));
            chunk->samples.resize(static_cast<std::size_t>(frames) * AudioGroupMixer::kChannels);
            mixer.mix(sample, frames, chunk->samples.data());
            chunk->position = sample;
            chunk->units = frames;
            sample += frames;
            if (!pipeline.filled.push(std::move(*chunk))) {
                break;
            }
        }
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
            std::optional<Chunk> chunk = next->filled.pop();
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
            if (next->kind == MediaKind::Video) {
                result = writer.writeVideo(next->stream, chunk->picture->view(), chunk->position);
            } else {
                result = writer.writeAudio(next->stream, chunk->samples.data(), chunk->units);
            }
            if (failed(result)) {
                reportError(result, "Could not write the output file: " + describeResult(result),
                            ErrorEffect::RenderStops);
                aborted = true;
                break;
            }
            next->unitsWritten += chunk->units;
            next->spare.push(std::move(*chunk));
            updateProgress();
        }
        const bool completed = !aborted && !stopRequested;
        closeQueues();
        std::string description;
        const Result finished = writer.finish(description);
        if (failed(finished)) {
            reportError(finished, description, ErrorEffect::RenderStops);
        } else if (completed) {
            progress = duration;
            queueEvent(
                RenderEvent{RenderEventKind::Complete, kOk, "The render is complete.", false});
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

RenderEngine::~RenderEngine() {
    stop();
}

void RenderEngine::setEventNotifier(std::function<void()> notifier) {
    notifier_ = std::move(notifier);
}

Result RenderEngine::start(TimelineModel timeline, RenderOutputSettings settings) {
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
    running->duration = timelineLengthRefTime(running->timeline);
    std::string& description = lastErrorDescription_;
    Result result = running->writer.create(settings.outputFileName, description);
    if (failed(result)) {
        return result;
    }
    for (const GroupModel& group : running->timeline.groups) {
        auto pipeline = std::make_unique<Running::Pipeline>();
        pipeline->group = &group;
        pipeline->kind = group.mediaType.kind;
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
            pipeline->unitsPerSecond = fps;
            std::int64_t frames = static_cast<std::int64_t>(
                std::ceil(static_cast<long double>(running->duration) * fps / kRefTimePerSecond));
            while (frames > 0 && frameStartRefTime(frames - 1, fps) >= running->duration) {
                --frames;
            }
            while (frameStartRefTime(frames, fps) < running->duration) {
                ++frames;
            }
            pipeline->totalUnits = frames;
            for (std::size_t index = 0; index < kQueuedChunks + 4; ++index) {
                Chunk chunk;
                chunk.picture =
                    std::make_unique<Picture>(group.mediaType.width, group.mediaType.height);
                pipeline->spare.push(std::move(chunk));
            }
        } else {
            if (group.tracks.empty()) {
                continue;  // an audio group without tracks writes no stream
            }
            const int sampleRate =
                group.mediaType.sampleRate > 0 ? group.mediaType.sampleRate : 44100;
            result = running->writer.addAudioStream(sampleRate, AudioGroupMixer::kChannels,
                                                    settings.audioCompressor, pipeline->stream,
                                                    description);
            pipeline->unitsPerSecond = sampleRate;
            pipeline->totalUnits = static_cast<std::int64_t>(
                static_cast<long double>(running->duration) * sampleRate / kRefTimePerSecond);
            for (std::size_t index = 0; index < kQueuedChunks + 4; ++index) {
                Chunk chunk;
                chunk.samples.reserve(static_cast<std::size_t>(kAudioChunkFrames) *
                                      AudioGroupMixer::kChannels);
                pipeline->spare.push(std::move(chunk));
            }
        }
        if (failed(result)) {
            return result;
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
        if (owned.kind == MediaKind::Video) {
            owned.producer = std::thread([&state, &owned] { state.produceVideo(owned); });
        } else {
            owned.producer = std::thread([&state, &owned] { state.produceAudio(owned); });
        }
    }
    state.muxer = std::thread([&state] { state.mux(); });
    running_ = std::move(running);
    return kOk;
}

void RenderEngine::stop() {
    if (!running_) {
        return;
    }
    running_->stopRequested = true;
    running_->closeQueues();
    running_->join();
    // Events queued before the stop stay readable.
    {
        std::lock_guard lock(running_->eventMutex);
        pendingEvents_.insert(pendingEvents_.end(), running_->events.begin(),
                              running_->events.end());
    }
    lastProgressRefTime_ = running_->progress.load();
    lastDurationRefTime_ = running_->duration;
    running_.reset();
}

bool RenderEngine::isRunning() const {
    return running_ != nullptr;
}

std::vector<RenderEvent> RenderEngine::takeEvents() {
    std::vector<RenderEvent> taken = std::move(pendingEvents_);
    pendingEvents_.clear();
    if (running_) {
        std::lock_guard lock(running_->eventMutex);
        taken.insert(taken.end(), running_->events.begin(), running_->events.end());
        running_->events.clear();
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
