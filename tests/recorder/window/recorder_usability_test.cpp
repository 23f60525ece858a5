// Ambrevo's window as users meet it: the keyboard focus, what assistive technology reads, the
// status line's text and the real save dialog behind Browse.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include "base/text/chosen_file_names.h"
#include "recorder/logic/recording_texts.h"
#include "recorder/window/recorder_templates.h"
#include "tests/recorder/window/recorder_window_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/temporary_folder.h"
#include "widgets/hyperlink_label.h"
#include "widgets/image_button.h"
#include "widgets/ports/qt_file_picker.h"

namespace {

using namespace recorder_test;
namespace control = recorder::control;

const test_support::SineSource kTone{"usability_440", 440.0, 44100,
                                     test_support::ToneDelivery::PacedPipe};

class RecorderUsabilityTest : public testing::Test {
  protected:
    void SetUp() override { clearRecorderSettings(); }
    void TearDown() override { clearRecorderSettings(); }
};

TEST_F(RecorderUsabilityTest, ButtonsTakeTheFocusFromTabShowItAndEveryControlIsNamed) {
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();
    for (const int id : {control::kRecord, control::kPause, control::kStop, control::kBrowse,
                         control::kPlay, control::kHomepage, control::kAbout, control::kHelp}) {
        const auto& button = window->controls().get<widgets::ImageButton>(id);
        EXPECT_EQ(button.focusPolicy(), Qt::TabFocus) << id;
        EXPECT_TRUE(button.drawsFlatFocus()) << id;
    }
    for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << child->objectName().toStdString();
    }
    // The status line holds a whole line of its font: descenders are not cut.
    const auto& status = window->controls().get<QLabel>(control::kStatus);
    EXPECT_GE(status.contentsRect().height(), QFontMetrics(status.font()).lineSpacing());
}

TEST_F(RecorderUsabilityTest, BrowseOffersTheCurrentNameAsksNoQuestionAndRefusesWildcards) {
    test_support::TemporaryFolder folder;
    const QString current = QString::fromStdString(folder.file("take.wav"));
    {
        QFile existing(current);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    QSettings("Korvane", "ambrevo").setValue("Option/output_wav_file", current);
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    widgets::QtFilePicker picker;
    auto window =
        rig.makeWindow(recorder::RecorderPorts{rig.prompt, picker, rig.launcher, rig.hint});
    window->show();

    QString offered;
    const auto browse = [&] {
        QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kBrowse),
                          Qt::LeftButton);
    };
    // The existing file is offered and taken with Enter: no question of the dialog's own.
    int steps = test_support::runWithModalScript(
        browse, {{test_support::fileDialogListing(QStringLiteral("take.wav")), [&](QWidget& modal) {
                      QLineEdit* box =
                          test_support::fileDialogNameBox(static_cast<QFileDialog&>(modal));
                      offered = box->text();
                      QTest::keyClick(box, Qt::Key_Return);
                  }}});
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(offered, QStringLiteral("take.wav"));
    EXPECT_EQ(window->outputFile(), current);

    // "*.wav" is refused in the dialog, which stays open for a real name.
    steps = test_support::runWithModalScript(
        browse,
        test_support::patternRefusedThenNamed(QStringLiteral("take.wav"), QStringLiteral("*.wav"),
                                              QStringLiteral("second"), offered));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(offered, QStringLiteral("take.wav"));
    EXPECT_EQ(window->outputFile(), QString::fromStdString(folder.file("second.wav")));
    EXPECT_TRUE(rig.prompt.requests().isEmpty());

    // A pattern typed into the name box is refused at Record, and nothing is recorded.
    auto& nameBox = window->controls().get<QLineEdit>(control::kOutputFile);
    nameBox.selectAll();
    const QString typed = QString::fromStdString(folder.file("*.wav"));
    QTest::keyClicks(&nameBox, typed);
    QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kRecord),
                      Qt::LeftButton);
    ASSERT_EQ(rig.prompt.requests().size(), 1);
    EXPECT_EQ(rig.prompt.texts().front(), base::wildcardNameRefusalText(typed));
    EXPECT_EQ(window->statusText(), "Status : Ready");
    EXPECT_FALSE(QFile::exists(typed));
}

