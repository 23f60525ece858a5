#include "widgets/multi_line_label.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include <vector>

#include "tests/widgets/pixel_probe.h"

namespace {

using widget_tests::boundingBox;
using widget_tests::sameColour;
using widgets::LineAlignment;
using widgets::MultiLineLabel;

const QColor kGround(120, 220, 120);  // light: text pixels are the only dark ones

// A parent that paints a plain ground and remembers which areas it was asked to repaint.
class GroundParent : public QWidget {
  public:
    QRegion repainted;

  protected:
    void paintEvent(QPaintEvent* event) override {
        repainted += event->region();
        QPainter painter(this);
        painter.fillRect(rect(), kGround);
    }
};

// Top rows of the runs of rows that hold text pixels.
std::vector<int> lineTops(const QImage& image) {
    std::vector<int> tops;
    bool inRun = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x) {
            ink = widget_tests::isDark(image.pixel(x, y));
        }
        if (ink && !inRun) {
            tops.push_back(y);
        }
        inRun = ink;
    }
    return tops;
}

class MultiLineLabelTest : public ::testing::Test {
  protected:
    MultiLineLabel* makeLabel(const QString& templateText,
                              LineAlignment alignment = LineAlignment::Left) {
        auto* label = new MultiLineLabel(templateText, alignment, &parent);
        QFont font = label->font();
        font.setPixelSize(16);
        label->setFont(font);
        label->setGeometry(10, 10, 240, 80);
        label->show();
        return label;
    }

    void SetUp() override {
        parent.resize(300, 120);
        parent.show();
    }

    // The label as it appears on its parent.
    QImage seen(const MultiLineLabel& label) {
        QImage image =
            parent.grab(label.geometry()).toImage().convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1.0);
        return image;
    }

    GroundParent parent;
};

TEST_F(MultiLineLabelTest, SecondLineIsOneLineHeightPlusOneBelowTheFirst) {
    MultiLineLabel* label = makeLabel(QString());
    label->setText(QStringLiteral("Volume\nVolume"));
    EXPECT_EQ(label->lineCount(), 2);
    const std::vector<int> tops = lineTops(seen(*label));
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_EQ(tops[1] - tops[0], QFontMetrics(label->font()).height() + 1);
}

TEST_F(MultiLineLabelTest, TemplateTextShowsOnlyItsFirstLineUntilTextIsSet) {
    MultiLineLabel* label = makeLabel(QStringLiteral("Output\nto:"));
    EXPECT_EQ(lineTops(seen(*label)).size(), 1u);
    label->setText(QStringLiteral("Output\nto:"));
    EXPECT_EQ(lineTops(seen(*label)).size(), 2u);
}

TEST_F(MultiLineLabelTest, WindowTextStaysTheTemplateText) {
    MultiLineLabel* label = makeLabel(QStringLiteral("Volume:"));
    label->setText(QStringLiteral("Status : Recording"));
    EXPECT_EQ(label->windowText(), QStringLiteral("Volume:"));
    EXPECT_EQ(label->text(), QStringLiteral("Status : Recording"));
}

TEST_F(MultiLineLabelTest, TextLengthsAreBounded) {
    MultiLineLabel* label = makeLabel(QString(300, QLatin1Char('t')));
    EXPECT_EQ(label->windowText().size(), MultiLineLabel::kMaximumTemplateTextLength);
    label->setText(QString(2000, QLatin1Char('x')));
    EXPECT_EQ(label->text().size(), MultiLineLabel::kMaximumTextLength);
}

TEST_F(MultiLineLabelTest, LinesAreAlignedEachOnItsOwnWidth) {
    struct Case {
        LineAlignment alignment;
        const char* name;
    };
    for (const Case& alignment :
         {Case{LineAlignment::Left, "left"}, Case{LineAlignment::Centre, "centre"},
          Case{LineAlignment::Right, "right"}}) {
        MultiLineLabel* label = makeLabel(QString(), alignment.alignment);
        label->setText(QStringLiteral("III\nIIIIIIIIIIII"));
        const QImage image = seen(*label);
        const int lineHeight = QFontMetrics(label->font()).height();
        for (int line = 0; line < 2; ++line) {
            const QImage band = image.copy(0, line * (lineHeight + 1), image.width(), lineHeight);
            const auto ink = boundingBox(band, widget_tests::isDark);
            ASSERT_TRUE(ink.has_value()) << alignment.name;
            if (alignment.alignment == LineAlignment::Left) {
                EXPECT_NEAR(ink->left(), 2, 2) << alignment.name;
            } else if (alignment.alignment == LineAlignment::Centre) {
                EXPECT_NEAR((ink->left() + ink->right() + 1) / 2.0, image.width() / 2.0, 2)
                    << alignment.name;
            } else {
                EXPECT_NEAR(ink->right() + 1, image.width() - 2, 2) << alignment.name;
            }
        }
        delete label;
    }
}

TEST_F(MultiLineLabelTest, PaintsNoBackgroundOfItsOwn) {
    MultiLineLabel* label = makeLabel(QString());
    label->setText(QStringLiteral("Max"));
    const QImage image = seen(*label);
    EXPECT_TRUE(sameColour(image.pixel(image.width() - 5, image.height() - 5), kGround));
    EXPECT_TRUE(sameColour(image.pixel(0, 0), kGround));
}

TEST_F(MultiLineLabelTest, DisabledLabelDrawsTheOffsetCopyInTheDisabledColour) {
    MultiLineLabel* label = makeLabel(QString());
    label->setText(QStringLiteral("Volume:"));
    label->setTextColour(QColor(0, 0, 0));
    label->setDisabledColour(QColor(255, 255, 255));
    auto isWhite = [](QRgb pixel) { return sameColour(pixel, QColor(255, 255, 255)); };
    EXPECT_FALSE(boundingBox(seen(*label), isWhite).has_value());
    label->setEnabled(false);
    const QImage image = seen(*label);
    const auto copy = boundingBox(image, isWhite);
    const auto text = boundingBox(image, widget_tests::isDark);
    ASSERT_TRUE(copy.has_value());
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(copy->bottomRight(), text->bottomRight() + QPoint(1, 1));
}

TEST_F(MultiLineLabelTest, SettingTextRepaintsTheParentAroundTheLabel) {
    MultiLineLabel* label = makeLabel(QString());
    QCoreApplication::processEvents();
    parent.repainted = QRegion();
    label->setText(QStringLiteral("Status : Ready"));
    // The pending updates arrive as one paint event; repainting the whole parent here would
    // make the check pass whatever the label asked for.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // QRegion::contains(QRect) only asks for an overlap; every pixel of the area must be in.
    const QRect around = label->geometry().adjusted(-3, -3, 3, 3);
    EXPECT_TRUE(QRegion(around).subtracted(parent.repainted).isEmpty())
        << "repainted " << parent.repainted.boundingRect().x() << ","
        << parent.repainted.boundingRect().y() << " " << parent.repainted.boundingRect().width()
        << "x" << parent.repainted.boundingRect().height();
}

}  // namespace
