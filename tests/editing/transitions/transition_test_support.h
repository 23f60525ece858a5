#pragma once

#include "editing/core/picture.h"
#include "editing/transitions/transition.h"
#include "editing/transitions/transition_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace editing::testing_support {

// Effects 1 .. 46 by index, for table-driven tests.
inline std::vector<int> allEffectIndices() {
    std::vector<int> indices;
    for (int index = 1; index < kTransitionEffectCount; ++index) {
        indices.push_back(index);
    }
    return indices;
}

// Effects that, between two flat pictures, show at every pixel either A or B, switching
// once (everything but the blends and Pixelate).
inline bool showsOnlyAOrB(int effectIndex) {
    const TransitionKind kind = TransitionEffectTable[static_cast<std::size_t>(effectIndex)].kind;
    return kind != TransitionKind::Fade && kind != TransitionKind::Wipe &&
           kind != TransitionKind::Pixelate;
}

inline std::string effectLabel(const ::testing::TestParamInfo<int>& info) {
    std::string label = "effect" + std::to_string(info.param) + "_";
    for (char c : transitionEffectName(info.param)) {
        label += (std::isalnum(static_cast<unsigned char>(c)) != 0) ? c : '_';
    }
    return label;
}

inline constexpr int kRedA[3] = {255, 0, 0};
inline constexpr int kBlueB[3] = {0, 0, 255};

inline Picture flatPicture(int width, int height, const int (&rgb)[3]) {
    Picture picture(width, height);
    picture.fillRgb(rgb[0], rgb[1], rgb[2]);
    return picture;
}

// A picture whose samples all differ from their neighbours, so that a wrong source position
// shows.
inline Picture texturedPicture(int width, int height, int seed) {
    Picture picture(width, height);
    const PictureView view = picture.view();
    for (int plane = 0; plane < 3; ++plane) {
        const PlaneView& target = view.planes[plane];
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                target.row(y)[x] =
                    static_cast<std::uint8_t>((x * 7 + y * 13 + seed * 31 + plane * 50) % 251);
            }
        }
    }
    return picture;
}

inline Picture renderEffect(int effectIndex, const Picture& from, const Picture& to,
                            double progress, std::uint32_t seed = 7) {
    const auto setup = transitionSetupForEffect(effectIndex, from.width(), from.height(), seed);
    auto transition = createTransition(*setup);
    Picture out(from.width(), from.height());
    transition->blend(from.view(), to.view(), progress, out.view());
    return out;
}

// The first plane (0, 1, 2) in which `actual` differs from `expected`, or -1.
inline int firstDifferingPlane(const Picture& actual, const Picture& expected) {
    const ConstPictureView a = actual.view();
    const ConstPictureView b = expected.view();
    for (int plane = 0; plane < 3; ++plane) {
        for (int y = 0; y < a.planes[plane].height; ++y) {
            for (int x = 0; x < a.planes[plane].width; ++x) {
                if (a.planes[plane].row(y)[x] != b.planes[plane].row(y)[x]) {
                    return plane;
                }
            }
        }
    }
    return -1;
}

// Which luma pixels of an output between flat red A and flat blue B show B.
class BMask {
  public:
    static constexpr std::uint8_t kA = 0;
    static constexpr std::uint8_t kB = 1;
    static constexpr std::uint8_t kNeither = 2;

    BMask(const Picture& out, const Picture& from, const Picture& to) : width_(out.width()) {
        const ConstPlaneView luma = out.view().planes[kPlaneY];
        const std::uint8_t a = from.view().planes[kPlaneY].row(0)[0];
        const std::uint8_t b = to.view().planes[kPlaneY].row(0)[0];
        height_ = out.height();
        cells_.resize(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::uint8_t value = luma.row(y)[x];
                cells_[static_cast<std::size_t>(y) * width_ + x] = value == b   ? kB
                                                                   : value == a ? kA
                                                                                : kNeither;
            }
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return cells_[static_cast<std::size_t>(y) * width_ + x]; }
    bool isB(int x, int y) const { return at(x, y) == kB; }
    // At fractions of the frame (0 .. 1 from the top-left).
    bool isBAt(double u, double v) const {
        return isB(std::min(width_ - 1, static_cast<int>(u * width_)),
                   std::min(height_ - 1, static_cast<int>(v * height_)));
    }
    // At centred coordinates (-1 .. 1 across the frame).
    bool isBAtCentred(double centredX, double centredY) const {
        return isBAt((centredX + 1) / 2, (centredY + 1) / 2);
    }
    int countB() const {
        int count = 0;
        for (std::uint8_t cell : cells_) {
            count += cell == kB ? 1 : 0;
        }
        return count;
    }
    int countNeither() const {
        int count = 0;
        for (std::uint8_t cell : cells_) {
            count += cell == kNeither ? 1 : 0;
        }
        return count;
    }
    double shareB() const { return static_cast<double>(countB()) / cells_.size(); }
    bool mirrorsLeftRight() const {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_ / 2; ++x) {
                if (at(x, y) != at(width_ - 1 - x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
    bool mirrorsTopBottom() const {
        for (int y = 0; y < height_ / 2; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (at(x, y) != at(x, height_ - 1 - y)) {
                    return false;
                }
            }
        }
        return true;
    }
    // Runs of consecutive B pixels along row y / column x.
    int bRunsInRow(int y) const {
        int runs = 0;
        for (int x = 0; x < width_; ++x) {
            runs += isB(x, y) && (x == 0 || !isB(x - 1, y)) ? 1 : 0;
        }
        return runs;
    }
    int bRunsInColumn(int x) const {
        int runs = 0;
        for (int y = 0; y < height_; ++y) {
            runs += isB(x, y) && (y == 0 || !isB(x, y - 1)) ? 1 : 0;
        }
        return runs;
    }
    // Pixels of B walking from the frame's centre in direction (stepX, stepY) until the first
    // A pixel.
    int bReachFromCentre(int stepX, int stepY) const {
        int x = width_ / 2;
        int y = height_ / 2;
        int reach = 0;
        while (x >= 0 && y >= 0 && x < width_ && y < height_ && isB(x, y)) {
            ++reach;
            x += stepX;
            y += stepY;
        }
        return reach;
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> cells_;
};

}  // namespace editing::testing_support