TEST_F(RecorderUsabilityTest, BrowseOpensAtTheTypedNameAndKeepsTheChosenFormat) {
    test_support::TemporaryFolder folder;
    const QDir root(QString::fromStdString(folder.path().string()));
    ASSERT_TRUE(root.mkpath("sub") && root.mkpath("other") && root.mkpath("previous"));
    QSettings("Korvane", "ambrevo")
        .setValue("Option/output_wav_file", root.filePath("previous/old.wav"));
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    widgets::QtFilePicker picker;
    auto window =
        rig.makeWindow(recorder::RecorderPorts{rig.prompt, picker, rig.launcher, rig.hint});
    window->show();
    const QStringList offeredFilters = widgets::nameFiltersForDialog(recorder::outputFileFilters());
    ASSERT_EQ(offeredFilters.size(), 4);

    struct Case {
        QString typed;   // typed into "Output to", relative to the folder
        int filter;      // 1-based filter the dialog opens with
        QString chosen;  // typed into the dialog's name box
        QString stored;  // the output name afterwards, relative to the folder
    };
    const Case cases[] = {
        {"sub/typed.flac", 2, "b.ogg", "sub/b.ogg"},
        {"sub/typed.opus", 3, "c.mp3", "sub/c.wav"},
        {"other/typed.wav", 1, "d.FLAC", "other/d.FLAC"},
        {"other/typed", 1, "e", "other/e.wav"},
        {"sub/typed.ogg", 3, "f.opus", "sub/f.opus"},
    };
    auto& nameBox = window->controls().get<QLineEdit>(control::kOutputFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        nameBox.setFocus();
        QTest::keyClick(&nameBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&nameBox, root.filePath(c.typed));
        QString folderShown, nameShown, filterShown;
        QStringList filtersShown;
        const int steps = test_support::runWithModalScript(
            [&] {
                QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kBrowse),
                                  Qt::LeftButton);
            },
            {{[](QWidget& modal) { return qobject_cast<QFileDialog*>(&modal) != nullptr; },
              [&](QWidget& modal) {
                  auto& dialog = static_cast<QFileDialog&>(modal);
                  folderShown = dialog.directory().absolutePath();
                  nameShown = test_support::fileDialogNameBox(dialog)->text();
                  filterShown = dialog.selectedNameFilter();
                  filtersShown = dialog.nameFilters();
                  test_support::typeNameAndPressEnter(modal, c.chosen);
              }}});
        ASSERT_EQ(steps, 1);
        EXPECT_EQ(folderShown, QFileInfo(root.filePath(c.typed)).absolutePath());
        EXPECT_EQ(nameShown, QFileInfo(c.typed).fileName());
        EXPECT_EQ(filtersShown, offeredFilters);
        EXPECT_EQ(filterShown, offeredFilters[c.filter - 1]);
        EXPECT_EQ(nameBox.text(), root.filePath(c.stored));
        EXPECT_EQ(window->outputFile(), root.filePath(c.stored));
        EXPECT_EQ(QSettings("Korvane", "ambrevo").value("Option/output_wav_file").toString(),
                  root.filePath(c.stored));
    }
    EXPECT_TRUE(rig.prompt.requests().isEmpty());
}

TEST_F(RecorderUsabilityTest, ScreenReadersReadEveryControlByRoleNameAndLabel) {
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();
    struct Case {
        int id;
        QAccessible::Role role;
        QString name;   // empty: a list, named by its value
        QString label;  // the name of the label tied to the control, or empty
    };
    const Case cases[] = {
        {control::kDeviceList, QAccessible::ComboBox, {}, "Capture device"},
        {control::kInputLineList, QAccessible::ComboBox, {}, "Input line"},
        {control::kVolumeCaption, QAccessible::StaticText, "Volume:", {}},
        {control::kVolume, QAccessible::Slider, "Volume", "Volume:"},
        {control::kVolumeMax, QAccessible::StaticText, "Max", {}},
        {control::kLevelMeter, QAccessible::ProgressBar, "Input level", {}},
        {control::kOutputCaption, QAccessible::StaticText, "Output to:", {}},
        {control::kOutputFile, QAccessible::EditableText, "Output to", "Output to:"},
        {control::kStatus, QAccessible::StaticText, "Status : Ready", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        QWidget& widget = window->controls().get(c.id);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), c.role);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
        if (!c.name.isEmpty()) {
            EXPECT_EQ(accessible->text(QAccessible::Name), c.name);
        }
        QStringList labels;
        for (const auto& [label, relation] : accessible->relations(QAccessible::Label)) {
            labels << label->text(QAccessible::Name);
        }
        EXPECT_EQ(labels, c.label.isEmpty() ? QStringList{} : QStringList{c.label});
    }
}

TEST_F(RecorderUsabilityTest, BoxesWithoutACaptionOfTheirOwnCarryTheProgramsCaption) {
    test_support::TemporaryFolder folder;
    RecorderRig rig({kTone});
    ASSERT_TRUE(rig.daemon.isRunning()) << rig.daemon.error();
    auto window = rig.makeWindow();
    window->show();

    // A pattern refused at Record.
    auto& nameBox = window->controls().get<QLineEdit>(control::kOutputFile);
    nameBox.setText(QString::fromStdString(folder.file("*.wav")));
    QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kRecord),
                      Qt::LeftButton);
    // A link of the About box that the desktop cannot open.
    rig.launcher.setAlwaysFail(true);
    const int steps = test_support::runWithModalScript(
        [&] {
            QTest::mouseClick(&window->controls().get<widgets::ImageButton>(control::kAbout),
                              Qt::LeftButton);
        },
        {{[](QWidget& modal) {
              return qobject_cast<recorder::RecorderAboutDialog*>(&modal) != nullptr;
          },
          [](QWidget& modal) {
              auto& about = static_cast<recorder::RecorderAboutDialog&>(modal);
              auto& link = about.controls().get<widgets::HyperlinkLabel>(control::kSupportLink);
              QTest::mouseClick(&link, Qt::LeftButton, {}, link.rect().center());
              about.reject();
          }}},
        5'000);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(rig.prompt.requests().size(), 2);
    for (const auto& request : rig.prompt.requests()) {
        EXPECT_EQ(request.caption, "Ambrevo") << request.text.toStdString();
    }
}

}  // namespace
