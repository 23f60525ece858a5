#pragma once

#include "editing/transitions/transition.h"

#include <cstdint>
#include <vector>

namespace editing::transitions {

// Cross-fade: out = (1 - p) A + p B in every plane.
class FadeTransition final : public Transition {
  public:
    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;
};

// B enters from the left behind a soft band a quarter of the frame wide:
// weight of B = clamp(((1 + 1/4) p - u) / (1/4)) at u = (x + 1/2) / width.
class SoftWipeTransition final : public Transition {
  public:
    SoftWipeTransition(int width, int height);

    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;

  private:
    int width_;
    int height_;
    // Scratch for one frame's column weights (0 .. 256), made once at the frame size.
    std::vector<std::uint16_t> lumaWeights_;
    std::vector<std::uint16_t> chromaWeights_;
};

}  // namespace editing::transitions
