#include "capture/recording_file_lock.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/small_mix_profile.h"
#include "tests/support/temporary_folder.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <unistd.h>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace mixer {
namespace {

using namespace main_window;
using base::PromptAnswer;
using test_support::TemporaryFolder;

using mix_window_testing::kHeight;
using mix_window_testing::kMixTimeoutMs;
using mix_window_testing::kWidth;
using test_support::pumpUntil;

// Reads the RGB colour of the centre pixel of the frame shown at `seconds` of `path`.
std::vector<unsigned char> centrePixelAt(const std::string& path, double seconds,
                                         const TemporaryFolder& folder) {
    const std::vector<unsigned char> bytes =
        mix_window_testing::decodedFrame(path, "-ss " + std::to_string(seconds), "", folder);
    if (bytes.empty()) {
        return {};
    }
    const std::size_t centre = (static_cast<std::size_t>(kHeight / 2) * kWidth + kWidth / 2) * 3;
    return {bytes[centre], bytes[centre + 1], bytes[centre + 2]};
}

// The window with two generated one-second clips ready to be listed.
class MixFlowTest : public mix_window_testing::TwoClipWindowTest<1> {
  protected:
    widgets::ImageButton& mixButton() {
        return window->controls().get<widgets::ImageButton>(kMixButton);
    }
    void clickMix() { clickWindowButton(kMixButton); }
    bool mixEnded() { return !window->job().Converting; }
};

TEST_F(MixFlowTest, AddButtonsListTheChosenFilesWithTheirLengths) {
    addThroughTheButton(kAddVideoButton, {clipPath("red.avi")});
    addThroughTheButton(kAddAudioButton, {clipPath("blue.avi"), clipPath("red.avi")});

    ASSERT_EQ(picker.openRequests().size(), 2);
    EXPECT_EQ(picker.openRequests()[0].title, "Select Media Files...");
    ASSERT_EQ(window->job().videos.size(), 1u);
    EXPECT_GT(window->job().videos[0].Duration, 9'000'000);
    ASSERT_EQ(window->job().audios.size(), 3u);  // the companion, then the two sounds
    const auto& audioView = window->controls().get<QTreeWidget>(kAudioList);
    ASSERT_EQ(audioView.topLevelItemCount(), 3);
    EXPECT_EQ(audioView.topLevelItem(0)->text(0), "red.avi");
    EXPECT_EQ(audioView.topLevelItem(1)->text(0), "blue.avi");
    EXPECT_EQ(window->controls().get<QTreeWidget>(kVideoList).topLevelItemCount(), 1);
    const QString clipFolder = QString::fromStdString(clips_->path().string()) + "/";
    EXPECT_EQ(QSettings("Korvane", "orvindel").value("Option/LastPhotoFolder").toString(),
              clipFolder);
    EXPECT_EQ(QSettings("Korvane", "orvindel").value("Option/LastAudioFolder").toString(),
              clipFolder);
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(MixFlowTest, AudioAloneIsNotEnough) {
    addThroughTheButton(kAddAudioButton,
                        {clipPath("red.avi"), clipPath("blue.avi"), clipPath("red.avi")});
    ASSERT_EQ(window->job().audios.size(), 3u);
    const QString statusBefore = window->statusText();
    clickMix();
    EXPECT_EQ(prompt.texts(), QStringList{"Please open a video file firstly."});
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(window->statusText(), statusBefore);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(outputPath)));
}

TEST_F(MixFlowTest, ListsLongerThanTheLimitAreRefused) {
    struct Case {
        std::size_t videos;
        std::size_t audios;
    };
    for (const Case& c : {Case{1001, 0}, Case{1, 1001}}) {
        prompt.clear();
        // Adding stops at the limit, so no control lists this many: the lists are filled
        // directly to reach the check at Mix.
        window->job().videos.assign(c.videos, VideoEntry{clips_->file("red.avi"), 10'000'000});
        window->job().audios.assign(c.audios, AudioEntry{clips_->file("red.avi"), 10'000'000});
        clickMix();
        EXPECT_EQ(
            prompt.texts(),
            QStringList{"The video files are too many! Please delete some files in the list."});
        EXPECT_FALSE(window->job().Converting);
    }
}

