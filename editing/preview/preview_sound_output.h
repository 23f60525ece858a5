#pragma once

#include "editing/core/ref_time.h"

#include <cstdint>
#include <string>

namespace editing {

// Where a preview's sound goes, and the clock the preview follows: the time of the sound that
// is being heard. The program's implementation plays through the sound server; the editing
// layer knows only this interface.
//
// Threading: start(), write() and finish() are called by the player's sound thread;
// heardRefTime() by its presenting thread; stop() by any thread, and it makes a waiting write()
// return false.
class PreviewSoundOutput {
  public:
    virtual ~PreviewSoundOutput() = default;

    // Begins a new stream of interleaved 16-bit stereo at `sampleRate`; its clock starts at 0
    // with the first sample written. False with a readable `error` when the server refuses.
    [[nodiscard]] virtual bool start(int sampleRate, std::string& error) = 0;

    // Queues `frames` stereo frames, waiting while the server's buffer is full. False when the
    // stream was stopped or broke.
    [[nodiscard]] virtual bool write(const std::int16_t* samples, int frames) = 0;

    // No more sound follows: what is queued plays out (also when it is less than the server
    // waits for before it starts).
    virtual void finish() = 0;

    // The stream time of the sample heard now: the samples played minus what the server and
    // the device still hold (100-ns units, from the first sample written; 0 before any sound
    // is heard). Never decreases within one stream.
    virtual RefTime heardRefTime() = 0;

    // Ends the stream at once, dropping what is queued. Harmless when none runs.
    virtual void stop() = 0;
};

}  // namespace editing
