#pragma once

#include "editing/core/picture.h"

#include <cstdint>
#include <vector>

namespace editing::transitions {

// Where a luma pixel's centre lies, in the coordinate systems the patterns are written in.
// Coordinates that are centred are exactly antisymmetric (the mirrored pixel gets the negated
// value), so symmetric patterns give symmetric maps.
struct PixelPosition {
    int x = 0;
    int y = 0;
    double u = 0;         // (x + 1/2) / width: 0 at the left edge, 1 at the right edge
    double v = 0;         // (y + 1/2) / height: 0 at the top edge, 1 at the bottom edge
    double centredX = 0;  // 2u - 1: -1 at the left edge, +1 at the right edge
    double centredY = 0;  // 2v - 1: -1 at the top edge, +1 at the bottom edge
    double pixelX = 0;    // pixels right of the frame's centre
    double pixelY = 0;    // pixels below the frame's centre
};

// A wipe's luma map for one frame size: a 16-bit level per luma pixel and per chroma sample.
// A pixel shows B once the progress passes its level, so a frame's blend is one compare and
// select per sample. Levels lie in 1 .. 65535; threshold(0) is 0 (all A) and threshold(1) is
// 65535 (all B), so both ends are exact and B's share never shrinks as the progress grows.
//
// A chroma sample takes the level of the top-left luma pixel of the 2 x 2 block it covers.
class LumaMap {
  public:
    LumaMap() = default;

    // Makes the map from one raw value per luma pixel (row-major, width x height), in any
    // range; the smallest raw value switches first and the largest last (at progress 1).
    static LumaMap fromRawLevels(int width, int height, const std::vector<float>& rawLevels);

    int width() const { return width_; }
    int height() const { return height_; }

    const std::uint16_t* lumaRow(int y) const {
        return luma_.data() + static_cast<std::size_t>(y) * width_;
    }
    const std::uint16_t* chromaRow(int y) const {
        return chroma_.data() + static_cast<std::size_t>(y) * chromaWidth_;
    }
    const std::uint16_t* planeRow(int plane, int y) const {
        return plane == kPlaneY ? lumaRow(y) : chromaRow(y);
    }

    // The threshold for `progress`: samples whose level is at most this show B.
    static std::uint16_t threshold(double progress);

  private:
    int width_ = 0;
    int height_ = 0;
    int chromaWidth_ = 0;
    std::vector<std::uint16_t> luma_;
    std::vector<std::uint16_t> chroma_;
};

// Evaluates `rawLevelAt(const PixelPosition&)` at every luma pixel and makes the map.
template <typename RawLevelFunction>
LumaMap buildLumaMap(int width, int height, RawLevelFunction rawLevelAt) {
    std::vector<float> raw(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    PixelPosition position;
    std::size_t index = 0;
    for (int y = 0; y < height; ++y) {
        position.y = y;
        position.centredY = static_cast<double>(2 * y + 1 - height) / height;
        position.v = (position.centredY + 1.0) / 2.0;
        position.pixelY = (2 * y + 1 - height) / 2.0;
        for (int x = 0; x < width; ++x) {
            position.x = x;
            position.centredX = static_cast<double>(2 * x + 1 - width) / width;
            position.u = (position.centredX + 1.0) / 2.0;
            position.pixelX = (2 * x + 1 - width) / 2.0;
            raw[index++] = static_cast<float>(rawLevelAt(position));
        }
    }
    return LumaMap::fromRawLevels(width, height, raw);
}

}  // namespace editing::transitions
