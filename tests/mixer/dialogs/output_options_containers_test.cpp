#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/output/container_compressors.h"
#include "tests/mixer/dialogs/output_options_fixture.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include <array>

namespace mixer {
namespace {

using namespace output_options;

// The keys other containers' choices are stored under, as users' profiles hold them.
constexpr TextSetting kMp4VideoEncoder{"Mp4Output", "VideoEncoder", ""};
constexpr TextSetting kMp4AudioEncoder{"Mp4Output", "AudioEncoder", ""};
constexpr TextSetting kMatroskaVideoEncoder{"MatroskaOutput", "VideoEncoder", ""};

// The lists follow the container of the output name as it is typed; each container keeps its
// own choice while the user switches, OK stores AVI's by position (as always) and the others'
// by encoder name, and the encoders' "Settings" reach x264 and AAC.
TEST_F(OutputOptionsDialogTest, EachContainerShowsAndKeepsItsOwnCompressors) {
    Compressor x264 = named(CompressorKind::Video, "H.264 / AVC (x264)", "libx264", true);
    Compressor aac = named(CompressorKind::Audio, "AAC", "aac");
    aac.settings.bitRateKbps = 192;
    aac.settable.bitRateKbps = editing::SettingRange{32, 512};
    const Compressor mpeg4 = registry.videoCompressors()[1];
    const Compressor mp3 = named(CompressorKind::Audio, "MPEG Layer-3 (MP3)", "libmp3lame");
    registry = CompressorRegistry(std::array<editing::CompressorLists, 3>{
        editing::CompressorLists{registry.videoCompressors(), registry.audioCompressors()},
        editing::CompressorLists{{x264, mpeg4}, {aac, mp3}},
        editing::CompressorLists{{x264, mpeg4}, {aac}}});
    store.write(settings::kVideoCompressorNumber, 1);  // DivX, as stored before MP4 existed
    store.write(kMp4VideoEncoder, QStringLiteral("mpeg4"));
    const auto names = [](QComboBox& box) {
        QStringList items;
        for (int index = 0; index < box.count(); ++index) {
            items << box.itemText(index);
        }
        return items;
    };
    auto dialog = open();
    QComboBox& video = list(*dialog, kVideoCompressorList);
    QComboBox& audio = list(*dialog, kAudioCompressorList);
    auto& audioSettings = dialog->controls().get<QPushButton>(kAudioCompressorSettingsButton);
    EXPECT_EQ(video.count(), 4);  // AVI: "Full frames (uncompressed)" and the three
    EXPECT_EQ(video.currentText(), QStringLiteral("DivX-compatible MPEG-4 Part 2"));
    EXPECT_TRUE(audioSettings.isHidden());

    type(*dialog, kOutputNameBox, QStringLiteral("/data/out.mp4"));
    EXPECT_EQ(names(video), (QStringList{"H.264 / AVC (x264)", "DivX-compatible MPEG-4 Part 2"}));
    EXPECT_EQ(names(audio), (QStringList{"AAC", "MPEG Layer-3 (MP3)"}));
    EXPECT_EQ(video.currentIndex(), 1);  // the stored "mpeg4"
    EXPECT_EQ(audio.currentIndex(), 0);  // nothing stored: AAC
    EXPECT_FALSE(audioSettings.isHidden());
    choose(video, 0);

    type(*dialog, kOutputNameBox, QStringLiteral("/data/out.avi"));
    EXPECT_EQ(video.count(), 4);
    EXPECT_EQ(video.currentIndex(), 2);
    choose(video, 3);  // Huffyuv
    type(*dialog, kOutputNameBox, QStringLiteral("/data/out.MKV"));
    EXPECT_EQ(names(audio), QStringList{"AAC"});
    EXPECT_EQ(video.currentIndex(), 0);
    type(*dialog, kOutputNameBox, QStringLiteral("/data/out.mp4"));
    EXPECT_EQ(video.currentIndex(), 0);  // the H.264 chosen before

    press(*dialog, kCompressorSettingsButton);
    press(*dialog, kAudioCompressorSettingsButton);
    ASSERT_EQ(editorCalls.size(), 2u);
    EXPECT_EQ(editorCalls[0].encoderName, "libx264");
    EXPECT_EQ(editorCalls[1].encoderName, "aac");
    EXPECT_EQ(editorCalls[1].shown.bitRateKbps, 192);

    press(*dialog, kOkButton);
    ASSERT_TRUE(dialog->accepted());
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), 2);  // Huffyuv's position
    EXPECT_EQ(store.read(kMp4VideoEncoder), QStringLiteral("libx264"));
    EXPECT_EQ(store.read(kMp4AudioEncoder), QStringLiteral("aac"));
    EXPECT_EQ(store.read(kMatroskaVideoEncoder), QStringLiteral("libx264"));
    const AcceptedOutputOptions& accepted = *dialog->accepted();
    ASSERT_TRUE(accepted.video.compressor && accepted.audio.compressor);
    EXPECT_EQ(accepted.video.compressor->encoderName, "libx264");
    EXPECT_EQ(accepted.audio.compressor->encoderName, "aac");
    EXPECT_TRUE(accepted.settings.UseVideoCompressor);

    // The main window's binding at the next start reads the same choices.
    const BoundCompressors bound =
        bindStoredCompressors(registry, store, editing::OutputContainer::Avi);
    ASSERT_TRUE(bound.video.compressor);
    EXPECT_EQ(bound.video.compressor->encoderName, "huffyuv");
}

}  // namespace
}  // namespace mixer
