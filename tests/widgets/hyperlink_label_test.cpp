#include "widgets/hyperlink_label.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "tests/support/temporary_folder.h"
#include "tests/widgets/pixel_probe.h"
#include "widgets/hyperlink_failure_text.h"
#include "widgets/testing/recording_launcher.h"
#include "widgets/testing/scripted_prompt.h"

namespace {

using widget_tests::countPixels;
using widget_tests::render;
using widget_tests::sameColour;
using widgets::HyperlinkLabel;
using widgets::UnderlineMode;

void click(QWidget& widget) {
    const QPointF local(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, local, widget.mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, widget.mapToGlobal(local),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

void sendEnter(QWidget& widget) {
    const QPointF local(2, 2);
    QEnterEvent enter(local, widget.mapTo(widget.window(), local), widget.mapToGlobal(local));
    QApplication::sendEvent(&widget, &enter);
}

void sendLeave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

int pixelsOf(QWidget& widget, const QColor& colour) {
    return countPixels(render(widget), [&colour](QRgb pixel) { return sameColour(pixel, colour); });
}

class HyperlinkLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 100);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Qt::white);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        label = new HyperlinkLabel(QStringLiteral("Homepage"), launcher, prompt, &window);
        QFont font = label->font();
        font.setPixelSize(22);
        font.setBold(true);
        label->setFont(font);
        label->setGeometry(20, 20, 200, 30);
        window.show();
    }

    widgets::testing::RecordingLauncher launcher;
    widgets::testing::ScriptedPrompt prompt;
    QWidget window;
    HyperlinkLabel* label = nullptr;
};

TEST_F(HyperlinkLabelTest, TurnsFromLinkToVisitedColourOnlyAfterASuccessfulOpen) {
    label->setAddress(QStringLiteral("https://example.org/korvane"));
    EXPECT_GT(pixelsOf(*label, HyperlinkLabel::kLinkColour), 0);
    EXPECT_EQ(pixelsOf(*label, HyperlinkLabel::kVisitedColour), 0);

    launcher.queueResult(false);
    click(*label);
    EXPECT_FALSE(label->isVisited());
    EXPECT_GT(pixelsOf(*label, HyperlinkLabel::kLinkColour), 0);

    click(*label);
    ASSERT_EQ(launcher.openedAddresses().size(), 2);
    EXPECT_EQ(launcher.openedAddresses().last(),
              QUrl(QStringLiteral("https://example.org/korvane")));
    EXPECT_TRUE(label->isVisited());
    EXPECT_GT(pixelsOf(*label, HyperlinkLabel::kVisitedColour), 0);
    EXPECT_EQ(pixelsOf(*label, HyperlinkLabel::kLinkColour), 0);
}

TEST_F(HyperlinkLabelTest, HoverShowsTheHoverColourAndUnderline) {
    EXPECT_FALSE(label->font().underline());
    sendEnter(*label);
    EXPECT_TRUE(label->font().underline());
    EXPECT_GT(pixelsOf(*label, HyperlinkLabel::kHoverColour), 0);
    EXPECT_EQ(pixelsOf(*label, HyperlinkLabel::kLinkColour), 0);
    sendLeave(*label);
    EXPECT_FALSE(label->font().underline());
    EXPECT_EQ(pixelsOf(*label, HyperlinkLabel::kHoverColour), 0);
}

TEST_F(HyperlinkLabelTest, UnderlineModesDecideWhenTheTextIsUnderlined) {
    struct Case {
        UnderlineMode mode;
        bool underlinedAtRest;
        bool underlinedWhileHovered;
    };
    for (const Case& mode :
         {Case{UnderlineMode::WhileHovered, false, true}, Case{UnderlineMode::Never, false, false},
          Case{UnderlineMode::Always, true, true}}) {
        label->setUnderlineMode(mode.mode);
        EXPECT_EQ(label->font().underline(), mode.underlinedAtRest);
        sendEnter(*label);
        EXPECT_EQ(label->font().underline(), mode.underlinedWhileHovered);
        sendLeave(*label);
        EXPECT_EQ(label->font().underline(), mode.underlinedAtRest);
    }
}

TEST_F(HyperlinkLabelTest, FailureShowsTheMatchingLineWithAWarning) {
    label->setAddress(QStringLiteral("https://example.org/"));
    launcher.setAlwaysFail(true);
    click(*label);
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests()[0].text,
              QStringLiteral("Unable to open hyperlink:\n\nThere is no application associated\n"
                             "with the given filename extension."));
    EXPECT_EQ(prompt.requests()[0].icon, base::PromptIcon::Warning);
    EXPECT_EQ(prompt.requests()[0].buttons, base::PromptButtons::Ok);
    EXPECT_FALSE(label->isVisited());
}

TEST_F(HyperlinkLabelTest, MissingLocalFileIsReportedAsNotFound) {
    test_support::TemporaryFolder folder;
    label->setAddress(QString::fromStdString(folder.file("help/missing.htm")));
    launcher.setAlwaysFail(true);
    click(*label);
    ASSERT_EQ(prompt.requests().size(), 1);
    EXPECT_EQ(prompt.requests()[0].text,
              QStringLiteral("Unable to open hyperlink:\n\nThe specified path was not found."));
}

