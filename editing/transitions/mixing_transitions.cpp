#include "editing/transitions/mixing_transitions.h"

#include "editing/transitions/pixel_kernels.h"

#include <algorithm>
#include <cmath>

namespace editing::transitions {

namespace {

constexpr double kSoftBandWidth = 0.25;

int weightFor(double share) {
    return static_cast<int>(std::lround(clampedProgress(share) * 256.0));
}

}  // namespace

void FadeTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                           double progress, const PictureView& out) {
    const int weight = weightFor(progress);
    for (int plane = 0; plane < 3; ++plane) {
        const PlaneView& target = out.planes[plane];
        for (int y = 0; y < target.height; ++y) {
            mixRow(target.row(y), from.planes[plane].row(y), to.planes[plane].row(y), target.width,
                   weight);
        }
    }
}

SoftWipeTransition::SoftWipeTransition(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      lumaWeights_(static_cast<std::size_t>(width_)),
      chromaWeights_(static_cast<std::size_t>(chromaExtent(width_))) {}

void SoftWipeTransition::blend(const ConstPictureView& from, const ConstPictureView& to,
                               double progress, const PictureView& out) {
    const double clamped = clampedProgress(progress);
    const double edge = (1.0 + kSoftBandWidth) * clamped;
    for (int x = 0; x < width_; ++x) {
        const double u = (x + 0.5) / width_;
        lumaWeights_[static_cast<std::size_t>(x)] =
            static_cast<std::uint16_t>(weightFor((edge - u) / kSoftBandWidth));
    }
    for (std::size_t x = 0; x < chromaWeights_.size(); ++x) {
        chromaWeights_[x] = lumaWeights_[2 * x];
    }
    for (int plane = 0; plane < 3; ++plane) {
        const PlaneView& target = out.planes[plane];
        const std::uint16_t* weights =
            plane == kPlaneY ? lumaWeights_.data() : chromaWeights_.data();
        const int width = std::min(
            target.width, plane == kPlaneY ? width_ : static_cast<int>(chromaWeights_.size()));
        const int height =
            std::min(target.height, plane == kPlaneY ? height_ : chromaExtent(height_));
        for (int y = 0; y < height; ++y) {
            mixRowWeighted(target.row(y), from.planes[plane].row(y), to.planes[plane].row(y),
                           weights, width);
        }
    }
}

}  // namespace editing::transitions
