#pragma once

#include "editing/core/picture.h"

#include <cstdint>
#include <memory>

namespace editing {

// The effects a transition node can carry. The 16 named effects are our own counterparts of
// the classic DirectX transforms; SmpteWipe takes its pattern from the "MaskNum" property.
enum class TransitionKind {
    Iris = 1,
    RadialWipe,
    Fade,
    ZigZag,
    RandomBars,
    Spiral,
    Pixelate,
    Wheel,
    Strips,
    Inset,
    Blinds,
    Wipe,
    CheckerBoard,
    Slide,
    Stretch,
    RandomDissolve,
    SmpteWipe,
};

struct TransitionSetup {
    TransitionKind kind = TransitionKind::Fade;
    int maskNumber = 1;  // SMPTE wipe pattern; 1 when the node carries none
    int width = 0;       // frame size in luma pixels; the effect is made for this size only
    int height = 0;
    std::uint32_t seed = 0;  // fixes RandomBars / RandomDissolve for one render
};

// One transition effect prepared for one frame size. Preparation (luma maps, hashes) happens
// in createTransition(); blend() is the per-frame work and allocates nothing.
//
// Threading: one instance is used by one thread at a time; distinct instances are independent.
class Transition {
  public:
    virtual ~Transition() = default;

    // Writes the picture at `progress` (0 at the transition's start, 1 at its stop) of the
    // blend from `from` (what lies beneath, A) into `to` (the clip's own picture, B).
    // progress <= 0 gives exactly A, progress >= 1 exactly B. All three pictures have the size
    // given at creation; `out` may be the same picture as `from` (the render blends in place),
    // never the same as `to`.
    virtual void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
                       const PictureView& out) = 0;
};

// Makes the effect; an unknown kind or mask number gives the SMPTE wipe with pattern 1.
std::unique_ptr<Transition> createTransition(const TransitionSetup& setup);

}  // namespace editing
