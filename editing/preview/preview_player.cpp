#include "editing/preview/preview_player.h"

#include "editing/core/annotated_mutex.h"
#include "editing/playback/bounded_queue.h"
#include "editing/playback/playback_timing.h"
#include "editing/playback/playout_pump.h"
#include "editing/playback/video_group_renderer.h"
#include "editing/preview/key_frame_picture.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <thread>
#include <utility>

namespace editing {

namespace {

// Frames rendered ahead of the one shown: enough to ride out a slow frame, few enough that a
// seek or pause throws little work away.
constexpr std::size_t kFramesAhead = 3;
// The sound is mixed and handed to the output in blocks of this many milliseconds.
constexpr int kSoundBlockMilliseconds = 20;
// The longest the presenting thread sleeps before it looks at the clock again.
constexpr auto kLongestWait = std::chrono::milliseconds(4);

}  // namespace

struct PreviewPlayer::State {
    // One run of playback, from play() (or a seek while playing) to pause() or the end.
    struct Playback {
        RefTime startRefTime = 0;
        bool soundRuns = false;
        std::chrono::steady_clock::time_point startedAt;
        // When the sound breaks off part way, the system clock carries on from the time heard
        // last, so the picture does not freeze: that time and the moment (steady clock, ns).
        std::atomic<bool> soundLost{false};
        std::atomic<RefTime> soundLostRefTime{0};
        std::atomic<std::int64_t> soundLostAtNanoseconds{0};
        std::atomic<bool> stopRequested{false};
        std::atomic<bool> ended{false};
        BoundedQueue<PlayoutChunk> filled{kFramesAhead};
        BoundedQueue<PlayoutChunk> spare{kFramesAhead + 2};
        std::thread producer;
        std::thread presenter;
        std::thread sound;
    };
    struct StillRequest {
        RefTime time = 0;
        SeekMode mode = SeekMode::Exact;
    };

    TimelineModel timeline;
    std::optional<TimelinePlayout> playout;  // of `timeline`: which groups play, units, times
    std::unique_ptr<PreviewSoundOutput> soundOutput;
    PreviewPacing pacing = PreviewPacing::RealTime;
    FrameSink sink;
    std::function<void()> notifier;

    std::atomic<RefTime> position{0};
    std::atomic<std::int64_t> dropped{0};
    mutable Mutex messageMutex;
    std::vector<std::string> messages GUARDED_BY(messageMutex);
    std::string soundFailure GUARDED_BY(messageMutex);

    std::unique_ptr<Playback> playback;  // window thread only

    Mutex stillMutex;
    std::optional<StillRequest> stillRequest GUARDED_BY(stillMutex);
    bool stillRunning GUARDED_BY(stillMutex) = false;
    std::thread stillThread;
    Picture stillPicture;  // the still thread's

    RefTime frameTime(std::int64_t frame) const { return playout->frameTime(frame); }

    std::int64_t frameIndexAt(RefTime time) const { return playout->frameAt(time); }

    void notify() {
        if (notifier) {
            notifier();
        }
    }

    void report(const SourceFailure& failure) {
        {
            MutexLock lock(messageMutex);
            messages.push_back(failure.description.empty() ? describeResult(failure.result)
                                                           : failure.description);
        }
        notify();
    }

    void deliver(const PreviewFrame& frame, const Picture& picture) {
        position = frame.time;
        if (sink) {
            sink(frame, picture);
        }
    }

    static std::int64_t steadyNanoseconds() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    RefTime clockNow(const Playback& run) const {
        if (pacing == PreviewPacing::AsFastAsPossible) {
            return run.startRefTime;
        }
        if (run.soundRuns && !run.soundLost) {
            return run.startRefTime + soundOutput->heardRefTime();
        }
        if (run.soundLost) {
            return run.soundLostRefTime + (steadyNanoseconds() - run.soundLostAtNanoseconds) / 100;
        }
        const auto elapsed = std::chrono::steady_clock::now() - run.startedAt;
        return run.startRefTime +
               std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 100;
    }

    SourceFailureReporter reporter() {
        return [this](const SourceFailure& failure) { report(failure); };
    }

    // Renders frames ahead through the playout pump; a frame whose time has already passed is
    // not even rendered.
    void produce(Playback& run) {
        PlayoutPump pump(playout->pictureStream(), reporter());
        const std::int64_t first = frameIndexAt(run.startRefTime);
        pump.run(
            first, 1, [&run] { return run.spare.pop(); },
            [&run](PlayoutChunk&& chunk) { return run.filled.push(std::move(chunk)); },
            run.stopRequested,
            [this, &run, first](std::int64_t frame) {
                if (pacing == PreviewPacing::RealTime && frame > first &&
                    frame + 1 < playout->frameCount() && clockNow(run) >= frameTime(frame + 1)) {
                    ++dropped;
                    return true;
                }
                return false;
            });
        run.filled.finish();
    }

