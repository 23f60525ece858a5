#pragma once

#include "editing/compressors/output_container.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace editing {

enum class CompressorKind { Video, Audio };

// What the render applies to one encoder. A value of 0 (or an empty preset) leaves the
// encoder's own default in place; SettableSettings says which fields an encoder takes and
// within which bounds, so a settings dialog shows only those.
struct CompressorSettings {
    int quality = 0;           // on the encoder's QualityScale; lower is better on every scale
    int bitRateKbps = 0;       // target bit rate in kbit/s; used where quality is 0 or not offered
    int keyFrameInterval = 0;  // frames from one key frame to the next (video)
    std::string speedPreset;   // the encoder's speed preset ("veryfast" ...), where it has one

    bool operator==(const CompressorSettings&) const = default;
};

// The numbers one setting may take, both ends included. 0 is never inside a range: it stands
// for "the encoder's own default" in every field.
struct SettingRange {
    int least = 1;
    int most = 1;

    bool operator==(const SettingRange&) const = default;
};

// How an encoder reads CompressorSettings::quality.
enum class QualityScale {
    None,                // the encoder takes no quality number
    QuantiserScale,      // fixed quantiser (qscale): 1 is best
    ConstantRateFactor,  // x264's and libvpx's constant rate factor: lower is better
};

// What a user may set on one encoder, with the bounds the encoder honours. A setting the
// encoder does not take has no range (and no presets).
struct SettableSettings {
    QualityScale qualityScale = QualityScale::None;
    std::optional<SettingRange> quality;  // present exactly when qualityScale is not None
    std::optional<SettingRange> bitRateKbps;
    std::optional<SettingRange> keyFrameInterval;
    std::vector<std::string> speedPresets;  // fastest first; empty: no preset to choose

    bool takesAnything() const {
        return quality || bitRateKbps || keyFrameInterval || !speedPresets.empty();
    }
    bool operator==(const SettableSettings&) const = default;
};

// One encoder that the render can write into a container, as the user sees it.
struct Compressor {
    CompressorKind kind = CompressorKind::Video;
    std::string friendlyName;     // shown in the lists, searched by the default look-up
    std::string encoderName;      // the libavcodec encoder ("mpeg4", "adpcm_ms" ...)
    CompressorSettings settings;  // sensible defaults for this encoder, within `settable`
    SettableSettings settable;    // what the render applies of `settings`; the rest is ignored
};

// `settings` brought within what `settable` offers: fields the encoder does not take are
// cleared (0 / empty), numbers other than 0 are clamped into their ranges. A preset outside
// the list is kept (the encoder rejects it when it is not one of its own).
CompressorSettings clampedSettings(const SettableSettings& settable, CompressorSettings settings);

// The video and audio compressors of one container, each in the container's fixed order.
struct CompressorLists {
    std::vector<Compressor> video;
    std::vector<Compressor> audio;
};

// The video and audio compressors that are usable on this machine, per container, each list in
// a fixed order (see docs/compressors.md): a candidate is listed only when its encoder exists
// and opens with a small test format. Positions are 0-based and stable for a given machine, so
// the AVI choice is remembered by position; a stored position that no longer exists reads as
// "none" here and the caller falls back to the default. Every member without a container
// speaks of AVI.
//
// Threading: discover() may run on any thread; a registry is immutable afterwards and may be
// read from several threads.
class CompressorRegistry {
  public:
    // Probes every candidate encoder once (tens of milliseconds). The probe leaves FFmpeg's
    // global log level alone: each probe encoder's own informational lines (x264's CPU and
    // profile report, for one) are moved below the default level through that encoder's
    // log_level_offset, so a program that keeps the default level prints nothing but the
    // warnings and errors of the probe. The render's encoders log as FFmpeg's level decides.
    static CompressorRegistry discover();
    // A registry holding exactly the given AVI compressors and none for the other containers
    // (for tests and tools).
    CompressorRegistry(std::vector<Compressor> video, std::vector<Compressor> audio);
    // A registry holding exactly the given lists, in the order of kOutputContainers; the
    // containers past the last one given list nothing (for tests and tools).
    template <std::size_t Count>
    requires(Count <= kOutputContainers.size()) explicit CompressorRegistry(
        std::array<CompressorLists, Count> lists) {
        std::move(lists.begin(), lists.end(), lists_.begin());
    }

    const std::vector<Compressor>& videoCompressors(
        OutputContainer container = OutputContainer::Avi) const {
        return listsOf(container).video;
    }
    const std::vector<Compressor>& audioCompressors(
        OutputContainer container = OutputContainer::Avi) const {
        return listsOf(container).audio;
    }
    std::vector<std::string> videoNames(OutputContainer container = OutputContainer::Avi) const;
    std::vector<std::string> audioNames(OutputContainer container = OutputContainer::Avi) const;

    // The compressor at `position`; nothing for a negative position or one past the list.
    std::optional<Compressor> videoAt(int position) const;
    std::optional<Compressor> audioAt(int position) const;
    std::optional<Compressor> videoAt(OutputContainer container, int position) const;
    std::optional<Compressor> audioAt(OutputContainer container, int position) const;

    // Position of the first compressor whose lower-cased friendly name contains
    // `lowerCaseFragment`, or nothing.
    std::optional<int> findVideo(std::string_view lowerCaseFragment) const;
    std::optional<int> findAudio(std::string_view lowerCaseFragment) const;

    // Position of the compressor with libavcodec encoder `encoderName` in the container's list.
    std::optional<int> findVideoEncoder(OutputContainer container,
                                        std::string_view encoderName) const;
    std::optional<int> findAudioEncoder(OutputContainer container,
                                        std::string_view encoderName) const;

    // The defaults, as the container's row finds them: for AVI the first video compressor named
    // with "divx" and the first audio compressor named with "microsoft adpcm"; for MP4 and
    // Matroska H.264 (x264) and AAC.
    std::optional<int> defaultVideoPosition(OutputContainer container = OutputContainer::Avi) const;
    std::optional<int> defaultAudioPosition(OutputContainer container = OutputContainer::Avi) const;

  private:
    const CompressorLists& listsOf(OutputContainer container) const {
        return lists_[static_cast<std::size_t>(container)];
    }

    std::array<CompressorLists, kOutputContainers.size()> lists_;
};

// Every candidate of the container in registry order, whether or not it opens here (for
// documentation and tests).
std::vector<Compressor> candidateCompressors(CompressorKind kind,
                                             OutputContainer container = OutputContainer::Avi);

// True when the encoder exists in this libavcodec and opens with a small test format.
bool encoderOpens(const Compressor& compressor);

}  // namespace editing
