#include "editing/playback/audio_source_reader.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <limits>

namespace editing {

AudioSourceReader::AudioSourceReader(int outputSampleRate, double rate)
    : outputSampleRate_(outputSampleRate),
      rate_(rate > 0.0 && std::isfinite(rate) ? rate : 1.0),
      frame_(ffmpeg::makeFrame()) {}

AudioSourceReader::~AudioSourceReader() {
    av_channel_layout_uninit(&resamplerLayout_);
}

Result AudioSourceReader::open(const std::string& fileName, RefTime mediaStart,
                               std::string& description) {
    fileName_ = fileName;
    if (!frame_) {
        opened_ = false;
        ended_ = true;
        description = "Not enough memory to read \"" + fileName + "\".";
        return kErrorOutOfMemory;
    }
    const Result result = input_.open(fileName, AVMEDIA_TYPE_AUDIO, 1, description);
    opened_ = succeeded(result);
    ended_ = !opened_;
    mediaStart_ = std::max<RefTime>(0, mediaStart);
    if (opened_ && mediaStart_ > 0) {
        input_.seekBefore(mediaStart_);
    }
    return result;
}

void AudioSourceReader::fail(Result result, const std::string& what) {
    ended_ = true;
    failure_.keepFirst(result, "Could not resample the sound of \"" + fileName_ + "\": " + what);
}

bool AudioSourceReader::takeFailure(Result& result, std::string& description) {
    return failure_.take(result, description);
}

bool AudioSourceReader::setUpResampler(const AVFrame& frame) {
    // Declaring the input rate as rate x its true rate plays the media span over the
    // output span: the speed change happens in the resampler, pitch included.
    const double declaredInputRate = std::round(frame.sample_rate * rate_);
    if (!(declaredInputRate >= 1.0) || declaredInputRate > std::numeric_limits<int>::max()) {
        fail(kErrorInvalidArgument, "the speed of the placement is out of range.");
        return false;
    }
    AVChannelLayout inputLayout{};
    if (frame.ch_layout.nb_channels > 0 && frame.ch_layout.order != AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_copy(&inputLayout, &frame.ch_layout);
    } else {
        av_channel_layout_default(&inputLayout, std::max(1, frame.ch_layout.nb_channels));
    }
    AVChannelLayout outputLayout{};
    av_channel_layout_default(&outputLayout, kChannels);
    SwrContext* context = nullptr;
    int status = swr_alloc_set_opts2(&context, &outputLayout, AV_SAMPLE_FMT_FLT, outputSampleRate_,
                                     &inputLayout, static_cast<AVSampleFormat>(frame.format),
                                     static_cast<int>(declaredInputRate), 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    av_channel_layout_uninit(&outputLayout);
    if (status < 0 || context == nullptr) {
        swr_free(&context);
        const Result failure = status < 0 ? Result{status} : kErrorOutOfMemory;
        fail(failure, describeResult(failure));
        return false;
    }
    resampler_.reset(context);
    status = swr_init(resampler_.get());
    if (status < 0) {
        resampler_.reset();
        fail(status, describeResult(status));
        return false;
    }
    resamplerFormat_ = frame.format;
    resamplerRate_ = frame.sample_rate;
    av_channel_layout_uninit(&resamplerLayout_);
    av_channel_layout_copy(&resamplerLayout_, &frame.ch_layout);
    return true;
}

bool AudioSourceReader::resamplerFits(const AVFrame& frame) const {
    return frame.format == resamplerFormat_ && frame.sample_rate == resamplerRate_ &&
           av_channel_layout_compare(&frame.ch_layout, &resamplerLayout_) == 0;
}

void AudioSourceReader::drainResampler() {
    const int room = swr_get_out_samples(resampler_.get(), 0);
    if (room <= 0) {
        return;
    }
    const std::size_t used = pending_.size();
    pending_.resize(used + static_cast<std::size_t>(room) * kChannels);
    uint8_t* output = reinterpret_cast<uint8_t*>(pending_.data() + used);
    const int converted = swr_convert(resampler_.get(), &output, room, nullptr, 0);
    pending_.resize(used + static_cast<std::size_t>(std::max(converted, 0)) * kChannels);
}

bool AudioSourceReader::convertFrame(const AVFrame& frame) {
    if (resampler_ && !resamplerFits(frame)) {
        // The sound changed its rate, format or layout: what the old resampler holds (its
        // filter delay) belongs before the new part.
        drainResampler();
        resampler_.reset();
    }
    if (!resampler_ && !setUpResampler(frame)) {
        return false;
    }
    // Samples before the media start (after a seek to the key point before it) are dropped.
    int skip = 0;
    const RefTime frameTime = input_.frameTime(frame);
    if (frameTime < mediaStart_) {
        skip = static_cast<int>((mediaStart_ - frameTime) * frame.sample_rate / kRefTimePerSecond);
        if (skip >= frame.nb_samples) {
            return true;
        }
    }
    const uint8_t* inputPlanes[AV_NUM_DATA_POINTERS] = {};
    const int bytesPerSample = av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame.format));
    const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame.format));
    const int channels = frame.ch_layout.nb_channels;
    for (int plane = 0; plane < (planar ? std::min(channels, AV_NUM_DATA_POINTERS) : 1); ++plane) {
        inputPlanes[plane] =
            frame.extended_data[plane] + skip * bytesPerSample * (planar ? 1 : channels);
    }
    const int inputCount = frame.nb_samples - skip;
    const int room = swr_get_out_samples(resampler_.get(), inputCount);
    const std::size_t used = pending_.size();
    pending_.resize(used + static_cast<std::size_t>(std::max(room, 0)) * kChannels);
    uint8_t* output = reinterpret_cast<uint8_t*>(pending_.data() + used);
    const int converted = swr_convert(resampler_.get(), &output, room, inputPlanes, inputCount);
    pending_.resize(used + static_cast<std::size_t>(std::max(converted, 0)) * kChannels);
    if (converted < 0) {
        fail(converted, describeResult(converted));
        return false;
    }
    return true;
}

bool AudioSourceReader::refill(int wantedFrames) {
    const std::size_t wantedFloats = static_cast<std::size_t>(wantedFrames) * kChannels;
    if (pendingOffset_ > 0 && pending_.size() - pendingOffset_ < wantedFloats) {
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(pendingOffset_));
        pendingOffset_ = 0;
    }
    while (!ended_ && pending_.size() - pendingOffset_ < wantedFloats) {
        if (!input_.nextFrame(*frame_)) {
            ended_ = true;
            if (resampler_) {
                drainResampler();  // what it still holds (its filter delay) ends the sound
            }
            break;
        }
        if (!convertFrame(*frame_)) {
            ended_ = true;  // silence from here on; the failure waits in takeFailure()
        }
    }
    return pending_.size() - pendingOffset_ >= wantedFloats;
}

void AudioSourceReader::mixInto(float* mix, int frames, float gain) {
    refill(frames);
    const std::size_t available = pending_.size() - pendingOffset_;
    const std::size_t floats = std::min(available, static_cast<std::size_t>(frames) * kChannels);
    const float* source = pending_.data() + pendingOffset_;
    for (std::size_t index = 0; index < floats; ++index) {
        mix[index] += gain * source[index];
    }
    pendingOffset_ += floats;
}

}  // namespace editing
