#include "widgets/image_button.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "mixer/orvindel_art.h"
#include "tests/widgets/pixel_probe.h"

namespace {

using widget_tests::boundingBox;
using widget_tests::countPixels;
using widget_tests::render;
using widget_tests::sameColour;
using widgets::ImageButton;

const QColor kButtonFace(192, 192, 192);
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kIconRed(255, 0, 0);
const QColor kIconBlue(0, 0, 255);

QIcon solidIcon(const QColor& colour, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

void activate(QWidget& window) {
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QCoreApplication::processEvents();
}

void sendEnter(QWidget& widget) {
    const QPointF local(5, 5);
    QEnterEvent enter(local, widget.mapTo(widget.window(), local), widget.mapToGlobal(local));
    QApplication::sendEvent(&widget, &enter);
}

void sendLeave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

void sendMouse(QWidget& widget, QEvent::Type type) {
    const QPointF local(5, 5);
    QMouseEvent event(type, local, widget.mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

bool hasRaisedBorder(ImageButton& button) {
    const QImage image = render(button);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    return sameColour(image.pixel(0, 0), kHighlight) &&
           sameColour(image.pixel(right / 2, 0), kHighlight) &&
           sameColour(image.pixel(0, bottom / 2), kHighlight) &&
           sameColour(image.pixel(right, bottom / 2), kShadow) &&
           sameColour(image.pixel(right / 2, bottom), kShadow);
}

// Caption pixels: dark, and not the red of the test icons.
bool isCaptionInk(QRgb pixel) {
    return widget_tests::isDark(pixel) && !sameColour(pixel, kIconRed, 60);
}

bool showsNoBorder(ImageButton& button) {
    const QImage image = render(button);
    return sameColour(image.pixel(0, 0), kButtonFace) &&
           sameColour(image.pixel(image.width() - 1, image.height() - 1), kButtonFace);
}

class ImageButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setPalette(widget_tests::distinctPalette());
        window.resize(300, 200);
        button = new ImageButton(QStringLiteral("Mix"), &window);
        button->setGeometry(10, 10, 100, 80);
        next = new QPushButton(QStringLiteral("Next"), &window);
        next->setGeometry(150, 10, 60, 30);
        window.show();
        activate(window);
    }

    QWidget window;
    ImageButton* button = nullptr;
    QPushButton* next = nullptr;
};

TEST_F(ImageButtonTest, FlatButtonShowsBorderOnlyWhileHovered) {
    EXPECT_TRUE(showsNoBorder(*button));
    sendEnter(*button);
    EXPECT_TRUE(button->isHovered());
    EXPECT_TRUE(hasRaisedBorder(*button));
    sendLeave(*button);
    EXPECT_FALSE(button->isHovered());
    EXPECT_TRUE(showsNoBorder(*button));
}

TEST_F(ImageButtonTest, HoverEndsWhenTheButtonLosesFocus) {
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    sendEnter(*button);
    ASSERT_TRUE(hasRaisedBorder(*button));
    next->setFocus();
    ASSERT_FALSE(button->hasFocus());
    EXPECT_FALSE(button->isHovered());
    EXPECT_TRUE(showsNoBorder(*button));
}

TEST_F(ImageButtonTest, HoverEndsWhenTheWindowIsDeactivated) {
    sendEnter(*button);
    ASSERT_TRUE(hasRaisedBorder(*button));
    QWidget other;
    other.resize(50, 50);
    other.show();
    activate(other);
    ASSERT_FALSE(window.isActiveWindow());
    EXPECT_FALSE(button->isHovered());
    EXPECT_TRUE(showsNoBorder(*button));
}

TEST_F(ImageButtonTest, ButtonWithoutFlatLookKeepsARaisedEdgeAndIgnoresHover) {
    next->setFocus();
    button->setFlatLook(false);
    sendEnter(*button);
    EXPECT_FALSE(button->isHovered());
    const QImage image = render(*button);
    EXPECT_TRUE(sameColour(image.pixel(0, 0), kHighlight));
    EXPECT_TRUE(sameColour(image.pixel(image.width() - 1, image.height() - 1), QColor(0, 0, 0)));
    EXPECT_TRUE(sameColour(image.pixel(image.width() - 2, image.height() - 2), kShadow));

    // Focused: a black frame around the same edge.
    button->setFocus();
    const QImage focused = render(*button);
    EXPECT_TRUE(sameColour(focused.pixel(0, 0), QColor(0, 0, 0)));
    EXPECT_TRUE(sameColour(focused.pixel(1, 1), kHighlight));
}

TEST_F(ImageButtonTest, PressedFlatButtonShowsSunkenBorder) {
    button->setDown(true);
    const QImage image = render(*button);
    EXPECT_TRUE(sameColour(image.pixel(0, 0), kShadow));
    EXPECT_TRUE(sameColour(image.pixel(image.width() - 1, image.height() - 1), kHighlight));
}

TEST_F(ImageButtonTest, AlignmentOutsideTheRangeIsRefused) {
    ASSERT_EQ(button->setAlignment(widgets::IconAboveCaption), ImageButton::kResultOk);
    for (const int refused : {-1, 4, 17}) {
        EXPECT_EQ(button->setAlignment(refused), ImageButton::kResultAlignmentRefused);
        EXPECT_EQ(button->alignment(), widgets::IconAboveCaption);
    }
}

struct PlacementCase {
    int alignment;
    bool withCaption;
    bool pressed;
    QPoint expectedIconTopLeft;  // button 100 x 80, icon 20 x 20, margins 3, 3
};

class ImageButtonPlacementTest : public ImageButtonTest,
                                 public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(ImageButtonPlacementTest, IconSitsWhereTheAlignmentPutsIt) {
    const PlacementCase& placement = GetParam();
    button->setText(placement.withCaption ? QStringLiteral("Mix") : QString());
    button->setIcons(solidIcon(kIconRed, QSize(20, 20)), QSize(20, 20));
    ASSERT_EQ(button->setAlignment(placement.alignment), ImageButton::kResultOk);
    button->setDown(placement.pressed);
    const QImage image = render(*button);
    const auto icon = boundingBox(image, [](QRgb pixel) { return sameColour(pixel, kIconRed); });
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->topLeft(), placement.expectedIconTopLeft);
    EXPECT_EQ(icon->size(), QSize(20, 20));
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, ImageButtonPlacementTest,
    ::testing::Values(PlacementCase{0, true, false, {3, 30}},    // left, centred vertically
                      PlacementCase{0, false, false, {40, 30}},  // alone: centred
                      PlacementCase{1, true, false, {40, 3}},    // above: margin from the top
                      PlacementCase{1, false, false, {40, 30}},  // alone: centred
                      PlacementCase{2, true, false, {77, 30}},   // right: margin from the right
                      PlacementCase{2, false, false, {40, 30}},  // alone: centred
                      PlacementCase{3, true, false, {0, 0}},     // over: top-left corner
                      PlacementCase{0, true, true, {4, 31}},     // pressed: moved by 1, 1
                      PlacementCase{1, true, true, {41, 4}}));

TEST_F(ImageButtonTest, CaptionIsCentredBelowTheIconWithAlignmentAbove) {
    QFont font = button->font();
    font.setPixelSize(16);
    button->setFont(font);
    button->setIcons(solidIcon(kIconRed, QSize(20, 20)), QSize(20, 20));
    button->setAlignment(widgets::IconAboveCaption);
    const QImage image = render(*button);
    const auto caption = boundingBox(image, isCaptionInk);
    ASSERT_TRUE(caption.has_value());
    EXPECT_GE(caption->top(), 23);  // below the icon (3 + 20)
    const double captionCentre = (caption->left() + caption->right() + 1) / 2.0;
    EXPECT_NEAR(captionCentre, 50.0, 2.0);
}

TEST_F(ImageButtonTest, CaptionBesideTheIconStartsAfterIt) {
    button->setIcons(solidIcon(kIconRed, QSize(20, 20)), QSize(20, 20));
    button->setAlignment(widgets::IconLeftOfCaption);
    const auto leftCaption = boundingBox(render(*button), isCaptionInk);
    ASSERT_TRUE(leftCaption.has_value());
    EXPECT_GE(leftCaption->left(), 23);
    button->setAlignment(widgets::IconRightOfCaption);
    const auto rightCaption = boundingBox(render(*button), isCaptionInk);
    ASSERT_TRUE(rightCaption.has_value());
    EXPECT_LT(rightCaption->right(), 77);
}

TEST_F(ImageButtonTest, SecondIconShowsUntilHoveredOrPressed) {
    button->setIcons(solidIcon(kIconRed, QSize(20, 20)), QSize(20, 20),
                     solidIcon(kIconBlue, QSize(20, 20)));
    auto count = [this](const QColor& colour) {
        return countPixels(render(*button),
                           [&colour](QRgb pixel) { return sameColour(pixel, colour); });
    };
    EXPECT_EQ(count(kIconBlue), 400);
    EXPECT_EQ(count(kIconRed), 0);
    sendEnter(*button);
    EXPECT_EQ(count(kIconRed), 400);
    sendLeave(*button);
    button->setDown(true);
    EXPECT_EQ(count(kIconRed), 400);
}

TEST_F(ImageButtonTest, DisabledButtonIsEngravedGreyedAndGivesUpTheFocus) {
    QFont font = button->font();
    font.setPixelSize(24);
    font.setBold(true);
    button->setFont(font);
    button->setIcons(solidIcon(kIconRed, QSize(20, 20)), QSize(20, 20));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage enabled = render(*button);
    auto isHighlight = [](QRgb pixel) { return sameColour(pixel, kHighlight); };
    ASSERT_EQ(countPixels(enabled, isHighlight), 0);

    button->setEnabled(false);
    EXPECT_FALSE(button->hasFocus());
    EXPECT_TRUE(next->hasFocus());

    const QImage disabled = render(*button);
    // Engraved: highlight copy one pixel right and down of the shadow copy.
    int engravedPixels = 0;
    for (int y = 0; y + 1 < disabled.height(); ++y) {
        for (int x = 0; x + 1 < disabled.width(); ++x) {
            if (sameColour(disabled.pixel(x, y), kShadow) &&
                sameColour(disabled.pixel(x + 1, y + 1), kHighlight)) {
                ++engravedPixels;
            }
        }
    }
    EXPECT_GT(engravedPixels, 10);
    EXPECT_EQ(countPixels(disabled, widget_tests::isDark), 0);  // no black caption left
    // The icon is drawn in the disabled look: no pure red left.
    EXPECT_EQ(countPixels(disabled, [](QRgb pixel) { return sameColour(pixel, kIconRed, 40); }), 0);
}

// A parent that paints one colour, changeable between paints.
class PaintedParent : public QWidget {
  public:
    QColor colour = QColor(0, 160, 0);

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), colour);
    }
};

