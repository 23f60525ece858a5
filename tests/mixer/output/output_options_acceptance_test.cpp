#include "mixer/output/output_options_acceptance.h"
#include "mixer/project/settings_store.h"

#include <gtest/gtest.h>

#include <QUuid>

#include <vector>

namespace mixer {
namespace {

using editing::Compressor;
using editing::CompressorKind;
using editing::CompressorRegistry;

// Records every write in order as "Section/Key=value".
class RecordingProfile : public ProfileWriter {
  public:
    void writeInteger(const IntegerSetting& setting, int value) override {
        writes.push_back(
            QStringLiteral("%1/%2=%3")
                .arg(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key))
                .arg(value));
    }
    void writeText(const TextSetting& setting, const QString& value) override {
        writes.push_back(
            QStringLiteral("%1/%2=%3")
                .arg(QString::fromUtf8(setting.section), QString::fromUtf8(setting.key), value));
    }
    std::vector<QString> writes;
};

Compressor named(CompressorKind kind, const char* name, const char* encoder) {
    Compressor compressor;
    compressor.kind = kind;
    compressor.friendlyName = name;
    compressor.encoderName = encoder;
    return compressor;
}

CompressorRegistry twoOfEach() {
    return CompressorRegistry({named(CompressorKind::Video, "DivX-compatible MPEG-4", "mpeg4"),
                               named(CompressorKind::Video, "Motion JPEG", "mjpeg")},
                              {named(CompressorKind::Audio, "Microsoft ADPCM", "adpcm_ms"),
                               named(CompressorKind::Audio, "MPEG Layer-2", "mp2")});
}

OutputOptionsEntries typicalEntries() {
    OutputOptionsEntries entries;
    entries.outputName = QStringLiteral("/home/ana/out.avi");
    entries.widthText = QStringLiteral("352");
    entries.heightText = QStringLiteral("240");
    entries.frameRateSelection = 3;
    entries.frameRateText = QStringLiteral("29.970000");
    entries.resizeModeSelection = 0;
    entries.videoCompressorSelection = 2;
    entries.audioCompressorSelection = 1;
    return entries;
}

TEST(OutputOptionsOk, WritesEveryValueInOrder) {
    RecordingProfile profile;
    const OutputOptionsVerdict verdict =
        acceptOutputOptions(typicalEntries(), OutputSettings{}, twoOfEach(), profile);
    ASSERT_TRUE(verdict.accepted.has_value()) << verdict.refusal.toStdString();
    const std::vector<QString> expected{
        "Settings/OutputFrameRateIndex=3",
        "Settings/OutputFrameRate=29.970000",
        "Settings/OutputName=/home/ana/out.avi",
        "Settings/OutputWidth=352",
        "Settings/OutputHigh=240",
        "DexVideoCompress/CompressorNumber=1",
        "DexAudioCompress/CompressorNumber=0",
        // This registry lists nothing for MP4, Matroska and WebM: no names to remember.
        "Mp4Output/VideoEncoder=",
        "Mp4Output/AudioEncoder=",
        "MatroskaOutput/VideoEncoder=",
        "MatroskaOutput/AudioEncoder=",
        "WebmOutput/VideoEncoder=",
        "WebmOutput/AudioEncoder=",
        "Settings/OutputSizeFromFirstClip=0",
    };
    EXPECT_EQ(profile.writes, expected);

    const AcceptedOutputOptions& accepted = *verdict.accepted;
    EXPECT_EQ(accepted.settings.OutputName, "/home/ana/out.avi");
    EXPECT_DOUBLE_EQ(accepted.settings.OutputFrameRate, 29.97);
    EXPECT_EQ(accepted.settings.OutputFrameRateIndex, 3);
    EXPECT_EQ(accepted.settings.ResizeMode, 2);
    ASSERT_TRUE(accepted.video.use && accepted.video.compressor);
    EXPECT_EQ(accepted.video.compressor->encoderName, "mjpeg");
    ASSERT_TRUE(accepted.audio.use && accepted.audio.compressor);
    EXPECT_EQ(accepted.audio.compressor->encoderName, "adpcm_ms");
    EXPECT_TRUE(accepted.settings.UseVideoCompressor);
    EXPECT_TRUE(accepted.settings.UseAudioCompressor);
}

TEST(OutputOptionsOk, FrameRateBelowOneThousandthIsRefusedBeforeAnyWrite) {
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {
        {"0.001", true}, {"12.5", true}, {"0.0009", false}, {"abc", false},
        {"", false},     {"-5", false},  {"0", false},      {"inf", false},
    };
    for (const auto& example : cases) {
        OutputOptionsEntries entries = typicalEntries();
        entries.frameRateSelection = 5;
        entries.frameRateText = QString::fromUtf8(example.typed);
        RecordingProfile profile;
        const OutputOptionsVerdict verdict =
            acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
        EXPECT_EQ(verdict.accepted.has_value(), example.accepted) << example.typed;
        if (example.accepted) {
            EXPECT_DOUBLE_EQ(verdict.accepted->settings.OutputFrameRate,
                             QString::fromUtf8(example.typed).toDouble());
            EXPECT_EQ(verdict.accepted->settings.OutputFrameRateIndex, 5);
        } else {
            EXPECT_EQ(verdict.refusal, QStringLiteral("The frame rate is too small!"));
            EXPECT_TRUE(profile.writes.empty()) << example.typed;
        }
    }
}

TEST(OutputOptionsOk, CustomRateIsStoredWithSixDecimals) {
    OutputOptionsEntries entries = typicalEntries();
    entries.frameRateSelection = 5;
    entries.frameRateText = QStringLiteral("0.001");
    RecordingProfile profile;
    acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    ASSERT_GE(profile.writes.size(), 2u);
    EXPECT_EQ(profile.writes[0], QStringLiteral("Settings/OutputFrameRateIndex=5"));
    EXPECT_EQ(profile.writes[1], QStringLiteral("Settings/OutputFrameRate=0.001000"));
}

TEST(OutputOptionsOk, NoFrameRateSelectionStoresTheRawIndexButUsesTheFirstRate) {
    OutputOptionsEntries entries = typicalEntries();
    entries.frameRateSelection = -1;
    RecordingProfile profile;
    const OutputOptionsVerdict verdict =
        acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    ASSERT_TRUE(verdict.accepted);
    EXPECT_EQ(profile.writes[0], QStringLiteral("Settings/OutputFrameRateIndex=-1"));
    EXPECT_EQ(profile.writes[1], QStringLiteral("Settings/OutputFrameRate=23.976000"));
    EXPECT_EQ(verdict.accepted->settings.OutputFrameRateIndex, 0);
    EXPECT_DOUBLE_EQ(verdict.accepted->settings.OutputFrameRate, 23.976);
}

TEST(OutputOptionsOk, SizesBecomeMultiplesOfEightOfAtLeastSixteen) {
    OutputOptionsEntries entries = typicalEntries();
    entries.widthText = QStringLiteral("1001");
    entries.heightText = QStringLiteral("abc");
    RecordingProfile profile;
    const OutputOptionsVerdict verdict =
        acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    ASSERT_TRUE(verdict.accepted);
    EXPECT_EQ(verdict.accepted->settings.OutputWidth, 1000);
    EXPECT_EQ(verdict.accepted->settings.OutputHigh, 16);
    EXPECT_EQ(profile.writes[3], QStringLiteral("Settings/OutputWidth=1000"));
    EXPECT_EQ(profile.writes[4], QStringLiteral("Settings/OutputHigh=16"));
}

TEST(OutputOptionsOk, UncompressedEntriesClearTheFlags) {
    OutputOptionsEntries entries = typicalEntries();
    entries.videoCompressorSelection = 0;
    entries.audioCompressorSelection = 0;
    entries.resizeModeSelection = 1;
    RecordingProfile profile;
    const OutputOptionsVerdict verdict =
        acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    ASSERT_TRUE(verdict.accepted);
    EXPECT_FALSE(verdict.accepted->settings.UseVideoCompressor);
    EXPECT_FALSE(verdict.accepted->video.compressor);
    EXPECT_FALSE(verdict.accepted->settings.UseAudioCompressor);
    EXPECT_FALSE(verdict.accepted->audio.compressor);
    EXPECT_EQ(verdict.accepted->settings.ResizeMode, 0);
    EXPECT_EQ(profile.writes[5], QStringLiteral("DexVideoCompress/CompressorNumber=-1"));
    EXPECT_EQ(profile.writes[6], QStringLiteral("DexAudioCompress/CompressorNumber=-1"));
}

TEST(OutputOptionsOk, ListsWithoutSelectionStoreMinusTwoAndUseTheDefaultOrNothing) {
    OutputOptionsEntries entries = typicalEntries();
    entries.videoCompressorSelection = kNoListSelection;
    entries.audioCompressorSelection = kNoListSelection;

    RecordingProfile profile;
    const OutputOptionsVerdict withDefaults =
        acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    ASSERT_TRUE(withDefaults.accepted);
    EXPECT_EQ(profile.writes[5], QStringLiteral("DexVideoCompress/CompressorNumber=-2"));
    EXPECT_EQ(profile.writes[6], QStringLiteral("DexAudioCompress/CompressorNumber=-2"));
    ASSERT_TRUE(withDefaults.accepted->video.compressor);
    EXPECT_EQ(withDefaults.accepted->video.compressor->encoderName, "mpeg4");
    ASSERT_TRUE(withDefaults.accepted->audio.compressor);
    EXPECT_EQ(withDefaults.accepted->audio.compressor->encoderName, "adpcm_ms");

    const CompressorRegistry withoutDefaults({named(CompressorKind::Video, "Motion JPEG", "mjpeg")},
                                             {named(CompressorKind::Audio, "MPEG Layer-2", "mp2")});
    const OutputOptionsVerdict none =
        acceptOutputOptions(entries, OutputSettings{}, withoutDefaults, profile);
    ASSERT_TRUE(none.accepted);
    EXPECT_FALSE(none.accepted->settings.UseVideoCompressor);
    EXPECT_FALSE(none.accepted->settings.UseAudioCompressor);
    EXPECT_FALSE(none.accepted->video.compressor);
    EXPECT_FALSE(none.accepted->audio.compressor);
}

TEST(OutputOptionsOk, OverlongNameIsRefusedBeforeAnyWrite) {
    OutputOptionsEntries entries = typicalEntries();
    entries.outputName = QStringLiteral("/tmp/") + QString(5000, QLatin1Char('a'));
    RecordingProfile profile;
    const OutputOptionsVerdict verdict =
        acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), profile);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.refusal, QString::fromUtf8(kOutputNameTooLongText));
    EXPECT_TRUE(profile.writes.empty());
}

