#include "editing/compressors/compressor_registry.h"

#include "editing/compressors/encoder_setup.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

using namespace editing;

std::vector<std::string> encoderNames(const std::vector<Compressor>& list) {
    std::vector<std::string> names;
    for (const Compressor& compressor : list) {
        names.push_back(compressor.encoderName);
    }
    return names;
}

class CompressorRegistryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        registry_ = new CompressorRegistry(CompressorRegistry::discover());
    }
    static void TearDownTestSuite() {
        delete registry_;
        registry_ = nullptr;
    }
    static CompressorRegistry* registry_;
};
CompressorRegistry* CompressorRegistryTest::registry_ = nullptr;

TEST_F(CompressorRegistryTest, ListsOnlyOpeningEncodersInTheFixedCandidateOrder) {
    for (const auto& [container, kind] :
         {std::pair{OutputContainer::Avi, CompressorKind::Video},
          std::pair{OutputContainer::Avi, CompressorKind::Audio},
          std::pair{OutputContainer::Mp4, CompressorKind::Video},
          std::pair{OutputContainer::Mp4, CompressorKind::Audio},
          std::pair{OutputContainer::Matroska, CompressorKind::Video},
          std::pair{OutputContainer::Matroska, CompressorKind::Audio}}) {
        SCOPED_TRACE(std::string(containerExtension(container)));
        const auto& listed = kind == CompressorKind::Video ? registry_->videoCompressors(container)
                                                           : registry_->audioCompressors(container);
        const std::vector<std::string> candidates =
            encoderNames(candidateCompressors(kind, container));
        std::size_t previous = 0;
        for (const Compressor& compressor : listed) {
            EXPECT_EQ(compressor.kind, kind);
            EXPECT_TRUE(encoderOpens(compressor)) << compressor.encoderName;
            const auto found =
                std::find(candidates.begin(), candidates.end(), compressor.encoderName);
            ASSERT_NE(found, candidates.end()) << compressor.encoderName;
            const auto position = static_cast<std::size_t>(found - candidates.begin());
            EXPECT_GE(position, previous) << "registry order is the candidate order";
            previous = position;
        }
    }
    // Discovery is repeatable: the same machine gives the same positions.
    EXPECT_EQ(CompressorRegistry::discover().videoNames(), registry_->videoNames());
    EXPECT_EQ(CompressorRegistry::discover().audioNames(), registry_->audioNames());
}

// Which encoders each container takes, in its order; AVI's candidates are unchanged.
TEST(CompressorCandidates, EachContainerTakesItsOwnEncoders) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Video)),
              (Names{"mpeg4", "msmpeg4", "msmpeg4v2", "libx264", "mjpeg", "huffyuv", "ffvhuff",
                     "ffv1", "png", "zmbv"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Audio)),
              (Names{"adpcm_ms", "adpcm_ima_wav", "libmp3lame", "mp2", "ac3", "pcm_alaw",
                     "pcm_mulaw", "pcm_u8"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Video, OutputContainer::Mp4)),
              (Names{"libx264", "mpeg4", "mjpeg"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Audio, OutputContainer::Mp4)),
              (Names{"aac", "libmp3lame", "ac3"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Video, OutputContainer::Matroska)),
              (Names{"libx264", "mpeg4", "libvpx-vp9", "mjpeg", "ffv1", "huffyuv", "ffvhuff"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Audio, OutputContainer::Matroska)),
              (Names{"aac", "libopus", "flac", "libmp3lame", "ac3", "pcm_s16le"}));
    for (const char* name : {"out.mp4", "OUT.MP4", "a.b.Mp4"}) {
        EXPECT_EQ(containerForFileName(name), OutputContainer::Mp4) << name;
    }
    for (const char* name : {"out.mkv", "OUT.MKV"}) {
        EXPECT_EQ(containerForFileName(name), OutputContainer::Matroska) << name;
    }
    const OutputContainer webm = containerForFileName("out.webm");
    EXPECT_EQ(containerForFileName("Out.WebM"), webm);
    EXPECT_EQ(containerExtension(webm), ".webm");
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Video, webm)),
              (Names{"libvpx-vp9"}));
    EXPECT_EQ(encoderNames(candidateCompressors(CompressorKind::Audio, webm)), (Names{"libopus"}));
    for (const char* name : {"out.avi", "out", "out.mp4.part", "mp4", "out.webm.part"}) {
        EXPECT_EQ(containerForFileName(name), OutputContainer::Avi) << name;
    }
}

