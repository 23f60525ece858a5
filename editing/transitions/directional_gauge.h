#pragma once

#include <cmath>
#include <vector>

namespace editing::transitions {

// A shape's gauge function sampled once by direction. A gauge is homogeneous of degree one
// (gauge(t p) = t gauge(p) for t > 0), so gauge(p) = |p| * gauge(p / |p|) and one table of
// gauges on the unit circle serves every pixel: a square root, an arc tangent and a table
// look-up instead of the shape's own (possibly iterative) test. Shapes with no closed-form
// gauge (heart, rounded rectangle) and stars use it.
//
// The table covers only the directions that the shape's mirror symmetry leaves distinct, so
// mirrored pixels get identical gauges.
class DirectionalGauge {
  public:
    enum class Symmetry { LeftRight, LeftRightAndTopBottom };

    template <typename Gauge>
    DirectionalGauge(Gauge gauge, Symmetry symmetry) : symmetry_(symmetry) {
        table_.resize(kSamples + 1);
        for (int sample = 0; sample <= kSamples; ++sample) {
            const double angle = span() * sample / kSamples;
            table_[static_cast<std::size_t>(sample)] = gauge(std::sin(angle), -std::cos(angle));
        }
    }

    // The gauge at (x, y), y pointing down the screen.
    double operator()(double x, double y) const;

  private:
    static constexpr int kSamples = 8192;

    // Directions run from straight up (0) clockwise to straight down (pi), or to the
    // horizontal (pi / 2) when the shape is also mirrored top to bottom.
    double span() const;

    Symmetry symmetry_;
    std::vector<double> table_;
};

}  // namespace editing::transitions
