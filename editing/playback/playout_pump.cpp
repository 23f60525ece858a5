#include "editing/playback/playout_pump.h"

#include "editing/playback/audio_group_mixer.h"
#include "editing/playback/video_group_renderer.h"

#include <algorithm>
#include <cassert>

namespace editing {

PlayoutChunk makePlayoutChunk(const PlayoutStream& stream, int blockUnits) {
    PlayoutChunk chunk;
    if (stream.kind == MediaKind::Video) {
        assert(stream.group != nullptr);
        chunk.picture = std::make_unique<Picture>(stream.group->mediaType.width,
                                                  stream.group->mediaType.height);
    } else {
        chunk.samples.reserve(static_cast<std::size_t>(blockUnits) * AudioGroupMixer::kChannels);
    }
    return chunk;
}

PlayoutPump::PlayoutPump(const PlayoutStream& stream, SourceFailureReporter reporter)
    : stream_(stream) {
    if (stream.kind == MediaKind::Video) {
        assert(stream.group != nullptr || stream.unitCount == 0);
        if (stream.group != nullptr) {
            renderer_ = std::make_unique<VideoGroupRenderer>(*stream.group, kRenderTransitionSeed,
                                                             std::move(reporter));
        }
    } else if (stream.group != nullptr) {
        mixer_ = std::make_unique<AudioGroupMixer>(
            *stream.group, static_cast<int>(stream.unitsPerSecond), std::move(reporter));
    }
}

PlayoutPump::~PlayoutPump() = default;

PumpEnd PlayoutPump::run(std::int64_t firstUnit, int blockUnits, const TakeChunk& take,
                         const GiveChunk& give, const std::atomic<bool>& stop,
                         const SkipUnit& skip) {
    assert(blockUnits > 0);
    const int unitsPerChunk = stream_.kind == MediaKind::Video ? 1 : blockUnits;
    for (std::int64_t unit = std::max<std::int64_t>(firstUnit, 0); unit < stream_.unitCount;) {
        if (stop) {
            return PumpEnd::Interrupted;
        }
        if (skip && skip(unit)) {
            ++unit;
            continue;
        }
        std::optional<PlayoutChunk> chunk = take();
        if (!chunk) {
            return PumpEnd::Interrupted;
        }
        const int units =
            static_cast<int>(std::min<std::int64_t>(unitsPerChunk, stream_.unitCount - unit));
        make(unit, units, *chunk);
        if (!give(std::move(*chunk))) {
            return PumpEnd::Interrupted;
        }
        unit += units;
    }
    return PumpEnd::Finished;
}

void PlayoutPump::make(std::int64_t firstUnit, int units, PlayoutChunk& chunk) {
    chunk.firstUnit = firstUnit;
    chunk.unitCount = units;
    if (stream_.kind == MediaKind::Video) {
        assert(chunk.picture != nullptr && renderer_ != nullptr);
        renderer_->render(stream_.unitTime(firstUnit), *chunk.picture);
        return;
    }
    chunk.samples.resize(static_cast<std::size_t>(units) * AudioGroupMixer::kChannels);
    if (mixer_) {
        mixer_->mix(firstUnit, units, chunk.samples.data());
    } else {
        std::fill(chunk.samples.begin(), chunk.samples.end(), std::int16_t{0});
    }
}

}  // namespace editing