TEST_F(CompressorRegistryTest, TheUsualEncodersOfThisPlatformAreListedWithTheirNames) {
    // The build machine's libavcodec has these built in; they head the lists.
    ASSERT_FALSE(registry_->videoCompressors().empty());
    EXPECT_EQ(registry_->videoCompressors()[0].encoderName, "mpeg4");
    EXPECT_EQ(registry_->videoCompressors()[0].friendlyName, "DivX-compatible MPEG-4 Part 2");
    ASSERT_FALSE(registry_->audioCompressors().empty());
    EXPECT_EQ(registry_->audioCompressors()[0].encoderName, "adpcm_ms");
    EXPECT_EQ(registry_->audioCompressors()[0].friendlyName, "Microsoft ADPCM");
    EXPECT_EQ(registry_->defaultVideoPosition(), 0);
    EXPECT_EQ(registry_->defaultAudioPosition(), 0);
}

TEST(CompressorRegistry, LookUpByPositionGivesNothingOutsideTheList) {
    const CompressorRegistry registry(candidateCompressors(CompressorKind::Video),
                                      candidateCompressors(CompressorKind::Audio));
    const int videoCount = static_cast<int>(registry.videoCompressors().size());
    struct Case {
        int position;
        bool found;
    };
    for (const Case& entry :
         {Case{-2, false}, Case{-1, false}, Case{0, true}, Case{videoCount - 1, true},
          Case{videoCount, false}, Case{1000, false}}) {
        SCOPED_TRACE(entry.position);
        const std::optional<Compressor> video = registry.videoAt(entry.position);
        EXPECT_EQ(video.has_value(), entry.found);
        if (video) {
            EXPECT_EQ(video->friendlyName,
                      registry.videoNames()[static_cast<std::size_t>(entry.position)]);
        }
    }
    EXPECT_FALSE(registry.audioAt(static_cast<int>(registry.audioCompressors().size())));
    EXPECT_EQ(registry.audioAt(2)->encoderName, "libmp3lame");
}

TEST(CompressorRegistry, DefaultSearchIsCaseBlindAndTakesTheFirstMatch) {
    auto named = [](std::string name) {
        Compressor compressor;
        compressor.friendlyName = std::move(name);
        return compressor;
    };
    const CompressorRegistry registry(
        {named("Cinepak"), named("Some DIVX 5.1 codec"), named("divx again")},
        {named("GSM 6.10"), named("Microsoft ADPCM")});
    EXPECT_EQ(registry.defaultVideoPosition(), 1);
    EXPECT_EQ(registry.defaultAudioPosition(), 1);
    EXPECT_EQ(registry.findVideo("cinepak"), 0);
    EXPECT_EQ(registry.findVideo("h.264"), std::nullopt);

    const CompressorRegistry empty({}, {});
    EXPECT_EQ(empty.defaultVideoPosition(), std::nullopt);
    EXPECT_EQ(empty.defaultAudioPosition(), std::nullopt);
    EXPECT_TRUE(empty.videoNames().empty());
}

TEST(CompressorRegistry, UnknownEncoderDoesNotOpen) {
    Compressor missing;
    missing.encoderName = "no_such_encoder";
    EXPECT_FALSE(encoderOpens(missing));
    missing.kind = CompressorKind::Audio;
    EXPECT_FALSE(encoderOpens(missing));
    Compressor wrongKind = candidateCompressors(CompressorKind::Audio)[0];
    wrongKind.kind = CompressorKind::Video;  // an audio encoder asked for pictures
    EXPECT_FALSE(encoderOpens(wrongKind));
}

