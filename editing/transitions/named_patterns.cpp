#include "editing/transitions/named_patterns.h"

#include "editing/transitions/cell_order.h"
#include "editing/transitions/shape_gauges.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace editing::transitions {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Angle clockwise from 12 o'clock about the frame's centre, in 0 .. 2 pi.
double clockAngle(const PixelPosition& pixel) {
    const double angle = std::atan2(pixel.pixelX, -pixel.pixelY);
    return angle < 0 ? angle + kTwoPi : angle;
}

// SplitMix64: a small, well-mixed generator whose output is the same on every platform, so a
// render's random effect is reproducible from its seed alone.
class SplitMix {
  public:
    explicit SplitMix(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_;
};

LumaMap cellMap(int width, int height, const CellGrid& grid, double cellSizePixels) {
    return buildLumaMap(width, height, [&](const PixelPosition& pixel) {
        return cellLevel(grid, cellSizePixels, cellSizePixels, pixel.x, pixel.y);
    });
}

}  // namespace

LumaMap makeIrisMap(int width, int height) {
    return buildLumaMap(width, height, [](const PixelPosition& pixel) {
        return plusGauge(pixel.centredX, pixel.centredY);
    });
}

LumaMap makeRadialWipeMap(int width, int height) {
    return buildLumaMap(width, height, clockAngle);
}

LumaMap makeZigZagMap(int width, int height) {
    const SquareCells cells = squareCells(width, height, 16);
    return cellMap(width, height, snakeGrid(cells.columns, cells.rows), cells.cellSizePixels);
}

LumaMap makeSpiralMap(int width, int height) {
    const SquareCells cells = squareCells(width, height, 16);
    return cellMap(width, height, spiralGrid(cells.columns, cells.rows), cells.cellSizePixels);
}

LumaMap makeWheelMap(int width, int height) {
    constexpr int kSpokes = 4;
    return buildLumaMap(width, height, [](const PixelPosition& pixel) {
        const double turns = kSpokes * clockAngle(pixel) / kTwoPi;
        return turns - std::floor(turns);
    });
}

LumaMap makeStripsMap(int width, int height) {
    // Strips 1/16 of the frame tall; each strip's edge trails the one above it, so the edge
    // between A and B is a staircase running from the top-left to the bottom-right.
    constexpr int kStrips = 16;
    return buildLumaMap(width, height, [](const PixelPosition& pixel) {
        const double strip = std::min(std::floor(pixel.v * kStrips), kStrips - 1.0);
        return pixel.u + (strip + 0.5) / kStrips;
    });
}

LumaMap makeInsetMap(int width, int height) {
    return buildLumaMap(width, height,
                        [](const PixelPosition& pixel) { return std::max(pixel.u, pixel.v); });
}

LumaMap makeBlindsMap(int width, int height) {
    constexpr int kBands = 10;
    return buildLumaMap(width, height, [](const PixelPosition& pixel) {
        const double bands = kBands * pixel.v;
        return bands - std::floor(bands);
    });
}

LumaMap makeCheckerBoardMap(int width, int height) {
    constexpr int kSquaresAcross = 12;
    constexpr int kSquaresDown = 10;
    return buildLumaMap(width, height, [](const PixelPosition& pixel) {
        const int row = std::min(kSquaresDown - 1, static_cast<int>(pixel.v * kSquaresDown));
        const double across = kSquaresAcross * pixel.u + (row % 2 == 0 ? 0.0 : 0.5);
        return across - std::floor(across);
    });
}

LumaMap makeRandomBarsMap(int width, int height, std::uint32_t seed) {
    // A shuffled order of the rows: after progress p exactly the share p of them shows B.
    std::vector<int> rank(static_cast<std::size_t>(std::max(height, 0)));
    for (std::size_t row = 0; row < rank.size(); ++row) {
        rank[row] = static_cast<int>(row);
    }
    SplitMix random(0xBA55ull << 32 | seed);
    for (std::size_t index = rank.size(); index > 1; --index) {
        std::swap(rank[index - 1], rank[random.next() % index]);
    }
    return buildLumaMap(width, height, [&](const PixelPosition& pixel) {
        return static_cast<double>(rank[static_cast<std::size_t>(pixel.y)]);
    });
}

LumaMap makeRandomDissolveMap(int width, int height, std::uint32_t seed) {
    SplitMix random(0xD155ull << 32 | seed);
    return buildLumaMap(width, height, [&](const PixelPosition&) {
        return static_cast<double>(random.next() >> 40);
    });
}

}  // namespace editing::transitions
