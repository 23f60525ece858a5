#pragma once

#include "editing/core/ref_time.h"
#include "editing/core/result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace editing {

// How a property moves from one value to the next: Jump holds each value until the next
// point; Linear interpolates numbers between points.
enum class Interpolation { Jump = 0, Linear = 1 };

using PropertyValue = std::variant<std::int32_t, double, std::string>;

struct PropertyPoint {
    RefTime time = 0;  // relative to the start of the object that carries the set
    PropertyValue value;
    Interpolation interpolation = Interpolation::Jump;
};

struct Property {
    std::string name;
    std::vector<PropertyPoint> points;  // in time order
};

// The parameters of a transition or an effect, each a value that may change over time.
class PropertySet {
  public:
    // Adds `name` with its points (at least one, in non-decreasing time). Fails with
    // kErrorInvalidArgument for an empty name, no points or points out of order.
    Result addProperty(std::string name, std::vector<PropertyPoint> points);

    const std::vector<Property>& properties() const { return properties_; }
    const Property* find(const std::string& name) const;
    bool empty() const { return properties_.empty(); }

    // Value of `name` at `time` (relative), or nothing when the set has no such property.
    std::optional<PropertyValue> valueAt(const std::string& name, RefTime time) const;
    // The same as a number: an integer or double value as double; text is not a number.
    std::optional<double> numberAt(const std::string& name, RefTime time) const;

  private:
    std::vector<Property> properties_;
};

}  // namespace editing