TEST_F(MixFlowTest, AnsweringNoLeavesTheExistingFileAndStartsNothing) {
    listBothClips();
    {
        QFile old(QString::fromStdString(outputPath));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older mix");
    }
    prompt.queueAnswer(PromptAnswer::No);
    clickMix();

    ASSERT_EQ(prompt.requests().size(), 1);
    const base::PromptRequest& question = prompt.requests().front();
    EXPECT_EQ(question.text,
              QString::fromStdString(outputPath) + " exists. Do you want to replace it?");
    EXPECT_EQ(question.caption, "Warning");
    EXPECT_EQ(question.buttons, base::PromptButtons::YesNo);
    EXPECT_EQ(question.icon, base::PromptIcon::Warning);
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
    QFile old(QString::fromStdString(outputPath));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "an older mix");
}

TEST_F(MixFlowTest, AMixRendersTheClipsAndEndsWithTheDoneText) {
    listBothClips();
    {
        QFile old(QString::fromStdString(outputPath));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older mix");
    }
    prompt.queueAnswer(PromptAnswer::Yes);
    clickMix();

    ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
    EXPECT_EQ(mixButton().text(), "Stop");
    EXPECT_TRUE(window->progressTimer().isActive());
    EXPECT_TRUE(window->mixProgressBar().isVisible());
    EXPECT_TRUE(window->mixPercentageLabel().text().endsWith('%'));

    ASSERT_TRUE(pumpUntil([&] { return mixEnded(); }, kMixTimeoutMs));
    EXPECT_EQ(prompt.requests().size(), 1);  // the replace question only
    EXPECT_EQ(window->statusText(), "Done. Output File: " + QString::fromStdString(outputPath) +
                                        "     Resolution: 160*120");
    EXPECT_EQ(mixButton().text(), "Mix");
    EXPECT_EQ(window->job().ElapsedSeconds, 0);
    EXPECT_FALSE(window->progressTimer().isActive());
    EXPECT_FALSE(window->mixProgressBar().isVisible());

    expectOutputAsLongAsTheListedVideos();
    const std::vector<unsigned char> first = centrePixelAt(outputPath, 0.5, folder);
    const std::vector<unsigned char> second = centrePixelAt(outputPath, 1.5, folder);
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_GT(first[0], 150);  // red clip first
    EXPECT_LT(first[2], 90);
    EXPECT_GT(second[2], 150);  // then the blue one
    EXPECT_LT(second[0], 90);

    // A late notification after the end finds no render and does nothing.
    window->mixController().HandleRenderEvents();
    EXPECT_EQ(prompt.requests().size(), 1);
}

TEST_F(MixFlowTest, StopEndsTheMixAtOnceAndTheNextMixCountsAgain) {
    listBothClips();
    clickMix();
    ASSERT_TRUE(window->job().Converting);
    window->onProgressTick();
    window->onProgressTick();
    EXPECT_EQ(window->statusText(), "Please wait... Used Time: 00:00:02");

    // Escape and the close box are refused while the mix runs.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompt.texts(), QStringList(2, "Please first stop Convert"));
    EXPECT_TRUE(window->isVisible());

    clickMix();  // "Stop"
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
    // A stopped mix says so and how far it got, never "Done.".
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Stopped at 0:0[0-2]\\. Output File: "))
                    .match(window->statusText())
                    .hasMatch())
        << window->statusText().toStdString();
    EXPECT_FALSE(window->playMixButton().isVisible());
    EXPECT_EQ(window->job().ElapsedSeconds, 0);
    EXPECT_FALSE(window->progressTimer().isActive());
    // What was written so far is a file that opens.
    EXPECT_TRUE(QFile::exists(QString::fromStdString(outputPath)));

    // Notifications queued before the stop arrive late and change nothing.
    QApplication::processEvents();
    EXPECT_EQ(prompt.requests().size(), 2);

    prompt.queueAnswer(PromptAnswer::Yes);
    clickMix();
    ASSERT_TRUE(window->job().Converting);
    window->onProgressTick();
    EXPECT_EQ(window->statusText(), "Please wait... Used Time: 00:00:01");
    ASSERT_TRUE(pumpUntil([&] { return mixEnded(); }, kMixTimeoutMs));
    EXPECT_TRUE(editing::probeDuration(outputPath).succeeded());
}

TEST_F(MixFlowTest, AMixStopsEvenAfterItsListsWereEmptied) {
    listBothClips();
    clickMix();
    ASSERT_TRUE(window->job().Converting);
    clickWindowButton(kDeleteAllButton);
    clickMix();  // "Stop"
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
    EXPECT_TRUE(prompt.requests().isEmpty());
}

TEST_F(MixFlowTest, ATimeLineThatCouldNotBeCreatedIsNotRendered) {
    listBothClips();
    window->mixController().setTimelineFactory(
        [](std::unique_ptr<editing::TimelineInterface>&) { return editing::kErrorOutOfMemory; });
    clickMix();
    ASSERT_FALSE(prompt.texts().isEmpty());
    EXPECT_EQ(prompt.texts().front(), "Could not create timeline");
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(outputPath)));
}

