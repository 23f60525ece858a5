#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/mixer/mix/mix_window_fixture.h"
#include "tests/support/event_pump.h"
#include "tests/support/modal_script.h"
#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <filesystem>
#include <optional>

namespace mixer {
namespace {

using namespace output_options;
using test_support::ModalStep;

bool isOptionsDialog(QWidget& modal) {
    return qobject_cast<OutputOptionsDialog*>(&modal) != nullptr;
}

QString shownEntry(QWidget& dialog, int id) {
    return static_cast<OutputOptionsDialog&>(dialog).controls().get<QComboBox>(id).currentText();
}

QString shownText(QWidget& dialog, int id) {
    return static_cast<OutputOptionsDialog&>(dialog).controls().get<QLineEdit>(id).text();
}

// Picks `text` in a list with keys, as a user does.
void pickByKeys(OutputOptionsDialog& dialog, int id, const QString& text) {
    auto& list = dialog.controls().get<QComboBox>(id);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home);
    while (list.currentText() != text && list.currentIndex() + 1 < list.count()) {
        QTest::keyClick(&list, Qt::Key_Down);
    }
}

class OutputOptionsWindowTest : public mix_window_testing::TwoClipWindowTest<1> {};

TEST_F(OutputOptionsWindowTest, DamagedStoredSizesAndRatesReadAsTheirDefaults) {
    const struct {
        const char* width;
        const char* height;
        int rateIndex;
        const char* rateText;
        const char* status;  // what follows "Resolution: "
        const char* resolutionEntry;
        const char* widthField;
        const char* rateEntry;
    } cases[] = {
        {"99999999999", "-2147483648", 5, "1e9", "352*240", "352 * 240", "352", "23.976"},
        {"8", "9000", 5, "nan", "352*240", "352 * 240", "352", "23.976"},
        {"99999", "1080", 42, "", "352*1080", "Custom Size", "352", "23.976"},
        {"1920", "1080", 7, "", "1920*1080", "1920*1080", "1920", "60"},
        {"1080", "1920", 6, "", "1080*1920", "1080*1920", "1080", "50"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(std::string(example.width) + "x" + example.height);
        window.reset();
        {
            QSettings profile("Korvane", "orvindel");
            profile.setValue("Settings/OutputWidth", example.width);
            profile.setValue("Settings/OutputHigh", example.height);
            profile.setValue("Settings/OutputFrameRateIndex", example.rateIndex);
            profile.setValue("Settings/OutputFrameRate", example.rateText);
        }
        window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, *compressors_);
        window->show();
        EXPECT_TRUE(window->statusText().endsWith(QStringLiteral("Resolution: ") +
                                                  QString::fromUtf8(example.status)))
            << window->statusText().toStdString();

        QString resolutionEntry;
        QString widthField;
        QString rateEntry;
        const int steps = test_support::runWithModalScript(
            [&] { clickWindowButton(main_window::kOptionsButton); },
            {ModalStep{isOptionsDialog, [&](QWidget& dialog) {
                           resolutionEntry = shownEntry(dialog, kResolutionList);
                           widthField = shownText(dialog, kCustomWidthBox);
                           rateEntry = shownEntry(dialog, kFrameRateList);
                           static_cast<QDialog&>(dialog).reject();
                       }}});
        ASSERT_EQ(steps, 1);
        EXPECT_EQ(resolutionEntry, QString::fromUtf8(example.resolutionEntry));
        EXPECT_EQ(widthField, QString::fromUtf8(example.widthField));
        EXPECT_EQ(rateEntry, QString::fromUtf8(example.rateEntry));
    }
}

TEST_F(OutputOptionsWindowTest, SameAsTheFirstClipMixesAnUprightPhoneClipAtItsOwnSizeAndRate) {
    // A phone clip: coded 320 x 176 at 30 frames per second, shown upright (176 x 320) through
    // the display matrix the ffmpeg tool writes when it copies the stream.
    const std::string coded = folder.file("coded.mp4");
    test_support::ClipRecipe recipe;
    recipe.width = 320;
    recipe.height = 176;
    recipe.framesPerSecond = 30;
    recipe.videoCodec = "libx264";
    recipe.audioCodec = "aac";
    recipe.toneHz = 440;
    ASSERT_TRUE(test_support::makeClip(coded, recipe));
    const std::string phone = folder.file("phone.mp4");
    ASSERT_TRUE(test_support::runFfmpeg("-y -i " + test_support::shellQuote(coded) +
                                        " -c copy -metadata:s:v:0 rotate=90 " +
                                        test_support::shellQuote(phone)));

    const int steps = test_support::runWithModalScript(
        [&] { clickWindowButton(main_window::kOptionsButton); },
        {ModalStep{isOptionsDialog, [](QWidget& modal) {
                       auto& dialog = static_cast<OutputOptionsDialog&>(modal);
                       const QString same = QString::fromUtf8(kSameAsFirstClipText);
                       pickByKeys(dialog, kResolutionList, same);
                       pickByKeys(dialog, kFrameRateList, same);
                       QTest::mouseClick(&dialog.controls().get<QPushButton>(kOkButton),
                                         Qt::LeftButton);
                   }}});
    ASSERT_EQ(steps, 1);
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join('\n').toStdString();

    addThroughTheButton(main_window::kAddVideoButton, {QString::fromStdString(phone)});
    ASSERT_EQ(window->job().videos.size(), 1u) << prompt.texts().join('\n').toStdString();
    clickWindowButton(main_window::kMixButton);
    ASSERT_TRUE(test_support::pumpUntil([&] { return !window->job().Converting; },
                                        mix_window_testing::kMixTimeoutMs));
    ASSERT_EQ(window->mixController().lastEnding(), MixController::Ending::Completed)
        << prompt.texts().join('\n').toStdString();

    // Every decoded frame of the one-second output: 30 upright 176 x 320 pictures.
    const std::string raw = folder.file("decoded.rgb");
    ASSERT_TRUE(test_support::runFfmpeg("-y -i " + test_support::shellQuote(outputPath) +
                                        " -map 0:v -f rawvideo -pix_fmt rgb24 " +
                                        test_support::shellQuote(raw)));
    const std::uintmax_t frameBytes = 176 * 320 * 3;
    const std::uintmax_t rawBytes = std::filesystem::file_size(raw);
    EXPECT_EQ(rawBytes % frameBytes, 0u) << rawBytes;
    EXPECT_NEAR(static_cast<double>(rawBytes / frameBytes), 30.0, 1.0);
    QProcess probeTool;
    probeTool.start(QStringLiteral("ffprobe"),
                    {"-v", "error", "-select_streams", "v:0", "-show_entries",
                     "stream=width,height,avg_frame_rate", "-of", "csv=p=0",
                     QString::fromStdString(outputPath)});
    ASSERT_TRUE(probeTool.waitForFinished(30'000));
    EXPECT_EQ(QString::fromUtf8(probeTool.readAllStandardOutput()).trimmed(),
              QStringLiteral("176,320,30/1"));

    // The choice survives a restart.
    window.reset();
    window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, *compressors_);
    EXPECT_EQ(window->job().outputSettings.SizeSource, OutputSizeSource::FirstClip);
    EXPECT_EQ(window->job().outputSettings.OutputFrameRateIndex, kFirstClipFrameRateIndex);
}

// A name typed in the dialog chooses its container's compressors at OK, for every container of
// the table (WebM's VP9 and Opus, not the AVI choices the window started with).
TEST_F(OutputOptionsWindowTest, ANameTypedAtOkMixesWithItsContainersCompressors) {
    const std::string webm = folder.file("typed.webm");
    const int steps = test_support::runWithModalScript(
        [&] { clickWindowButton(main_window::kOptionsButton); },
        {ModalStep{isOptionsDialog, [&](QWidget& modal) {
                       auto& dialog = static_cast<OutputOptionsDialog&>(modal);
                       auto& name = dialog.controls().get<QLineEdit>(kOutputNameBox);
                       name.setFocus();
                       name.selectAll();
                       QTest::keyClicks(&name, QString::fromStdString(webm));
                       QTest::mouseClick(&dialog.controls().get<QPushButton>(kOkButton),
                                         Qt::LeftButton);
                   }}});
    ASSERT_EQ(steps, 1);
    listBothClips();
    clickWindowButton(main_window::kMixButton);
    ASSERT_TRUE(test_support::pumpUntil([&] { return !window->job().Converting; },
                                        mix_window_testing::kMixTimeoutMs));
    ASSERT_EQ(window->mixController().lastEnding(), MixController::Ending::Completed)
        << prompt.texts().join('\n').toStdString();
    QProcess probeTool;
    probeTool.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries", "stream=codec_name",
                                                "-of", "csv=p=0", QString::fromStdString(webm)});
    ASSERT_TRUE(probeTool.waitForFinished(30'000));
    EXPECT_EQ(QString::fromUtf8(probeTool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
              (QStringList{"vp9", "opus"}));
}

// The compressors chosen in the options come back bound when the program starts again: its
// start-up binds the stored choices before the window exists.
TEST_F(OutputOptionsWindowTest, ChosenCompressorsAreBoundAgainAfterARestart) {
    const std::optional<editing::Compressor> startedWith =
        window->mixController().compressors().video;
    ASSERT_TRUE(startedWith.has_value());
    QString chosenVideo;
    const int steps = test_support::runWithModalScript(
        [&] { window->controls().get<widgets::ImageButton>(main_window::kOptionsButton).click(); },
        {ModalStep{isOptionsDialog, [&](QWidget& modal) {
                       auto& dialog = static_cast<OutputOptionsDialog&>(modal);
                       auto& video = dialog.controls().get<QComboBox>(kVideoCompressorList);
                       auto& audio = dialog.controls().get<QComboBox>(kAudioCompressorList);
                       video.setFocus();
                       // A compressor other than the one the window started with.
                       QTest::keyClick(&video, Qt::Key_End);
                       if (video.currentText().toStdString() == startedWith->friendlyName) {
                           QTest::keyClick(&video, Qt::Key_Up);
                       }
                       chosenVideo = video.currentIndex() > 0 ? video.currentText() : QString();
                       audio.setFocus();
                       QTest::keyClick(&audio, Qt::Key_Home);
                       QTest::mouseClick(&dialog.controls().get<QPushButton>(kOkButton),
                                         Qt::LeftButton);
                   }}});
    ASSERT_EQ(steps, 1);
    ASSERT_FALSE(chosenVideo.isEmpty());

    window.reset();
    window = startMainWindow(store, MainWindowPorts{prompt, picker, launcher}, *compressors_);
    const ChosenCompressors& bound = window->mixController().compressors();
    ASSERT_TRUE(bound.video.has_value());
    EXPECT_EQ(bound.video->friendlyName, chosenVideo.toStdString());
    EXPECT_FALSE(bound.audio.has_value());  // "Uncompressed Audio"
    EXPECT_TRUE(window->job().outputSettings.UseVideoCompressor);
    EXPECT_FALSE(window->job().outputSettings.UseAudioCompressor);
    EXPECT_EQ(window->storedCompressorChoices().audioCompressorNumber, -1);
}

}  // namespace
}  // namespace mixer
