// The look of the 16 named effects: shapes of the wipes half way through, the order of the
// cell effects, the random effects' share and reproducibility, and the blends' and geometric
// effects' pixel values.

#include "transition_test_support.h"

#include "editing/transitions/geometric_transitions.h"

#include <cmath>
#include <cstdlib>

namespace editing {
namespace {

using testing_support::BMask;
using testing_support::firstDifferingPlane;
using testing_support::flatPicture;
using testing_support::kBlueB;
using testing_support::kRedA;
using testing_support::renderEffect;
using testing_support::texturedPicture;

BMask maskOf(int effectIndex, double progress, int width = 320, int height = 180,
             std::uint32_t seed = 7) {
    const Picture from = flatPicture(width, height, kRedA);
    const Picture to = flatPicture(width, height, kBlueB);
    return BMask(renderEffect(effectIndex, from, to, progress, seed), from, to);
}

TEST(NamedEffects, IrisOpensAPlusSign) {
    const BMask mask = maskOf(1, 0.5);
    EXPECT_TRUE(mask.isBAtCentred(0, 0));
    EXPECT_TRUE(mask.isBAtCentred(0.9, 0.1));
    EXPECT_TRUE(mask.isBAtCentred(-0.1, -0.9));
    EXPECT_FALSE(mask.isBAtCentred(0.6, 0.6));
    EXPECT_FALSE(mask.isBAtCentred(-0.6, 0.6));
    EXPECT_TRUE(mask.mirrorsLeftRight());
    EXPECT_TRUE(mask.mirrorsTopBottom());
}

TEST(NamedEffects, RadialWipeSweepsClockwiseFromTwelve) {
    const BMask quarter = maskOf(2, 0.25, 320, 320);
    EXPECT_TRUE(quarter.isBAt(0.6, 0.1));
    EXPECT_TRUE(quarter.isBAt(0.9, 0.4));
    EXPECT_FALSE(quarter.isBAt(0.4, 0.1));
    EXPECT_FALSE(quarter.isBAt(0.9, 0.6));
    EXPECT_NEAR(quarter.shareB(), 0.25, 0.01);
    const BMask half = maskOf(2, 0.5, 320, 320);
    EXPECT_TRUE(half.isBAt(0.9, 0.9));
    EXPECT_FALSE(half.isBAt(0.1, 0.9));
    EXPECT_FALSE(half.isBAt(0.1, 0.1));
}

// Cell (column, row) of `columns` square cells across shows B at its centre.
bool squareCellIsB(const BMask& mask, int columns, int column, int row) {
    const double cell = static_cast<double>(mask.width()) / columns;
    return mask.isB(static_cast<int>((column + 0.5) * cell), static_cast<int>((row + 0.5) * cell));
}

TEST(NamedEffects, ZigZagSwitchesSixteenSquareCellsAcrossInSnakeOrder) {
    // 320 x 180: cells of 20 pixels, 16 x 9 of them; 20 cells switched.
    const BMask mask = maskOf(4, 19.5 / 143.0);
    for (int column = 0; column < 16; ++column) {
        EXPECT_TRUE(squareCellIsB(mask, 16, column, 0)) << column;
        EXPECT_EQ(squareCellIsB(mask, 16, column, 1), column >= 12) << column;
        EXPECT_FALSE(squareCellIsB(mask, 16, column, 2)) << column;
    }
    EXPECT_EQ(mask.countB(), 20 * 20 * 20);
}

TEST(NamedEffects, SpiralGoesClockwiseFromTheTopLeftInward) {
    // 16 x 9 cells: the top row (16), down the right column (8), back along the bottom row.
    const BMask mask = maskOf(6, 27.5 / 143.0);  // 28 cells
    for (int column = 0; column < 16; ++column) {
        EXPECT_TRUE(squareCellIsB(mask, 16, column, 0)) << column;
    }
    for (int row = 1; row < 9; ++row) {
        EXPECT_TRUE(squareCellIsB(mask, 16, 15, row)) << row;
        EXPECT_FALSE(squareCellIsB(mask, 16, 0, row)) << row;
        EXPECT_FALSE(squareCellIsB(mask, 16, 7, row)) << row;
    }
    for (int column = 11; column < 15; ++column) {
        EXPECT_TRUE(squareCellIsB(mask, 16, column, 8)) << column;
    }
    EXPECT_FALSE(squareCellIsB(mask, 16, 10, 8));
    EXPECT_FALSE(squareCellIsB(mask, 16, 14, 7));
}

TEST(NamedEffects, RandomBarsSwitchWholeRowsReproducibly) {
    const BMask mask = maskOf(5, 0.4, 200, 150, 42);
    int rowsOfB = 0;
    for (int y = 0; y < 150; ++y) {
        const bool first = mask.isB(0, y);
        for (int x = 1; x < 200; ++x) {
            ASSERT_EQ(mask.isB(x, y), first) << "row " << y;
        }
        rowsOfB += first ? 1 : 0;
    }
    EXPECT_NEAR(rowsOfB, 60, 1);
    // Not simply the top rows.
    EXPECT_LT(mask.bRunsInColumn(0), rowsOfB);
    EXPECT_GT(mask.bRunsInColumn(0), 10);
    const BMask again = maskOf(5, 0.4, 200, 150, 42);
    const BMask otherSeed = maskOf(5, 0.4, 200, 150, 43);
    int sameAgain = 0;
    int sameOther = 0;
    for (int y = 0; y < 150; ++y) {
        sameAgain += again.isB(0, y) == mask.isB(0, y) ? 1 : 0;
        sameOther += otherSeed.isB(0, y) == mask.isB(0, y) ? 1 : 0;
    }
    EXPECT_EQ(sameAgain, 150);
    EXPECT_LT(sameOther, 140);
}

TEST(NamedEffects, RandomDissolveSwitchesScatteredPixelsReproducibly) {
    for (double progress : {0.1, 0.5, 0.9}) {
        const BMask mask = maskOf(16, progress, 200, 150, 42);
        EXPECT_NEAR(mask.shareB(), progress, 0.02);
    }
    const BMask mask = maskOf(16, 0.5, 200, 150, 42);
    EXPECT_GT(mask.bRunsInRow(75), 30);
    EXPECT_GT(mask.bRunsInColumn(100), 20);
    const BMask again = maskOf(16, 0.5, 200, 150, 42);
    const BMask otherSeed = maskOf(16, 0.5, 200, 150, 43);
    int sameAgain = 0;
    int sameOther = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            sameAgain += again.isB(x, y) == mask.isB(x, y) ? 1 : 0;
            sameOther += otherSeed.isB(x, y) == mask.isB(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(sameAgain, 200 * 150);
    EXPECT_LT(sameOther, 200 * 150 * 6 / 10);
}

TEST(NamedEffects, WheelFansFourWedgesClockwise) {
    const BMask mask = maskOf(8, 0.5, 320, 320);
    // In each quarter of the turn, the first half (clockwise) shows B.
    const double step = std::acos(-1.0) / 8;
    for (int wedge = 0; wedge < 8; ++wedge) {
        const double angle = step * (2 * wedge + 1) / 2 * 2;  // middle of each eighth
        const double x = 0.5 + 0.35 * std::sin(angle);
        const double y = 0.5 - 0.35 * std::cos(angle);
        EXPECT_EQ(mask.isBAt(x, y), wedge % 2 == 0) << wedge;
    }
    EXPECT_NEAR(mask.shareB(), 0.5, 0.01);
}

TEST(NamedEffects, StripsAdvanceAsAStaircaseFromTheTopLeft) {
    const BMask mask = maskOf(9, 0.5, 320, 160);
    auto edgeOfRow = [&](int y) {
        int x = 0;
        while (x < mask.width() && mask.isB(x, y)) {
            ++x;
        }
        return x;
    };
    // Sixteen strips of 10 rows: one edge per strip, each strip's edge further left.
    for (int strip = 0; strip < 16; ++strip) {
        EXPECT_EQ(edgeOfRow(strip * 10), edgeOfRow(strip * 10 + 9)) << strip;
        if (strip > 0) {
            EXPECT_NEAR(edgeOfRow(strip * 10 - 1) - edgeOfRow(strip * 10), 320 / 16, 2) << strip;
        }
    }
    EXPECT_TRUE(mask.isBAt(0.05, 0.05));
    EXPECT_FALSE(mask.isBAt(0.95, 0.95));
}

TEST(NamedEffects, InsetGrowsARectangleFromTheTopLeftCorner) {
    const BMask mask = maskOf(10, 0.5, 321, 239);
    for (int y = 0; y < 239; y += 7) {
        for (int x = 0; x < 321; x += 7) {
            const bool inside = x < 159 && y < 118;
            const bool outside = x > 161 || y > 120;
            if (inside || outside) {
                EXPECT_EQ(mask.isB(x, y), inside) << x << "," << y;
            }
        }
    }
}

TEST(NamedEffects, BlindsGrowDownwardInTenBands) {
    const BMask mask = maskOf(11, 0.5, 320, 200);
    EXPECT_EQ(mask.bRunsInColumn(100), 10);
    for (int band = 0; band < 10; ++band) {
        EXPECT_TRUE(mask.isB(50, band * 20)) << band;  // each band fills from its top
        EXPECT_TRUE(mask.isB(50, band * 20 + 8)) << band;
        EXPECT_FALSE(mask.isB(50, band * 20 + 11)) << band;
    }
    EXPECT_NEAR(mask.shareB(), 0.5, 0.02);
}

TEST(NamedEffects, CheckerBoardWipesTwelveSquaresAcrossWithAlternateRowsOffset) {
    const BMask mask = maskOf(13, 0.5, 240, 200);  // squares of 20 x 20
    EXPECT_EQ(mask.bRunsInRow(10), 12);
    for (int column = 0; column < 12; ++column) {
        EXPECT_TRUE(mask.isB(column * 20 + 2, 10)) << column;
        EXPECT_FALSE(mask.isB(column * 20 + 12, 10)) << column;
        // The next row's squares start half a square further on.
        EXPECT_FALSE(mask.isB(column * 20 + 2, 30)) << column;
        EXPECT_TRUE(mask.isB(column * 20 + 12, 30)) << column;
    }
}

TEST(NamedEffects, FadeMixesEveryPlane) {
    const Picture from = flatPicture(33, 17, kRedA);
    const Picture to = flatPicture(33, 17, kBlueB);
    for (double progress : {0.25, 0.5, 0.75}) {
        const Picture out = renderEffect(3, from, to, progress);
        for (int plane = 0; plane < 3; ++plane) {
            const int a = from.view().planes[plane].row(0)[0];
            const int b = to.view().planes[plane].row(0)[0];
            const ConstPlaneView mixed = out.view().planes[plane];
            for (int y = 0; y < mixed.height; ++y) {
                for (int x = 0; x < mixed.width; ++x) {
                    ASSERT_NEAR(mixed.row(y)[x], a + (b - a) * progress, 1.0)
                        << "plane " << plane << " at " << progress;
                }
            }
        }
    }
}

TEST(NamedEffects, WipeEntersFromTheLeftBehindASoftBand) {
    const Picture from = flatPicture(400, 10, kRedA);
    const Picture to = flatPicture(400, 10, kBlueB);
    const Picture out = renderEffect(12, from, to, 0.5);
    const ConstPlaneView luma = out.view().planes[kPlaneY];
    const int a = from.view().planes[kPlaneY].row(0)[0];
    const int b = to.view().planes[kPlaneY].row(0)[0];
    // B's weight falls from 1 to 0 between u = 0.625 - 0.25 and u = 0.625.
    int bandPixels = 0;
    for (int x = 0; x < 400; ++x) {
        const int value = luma.row(5)[x];
        const double u = (x + 0.5) / 400;
        const double weight = std::clamp((0.625 - u) / 0.25, 0.0, 1.0);
        ASSERT_NEAR(value, a + (b - a) * weight, 1.0) << x;
        bandPixels += value != a && value != b ? 1 : 0;
        if (x > 0) {
            ASSERT_GE(value, luma.row(5)[x - 1]) << x;  // A is the lighter colour
        }
    }
    EXPECT_NEAR(bandPixels, 100, 3);
}

TEST(NamedEffects, SlideMovesAOutToTheLeftOverB) {
    const Picture from = texturedPicture(321, 41, 1);
    const Picture to = texturedPicture(321, 41, 2);
    const Picture out = renderEffect(14, from, to, 0.5);
    // round(0.5 * 321) = 161 columns of B from column 160 on; A moved left by 161 pixels.
    const int lumaEdge = 160;
    for (int plane = 0; plane < 3; ++plane) {
        const ConstPlaneView a = from.view().planes[plane];
        const ConstPlaneView b = to.view().planes[plane];
        const ConstPlaneView result = out.view().planes[plane];
        const int subsampling = plane == kPlaneY ? 1 : 2;
        // A chroma sample shows B when its top-left luma pixel does.
        const int edge = (lumaEdge + subsampling - 1) / subsampling;
        const int shift = result.width - edge;
        EXPECT_EQ(shift, plane == kPlaneY ? 161 : 81);
        for (int y = 0; y < result.height; ++y) {
            for (int x = 0; x < result.width; ++x) {
                const int expected = x < edge ? a.row(y)[x + shift] : b.row(y)[x];
                ASSERT_EQ(result.row(y)[x], expected) << plane << ": " << x << "," << y;
            }
        }
    }
}

TEST(NamedEffects, StretchSqueezesBIntoACentredBandOverA) {
    const Picture from = texturedPicture(320, 20, 1);
    const Picture to = texturedPicture(320, 20, 2);
    const Picture out = renderEffect(15, from, to, 0.5);
    for (int plane = 0; plane < 3; ++plane) {
        const ConstPlaneView a = from.view().planes[plane];
        const ConstPlaneView b = to.view().planes[plane];
        const ConstPlaneView result = out.view().planes[plane];
        const int subsampling = plane == kPlaneY ? 1 : 2;
        for (int y = 0; y < result.height; ++y) {
            for (int x = 0; x < result.width; ++x) {
                // Luma: columns 80 .. 239 show B squeezed to half width; a chroma sample
                // follows its top-left luma pixel.
                const int lumaX = x * subsampling;
                const int expected = lumaX < 80 || lumaX >= 240
                                         ? a.row(y)[x]
                                         : b.row(y)[((lumaX - 80) * 2 + 1) / subsampling];
                ASSERT_EQ(result.row(y)[x], expected) << plane << ": " << x << "," << y;
            }
        }
    }
}

// Every square of `size` luma pixels laid from the top-left holds the rounded mean of
// `source`; in a plane subsampled by `subsampling`, a square holds the samples whose top-left
// luma pixel lies in it.
void expectSquaresOfMeans(const ConstPlaneView& result, const ConstPlaneView& source, int size,
                          int subsampling) {
    auto edge = [&](int square) { return (square * size + subsampling - 1) / subsampling; };
    for (int row = 0; edge(row) < result.height; ++row) {
        for (int column = 0; edge(column) < result.width; ++column) {
            const int top = edge(row);
            const int left = edge(column);
            const int bottom = std::min(result.height, edge(row + 1));
            const int right = std::min(result.width, edge(column + 1));
            if (bottom <= top || right <= left) {
                continue;
            }
            int sum = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    sum += source.row(y)[x];
                }
            }
            const int count = (bottom - top) * (right - left);
            const int mean = (sum + count / 2) / count;
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    ASSERT_EQ(result.row(y)[x], mean) << "square at " << left << "," << top;
                }
            }
        }
    }
}

TEST(NamedEffects, PixelateCoarsensAThenRefinesB) {
    const Picture from = texturedPicture(203, 117, 1);
    const Picture to = texturedPicture(203, 117, 2);
    const struct {
        double progress;
        int squareSize;
        bool showsB;
    } cases[] = {{0.25, 26, false}, {0.5, 50, true}, {0.75, 26, true}, {0.02, 3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progress);
        EXPECT_EQ(transitions::PixelateTransition::squareSizeAt(c.progress), c.squareSize);
        const Picture out = renderEffect(7, from, to, c.progress);
        const Picture& source = c.showsB ? to : from;
        for (int plane = 0; plane < 3; ++plane) {
            expectSquaresOfMeans(out.view().planes[plane], source.view().planes[plane],
                                 c.squareSize, plane == kPlaneY ? 1 : 2);
        }
    }
}

}  // namespace
}  // namespace editing
