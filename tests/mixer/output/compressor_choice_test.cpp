#include "mixer/output/compressor_choice.h"
#include "mixer/output/encoder_settings_memory.h"

#include <gtest/gtest.h>

namespace mixer {
namespace {

using editing::Compressor;
using editing::CompressorKind;
using editing::CompressorRegistry;

Compressor video(const char* name, const char* encoder) {
    Compressor compressor;
    compressor.kind = CompressorKind::Video;
    compressor.friendlyName = name;
    compressor.encoderName = encoder;
    compressor.settings.quality = 3;
    compressor.settable.qualityScale = editing::QualityScale::QuantiserScale;
    compressor.settable.quality = editing::SettingRange{1, 31};
    return compressor;
}

Compressor audio(const char* name, const char* encoder) {
    Compressor compressor;
    compressor.kind = CompressorKind::Audio;
    compressor.friendlyName = name;
    compressor.encoderName = encoder;
    return compressor;
}

CompressorRegistry registryWithDefaults() {
    return CompressorRegistry(
        {video("Motion JPEG", "mjpeg"), video("My DIVX clone", "mpeg4")},
        {audio("IMA ADPCM", "adpcm_ima_wav"), audio("Microsoft ADPCM", "adpcm_ms")});
}

CompressorRegistry registryWithoutDefaults() {
    return CompressorRegistry({video("Motion JPEG", "mjpeg")}, {audio("IMA ADPCM", "adpcm_ima")});
}

TEST(CompressorListIndex, FollowsTheStoredNumber) {
    const struct {
        int stored;
        std::optional<int> defaultPosition;
        int count;
        int expected;
    } cases[] = {
        {-2, 1, 2, 2},             // never chosen: the default's entry
        {-2, std::nullopt, 2, 0},  // no default: "Full frames (uncompressed)"
        {-1, 1, 2, 0},             // none
        {0, 1, 2, 1},
        {1, 1, 2, 2},                  // positions
        {2, 1, 2, kNoListSelection},   // a position that no longer exists
        {-7, 1, 2, kNoListSelection},  // nonsense
    };
    for (const auto& example : cases) {
        EXPECT_EQ(
            compressorListIndexForStored(example.stored, example.defaultPosition, example.count),
            example.expected)
            << "stored " << example.stored;
    }
    EXPECT_EQ(defaultCompressorListIndex(3), 4);
    EXPECT_EQ(defaultCompressorListIndex(std::nullopt), 0);
}

TEST(CompressorListIndex, BecomesTheStoredNumber) {
    EXPECT_EQ(storedNumberForListIndex(0), -1);
    EXPECT_EQ(storedNumberForListIndex(2), 1);
    EXPECT_EQ(storedNumberForListIndex(kNoListSelection), kCompressorNeverChosen);
}

TEST(CompressorBinding, NeverSetsTheFlagWithoutACompressor) {
    const CompressorRegistry withDefaults = registryWithDefaults();
    const CompressorRegistry withoutDefaults = registryWithoutDefaults();
    const struct {
        const CompressorRegistry* registry;
        int stored;
        const char* expectedVideo;  // nullptr: no compressor, flag off
        const char* expectedAudio;
    } cases[] = {
        {&withDefaults, -2, "mpeg4", "adpcm_ms"},
        {&withDefaults, -1, nullptr, nullptr},
        {&withDefaults, 0, "mjpeg", "adpcm_ima_wav"},
        {&withDefaults, 5, "mpeg4", "adpcm_ms"},  // gone: the default
        {&withoutDefaults, -2, nullptr, nullptr},
        {&withoutDefaults, 5, nullptr, nullptr},
        {&withoutDefaults, 0, "mjpeg", "adpcm_ima"},
    };
    for (const auto& example : cases) {
        const CompressorBinding videoBinding =
            bindVideoCompressor(*example.registry, example.stored);
        const CompressorBinding audioBinding =
            bindAudioCompressor(*example.registry, example.stored);
        EXPECT_EQ(videoBinding.use, videoBinding.compressor.has_value());
        EXPECT_EQ(audioBinding.use, audioBinding.compressor.has_value());
        if (example.expectedVideo == nullptr) {
            EXPECT_FALSE(videoBinding.use) << "stored " << example.stored;
        } else {
            ASSERT_TRUE(videoBinding.use) << "stored " << example.stored;
            EXPECT_EQ(videoBinding.compressor->encoderName, example.expectedVideo);
        }
        if (example.expectedAudio == nullptr) {
            EXPECT_FALSE(audioBinding.use) << "stored " << example.stored;
        } else {
            ASSERT_TRUE(audioBinding.use) << "stored " << example.stored;
            EXPECT_EQ(audioBinding.compressor->encoderName, example.expectedAudio);
        }
    }
}

TEST(EncoderSettingsMemory, AppliesRememberedSettingsToTheirEncoderOnly) {
    EncoderSettingsMemory memory;
    const Compressor jpeg = video("Motion JPEG", "mjpeg");
    const Compressor mpeg4 = video("DivX", "mpeg4");
    EXPECT_EQ(memory.settingsFor(jpeg), jpeg.settings);

    editing::CompressorSettings chosen;
    chosen.quality = 9;
    chosen.keyFrameInterval = 12;
    memory.remember(jpeg, chosen);
    EXPECT_TRUE(memory.holds("mjpeg"));
    EXPECT_EQ(memory.applyTo(jpeg).settings, chosen);
    EXPECT_EQ(memory.applyTo(mpeg4).settings, mpeg4.settings);
    EXPECT_FALSE(memory.applyTo(std::optional<Compressor>{}).has_value());
    EXPECT_EQ(memory.applyTo(std::optional<Compressor>{jpeg})->settings.quality, 9);
}

}  // namespace
}  // namespace mixer
