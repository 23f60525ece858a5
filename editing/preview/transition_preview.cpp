#include "editing/preview/transition_preview.h"

#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace editing {

namespace {

Picture flatPicture(int red, int green, int blue) {
    Picture picture(TransitionPreview::kWidth, TransitionPreview::kHeight);
    picture.fillRgb(red, green, blue);
    return picture;
}

// Pixels per block: a multiple of every vector width in use, so a block's loops have a trip
// count the vectoriser covers without a scalar epilogue.
constexpr int kLanes = 32;

std::int32_t clampedChannel(std::int32_t value) {
    value = value < 0 ? 0 : value;
    return value > 255 ? 255 : value;
}

// BT.601 limited range to 0xffRRGGBB in 8.8 fixed point (1.164, 1.596, 0.391, 0.813, 2.018).
std::uint32_t rgb32Of(std::uint8_t luma, std::uint8_t u, std::uint8_t v) {
    const std::int32_t c = 298 * (static_cast<std::int32_t>(luma) - 16) + 128;
    const std::int32_t d = static_cast<std::int32_t>(u) - 128;
    const std::int32_t e = static_cast<std::int32_t>(v) - 128;
    return 0xff000000u | (static_cast<std::uint32_t>(clampedChannel((c + 409 * e) >> 8)) << 16) |
           (static_cast<std::uint32_t>(clampedChannel((c - 100 * d - 208 * e) >> 8)) << 8) |
           static_cast<std::uint32_t>(clampedChannel((c + 516 * d) >> 8));
}

// One block of kLanes pixels (a fixed trip count leaves the loop open to vectorising);
// convertTail does the fewer pixels at a row's end.
void convertBlock(std::uint32_t* __restrict out, const std::uint8_t* __restrict luma,
                  const std::uint8_t* __restrict u, const std::uint8_t* __restrict v) {
    for (int lane = 0; lane < kLanes; ++lane) {
        out[lane] = rgb32Of(luma[lane], u[lane], v[lane]);
    }
}
void convertTail(std::uint32_t* out, const std::uint8_t* luma, const std::uint8_t* u,
                 const std::uint8_t* v, int count) {
    for (int lane = 0; lane < count; ++lane) {
        out[lane] = rgb32Of(luma[lane], u[lane], v[lane]);
    }
}

// A scene of bands and a disc in two colours, for the built-in pictures.
Picture scene(const std::array<int, 3>& sky, const std::array<int, 3>& ground,
              const std::array<int, 3>& disc, double discX, double discY) {
    constexpr int width = TransitionPreview::kWidth;
    constexpr int height = TransitionPreview::kHeight;
    Picture picture(width, height);
    const PictureView view = picture.view();
    std::uint8_t y = 0, u = 0, v = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const double dx = column - discX * width;
            const double dy = row - discY * height;
            const bool inDisc = dx * dx + dy * dy < 0.04 * width * width;
            const bool onGround = row > height * 0.62 + 10.0 * std::sin(column * 0.05);
            const std::array<int, 3>& colour = inDisc ? disc : onGround ? ground : sky;
            // A soft vertical shade keeps the scene from reading as a flat colour.
            const int shade = ((row * 40) / height) - 20;
            rgbToYuv(std::clamp(colour[0] + shade, 0, 255), std::clamp(colour[1] + shade, 0, 255),
                     std::clamp(colour[2] + shade, 0, 255), y, u, v);
            view.planes[kPlaneY].row(row)[column] = y;
            if (row % 2 == 0 && column % 2 == 0) {
                view.planes[kPlaneU].row(row / 2)[column / 2] = u;
                view.planes[kPlaneV].row(row / 2)[column / 2] = v;
            }
        }
    }
    return picture;
}

}  // namespace

TransitionPreview::TransitionPreview()
    : from_(flatPicture(70, 70, 70)), to_(flatPicture(170, 170, 170)), frame_(kWidth, kHeight) {}

bool TransitionPreview::setPictures(Picture from, Picture to) {
    if (from.width() != kWidth || from.height() != kHeight || to.width() != kWidth ||
        to.height() != kHeight) {
        return false;
    }
    from_ = std::move(from);
    to_ = std::move(to);
    return true;
}

void TransitionPreview::setEffect(int effectNumber) {
    effectNumber_ = effectNumber;
    // A fixed seed: the random effects draw the same pattern on every loop.
    const std::optional<TransitionSetup> setup =
        transitionSetupForEffect(effectNumber, kWidth, kHeight, 1);
    transition_ = setup ? createTransition(*setup) : nullptr;
}

double TransitionPreview::progressAt(RefTime loopTime) {
    RefTime phase = loopTime % kLoopRefTime;
    if (phase < 0) {
        phase += kLoopRefTime;
    }
    const double progress = static_cast<double>(phase - kHoldRefTime) /
                            static_cast<double>(kLoopRefTime - 2 * kHoldRefTime);
    return std::clamp(progress, 0.0, 1.0);
}

const Picture& TransitionPreview::frameAt(RefTime loopTime) {
    const double progress = progressAt(loopTime);
    if (transition_ == nullptr) {
        // No transition: the render covers the previous clip with this one from the start of
        // their overlap.
        copyPicture(progress <= 0.0 ? from_.view() : to_.view(), frame_.view());
    } else {
        transition_->blend(from_.view(), to_.view(), progress, frame_.view());
    }
    return frame_;
}

void convertToRgb32(const ConstPictureView& picture, std::span<std::uint32_t> pixels,
                    int pixelsPerRow) {
    const int width = picture.width();
    const int height = picture.height();
    if (pixelsPerRow < width ||
        pixels.size() < static_cast<std::size_t>(height) * static_cast<std::size_t>(pixelsPerRow)) {
        return;
    }
    // One row's chroma, spread to every luma pixel it covers; filled for the whole row before
    // the blocks convert it, so each block reads plain consecutive samples.
    std::vector<std::uint8_t> rowU(static_cast<std::size_t>(width));
    std::vector<std::uint8_t> rowV(static_cast<std::size_t>(width));
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* lumaRow = picture.planes[kPlaneY].row(row);
        if (row % 2 == 0) {
            const std::uint8_t* uRow = picture.planes[kPlaneU].row(row / 2);
            const std::uint8_t* vRow = picture.planes[kPlaneV].row(row / 2);
            for (int x = 0; x < width; ++x) {
                rowU[static_cast<std::size_t>(x)] = uRow[x / 2];
                rowV[static_cast<std::size_t>(x)] = vRow[x / 2];
            }
        }
        std::uint32_t* target = pixels.data() + static_cast<std::size_t>(row) * pixelsPerRow;
        int x = 0;
        for (; x + kLanes <= width; x += kLanes) {
            convertBlock(target + x, lumaRow + x, rowU.data() + x, rowV.data() + x);
        }
        convertTail(target + x, lumaRow + x, rowU.data() + x, rowV.data() + x, width - x);
    }
}

Picture builtInPreviewPictureA() {
    return scene({235, 150, 60}, {120, 60, 30}, {255, 235, 120}, 0.3, 0.35);
}

Picture builtInPreviewPictureB() {
    return scene({60, 130, 210}, {30, 110, 70}, {235, 245, 255}, 0.7, 0.4);
}

}  // namespace editing