TEST_F(MixFlowTest, AnOutputThatCannotBeWrittenIsReported) {
    listBothClips();
    // Set directly: the options dialog's own checks of a typed name are its tests' concern.
    window->job().outputSettings.OutputName = folder.file("no such folder/out.avi");
    clickMix();
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests().front().caption, "Error");
    EXPECT_FALSE(prompt.texts().front().isEmpty());
    EXPECT_FALSE(window->job().Converting);
    EXPECT_EQ(mixButton().text(), "Mix");
}

// The output set to a listed clip, however it is spelt, is refused before the replace
// question: the clip keeps every byte and no mix starts.
TEST_F(MixFlowTest, AnOutputThatIsAListedClipIsRefusedAndTheClipKeptWhole) {
    enum class Spelling { SamePath, SymbolicLink, HardLink, OtherSpelling };
    struct Case {
        const char* name;
        Spelling spelling;
        bool clipOnAudioList;
    };
    const Case cases[] = {{"same path", Spelling::SamePath, false},
                          {"symbolic link", Spelling::SymbolicLink, false},
                          {"hard link", Spelling::HardLink, false},
                          {"dot segments", Spelling::OtherSpelling, false},
                          {"audio clip", Spelling::HardLink, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clickWindowButton(kDeleteAllButton);
        prompt.clear();
        const std::string own = folder.file(std::string("own clip ") + c.name + ".avi");
        ASSERT_TRUE(QFile::copy(clipPath("red.avi"), QString::fromStdString(own)));
        if (c.clipOnAudioList) {
            addThroughTheButton(kAddVideoButton, {clipPath("blue.avi")});
            addThroughTheButton(kAddAudioButton, {QString::fromStdString(own)});
        } else {
            addThroughTheButton(kAddVideoButton,
                                {clipPath("blue.avi"), QString::fromStdString(own)});
        }
        ASSERT_TRUE(prompt.requests().isEmpty()) << prompt.texts().join(" | ").toStdString();
        std::string output = own;
        if (c.spelling == Spelling::SymbolicLink || c.spelling == Spelling::HardLink) {
            output = folder.file(std::string("link to ") + c.name + ".avi");
            ASSERT_EQ(c.spelling == Spelling::SymbolicLink ? ::symlink(own.c_str(), output.c_str())
                                                           : ::link(own.c_str(), output.c_str()),
                      0);
        } else if (c.spelling == Spelling::OtherSpelling) {
            output = folder.file(".") + "/./" + std::string("own clip ") + c.name + ".avi";
        }
        QFile original(QString::fromStdString(own));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        const QByteArray bytesBefore = original.readAll();
        original.close();
        window->job().outputSettings.OutputName = output;

        prompt.queueAnswer(PromptAnswer::Yes);  // would replace the file if it were asked
        clickMix();

        ASSERT_EQ(prompt.requests().size(), 1);
        EXPECT_EQ(prompt.requests().front().caption, "Error");
        EXPECT_EQ(prompt.requests().front().buttons, base::PromptButtons::Ok);
        EXPECT_TRUE(prompt.texts().front().contains(QString::fromStdString(own)))
            << prompt.texts().front().toStdString();
        EXPECT_FALSE(window->job().Converting);
        EXPECT_EQ(mixButton().text(), "Mix");
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_EQ(original.readAll(), bytesBefore);
        EXPECT_EQ(window->job().videos.size(), c.clipOnAudioList ? 1u : 2u);
    }
}

// A file Ambrevo is recording (it holds the recording lock) is refused as the output as well.
TEST_F(MixFlowTest, AnOutputThatIsBeingRecordedIsRefused) {
    listBothClips();
    const std::string take = folder.file("take.wav");
    capture::CaptureResult locked;
    const capture::RecordingFileLock recording = capture::RecordingFileLock::acquire(take, locked);
    ASSERT_TRUE(recording.held()) << locked.text();
    window->job().outputSettings.OutputName = take;

    prompt.queueAnswer(PromptAnswer::Yes);
    clickMix();

    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_TRUE(prompt.texts().front().contains("Ambrevo is recording"))
        << prompt.texts().front().toStdString();
    EXPECT_FALSE(window->job().Converting);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(take)));
}

