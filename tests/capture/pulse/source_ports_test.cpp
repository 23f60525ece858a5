// How the server's description of a source becomes a capture device with input lines, on
// source data made here (the test daemon's virtual sources have no ports).
#include <gtest/gtest.h>

#include <array>

#include "capture/pulse/pulse_connection.h"
#include "capture/pulse/sample_spec.h"

namespace {

struct FakeSource {
    std::array<pa_source_port_info, 4> ports{};
    std::array<pa_source_port_info*, 4> portPointers{};
    pa_source_info info{};

    explicit FakeSource(double level) {
        const char* names[] = {"analog-input-cd", "analog-input-linein", "analog-input-mic",
                               "analog-input-stereo-mix"};
        const char* descriptions[] = {"CD Audio", "Line In", "Microphone", "Stereo Mix"};
        for (std::size_t i = 0; i < ports.size(); ++i) {
            ports[i].name = names[i];
            ports[i].description = descriptions[i];
            portPointers[i] = &ports[i];
        }
        info.name = "alsa_input.card";
        info.description = "Built-in Audio";
        info.index = 7;
        info.monitor_of_sink = PA_INVALID_INDEX;
        info.sample_spec = {PA_SAMPLE_S16BE, 48000, 2};
        pa_channel_map_init_stereo(&info.channel_map);
        pa_cvolume_set(&info.volume, 2,
                       static_cast<pa_volume_t>(level * static_cast<double>(PA_VOLUME_NORM)));
        info.n_ports = static_cast<std::uint32_t>(ports.size());
        info.ports = portPointers.data();
        info.active_port = &ports[2];
    }
};

TEST(SourcePorts, PortsBecomeLinesInServerOrderWithTheActiveOneMarked) {
    FakeSource source(0.7777);
    const auto details = capture::pulse::detailsFrom(source.info);
    const auto& device = details.device;
    EXPECT_EQ(device.name, "alsa_input.card");
    EXPECT_EQ(device.description, "Built-in Audio");
    EXPECT_TRUE(device.hasPorts);
    ASSERT_EQ(device.lines.size(), 4u);
    EXPECT_EQ(device.lines[0].description, "CD Audio");
    EXPECT_EQ(device.lines[2].name, "analog-input-mic");
    EXPECT_EQ(device.lines[3].description, "Stereo Mix");
    EXPECT_EQ(device.activeLineIndex, 2);
    EXPECT_NEAR(device.level, 0.7777, 1e-4);
    EXPECT_FALSE(details.isMonitor);
}

TEST(SourcePorts, SourceWithoutPortsIsItsOwnLineAndMonitorsAreMarked) {
    FakeSource source(1.5);  // louder than full scale: shown as full scale
    source.info.n_ports = 0;
    source.info.ports = nullptr;
    source.info.active_port = nullptr;
    source.info.monitor_of_sink = 3;
    const auto details = capture::pulse::detailsFrom(source.info);
    ASSERT_EQ(details.device.lines.size(), 1u);
    EXPECT_EQ(details.device.lines[0].description, "Built-in Audio");
    EXPECT_TRUE(details.device.lines[0].name.empty());
    EXPECT_EQ(details.device.level, 1.0);
    EXPECT_TRUE(details.isMonitor);
}

TEST(SourceFormats, RecordingKeepsTheSourcesSamplesInWavByteOrder) {
    FakeSource source(1.0);
    const pa_sample_spec spec = capture::pulse::recordingSpecFor(source.info.sample_spec);
    EXPECT_EQ(spec.format, PA_SAMPLE_S16LE);  // same samples, little-endian
    EXPECT_EQ(spec.rate, 48000u);
    EXPECT_EQ(spec.channels, 2);
    const auto format = capture::pulse::audioFormatFor(spec, source.info.channel_map);
    ASSERT_TRUE(format);
    EXPECT_EQ(format->encoding, capture::SampleEncoding::SignedInt16);
    EXPECT_EQ(format->channelMask, 0x3u);

    pa_channel_map surround;
    pa_channel_map_init_auto(&surround, 6, PA_CHANNEL_MAP_WAVEEX);
    const auto six = capture::pulse::audioFormatFor({PA_SAMPLE_S24_32LE, 96000, 6}, surround);
    ASSERT_TRUE(six);
    EXPECT_EQ(six->encoding, capture::SampleEncoding::SignedInt24In32);
    EXPECT_EQ(six->validBitsPerSample(), 24);
    EXPECT_EQ(six->containerBytesPerSample(), 4);
    EXPECT_EQ(six->channelMask, 0x3Fu);

    pa_channel_map auxiliary;
    pa_channel_map_init_auto(&auxiliary, 2, PA_CHANNEL_MAP_AUX);
    const auto unnamed = capture::pulse::audioFormatFor({PA_SAMPLE_FLOAT32LE, 44100, 2}, auxiliary);
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(unnamed->channelMask, 0u);  // positions WAV cannot name stay unnamed
}

}  // namespace