TEST(OutputOptionsOk, ReachesTheRealProfileAndReadsBackAtTheNextStart) {
    // A private profile file under the test's own configuration folder.
    SettingsStore store(QStringLiteral("KorvaneTest"),
                        QStringLiteral("options-") + QUuid::createUuid().toString(QUuid::Id128));
    SettingsStoreWriter writer(store);
    OutputOptionsEntries entries = typicalEntries();
    entries.frameRateSelection = 5;
    entries.frameRateText = QStringLiteral("12.5");
    entries.widthText = QStringLiteral("1023");
    ASSERT_TRUE(acceptOutputOptions(entries, OutputSettings{}, twoOfEach(), writer).accepted);

    EXPECT_EQ(store.read(settings::kOutputFrameRateIndex), 5);
    EXPECT_EQ(store.read(settings::kOutputFrameRate), QStringLiteral("12.500000"));
    EXPECT_EQ(store.read(settings::kOutputName), QStringLiteral("/home/ana/out.avi"));
    EXPECT_EQ(store.read(settings::kOutputWidth), 1016);
    EXPECT_EQ(store.read(settings::kOutputHigh), 240);
    EXPECT_EQ(store.read(settings::kVideoCompressorNumber), 1);
    EXPECT_EQ(store.read(settings::kAudioCompressorNumber), 0);
}

}  // namespace
}  // namespace mixer