TEST_F(MixFlowTest, AnUnreadableClipLeavesBlackForItsSpanAndIsNamedOnceAfterDone) {
    // red, a clip overwritten after it was listed so that it holds no media, blue: the mix
    // runs its full length.
    const std::string broken = folder.file("broken.avi");
    ASSERT_TRUE(QFile::copy(clipPath("red.avi"), QString::fromStdString(broken)));
    addThroughTheButton(kAddVideoButton, {clipPath("red.avi"), QString::fromStdString(broken),
                                          clipPath("blue.avi")});
    ASSERT_EQ(window->job().videos.size(), 3u) << prompt.texts().join(" | ").toStdString();
    {
        std::ofstream out(broken, std::ios::binary | std::ios::trunc);
        out << std::string(4096, 'x');
    }
    qsizetype boxesWhenEnded = -1;
    QString statusWhenEnded;
    QObject::connect(&window->mixController(), &MixController::mixEnded, window.get(), [&] {
        boxesWhenEnded = prompt.requests().size();
        statusWhenEnded = window->statusText();
    });
    clickMix();
    ASSERT_TRUE(window->job().Converting) << prompt.texts().join(" | ").toStdString();
    ASSERT_TRUE(pumpUntil([&] { return mixEnded(); }, kMixTimeoutMs));

    EXPECT_EQ(boxesWhenEnded, 0);  // "Done." first, the box after it
    EXPECT_TRUE(statusWhenEnded.startsWith("Done. Output File: ")) << statusWhenEnded.toStdString();
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests().front().caption, "Warning");
    EXPECT_EQ(prompt.texts().front(),
              QString::fromUtf8(kUnreadableSourcesMessage) + "\n" + QString::fromStdString(broken));
    EXPECT_EQ(mixButton().text(), "Mix");

    expectOutputAsLongAsTheListedVideos();
    const std::vector<unsigned char> middle = centrePixelAt(outputPath, 1.5, folder);
    const std::vector<unsigned char> last = centrePixelAt(outputPath, 2.5, folder);
    ASSERT_EQ(middle.size(), 3u);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_LT(middle[0] + middle[1] + middle[2], 60);  // black where the file is placed
    EXPECT_GT(last[2], 150);                           // and the blue clip after it
    EXPECT_LT(last[0], 90);
}

TEST(CompressorBindingAtStartUp, StoredChoicesBecomeCompressorsAndFlags) {
    const auto compressor = [](editing::CompressorKind kind, const char* name,
                               const char* encoder) {
        editing::Compressor made;
        made.kind = kind;
        made.friendlyName = name;
        made.encoderName = encoder;
        return made;
    };
    const auto divx = compressor(editing::CompressorKind::Video, "DivX MPEG-4", "mpeg4");
    const auto mjpeg = compressor(editing::CompressorKind::Video, "Motion JPEG", "mjpeg");
    const auto adpcm = compressor(editing::CompressorKind::Audio, "Microsoft ADPCM", "adpcm_ms");
    const editing::CompressorRegistry registry({mjpeg, divx}, {adpcm});
    struct Case {
        int storedVideo;
        bool useVideo;
        const char* videoEncoder;  // nullptr: none
    };
    const Case cases[] = {
        {-2, true, "mpeg4"},  // never chosen: the default
        {-1, false, nullptr},
        {0, true, "mjpeg"},
        {7, true, "mpeg4"},  // a position that no longer exists: the default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedVideo);
        QSettings("Korvane", "orvindel").clear();
        QSettings("Korvane", "orvindel")
            .setValue("DexVideoCompress/CompressorNumber", c.storedVideo);
        SettingsStore store;
        widgets::testing::ScriptedPrompt prompt;
        widgets::testing::ScriptedFilePicker picker;
        widgets::testing::RecordingLauncher launcher;
        MainWindow window(readMainWindowStart(registry, store), store,
                          MainWindowPorts{prompt, picker, launcher}, registry);
        EXPECT_EQ(window.job().outputSettings.UseVideoCompressor, c.useVideo);
        EXPECT_TRUE(window.job().outputSettings.UseAudioCompressor);
        const auto& chosen = window.mixController().compressors();
        EXPECT_EQ(chosen.video.has_value(), c.videoEncoder != nullptr);
        if (c.videoEncoder != nullptr && chosen.video) {
            EXPECT_EQ(chosen.video->encoderName, c.videoEncoder);
        }
        ASSERT_TRUE(chosen.audio.has_value());
        EXPECT_EQ(chosen.audio->encoderName, "adpcm_ms");
        // The stored choice itself is kept as it was.
        EXPECT_EQ(window.storedCompressorChoices().videoCompressorNumber, c.storedVideo);
    }
    QSettings("Korvane", "orvindel").clear();
}

}  // namespace
}  // namespace mixer
