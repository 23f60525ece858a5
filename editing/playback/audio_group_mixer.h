#pragma once

// The sound of an audio group, block after block (run through PlayoutPump by the render and
// the preview).

#include "editing/playback/audio_source_reader.h"
#include "editing/playback/source_failure.h"
#include "editing/timeline/timeline_model.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace editing {

// Mixes an audio group at the output rate: every source is resampled to its span's rate,
// multiplied by the level of its track's audio mixer effects ("Vol") and summed in float;
// the sum is clipped once, when it is turned into 16-bit samples. Sources are indexed by
// start; a source is open only while its span overlaps the block being mixed.
//
// Threading: one thread; blocks are asked for in order, the first from any sample (a preview
// that starts part way opens each placement at the matching media time).
class AudioGroupMixer {
  public:
    using ErrorReporter = SourceFailureReporter;
    static constexpr int kChannels = AudioSourceReader::kChannels;

    // `group` must outlive the mixer.
    AudioGroupMixer(const GroupModel& group, int sampleRate, ErrorReporter reportError);
    ~AudioGroupMixer();

    // Writes `frames` stereo frames starting at output sample `firstSample` into `out`
    // (interleaved 16-bit).
    void mix(std::int64_t firstSample, int frames, std::int16_t* out);

  private:
    struct GainChange {
        std::int64_t sample = 0;  // from this output sample on
        float gain = 1.0f;
    };
    struct Placement {
        const SourceModel* source = nullptr;
        std::int64_t startSample = 0;
        std::int64_t stopSample = 0;
        std::vector<GainChange> gains;  // in sample order; the first covers startSample
        std::unique_ptr<AudioSourceReader> reader;
        std::size_t gainIndex = 0;
    };

    std::int64_t sampleOf(RefTime time) const;
    std::vector<GainChange> gainsOf(const TrackModel& track, const SourceModel& source) const;
    void mixPlacement(Placement& placement, std::int64_t firstSample, int frames);

    int sampleRate_;
    ErrorReporter reportError_;
    std::vector<Placement> byStart_;  // not yet started, in start order
    std::size_t nextToActivate_ = 0;
    std::vector<Placement> active_;
    std::vector<float> sum_;
};

}  // namespace editing
