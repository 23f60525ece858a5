#pragma once

#include "editing/transitions/transition.h"

#include <cstdint>
#include <vector>

namespace editing::transitions {

// Below half way A is shown as averaged squares growing from 1 to 50 pixels; from half way B
// is shown with squares shrinking from 50 pixels back to 1. Squares are laid from the
// top-left corner; a chroma square is half as large, rounded up.
class PixelateTransition final : public Transition {
  public:
    static constexpr int kLargestSquarePixels = 50;

    explicit PixelateTransition(int width);

    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;

    // The side of the squares at `progress`, in luma pixels.
    static int squareSizeAt(double progress);

  private:
    // Squares are laid on the luma grid; a plane subsampled by `subsampling` gives each
    // square the samples whose top-left luma pixel lies in it.
    void pixelatePlane(const ConstPlaneView& source, const PlaneView& target, int squareSize,
                       int subsampling);
    static int squareEdge(int square, int squareSize, int subsampling);

    // Scratch made once at the frame size: column sums of one band of rows and one row of
    // square averages.
    std::vector<std::uint32_t> columnSums_;
    std::vector<std::uint8_t> averagedRow_;
};

// B lies underneath; A slides out to the left as one band, uncovering B from the right.
class SlideTransition final : public Transition {
  public:
    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;
};

// B, squeezed horizontally to the width p * W and centred, over A.
class StretchTransition final : public Transition {
  public:
    explicit StretchTransition(int width);

    void blend(const ConstPictureView& from, const ConstPictureView& to, double progress,
               const PictureView& out) override;

  private:
    // Writes one plane: B inside columns bandLeft .. bandRight - 1 of the plane, A outside.
    void stretchRows(const ConstPlaneView& from, const ConstPlaneView& to, const PlaneView& target,
                     int bandLeft, int bandRight, int subsampling);

    // Scratch made once at the frame size: the source column of each output column.
    std::vector<int> sourceColumns_;
};

}  // namespace editing::transitions
