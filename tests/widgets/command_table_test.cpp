#include "widgets/command_table.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTreeWidget>

#include "widgets/dialog_builder.h"
#include "widgets/image_button.h"

namespace {

using widgets::CommandTable;
using widgets::ControlKind;
using widgets::Notification;

widgets::DialogTemplate windowTemplate() {
    widgets::DialogTemplate window;
    window.title = QStringLiteral("Commands");
    window.width = 200;
    window.height = 150;
    window.controls = {
        {1006, ControlKind::ImageButton, QStringLiteral("Add video"), 5, 5, 46, 32},
        {1008, ControlKind::ListView, QString(), 5, 40, 150, 40},
        {1009, ControlKind::DropDownList, QString(), 5, 85, 100, 50},
        {1038, ControlKind::Slider, QString(), 5, 105, 150, 15},
        {1066, ControlKind::Label, QStringLiteral("Video List:"), 5, 125, 60, 10},
        {1070, ControlKind::LineEdit, QString(), 5, 135, 100, 12},
    };
    return window;
}

class CommandTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        controls = widgets::buildDialog(windowTemplate(), window);
        auto* list = controls.find<QTreeWidget>(1008);
        list->setColumnCount(1);
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("clip.avi")}));
        controls.find<QComboBox>(1009)->addItems(
            {QStringLiteral("Microphone"), QStringLiteral("Line In")});
        table = CommandTable{
            {1006, Notification::Clicked, [this] { fired << QStringLiteral("add video"); }},
            {1008, Notification::DoubleClicked, [this] { fired << QStringLiteral("play"); }},
            {1008, Notification::RightClicked, [this] { fired << QStringLiteral("properties"); }},
            {1008, Notification::SelectionChanged, [this] { fired << QStringLiteral("rows"); }},
            {1009, Notification::SelectionChanged, [this] { fired << QStringLiteral("device"); }},
            {1038, Notification::SliderReleased, [this] { fired << QStringLiteral("volume"); }},
            {1070, Notification::TextChanged, [this] { fired << QStringLiteral("typed"); }},
        };
        ASSERT_TRUE(table.wire(controls).isEmpty());
        window.show();
    }

    QDialog window;
    widgets::DialogControls controls;
    CommandTable table;
    QStringList fired;
};

TEST_F(CommandTableTest, SignalsOfTheControlsReachTheirHandlers) {
    controls.get<widgets::ImageButton>(1006).click();
    EXPECT_EQ(fired, QStringList{QStringLiteral("add video")});

    fired.clear();
    QSlider& slider = controls.get<QSlider>(1038);
    slider.setSliderDown(true);
    slider.setSliderDown(false);
    EXPECT_EQ(fired, QStringList{QStringLiteral("volume")});

    fired.clear();
    emit controls.get<QComboBox>(1009).activated(1);
    EXPECT_EQ(fired, QStringList{QStringLiteral("device")});

    fired.clear();
    controls.get<QTreeWidget>(1008).topLevelItem(0)->setSelected(true);
    EXPECT_EQ(fired, QStringList{QStringLiteral("rows")});
}

TEST_F(CommandTableTest, ProgrammaticChangesOfChoiceAndTextAreNotCommands) {
    controls.get<QComboBox>(1009).setCurrentIndex(1);
    controls.get<QLineEdit>(1070).setText(QStringLiteral("c:/recorder.wav"));
    EXPECT_TRUE(fired.isEmpty());
}

TEST_F(CommandTableTest, DoubleAndRightClicksOnAListReachTheirHandlers) {
    QTreeWidget& list = controls.get<QTreeWidget>(1008);
    QWidget* viewport = list.viewport();
    const QPointF point(10, 5);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, point, viewport->mapToGlobal(point),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &doubleClick);
    EXPECT_TRUE(fired.contains(QStringLiteral("play")));

    fired.clear();
    emit list.customContextMenuRequested(QPoint(10, 5));
    EXPECT_EQ(fired, QStringList{QStringLiteral("properties")});
}

TEST_F(CommandTableTest, DispatchRunsTheHandlerOfAnEntry) {
    EXPECT_TRUE(table.dispatch(1038, Notification::SliderReleased));
    EXPECT_EQ(fired, QStringList{QStringLiteral("volume")});
    EXPECT_FALSE(table.dispatch(1038, Notification::Clicked));
    EXPECT_FALSE(table.dispatch(9999, Notification::Clicked));
}

TEST_F(CommandTableTest, WiringReportsEntriesThatCannotBeConnected) {
    const CommandTable broken{
        {4242, Notification::Clicked, [] {}},
        {1066, Notification::Clicked, [] {}},
        {1038, Notification::DoubleClicked, [] {}},
        {1006, Notification::Clicked, {}},
    };
    const QStringList problems = broken.wire(controls);
    ASSERT_EQ(problems.size(), 4);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("4242")));
    EXPECT_TRUE(problems[1].contains(QStringLiteral("QLabel")));
    EXPECT_TRUE(problems[2].contains(QStringLiteral("QSlider")));
    EXPECT_TRUE(problems[3].contains(QStringLiteral("no handler")));
}

}  // namespace
