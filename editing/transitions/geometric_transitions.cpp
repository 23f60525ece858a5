#include "editing/transitions/geometric_transitions.h"

#include "editing/transitions/pixel_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace editing::transitions {

namespace {

int pixelsAt(double progress, int extent) {
    return static_cast<int>(std::lround(clampedProgress(progress) * extent));
}

}  // namespace

PixelateTransition::PixelateTransition(int width)
    : columnSums_(static_cast<std::size_t>(std::max(width, 1))),
      averagedRow_(static_cast<std::size_t>(std::max(width, 1))) {}

int PixelateTransition::squareSizeAt(double progress) {
    const double clamped = clampedProgress(progress);
    const double towardMiddle = clamped < 0.5 ? clamped * 2.0 : (1.0 - clamped) * 2.0;
    return 1 + static_cast<int>(std::lround(towardMiddle * (kLargestSquarePixels - 1)));
}

void PixelateTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                               double progress, const PictureView& out) {
    const ConstPictureView& source = clampedProgress(progress) < 0.5 ? from : to;
    const int squareSize = squareSizeAt(progress);
    for (int plane = 0; plane < 3; ++plane) {
        pixelatePlane(source.planes[plane], out.planes[plane], squareSize,
                      plane == kPlaneY ? 1 : 2);
    }
}

int PixelateTransition::squareEdge(int square, int squareSize, int subsampling) {
    return (square * squareSize + subsampling - 1) / subsampling;
}

void PixelateTransition::pixelatePlane(const ConstPlaneView& source, const PlaneView& target,
                                       int squareSize, int subsampling) {
    const int width = std::min({target.width, source.width, static_cast<int>(columnSums_.size())});
    const int height = std::min(target.height, source.height);
    if (squareSize <= 1) {
        for (int y = 0; y < height; ++y) {
            copyRow(target.row(y), source.row(y), width);
        }
        return;
    }
    std::uint32_t* sums = columnSums_.data();
    std::uint8_t* averaged = averagedRow_.data();
    for (int band = 0, top = 0; top < height; ++band) {
        const int bottom = std::min(height, squareEdge(band + 1, squareSize, subsampling));
        if (bottom <= top) {
            continue;
        }
        // The whole band is read before any of it is written, so `target` may be `source`.
        std::fill(sums, sums + width, 0u);
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* row = source.row(y);
            for (int x = 0; x < width; ++x) {
                sums[x] += row[x];
            }
        }
        for (int square = 0, left = 0; left < width; ++square) {
            const int right = std::min(width, squareEdge(square + 1, squareSize, subsampling));
            if (right <= left) {
                continue;
            }
            std::uint32_t total = 0;
            for (int x = left; x < right; ++x) {
                total += sums[x];
            }
            const auto count = static_cast<std::uint32_t>((right - left) * (bottom - top));
            std::memset(averaged + left, static_cast<int>((total + count / 2) / count),
                        static_cast<std::size_t>(right - left));
            left = right;
        }
        for (int y = top; y < bottom; ++y) {
            std::memcpy(target.row(y), averaged, static_cast<std::size_t>(width));
        }
        top = bottom;
    }
}

void SlideTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                            double progress, const PictureView& out) {
    const int width = out.planes[kPlaneY].width;
    // The first luma column showing B; a chroma sample shows B when its top-left luma pixel
    // does, and A moves by the same distance in every plane.
    const int lumaEdge = width - pixelsAt(progress, width);
    for (int plane = 0; plane < 3; ++plane) {
        const PlaneView& target = out.planes[plane];
        const int planeWidth = target.width;
        const int edge = std::min(planeWidth, plane == kPlaneY ? lumaEdge : (lumaEdge + 1) / 2);
        const int shift = planeWidth - edge;
        for (int y = 0; y < target.height; ++y) {
            std::uint8_t* row = target.row(y);
            // memmove: `row` may be A's own row, read further right than it is written.
            if (edge > 0) {
                std::memmove(row, from.planes[plane].row(y) + shift,
                             static_cast<std::size_t>(edge));
            }
            if (shift > 0) {
                std::memcpy(row + edge, to.planes[plane].row(y) + edge,
                            static_cast<std::size_t>(shift));
            }
        }
    }
}

StretchTransition::StretchTransition(int width)
    : sourceColumns_(static_cast<std::size_t>(std::max(width, 1))) {}

void StretchTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                              double progress, const PictureView& out) {
    const int width = std::min(out.planes[kPlaneY].width, static_cast<int>(sourceColumns_.size()));
    const int bandWidth = pixelsAt(progress, width);
    const int bandLeft = (width - bandWidth) / 2;
    const int bandRight = bandLeft + bandWidth;
    int* columns = sourceColumns_.data();
    // Nearest source column to the centre of each output column; at full width the identity.
    for (int x = bandLeft; x < bandRight; ++x) {
        const long long scaled = static_cast<long long>(2 * (x - bandLeft) + 1) * width;
        columns[x] = static_cast<int>(scaled / (2LL * bandWidth));
    }
    for (int plane = 0; plane < 3; ++plane) {
        // A chroma sample follows its top-left luma pixel: inside the band when that pixel
        // is, taking B's chroma from where that pixel takes its luma.
        const int subsampling = plane == kPlaneY ? 1 : 2;
        const int left = (bandLeft + subsampling - 1) / subsampling;
        const int right = (bandRight + subsampling - 1) / subsampling;
        stretchRows(from.planes[plane], to.planes[plane], out.planes[plane], left, right,
                    subsampling);
    }
}

void StretchTransition::stretchRows(const ConstPlaneView& from, const ConstPlaneView& to,
                                    const PlaneView& target, int bandLeft, int bandRight,
                                    int subsampling) {
    const int* columns = sourceColumns_.data();
    const int width = target.width;
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* row = target.row(y);
        const std::uint8_t* underneath = from.row(y);
        const std::uint8_t* squeezed = to.row(y);
        copyRow(row, underneath, bandLeft);
        if (subsampling == 1) {
            for (int x = bandLeft; x < bandRight; ++x) {
                row[x] = squeezed[columns[x]];
            }
        } else {
            for (int x = bandLeft; x < bandRight; ++x) {
                row[x] = squeezed[columns[2 * x] / 2];
            }
        }
        copyRow(row + bandRight, underneath + bandRight, width - bandRight);
    }
}

}  // namespace editing::transitions
