#include "editing/preview/transition_preview.h"

#include "editing/transitions/transition_catalog.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace editing {

namespace {

Picture flatPicture(int red, int green, int blue) {
    Picture picture(TransitionPreview::kWidth, TransitionPreview::kHeight);
    picture.fillRgb(red, green, blue);
    return picture;
}

// BT.601 limited range to RGB in 16.16 fixed point: the per-sample terms are tabled once.
struct YuvTables {
    std::array<std::int32_t, 256> luma{};
    std::array<std::int32_t, 256> redFromV{};
    std::array<std::int32_t, 256> greenFromU{};
    std::array<std::int32_t, 256> greenFromV{};
    std::array<std::int32_t, 256> blueFromU{};

    YuvTables() {
        for (int sample = 0; sample < 256; ++sample) {
            const std::size_t index = static_cast<std::size_t>(sample);
            luma[index] = static_cast<std::int32_t>(std::lround(1.164 * 65536 * (sample - 16)));
            redFromV[index] =
                static_cast<std::int32_t>(std::lround(1.596 * 65536 * (sample - 128)));
            greenFromU[index] =
                static_cast<std::int32_t>(std::lround(-0.392 * 65536 * (sample - 128)));
            greenFromV[index] =
                static_cast<std::int32_t>(std::lround(-0.813 * 65536 * (sample - 128)));
            blueFromU[index] =
                static_cast<std::int32_t>(std::lround(2.017 * 65536 * (sample - 128)));
        }
    }
};

const YuvTables& yuvTables() {
    static const YuvTables tables;
    return tables;
}

std::uint32_t clampedChannel(std::int32_t fixedPoint) {
    const std::int32_t value = (fixedPoint + 32768) >> 16;
    return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
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
    transition_ =
        setup && findTransitionEffect(effectNumber) != nullptr ? createTransition(*setup) : nullptr;
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
        copyPicture(progress < 0.5 ? from_.view() : to_.view(), frame_.view());
    } else {
        transition_->blend(from_.view(), to_.view(), progress, frame_.view());
    }
    return frame_;
}

void convertToRgb32(const ConstPictureView& picture, std::span<std::uint32_t> pixels,
                    int pixelsPerRow) {
    const YuvTables& tables = yuvTables();
    const int width = picture.width();
    const int height = picture.height();
    if (pixelsPerRow < width ||
        pixels.size() < static_cast<std::size_t>(height) * static_cast<std::size_t>(pixelsPerRow)) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* lumaRow = picture.planes[kPlaneY].row(row);
        const std::uint8_t* uRow = picture.planes[kPlaneU].row(row / 2);
        const std::uint8_t* vRow = picture.planes[kPlaneV].row(row / 2);
        std::uint32_t* target = pixels.data() + static_cast<std::size_t>(row) * pixelsPerRow;
        for (int column = 0; column < width; ++column) {
            const std::int32_t luma = tables.luma[lumaRow[column]];
            const std::uint8_t u = uRow[column / 2];
            const std::uint8_t v = vRow[column / 2];
            target[column] =
                0xff000000u | (clampedChannel(luma + tables.redFromV[v]) << 16) |
                (clampedChannel(luma + tables.greenFromU[u] + tables.greenFromV[v]) << 8) |
                clampedChannel(luma + tables.blueFromU[u]);
        }
    }
}

Picture builtInPreviewPictureA() {
    return scene({235, 150, 60}, {120, 60, 30}, {255, 235, 120}, 0.3, 0.35);
}

Picture builtInPreviewPictureB() {
    return scene({60, 130, 210}, {30, 110, 70}, {235, 245, 255}, 0.7, 0.4);
}

}  // namespace editing
