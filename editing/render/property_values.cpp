#include "editing/render/property_values.h"

namespace editing {

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

std::optional<double> propertyNumberAt(const PropertySet& properties, const std::string& name,
                                       RefTime relativeTime) {
    for (const Property& property : properties.properties()) {
        if (property.name != name || property.points.empty()) {
            continue;
        }
        const auto& points = property.points;
        std::size_t current = 0;
        while (current + 1 < points.size() && points[current + 1].time <= relativeTime) {
            ++current;
        }
        const std::optional<double> value = asNumber(points[current].value);
        if (!value || current + 1 >= points.size() || relativeTime < points[current].time) {
            return value;
        }
        const PropertyPoint& next = points[current + 1];
        const std::optional<double> nextValue = asNumber(next.value);
        if (next.interpolation != Interpolation::Linear || !nextValue ||
            next.time <= points[current].time) {
            return value;
        }
        const double progress = static_cast<double>(relativeTime - points[current].time) /
                                static_cast<double>(next.time - points[current].time);
        return *value + (*nextValue - *value) * progress;
    }
    return std::nullopt;
}

}  // namespace editing
