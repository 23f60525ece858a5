#pragma once

// Private to the render: reading values out of a PropertySet. The render reads the public
// property list itself, so it depends only on the plain data of the time line.

#include "editing/timeline/property_set.h"

#include <optional>
#include <string>

namespace editing {

// The value of `name` at `relativeTime` (from the start of the object carrying the set) as a
// number: a point holds until the next (Jump); a point reached by Linear interpolation is
// approached in a straight line from the previous one. Before the first point the first
// value holds. Nothing when the property is missing or not a number.
std::optional<double> propertyNumberAt(const PropertySet& properties, const std::string& name,
                                       RefTime relativeTime);

}  // namespace editing
