#pragma once

#include "editing/core/picture.h"

#include <cstdint>
#include <memory>

namespace editing {

// Turns composited pictures into 32-bit pixels for a screen: bytes B, G, R, 255 (a
// little-endian 0xffRRGGBB word, as a window's RGB32 image holds them), scaled to the size
// asked for. Keeps its conversion between calls of the same sizes.
//
// Threading: one thread at a time.
class PictureToRgb {
  public:
    PictureToRgb();
    ~PictureToRgb();
    PictureToRgb(const PictureToRgb&) = delete;
    PictureToRgb& operator=(const PictureToRgb&) = delete;

    // Writes `width` x `height` pixels into `target`, `strideBytes` apart row to row. False
    // when the sizes cannot be converted.
    [[nodiscard]] bool convert(const Picture& picture, std::uint8_t* target, int strideBytes,
                               int width, int height);

  private:
    struct Scaler;
    std::unique_ptr<Scaler> scaler_;
};

}  // namespace editing
