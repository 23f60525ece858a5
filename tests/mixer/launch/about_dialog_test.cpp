#include "mixer/launch/about_dialog.h"
#include "mixer/launch/maker_pages.h"
#include "widgets/hyperlink_label.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

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

// A keyboard user tabs from OK to each link and opens it with Enter or Space; a screen reader
// finds two links named by their text and can press them.
TEST(AboutDialog, TabReachesEachLinkWhichEnterOrSpaceOpens) {
    widgets::testing::RecordingLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    AboutDialog about(launcher, prompt);
    about.show();
    QApplication::setActiveWindow(&about);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    auto& home = about.controls().get<widgets::HyperlinkLabel>(kHomePageLink);
    auto& support = about.controls().get<widgets::HyperlinkLabel>(kSupportLink);
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };

    ASSERT_EQ(QApplication::focusWidget(), &about.controls().get<QPushButton>(kOkButton));
    const QImage unfocused = home.grab().toImage();
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &home);
    EXPECT_NE(home.grab().toImage(), unfocused) << "the focus is not shown";
    press(Qt::Key_Return);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &support);
    press(Qt::Key_Space);
    ASSERT_EQ(launcher.openedAddresses().size(), 2);
    EXPECT_EQ(launcher.openedAddresses()[0], QUrl(QString::fromUtf8(kMakerHomePageAddress)));
    EXPECT_EQ(launcher.openedAddresses()[1], QUrl(QString::fromUtf8(kMakerContactPageAddress)));
    EXPECT_TRUE(about.isVisible()) << "Enter on a link is not the OK button";
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &about.controls().get<QPushButton>(kOkButton));

    for (widgets::HyperlinkLabel* link : {&home, &support}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::Link);
        EXPECT_EQ(accessible->text(QAccessible::Name), link->text());
        ASSERT_NE(accessible->actionInterface(), nullptr);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(launcher.openedAddresses().size(), 4);
}

}  // namespace
}  // namespace mixer