TEST(ImageButtonTransparency, KeepsTheSnapshotUntilThePaletteChanges) {
    PaintedParent parent;
    parent.resize(200, 120);
    auto* button = new ImageButton(QString(), &parent);
    button->setGeometry(20, 20, 60, 40);
    button->setDrawTransparent();
    parent.show();
    QCoreApplication::processEvents();

    const QPoint inside(30, 20);
    EXPECT_TRUE(sameColour(render(*button).pixel(inside), QColor(0, 160, 0)));
    EXPECT_TRUE(button->hasBackgroundSnapshot());

    parent.colour = QColor(0, 0, 200);
    parent.update();
    QCoreApplication::processEvents();
    EXPECT_TRUE(sameColour(render(*button).pixel(inside), QColor(0, 160, 0)));

    QPalette changed = parent.palette();
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    parent.setPalette(changed);
    EXPECT_FALSE(button->hasBackgroundSnapshot());
    EXPECT_TRUE(sameColour(render(*button).pixel(inside), QColor(0, 0, 200)));
}

TEST(ImageButtonTransparency, ScreenKeepsTheSnapshotAfterTheParentChanges) {
    PaintedParent parent;
    parent.resize(200, 120);
    auto* button = new ImageButton(QStringLiteral("Mix"), &parent);
    button->setGeometry(20, 20, 60, 40);
    button->setDrawTransparent();
    parent.show();
    QCoreApplication::processEvents();
    parent.repaint();
    EXPECT_TRUE(button->hasBackgroundSnapshot());

    parent.colour = QColor(0, 0, 200);
    parent.repaint();
    // What the window system was given, not a fresh rendering.
    const QImage screen = parent.screen()->grabWindow(parent.winId()).toImage();
    ASSERT_FALSE(screen.isNull());
    const qreal ratio = screen.devicePixelRatio();
    EXPECT_TRUE(sameColour(screen.pixel(QPoint(22, 22) * ratio), QColor(0, 160, 0)));
    EXPECT_TRUE(sameColour(screen.pixel(QPoint(150, 100) * ratio), QColor(0, 0, 200)));
}

