#include "capture/pulse/sample_spec.h"

namespace capture::pulse {
namespace {

// WAVE speaker bits in their fixed order (front left = bit 0, front right = bit 1 ...).
std::uint32_t speakerBit(pa_channel_position_t position) {
    switch (position) {
        case PA_CHANNEL_POSITION_FRONT_LEFT:
            return 0x1;
        case PA_CHANNEL_POSITION_FRONT_RIGHT:
            return 0x2;
        case PA_CHANNEL_POSITION_MONO:
        case PA_CHANNEL_POSITION_FRONT_CENTER:
            return 0x4;
        case PA_CHANNEL_POSITION_LFE:
            return 0x8;
        case PA_CHANNEL_POSITION_REAR_LEFT:
            return 0x10;
        case PA_CHANNEL_POSITION_REAR_RIGHT:
            return 0x20;
        case PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER:
            return 0x40;
        case PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER:
            return 0x80;
        case PA_CHANNEL_POSITION_REAR_CENTER:
            return 0x100;
        case PA_CHANNEL_POSITION_SIDE_LEFT:
            return 0x200;
        case PA_CHANNEL_POSITION_SIDE_RIGHT:
            return 0x400;
        case PA_CHANNEL_POSITION_TOP_CENTER:
            return 0x800;
        case PA_CHANNEL_POSITION_TOP_FRONT_LEFT:
            return 0x1000;
        case PA_CHANNEL_POSITION_TOP_FRONT_CENTER:
            return 0x2000;
        case PA_CHANNEL_POSITION_TOP_FRONT_RIGHT:
            return 0x4000;
        case PA_CHANNEL_POSITION_TOP_REAR_LEFT:
            return 0x8000;
        case PA_CHANNEL_POSITION_TOP_REAR_CENTER:
            return 0x10000;
        case PA_CHANNEL_POSITION_TOP_REAR_RIGHT:
            return 0x20000;
        default:
            return 0;
    }
}

}  // namespace

pa_sample_spec recordingSpecFor(const pa_sample_spec& sourceSpec) {
    pa_sample_spec spec = sourceSpec;
    switch (sourceSpec.format) {
        case PA_SAMPLE_S16BE:
            spec.format = PA_SAMPLE_S16LE;
            break;
        case PA_SAMPLE_S24BE:
            spec.format = PA_SAMPLE_S24LE;
            break;
        case PA_SAMPLE_S24_32BE:
            spec.format = PA_SAMPLE_S24_32LE;
            break;
        case PA_SAMPLE_S32BE:
            spec.format = PA_SAMPLE_S32LE;
            break;
        case PA_SAMPLE_FLOAT32BE:
            spec.format = PA_SAMPLE_FLOAT32LE;
            break;
        default:
            break;
    }
    return spec;
}

std::optional<AudioFormat> audioFormatFor(const pa_sample_spec& spec, const pa_channel_map& map) {
    AudioFormat format;
    switch (spec.format) {
        case PA_SAMPLE_U8:
            format.encoding = SampleEncoding::UnsignedInt8;
            break;
        case PA_SAMPLE_ALAW:
            format.encoding = SampleEncoding::ALaw;
            break;
        case PA_SAMPLE_ULAW:
            format.encoding = SampleEncoding::MuLaw;
            break;
        case PA_SAMPLE_S16LE:
            format.encoding = SampleEncoding::SignedInt16;
            break;
        case PA_SAMPLE_S24LE:
            format.encoding = SampleEncoding::SignedInt24;
            break;
        case PA_SAMPLE_S24_32LE:
            format.encoding = SampleEncoding::SignedInt24In32;
            break;
        case PA_SAMPLE_S32LE:
            format.encoding = SampleEncoding::SignedInt32;
            break;
        case PA_SAMPLE_FLOAT32LE:
            format.encoding = SampleEncoding::Float32;
            break;
        default:
            return std::nullopt;
    }
    format.sampleRateHz = static_cast<int>(spec.rate);
    format.channelCount = spec.channels;
    std::uint32_t mask = 0;
    for (int i = 0; i < map.channels && i < spec.channels; ++i) {
        const std::uint32_t bit = speakerBit(map.map[i]);
        if (bit == 0 || (mask & bit) != 0) {
            mask = 0;  // a position WAV cannot name: leave the channels unnamed
            break;
        }
        mask |= bit;
    }
    // WAV names channels in ascending bit order; the source's order must match it.
    std::uint32_t previous = 0;
    for (int i = 0; mask != 0 && i < spec.channels; ++i) {
        const std::uint32_t bit = speakerBit(map.map[i]);
        if (bit <= previous) {
            mask = 0;
        }
        previous = bit;
    }
    format.channelMask = map.channels == spec.channels ? mask : 0;
    return format;
}

}  // namespace capture::pulse
