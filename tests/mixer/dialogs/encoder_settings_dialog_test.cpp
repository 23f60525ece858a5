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

Compressor x264() {
    Compressor compressor;
    compressor.friendlyName = "H.264 / AVC (x264)";
    compressor.encoderName = "libx264";
    compressor.settings = {23, 0, 250, "veryfast"};
    compressor.hasQuality = compressor.hasBitRate = true;
    compressor.hasKeyFrameInterval = compressor.hasSpeedPreset = true;
    return compressor;
}

Compressor motionJpeg() {
    Compressor compressor;
    compressor.friendlyName = "Motion JPEG";
    compressor.encoderName = "mjpeg";
    compressor.settings = {3, 0, 0, {}};
    compressor.hasQuality = compressor.hasBitRate = true;
    return compressor;
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

TEST(EncoderSettingsDialog, UnknownPresetStaysChoosable) {
    EncoderSettingsDialog dialog(x264(), {23, 0, 250, "placebo"});
    EXPECT_EQ(dialog.chosenSettings().speedPreset, "placebo");
}

TEST(EncoderSettingsFields, ClampsToWhatTheEncoderOffers) {
    EXPECT_EQ(clampedEncoderSettings(motionJpeg(), {99, -5, 40, "slow"}),
              (CompressorSettings{31, 0, 0, {}}));
    EXPECT_EQ(clampedEncoderSettings(x264(), {0, 900000, 99999, "fast"}),
              (CompressorSettings{0, kLargestBitRateKbps, kLargestKeyFrameInterval, "fast"}));
    Compressor lossless;
    lossless.encoderName = "huffyuv";
    EXPECT_FALSE(hasEncoderSettings(lossless));
    EXPECT_TRUE(hasEncoderSettings(motionJpeg()));
    EXPECT_TRUE(speedPresetsFor(motionJpeg()).isEmpty());
    EXPECT_EQ(speedPresetsFor(x264()).first(), QStringLiteral("ultrafast"));
}

}  // namespace
}  // namespace mixer
