#include "mixer/launch/about_dialog.h"
#include "mixer/launch/maker_pages.h"
#include "widgets/hyperlink_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace mixer {
namespace {

using namespace about_box;

TEST(AboutDialog, ShowsVersionIconAndTheMakersLinks) {
    widgets::testing::RecordingLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    AboutDialog about(launcher, prompt);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Orvindel"));
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral("Orvindel Version 3.0");
    }));
    EXPECT_FALSE(about.controls().get<QLabel>(kProgramIcon).pixmap().isNull());

    auto& home = about.controls().get<widgets::HyperlinkLabel>(kHomePageLink);
    auto& support = about.controls().get<widgets::HyperlinkLabel>(kSupportLink);
    EXPECT_EQ(home.text(), QString::fromUtf8(kMakerHomePageAddress));
    EXPECT_EQ(support.text(), QStringLiteral("Support Email: Click here"));
    EXPECT_TRUE(home.openAddress());
    EXPECT_TRUE(support.openAddress());
    ASSERT_EQ(launcher.openedAddresses().size(), 2);
    EXPECT_EQ(launcher.openedAddresses()[0], QUrl(QString::fromUtf8(kMakerHomePageAddress)));
    EXPECT_EQ(launcher.openedAddresses()[1], QUrl(QString::fromUtf8(kMakerContactPageAddress)));

    about.controls().get<QPushButton>(kOkButton).click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace mixer
