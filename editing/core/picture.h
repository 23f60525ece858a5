#pragma once

#include <cstdint>
#include <vector>

namespace editing {

// The render composites in planar 8-bit YUV 4:2:0 (BT.601, limited range): the format of
// nearly every decoded clip and of the MPEG-4 encoder, and half the bytes of RGB. A chroma
// plane has ceil(width / 2) x ceil(height / 2) samples; chroma sample (cx, cy) covers luma
// pixels (2cx .. 2cx+1, 2cy .. 2cy+1).

struct PlaneView {
    std::uint8_t* data = nullptr;
    int stride = 0;  // bytes from one row to the next, >= width
    int width = 0;
    int height = 0;

    std::uint8_t* row(int y) const { return data + static_cast<std::ptrdiff_t>(y) * stride; }
};

struct ConstPlaneView {
    const std::uint8_t* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;

    ConstPlaneView() = default;
    ConstPlaneView(const PlaneView& plane)  // NOLINT: a writable plane is readable
        : data(plane.data), stride(plane.stride), width(plane.width), height(plane.height) {}
    const std::uint8_t* row(int y) const { return data + static_cast<std::ptrdiff_t>(y) * stride; }
};

enum PlaneIndex { kPlaneY = 0, kPlaneU = 1, kPlaneV = 2 };

// Non-owning view of a picture: three planes, Y then U then V.
struct PictureView {
    PlaneView planes[3];
    int width() const { return planes[kPlaneY].width; }
    int height() const { return planes[kPlaneY].height; }
};

struct ConstPictureView {
    ConstPlaneView planes[3];
    ConstPictureView() = default;
    ConstPictureView(const PictureView& picture)  // NOLINT: a writable picture is readable
        : planes{picture.planes[0], picture.planes[1], picture.planes[2]} {}
    int width() const { return planes[kPlaneY].width; }
    int height() const { return planes[kPlaneY].height; }
};

inline int chromaExtent(int lumaExtent) {
    return (lumaExtent + 1) / 2;
}

// An owned YUV 4:2:0 picture. Rows are padded to a multiple of 64 bytes so that per-row
// loops vectorise without a scalar tail on common sizes.
class Picture {
  public:
    Picture() = default;
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    PictureView view();
    ConstPictureView view() const;

    // Fills with black (Y 16, U and V 128).
    void fillBlack();
    // Fills with the colour given in 8-bit RGB (converted with BT.601 limited range).
    void fillRgb(int red, int green, int blue);

  private:
    int width_ = 0;
    int height_ = 0;
    int strides_[3] = {};
    std::vector<std::uint8_t> planes_[3];
};

// BT.601 limited-range conversion of one 8-bit RGB colour to Y, U, V.
void rgbToYuv(int red, int green, int blue, std::uint8_t& y, std::uint8_t& u, std::uint8_t& v);

// Copies `source` into `target`; both must have the same size.
void copyPicture(const ConstPictureView& source, const PictureView& target);

}  // namespace editing
