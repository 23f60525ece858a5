#include "editing/transitions/shape_gauges.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace editing::transitions {

namespace {

// Smallest scale s at which inside(x / s, y / s) holds, for shapes that are star-shaped about
// the origin (inside at a scale means inside at every larger scale).
template <typename InsideTest>
double gaugeByBisection(double x, double y, InsideTest inside) {
    if (x == 0.0 && y == 0.0) {
        return 0.0;
    }
    double low = 0.0;
    double high = std::hypot(x, y) * 4.0 + 1e-9;
    while (!inside(x / high, y / high)) {
        high *= 2.0;
    }
    for (int step = 0; step < 30; ++step) {
        const double middle = (low + high) / 2.0;
        if (inside(x / middle, y / middle)) {
            high = middle;
        } else {
            low = middle;
        }
    }
    return high;
}

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

}  // namespace

double plusGauge(double x, double y) {
    const double ax = std::abs(x);
    const double ay = std::abs(y);
    return std::min(std::max(ax, 3.0 * ay), std::max(3.0 * ax, ay));
}

double hexagonGauge(double x, double y) {
    const double ax = std::abs(x);
    const double ay = std::abs(y);
    const double sqrt3 = std::numbers::sqrt3;
    return std::max(2.0 * ay / sqrt3, ax + ay / sqrt3);
}

double starGauge(double x, double y, int points, double innerRadius) {
    const double radius = std::hypot(x, y);
    if (radius == 0.0) {
        return 0.0;
    }
    // Angle clockwise from straight up, folded into the half-sector between a tip (0) and the
    // next valley (pi / points).
    const double sector = 2.0 * std::numbers::pi / points;
    double angle = std::atan2(x, -y);
    angle = std::fmod(angle + 2.0 * std::numbers::pi, sector);
    if (angle > sector / 2.0) {
        angle = sector - angle;
    }
    // The outline between the tip T = (1, 0) and the valley V at angle sector / 2, in the
    // sector's own polar frame; the ray at `angle` meets it at distance `outline`.
    const double valleyX = innerRadius * std::cos(sector / 2.0);
    const double valleyY = innerRadius * std::sin(sector / 2.0);
    const double edgeX = valleyX - 1.0;
    const double edgeY = valleyY;
    const double outline =
        cross(1.0, 0.0, edgeX, edgeY) / cross(std::cos(angle), std::sin(angle), edgeX, edgeY);
    return radius / outline;
}

double pentagramInnerRadius() {
    return std::cos(2.0 * std::numbers::pi / 5.0) / std::cos(std::numbers::pi / 5.0);
}

double roundedRectangleGauge(double x, double y) {
    constexpr double kHalfWidth = 1.0;
    constexpr double kHalfHeight = 0.5;
    constexpr double kCornerRadius = 0.25;
    return gaugeByBisection(x, y, [](double px, double py) {
        const double outsideX = std::max(std::abs(px) - (kHalfWidth - kCornerRadius), 0.0);
        const double outsideY = std::max(std::abs(py) - (kHalfHeight - kCornerRadius), 0.0);
        return outsideX * outsideX + outsideY * outsideY <= kCornerRadius * kCornerRadius;
    });
}

double heartGauge(double x, double y) {
    // The classic quartic heart (x^2 + y^2 - 1)^3 <= x^2 y^3 with y up; it spans y from -1 (the
    // point) to about 1.25 (the lobes), so it is shifted down to centre it.
    constexpr double kLift = 0.12;
    constexpr double kWidthScale = 1.0;
    return gaugeByBisection(x, y, [](double px, double py) {
        const double hx = px / kWidthScale;
        const double hy = -py + kLift;
        const double ring = hx * hx + hy * hy - 1.0;
        return ring * ring * ring <= hx * hx * hy * hy * hy;
    });
}

}  // namespace editing::transitions
