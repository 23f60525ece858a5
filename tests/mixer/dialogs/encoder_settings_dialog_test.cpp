#include "mixer/dialogs/encoder_settings_dialog.h"
#include "mixer/dialogs/encoder_settings_fields.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

namespace mixer {
namespace {

using namespace encoder_settings;
using editing::Compressor;
using editing::CompressorSettings;

// The registry's own description of an encoder, whether or not it opens here.
Compressor candidate(const std::string& encoderName) {
    for (const Compressor& compressor :
         editing::candidateCompressors(editing::CompressorKind::Video)) {
        if (compressor.encoderName == encoderName) {
            return compressor;
        }
    }
    ADD_FAILURE() << "no candidate " << encoderName;
    return {};
}

Compressor x264() {
    return candidate("libx264");
}

Compressor motionJpeg() {
    return candidate("mjpeg");
}

TEST(EncoderSettingsDialog, ShowsOnlyWhatTheEncoderTakes) {
    EncoderSettingsDialog full(x264(), x264().settings);
    for (int id : {kQualityBox, kBitRateBox, kKeyFrameIntervalBox, kSpeedPresetList}) {
        EXPECT_TRUE(full.controls().contains(id)) << id;
    }
    EXPECT_EQ(full.controls().get<QSpinBox>(kQualityBox).maximum(), 51);

    EncoderSettingsDialog jpeg(motionJpeg(), motionJpeg().settings);
    EXPECT_TRUE(jpeg.controls().contains(kQualityBox));
    EXPECT_EQ(jpeg.controls().get<QSpinBox>(kQualityBox).maximum(), 31);
    EXPECT_FALSE(jpeg.controls().contains(kKeyFrameIntervalBox));
    EXPECT_FALSE(jpeg.controls().contains(kSpeedPresetList));
    EXPECT_GT(full.height(), jpeg.height());

    // The newer containers' audio encoders take a bit rate, and only that.
    for (const Compressor& audio : editing::candidateCompressors(
             editing::CompressorKind::Audio, editing::OutputContainer::Matroska)) {
        if (audio.encoderName != "aac" && audio.encoderName != "libopus") {
            continue;
        }
        SCOPED_TRACE(audio.encoderName);
        EncoderSettingsDialog dialog(audio, audio.settings);
        EXPECT_FALSE(dialog.controls().contains(kQualityBox));
        EXPECT_FALSE(dialog.controls().contains(kKeyFrameIntervalBox));
        ASSERT_TRUE(dialog.controls().contains(kBitRateBox));
        EXPECT_EQ(dialog.controls().get<QSpinBox>(kBitRateBox).maximum(),
                  audio.settable.bitRateKbps->most);
        dialog.controls().get<QSpinBox>(kBitRateBox).setValue(96);
        EXPECT_EQ(dialog.chosenSettings().bitRateKbps, 96);
    }
}

TEST(EncoderSettingsDialog, ReturnsTheChosenValuesAndResetsToDefaults) {
    EncoderSettingsDialog dialog(x264(), {30, 4000, 50, "slow"});
    EXPECT_EQ(dialog.chosenSettings(), (CompressorSettings{30, 4000, 50, "slow"}));

    dialog.controls().get<QSpinBox>(kQualityBox).setValue(0);  // "Encoder default"
    dialog.controls().get<QComboBox>(kSpeedPresetList).setCurrentIndex(0);
    EXPECT_EQ(dialog.chosenSettings(), (CompressorSettings{0, 4000, 50, {}}));
    EXPECT_EQ(dialog.controls().get<QSpinBox>(kQualityBox).text(),
              QStringLiteral("Encoder default"));

    dialog.controls().get<QPushButton>(kDefaultsButton).click();
    EXPECT_EQ(dialog.chosenSettings(), x264().settings);
}

TEST(EncoderSettingsDialog, RangesComeFromTheRegistryAndChosenValuesStayInside) {
    // Hand-made description: the dialog follows it, not the encoder's name.
    Compressor custom = x264();
    custom.settable.quality = editing::SettingRange{10, 40};
    custom.settable.keyFrameInterval = editing::SettingRange{5, 90};
    custom.settable.speedPresets = {"quick", "careful"};
    EncoderSettingsDialog dialog(custom, {99, 0, 1, "careful"});
    EXPECT_EQ(dialog.controls().get<QSpinBox>(kQualityBox).maximum(), 40);
    EXPECT_EQ(dialog.controls().get<QSpinBox>(kKeyFrameIntervalBox).maximum(), 90);
    EXPECT_EQ(dialog.controls().get<QComboBox>(kSpeedPresetList).count(), 3);
    EXPECT_EQ(dialog.chosenSettings(), (CompressorSettings{40, 0, 5, "careful"}));
    dialog.controls().get<QSpinBox>(kQualityBox).setValue(3);  // below the least: clamped up
    EXPECT_EQ(dialog.chosenSettings().quality, 10);

    // The MPEG encoders cut key-frame distances above 600; the dialog does not offer them.
    EncoderSettingsDialog mpeg4(candidate("mpeg4"), candidate("mpeg4").settings);
    EXPECT_EQ(mpeg4.controls().get<QSpinBox>(kKeyFrameIntervalBox).maximum(), 600);
    EXPECT_EQ(mpeg4.controls().get<QSpinBox>(kQualityBox).maximum(), 31);
}

TEST(EncoderSettingsDialog, UnknownPresetStaysChoosable) {
    EncoderSettingsDialog dialog(x264(), {23, 0, 250, "placebo"});
    EXPECT_EQ(dialog.chosenSettings().speedPreset, "placebo");
}

TEST(EncoderSettingsFields, ClampsToWhatTheEncoderOffers) {
    EXPECT_EQ(clampedEncoderSettings(motionJpeg(), {99, -5, 40, "slow"}),
              (CompressorSettings{31, 0, 0, {}}));
    EXPECT_EQ(clampedEncoderSettings(x264(), {0, 900000, 99999, "fast"}),
              (CompressorSettings{0, 200'000, 3'000, "fast"}));
    EXPECT_FALSE(hasEncoderSettings(candidate("huffyuv")));
    EXPECT_TRUE(hasEncoderSettings(candidate("zmbv")));
    EXPECT_TRUE(hasEncoderSettings(motionJpeg()));
    EXPECT_TRUE(speedPresetsFor(motionJpeg()).isEmpty());
    EXPECT_EQ(speedPresetsFor(x264()).first(), QStringLiteral("ultrafast"));
}

}  // namespace
}  // namespace mixer
