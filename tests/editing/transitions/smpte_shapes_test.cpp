// The shape of every SMPTE wipe pattern half way through (and, where the order matters,
// earlier), each check chosen so that a different pattern would fail it.

#include "transition_test_support.h"

#include <cmath>

namespace editing {
namespace {

using testing_support::BMask;
using testing_support::flatPicture;
using testing_support::kBlueB;
using testing_support::kRedA;
using testing_support::renderEffect;

BMask maskOf(int effectIndex, double progress, int width = 320, int height = 180) {
    const Picture from = flatPicture(width, height, kRedA);
    const Picture to = flatPicture(width, height, kBlueB);
    return BMask(renderEffect(effectIndex, from, to, progress), from, to);
}

TEST(SmpteShapes, HorizontalShowsBInTheLeftHalf) {
    for (const int width : {320, 321}) {
        const BMask mask = maskOf(17, 0.5, width, 239);
        for (int y = 0; y < mask.height(); y += 17) {
            EXPECT_TRUE(mask.isB(width / 2 - 2, y));
            EXPECT_FALSE(mask.isB(width / 2 + 1, y));
            EXPECT_TRUE(mask.isB(0, y));
            EXPECT_FALSE(mask.isB(width - 1, y));
        }
        EXPECT_NEAR(mask.shareB(), 0.5, 0.01);
    }
}

TEST(SmpteShapes, VerticalShowsBInTheTopHalf) {
    const BMask mask = maskOf(18, 0.5, 321, 239);
    for (int x = 0; x < mask.width(); x += 20) {
        EXPECT_TRUE(mask.isB(x, 239 / 2 - 2));
        EXPECT_FALSE(mask.isB(x, 239 / 2 + 1));
    }
    EXPECT_NEAR(mask.shareB(), 0.5, 0.01);
}

TEST(SmpteShapes, FourCornersFillTheCornersFirst) {
    const BMask mask = maskOf(19, 0.5);
    for (double x : {-0.8, 0.8}) {
        for (double y : {-0.8, 0.8}) {
            EXPECT_TRUE(mask.isBAtCentred(x, y));
        }
    }
    EXPECT_FALSE(mask.isBAtCentred(0, 0));
    EXPECT_FALSE(mask.isBAtCentred(0, -0.9));  // top midpoint
    EXPECT_FALSE(mask.isBAtCentred(-0.9, 0));  // left midpoint
    EXPECT_FALSE(mask.isBAtCentred(0.8, 0.3));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, BarnDoorsOpenACentredHorizontalBand) {
    const BMask mask = maskOf(20, 0.5);
    for (double x : {-0.95, 0.0, 0.95}) {
        EXPECT_TRUE(mask.isBAtCentred(x, 0.0));
        EXPECT_TRUE(mask.isBAtCentred(x, -0.4));
        EXPECT_TRUE(mask.isBAtCentred(x, 0.4));
        EXPECT_FALSE(mask.isBAtCentred(x, -0.6));
        EXPECT_FALSE(mask.isBAtCentred(x, 0.6));
    }
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, DiagonalFillsTheTopLeftTriangle) {
    const BMask mask = maskOf(21, 0.5);
    EXPECT_TRUE(mask.isBAt(0.05, 0.05));
    EXPECT_TRUE(mask.isBAt(0.9, 0.05));
    EXPECT_TRUE(mask.isBAt(0.05, 0.9));
    EXPECT_FALSE(mask.isBAt(0.95, 0.95));
    EXPECT_FALSE(mask.isBAt(0.6, 0.6));
    EXPECT_TRUE(mask.isBAt(0.4, 0.4));
}

TEST(SmpteShapes, TrianglesGrowFromTheTopAndBottomMidpoints) {
    const BMask mask = maskOf(22, 0.3);
    EXPECT_TRUE(mask.isBAtCentred(0, -0.95));
    EXPECT_TRUE(mask.isBAtCentred(0, 0.95));
    EXPECT_FALSE(mask.isBAtCentred(0, 0));
    EXPECT_FALSE(mask.isBAtCentred(-0.95, 0));
    EXPECT_FALSE(mask.isBAtCentred(-0.9, -0.95));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, LeftRightTrianglesGrowFromTheSideMidpoints) {
    const BMask mask = maskOf(23, 0.3);
    EXPECT_TRUE(mask.isBAtCentred(-0.95, 0));
    EXPECT_TRUE(mask.isBAtCentred(0.95, 0));
    EXPECT_FALSE(mask.isBAtCentred(0, 0));
    EXPECT_FALSE(mask.isBAtCentred(0, -0.95));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, StripeWidensAlongTheSouthWestToNorthEastDiagonal) {
    const BMask mask = maskOf(24, 0.3);
    EXPECT_TRUE(mask.isBAtCentred(0, 0));
    EXPECT_TRUE(mask.isBAtCentred(-0.9, 0.9));
    EXPECT_TRUE(mask.isBAtCentred(0.9, -0.9));
    EXPECT_FALSE(mask.isBAtCentred(-0.9, -0.9));
    EXPECT_FALSE(mask.isBAtCentred(0.9, 0.9));
}

TEST(SmpteShapes, CrossThickensAlongBothDiagonals) {
    const BMask mask = maskOf(25, 0.3);
    for (double x : {-0.9, -0.5, 0.0, 0.5, 0.9}) {
        EXPECT_TRUE(mask.isBAtCentred(x, x));
        EXPECT_TRUE(mask.isBAtCentred(x, -x));
    }
    EXPECT_FALSE(mask.isBAtCentred(0, -0.9));
    EXPECT_FALSE(mask.isBAtCentred(0.9, 0));
}

TEST(SmpteShapes, DiamondBoxThickensAnOutlineThroughTheEdgeMidpoints) {
    const BMask mask = maskOf(26, 0.3);
    EXPECT_TRUE(mask.isBAtCentred(0, -0.97));
    EXPECT_TRUE(mask.isBAtCentred(0.97, 0));
    EXPECT_TRUE(mask.isBAtCentred(0.5, 0.5));
    EXPECT_FALSE(mask.isBAtCentred(0, 0));
    EXPECT_FALSE(mask.isBAtCentred(0.95, 0.95));
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, WedgeTopOpensAVFromTheTopCentre) {
    const BMask early = maskOf(27, 0.1);
    EXPECT_TRUE(early.isBAtCentred(0, -0.95));
    EXPECT_FALSE(early.isBAtCentred(-0.9, -0.95));
    EXPECT_FALSE(early.isBAtCentred(0, 0.5));
    const BMask mask = maskOf(27, 0.5);
    EXPECT_TRUE(mask.isBAtCentred(0, 0.6));
    EXPECT_FALSE(mask.isBAtCentred(-0.6, 0.6));
    EXPECT_FALSE(mask.isBAtCentred(0.6, 0.6));
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, WedgeLeftOpensAVFromTheLeftMiddle) {
    const BMask early = maskOf(28, 0.1);
    EXPECT_TRUE(early.isBAtCentred(-0.95, 0));
    EXPECT_FALSE(early.isBAtCentred(-0.95, -0.9));
    const BMask mask = maskOf(28, 0.5);
    EXPECT_TRUE(mask.isBAtCentred(0.6, 0));
    EXPECT_FALSE(mask.isBAtCentred(0.6, -0.6));
    EXPECT_FALSE(mask.isBAtCentred(0.6, 0.6));
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, SawtoothLeftHasFiveTeethMovingRight) {
    const BMask mask = maskOf(29, 0.5, 320, 200);
    // Along a column just right of the middle, the teeth's tips reach past it five times.
    EXPECT_EQ(mask.bRunsInColumn(160), 5);
    EXPECT_TRUE(mask.isBAt(0.3, 0.5));
    EXPECT_FALSE(mask.isBAt(0.7, 0.5));
    EXPECT_EQ(mask.bRunsInRow(50), 1);
}

TEST(SmpteShapes, SawtoothTopHasFiveTeethMovingDown) {
    const BMask mask = maskOf(30, 0.5, 320, 200);
    EXPECT_EQ(mask.bRunsInRow(100), 5);
    EXPECT_TRUE(mask.isBAt(0.5, 0.3));
    EXPECT_FALSE(mask.isBAt(0.5, 0.7));
}

TEST(SmpteShapes, SawtoothVerticalSplitsFromTheVerticalCentreLine) {
    const BMask mask = maskOf(31, 0.5, 320, 200);
    EXPECT_TRUE(mask.isBAtCentred(0, 0.1));
    EXPECT_FALSE(mask.isBAtCentred(-0.9, 0.1));
    EXPECT_FALSE(mask.isBAtCentred(0.9, 0.1));
    EXPECT_EQ(mask.bRunsInColumn(80), 5);   // |2u - 1| = 1/2 on the left
    EXPECT_EQ(mask.bRunsInColumn(239), 5);  // and on the right
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, SawtoothHorizontalSplitsFromTheHorizontalCentreLine) {
    const BMask mask = maskOf(32, 0.5, 320, 200);
    EXPECT_TRUE(mask.isBAtCentred(0.1, 0));
    EXPECT_FALSE(mask.isBAtCentred(0.1, -0.9));
    EXPECT_EQ(mask.bRunsInRow(50), 5);
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, BoxIsACentredRectangleOfTheFramesProportions) {
    for (const int width : {320, 321}) {
        const BMask mask = maskOf(33, 0.5, width, 239);
        EXPECT_TRUE(mask.mirrorsLeftRight());
        EXPECT_TRUE(mask.mirrorsTopBottom());
        EXPECT_TRUE(mask.isBAtCentred(0.45, 0.45));
        EXPECT_FALSE(mask.isBAtCentred(0.55, 0));
        EXPECT_FALSE(mask.isBAtCentred(0, 0.55));
        EXPECT_NEAR(mask.shareB(), 0.25, 0.02);
    }
}

TEST(SmpteShapes, DiamondHasItsPointsAtTheAxes) {
    const BMask mask = maskOf(34, 0.5);
    EXPECT_TRUE(mask.isBAtCentred(0.9, 0));
    EXPECT_TRUE(mask.isBAtCentred(0, -0.9));
    EXPECT_TRUE(mask.isBAtCentred(0.4, 0.4));
    EXPECT_FALSE(mask.isBAtCentred(0.6, 0.6));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, HexagonReachesFurtherToItsSidePointsThanToItsFlatTop) {
    const BMask mask = maskOf(35, 0.3, 320, 240);
    const double sideways = mask.bReachFromCentre(1, 0);
    const double upward = mask.bReachFromCentre(0, -1);
    EXPECT_NEAR(sideways / upward, 2.0 / std::sqrt(3.0), 0.05);
    // Towards 60 degrees from the horizontal lies a vertex again: reach there matches
    // sideways, unlike a circle's or an oval's.
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, CircleIsRoundInPixelsOnAWideFrame) {
    for (const int width : {320, 321}) {
        const BMask mask = maskOf(36, 0.5, width, 181);
        const int sideways = mask.bReachFromCentre(1, 0);
        const int upward = mask.bReachFromCentre(0, 1);
        const int diagonal = mask.bReachFromCentre(1, 1);
        EXPECT_NEAR(sideways, upward, 1);
        EXPECT_NEAR(diagonal * std::sqrt(2.0), sideways, 2);
        EXPECT_TRUE(mask.mirrorsLeftRight());
        EXPECT_TRUE(mask.mirrorsTopBottom());
    }
}

TEST(SmpteShapes, OvalIsTwiceAsWideAsTall) {
    const BMask mask = maskOf(37, 0.3, 320, 240);
    const double ratio =
        static_cast<double>(mask.bReachFromCentre(1, 0)) / mask.bReachFromCentre(0, 1);
    EXPECT_NEAR(ratio, 2.0, 0.1);
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, RoundedRectangleIsWideWithRoundedCorners) {
    const BMask mask = maskOf(38, 0.3, 320, 240);
    const int halfWidth = mask.bReachFromCentre(1, 0);
    const int halfHeight = mask.bReachFromCentre(0, 1);
    EXPECT_NEAR(static_cast<double>(halfWidth) / halfHeight, 2.0, 0.1);
    const int cx = 160;
    const int cy = 120;
    // Fuller than an ellipse towards its corners, but the corners themselves are cut off.
    EXPECT_TRUE(mask.isB(cx + halfWidth * 9 / 10, cy + halfHeight * 8 / 10));
    EXPECT_FALSE(mask.isB(cx + halfWidth * 98 / 100, cy + halfHeight * 98 / 100));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(SmpteShapes, FourPointStarHasTipsOnTheAxesAndValleysHalfAsFar) {
    const BMask mask = maskOf(39, 0.25, 320, 240);
    const double up = mask.bReachFromCentre(0, -1);
    const double right = mask.bReachFromCentre(1, 0);
    const double diagonal = mask.bReachFromCentre(1, -1) * std::sqrt(2.0);
    EXPECT_NEAR(up, right, 2);
    EXPECT_NEAR(up / diagonal, 2.0, 0.2);
}

TEST(SmpteShapes, FivePointStarPointsUp) {
    const BMask mask = maskOf(40, 0.25, 320, 240);
    const double up = mask.bReachFromCentre(0, -1);
    const double down = mask.bReachFromCentre(0, 1);  // a valley of a star pointing up
    EXPECT_GT(up / down, 2.2);
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, HeartHasTwoLobesOnTopAndAPointBelow) {
    const BMask mask = maskOf(41, 0.3, 320, 240);
    EXPECT_TRUE(mask.mirrorsLeftRight());
    // Rows of B: find the top and bottom of the shape.
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < mask.height(); ++y) {
        if (mask.bRunsInRow(y) > 0) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    ASSERT_GE(top, 0);
    const int height = bottom - top;
    ASSERT_GT(height, 20);
    // Two lobes near the top: the centre column starts lower than a column half way out.
    const int halfWidth = mask.bReachFromCentre(1, 0);
    auto firstBInColumn = [&](int x) {
        for (int y = 0; y < mask.height(); ++y) {
            if (mask.isB(x, y)) {
                return y;
            }
        }
        return mask.height();
    };
    EXPECT_GT(firstBInColumn(160), firstBInColumn(160 + halfWidth / 2) + 2);
    EXPECT_EQ(mask.bRunsInRow(top + 1), 2);
    // The point: rows near the bottom are much narrower than rows near the top.
    auto widthOfRow = [&](int y) {
        int count = 0;
        for (int x = 0; x < mask.width(); ++x) {
            count += mask.isB(x, y) ? 1 : 0;
        }
        return count;
    };
    EXPECT_LT(widthOfRow(bottom - height / 10), widthOfRow(top + height / 3) / 3);
}

TEST(SmpteShapes, RadialLeftSweepsTheUpperHalfFirst) {
    const BMask mask = maskOf(42, 0.5, 320, 181);
    for (int x = 5; x < 320; x += 30) {
        EXPECT_TRUE(mask.isB(x, 85));
        EXPECT_FALSE(mask.isB(x, 95));
    }
    const BMask early = maskOf(42, 0.2, 320, 181);
    EXPECT_TRUE(early.isBAt(0.05, 0.05));
    EXPECT_FALSE(early.isBAt(0.9, 0.05));
    EXPECT_FALSE(early.isBAt(0.05, 0.95));
}

TEST(SmpteShapes, RadialTopSplitOpensFromStraightDown) {
    const BMask mask = maskOf(43, 0.3);
    EXPECT_TRUE(mask.isBAt(0.5, 0.95));
    EXPECT_TRUE(mask.isBAt(0.5, 0.3));
    EXPECT_FALSE(mask.isBAt(0.05, 0.5));
    EXPECT_FALSE(mask.isBAt(0.95, 0.5));
    EXPECT_TRUE(mask.mirrorsLeftRight());
}

TEST(SmpteShapes, RadialTopRightCornerSweepsFromTheTopEdge) {
    const BMask mask = maskOf(44, 0.3);
    EXPECT_TRUE(mask.isBAt(0.05, 0.05));
    EXPECT_TRUE(mask.isBAt(0.5, 0.1));
    EXPECT_FALSE(mask.isBAt(0.95, 0.95));
    EXPECT_FALSE(mask.isBAt(0.05, 0.95));
}

TEST(SmpteShapes, CenterRadialTopSwingsTwoDoorsFromTheTopCorners) {
    const BMask mask = maskOf(45, 0.3);
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.isBAt(0.45, 0.1));
    EXPECT_TRUE(mask.isBAt(0.55, 0.1));
    EXPECT_FALSE(mask.isBAt(0.05, 0.9));
    EXPECT_FALSE(mask.isBAt(0.95, 0.9));
}

// Cell (column, row) of an 8 x 8 grid shows B at its centre.
bool matrixCellIsB(const BMask& mask, int column, int row) {
    return mask.isBAt((column + 0.5) / 8, (row + 0.5) / 8);
}

TEST(SmpteShapes, MatrixFillsCellsInSnakeOrder) {
    // Twelve of the 64 cells: the first row left to right, then the right half of the second.
    const BMask mask = maskOf(46, 11.5 / 63.0);
    for (int column = 0; column < 8; ++column) {
        EXPECT_TRUE(matrixCellIsB(mask, column, 0)) << column;
        EXPECT_EQ(matrixCellIsB(mask, column, 1), column >= 4) << column;
        EXPECT_FALSE(matrixCellIsB(mask, column, 2)) << column;
    }
    const BMask later = maskOf(46, 17.5 / 63.0);  // 18 cells: rows 0, 1 and two of row 2
    EXPECT_TRUE(matrixCellIsB(later, 1, 2));
    EXPECT_FALSE(matrixCellIsB(later, 2, 2));
    EXPECT_FALSE(matrixCellIsB(later, 7, 2));
}

}  // namespace
}  // namespace editing
