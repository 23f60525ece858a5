#include "editing/timeline/property_set.h"

#include <algorithm>

namespace editing {

// A point's interpolation says how the value arrives at that point from the one before it:
// Jump holds the earlier value until the point's time; Linear moves there in a straight line
// (numbers only; text always jumps). Before the first point the first value holds; after the
// last point the last value holds.

namespace {

std::optional<double> asNumber(const PropertyValue& value) {
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    return std::nullopt;
}

}  // namespace

Result PropertySet::addProperty(std::string name, std::vector<PropertyPoint> points) {
    if (name.empty() || points.empty()) {
        return kErrorInvalidArgument;
    }
    const bool inOrder = std::is_sorted(points.begin(), points.end(),
                                        [](const PropertyPoint& left, const PropertyPoint& right) {
                                            return left.time < right.time;
                                        });
    if (!inOrder) {
        return kErrorInvalidArgument;
    }
    if (find(name) != nullptr) {
        // One parameter has one curve; a second curve of the same name would be ambiguous.
        return kErrorInvalidArgument;
    }
    properties_.push_back(Property{std::move(name), std::move(points)});
    return kOk;
}

const Property* PropertySet::find(const std::string& name) const {
    for (const Property& property : properties_) {
        if (property.name == name) {
            return &property;
        }
    }
    return nullptr;
}

std::optional<PropertyValue> PropertySet::valueAt(const std::string& name, RefTime time) const {
    const Property* property = find(name);
    if (property == nullptr) {
        return std::nullopt;
    }
    const std::vector<PropertyPoint>& points = property->points;
    // The first point later than `time`; the one before it (if any) is the latest reached.
    const auto next = std::upper_bound(
        points.begin(), points.end(), time,
        [](RefTime value, const PropertyPoint& point) { return value < point.time; });
    if (next == points.begin()) {
        return points.front().value;
    }
    const PropertyPoint& reached = *(next - 1);
    if (next == points.end() || next->interpolation != Interpolation::Linear) {
        return reached.value;
    }
    const std::optional<double> from = asNumber(reached.value);
    const std::optional<double> to = asNumber(next->value);
    if (!from || !to) {
        return reached.value;
    }
    const double fraction =
        static_cast<double>(time - reached.time) / static_cast<double>(next->time - reached.time);
    return PropertyValue{*from + (*to - *from) * fraction};
}

std::optional<double> PropertySet::numberAt(const std::string& name, RefTime time) const {
    const std::optional<PropertyValue> value = valueAt(name, time);
    if (!value) {
        return std::nullopt;
    }
    return asNumber(*value);
}

}  // namespace editing
