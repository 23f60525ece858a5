#include "editing/transitions/directional_gauge.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace editing::transitions {

double DirectionalGauge::span() const {
    return symmetry_ == Symmetry::LeftRight ? std::numbers::pi : std::numbers::pi / 2.0;
}

double DirectionalGauge::operator()(double x, double y) const {
    const double radius = std::hypot(x, y);
    if (radius == 0.0) {
        return 0.0;
    }
    const double down = symmetry_ == Symmetry::LeftRight ? y : -std::abs(y);
    const double angle = std::atan2(std::abs(x), -down);
    const double position = std::clamp(angle / span() * kSamples, 0.0, double{kSamples});
    const int index = std::min(static_cast<int>(position), kSamples - 1);
    const double fraction = position - index;
    const double unit = table_[static_cast<std::size_t>(index)] * (1.0 - fraction) +
                        table_[static_cast<std::size_t>(index) + 1] * fraction;
    return radius * unit;
}

}  // namespace editing::transitions