    // Hands each frame over when the clock reaches its time; drops one whose time is over.
    void present(Playback& run) {
        bool first = true;
        while (std::optional<PlayoutChunk> next = run.filled.pop()) {
            const std::int64_t frameIndex = next->firstUnit;
            const RefTime time = frameTime(frameIndex);
            const RefTime over = frameIndex + 1 < playout->frameCount()
                                     ? frameTime(frameIndex + 1)
                                     : playout->durationRefTime();
            RefTime now = clockNow(run);
            while (pacing == PreviewPacing::RealTime && now < time && !run.stopRequested) {
                const auto remaining = std::chrono::microseconds((time - now) / 10);
                std::this_thread::sleep_for(std::min<std::chrono::microseconds>(
                    remaining,
                    std::chrono::duration_cast<std::chrono::microseconds>(kLongestWait)));
                now = clockNow(run);
            }
            if (run.stopRequested) {
                break;
            }
            if (pacing == PreviewPacing::RealTime && !first && now >= over) {
                ++dropped;
            } else {
                PreviewFrame frame;
                frame.kind = PreviewFrameKind::Playing;
                frame.frameIndex = frameIndex;
                frame.time = time;
                frame.presentedClockRefTime = now;
                frame.presentedAt = std::chrono::steady_clock::now();
                deliver(frame, *next->picture);
                first = false;
            }
            run.spare.push(std::move(*next));
        }
        if (!run.stopRequested) {
            run.ended = true;
            notify();
        }
    }

    // Mixes the sound from the start of the run through the playout pump and writes it to the
    // output, which paces it.
    void playSound(Playback& run) {
        const PlayoutStream stream = playout->soundStream();
        PlayoutPump pump(stream, reporter());
        const int blockFrames = playout->sampleRateHz() * kSoundBlockMilliseconds / 1000;
        std::optional<PlayoutChunk> reusable = makePlayoutChunk(stream, blockFrames);
        bool refused = false;
        pump.run(
            playout->sampleAt(run.startRefTime), blockFrames,
            [&reusable] { return std::exchange(reusable, std::nullopt); },
            [this, &reusable, &refused](PlayoutChunk&& block) {
                refused = !soundOutput->write(block.samples.data(), block.unitCount);
                reusable = std::move(block);
                return !refused;
            },
            run.stopRequested);
        if (run.stopRequested) {
            return;
        }
        if (refused) {
            loseSound(run);
        } else {
            soundOutput->finish();
        }
    }

    void loseSound(Playback& run) {
        run.soundLostRefTime = run.startRefTime + soundOutput->heardRefTime();
        run.soundLostAtNanoseconds = steadyNanoseconds();
        run.soundLost = true;
        {
            MutexLock lock(messageMutex);
            soundFailure = "the sound server stopped taking sound";
        }
        notify();
    }

    void startPlayback() {
        auto run = std::make_unique<Playback>();
        run->startRefTime = position;
        if (soundOutput && pacing == PreviewPacing::RealTime) {
            std::string error;
            run->soundRuns = soundOutput->start(playout->sampleRateHz(), error);
            MutexLock lock(messageMutex);
            soundFailure = run->soundRuns ? std::string() : error;
        }
        for (std::size_t index = 0; index < kFramesAhead + 2; ++index) {
            run->spare.push(makePlayoutChunk(playout->pictureStream(), 1));
        }
        run->startedAt = std::chrono::steady_clock::now();
        Playback& owned = *run;
        run->producer = std::thread([this, &owned] { produce(owned); });
        run->presenter = std::thread([this, &owned] { present(owned); });
        if (run->soundRuns) {
            run->sound = std::thread([this, &owned] { playSound(owned); });
        }
        playback = std::move(run);
    }

    void stopPlayback() {
        if (!playback) {
            return;
        }
        playback->stopRequested = true;
        playback->filled.close();
        playback->spare.close();
        if (playback->soundRuns) {
            soundOutput->stop();
        }
        for (std::thread* thread : {&playback->producer, &playback->presenter, &playback->sound}) {
            if (thread->joinable()) {
                thread->join();
            }
        }
        playback.reset();
    }

    // Shows the pictures asked for while paused, newest request first; ends when none waits.
    void renderStills() {
        for (;;) {
            StillRequest request;
            {
                MutexLock lock(stillMutex);
                if (!stillRequest) {
                    stillRunning = false;
                    return;
                }
                request = *stillRequest;
                stillRequest.reset();
            }
            const std::int64_t frameIndex = frameIndexAt(request.time);
            PreviewFrame frame;
            frame.frameIndex = frameIndex;
            frame.time = frameTime(frameIndex);
            if (request.mode == SeekMode::KeyFrameFirst) {
                renderNearestKeyFrame(*playout->videoGroup(), frame.time, stillPicture);
                frame.kind = PreviewFrameKind::KeyFrame;
                frame.presentedAt = std::chrono::steady_clock::now();
                deliver(frame, stillPicture);
                MutexLock lock(stillMutex);
                if (stillRequest) {
                    continue;  // moved on already: the exact frame of the newest position
                }
            }
            VideoGroupRenderer renderer(*playout->videoGroup(), kRenderTransitionSeed, reporter());
            renderer.render(frame.time, stillPicture);
            frame.kind = PreviewFrameKind::Exact;
            frame.presentedAt = std::chrono::steady_clock::now();
            deliver(frame, stillPicture);
        }
    }