TEST(CompressorSettings, TheRenderAppliesQualityKeyFramesPresetAndBitRate) {
    std::string description;
    ffmpeg::CodecContextHandle context;
    Compressor mpeg4 = candidateCompressors(CompressorKind::Video)[0];
    ASSERT_EQ(mpeg4.encoderName, "mpeg4");
    EXPECT_EQ(mpeg4.settings.quality, 3);
    EXPECT_EQ(mpeg4.settings.keyFrameInterval, 250);
    mpeg4.settings.quality = 5;
    mpeg4.settings.keyFrameInterval = 12;
    ASSERT_EQ(openVideoEncoder(mpeg4, {352, 240, {25, 1}}, {}, context, description), kOk)
        << description;
    EXPECT_EQ(context->gop_size, 12);
    EXPECT_TRUE(context->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_EQ(context->global_quality, 5 * FF_QP2LAMBDA);
    EXPECT_EQ(context->pix_fmt, AV_PIX_FMT_YUV420P);

    Compressor bitRate = candidateCompressors(CompressorKind::Video)[0];
    bitRate.settings.quality = 0;
    bitRate.settings.bitRateKbps = 800;
    ASSERT_EQ(openVideoEncoder(bitRate, {352, 240, {25, 1}}, {}, context, description), kOk);
    EXPECT_FALSE(context->flags & AV_CODEC_FLAG_QSCALE);
    EXPECT_EQ(context->bit_rate, 800000);

    Compressor x264;
    for (const Compressor& candidate : candidateCompressors(CompressorKind::Video)) {
        if (candidate.encoderName == "libx264") {
            x264 = candidate;
        }
    }
    if (encoderOpens(x264)) {
        x264.settings.speedPreset = "ultrafast";
        ASSERT_EQ(openVideoEncoder(x264, {352, 240, {25, 1}}, {}, context, description), kOk);
        std::uint8_t* preset = nullptr;
        ASSERT_GE(av_opt_get(context->priv_data, "preset", 0, &preset), 0);
        EXPECT_STREQ(reinterpret_cast<char*>(preset), "ultrafast");
        av_free(preset);
    }

    const Compressor mp3 = candidateCompressors(CompressorKind::Audio)[2];
    ASSERT_EQ(mp3.encoderName, "libmp3lame");
    ASSERT_EQ(openAudioEncoder(mp3, {44100, 2}, {}, context, description), kOk) << description;
    EXPECT_EQ(context->bit_rate, 192000);
    EXPECT_EQ(context->sample_rate, 44100);
    EXPECT_EQ(context->ch_layout.nb_channels, 2);
}

TEST(CompressorSettings, EveryCandidateDescribesWhatItTakesAndItsDefaultsLieInside) {
    for (CompressorKind kind : {CompressorKind::Video, CompressorKind::Audio}) {
        for (const Compressor& candidate : candidateCompressors(kind)) {
            SCOPED_TRACE(candidate.encoderName);
            const SettableSettings& settable = candidate.settable;
            EXPECT_EQ(settable.quality.has_value(), settable.qualityScale != QualityScale::None);
            for (const auto& range :
                 {settable.quality, settable.bitRateKbps, settable.keyFrameInterval}) {
                if (range) {
                    EXPECT_GE(range->least, 1);
                    EXPECT_LE(range->least, range->most);
                }
            }
            EXPECT_EQ(clampedSettings(settable, candidate.settings), candidate.settings);
        }
    }
}

TEST(CompressorSettings, ClampingClearsWhatIsNotTakenAndKeepsZeroAsDefault) {
    const SettableSettings settable{
        QualityScale::QuantiserScale, SettingRange{2, 31}, std::nullopt, SettingRange{1, 600}, {}};
    struct Case {
        CompressorSettings given;
        CompressorSettings expected;
    };
    for (const Case& entry : {
             Case{{0, 0, 0, {}}, {0, 0, 0, {}}},
             Case{{1, 500, 601, "slow"}, {2, 0, 600, {}}},
             Case{{99, -4, -1, {}}, {31, 0, 0, {}}},
             Case{{-3, 0, 12, {}}, {0, 0, 12, {}}},
         }) {
        EXPECT_EQ(clampedSettings(settable, entry.given), entry.expected)
            << entry.given.quality << " " << entry.given.keyFrameInterval;
    }
    const SettableSettings nothing{};
    EXPECT_FALSE(nothing.takesAnything());
    EXPECT_EQ(clampedSettings(nothing, {23, 800, 250, "fast"}), CompressorSettings{});
}

// Lines at information level or louder (as FFmpeg hands them to its log callback, after each
// object's own level offset), gathered while one test body runs.
class FfmpegLogCapture {
  public:
    FfmpegLogCapture() {
        lines().clear();
        av_log_set_callback(&FfmpegLogCapture::keep);
    }
    ~FfmpegLogCapture() { av_log_set_callback(av_log_default_callback); }
    static std::vector<std::string>& lines() {
        static std::vector<std::string> kept;
        return kept;
    }

  private:
    static void keep(void*, int level, const char* format, va_list arguments) {
        if (level > AV_LOG_INFO) {
            return;
        }
        char text[512] = {};
        std::vsnprintf(text, sizeof text, format, arguments);
        static std::mutex guard;
        const std::lock_guard lock(guard);
        lines().emplace_back(text);
    }
};

TEST(CompressorRegistry, ProbingKeepsEncodersInformationLinesQuietAndTheLogLevelAlone) {
    Compressor x264;
    for (const Compressor& candidate : candidateCompressors(CompressorKind::Video)) {
        if (candidate.encoderName == "libx264") {
            x264 = candidate;
        }
    }
    const int levelBefore = av_log_get_level();
    {
        FfmpegLogCapture capture;
        const bool opens = encoderOpens(x264);
        if (!opens) {
            GTEST_SKIP() << "x264 is not available here";
        }
        EXPECT_TRUE(FfmpegLogCapture::lines().empty()) << FfmpegLogCapture::lines().front();
        // The same encoder opened for a render still reports as FFmpeg's level decides.
        ffmpeg::CodecContextHandle context;
        std::string description;
        ASSERT_EQ(openVideoEncoder(x264, {64, 48, {25, 1}}, {}, context, description), kOk);
        EXPECT_FALSE(FfmpegLogCapture::lines().empty());
    }
    EXPECT_EQ(av_log_get_level(), levelBefore);
}

}  // namespace
