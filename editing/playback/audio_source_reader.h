#pragma once

// Private to the render: the sound of one audio source, resampled to the group's rate.

#include "editing/core/ffmpeg_handles.h"
#include "editing/playback/media_input.h"
#include "editing/playback/source_failure.h"

#include <string>
#include <vector>

namespace editing {

// Reads one file forward from a media time and hands out stereo float samples at the output
// rate. `rate` (media span / output span) is applied by resampling, so the pitch follows the
// speed as on tape. Past the end of the file (or for a file without sound) it gives silence.
// The resampler follows the sound: a file whose rate, sample format or channel layout changes
// part way (joined MP3 or AAC streams) gets a new one, after the old one has given up what it
// held. When the sound cannot be converted (the resampler refuses the file's format or the speed),
// the reader gives silence from there on and keeps one failure for takeFailure().
//
// Threading: used by one thread.
class AudioSourceReader {
  public:
    static constexpr int kChannels = 2;

    AudioSourceReader(int outputSampleRate, double rate);
    ~AudioSourceReader();
    AudioSourceReader(const AudioSourceReader&) = delete;
    AudioSourceReader& operator=(const AudioSourceReader&) = delete;

    Result open(const std::string& fileName, RefTime mediaStart, std::string& description);

    // Adds `gain` times the next `frames` stereo frames into `mix` (interleaved).
    void mixInto(float* mix, int frames, float gain);

    // Hands out, once, the failure that silenced the reader during mixInto(): true with
    // `result` and a readable `description` when there is one to report.
    bool takeFailure(Result& result, std::string& description);

  private:
    bool refill(int wantedFrames);
    bool convertFrame(const AVFrame& frame);
    bool setUpResampler(const AVFrame& frame);
    bool resamplerFits(const AVFrame& frame) const;
    void drainResampler();
    void fail(Result result, const std::string& what);

    MediaInput input_;
    int outputSampleRate_;
    double rate_;
    bool opened_ = false;
    bool ended_ = false;
    RefTime mediaStart_ = 0;
    std::string fileName_;
    PendingFailure failure_;  // kept until taken
    ffmpeg::FrameHandle frame_;
    ffmpeg::ResampleContextHandle resampler_;
    // The input the resampler was set up for (its layout is owned: uninitialised on change).
    int resamplerFormat_ = -1;
    int resamplerRate_ = 0;
    AVChannelLayout resamplerLayout_{};
    std::vector<float> pending_;     // converted, interleaved stereo
    std::size_t pendingOffset_ = 0;  // in floats
};

}  // namespace editing