TEST(ImageButtonTransparency, ShowsThePatternUnderItOnATiledParent) {
    class PatternParent : public QWidget {
      protected:
        void paintEvent(QPaintEvent*) override {
            QPainter painter(this);
            for (int y = 0; y < height(); ++y) {
                for (int x = 0; x < width(); ++x) {
                    painter.fillRect(x, y, 1, 1, QColor(x % 256, y % 256, (x * y) % 256));
                }
            }
        }
    };
    PatternParent parent;
    parent.resize(120, 90);
    auto* button = new ImageButton(QString(), &parent);
    button->setGeometry(33, 17, 40, 30);
    button->setDrawTransparent();
    parent.show();
    QCoreApplication::processEvents();
    const QImage image = render(*button);
    for (const QPoint point : {QPoint(5, 5), QPoint(20, 10), QPoint(38, 28)}) {
        const QPoint underneath = point + QPoint(33, 17);
        EXPECT_TRUE(sameColour(image.pixel(point), QColor(underneath.x(), underneath.y(),
                                                          (underneath.x() * underneath.y()) % 256)))
            << point.x() << "," << point.y();
    }
}

TEST(ImageButtonCursorAndTooltip, CursorLoadsFromTheArtOrReportsFailure) {
    ImageButton button;
    EXPECT_EQ(button.setHoverCursor(mixer::art::kHandCursor, mixer::art::kHandCursorHotSpot),
              ImageButton::kResultOk);
    EXPECT_TRUE(button.hasHoverCursor());
    EXPECT_EQ(button.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(button.cursor().hotSpot(), mixer::art::kHandCursorHotSpot);

    EXPECT_EQ(button.setHoverCursor(QStringLiteral(":/images/no_such_cursor.svg"), QPoint()),
              ImageButton::kResultCursorNotLoaded);
    EXPECT_FALSE(button.hasHoverCursor());
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);
}

