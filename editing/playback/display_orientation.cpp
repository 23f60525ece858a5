#include "editing/playback/display_orientation.h"

extern "C" {
#include <libavutil/display.h>
}

#include <cmath>
#include <cstring>

namespace editing {

DisplayOrientation orientationFromDisplayMatrix(const std::int32_t* matrix) {
    if (matrix == nullptr) {
        return {};
    }
    // Clockwise degrees in [0, 360).
    double theta = -std::round(av_display_rotation_get(matrix));
    theta -= 360.0 * std::floor(theta / 360.0 + 0.9 / 360.0);
    if (std::fabs(theta - 90.0) < 1.0) {
        // Turned clockwise, or (a mirrored matrix) transposed.
        return matrix[3] > 0 ? DisplayOrientation{true, false, false}
                             : DisplayOrientation{true, true, false};
    }
    if (std::fabs(theta - 180.0) < 1.0) {
        return {false, matrix[4] < 0, matrix[0] < 0};
    }
    if (std::fabs(theta - 270.0) < 1.0) {
        // Turned counter-clockwise, or (a mirrored matrix) transposed the other way.
        return matrix[3] < 0 ? DisplayOrientation{true, true, true}
                             : DisplayOrientation{true, false, true};
    }
    if (std::fabs(theta) < 1.0) {
        return {false, matrix[4] < 0, false};
    }
    return {};
}

void orientPlane(const ConstPlaneView& source, const PlaneView& target,
                 DisplayOrientation orientation) {
    for (int row = 0; row < target.height; ++row) {
        std::uint8_t* out = target.row(row);
        if (!orientation.swapsAxes) {
            const int sourceRow = orientation.flipsRows ? source.height - 1 - row : row;
            const std::uint8_t* in = source.row(sourceRow);
            if (!orientation.flipsColumns) {
                std::memcpy(out, in, static_cast<std::size_t>(target.width));
                continue;
            }
            for (int column = 0; column < target.width; ++column) {
                out[column] = in[source.width - 1 - column];
            }
            continue;
        }
        // A shown row is a coded column.
        const int sourceColumn = orientation.flipsColumns ? source.width - 1 - row : row;
        for (int column = 0; column < target.width; ++column) {
            const int sourceRow = orientation.flipsRows ? source.height - 1 - column : column;
            out[column] = source.row(sourceRow)[sourceColumn];
        }
    }
}

}  // namespace editing
