#pragma once

// Private to capture/: the WAV format that stores a source's own samples.

#include <pulse/pulseaudio.h>

#include <optional>

#include "capture/audio_format.h"

namespace capture::pulse {

// The stream spec to record a source with: its own format, rate and channel count; a
// big-endian format is asked for in little-endian byte order (same samples), since WAV
// stores little-endian only.
pa_sample_spec recordingSpecFor(const pa_sample_spec& sourceSpec);

// The WAV description of a stream spec; nullopt for formats WAV cannot hold.
std::optional<AudioFormat> audioFormatFor(const pa_sample_spec& spec, const pa_channel_map& map);

}  // namespace capture::pulse
