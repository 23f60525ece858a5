#include "widgets/dialog_builder.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTreeWidget>

#include "widgets/hyperlink_label.h"
#include "widgets/image_button.h"
#include "widgets/multi_line_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

using widgets::ControlKind;
using widgets::ControlStyleFlag;
using widgets::DialogTemplate;

DialogTemplate sampleTemplate() {
    DialogTemplate sample;
    sample.title = QStringLiteral("Sample");
    sample.width = 244;
    sample.height = 156;
    sample.font = {QStringLiteral("MS Shell Dlg"), 8};
    sample.controls = {
        {1004, ControlKind::ImageButton, QStringLiteral("Record"), 7, 6, 68, 26},
        {1002, ControlKind::PushButton, QStringLiteral("Pause"), 87, 6, 68, 26,
         ControlStyleFlag::DefaultButton},
        {widgets::kNoControlId, ControlKind::GroupFrame, QString(), 4, 0, 236, 36},
        {1009, ControlKind::DropDownList, QString(), 130, 37, 106, 49},
        {1052, ControlKind::MultiLineLabel, QStringLiteral("Volume:"), 7, 58, 31, 8,
         ControlStyleFlag::AlignCentre},
        {1038, ControlKind::Slider, QString(), 39, 55, 174, 15, ControlStyleFlag::NoTicks},
        {1040, ControlKind::Label, QString(), 234, 38, 8, 10, ControlStyleFlag::Hidden},
        {1035, ControlKind::SunkenLabel, QStringLiteral("Status : Ready"), 7, 136, 228, 10},
        {1008, ControlKind::ListView, QString(), 7, 92, 152, 40, ControlStyleFlag::Disabled},
        {1055, ControlKind::CheckBox, QStringLiteral("Do not show"), 7, 110, 120, 10},
        {1049, ControlKind::HyperlinkLabel, QStringLiteral("Homepage"), 150, 110, 60, 8},
    };
    return sample;
}

class DialogBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        controls = widgets::buildDialog(sampleTemplate(), dialog, {&launcher, &prompt});
    }

    widgets::testing::RecordingLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    QDialog dialog;
    widgets::DialogControls controls;
};

TEST_F(DialogBuilderTest, WindowTakesTitleFontAndFixedSizeInDialogUnits) {
    const auto converter = widgets::converterFor(sampleTemplate());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sample"));
    EXPECT_EQ(dialog.size(), converter.toPixels(QSize(244, 156)));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.font().pointSize(), 8);
}

TEST_F(DialogBuilderTest, ControlsAreFoundByIdWithTheirKindAndPixelGeometry) {
    const auto converter = widgets::converterFor(sampleTemplate());
    ASSERT_NE(controls.find<widgets::ImageButton>(1004), nullptr);
    EXPECT_EQ(controls.find<widgets::ImageButton>(1004)->text(), QStringLiteral("Record"));
    EXPECT_EQ(controls.find<widgets::ImageButton>(1004)->geometry(),
              converter.toPixels(QRect(7, 6, 68, 26)));
    EXPECT_NE(controls.find<QComboBox>(1009), nullptr);
    EXPECT_NE(controls.find<widgets::MultiLineLabel>(1052), nullptr);
    EXPECT_EQ(controls.find<widgets::MultiLineLabel>(1052)->lineAlignment(),
              widgets::LineAlignment::Centre);
    EXPECT_NE(controls.find<QSlider>(1038), nullptr);
    EXPECT_NE(controls.find<QTreeWidget>(1008), nullptr);
    EXPECT_NE(controls.find<QCheckBox>(1055), nullptr);
    EXPECT_NE(controls.find<widgets::HyperlinkLabel>(1049), nullptr);
    // Wrong kind or unknown id: nothing.
    EXPECT_EQ(controls.find<QSlider>(1004), nullptr);
    EXPECT_EQ(controls.find(4242), nullptr);
    // Tests elsewhere find controls by object name.
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("control_1002")),
              controls.find<QPushButton>(1002));
}

