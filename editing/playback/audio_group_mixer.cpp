#include "editing/playback/audio_group_mixer.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace editing {

AudioGroupMixer::AudioGroupMixer(const GroupModel& group, int sampleRate, ErrorReporter reportError)
    : sampleRate_(sampleRate), reportError_(std::move(reportError)) {
    for (const TrackModel& track : group.tracks) {
        for (const SourceModel& source : track.sources) {
            Placement placement;
            placement.source = &source;
            placement.startSample = sampleOf(source.start);
            placement.stopSample = sampleOf(source.stop);
            if (placement.stopSample <= placement.startSample ||
                source.mediaStop <= source.mediaStart) {
                continue;
            }
            placement.gains = gainsOf(track, source);
            byStart_.push_back(std::move(placement));
        }
    }
    std::stable_sort(byStart_.begin(), byStart_.end(), [](const Placement& a, const Placement& b) {
        return a.startSample < b.startSample;
    });
}

AudioGroupMixer::~AudioGroupMixer() = default;

std::int64_t AudioGroupMixer::sampleOf(RefTime time) const {
    return static_cast<std::int64_t>(
        std::llround(static_cast<long double>(time) * sampleRate_ / kRefTimePerSecond));
}

std::vector<AudioGroupMixer::GainChange> AudioGroupMixer::gainsOf(const TrackModel& track,
                                                                  const SourceModel& source) const {
    // The level changes only where an effect begins or ends or one of its points lies.
    std::set<RefTime> changes{source.start};
    for (const EffectModel& effect : track.effects) {
        if (effect.kind != EffectKind::AudioMixer) {
            continue;
        }
        changes.insert(effect.start);
        changes.insert(effect.stop);
        for (const Property& property : effect.properties.properties()) {
            for (const PropertyPoint& point : property.points) {
                changes.insert(effect.start + point.time);
            }
        }
    }
    std::vector<GainChange> gains;
    for (RefTime time : changes) {
        if (time < source.start || time >= source.stop) {
            continue;
        }
        double gain = 1.0;
        for (const EffectModel& effect : track.effects) {
            if (effect.kind == EffectKind::AudioMixer && effect.start <= time &&
                time < effect.stop) {
                gain *= effect.properties.numberAt("Vol", time - effect.start).value_or(1.0);
            }
        }
        gains.push_back({sampleOf(time), static_cast<float>(gain)});
    }
    return gains;
}

void AudioGroupMixer::mixPlacement(Placement& placement, std::int64_t firstSample, int frames) {
    const SourceModel& source = *placement.source;
    if (!placement.reader) {
        const double rate = static_cast<double>(source.mediaStop - source.mediaStart) /
                            static_cast<double>(source.stop - source.start);
        placement.reader = std::make_unique<AudioSourceReader>(sampleRate_, rate);
        // First mixed part way into its span (a preview that starts there): the sound
        // starts at the matching media time.
        const std::int64_t skippedSamples =
            std::max<std::int64_t>(0, firstSample - placement.startSample);
        const RefTime openAt =
            source.mediaStart + static_cast<RefTime>(static_cast<long double>(skippedSamples) *
                                                     kRefTimePerSecond / sampleRate_ * rate);
        std::string description;
        const Result result = placement.reader->open(source.mediaName, openAt, description);
        if (failed(result) && result != kErrorNoDecodableStream) {
            reportError_({source.mediaName, result, description});
        }
    }
    std::int64_t from = std::max(firstSample, placement.startSample);
    const std::int64_t to = std::min(firstSample + frames, placement.stopSample);
    while (from < to) {
        while (placement.gainIndex + 1 < placement.gains.size() &&
               placement.gains[placement.gainIndex + 1].sample <= from) {
            ++placement.gainIndex;
        }
        std::int64_t until = to;
        if (placement.gainIndex + 1 < placement.gains.size()) {
            until = std::min(until, placement.gains[placement.gainIndex + 1].sample);
        }
        const float gain =
            placement.gains.empty() ? 1.0f : placement.gains[placement.gainIndex].gain;
        placement.reader->mixInto(sum_.data() + (from - firstSample) * kChannels,
                                  static_cast<int>(until - from), gain);
        from = until;
    }
    Result failure = kOk;
    std::string description;
    if (placement.reader->takeFailure(failure, description)) {
        reportError_({source.mediaName, failure, description});
    }
}

void AudioGroupMixer::mix(std::int64_t firstSample, int frames, std::int16_t* out) {
    sum_.assign(static_cast<std::size_t>(frames) * kChannels, 0.0f);
    const std::int64_t end = firstSample + frames;
    while (nextToActivate_ < byStart_.size() && byStart_[nextToActivate_].startSample < end) {
        Placement& placement = byStart_[nextToActivate_++];
        if (placement.stopSample > firstSample) {  // one over before the first block stays shut
            active_.push_back(std::move(placement));
        }
    }
    for (Placement& placement : active_) {
        mixPlacement(placement, firstSample, frames);
    }
    // A placement closes (and frees its decoder) as soon as its span has been mixed.
    std::erase_if(active_,
                  [end](const Placement& placement) { return placement.stopSample <= end; });
    for (std::size_t index = 0; index < sum_.size(); ++index) {
        const float scaled = std::nearbyint(sum_[index] * 32767.0f);
        out[index] = static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
    }
}

}  // namespace editing
