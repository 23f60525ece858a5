#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSettings>

#include "recorder/logic/recorder_settings.h"
#include "recorder/window/recorder_dialogs.h"
#include "recorder/window/recorder_templates.h"
#include "widgets/hyperlink_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

namespace control = recorder::control;

TEST(InputHintDialog, OkWritesTheCheckBoxAndOtherExitsWriteNothing) {
    QSettings("Korvane", "ambrevo").clear();
    {
        recorder::InputHintDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), "How to select an input device");
        EXPECT_TRUE(dialog.isChecked());  // opens ticked while the profile has no value
        dialog.controls().get<QCheckBox>(control::kHintCheckBox).setChecked(false);
        dialog.reject();
        EXPECT_FALSE(QSettings("Korvane", "ambrevo").contains("Option/b_only_once"));
    }
    {
        recorder::InputHintDialog dialog;
        dialog.controls().get<QCheckBox>(control::kHintCheckBox).setChecked(false);
        dialog.controls().get<QPushButton>(control::kOk).click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(recorder::RecorderSettings::readHintOnlyOnce(1), 0);
    }
    {
        recorder::InputHintDialog dialog;
        EXPECT_FALSE(dialog.isChecked());  // the cleared box is remembered
        dialog.controls().get<QCheckBox>(control::kHintCheckBox).setChecked(true);
        dialog.controls().get<QPushButton>(control::kOk).click();
        EXPECT_EQ(recorder::RecorderSettings::readHintOnlyOnce(0), 1);
    }
    QSettings("Korvane", "ambrevo").clear();
}

TEST(RecorderAboutDialog, LinksOpenTheMakersPagesAlwaysUnderlined) {
    widgets::testing::RecordingLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    recorder::RecorderAboutDialog about(launcher, prompt);
    EXPECT_EQ(about.windowTitle(), "About Ambrevo");
    auto& home = about.controls().get<widgets::HyperlinkLabel>(control::kHomePageLink);
    auto& support = about.controls().get<widgets::HyperlinkLabel>(control::kSupportLink);
    EXPECT_EQ(home.underlineMode(), widgets::UnderlineMode::Always);
    EXPECT_EQ(support.underlineMode(), widgets::UnderlineMode::Always);
    EXPECT_EQ(support.text(), "Support Email: Click here");
    EXPECT_EQ(support.toolTip(), recorder::kMakerContactPageAddress);
    EXPECT_TRUE(support.openAddress());
    EXPECT_TRUE(home.openAddress());
    ASSERT_EQ(launcher.openedAddresses().size(), 2);
    EXPECT_EQ(launcher.openedAddresses()[0].toString(), recorder::kMakerContactPageAddress);
    EXPECT_EQ(launcher.openedAddresses()[1].toString(), recorder::kMakerHomePageAddress);
}

}  // namespace
