// The volume slider as the user moves it: a click in the groove, the wheel and the keys write
// the level, which reads back as the same position; the program's own changes write nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "recorder/logic/input_line_rules.h"
#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"

namespace {

using namespace recorder_test;
namespace control = recorder::control;

const test_support::SineSource kTone{"tone_a", 440.0};

class RecorderSliderTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
};

TEST_F(RecorderSliderTest, EveryUserChangeWritesALevelThatReadsBackAsTheSamePosition) {
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    // A remembered line the device does not have (it has one): the microphone search decides
    // again instead of leaving no line chosen.
    {
        QSettings settings("Korvane", "ambrevo");
        settings.setValue("Option/nCapturePinIndex", 3);
        settings.setValue("Option/nSearchFlag", 1);
    }
    auto window = rig.makeWindow();
    window->show();
    EXPECT_EQ(rig.values.nCapturePinIndex, 0);
    auto& slider = window->controls().get<QSlider>(control::kVolume);
    const auto serverPosition = [&] {
        const auto device = window->controller().server()->device(kTone.name);
        return device ? recorder::sliderPositionFromLevel(device->level) : -1;
    };
    ASSERT_EQ(serverPosition(), 200);

    slider.setValue(120);  // the program's change writes nothing
    EXPECT_EQ(serverPosition(), 200);

    // A click in the groove left of the thumb: a page down, written at once.
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(3, slider.height() / 2));
    EXPECT_LT(slider.value(), 120);
    EXPECT_EQ(serverPosition(), slider.value());

    const int beforeWheel = slider.value();
    const QPointF centre(slider.width() / 2.0, slider.height() / 2.0);
    QWheelEvent wheel(centre, slider.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
    EXPECT_GT(slider.value(), beforeWheel);
    EXPECT_EQ(serverPosition(), slider.value());

    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_PageUp, Qt::Key_End, Qt::Key_PageDown,
                              Qt::Key_Left, Qt::Key_Home}) {
        QTest::keyClick(&slider, key);
        EXPECT_EQ(serverPosition(), slider.value()) << "key " << key;
    }
    ASSERT_EQ(slider.value(), 0);

    // Every position, written by one key step each, reads back as itself.
    for (int position = 1; position <= 200; ++position) {
        QTest::keyClick(&slider, Qt::Key_Up);
        ASSERT_EQ(slider.value(), position);
        EXPECT_EQ(serverPosition(), position);
    }
    // Reading the level back (a line change) shows the position that was written.
    for (int i = 0; i < 101; ++i) {
        QTest::keyClick(&slider, Qt::Key_Down);
    }
    ASSERT_TRUE(window->commands().dispatch(control::kInputLineList,
                                            widgets::Notification::SelectionChanged));
    EXPECT_EQ(slider.value(), 99);
    window->close();
    EXPECT_EQ(QSettings("Korvane", "ambrevo").value("Option/nCapturePinIndex").toInt(), 0);
}

}  // namespace