TEST_F(DialogBuilderTest, StyleFlagsAreApplied) {
    EXPECT_TRUE(controls.get<QPushButton>(1002).isDefault());
    EXPECT_FALSE(controls.get<widgets::ImageButton>(1004).isDefault());
    EXPECT_TRUE(controls.get<QLabel>(1040).isHidden());
    EXPECT_FALSE(controls.get<QTreeWidget>(1008).isEnabled());
    EXPECT_EQ(controls.get<QSlider>(1038).tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(controls.get<QLabel>(1035).frameShadow(), QFrame::Sunken);
    // The drop-down's template height is the open list's: the closed box keeps its own.
    EXPECT_EQ(controls.get<QComboBox>(1009).height(),
              controls.get<QComboBox>(1009).sizeHint().height());
}

TEST(DialogBuilderText, OneLineTextControlsHoldTheirFontsLineSpacingAtEverySize) {
    for (const int pointSize : {6, 7, 8, 9, 10, 11, 12, 14, 18}) {
        SCOPED_TRACE(pointSize);
        DialogTemplate text;
        text.width = 200;
        text.height = 100;
        text.font = {QStringLiteral("MS Shell Dlg"), pointSize};
        text.controls = {
            {1, ControlKind::Label, QStringLiteral("A_h264.mp4"), 4, 4, 120, 8},
            {2, ControlKind::SunkenLabel, QStringLiteral("Status : Ready (gjpq_)"), 4, 16, 180, 8},
            {3, ControlKind::MultiLineLabel, QStringLiteral("Volume: gjpq_"), 4, 28, 60, 7},
            {4, ControlKind::LineEdit, QStringLiteral("/home/ana/A_h264.mp4"), 4, 40, 150, 9},
        };
        QDialog dialog;
        const widgets::DialogControls built = widgets::buildDialog(text, dialog);
        const int lineSpacing = QFontMetrics(dialog.font()).lineSpacing();
        const auto& label = built.get<QLabel>(1);
        const auto& sunken = built.get<QLabel>(2);
        EXPECT_GE(label.contentsRect().height(), lineSpacing);
        EXPECT_GE(sunken.contentsRect().height(), lineSpacing);
        EXPECT_GE(built.get<widgets::MultiLineLabel>(3).height(), lineSpacing + 1);
        const auto& edit = built.get<QLineEdit>(4);
        EXPECT_GE(edit.height(), lineSpacing + 2);
        // Growing keeps the top where the template puts it.
        EXPECT_EQ(sunken.y(), widgets::converterFor(text).toPixelsY(16));
    }
}

TEST_F(DialogBuilderTest, FramesLieUnderTheControlsTheySurround) {
    dialog.show();
    const QPoint insideRecord = controls.get<QWidget>(1004).geometry().center();
    EXPECT_EQ(dialog.childAt(insideRecord), &controls.get<QWidget>(1004));
    auto* frame = dialog.findChild<QGroupBox*>();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(DialogBuilderTest, TabOrderFollowsTheTemplate) {
    QWidget* record = &controls.get<QWidget>(1004);
    QWidget* pause = &controls.get<QWidget>(1002);
    QWidget* devices = &controls.get<QWidget>(1009);
    // Walk the focus chain from Record: Pause comes before the device list.
    int pauseAt = -1, devicesAt = -1;
    QWidget* current = record;
    for (int step = 1; step < 40; ++step) {
        current = current->nextInFocusChain();
        if (current == pause && pauseAt < 0) {
            pauseAt = step;
        }
        if (current == devices && devicesAt < 0) {
            devicesAt = step;
        }
    }
    ASSERT_GT(pauseAt, 0);
    ASSERT_GT(devicesAt, 0);
    EXPECT_LT(pauseAt, devicesAt);
}

}  // namespace
