#include "editing/core/picture.h"

#include <algorithm>
#include <cstring>

namespace editing {

namespace {

int paddedStride(int width) {
    return (width + 63) / 64 * 64;
}

std::uint8_t clampToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

Picture::Picture(int width, int height) : width_(width), height_(height) {
    const int chromaWidth = chromaExtent(width);
    const int chromaHeight = chromaExtent(height);
    strides_[kPlaneY] = paddedStride(width);
    strides_[kPlaneU] = paddedStride(chromaWidth);
    strides_[kPlaneV] = paddedStride(chromaWidth);
    planes_[kPlaneY].assign(static_cast<std::size_t>(strides_[kPlaneY]) * height, 16);
    planes_[kPlaneU].assign(static_cast<std::size_t>(strides_[kPlaneU]) * chromaHeight, 128);
    planes_[kPlaneV].assign(static_cast<std::size_t>(strides_[kPlaneV]) * chromaHeight, 128);
}

PictureView Picture::view() {
    PictureView view;
    const int chromaWidth = chromaExtent(width_);
    const int chromaHeight = chromaExtent(height_);
    view.planes[kPlaneY] = {planes_[kPlaneY].data(), strides_[kPlaneY], width_, height_};
    view.planes[kPlaneU] = {planes_[kPlaneU].data(), strides_[kPlaneU], chromaWidth, chromaHeight};
    view.planes[kPlaneV] = {planes_[kPlaneV].data(), strides_[kPlaneV], chromaWidth, chromaHeight};
    return view;
}

ConstPictureView Picture::view() const {
    return const_cast<Picture*>(this)->view();
}

void Picture::fillBlack() {
    fillRgb(0, 0, 0);
}

void Picture::fillRgb(int red, int green, int blue) {
    std::uint8_t values[3];
    rgbToYuv(red, green, blue, values[0], values[1], values[2]);
    for (int plane = 0; plane < 3; ++plane) {
        std::fill(planes_[plane].begin(), planes_[plane].end(), values[plane]);
    }
}

void rgbToYuv(int red, int green, int blue, std::uint8_t& y, std::uint8_t& u, std::uint8_t& v) {
    y = clampToByte(((66 * red + 129 * green + 25 * blue + 128) >> 8) + 16);
    u = clampToByte(((-38 * red - 74 * green + 112 * blue + 128) >> 8) + 128);
    v = clampToByte(((112 * red - 94 * green - 18 * blue + 128) >> 8) + 128);
}

void copyPicture(const ConstPictureView& source, const PictureView& target) {
    for (int plane = 0; plane < 3; ++plane) {
        const ConstPlaneView& from = source.planes[plane];
        const PlaneView& to = target.planes[plane];
        const int rows = std::min(from.height, to.height);
        const int bytes = std::min(from.width, to.width);
        for (int y = 0; y < rows; ++y) {
            std::memcpy(to.row(y), from.row(y), static_cast<std::size_t>(bytes));
        }
    }
}

}  // namespace editing
