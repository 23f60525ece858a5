// The main window and the dialogs it opens look whole at every scale: no heading, label, check
// box or list item is cut off by its control, and the tiled background runs on under the tool
// row's buttons without seams. CTest runs these at 1x, 1.5x and 2x scale (QT_SCALE_FACTOR), where
// widgets land on fractions of device pixels and rounded font sizes take more room.

#include "editing/compressors/compressor_registry.h"
#include "mixer/dialogs/clip_transition_dialog.h"
#include "mixer/dialogs/output_options_dialog.h"
#include "mixer/dialogs/transition_defaults_dialog.h"
#include "mixer/output/encoder_settings_memory.h"
#include "mixer/window/main_window.h"
#include "mixer/window/main_window_controls.h"
#include "mixer/window/orvindel_start_up.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/text_fit.h"
#include "widgets/image_button.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_file_picker.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QSettings>

#include <memory>

namespace mixer {
namespace {

editing::Compressor compressorNamed(editing::CompressorKind kind, const char* name,
                                    const char* encoder) {
    editing::Compressor compressor;
    compressor.kind = kind;
    compressor.friendlyName = name;
    compressor.encoderName = encoder;
    return compressor;
}

class ScaledLookTest : public testing::Test {
  protected:
    void TearDown() override { QSettings("Korvane", "orvindel").clear(); }

    void expectNothingCut(QWidget& window) {
        window.show();
        const QStringList cuts = test_support::cutTexts(window);
        EXPECT_TRUE(cuts.isEmpty()) << window.windowTitle().toStdString() << ":\n"
                                    << cuts.join('\n').toStdString();
    }

    test_support::TemporaryFolder folder;
    SettingsStore store;
    widgets::testing::ScriptedPrompt prompt;
    widgets::testing::ScriptedFilePicker picker;
    widgets::testing::RecordingLauncher launcher;
    // The longest names offered in the compressor lists.
    const editing::CompressorRegistry compressors{
        {compressorNamed(editing::CompressorKind::Video, "DivX-compatible MPEG-4 Part 2", "mpeg4"),
         compressorNamed(editing::CompressorKind::Video, "Motion JPEG", "mjpeg")},
        {compressorNamed(editing::CompressorKind::Audio, "Microsoft ADPCM", "adpcm_ms")}};
};

TEST_F(ScaledLookTest, TheWindowAndItsDialogsShowEveryTextWhole) {
    QSettings("Korvane", "orvindel").clear();
    MainWindow window(readMainWindowStart(compressors, store), store,
                      MainWindowPorts{prompt, picker, launcher}, compressors);
    expectNothingCut(window);

    TransitionDefaultsDialog defaults(TransitionDefaults{}, store, prompt);
    expectNothingCut(defaults);

    ClipTransitionValues clip;
    ClipTransitionDialog perClip(clip, editing::TransitionStillsRequest{}, prompt);
    expectNothingCut(perClip);

    EncoderSettingsMemory memory;
    OutputSettings settings;
    settings.OutputName = folder.file("out.avi");
    OutputOptionsDialog options(settings, {compressors, store, memory, picker, prompt});
    expectNothingCut(options);
}

// The window's own background colour (what a pixel shows that nothing painted) is nowhere in the
// tool row: its buttons show the tiles beneath them, without seams between tiles or at their
// edges.
TEST_F(ScaledLookTest, TheToolRowShowsTheTiledBackgroundUpToEveryButtonsEdge) {
    QSettings("Korvane", "orvindel").clear();
    MainWindow window(readMainWindowStart(compressors, store), store,
                      MainWindowPorts{prompt, picker, launcher}, compressors);
    window.show();
    const QImage picture = window.grab().toImage();
    const qreal ratio = picture.devicePixelRatio();
    const QRgb unpainted = window.palette().color(QPalette::Window).rgb();
    int seamPixels = 0;
    for (const int id :
         {main_window::kAddVideoButton, main_window::kAddAudioButton, main_window::kOptionsButton,
          main_window::kMixButton, main_window::kHelpButton, main_window::kExitButton,
          main_window::kPreviewButton}) {
        const QRect button = window.controls().get<widgets::ImageButton>(id).geometry();
        // The button's device pixels.
        const QRect device(
            QPoint(static_cast<int>(button.left() * ratio), static_cast<int>(button.top() * ratio)),
            QPoint(static_cast<int>((button.right() + 1) * ratio) - 1,
                   static_cast<int>((button.bottom() + 1) * ratio) - 1));
        for (int x = device.left(); x <= device.right(); ++x) {
            for (int y = device.top(); y <= device.bottom(); ++y) {
                if (picture.pixel(x, y) == unpainted) {
                    ++seamPixels;
                }
            }
        }
    }
    EXPECT_EQ(seamPixels, 0) << "at " << ratio << "x";
}

}  // namespace
}  // namespace mixer