TEST_F(HyperlinkLabelTest, EmptyAddressOpensTheTextAndEmptyTextShowsTheAddress) {
    auto* textOnly = new HyperlinkLabel(QStringLiteral("https://example.org/support"), launcher,
                                        prompt, &window);
    EXPECT_EQ(textOnly->address(), QStringLiteral("https://example.org/support"));
    EXPECT_EQ(textOnly->toolTip(), QStringLiteral("https://example.org/support"));
    click(*textOnly);
    ASSERT_EQ(launcher.openedAddresses().size(), 1);
    EXPECT_EQ(launcher.openedAddresses()[0], QUrl(QStringLiteral("https://example.org/support")));

    auto* addressOnly = new HyperlinkLabel(QString(), launcher, prompt, &window);
    addressOnly->setAddress(QStringLiteral("https://example.org/contact"));
    EXPECT_EQ(addressOnly->text(), QStringLiteral("https://example.org/contact"));
    EXPECT_EQ(addressOnly->toolTip(), QStringLiteral("https://example.org/contact"));
}

TEST_F(HyperlinkLabelTest, RefitKeepsTheEdgeOrCentreTheAlignmentNames) {
    struct Case {
        Qt::Alignment alignment;
        const char* name;
    };
    const QRect original(50, 10, 300, 40);
    for (const Case& alignment : {Case{Qt::AlignHCenter | Qt::AlignVCenter, "centre"},
                                  Case{Qt::AlignRight | Qt::AlignTop, "right"},
                                  Case{Qt::AlignLeft | Qt::AlignTop, "left"}}) {
        label->setAlignment(alignment.alignment);
        label->setGeometry(original);
        label->setText(QStringLiteral("Short"));
        const QRect fitted = label->geometry();
        QFont underlined = label->font();
        underlined.setUnderline(true);
        EXPECT_EQ(fitted.width(),
                  QFontMetrics(underlined).horizontalAdvance(QStringLiteral("Short")))
            << alignment.name;
        EXPECT_LT(fitted.width(), original.width());
        if (alignment.alignment.testFlag(Qt::AlignHCenter)) {
            EXPECT_NEAR(fitted.center().x(), original.center().x(), 1) << alignment.name;
            EXPECT_NEAR(fitted.center().y(), original.center().y(), 1) << alignment.name;
        } else if (alignment.alignment.testFlag(Qt::AlignRight)) {
            EXPECT_EQ(fitted.right(), original.right()) << alignment.name;
            EXPECT_EQ(fitted.top(), original.top()) << alignment.name;
        } else {
            EXPECT_EQ(fitted.left(), original.left()) << alignment.name;
            EXPECT_EQ(fitted.top(), original.top()) << alignment.name;
        }
    }
}

TEST_F(HyperlinkLabelTest, FitsItsTextWhenFirstShown) {
    QFont underlined = label->font();
    underlined.setUnderline(true);
    EXPECT_EQ(label->width(),
              QFontMetrics(underlined).horizontalAdvance(QStringLiteral("Homepage")));
    EXPECT_EQ(label->x(), 20);
}

TEST_F(HyperlinkLabelTest, NoRefitWhileAdjustToFitIsOff) {
    label->setAdjustToFit(false);
    label->setGeometry(50, 10, 300, 40);
    label->setText(QStringLiteral("Short"));
    EXPECT_EQ(label->geometry(), QRect(50, 10, 300, 40));
}

TEST(HyperlinkFailureText, EveryResultCodeHasItsLine) {
    const std::vector<std::pair<int, const char*>> table = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The program file is invalid\n(not a program this system can run)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The desktop could not\nopen it because the request timed out."},
        {29, "The desktop failed to open it."},
        {30, "The desktop could not\nopen it because other requests\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified shared library was not found."},
        {1, "Unknown Error (1) occurred."},
        {7, "Unknown Error (7) occurred."},
        {-5, "Unknown Error (-5) occurred."},
    };
    for (const auto& [code, text] : table) {
        EXPECT_EQ(widgets::hyperlinkFailureText(code), QString::fromLatin1(text)) << code;
    }
    EXPECT_EQ(widgets::hyperlinkFailureMessage(2),
              QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
}

TEST(HyperlinkFailureText, FailedOpensMapOntoTheNearestLine) {
    test_support::TemporaryFolder folder;
    const QString missingFile = QString::fromStdString(folder.file("missing.htm"));
    const QString missingFolder = QString::fromStdString(folder.file("nowhere/missing.htm"));
    EXPECT_EQ(widgets::resultCodeForFailedOpen(QUrl::fromLocalFile(missingFile)),
              widgets::open_result::kFileNotFound);
    EXPECT_EQ(widgets::resultCodeForFailedOpen(QUrl::fromLocalFile(missingFolder)),
              widgets::open_result::kPathNotFound);
    EXPECT_EQ(widgets::resultCodeForFailedOpen(QUrl(QStringLiteral("https://example.org/"))),
              widgets::open_result::kNoAssociation);
    EXPECT_EQ(widgets::resultCodeForFailedOpen(
                  QUrl::fromLocalFile(QString::fromStdString(folder.path().string()))),
              widgets::open_result::kNoAssociation);
}

}  // namespace
