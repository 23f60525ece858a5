#include "editing/transitions/smpte_patterns.h"

#include "editing/transitions/cell_order.h"
#include "editing/transitions/directional_gauge.h"
#include "editing/transitions/shape_gauges.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace editing::transitions {

namespace {

constexpr double kPi = std::numbers::pi;

// Sawtooth patterns: five teeth a fifth of the travel deep.
constexpr int kTeeth = 5;
constexpr double kToothDepth = 1.0 / 5.0;

// Triangle wave of period 1: 1 at whole numbers, 0 half way between, so that each of the
// five bands across the edge carries one whole tooth with its tip in the band's middle.
double triangle(double t) {
    return std::abs(2.0 * (t - std::floor(t)) - 1.0);
}

double sawtooth(double travel, double across) {
    return (travel + kToothDepth * triangle(kTeeth * across)) / (1.0 + kToothDepth);
}

// Angle in 0 .. pi / 2 of the direction (along, down) from a hinge, measured from `along`.
double hingeAngle(double along, double down) {
    return std::atan2(down, along);
}

LumaMap matrixMap(int width, int height) {
    const CellGrid grid = snakeGrid(8, 8);
    const double cellWidth = static_cast<double>(width) / grid.columns;
    const double cellHeight = static_cast<double>(height) / grid.rows;
    return buildLumaMap(width, height, [&](const PixelPosition& pixel) {
        return cellLevel(grid, cellWidth, cellHeight, pixel.x, pixel.y);
    });
}

// Shapes that keep their proportions on any frame are drawn in pixels, scaled by the frame's
// half-height.
template <typename Gauge>
LumaMap centredShapeMap(int width, int height, Gauge gauge) {
    const double unit = std::max(1.0, height / 2.0);
    return buildLumaMap(width, height, [&](const PixelPosition& pixel) {
        return gauge(pixel.pixelX / unit, pixel.pixelY / unit);
    });
}

}  // namespace

bool isKnownSmptePattern(int maskNumber) {
    return std::find(kSmptePatternNumbers.begin(), kSmptePatternNumbers.end(), maskNumber) !=
           kSmptePatternNumbers.end();
}

LumaMap makeSmpteWipeMap(int maskNumber, int width, int height) {
    const double halfWidth = width / 2.0;
    const double halfHeight = height / 2.0;
    auto map = [&](auto level) { return buildLumaMap(width, height, level); };
    switch (maskNumber) {
        case 2:
            return map([](const PixelPosition& p) { return p.v; });
        case 7:
            return map([](const PixelPosition& p) {
                return std::max(1.0 - std::abs(p.centredX), 1.0 - std::abs(p.centredY));
            });
        case 22:
            return map([](const PixelPosition& p) { return std::abs(p.centredY); });
        case 41:
            return map([](const PixelPosition& p) { return (p.u + p.v) / 2.0; });
        case 43:
            return map([](const PixelPosition& p) {
                return std::abs(p.u - 0.5) + std::min(p.v, 1.0 - p.v);
            });
        case 44:
            return map([](const PixelPosition& p) {
                return std::abs(p.v - 0.5) + std::min(p.u, 1.0 - p.u);
            });
        case 45:
            return map([](const PixelPosition& p) { return std::abs(p.centredX + p.centredY); });
        case 47:
            return map([](const PixelPosition& p) {
                return std::min(std::abs(p.centredX - p.centredY),
                                std::abs(p.centredX + p.centredY));
            });
        case 48:
            return map([](const PixelPosition& p) {
                return std::abs(std::abs(p.centredX) + std::abs(p.centredY) - 1.0);
            });
        case 61:
            return map([](const PixelPosition& p) { return std::abs(p.u - 0.5) + p.v / 2.0; });
        case 64:
            return map([](const PixelPosition& p) { return std::abs(p.v - 0.5) + p.u / 2.0; });
        case 71:
            return map([](const PixelPosition& p) { return sawtooth(p.u, p.v); });
        case 72:
            return map([](const PixelPosition& p) { return sawtooth(p.v, p.u); });
        case 73:
            return map([](const PixelPosition& p) { return sawtooth(std::abs(p.centredX), p.v); });
        case 74:
            return map([](const PixelPosition& p) { return sawtooth(std::abs(p.centredY), p.u); });
        case 101:
            return map([](const PixelPosition& p) {
                return std::max(std::abs(p.centredX), std::abs(p.centredY));
            });
        case 102:
            return map(
                [](const PixelPosition& p) { return std::abs(p.centredX) + std::abs(p.centredY); });
        case 113:
            return centredShapeMap(width, height, hexagonGauge);
        case 119:
            return map([](const PixelPosition& p) { return std::hypot(p.pixelX, p.pixelY); });
        case 120:
            return map([](const PixelPosition& p) { return std::hypot(p.pixelX / 2.0, p.pixelY); });
        case 124:
            return centredShapeMap(
                width, height,
                DirectionalGauge(roundedRectangleGauge,
                                 DirectionalGauge::Symmetry::LeftRightAndTopBottom));
        case 127:
            return centredShapeMap(
                width, height,
                DirectionalGauge([](double x, double y) { return starGauge(x, y, 4, 0.5); },
                                 DirectionalGauge::Symmetry::LeftRightAndTopBottom));
        case 128: {
            const double inner = pentagramInnerRadius();
            return centredShapeMap(
                width, height,
                DirectionalGauge([inner](double x, double y) { return starGauge(x, y, 5, inner); },
                                 DirectionalGauge::Symmetry::LeftRight));
        }
        case 130:
            return centredShapeMap(
                width, height, DirectionalGauge(heartGauge, DirectionalGauge::Symmetry::LeftRight));
        case 224:
            // Pivot on the left edge's midpoint; angle clockwise from straight up.
            return map([&](const PixelPosition& p) {
                return std::atan2(p.pixelX + halfWidth, -p.pixelY) / kPi;
            });
        case 231:
            // Hinge at the top edge's midpoint; angle either side of straight down.
            return map([&](const PixelPosition& p) {
                return std::abs(std::atan2(p.pixelX, p.pixelY + halfHeight)) / (kPi / 2.0);
            });
        case 244:
            // Hinge at the top-right corner; from along the top edge to down the right edge.
            return map([&](const PixelPosition& p) {
                return hingeAngle(halfWidth - p.pixelX, p.pixelY + halfHeight) / (kPi / 2.0);
            });
        case 251:
            // Two hands hinged at the top corners, each sweeping its own half.
            return map([&](const PixelPosition& p) {
                const double fromEdge = halfWidth - std::abs(p.pixelX);
                return hingeAngle(fromEdge, p.pixelY + halfHeight) / (kPi / 2.0);
            });
        case 301:
            return matrixMap(width, height);
        case 1:
        default:
            return map([](const PixelPosition& p) { return p.u; });
    }
}

}  // namespace editing::transitions
