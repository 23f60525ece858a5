#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/preview/preview_sound_output.h"
#include "editing/timeline/timeline_model.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editing {

// What a shown picture is.
enum class PreviewFrameKind {
    Playing,   // a frame of the running playback, shown at its time
    Exact,     // the exact frame at a position asked for while paused
    KeyFrame,  // a quick stand-in while seeking: the key frame before the position
};

struct PreviewFrame {
    PreviewFrameKind kind = PreviewFrameKind::Exact;
    std::int64_t frameIndex = 0;
    RefTime time = 0;  // output time of the frame
    // Playing only: the clock when the frame was handed over, as time-line time. With sound,
    // it is the time of the sound being heard at that moment (the sound stream's own clock,
    // the server's latency included); without, the system clock since play.
    RefTime presentedClockRefTime = 0;
    std::chrono::steady_clock::time_point presentedAt;
};

// How the player paces its frames.
enum class PreviewPacing {
    RealTime,          // each frame at its time on the clock; late frames are dropped
    AsFastAsPossible,  // every frame, at once (measurements)
};

// Plays a TimelineModel in real time: the first video group's pictures through the same
// group renderer the render uses, the first audio group's sound through the same mixer, so
// the preview shows what a render would write. The sound is the clock: each frame is handed
// to the frame sink when the sound of its time is heard; a frame that would be late is
// dropped, never sound. Without a sound output (or when it refuses to start) the picture
// plays alone, paced by the system clock, and soundFailure() says why; when the sound breaks
// off while playing, the system clock carries on from the time heard last.
//
// Threads: while playing, one thread renders frames ahead, one presents them and one mixes
// and writes the sound. A paused seek or step renders its picture on one thread that ends
// when the picture is shown. pause(), close() and the destructor end every thread they own
// before returning. Every public method is called from one thread (the window's); the frame
// sink and the notifier are called on the player's threads and must not call back into it.
class PreviewPlayer {
  public:
    using FrameSink = std::function<void(const PreviewFrame&, const Picture&)>;

    // The sound output may be null (picture only).
    PreviewPlayer(TimelineModel timeline, std::unique_ptr<PreviewSoundOutput> soundOutput,
                  PreviewPacing pacing = PreviewPacing::RealTime);
    ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    // Set before the first command. The sink is called for every frame shown.
    void setFrameSink(FrameSink sink);
    // Called (on a player thread) when playback reaches the end or a source reports an error;
    // the window then reads isPlaying() / takeMessages().
    void setNotifier(std::function<void()> notifier);

    // Plays from position(); at the end it starts over from 0.
    void play();
    // Stops at the frame shown last; every playing thread has ended when this returns.
    void pause();
    bool isPlaying() const;

    // Moves to `time` (clamped to the time line). Playing, playback goes on from there;
    // paused, the exact frame is shown (KeyFrameFirst shows the key frame before it at once).
    enum class SeekMode { Exact, KeyFrameFirst };
    void seek(RefTime time, SeekMode mode = SeekMode::Exact);
    // Paused only: moves `frames` frames (negative: back) and shows that frame exactly.
    void stepFrames(int frames);

    // Ends everything; the player can be destroyed without waiting afterwards.
    void close();

    // The time of the frame shown last (or asked for by the last seek).
    RefTime position() const;
    RefTime durationRefTime() const;
    double framesPerSecond() const;
    std::int64_t frameCount() const;
    int frameWidth() const;
    int frameHeight() const;
    // Frames dropped because they would have been late, since play().
    std::int64_t droppedFrames() const;
    // Why the sound does not play ("" when it does, or before the first play).
    std::string soundFailure() const;
    // Errors of sources (unreadable files and the like) since the last call, oldest first.
    std::vector<std::string> takeMessages();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace editing
