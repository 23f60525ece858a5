#pragma once

// Private to the render: how a clip is turned for display (portrait phone videos).

#include "editing/core/picture.h"

#include <cstdint>

namespace editing {

// The turn a player applies to a coded picture before showing it, as axis swaps and flips of the
// shown picture: shown pixel (row, column) is coded pixel (r, c) with (r, c) = (column, row)
// when `swapsAxes`, else (row, column), then r mirrored when `flipsRows` and c when
// `flipsColumns`.
struct DisplayOrientation {
    bool swapsAxes = false;
    bool flipsRows = false;
    bool flipsColumns = false;

    bool isIdentity() const { return !swapsAxes && !flipsRows && !flipsColumns; }
};

// The orientation a display matrix (nine 16.16 / 2.30 fixed-point values, the stream's
// AV_PKT_DATA_DISPLAYMATRIX side data; null for none) stands for: 90, 180 or 270 degrees with
// the matrix's flips, read as the ffmpeg tool's automatic rotation reads it. Other angles give
// the identity (the picture is fitted as coded).
DisplayOrientation orientationFromDisplayMatrix(const std::int32_t* matrix);

// Copies `source` turned by `orientation` into `target`, whose size must be the turned size
// (width and height exchanged when the orientation swaps the axes).
void orientPlane(const ConstPlaneView& source, const PlaneView& target,
                 DisplayOrientation orientation);

}  // namespace editing