TEST(ImageButtonCursorAndTooltip, TooltipCanBeDeactivatedAndIgnoresEmptyText) {
    ImageButton button;
    button.setTooltipText(QStringLiteral("Mix audio to video"));
    EXPECT_EQ(button.toolTip(), QStringLiteral("Mix audio to video"));
    button.setTooltipText(QString());
    EXPECT_EQ(button.toolTip(), QStringLiteral("Mix audio to video"));
    button.activateTooltip(widgets::TooltipActivation::Inactive);
    EXPECT_TRUE(button.toolTip().isEmpty());
    button.activateTooltip(widgets::TooltipActivation::Active);
    EXPECT_EQ(button.toolTip(), QStringLiteral("Mix audio to video"));
}

TEST_F(ImageButtonTest, DoubleClickCountsAsTwoClicks) {
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    sendMouse(*button, QEvent::MouseButtonPress);
    sendMouse(*button, QEvent::MouseButtonRelease);
    sendMouse(*button, QEvent::MouseButtonDblClick);
    sendMouse(*button, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ImageButtonTest, IconFilesLoadAtTheirStoredSize) {
    EXPECT_TRUE(button->setIconFiles(mixer::art::kMix));
    EXPECT_EQ(button->iconDrawSize(), QSize(32, 32));
    EXPECT_FALSE(button->setIconFiles(QStringLiteral(":/images/missing.svg")));
    EXPECT_FALSE(button->hasIcon());
}

}  // namespace

namespace {

TEST(ImageButtonKeyboard, ClicksLeaveTheFocusTabbedToButtonsTakeSpaceAndEnter) {
    // A plain window, not a dialog: Enter must press the focused button all the same.
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* button = new widgets::ImageButton(QStringLiteral("Mix"), &window);
    button->setGeometry(0, 30, 80, 30);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), edit) << "a click took the focus";

    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(button, key);
    }
    EXPECT_EQ(clicks, 4);
}

}  // namespace
