// Ambrevo's window at the scale the test runs under (CTest runs it at 1x, 1.5x and 2x through
// QT_SCALE_FACTOR): every text whole, the status line's text clear of its frame, the frame
// inside the window.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include <cmath>

#include "recorder/logic/recording_texts.h"
#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/text_fit.h"

namespace {

using namespace recorder_test;
namespace control = recorder::control;

const test_support::SineSource kTone{"scaled_440", 440.0, 44100,
                                     test_support::ToneDelivery::PacedPipe};

// The first and last pixel rows of `label`'s picture that hold text ink (dark pixels left of
// its middle, where every status text is drawn), or {-1, -1}.
std::pair<int, int> inkRows(QLabel& label) {
    const QImage picture = label.grab().toImage();
    const int left = static_cast<int>(std::ceil(4 * label.devicePixelRatioF()));
    std::pair<int, int> rows{-1, -1};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = left; x < picture.width() / 2; ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                rows = {rows.first < 0 ? y : rows.first, y};
                break;
            }
        }
    }
    return rows;
}

class RecorderScaledLookTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
};

TEST_F(RecorderScaledLookTest, TheStatusLineShowsItsTextsAndFrameWhole) {
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();
    auto& status = window->controls().get<QLabel>(control::kStatus);
    const qreal ratio = status.devicePixelRatioF();
    // The rows of the picture inside the frame, in device pixels.
    const int firstInside = static_cast<int>(std::ceil(status.frameWidth() * ratio));
    const int lastInside =
        static_cast<int>(std::floor((status.height() - status.frameWidth()) * ratio)) - 1;
    for (const QString& text :
         {recorder::readyStatusText(), recorder::recordingStatusText(100 * 3600),
          recorder::pausedStatusText(100 * 3600)}) {
        SCOPED_TRACE(text.toStdString());
        emit window->controller().statusChanged(text);
        ASSERT_EQ(window->statusText(), text);
        const QStringList cuts = test_support::cutTexts(*window);
        EXPECT_TRUE(cuts.isEmpty()) << cuts.join('\n').toStdString();
        // Descenders ("g", "p") end above the frame's bottom line with a row to spare, the
        // capitals start below its top line; the frame lies inside the window.
        const auto [top, bottom] = inkRows(status);
        EXPECT_GT(top, firstInside);
        EXPECT_LT(bottom, lastInside);
        EXPECT_GE(status.geometry().top(), 0);
        EXPECT_LT(status.geometry().bottom(), window->rect().bottom());
        EXPECT_LT(status.geometry().right(), window->rect().right());
    }
}

}  // namespace