    void requestStill(RefTime time, SeekMode mode) {
        MutexLock lock(stillMutex);
        stillRequest = StillRequest{time, mode};
        position = frameTime(frameIndexAt(time));
        if (stillRunning) {
            return;  // the running thread picks it up
        }
        if (stillThread.joinable()) {
            stillThread.join();  // it has ended: it cleared stillRunning on its way out
        }
        stillRunning = true;
        stillThread = std::thread([this] { renderStills(); });
    }

    void stopStills() {
        {
            MutexLock lock(stillMutex);
            stillRequest.reset();
        }
        if (stillThread.joinable()) {
            stillThread.join();
        }
    }
};

PreviewPlayer::PreviewPlayer(TimelineModel timeline,
                             std::unique_ptr<PreviewSoundOutput> soundOutput, PreviewPacing pacing)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.timeline = std::move(timeline);
    state.soundOutput = std::move(soundOutput);
    state.pacing = pacing;
    state.playout.emplace(state.timeline);
    if (const GroupModel* video = state.playout->videoGroup()) {
        state.stillPicture = Picture(video->mediaType.width, video->mediaType.height);
    }
}

PreviewPlayer::~PreviewPlayer() {
    close();
}

void PreviewPlayer::setFrameSink(FrameSink sink) {
    state_->sink = std::move(sink);
}

void PreviewPlayer::setNotifier(std::function<void()> notifier) {
    state_->notifier = std::move(notifier);
}

void PreviewPlayer::play() {
    State& state = *state_;
    if (state.playout->videoGroup() == nullptr || state.playout->frameCount() == 0 || isPlaying()) {
        return;
    }
    state.stopPlayback();  // one that reached its end
    state.stopStills();
    if (state.position >= state.frameTime(state.playout->frameCount() - 1)) {
        state.position = 0;
    }
    state.dropped = 0;
    state.startPlayback();
}

void PreviewPlayer::pause() {
    state_->stopPlayback();
}

bool PreviewPlayer::isPlaying() const {
    return state_->playback && !state_->playback->ended;
}

void PreviewPlayer::seek(RefTime time, SeekMode mode) {
    State& state = *state_;
    if (state.playout->videoGroup() == nullptr || state.playout->frameCount() == 0) {
        return;
    }
    time = std::clamp<RefTime>(time, 0, state.frameTime(state.playout->frameCount() - 1));
    if (isPlaying()) {
        state.stopPlayback();
        state.position = state.frameTime(state.frameIndexAt(time));
        state.startPlayback();
        return;
    }
    state.stopPlayback();
    state.requestStill(time, mode);
}

void PreviewPlayer::stepFrames(int frames) {
    State& state = *state_;
    if (isPlaying() || state.playout->frameCount() == 0) {
        return;
    }
    const std::int64_t target = std::clamp<std::int64_t>(
        state.frameIndexAt(state.position) + frames, 0, state.playout->frameCount() - 1);
    seek(state.frameTime(target), SeekMode::Exact);
}

void PreviewPlayer::close() {
    state_->stopPlayback();
    state_->stopStills();
}

RefTime PreviewPlayer::position() const {
    return state_->position;
}

RefTime PreviewPlayer::durationRefTime() const {
    return state_->playout->durationRefTime();
}

double PreviewPlayer::framesPerSecond() const {
    return state_->playout->framesPerSecond();
}

std::int64_t PreviewPlayer::frameCount() const {
    return state_->playout->frameCount();
}

int PreviewPlayer::frameWidth() const {
    return state_->playout->videoGroup() != nullptr ? state_->playout->videoGroup()->mediaType.width
                                                    : 0;
}

int PreviewPlayer::frameHeight() const {
    return state_->playout->videoGroup() != nullptr
               ? state_->playout->videoGroup()->mediaType.height
               : 0;
}

std::int64_t PreviewPlayer::droppedFrames() const {
    return state_->dropped;
}

std::string PreviewPlayer::soundFailure() const {
    MutexLock lock(state_->messageMutex);
    return state_->soundFailure;
}

std::vector<std::string> PreviewPlayer::takeMessages() {
    MutexLock lock(state_->messageMutex);
    return std::exchange(state_->messages, {});
}

}  // namespace editing
