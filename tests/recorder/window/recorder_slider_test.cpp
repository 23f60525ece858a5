// The volume slider as the user moves it: a click in the groove, the wheel and the keys write
// the level, which reads back as the same position; the program's own changes write nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <regex>
#include <string>

#include "recorder/logic/input_line_rules.h"
#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"

namespace {

using namespace recorder_test;
namespace control = recorder::control;

const test_support::SineSource kTone{"tone_a", 440.0};

// The raw volume of the first channel, as pactl reports it; -1 when unreadable.
long rawVolume(const test_support::PrivatePulseDaemon& daemon, const std::string& source) {
    const std::string text = daemon.pactl("get-source-volume " + source);
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(R"(:\s*(\d+)\s*/)"))) {
        return -1;
    }
    return std::stol(match[1].str());
}

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

TEST_F(RecorderSliderTest, FollowsTheLevelAnotherProgramSetsAndStepsFromIt) {
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();
    auto& slider = window->controls().get<QSlider>(control::kVolume);
    ASSERT_EQ(slider.value(), 200);
    // Raw volumes that no slider position writes: a level echoed back would change them.
    const struct {
        long raw;
        int position;  // where the slider shows it
        Qt::Key key;
        int stepped;  // the position after one press of `key`
    } cases[] = {{19000, 57, Qt::Key_Up, 58},
                 {49000, 149, Qt::Key_Down, 148},
                 {3000, 9, Qt::Key_PageUp, 19}};
    for (const auto& step : cases) {
        SCOPED_TRACE(step.raw);
        rig.daemon.pactl("set-source-volume " + kTone.name + " " + std::to_string(step.raw));
        EXPECT_TRUE(pumpUntil([&] { return slider.value() == step.position; }, 1000))
            << "the slider shows " << slider.value();
        pumpFor(200);
        EXPECT_EQ(rawVolume(rig.daemon, kTone.name), step.raw) << "the slider wrote the level";

        slider.setFocus();
        QTest::keyClick(&slider, step.key);
        EXPECT_EQ(slider.value(), step.stepped);
        const auto written =
            static_cast<long>(std::ceil(recorder::levelFromSliderPosition(step.stepped) * 65536.0));
        EXPECT_EQ(rawVolume(rig.daemon, kTone.name), written);
    }
    window->close();
}

}  // namespace
