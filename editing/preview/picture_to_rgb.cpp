#include "editing/preview/picture_to_rgb.h"

#include "editing/core/ffmpeg_handles.h"

namespace editing {

struct PictureToRgb::Scaler {
    ffmpeg::ScaleContextHandle context;
    int sourceWidth = 0;
    int sourceHeight = 0;
    int targetWidth = 0;
    int targetHeight = 0;
};

PictureToRgb::PictureToRgb() : scaler_(std::make_unique<Scaler>()) {}

PictureToRgb::~PictureToRgb() = default;

bool PictureToRgb::convert(const Picture& picture, std::uint8_t* target, int strideBytes, int width,
                           int height) {
    if (picture.empty() || width <= 0 || height <= 0) {
        return false;
    }
    Scaler& scaler = *scaler_;
    if (!scaler.context || scaler.sourceWidth != picture.width() ||
        scaler.sourceHeight != picture.height() || scaler.targetWidth != width ||
        scaler.targetHeight != height) {
        // BT.601 limited range in, as the render composites; full-range RGB out.
        scaler.context.reset(sws_getContext(picture.width(), picture.height(), AV_PIX_FMT_YUV420P,
                                            width, height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                            nullptr, nullptr));
        scaler.sourceWidth = picture.width();
        scaler.sourceHeight = picture.height();
        scaler.targetWidth = width;
        scaler.targetHeight = height;
    }
    if (!scaler.context) {
        return false;
    }
    const ConstPictureView view = picture.view();
    const std::uint8_t* sourcePlanes[4] = {view.planes[kPlaneY].data, view.planes[kPlaneU].data,
                                           view.planes[kPlaneV].data, nullptr};
    const int sourceStrides[4] = {view.planes[kPlaneY].stride, view.planes[kPlaneU].stride,
                                  view.planes[kPlaneV].stride, 0};
    std::uint8_t* targetPlanes[4] = {target, nullptr, nullptr, nullptr};
    const int targetStrides[4] = {strideBytes, 0, 0, 0};
    sws_scale(scaler.context.get(), sourcePlanes, sourceStrides, 0, picture.height(), targetPlanes,
              targetStrides);
    return true;
}

}  // namespace editing
