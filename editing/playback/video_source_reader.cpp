#include "editing/playback/video_source_reader.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <string>

namespace editing {

namespace {

// Frame times are rounded to the stream's time base; a frame that lies within this margin
// after the asked time still counts as "at" it.
constexpr RefTime kFrameTimeMargin = 1000;  // 0.1 ms
// Further ahead than this, a source seeks rather than decoding its way there.
constexpr RefTime kSeekAheadRefTime = 3 * kRefTimePerSecond;

int evenDown(int value) {
    return value & ~1;
}
int evenNearest(double value) {
    return std::max(2, static_cast<int>(std::lround(value / 2.0)) * 2);
}

}  // namespace

VideoSourceReader::VideoSourceReader(int frameWidth, int frameHeight, StretchMode stretchMode)
    : stretchMode_(stretchMode),
      fitted_(frameWidth, frameHeight),
      current_(ffmpeg::makeFrame()),
      next_(ffmpeg::makeFrame()) {}

Result VideoSourceReader::open(const std::string& fileName, RefTime mediaStart,
                               std::string& description) {
    fileName_ = fileName;
    opened_ = false;
    if (!current_ || !next_) {
        description = "Not enough memory to read \"" + fileName + "\".";
        return kErrorOutOfMemory;
    }
    const Result result = input_.open(fileName, AVMEDIA_TYPE_VIDEO, 2, description);
    opened_ = succeeded(result);
    orientation_ =
        opened_ ? orientationFromDisplayMatrix(input_.displayMatrix()) : DisplayOrientation{};
    if (opened_ && mediaStart > 0) {
        input_.seekBefore(mediaStart);
    }
    return result;
}

void VideoSourceReader::advanceTo(RefTime mediaTime) {
    if (hasCurrent_ && !ended_ && mediaTime - currentTime_ > kSeekAheadRefTime) {
        // A source that was covered for a long stretch jumps there instead of decoding every
        // frame in between; the seek lands on the key frame before the time.
        input_.seekBefore(mediaTime);
        hasCurrent_ = false;
        hasNext_ = false;
    }
    if (!hasCurrent_ && !ended_) {
        hasCurrent_ = input_.nextFrame(*current_);
        currentTime_ = hasCurrent_ ? input_.frameTime(*current_) : 0;
        ended_ = !hasCurrent_;
        currentFitted_ = false;
    }
    while (hasCurrent_ && !ended_) {
        if (!hasNext_) {
            hasNext_ = input_.nextFrame(*next_);
            if (!hasNext_) {
                ended_ = true;
                break;
            }
            nextTime_ = input_.frameTime(*next_);
        }
        if (nextTime_ > mediaTime + kFrameTimeMargin) {
            break;
        }
        std::swap(current_, next_);
        currentTime_ = nextTime_;
        hasNext_ = false;
        currentFitted_ = false;
    }
}

const Picture& VideoSourceReader::pictureAt(RefTime mediaTime) {
    if (!opened_) {
        return fitted_;  // black since construction
    }
    advanceTo(mediaTime);
    if (hasCurrent_ && !currentFitted_) {
        fitCurrentFrame();
        currentFitted_ = true;
    }
    return fitted_;
}

bool VideoSourceReader::takeFailure(Result& result, std::string& description) {
    return failure_.take(result, description);
}

const AVFrame* VideoSourceReader::shownFrame() {
    const AVFrame& decoded = *current_;
    if (orientation_.isIdentity()) {
        return &decoded;
    }
    ConstPictureView upright;
    if (decoded.format == AV_PIX_FMT_YUV420P || decoded.format == AV_PIX_FMT_YUVJ420P) {
        for (int plane = 0; plane < 3; ++plane) {
            const int width = plane == 0 ? decoded.width : chromaExtent(decoded.width);
            const int height = plane == 0 ? decoded.height : chromaExtent(decoded.height);
            upright.planes[plane] = ConstPlaneView();
            upright.planes[plane].data = decoded.data[plane];
            upright.planes[plane].stride = decoded.linesize[plane];
            upright.planes[plane].width = width;
            upright.planes[plane].height = height;
        }
    } else {
        if (decodedYuv_.width() != decoded.width || decodedYuv_.height() != decoded.height) {
            decodedYuv_ = Picture(decoded.width, decoded.height);
        }
        toYuvScaler_.reset(sws_getCachedContext(
            toYuvScaler_.release(), decoded.width, decoded.height,
            static_cast<AVPixelFormat>(decoded.format), decoded.width, decoded.height,
            AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr));
        if (!toYuvScaler_) {
            return nullptr;
        }
        PictureView target = decodedYuv_.view();
        uint8_t* planes[4] = {target.planes[0].data, target.planes[1].data, target.planes[2].data,
                              nullptr};
        const int strides[4] = {target.planes[0].stride, target.planes[1].stride,
                                target.planes[2].stride, 0};
        sws_scale(toYuvScaler_.get(), decoded.data, decoded.linesize, 0, decoded.height, planes,
                  strides);
        upright = decodedYuv_.view();
    }
    const int width = orientation_.swapsAxes ? decoded.height : decoded.width;
    const int height = orientation_.swapsAxes ? decoded.width : decoded.height;
    if (turned_.width() != width || turned_.height() != height) {
        turned_ = Picture(width, height);
    }
    PictureView turned = turned_.view();
    for (int plane = 0; plane < 3; ++plane) {
        orientPlane(upright.planes[plane], turned.planes[plane], orientation_);
    }
    if (!turnedFrame_) {
        turnedFrame_ = ffmpeg::makeFrame();
        if (!turnedFrame_) {
            return nullptr;
        }
    }
    AVFrame& frame = *turnedFrame_;
    // Full-range pictures (JPEG-style, as some phones and every MJPEG camera write) were copied
    // as they are and stay full range; everything else was converted to limited range above.
    frame.format = decoded.format == AV_PIX_FMT_YUVJ420P ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    frame.width = width;
    frame.height = height;
    for (int plane = 0; plane < 3; ++plane) {
        frame.data[plane] = turned.planes[plane].data;
        frame.linesize[plane] = turned.planes[plane].stride;
    }
    return &frame;
}

void VideoSourceReader::fitCurrentFrame() {
    const AVFrame* shown = shownFrame();
    if (shown == nullptr) {
        return;
    }
    const AVFrame& frame = *shown;
    if (frame.width <= 0 || frame.height <= 0) {
        return;
    }
    AVRational aspect = current_->sample_aspect_ratio;
    if (aspect.num <= 0 || aspect.den <= 0) {
        aspect = input_.stream().sample_aspect_ratio;
    }
    if (aspect.num <= 0 || aspect.den <= 0) {
        aspect = AVRational{1, 1};
    }
    if (orientation_.swapsAxes) {
        aspect = av_inv_q(aspect);  // a pixel's width is shown as its height
    }
    const bool sameFit = frame.width == fitSourceWidth_ && frame.height == fitSourceHeight_ &&
                         frame.format == fitSourceFormat_ && av_cmp_q(aspect, fitAspect_) == 0;
    if (!sameFit) {
        fitSourceWidth_ = frame.width;
        fitSourceHeight_ = frame.height;
        fitSourceFormat_ = frame.format;
        fitAspect_ = aspect;
        const int frameWidth = fitted_.width();
        const int frameHeight = fitted_.height();
        const double sourceDisplayWidth = frame.width * av_q2d(aspect);
        const double sourceRatio = sourceDisplayWidth / frame.height;
        const double frameRatio = static_cast<double>(frameWidth) / frameHeight;
        targetX_ = 0, targetY_ = 0, targetWidth_ = frameWidth, targetHeight_ = frameHeight;
        cropX_ = 0, cropY_ = 0, cropWidth_ = frame.width, cropHeight_ = frame.height;
        if (stretchMode_ == StretchMode::PreserveAspectRatio ||
            stretchMode_ == StretchMode::PreserveAspectRatioNoLetterbox) {
            if (sourceRatio > frameRatio) {
                targetHeight_ = std::min(frameHeight, evenNearest(frameWidth / sourceRatio));
            } else {
                targetWidth_ = std::min(frameWidth, evenNearest(frameHeight * sourceRatio));
            }
            targetX_ = evenDown((frameWidth - targetWidth_) / 2);
            targetY_ = evenDown((frameHeight - targetHeight_) / 2);
        } else if (stretchMode_ == StretchMode::Crop) {
            if (sourceRatio > frameRatio) {
                cropWidth_ =
                    std::min(frame.width, evenNearest(frame.width * frameRatio / sourceRatio));
            } else {
                cropHeight_ =
                    std::min(frame.height, evenNearest(frame.height * sourceRatio / frameRatio));
            }
            cropX_ = evenDown((frame.width - cropWidth_) / 2);
            cropY_ = evenDown((frame.height - cropHeight_) / 2);
        }
        fitted_.fillBlack();
        scaler_.reset(sws_getContext(
            cropWidth_, cropHeight_, static_cast<AVPixelFormat>(frame.format), targetWidth_,
            targetHeight_, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!scaler_ && !failure_.isSet()) {
            const char* formatName = av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame.format));
            failure_.keepFirst(
                kErrorFail, "Could not fit the pictures of \"" + fileName_ + "\" (" +
                                std::to_string(frame.width) + "x" + std::to_string(frame.height) +
                                ", " + (formatName != nullptr ? formatName : "unknown format") +
                                ") into the frame.");
        }
    }
    if (!scaler_) {
        return;
    }
    const AVPixFmtDescriptor* descriptor =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    const uint8_t* sourcePlanes[4] = {};
    int sourceStrides[4] = {};
    for (int plane = 0; plane < 4 && frame.data[plane] != nullptr; ++plane) {
        int offsetX = cropX_;
        int offsetY = cropY_;
        const bool isChroma = descriptor != nullptr && (plane == 1 || plane == 2) &&
                              !(descriptor->flags & AV_PIX_FMT_FLAG_RGB);
        if (isChroma) {
            offsetX >>= descriptor->log2_chroma_w;
            offsetY >>= descriptor->log2_chroma_h;
        }
        const int bytesPerPixel = (descriptor != nullptr && descriptor->nb_components > 0 &&
                                   !(descriptor->flags & AV_PIX_FMT_FLAG_PLANAR))
                                      ? av_get_padded_bits_per_pixel(descriptor) / 8
                                      : 1;
        sourcePlanes[plane] = frame.data[plane] +
                              static_cast<std::ptrdiff_t>(offsetY) * frame.linesize[plane] +
                              offsetX * bytesPerPixel;
        sourceStrides[plane] = frame.linesize[plane];
    }
    PictureView target = fitted_.view();
    uint8_t* targetPlanes[4] = {
        target.planes[kPlaneY].row(targetY_) + targetX_,
        target.planes[kPlaneU].row(targetY_ / 2) + targetX_ / 2,
        target.planes[kPlaneV].row(targetY_ / 2) + targetX_ / 2,
        nullptr,
    };
    const int targetStrides[4] = {target.planes[kPlaneY].stride, target.planes[kPlaneU].stride,
                                  target.planes[kPlaneV].stride, 0};
    sws_scale(scaler_.get(), sourcePlanes, sourceStrides, 0, cropHeight_, targetPlanes,
              targetStrides);
}

}  // namespace editing
