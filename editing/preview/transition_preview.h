#pragma once

#include "editing/core/picture.h"
#include "editing/core/ref_time.h"
#include "editing/transitions/transition.h"

#include <cstdint>
#include <memory>
#include <span>

namespace editing {

// A transition effect playing in a loop on two still pictures, made by the same effects the
// render uses (createTransition through the effect catalogue), so a preview shows exactly what
// a mix draws. One loop lasts kLoopRefTime: A alone briefly, the transition, B alone briefly.
//
// Threading: one thread at a time (the dialogs use it on the window thread).
class TransitionPreview {
  public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 180;
    static constexpr RefTime kLoopRefTime = 15'000'000;  // 1.5 s
    // The share of the loop that shows A alone, and as much again at the end for B alone.
    static constexpr RefTime kHoldRefTime = 1'500'000;  // 0.15 s

    // Starts with two neutral pictures (dark grey into light grey) and effect 0 ("None").
    TransitionPreview();

    // The pictures to blend: `from` what lies beneath (A), `to` the clip's own picture (B).
    // Pictures of another size than kWidth x kHeight are not accepted (false, nothing changes).
    bool setPictures(Picture from, Picture to);

    // The effect of the catalogue row `effectNumber`, as the render draws it: 0 ("None") and
    // negative numbers cut from A to B where the overlap starts (no transition), a number past
    // the catalogue draws the SMPTE wipe's pattern 1.
    void setEffect(int effectNumber);
    int effect() const { return effectNumber_; }

    // The transition's progress at `loopTime` (any time; the loop repeats): 0 while A is held,
    // rising evenly to 1, then 1 while B is held.
    static double progressAt(RefTime loopTime);

    // The frame at `loopTime`. The reference stays valid until the next call on this object.
    const Picture& frameAt(RefTime loopTime);

  private:
    Picture from_;
    Picture to_;
    Picture frame_;
    std::unique_ptr<Transition> transition_;
    int effectNumber_ = 0;
};

// Converts `picture` (BT.601 limited range, 4:2:0) to 0xffRRGGBB pixels, `pixelsPerRow` apart
// (at least the picture's width); `pixels` holds height x pixelsPerRow values.
void convertToRgb32(const ConstPictureView& picture, std::span<std::uint32_t> pixels,
                    int pixelsPerRow);

// The two built-in pictures the transition defaults dialog blends: a warm scene (A) and a
// cool one (B), textured so that every effect's shape reads. Both kWidth x kHeight.
Picture builtInPreviewPictureA();
Picture builtInPreviewPictureB();

}  // namespace editing
